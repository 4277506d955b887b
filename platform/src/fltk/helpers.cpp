// Pure helpers of the FLTK backend: menu labels and columns, key codes, edit field fitting.
#include "fltk/helpers.h"

#include <FL/Enumerations.H>

#include <windows.h>

#include <algorithm>

namespace layer::fltk {

namespace {

// Length of the UTF-8 sequence that starts with byte c (1 for stray bytes).
std::size_t utf8_length(unsigned char c) {
    if (c >= 0xF0) return 4;
    if (c >= 0xE0) return 3;
    if (c >= 0xC0) return 2;
    return 1;
}

bool is_continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

MenuLabel parse_menu_label(std::string_view label) {
    MenuLabel out;
    std::string_view left = label;
    if (std::size_t tab = label.find('\t'); tab != std::string_view::npos) {
        left = label.substr(0, tab);
        out.hint = std::string(label.substr(tab + 1));
        out.has_hint = true;
    }
    for (std::size_t i = 0; i < left.size(); ++i) {
        char c = left[i];
        if (c != '&') {
            out.text += c;
            continue;
        }
        if (i + 1 >= left.size()) break;  // a trailing '&' marks nothing
        if (left[i + 1] == '&') {
            out.text += '&';
            ++i;
            continue;
        }
        std::size_t n = std::min(utf8_length(static_cast<unsigned char>(left[i + 1])), left.size() - i - 1);
        if (out.mnemonic_begin < 0) {
            out.mnemonic_begin = static_cast<int>(out.text.size());
            out.mnemonic_end = static_cast<int>(out.text.size() + n);
        }
        out.text.append(left.substr(i + 1, n));
        i += n;
    }
    return out;
}

MenuColumns menu_columns(const std::vector<MenuItemWidths>& items, const MenuSpacing& spacing) {
    MenuColumns c;
    c.text_x = spacing.border + spacing.check_room;
    int widest_text = 0;
    for (const MenuItemWidths& item : items) widest_text = std::max(widest_text, item.text);
    c.hint_x = c.text_x + widest_text + spacing.tab_gap;
    c.arrow_x = c.text_x + widest_text;  // where the labels and the hints end
    for (const MenuItemWidths& item : items)
        if (item.has_hint) c.arrow_x = std::max(c.arrow_x, c.hint_x + item.hint);
    c.width = c.arrow_x + spacing.arrow_room + spacing.border;
    return c;
}

int virtual_key_for(int key) {
    switch (key) {
        case FL_Left: return VK_LEFT;
        case FL_Up: return VK_UP;
        case FL_Right: return VK_RIGHT;
        case FL_Down: return VK_DOWN;
        case FL_KP + '+': return VK_ADD;
        case FL_KP + '-': return VK_SUBTRACT;
        default: return key >= 'a' && key <= 'z' ? key - 'a' + 'A' : 0;
    }
}

std::string fit_edit_text(const std::string& before, const std::string& after, double available_width,
                          const std::function<double(std::string_view)>& width, std::size_t* inserted_end) {
    // The inserted part: after[prefix, after.size() - suffix).
    std::size_t prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) ++prefix;
    while (prefix > 0 && prefix < after.size() && is_continuation(static_cast<unsigned char>(after[prefix])))
        --prefix;  // keep whole characters
    std::size_t suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    while (suffix > 0 && is_continuation(static_cast<unsigned char>(after[after.size() - suffix]))) --suffix;

    std::string head = after.substr(0, prefix);
    std::string inserted = after.substr(prefix, after.size() - suffix - prefix);
    std::string tail = after.substr(after.size() - suffix);

    while (true) {
        std::string candidate = head + inserted + tail;
        if (inserted.empty() || width(candidate) <= available_width) {
            // With nothing (left) inserted the edit only removed text; it
            // stands as it is.
            if (inserted_end) *inserted_end = head.size() + inserted.size();
            return candidate;
        }
        std::size_t cut = inserted.size() - 1;
        while (cut > 0 && is_continuation(static_cast<unsigned char>(inserted[cut]))) --cut;
        inserted.erase(cut);
    }
}

}  // namespace layer::fltk
