// The FLTK backend's widgets: the main window (an undecorated FLTK window,
// the window manager draws frame and caption) with the layer's menu bar and,
// below it, the picture, which is the Win32 client area; and the modal
// dialogs built from resource templates. They report to the backend through
// WindowEvents, so they need not know the backend that owns them.
#ifndef QUIMBAR_LAYER_FLTK_WIDGETS_H
#define QUIMBAR_LAYER_FLTK_WIDGETS_H

#include <FL/Fl_Input.H>
#include <FL/Fl_Widget.H>
#include <FL/Fl_Window.H>

#include <chrono>
#include <cstddef>
#include <memory>
#include <set>
#include <vector>

#include "backend.h"
#include "fltk/helpers.h"
#include "fltk/menu_navigator.h"

namespace layer::fltk {

// How long to wait at most for something the window manager or the server
// owes us. Only a guard against a window manager that has gone away: the
// waits end on the event they wait for, not on time.
constexpr auto event_guard = std::chrono::seconds(5);

// Waits until the X server has handled every request sent so far, then
// handles the events that came in meanwhile (among them the exposures those
// requests caused) and draws what they damaged.
void sync_with_server();

// The idle/paint trace (trace.cpp), for the end-to-end tests and timing.
// With QUIMBAR_TRACE_IDLE set in the environment it writes to standard error
// "quimbar-trace: idle paints=N" each time the program waits for input after
// a paint (N: paints of the first window so far), before it
// "quimbar-trace: paint took T ms" (from BeginPaint to that moment) and
// "picture shown after T ms" (to the last rows shown),
// "quimbar-trace: upload by MIT-SHM" (or "by fl_draw_image") when a picture
// first draws, and after a menu has closed, at the next BeginPaint,
// "quimbar-trace: menu to paint T ms" (from the menu's closing, i.e. the
// choice). Without it, nothing.
namespace trace {
void paint_started();      // BeginPaint
void rows_shown();         // rows of a picture went to the display
void upload(bool shared);  // how the pictures upload
void menu_closed();
void idle();               // the program is about to wait for input
}  // namespace trace

// What the widgets report to the backend: pictures drawn, exposures, menus
// and resizes. FltkBackend derives from it and acts on what it holds.
class WindowEvents {
public:
    // Counts every redraw of a picture, reported or not.
    void note_picture_drawn() { ++pictures_drawn_; }
    void note_exposure() { ++exposures_; }
    // Exposures are not reported while a menu is open or restoring what it
    // covered: menus save what lies beneath them, as on Win32.
    bool exposures_suppressed() const { return menu_open_; }
    void menu_opened() { menu_open_ = true; }
    // `shown`: a menu was on screen; the exposures its closing causes are
    // taken (and not reported) before the next paint.
    void menu_closed(bool shown) {
        if (shown)
            menu_closed_pending_ = true;
        else
            menu_open_ = false;
        trace::menu_closed();
    }
    // A window was resized or mapped: the exposures that follow should
    // arrive before the next paint, so that all of them make one paint.
    void expect_exposures() { exposures_pending_ = true; }

protected:
    ~WindowEvents() = default;

    long pictures_drawn_ = 0;
    long exposures_ = 0;
    bool menu_open_ = false;
    bool menu_closed_pending_ = false;
    bool exposures_pending_ = false;
};

// What the backend made for `w` (its backend_data) if `w` is of `kind`.
template <class T>
T* backend_data_of(const Wnd* w, WindowKind kind) {
    return w && w->kind == kind ? static_cast<T*>(w->backend_data) : nullptr;
}

// Fl_Window::resize for the window of `w` (its client area `client_top` below
// its top); the core learns of a move or a new size. True on a new size.
bool resize_window(Fl_Window& window, Wnd* w, int x, int y, int width, int height, int client_top);

// The font for menus and dialogs: a sans face with metrics close to
// "MS Sans Serif" (Nimbus Sans, a Helvetica clone, when installed).
Fl_Font ui_font();
// The size of ui_font() whose average letter width comes closest to a dialog
// base unit (6 pixels for "MS Sans Serif" 8 pt, 7 for 10 pt). Needs the
// display.
int ui_font_size(int base_unit_x);

// ---- The main window ---------------------------------------------------------

class MenuPopup;
class SharedImage;

// The menu bar, drawn from the window's parsed menu resource. It runs
// Win32's menu mode: entered by a click on a title, Alt+mnemonic, F10 or a
// lone Alt, it holds keyboard and mouse (no key reaches the picture) until an
// item is chosen or the mode is left; the chosen command then goes to the
// core.
class MenuBar : public Fl_Widget {
public:
    MenuBar(Wnd* w, WindowEvents& backend, const Menu& menu, int x, int y, int width, int height);
    ~MenuBar() override;

    void draw() override;
    // A click on a title enters menu mode, and so does Alt+mnemonic
    // (FL_SHORTCUT), its title's first item highlighted.
    int handle(int event) override;
    // A lone Alt or F10 released: menu mode with the first title highlighted.
    void enter_from_keyboard();
    bool tracking() const { return tracking_; }
    // Keyboard and mouse events while in menu mode (the main window holds
    // the grab and hands them here).
    int track_event(int event);

private:
    // Runs menu mode from the navigator's present state until it ends.
    void track();
    // Opens, closes and highlights the popups as the navigator says.
    void update();
    void close_popups(std::size_t from);
    void apply(const MenuNavigator::Outcome& outcome);
    // The title under the screen point, or -1.
    int title_at(int x_root, int y_root) const;

