// libFuzzer target: the parameter dialog's path from field texts to numbers.
// Input: up to four texts separated by '\n', typed into the cubic dialog's
// fields 101-104 and confirmed with OK through the headless layer. Checks
// that each buffer holds the field's first 14 bytes at most, terminated, and
// that each parameter is what strtod gives for the cut text's leading decimal
// number (found here by a regular expression; no number gives 0).
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <string>
#include <vector>

#include "dialogs.h"
#include "layer/headless.h"
#include "resource.h"
#include "view_state.h"

namespace hl = layer::headless;

namespace {

// The decimal grammar: white space, sign, digits with point and fraction,
// exponent; no "inf", "nan" or hexadecimal numbers.
double decimal(const std::string& text) {
    static const std::regex number(R"(^[ \t\n\v\f\r]*([+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?))");
    std::smatch m;
    if (!std::regex_search(text, m, number)) return 0.0;
    return std::strtod(m.str(1).c_str(), nullptr);
}

bool same(double x, double y) { return (std::isnan(x) && std::isnan(y)) || std::memcmp(&x, &y, sizeof x) == 0; }

void check(const std::string& field, const char* buffer, double parameter) {
    // The field text up to its first NUL is what a Win32 edit can hold.
    std::string text = field.substr(0, field.find('\0'));
    std::string cut = text.substr(0, TEXTPUFFER - 1);
    if (std::strlen(buffer) != cut.size() || std::memcmp(buffer, cut.data(), cut.size()) != 0) std::abort();
    if (!same(parameter, decimal(cut))) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> fields(4);
    size_t k = 0;
    for (size_t n = 0; n < size && k < 4; ++n) {
        if (data[n] == '\n')
            ++k;
        else
            fields[k] += static_cast<char>(data[n]);
    }

    hl::install();
    j = 4;
    hl::at_idle([&] {
        HWND dlg = hl::dialog();
        hl::type(dlg, IDC_EDIT1, fields[0].c_str());
        hl::type(dlg, IDC_EDIT2, fields[1].c_str());
        hl::type(dlg, IDC_EDIT3, fields[2].c_str());
        hl::type(dlg, IDC_EDIT4, fields[3].c_str());
        hl::click(dlg, IDOK);
    });
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_INFO3), nullptr, InfoDialogProc, 0);

    check(fields[0], zeiger, a);
    check(fields[1], zeiger2, b);
    check(fields[2], zeiger3, a2);
    check(fields[3], zeiger4, b2);
    return 0;
}
