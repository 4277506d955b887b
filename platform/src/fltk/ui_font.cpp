// The font of menus and dialogs, and its size for a dialog base unit.
#include "fltk/widgets.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <cmath>
#include <map>

namespace layer::fltk {

Fl_Font ui_font() {
    static const Fl_Font font = [] {
        // Fontconfig substitutes its default sans face if Nimbus Sans is
        // missing, so this never fails.
        Fl::set_font(FL_FREE_FONT, "Nimbus Sans");
        return FL_FREE_FONT;
    }();
    return font;
}

int ui_font_size(int base_unit_x) {
    static std::map<int, int> sizes;  // measured once per base unit
    if (sizes.count(base_unit_x)) return sizes[base_unit_x];
    // The dialog base unit is the average width of the 52 Latin letters.
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    int best = 10;
    double best_error = 1e9;
    for (int size = 6; size <= 40; ++size) {
        fl_font(ui_font(), size);
        double error = std::fabs(fl_width(letters) / 52.0 - base_unit_x);
        if (error < best_error) {
            best_error = error;
            best = size;
        }
    }
    return sizes[base_unit_x] = best;
}

}  // namespace layer::fltk