    Wnd* hwnd_;
    WindowEvents& backend_;
    std::vector<MenuLabel> titles_;
    std::vector<int> title_left_;  // where each title begins, and where the last one ends
    MenuNavigator nav_;
    std::vector<std::unique_ptr<MenuPopup>> popups_;
    int font_size_ = 11;
    bool tracking_ = false;
    bool shown_ = false;  // a popup was on screen during this menu mode
    int chosen_ = -1;
};

// The client area. It shows the window's back buffer, reports exposures to
// the core, keeps the keyboard focus and reports key releases.
class Picture : public Fl_Widget {
public:
    Picture(Wnd* w, WindowEvents& backend, int x, int y, int width, int height);
    ~Picture() override;

    void draw() override;
    int handle(int event) override;

    // Draws rows [y0, y1) of the back buffer into the current window now.
    void show_rows(int y0, int y1) { paint(0, y0, w(), y1); }
    // Keys pressed before now will not be reported when released.
    void forget_keys() {
        pressed_.clear();
        menu_key_alone_ = 0;
    }

private:
    // Draws the client rectangle [x0, x1) x [y0, y1) from the back buffer,
    // black where the buffer does not reach.
    void paint(int x0, int y0, int x1, int y1);
    // Draws [x0, x1) x [y0, y1) of the back buffer (which covers it) with
    // fl_draw_image.
    void draw_rgb(int x0, int y0, int x1, int y1);
    // The shared memory image for a back buffer of width x height, made
    // anew when the size changed; null when the display allows none.
    SharedImage* shared_image(int width, int height);

    Wnd* hwnd_;
    WindowEvents& backend_;
    std::set<int> pressed_;  // keys pressed while the picture had the focus
    int menu_key_alone_ = 0;  // Alt or F10, down with no other key or click since; else 0
    std::unique_ptr<SharedImage> shared_;
    bool upload_traced_ = false;  // the trace has said how the picture uploads
    std::vector<unsigned char> rgb_;  // the fl_draw_image path's RGB bytes
};

// The main window: the menu bar above the picture.
class MainWindow : public Fl_Window {
public:
    // x, y, width, height: the FLTK window (menu bar and picture), screen
    // coordinates.
    MainWindow(Wnd* w, WindowEvents& backend, int x, int y, int width, int height);

    int handle(int event) override;
    void resize(int x, int y, int width, int height) override;

    static MainWindow* of(const Wnd* w) { return backend_data_of<MainWindow>(w, WindowKind::top); }
    Wnd* hwnd() const { return hwnd_; }
    Picture* picture() const { return picture_; }
    MenuBar* menu_bar() const { return menu_bar_; }
    // Whether the window takes input; the backend's enable_window sets it.
    bool enabled() const { return enabled_; }
    void enable(bool enabled) { enabled_ = enabled; }

private:
    static void close_box(Fl_Widget* window, void*);

    Wnd* hwnd_;
    WindowEvents& backend_;
    Picture* picture_ = nullptr;
    MenuBar* menu_bar_ = nullptr;
    bool enabled_ = true;
};

// ---- Dialogs -----------------------------------------------------------------

// An edit field. Like a Win32 edit control without ES_AUTOHSCROLL (the
// program's are all of this kind) it takes text only while the text fits
// its width.
class EditField : public Fl_Input {
public:
    using Fl_Input::Fl_Input;
    int handle(int event) override;
};

// A modal dialog: push buttons, edit fields and static labels at their
// template rectangles, in template order (which is FLTK's Tab order).
class DialogWindow : public Fl_Window {
public:
    // x, y: where the dialog's client area goes on the screen.
    DialogWindow(Wnd* dlg, int x, int y);

    static DialogWindow* of(const Wnd* w) { return backend_data_of<DialogWindow>(w, WindowKind::dialog); }
    // Creates the X window with the hints of a Win32 modal dialog frame:
    // window type dialog, moved and closed but neither resized, minimised nor
    // maximised, transient for the owner. openbox honours the fixed size (no
    // resizing or maximising) but offers minimising to every dialog whatever
    // the Motif hints say; it then iconifies the owner with it, as a transient.
    void show() override;
    // Hides it before it is deleted; the exposures this leaves on the owner
    // have reached the core (window_exposed) when it returns.
    void close();
    int handle(int event) override;
    void resize(int x, int y, int width, int height) override;

private:
    static void close_box(Fl_Widget* window, void*);
    static void button_pressed(Fl_Widget* button, void*);
    void add_control(Wnd* control, Fl_Font font, int font_size);

    Wnd* dlg_;
};

// ---- The backend -------------------------------------------------------------

// Installs the screen backend (fltk_backend.cpp) as the layer's backend, on
// the display FLTK has opened.
void install_backend();

}  // namespace layer::fltk

#endif
