// The screen backend of the layer on FLTK 1.3 (X11). It turns the core's
// windows and dialogs into FLTK windows and FLTK events into the core's
// event calls (exposures, resizes, key releases, menu choices, dialog
// commands); it never calls a window procedure itself.
#ifndef QUIMBAR_LAYER_FLTK_BACKEND_H
#define QUIMBAR_LAYER_FLTK_BACKEND_H

#include <chrono>

#include "core.h"
#include "fltk/widgets.h"

namespace layer::fltk {

class FltkBackend : public Backend, public WindowEvents {
public:
    FltkBackend();

    void create_window(HWND w) override;
    void show_window(HWND w, int cmd_show) override;
    void destroy_window(HWND w) override;
    void present(HWND w, int y0, int y1) override;
    void paint_started(HWND w) override;
    void create_dialog(HWND dlg) override;
    void destroy_dialog(HWND dlg) override;
    std::string control_text(HWND control) override;
    void set_focus(HWND control) override;
    void enable_window(HWND w, bool enabled) override;
    void pump(bool block) override;

    // ---- WindowEvents: what the backend's own widgets report -------------------
    void note_picture_drawn() override { ++pictures_drawn_; }
    void note_exposure() override { ++exposures_; }
    void note_upload(bool shared) override;
    bool exposures_suppressed() const override { return menu_open_; }
    void menu_opened() override { menu_open_ = true; }
    void menu_closed(bool shown) override;
    void expect_exposures() override { exposures_pending_ = true; }

private:
    // Waits until the X server has handled every request sent so far, then
    // handles the events that came in meanwhile (among them the exposures
    // those requests caused) and draws what they damaged.
    void sync_with_server();
    // Handles events until a picture has reported an exposure.
    void await_exposure();
    // After a menu closed or a window was resized: the exposures this caused
    // are handled before anything else is dispatched.
    void finish_pending();
    // An open dialog that was iconified comes back once its owner is on
    // screen again.
    void restore_dialog();
    // With QUIMBAR_TRACE_IDLE set in the environment, the backend writes
    // "quimbar-trace: idle paints=N" to standard error each time the program
    // waits for input after a paint (N: paints of the first window so far),
    // "quimbar-trace: paint took T ms" before it (from the first rows shown
    // to the idle moment), and "quimbar-trace: upload by MIT-SHM" (or
    // "by fl_draw_image") when a picture first draws. After a menu has
    // closed, the next BeginPaint writes "quimbar-trace: menu to paint T ms"
    // (T from the menu's closing, i.e. the choice, to BeginPaint).
    void trace_idle();

    long pictures_drawn_ = 0;
    long exposures_ = 0;
    bool owner_was_visible_ = true;  // the open dialog's owner, at the last look
    bool menu_open_ = false;
    bool menu_closed_pending_ = false;
    bool exposures_pending_ = false;
    bool trace_idle_ = false;
    long traced_paints_ = -1;
    bool paint_timed_ = false;
    std::chrono::steady_clock::time_point paint_started_;
    std::chrono::steady_clock::time_point paint_shown_;  // the timed paint's last rows went to the display
    bool menu_timed_ = false;
    std::chrono::steady_clock::time_point menu_closed_at_;
};

}  // namespace layer::fltk

#endif
