#include "fltk/widgets.h"

#include <FL/Fl.H>
#include <FL/Fl_PNG_Image.H>
#include <FL/Fl_Widget.H>
#include <FL/x.H>

#include <poll.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace layer::fltk {

using Clock = std::chrono::steady_clock;

namespace {

DialogWindow* dialog_window_of(Wnd* w) {
    return w && w->kind == WindowKind::dialog ? static_cast<DialogWindow*>(w->backend_data) : nullptr;
}

Fl_Widget* control_widget_of(Wnd* w) {
    return w && w->kind == WindowKind::control ? static_cast<Fl_Widget*>(w->backend_data) : nullptr;
}

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

bool overlaps(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// How long to wait at most for something the window manager or the server
// owes us. Only a guard against a window manager that has gone away: the
// waits end on the event they wait for, not on time.
constexpr auto event_guard = std::chrono::seconds(5);

// The window manager's frame around a top-level X window: its ancestor just
// below the root, or the window itself when nothing has reparented it.
Window frame_of(Window xid) {
    Window w = xid;
    for (;;) {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(fl_display, w, &root, &parent, &children, &count)) return w;
        if (children) XFree(children);
        if (parent == root || parent == 0) return w;
        w = parent;
    }
}

Bool is_unmap_of(Display*, XEvent* event, XPointer window) {
    return (event->type == UnmapNotify || event->type == DestroyNotify) &&
           event->xany.window == *reinterpret_cast<Window*>(window);
}

// Waits for the frame (whose structure events we receive) to be unmapped or
// destroyed; other events stay queued for FLTK.
void await_unmap(Window frame) {
    auto deadline = Clock::now() + event_guard;
    XEvent event;
    XFlush(fl_display);
    while (!XCheckIfEvent(fl_display, &event, is_unmap_of, reinterpret_cast<XPointer>(&frame))) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return;
        pollfd connection{ConnectionNumber(fl_display), POLLIN, 0};
        poll(&connection, 1, static_cast<int>(left));
        XEventsQueued(fl_display, QueuedAfterReading);
    }
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
    Wnd* owner = dlg ? wnd(dlg->owner) : nullptr;
    DialogWindow* dialog = dialog_window_of(dlg);
    if ((event == FL_PUSH || event == FL_FOCUS) && owner && !owner->enabled && !dlg->dialog_ended && dialog &&
        dialog->shown() && window == MainWindow::of(owner)) {
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
        trace_idle_ = std::getenv("QUIMBAR_TRACE_IDLE") != nullptr;
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
        if (w->icon) {
            if (const Fl_RGB_Image* icon = program_icon()) window->icon(icon);
        }
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

    void paint_started(Wnd*) override {
        if (menu_closed_at_) {
            double ms = std::chrono::duration<double, std::milli>(Clock::now() - *menu_closed_at_).count();
            menu_closed_at_.reset();
            std::fprintf(stderr, "quimbar-trace: menu to paint %.2f ms\n", ms);
            std::fflush(stderr);
        }
        if (trace_idle_ && !paint_started_) paint_started_ = Clock::now();
    }

    void present(Wnd* w, int y0, int y1) override {
        MainWindow* window = MainWindow::of(w);
        if (!window || !window->shown()) return;
        window->make_current();
        window->picture()->show_rows(y0, y1);
        XFlush(fl_display);
        if (paint_started_) paint_shown_ = Clock::now();
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
        DialogWindow* window = dialog_window_of(dlg);
        if (!window) return;
        // Whether hiding uncovers part of the owner's picture (frame included).
        bool uncovers = false;
        Wnd* owner = wnd(dlg->owner);
        if (MainWindow* main = MainWindow::of(owner); main && main->shown() && window->shown()) {
            RECT picture{owner->client_origin.x, owner->client_origin.y, owner->client_origin.x + owner->client_width,
                         owner->client_origin.y + owner->client_height};
            uncovers = overlaps(dlg->window_rect, picture);
        }
        // The exposure this leaves must reach the core before the program's own
        // invalidation is painted, so both make one paint. A window manager's
        // frame uncovers the picture only when the window manager unmaps it,
        // after it has learnt that the dialog is gone: watch the frame for that.
        Window frame = None;
        if (uncovers) {
            Window xid = fl_xid(window);
            frame = frame_of(xid);
            XWindowAttributes attributes;
            if (frame == xid || !XGetWindowAttributes(fl_display, frame, &attributes) ||
                attributes.map_state != IsViewable)
                frame = None;
            else
                XSelectInput(fl_display, frame, StructureNotifyMask);
        }
        window->hide();
        if (frame != None) await_unmap(frame);
        sync_with_server();
        for (Wnd* control : dlg->controls) control->backend_data = nullptr;
        dlg->backend_data = nullptr;
        delete window;
        if (MainWindow* main = MainWindow::of(owner); main && owner->enabled) main->picture()->take_focus();
    }

    std::string control_text(Wnd* control) override {
        Fl_Widget* widget = control_widget_of(control);
        if (widget && control->control_kind == ControlKind::edit) return static_cast<Fl_Input*>(widget)->value();
        return control->text;
    }

    void set_focus(Wnd* control) override {
        Fl_Widget* widget = control_widget_of(control);
        if (!widget) return;
        if (!widget->take_focus()) Fl::focus(widget);  // a static too
        if (auto* field = control->control_kind == ControlKind::edit ? static_cast<Fl_Input*>(widget) : nullptr)
            field->position(field->size(), 0);
    }

    void enable_window(Wnd* w, bool enabled) override {
        // Only a dialog's owner is disabled, and only while the dialog is open.
        // Back to input, it takes the keys pressed from then on.
        MainWindow* window = MainWindow::of(w);
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
                if (trace_idle_) trace_idle();
                Fl::wait();
            }
        }
        Fl::check();
        finish_pending();
    }

    // ---- WindowEvents: what the backend's own widgets report ----------------
    void note_picture_drawn() override { ++pictures_drawn_; }
    void note_exposure() override { ++exposures_; }
    void note_upload(bool shared) override {
        if (!trace_idle_) return;
        std::fprintf(stderr, "quimbar-trace: upload by %s\n", shared ? "MIT-SHM" : "fl_draw_image");
        std::fflush(stderr);
    }
    bool exposures_suppressed() const override { return menu_open_; }
    void menu_opened() override { menu_open_ = true; }
    void menu_closed(bool shown) override {
        if (shown)
            menu_closed_pending_ = true;
        else
            menu_open_ = false;
        if (trace_idle_) menu_closed_at_ = Clock::now();
    }
    void expect_exposures() override { exposures_pending_ = true; }

