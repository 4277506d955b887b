// The main window's menu bar, drawn by the layer, and Win32's menu mode.
#ifndef QUIMBAR_LAYER_FLTK_MENU_BAR_H
#define QUIMBAR_LAYER_FLTK_MENU_BAR_H

#include <FL/Fl_Widget.H>

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "core.h"
#include "fltk/window_events.h"
#include "fltk/helpers.h"
#include "fltk/menu_navigator.h"

namespace layer::fltk {

class MenuPopup;

// The menu bar, drawn from the window's parsed menu resource. It runs
// Win32's menu mode: entered by a click on a title, Alt+mnemonic, F10 or a
// lone Alt, it holds keyboard and mouse (no key reaches the picture) until an
// item is chosen or the mode is left; the chosen command then goes to the
// core.
class MenuBar : public Fl_Widget {
public:
    MenuBar(HWND w, WindowEvents& backend, const Menu& menu, int x, int y, int width, int height);
    ~MenuBar() override;

    void draw() override;
    // A click on a title, or Alt+mnemonic (FL_SHORTCUT), enters menu mode.
    int handle(int event) override;
    // Called when menu mode ends, before the chosen command goes out.
    void on_close(std::function<void()> hook) { on_close_ = std::move(hook); }
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

    HWND hwnd_;
    WindowEvents& backend_;
    std::vector<MenuLabel> titles_;
    std::vector<int> title_left_;  // where each title begins, and where the last one ends
    MenuNavigator nav_;
    std::vector<std::unique_ptr<MenuPopup>> popups_;
    int font_size_ = 11;
    bool tracking_ = false;
    bool shown_ = false;  // a popup was on screen during this menu mode
    int chosen_ = -1;
    std::function<void()> on_close_;
};

}  // namespace layer::fltk

#endif
