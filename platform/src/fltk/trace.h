// The idle/paint trace of the screen backend, for the end-to-end tests and
// timing. With QUIMBAR_TRACE_IDLE set in the environment it writes to
// standard error "quimbar-trace: idle paints=N" each time the program waits
// for input after a paint (N: paints of the first window so far), before it
// "quimbar-trace: paint took T ms" (from BeginPaint to that moment) and
// "picture shown after T ms" (to the last rows shown), "quimbar-trace:
// upload by MIT-SHM" (or "by fl_draw_image") when a picture first draws, and
// after a menu has closed, at the next BeginPaint, "quimbar-trace: menu to
// paint T ms" (from the menu's closing, i.e. the choice). Without it, nothing.
#ifndef QUIMBAR_LAYER_FLTK_TRACE_H
#define QUIMBAR_LAYER_FLTK_TRACE_H

namespace layer::fltk::trace {

void paint_started();      // BeginPaint
void rows_shown();         // rows of a picture went to the display
void upload(bool shared);  // how the pictures upload
void menu_closed();
void idle();               // the program is about to wait for input

}  // namespace layer::fltk::trace

#endif
