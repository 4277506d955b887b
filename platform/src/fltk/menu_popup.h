// A popup menu as Win32 draws it: a raised frame, one row per item with the
// label (its mnemonic underlined), the hints in one left-aligned column and
// submenu arrows at the right edge; the highlighted row in the selection
// colour. It only draws; the menu bar decides what is open and highlighted.
#ifndef QUIMBAR_LAYER_FLTK_MENU_POPUP_H
#define QUIMBAR_LAYER_FLTK_MENU_POPUP_H

#include <FL/Enumerations.H>
#include <FL/Fl_Menu_Window.H>

#include <string_view>
#include <vector>

#include "fltk/helpers.h"
#include "res_reader.h"

namespace layer::fltk {

// The height of one item row.
constexpr int menu_item_height = 17;

// The colours of a highlighted title or item (Win32's COLOR_HIGHLIGHT and
// COLOR_HIGHLIGHTTEXT).
inline Fl_Color menu_highlight_colour() { return fl_rgb_color(10, 36, 106); }
constexpr Fl_Color menu_highlight_text_colour = FL_WHITE;

// The width of a label's text without its '&' markers and its hint, in the
// current font.
int menu_text_width(const MenuLabel& label);
// Draws a label's text at (x, baseline) in the current font and colour, its
// mnemonic underlined.
void draw_menu_text(const MenuLabel& label, int x, int baseline);

class MenuPopup : public Fl_Menu_Window {
public:
    // A popup for `items` (which must outlive it) in the given font, its
    // upper-left corner at (x, y) on the screen. Not shown yet.
    MenuPopup(const std::vector<MenuItem>& items, Fl_Font font, int size, int x, int y);

    const std::vector<MenuItem>& items() const { return items_; }
    // Highlights item `index` (-1: none), redrawing what changed.
    void highlight(int index);
    // The item under the screen point (x_root, y_root), or -1.
    int item_at(int x_root, int y_root) const;
    // The top of item `index`, from the popup's top.
    int item_top(int index) const;

    void draw() override;

private:
    const std::vector<MenuItem>& items_;
    std::vector<MenuLabel> labels_;
    MenuColumns columns_;
    Fl_Font font_;
    int size_;
    int highlighted_ = -1;
};

}  // namespace layer::fltk

#endif
