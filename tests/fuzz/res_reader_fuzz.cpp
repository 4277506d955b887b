// libFuzzer target: the resource reader on arbitrary bytes, seeded with the
// program's compiled resources. A damaged file must end in a ResError;
// anything else (a crash, another exception, an out-of-bounds read caught by
// AddressSanitizer) is a finding.
#include <cstdint>
#include <string_view>

#include "res_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        layer::Resources r = layer::read_res(std::string_view(reinterpret_cast<const char*>(data), size));
        for (const auto& icon : r.icons)
            for (const auto& image : icon.images)
                if (!image.data.empty()) (void)image.data.back();
    } catch (const layer::ResError&) {
    }
    return 0;
}
