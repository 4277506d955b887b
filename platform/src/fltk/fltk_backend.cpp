// FltkBackend, the layer's Backend on FLTK, and the X11 plumbing around it:
// commands from other programs, a disabled window bringing its dialog back.
#include "fltk/widgets.h"

#include <FL/Fl.H>
#include <FL/Fl_PNG_Image.H>
#include <FL/Fl_Widget.H>
#include <FL/x.H>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

namespace layer::fltk {

void sync_with_server() {
    Fl::flush();
    XSync(fl_display, False);
    Fl::check();  // handles every queued event, then draws
}

bool resize_window(Fl_Window& window, Wnd* w, int x, int y, int width, int height, int client_top) {
    bool moved = x != window.x() || y != window.y();
    bool resized = width != window.w() || height != window.h();
    window.Fl_Window::resize(x, y, width, height);
    if (moved || resized)
        window_moved(w, outer_rect(RECT{x, y, x + width, y + height}, w->style, w->exstyle), POINT{x, y + client_top});
    return resized;
}

namespace {

// The program's icon (its first icon group), decoded from its largest
// PNG-compressed image; null if there is none.
const Fl_RGB_Image* program_icon() {
    static std::unique_ptr<Fl_PNG_Image> icon = []() -> std::unique_ptr<Fl_PNG_Image> {
        const Resources& res = program_resources();
        if (res.icons.empty()) return nullptr;
        const IconImage* png = nullptr;
        for (const IconImage& image : res.icons.front().images)
            if (image.png && (!png || image.width * image.height > png->width * png->height)) png = &image;
        if (!png) return nullptr;
        auto image = std::make_unique<Fl_PNG_Image>(
            "icon", reinterpret_cast<const unsigned char*>(png->data.data()), static_cast<int>(png->data.size()));
        if (image->w() <= 0 || image->h() <= 0) return nullptr;
        return image;
    }();
    return icon.get();
}

// Another program's command (quimbar-send), as PostMessage from another
// process on Win32: a client message QUIMBAR_WM_COMMAND of format 32 to a main
// window is posted to it as WM_COMMAND (wParam l[0], lParam l[1]). Nothing
// else gets in this way; another format is ignored.
int command_message(void* event, void*) {
    const XClientMessageEvent& message = static_cast<XEvent*>(event)->xclient;
    if (message.type != ClientMessage) return 0;
    static const Atom type = XInternAtom(fl_display, "QUIMBAR_WM_COMMAND", False);
    if (message.message_type != type) return 0;
    auto* window = dynamic_cast<MainWindow*>(fl_find(message.window));
    if (window && message.format == 32)
        PostMessageA(window->hwnd()->handle, WM_COMMAND, static_cast<std::uint32_t>(message.data.l[0]), message.data.l[1]);
    return 1;
}

// A click on, or the activation of, a window that its modal dialog has
// disabled brings the dialog back (de-iconified), raised and focused, as on
// Win32; FLTK itself drops such clicks before any widget sees them. The focus
// is asked of the window manager (_NET_ACTIVE_WINDOW, from an application).
int bring_dialog_forward(int event, Fl_Window* window) {
    Wnd* dlg = open_dialog();
    DialogWindow* dialog = DialogWindow::of(dlg);
    MainWindow* owner = dialog ? MainWindow::of(wnd(dlg->owner)) : nullptr;
    if ((event == FL_PUSH || event == FL_FOCUS) && owner && window == owner && !owner->enabled() && dialog->shown()) {
        dialog->show();  // maps and raises it
        XEvent activate{};
        activate.xclient = XClientMessageEvent{ClientMessage, 0, True, fl_display, fl_xid(dialog),
                                               XInternAtom(fl_display, "_NET_ACTIVE_WINDOW", False), 32, {}};
        activate.xclient.data.l[0] = 1;
        activate.xclient.data.l[1] = static_cast<long>(fl_event_time);
        XSendEvent(fl_display, RootWindow(fl_display, fl_screen), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &activate);
    }
    return Fl::handle_(event, window);
}

// The screen backend of the layer on FLTK 1.3 (X11). It turns the core's
// windows and dialogs into FLTK windows and FLTK events into the core's
// event calls (exposures, resizes, key releases, menu choices, dialog
// commands); it never calls a window procedure itself.
class FltkBackend : public Backend, public WindowEvents {
public:
    FltkBackend() {
        Fl::visual(FL_RGB);
        Fl::background(212, 208, 200);  // the Win32 3D face colour
        Fl::add_system_handler(command_message, nullptr);
        Fl::event_dispatch(bring_dialog_forward);
    }

    void create_window(Wnd* w) override {
        // The window manager draws frame and caption outside the X window, which
        // holds the menu bar and, below it, the client area where the core put it.
        int menu = w->menu ? menu_bar_height : 0;
        auto* window = new MainWindow(w, *this, w->client_origin.x, w->client_origin.y - menu,
                                      std::max(w->client_width, 1), std::max(w->client_height + menu, 1));
        if (const Fl_RGB_Image* icon = w->icon ? program_icon() : nullptr) window->icon(icon);
        w->backend_data = window;
    }

