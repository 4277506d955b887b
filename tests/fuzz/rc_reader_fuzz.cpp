// libFuzzer target: the resource reader on arbitrary script text. A
// malformed script must end in an RcError naming a line within the text;
// anything else (a crash, another exception, an out-of-bounds read caught by
// AddressSanitizer) is a finding.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "rc_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    // An included header is fuzzed as well: the first NUL byte splits the
    // input into the script and the text of "resource.h".
    std::string_view script = text, header;
    if (size_t nul = text.find('\0'); nul != std::string_view::npos) {
        script = text.substr(0, nul);
        header = text.substr(nul + 1);
    }
    auto resolve = [&](std::string_view name) -> std::optional<std::string> {
        if (name == "resource.h") return std::string(header);
        return std::nullopt;
    };
    try {
        layer::Resources r = layer::parse_rc(script, "fuzz.rc", resolve);
        for (const auto& d : r.dialogs) (void)d.controls.size();
    } catch (const layer::RcError& e) {
        size_t lines = 1;
        for (char c : text) lines += c == '\n';
        if (e.line < 0 || static_cast<size_t>(e.line) > lines + 1) std::abort();
    }
    return 0;
}
