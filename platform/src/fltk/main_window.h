// The FLTK side of a top-level window: an undecorated FLTK window (the
// window manager draws frame and caption) holding the menu bar and, below
// it, the picture, which is the Win32 client area.
#ifndef QUIMBAR_LAYER_FLTK_MAIN_WINDOW_H
#define QUIMBAR_LAYER_FLTK_MAIN_WINDOW_H

#include <FL/Fl_Widget.H>
#include <FL/Fl_Window.H>

#include <memory>
#include <set>
#include <vector>

#include "core.h"
#include "fltk/window_events.h"
#include "fltk/shm_image.h"

namespace layer::fltk {

class MenuBar;

// The client area. It shows the window's back buffer, reports exposures to
// the core, keeps the keyboard focus and reports key releases.
class Picture : public Fl_Widget {
public:
    Picture(HWND w, WindowEvents& backend, int x, int y, int width, int height);

    void draw() override;
    int handle(int event) override;

    // Draws rows [y0, y1) of the back buffer into the current window now.
    void show_rows(int y0, int y1);
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

    HWND hwnd_;
    WindowEvents& backend_;
    std::set<int> pressed_;  // keys pressed while the picture had the focus
    int menu_key_alone_ = 0;  // Alt or F10, down with no other key or click since; else 0
    std::unique_ptr<SharedImage> shared_;
    bool shared_tried_ = false;  // a null shared_ after a try: the display allows none
    std::vector<unsigned char> rgb_;  // the fl_draw_image path's RGB bytes
};

class MainWindow : public Fl_Window {
public:
    // x, y, width, height: the FLTK window (menu bar and picture), screen
    // coordinates.
    MainWindow(HWND w, WindowEvents& backend, int x, int y, int width, int height);

    int handle(int event) override;
    void resize(int x, int y, int width, int height) override;

    Picture* picture() const { return picture_; }
    MenuBar* menu_bar() const { return menu_bar_; }
    // The core has enabled or disabled the window (hwnd->enabled); a
    // disabled window takes no input.
    void set_enabled(bool enabled);

private:
    static void close_box(Fl_Widget* window, void*);

    HWND hwnd_;
    WindowEvents& backend_;
    Picture* picture_ = nullptr;
    MenuBar* menu_bar_ = nullptr;
};

}  // namespace layer::fltk

#endif
