// DialogWindow, a modal dialog on the screen: its controls, its frame hints
// and its closing; EditField, the Win32 edit control.
#include "fltk/widgets.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <X11/Xatom.h>
#include <poll.h>

#include <array>
#include <chrono>
#include <string>

namespace layer::fltk {

// ---- EditField ---------------------------------------------------------------

int EditField::handle(int event) {
    // A single-line Win32 edit control keeps every arrow: Up moves the caret
    // as Left does, Down as Right.
    int key = Fl::event_key();
    if (event == FL_KEYDOWN && key >= FL_Left && key <= FL_Down) {
        Fl::e_keysym = key == FL_Up ? FL_Left : key == FL_Down ? FL_Right : key;
        Fl_Input::handle(event);
        Fl::e_keysym = key;
        return 1;
    }
    if (event != FL_KEYDOWN && event != FL_PASTE) return Fl_Input::handle(event);
    std::string before = value();
    int handled = Fl_Input::handle(event);
    std::string after = value();
    if (after == before) return handled;
    // The width Fl_Input_ draws text into: the box's inner width less its
    // 3-pixel margins.
    double available = w() - Fl::box_dw(box()) - 6;
    fl_font(textfont(), textsize());
    size_t caret = 0;
    std::string kept = fit_edit_text(
        before, after, available,
        [](std::string_view s) { return fl_width(s.data(), static_cast<int>(s.size())); }, &caret);
    if (kept != after) {
        value(kept.c_str());
        position(static_cast<int>(caret));
    }
    return handled;
}

// ---- StaticLabel -------------------------------------------------------------

namespace {

// A Win32 static text control: its text uses the whole rectangle (FLTK
// would keep 3 pixels free on either side of a left-aligned label).
class StaticLabel : public Fl_Box {
public:
    StaticLabel(int x, int y, int width, int height) : Fl_Box(FL_NO_BOX, x, y, width, height, nullptr) {}
    void draw() override {
        draw_box();
        draw_label(x(), y(), w(), h());
    }
};

// ---- The dialog frame --------------------------------------------------------

// The _MOTIF_WM_HINTS of a DS_MODALFRAME | WS_CAPTION | WS_SYSMENU dialog.
// Five values: flags (which of the next fields count), functions,
// decorations, input mode and status, with Motif's bit values.
constexpr long mwm_flags = 1 << 0 | 1 << 1;                 // functions and decorations count
constexpr long mwm_functions = 1 << 2 | 1 << 5;             // move, close
constexpr long mwm_decorations = 1 << 1 | 1 << 3 | 1 << 4;  // border, title, window menu

// The atoms of the frame hints, interned once in one round trip; needs the
// display open.
enum FrameAtom { motif_wm_hints, net_wm_window_type, net_wm_window_type_dialog };
const std::array<Atom, 3>& frame_atoms() {
    static const std::array<Atom, 3> atoms = [] {
        const char* names[] = {"_MOTIF_WM_HINTS", "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_DIALOG"};
        std::array<Atom, 3> interned{};
        XInternAtoms(fl_display, const_cast<char**>(names), 3, False, interned.data());  // only reads the names
        return interned;
    }();
    return atoms;
}

// FLTK writes its own Motif hints (all functions but resizing and maximising)
// whenever it sends the size limits, so these are written after it.
void write_motif_hints(Window xid) {
    long hints[5] = {mwm_flags, mwm_functions, mwm_decorations, 0, 0};
    Atom atom = frame_atoms()[motif_wm_hints];
    XChangeProperty(fl_display, xid, atom, atom, 32, PropModeReplace, reinterpret_cast<unsigned char*>(hints), 5);
}

bool overlaps(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The window manager's frame around a top-level X window (its ancestor just
// below the root) while it is on the screen; None when nothing has
// reparented the window or the frame is not viewable.
Window viewable_frame_of(Window xid) {
    Window w = xid, root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    while (XQueryTree(fl_display, w, &root, &parent, &children, &count)) {
        if (children) XFree(children);
        if (parent == root || parent == 0) break;
        w = parent;
    }
    XWindowAttributes attr;
    if (w == xid || !XGetWindowAttributes(fl_display, w, &attr) || attr.map_state != IsViewable) return None;
    return w;
}

Bool is_unmap_of(Display*, XEvent* event, XPointer window) {
    return (event->type == UnmapNotify || event->type == DestroyNotify) &&
           event->xany.window == *reinterpret_cast<Window*>(window);
}

// Waits for the frame (whose structure events we receive) to be unmapped or
// destroyed; other events stay queued for FLTK.
void await_unmap(Window frame) {
    using Clock = std::chrono::steady_clock;
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

}  // namespace

// ---- DialogWindow --------------------------------------------------------------

DialogWindow::DialogWindow(Wnd* dlg, int x, int y)
    : Fl_Window(x, y, std::max(dlg->client_width, 1), std::max(dlg->client_height, 1)), dlg_(dlg) {
    int points = dlg->dialog_template ? dlg->dialog_template->font_size : 8;
    int font_size = ui_font_size(dialog_base_units(points).x);
    for (Wnd* control : dlg->controls) add_control(control, ui_font(), font_size);
    end();
    resizable(nullptr);
    set_modal();
    callback(close_box);
    copy_label(dlg->text.c_str());
}

void DialogWindow::add_control(Wnd* control, Fl_Font font, int font_size) {
    const RECT& r = control->rect;
    int x = r.left, y = r.top, w = r.right - r.left, h = r.bottom - r.top;
    Fl_Widget* widget = nullptr;
    switch (control->control_kind) {
    case ControlKind::button:
        widget = new Fl_Button(x, y, w, h);
        widget->copy_label(control->text.c_str());
        widget->callback(button_pressed);
        break;
    case ControlKind::edit: {
        auto* e = new EditField(x, y, w, h);
        e->box((control->style & WS_BORDER) ? FL_DOWN_BOX : FL_FLAT_BOX);
        e->textfont(font);
        e->textsize(font_size);
        e->value(control->text.c_str());
        widget = e;
        break;
    }
    case ControlKind::label:
        // A Win32 SS_LEFT static (the program's are all of this kind):
        // wrapped at word boundaries and clipped to its rectangle.
        widget = new StaticLabel(x, y, w, h);
        widget->copy_label(control->text.c_str());
        widget->align(FL_ALIGN_INSIDE | FL_ALIGN_TOP | FL_ALIGN_WRAP | FL_ALIGN_CLIP | FL_ALIGN_LEFT);
        break;
    case ControlKind::other:
        widget = new Fl_Box(FL_NO_BOX, x, y, w, h, nullptr);
        break;
    }
    widget->labelfont(font);  // what buttons and labels show
    widget->labelsize(font_size);
    widget->user_data(control);
    if (!(control->style & WS_VISIBLE)) widget->hide();
    if (control->style & WS_DISABLED) widget->deactivate();
    control->backend_data = widget;
}

void DialogWindow::show() {
    if (shown()) {
        Fl_Window::show();
        return;
    }
    // FLTK creates and maps the X window in one go. With the atoms interned
    // beforehand nothing waits for the server between the map request and
    // the hints, so they go out in the same batch and are in place before
    // the window manager, answering the map request, reads them (openbox
    // reads the window type and the Motif hints only then).
    fl_open_display();
    const std::array<Atom, 3>& atoms = frame_atoms();
    Fl_Window::show();
    Window xid = fl_xid(this);
    XChangeProperty(fl_display, xid, atoms[net_wm_window_type], XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&atoms[net_wm_window_type_dialog]), 1);
    write_motif_hints(xid);
    // FLTK makes a modal window transient for whichever window it showed
    // last; the dialog belongs to its owner. Window managers keep a
    // transient with its owner: openbox iconifies and restores them together.
    MainWindow* owner = MainWindow::of(wnd(dlg_->owner));
    if (owner && owner->shown()) XSetTransientForHint(fl_display, xid, fl_xid(owner));
}

int DialogWindow::handle(int event) {
    // Keys reach the dialog itself when the focused control leaves them; the
    // dialog manager's, not FLTK's navigation.
    if (event == FL_KEYDOWN || event == FL_SHORTCUT) {
        int key = Fl::event_key();
        int vk = key == FL_Enter || key == FL_KP_Enter ? VK_RETURN
                 : key == FL_Escape                    ? VK_ESCAPE
                 : key == FL_Tab                       ? VK_TAB
                 : key >= FL_Left && key <= FL_Down    ? virtual_key_for(key)
                                                       : 0;
        if (vk) {
            dialog_key(dlg_, vk, Fl::event_state(FL_SHIFT) != 0);
            return 1;
        }
    }
    return Fl_Window::handle(event);
}

void DialogWindow::close() {
    // The exposure hiding leaves on the owner's picture must reach the core
    // before the program's own invalidation is painted, so both make one
    // paint. A window manager's frame uncovers the picture only when the
    // window manager unmaps it, after it has learnt that the dialog is gone:
    // a frame over the picture is watched for that.
    Window frame = None;
    Wnd* owner = wnd(dlg_->owner);
    if (MainWindow* main = MainWindow::of(owner); main && main->shown() && shown()) {
        RECT picture{owner->client_origin.x, owner->client_origin.y, owner->client_origin.x + owner->client_width,
                     owner->client_origin.y + owner->client_height};
        if (overlaps(dlg_->window_rect, picture) && (frame = viewable_frame_of(fl_xid(this))) != None)
            XSelectInput(fl_display, frame, StructureNotifyMask);
    }
    hide();
    if (frame != None) await_unmap(frame);
    sync_with_server();
    for (Wnd* control : dlg_->controls) control->backend_data = nullptr;
    dlg_->backend_data = nullptr;
}

void DialogWindow::resize(int x, int y, int width, int height) {
    // A new size makes FLTK send its size limits and Motif hints again.
    if (resize_window(*this, dlg_, x, y, width, height, 0) && shown()) write_motif_hints(fl_xid(this));
}

void DialogWindow::close_box(Fl_Widget* window, void*) {
    auto* self = static_cast<DialogWindow*>(window);
    if (Fl::event() == FL_CLOSE)
        close_requested(self->dlg_);
    else
        dialog_key(self->dlg_, VK_ESCAPE);  // Escape that nothing else took
}

void DialogWindow::button_pressed(Fl_Widget* button, void*) {
    Wnd* control = static_cast<Wnd*>(button->user_data());
    dialog_command(control->parent, control->id);
}

}  // namespace layer::fltk
