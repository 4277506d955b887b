// The FLTK side of a modal dialog built from a resource template: push
// buttons, edit fields and static labels at their template rectangles, in
// template order (which is FLTK's Tab order).
#ifndef QUIMBAR_LAYER_FLTK_DIALOG_WINDOW_H
#define QUIMBAR_LAYER_FLTK_DIALOG_WINDOW_H

#include <FL/Fl_Input.H>
#include <FL/Fl_Window.H>

#include "core.h"

namespace layer::fltk {

// An edit field. Like a Win32 edit control without ES_AUTOHSCROLL (the
// program's are all of this kind) it takes text only while the text fits
// its width.
class EditField : public Fl_Input {
public:
    using Fl_Input::Fl_Input;
    int handle(int event) override;
};

class DialogWindow : public Fl_Window {
public:
    // x, y: where the dialog's client area goes on the screen.
    DialogWindow(HWND dlg, int x, int y);

    // Creates the X window with the hints of a Win32 modal dialog frame.
    void show() override;
    int handle(int event) override;
    void resize(int x, int y, int width, int height) override;

private:
    static void close_box(Fl_Widget* window, void*);
    static void button_pressed(Fl_Widget* button, void*);
    void add_control(HWND control, Fl_Font font, int font_size);
    // Enter means the focused push button, or OK when no button has the focus.
    int enter_command() const;
    // What the window manager reads of a modal dialog frame: window type
    // dialog, moved and closed but neither resized, minimised nor maximised,
    // transient for the owner. openbox honours the fixed size (no resizing
    // or maximising) but offers minimising to every dialog whatever the
    // Motif hints say; it then iconifies the owner with it, as a transient.
    void set_frame_hints();
    // The FLTK window of the dialog's owner, or null.
    Fl_Window* owner_window() const;

    HWND dlg_;
};

}  // namespace layer::fltk

#endif
