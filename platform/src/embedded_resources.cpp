#include "embedded_resources.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace layer {

const Resources& program_resources() {
    static const Resources resources = [] {
        try {
            std::optional<std::string_view> script = embedded_file("quimbar.rc");
            if (!script) throw RcError("quimbar.rc", 0, "the resource script is not embedded");
            return parse_rc(*script, "quimbar.rc", [](std::string_view name) -> std::optional<std::string> {
                if (std::optional<std::string_view> text = embedded_file(name)) return std::string(*text);
                return std::nullopt;
            });
        } catch (const RcError& e) {
            std::fprintf(stderr, "%s\n", e.what());
            std::exit(3);
        }
    }();
    return resources;
}

}  // namespace layer
