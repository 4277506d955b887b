#include "embedded_resources.h"

#include <cstdio>
#include <cstdlib>

namespace layer {

const Resources& program_resources() {
    static const Resources resources = [] {
        try {
            std::optional<std::string_view> bytes = embedded_file("quimbar.res");
            if (!bytes) throw ResError(0, "quimbar.res is not embedded");
            return read_res(*bytes);
        } catch (const ResError& e) {
            std::fprintf(stderr, "%s\n", e.what());
            std::exit(3);
        }
    }();
    return resources;
}

}  // namespace layer
