// Pure helpers of the FLTK backend: no display, no FLTK calls, so they can
// be tested on their own.
#ifndef QUIMBAR_LAYER_FLTK_HELPERS_H
#define QUIMBAR_LAYER_FLTK_HELPERS_H

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace layer::fltk {

// A Win32 menu label split for drawing: "ver&größern\t+" gives the text
// "vergrößern" with the mnemonic "g" (bytes [3, 4) of the text) and the hint
// "+". "&&" stands for a literal "&". Only the first "\t" separates.
struct MenuLabel {
    std::string text;          // without the '&' markers
    int mnemonic_begin = -1;   // byte offset of the underlined character in text, or -1
    int mnemonic_end = -1;     // one past its last byte (UTF-8 aware)
    std::string hint;          // the text after "\t", empty if none
    bool has_hint = false;     // a "\t" was present (even with an empty hint)
};

MenuLabel parse_menu_label(std::string_view label);

// The measured widths of one popup menu item, in pixels.
struct MenuItemWidths {
    int text = 0;         // the label before "\t"
    int hint = 0;         // the text after "\t"
    bool has_hint = false;
};

// The spacing of a popup menu, in pixels.
struct MenuSpacing {
    int border = 3;      // the 3D frame around the items
    int check_room = 17;  // left of the labels, where check marks go
    int tab_gap = 14;     // between the widest label and the hint column
    int arrow_room = 20;  // right of labels and hints, where submenu arrows go
};

// Where a popup menu's columns lie, from its left edge, as Win32 lays them
// out: labels left-aligned at `text_x`; every hint left-aligned in one column
// at `hint_x`, right of the menu's widest label; submenu arrows in the
// `arrow_room` at the right edge of a menu `width` wide.
struct MenuColumns {
    int text_x = 0;
    int hint_x = 0;
    int arrow_x = 0;
    int width = 0;
};

MenuColumns menu_columns(const std::vector<MenuItemWidths>& items, const MenuSpacing& spacing);

// The Win32 virtual-key code for an FLTK key code (Fl::event_key()), or 0 for
// keys the layer does not report. Arrows give VK_LEFT..VK_DOWN, the keypad
// plus and minus VK_ADD and VK_SUBTRACT (the keys the program acts on), and
// letters 'A'..'Z'.
int virtual_key_for(int fltk_key);

// An edit field that does not scroll horizontally accepts text only while it
// fits: given the text before and after an edit and the width available,
// returns the text to keep. The inserted part (what lies between the common
// prefix and the common suffix of the two texts) is cut from its end, whole
// UTF-8 characters at a time, until the text fits. `inserted_end` receives
// the byte offset just after what was kept of the insertion (the caret).
std::string fit_edit_text(const std::string& before, const std::string& after, double available_width,
                          const std::function<double(std::string_view)>& width, std::size_t* inserted_end);

}  // namespace layer::fltk

#endif