    void show_window(Wnd* w, int cmd_show) override {
        MainWindow* window = MainWindow::of(w);
        if (!window) return;
        if (cmd_show == SW_HIDE) {
            window->hide();
            return;
        }
        bool first = !window->shown();
        window->show();
        window->picture()->take_focus();
        // Let the window manager map the window and its exposure arrive, so that
        // it merges with the invalidation of showing and the first paint lands
        // on a visible window.
        if (first) await_exposure();
    }

    void destroy_window(Wnd* w) override {
        MainWindow* window = MainWindow::of(w);
        if (!window) return;
        w->backend_data = nullptr;
        window->hide();
        delete window;
        Fl::flush();
    }

    void paint_started(Wnd*) override { trace::paint_started(); }

    void present(Wnd* w, int y0, int y1) override {
        MainWindow* window = MainWindow::of(w);
        if (!window || !window->shown()) return;
        window->make_current();
        window->picture()->show_rows(y0, y1);
        XFlush(fl_display);
        trace::rows_shown();
    }

    void create_dialog(Wnd* dlg) override {
        // The X window is the client area, where the core has placed it; the
        // window manager's frame goes around it (the window asks for static
        // gravity).
        auto* window = new DialogWindow(dlg, dlg->client_origin.x, dlg->client_origin.y);
        dlg->backend_data = window;
        if (dlg->style & WS_VISIBLE) window->show();
    }

    void destroy_dialog(Wnd* dlg) override {
        DialogWindow* window = DialogWindow::of(dlg);
        if (!window) return;
        window->close();
        delete window;
        if (MainWindow* main = MainWindow::of(wnd(dlg->owner)); main && main->enabled()) main->picture()->take_focus();
    }

    std::string control_text(Wnd* control) override {
        Fl_Widget* widget = backend_data_of<Fl_Widget>(control, WindowKind::control);
        if (widget && control->control_kind == ControlKind::edit) return static_cast<Fl_Input*>(widget)->value();
        return control->text;
    }

    void set_focus(Wnd* control) override {
        Fl_Widget* widget = backend_data_of<Fl_Widget>(control, WindowKind::control);
        if (!widget) return;
        if (!widget->take_focus()) Fl::focus(widget);  // a static too
        if (auto* field = control->control_kind == ControlKind::edit ? static_cast<Fl_Input*>(widget) : nullptr)
            field->position(field->size(), 0);
    }

    Wnd* focused_control(Wnd* dlg) override {
        DialogWindow* window = DialogWindow::of(dlg);
        Fl_Widget* focus = Fl::focus();
        return window && focus && focus->window() == window ? static_cast<Wnd*>(focus->user_data()) : nullptr;
    }

    void enable_window(Wnd* w, bool enabled) override {
        // Only a dialog's owner is disabled, and only while the dialog is open.
        MainWindow* window = MainWindow::of(w);
        if (window) window->enable(enabled);
        if (!window || !enabled) return;
        window->picture()->forget_keys();
        window->picture()->take_focus();
    }

    void pump(bool block) override {
        if (block) {
            // Fl::wait draws pending damage before it waits; damage from the
            // events it handles is drawn by the flush after it.
            long drawn = pictures_drawn_;
            Fl::flush();
            if (pictures_drawn_ == drawn) {
                trace::idle();
                Fl::wait();
            }
        }
        Fl::check();
        finish_pending();
    }

private:
    // Handles events until a picture has reported an exposure.
    void await_exposure() {
        long seen = exposures_;
        using Clock = std::chrono::steady_clock;
        auto deadline = Clock::now() + event_guard;
        while (exposures_ == seen) {
            double left = std::chrono::duration<double>(deadline - Clock::now()).count();
            if (left <= 0) break;
            Fl::wait(left);
            Fl::flush();
        }
        sync_with_server();
    }

    // After a menu closed or a window was resized: the exposures this caused
    // are handled before anything else is dispatched.
    void finish_pending() {
        while (menu_closed_pending_ || exposures_pending_) {
            // The menus' windows (override-redirect, no window manager in
            // between) are gone once the server has handled their
            // destruction, which exposes what they covered at once; that is
            // redrawn from the back buffer without a repaint.
            if (std::exchange(menu_closed_pending_, false)) {
                sync_with_server();
                if (!menu_closed_pending_) menu_open_ = false;
            }
            // The server exposes a resized window while it handles the
            // request that resizes it, so the Expose events are in once the
            // server has answered a later request.
            if (std::exchange(exposures_pending_, false)) sync_with_server();
        }
    }
};

}  // namespace

void install_backend() { layer::install_backend(std::make_unique<FltkBackend>()); }

}  // namespace layer::fltk
