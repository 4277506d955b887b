// quimbar-text-widths: every static text of the program's dialog templates
// measured in the FLTK build's dialog font, against its control's width, as
// lines "static TEXT-WIDTH CONTROL-WIDTH TEXT" (pixels; a line "dialog ID"
// before each template's). The dialogs draw a static's text in its
// rectangle, wrapped at word boundaries and clipped: it shows whole when it
// is no wider. Needs the X display (fltk_dialogs_e2e.sh runs it).
#include <FL/Fl.H>
#include <FL/fl_draw.H>
#include <strings.h>

#include <cstdio>

#include "fltk/widgets.h"

namespace {

// MulDiv's rounding, as the layer maps dialog units.
int pixels(int units, int base) { return (units * base + (units >= 0 ? 2 : -2)) / 4; }

}  // namespace

int main() {
    fl_open_display();
    for (const layer::DialogTemplate& t : layer::program_resources().dialogs) {
        int base = layer::dialog_base_units(t.font_size).x;
        fl_font(layer::fltk::ui_font(), layer::fltk::ui_font_size(base));
        std::printf("dialog %d\n", t.name.id);
        for (const layer::DialogControl& c : t.controls)
            if (strcasecmp(c.window_class.c_str(), "Static") == 0)
                std::printf("static %.0f %d %s\n", fl_width(c.text.c_str()), pixels(c.x + c.cx, base) - pixels(c.x, base),
                            c.text.c_str());
    }
    return 0;
}
