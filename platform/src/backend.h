// The contract between the core of the Linux layer and its backends: the
// core (core.h) keeps the windows, the message queue, the back buffers and
// the modal dialogs built from the program's resource templates; a Backend
// connects it to a screen (FLTK) or to nothing (headless, for tests).
//
// Everything runs on the one thread of the message loop. The backend turns
// toolkit events into the calls at the end of this header (posted messages,
// exposures, resizes); it never calls a window procedure itself, so window
// and dialog procedures only ever run from DispatchMessageA or SendMessageA.
#ifndef QUIMBAR_LAYER_BACKEND_H
#define QUIMBAR_LAYER_BACKEND_H

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "layer/device_context.h"
#include "res_reader.h"

namespace layer {

enum class WindowKind { top, dialog, control };

// What a dialog control is, from its template's window class.
enum class ControlKind { button, edit, label, other };

// The window behind a handle. Handles are numbers, never addresses and never
// used twice, so a destroyed window's handle is refused, not taken for a new
// window. A destroyed window and its controls are freed at once.
struct Wnd {
    HWND handle = nullptr;
    WindowKind kind = WindowKind::top;

    // Top-level windows: class data.
    std::string class_name;
    UINT class_style = 0;
    WNDPROC proc = nullptr;
    HBRUSH background = nullptr;
    HICON icon = nullptr;  // the class icon; when set, the window shows IDI_ICON1
    const Menu* menu = nullptr;

    DWORD style = 0;
    DWORD exstyle = 0;
    std::string text;     // title, or a control's text (the backend may hold the live copy)
    RECT window_rect{};   // outer rectangle, screen coordinates
    POINT client_origin{};  // client area's upper-left corner, screen coordinates
    int client_width = 0;
    int client_height = 0;
    bool visible = false;
    bool enabled = true;
    HWND owner = nullptr;  // may be destroyed first

    // Painting (top-level windows): the back buffer holds what the screen
    // shows, client_width x client_height, 0x00BBGGRR.
    std::vector<COLORREF> back;
    bool has_update = false;
    RECT update{};  // bounding rectangle of the update region, client coordinates
    bool erase_pending = false;
    long paints = 0;  // WM_PAINTs delivered so far

    // Dialogs.
    DLGPROC dlgproc = nullptr;
    const DialogTemplate* dialog_template = nullptr;
    std::vector<Wnd*> controls;  // template order; they live and die with the dialog
    bool dialog_ended = false;
    INT_PTR dialog_result = 0;
    Wnd* focus = nullptr;  // the control with the keyboard focus

    // Controls.
    ControlKind control_kind = ControlKind::other;
    int id = 0;
    Wnd* parent = nullptr;
    RECT rect{};  // in the dialog's client coordinates, pixels

    void* backend_data = nullptr;
};

// Dialog base units (pixels per 4 horizontal and 8 vertical dialog units) for
// a template font of this size: "MS Sans Serif" 8 pt is 6 x 13, 10 pt 7 x 16;
// other sizes scale from 8 pt, and a size that is not positive counts as 8.
POINT dialog_base_units(int point_size);

// What a screen (or its absence) must provide.
class Backend {
public:
    virtual ~Backend() = default;

    // Creates the toolkit window for a top-level window whose class, style,
    // menu, outer rectangle and client area the core has filled in.
    virtual void create_window(Wnd* w) = 0;
    virtual void show_window(Wnd* w, int cmd_show) = 0;
    virtual void destroy_window(Wnd* w) = 0;

    // Shows rows [y0, y1) of w's back buffer on the screen now, handling no events.
    virtual void present(Wnd* w, int y0, int y1) = 0;
    // BeginPaint has started a paint of w (for the backend's own timing).
    virtual void paint_started(Wnd*) {}