private:
    // Waits until the X server has handled every request sent so far, then
    // handles the events that came in meanwhile (among them the exposures
    // those requests caused) and draws what they damaged.
    void sync_with_server() {
        Fl::flush();
        XSync(fl_display, False);
        // Handles every queued event, then draws.
        Fl::check();
    }

    // Handles events until a picture has reported an exposure.
    void await_exposure() {
        long seen = exposures_;
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
            if (menu_closed_pending_) {
                // The menus' windows (override-redirect, no window manager in
                // between) are gone once the server has handled their
                // destruction, which exposes what they covered at once; that is
                // redrawn from the back buffer without a repaint.
                menu_closed_pending_ = false;
                sync_with_server();
                if (!menu_closed_pending_) menu_open_ = false;
            }
            if (exposures_pending_) {
                // The server exposes a resized window while it handles the
                // request that resizes it, so the Expose events are in once the
                // server has answered a later request.
                exposures_pending_ = false;
                sync_with_server();
            }
        }
    }

    // With QUIMBAR_TRACE_IDLE set in the environment, the backend writes
    // "quimbar-trace: idle paints=N" to standard error each time the program
    // waits for input after a paint (N: paints of the first window so far),
    // "quimbar-trace: paint took T ms" before it (from the first rows shown
    // to the idle moment), and "quimbar-trace: upload by MIT-SHM" (or
    // "by fl_draw_image") when a picture first draws. After a menu has
    // closed, the next BeginPaint writes "quimbar-trace: menu to paint T ms"
    // (T from the menu's closing, i.e. the choice, to BeginPaint).
    void trace_idle() {
        // One line whenever the program goes idle with a new paint count: tests
        // wait on it instead of sleeping.
        long paints = main_window() ? main_window()->paints : 0;
        if (paints == traced_paints_) return;
        traced_paints_ = paints;
        if (paint_started_) {
            double ms = std::chrono::duration<double, std::milli>(Clock::now() - *paint_started_).count();
            if (paint_shown_ > *paint_started_) {
                double shown = std::chrono::duration<double, std::milli>(paint_shown_ - *paint_started_).count();
                std::fprintf(stderr, "quimbar-trace: picture shown after %.1f ms\n", shown);
            }
            std::fprintf(stderr, "quimbar-trace: paint took %.1f ms\n", ms);
            paint_started_.reset();
        }
        std::fprintf(stderr, "quimbar-trace: idle paints=%ld\n", paints);
        std::fflush(stderr);
    }

    long pictures_drawn_ = 0;
    long exposures_ = 0;
    bool menu_open_ = false;
    bool menu_closed_pending_ = false;
    bool exposures_pending_ = false;
    bool trace_idle_ = false;
    long traced_paints_ = -1;
    std::optional<Clock::time_point> paint_started_;  // of the paint being timed
    Clock::time_point paint_shown_;                    // its last rows went to the display
    std::optional<Clock::time_point> menu_closed_at_;  // of the menu whose choice is being timed
};

}  // namespace

void install_backend() { layer::install_backend(std::make_unique<FltkBackend>()); }

}  // namespace layer::fltk
