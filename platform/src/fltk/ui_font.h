// The font of the layer's menus and dialogs.
#ifndef QUIMBAR_LAYER_FLTK_UI_FONT_H
#define QUIMBAR_LAYER_FLTK_UI_FONT_H

#include <FL/Enumerations.H>

namespace layer::fltk {

// The font for menus and dialogs: a sans face with metrics close to
// "MS Sans Serif" (Nimbus Sans, a Helvetica clone, when installed).
Fl_Font ui_font();
// The size of ui_font() whose average letter width comes closest to a dialog
// base unit (6 pixels for "MS Sans Serif" 8 pt, 7 for 10 pt). Needs the
// display.
int ui_font_size(int base_unit_x);

}  // namespace layer::fltk

#endif