    // Creates and shows the toolkit dialog and its controls from dlg and
    // dlg->controls (rectangles in pixels, texts, styles all filled in).
    virtual void create_dialog(Wnd* dlg) = 0;
    // Hides and destroys it; exposures it leaves on other windows must have
    // arrived (as window_exposed calls) before this returns.
    virtual void destroy_dialog(Wnd* dlg) = 0;

    // A control's current text (an edit field holds the live text).
    virtual std::string control_text(Wnd* control) = 0;
    // Focuses any control (a static too), selecting an edit field's text.
    virtual void set_focus(Wnd* control) = 0;
    // The control of dlg that has the keyboard focus now, or null; a toolkit
    // may have moved it (a click). Without a toolkit: the last one focused.
    virtual Wnd* focused_control(Wnd* dlg) { return dlg->focus; }

    // A disabled top-level window takes no input (keys, clicks, menu) but
    // still shows and repaints.
    virtual void enable_window(Wnd* w, bool enabled) = 0;
    // Handles pending toolkit events; with block set, first waits for one.
    virtual void pump(bool block) = 0;
};

// Installs the backend, which the layer owns from then on (a test installs a
// fresh one after reset(), which destroys every window, class and message).
void install_backend(std::unique_ptr<Backend> backend);
Backend& backend();
void reset();

// ---- Calls for backends: events from the window system --------------------
// A null window (a destroyed one's, looked up by handle) drops the event.

// The area (client coordinates) has been uncovered: it joins the update region.
void window_exposed(Wnd* w, const RECT& area);
// The client area now has this size (after a move/resize/maximise/restore);
// with CS_HREDRAW/CS_VREDRAW the whole window is invalidated.
void window_resized(Wnd* w, int client_width, int client_height);
void window_moved(Wnd* w, const RECT& outer, POINT client_origin);
// The close box of a top-level window or dialog.
void close_requested(Wnd* w);
// A released key, as a Win32 virtual-key code. Dropped while w is disabled.
void key_released(Wnd* w, int virtual_key);
// A menu item was chosen. Dropped while w is disabled.
void menu_chosen(Wnd* w, int id);
// In a dialog: a button was clicked.
void dialog_command(Wnd* dlg, int id);
// A key pressed in a dialog, taken as Win32's dialog manager takes it, with
// the focused control as the backend has it (focused_control, which
// Wnd::focus then holds): Enter (VK_RETURN) presses the focused push button,
// else OK; Escape presses Abbruch (IDCANCEL); Tab focuses the next visible,
// enabled control with WS_TABSTOP, round the end, Shift+Tab the previous; an
// arrow key (VK_LEFT..VK_DOWN) stays with an edit field (false: its caret
// moves), on another control Down and Right focus the next control of its
// group, Up and Left the previous. False for any other key.
bool dialog_key(Wnd* dlg, int virtual_key, bool shift = false);

// ---- Frames ------------------------------------------------------------------

// Win32's frame metrics, which a window's outer size includes: a sizing frame
// (WS_THICKFRAME) of 4 pixels on every side, a dialog or modal frame 3 (the
// program's windows have one or the other); above it a caption of 19 pixels
// when the style has one, and below the caption the menu bar, 19 pixels.
constexpr int menu_bar_height = 19;
// The outer rectangle around `inner` (the window without frame and caption),
// as AdjustWindowRectEx computes it for a window without menu.
RECT outer_rect(const RECT& inner, DWORD style, DWORD exstyle);

// ---- Introspection, for backends and tests --------------------------------

Wnd* wnd(HWND h);                    // the window behind a handle, or null once destroyed
Wnd* main_window();                  // the first top-level window still alive, or null
Wnd* open_dialog();                  // innermost modal dialog not yet ended, or null
Wnd* dialog_item(Wnd* dlg, int id);  // a dialog's control by id, or null

// The program's resources (embedded in the build), read on first use; a read
// error (impossible in a built program) is printed and exits with status 3.
const Resources& program_resources();

}  // namespace layer

#endif
