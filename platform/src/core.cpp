// Windows, classes, the message queue and painting, with Win32's rules:
// posted messages come first, the quit message when the queue is empty, and
// WM_PAINT only when nothing else is waiting and a window has an update
// region; invalidations before a paint merge into one.
#include <strings.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <stdexcept>

#include "core.h"

namespace layer {

namespace {

HINSTANCE__ the_instance{0};
HBRUSH__ black_brush{0x000000};
HICON__ arrow_cursor{32512};

constexpr auto present_interval = std::chrono::milliseconds(16);

RECT client_rect(const Wnd* w) { return RECT{0, 0, w->client_width, w->client_height}; }

bool empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

RECT intersect(const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    return empty(r) ? RECT{0, 0, 0, 0} : r;
}

RECT unite(const RECT& a, const RECT& b) {
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

// The device context BeginPaint hands out: writes the window's back buffer,
// clipped to the update region, and shows the rows it has written at least
// every 16 ms, so the picture appears as it is computed. It looks at the
// clock whenever a write starts a row and after every 1024 writes in a row.
class PaintDC : public HDC__ {
public:
    PaintDC(Wnd* w, RECT area) {
        w_ = w->handle;
        pixels = w->back.data();
        stride = w->client_width;
        clip = intersect(area, client_rect(w));
        hook = write;
    }

    static PaintDC* of(HDC hdc) { return hdc && hdc->hook == write ? static_cast<PaintDC*>(hdc) : nullptr; }

    void fill(COLORREF colour) {
        for (int y = clip.top; y < clip.bottom; ++y)
            std::fill_n(pixels + static_cast<size_t>(y) * stride + clip.left, clip.right - clip.left, colour);
        // Shown with the next rows the paint writes (at the latest after
        // 16 ms, or at EndPaint): a quick paint replaces the old picture
        // without a black frame in between and with one upload less.
        touch(clip.top, clip.bottom);
    }

    void flush() {
        if (Wnd* w = wnd(w_); w && dirty_top_ < dirty_bottom_) state().backend->present(w, dirty_top_, dirty_bottom_);
        dirty_top_ = INT32_MAX;
        dirty_bottom_ = INT32_MIN;
        run_row = no_run;  // the next write marks its row dirty again
        run_end = no_run;
        last_present_ = std::chrono::steady_clock::now();
    }

private:
    // One unsigned test per axis (left <= x < right as x - left < right -
    // left, modulo 2^32); a write inside opens a run (out of line, so the
    // short path saves no registers).
    static COLORREF write(HDC__* dc, int x, int y, COLORREF colour) {
        const RECT& c = dc->clip;
        if (static_cast<unsigned>(x) - static_cast<unsigned>(c.left) >=
                static_cast<unsigned>(c.right) - static_cast<unsigned>(c.left) ||
            static_cast<unsigned>(y) - static_cast<unsigned>(c.top) >=
                static_cast<unsigned>(c.bottom) - static_cast<unsigned>(c.top))
            return CLR_INVALID;
        static_cast<PaintDC*>(dc)->start_run(x, y);
        return dc->run_pixels[x] = colour & 0x00FFFFFF;
    }

    // A run has at most as many writes as columns from its first to its
    // last, so the clock is read at least every 1024 writes plus one row.
    [[gnu::noinline]] void start_run(int x, int y) {
        if (run_row != no_run) writes_ += static_cast<long>(run_last) - run_first_ + 1;
        if (writes_ >= 1024) {
            writes_ = 0;
            if (std::chrono::steady_clock::now() - last_present_ >= present_interval) flush();
        }
        touch(y, y + 1);
        run_row = y;
        run_first_ = x;
        run_last = x;
        run_end = clip.right;
        run_pixels = pixels + static_cast<size_t>(y) * stride;
    }

    void touch(int top, int bottom) {
        dirty_top_ = std::min(dirty_top_, top);
        dirty_bottom_ = std::max(dirty_bottom_, bottom);
    }

    HWND w_;  // a handle: the window may go during the paint
    int run_first_ = 0;  // first column of the open run
    long writes_ = 0;    // writes in the runs since the clock was read, or more
    int dirty_top_ = INT32_MAX;
    int dirty_bottom_ = INT32_MIN;
    std::chrono::steady_clock::time_point last_present_ = std::chrono::steady_clock::now();
};

void resize_back_buffer(Wnd* w, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    std::vector<COLORREF> back(static_cast<size_t>(width) * height, 0);
    for (int y = 0; y < std::min(height, w->client_height); ++y)
        for (int x = 0; x < std::min(width, w->client_width); ++x)
            back[static_cast<size_t>(y) * width + x] = w->back[static_cast<size_t>(y) * w->client_width + x];
    w->back.swap(back);
    w->client_width = width;
    w->client_height = height;
}

// The window without frame and caption, from its outer rectangle.
RECT inner_rect(const RECT& outer, DWORD style, DWORD exstyle) {
    RECT frame = outer_rect(RECT{0, 0, 0, 0}, style, exstyle);
    return RECT{outer.left - frame.left, outer.top - frame.top, outer.right - frame.right,
                outer.bottom - frame.bottom};
}

LRESULT call_procedure(Wnd* w, UINT message, WPARAM wParam, LPARAM lParam) {
    if (w->kind == WindowKind::dialog) return dialog_window_proc(w, message, wParam, lParam);
    if (w->kind == WindowKind::control) return 0;  // the toolkit's widgets do what a control does
    return w->proc ? w->proc(w->handle, message, wParam, lParam) : DefWindowProcA(w->handle, message, wParam, lParam);
}

}  // namespace

State& state() {
    static State s;
    return s;
}

Wnd* wnd(HWND h) {
    auto found = state().windows.find(h);
    return found == state().windows.end() ? nullptr : found->second.get();
}

Wnd* adopt(std::unique_ptr<Wnd> w) {
    static std::uintptr_t handles = 0;  // never reset: a handle stays void for good
    w->handle = reinterpret_cast<HWND>(++handles << 4);
    return state().windows.emplace(w->handle, std::move(w)).first->second.get();
}

void bury(Wnd* w) {
    HWND h = w->handle;
    auto& q = state().queue;
    q.erase(std::remove_if(q.begin(), q.end(), [h](const MSG& m) { return m.hwnd == h; }), q.end());
    state().windows.erase(h);
}

POINT dialog_base_units(int point_size) {
    if (point_size <= 0 || point_size == 8) return POINT{6, 13};
    if (point_size == 10) return POINT{7, 16};
    return POINT{static_cast<LONG>(std::lround(6.0 * point_size / 8.0)),
                 static_cast<LONG>(std::lround(13.0 * point_size / 8.0))};
}

const Resources& program_resources() {
    static const Resources resources = [] {
        try {
            return read_res(embedded_res());
        } catch (const ResError& e) {
            std::fprintf(stderr, "%s\n", e.what());
            std::exit(3);
        }
    }();
    return resources;
}

void install_backend(std::unique_ptr<Backend> b) { state().backend = std::move(b); }

Backend& backend() {
    if (!state().backend) throw std::logic_error("layer: no backend installed");
    return *state().backend;
}

void reset() {
    std::unique_ptr<Backend> kept = std::move(state().backend);
    state() = State{};
    state().backend = std::move(kept);
}

RECT outer_rect(const RECT& inner, DWORD style, DWORD exstyle) {
    int border = (style & WS_THICKFRAME) ? 4 : (style & WS_DLGFRAME) || (exstyle & WS_EX_DLGMODALFRAME) ? 3 : 0;
    int caption = (style & WS_CAPTION) == WS_CAPTION ? 19 : 0;
    return RECT{inner.left - border, inner.top - border - caption, inner.right + border, inner.bottom + border};
}

// ---- Events from the window system ----------------------------------------

void window_exposed(Wnd* w, const RECT& area) {
    if (w && w->kind == WindowKind::top) InvalidateRect(w->handle, &area, TRUE);
}

void window_resized(Wnd* w, int width, int height) {
    if (!w || w->kind != WindowKind::top) return;
    if (width == w->client_width && height == w->client_height) return;
    int old_width = w->client_width, old_height = w->client_height;
    resize_back_buffer(w, width, height);
    if (w->has_update) w->update = intersect(w->update, client_rect(w));
    if (w->has_update && empty(w->update)) w->has_update = false;
    PostMessageA(w->handle, WM_SIZE, 0, static_cast<LPARAM>((height & 0xFFFF) << 16 | (width & 0xFFFF)));
    if (w->class_style & (CS_HREDRAW | CS_VREDRAW)) {
        InvalidateRect(w->handle, nullptr, TRUE);
    } else {
        // Only the newly uncovered strips (if any) need painting.
        RECT right{old_width, 0, width, height}, bottom{0, old_height, width, height};
        InvalidateRect(w->handle, &right, TRUE);
        InvalidateRect(w->handle, &bottom, TRUE);
    }
}

void window_moved(Wnd* w, const RECT& outer, POINT origin) {
    if (!w) return;
    w->window_rect = outer;
    w->client_origin = origin;
}

// Input for w, dropped while w is disabled.
static void post_input(Wnd* w, UINT message, WPARAM wParam, LPARAM lParam) {
    if (w && w->enabled) PostMessageA(w->handle, message, wParam, lParam);
}

void close_requested(Wnd* w) { post_input(w, WM_SYSCOMMAND, 0xF060 /* SC_CLOSE */, 0); }
// Repeat count 1, previous state down, transition state up.
void key_released(Wnd* w, int virtual_key) { post_input(w, WM_KEYUP, virtual_key, 0xC0000001u); }
void menu_chosen(Wnd* w, int id) { post_input(w, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void dialog_command(Wnd* dlg, int id) {
    if (!dlg || dlg->kind != WindowKind::dialog) return;
    Wnd* control = dialog_item(dlg, id);
    PostMessageA(dlg->handle, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control ? control->handle : nullptr));
}

// ---- Introspection ---------------------------------------------------------

Wnd* main_window() {
    for (auto& [h, w] : state().windows)
        if (w->kind == WindowKind::top) return w.get();
    return nullptr;
}

Wnd* open_dialog() {
    auto& open = state().dialogs;
    auto found = std::find_if(open.rbegin(), open.rend(), [](Wnd* d) { return !d->dialog_ended; });
    return found == open.rend() ? nullptr : *found;
}

Wnd* dialog_item(Wnd* dlg, int id) {
    if (!dlg) return nullptr;
    for (Wnd* c : dlg->controls)
        if (c->id == id) return c;
    return nullptr;
}

}  // namespace layer

using namespace layer;

// ---- Classes, windows -------------------------------------------------------

ATOM WINAPI RegisterClassA(const WNDCLASSA* wc) {
    if (!wc || !wc->lpszClassName) return 0;
    for (const auto& c : state().classes)
        if (strcasecmp(c.name.c_str(), wc->lpszClassName) == 0) return 0;
    WindowClass c{wc->lpszClassName, *wc, program_resources().find_menu(wc->lpszMenuName)};
    c.wc.lpszClassName = c.wc.lpszMenuName = nullptr;
    state().classes.push_back(std::move(c));
    return static_cast<ATOM>(0xC000 + state().classes.size());
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                            int width, int height, HWND parent, HMENU, HINSTANCE, LPVOID) {
    const WindowClass* cls = nullptr;
    for (const auto& c : state().classes)
        if (className && !IS_INTRESOURCE(className) && strcasecmp(c.name.c_str(), className) == 0) cls = &c;
    if (!cls) return nullptr;

    auto w = std::make_unique<Wnd>();
    w->kind = WindowKind::top;
    w->class_name = cls->name;
    w->class_style = cls->wc.style;
    w->proc = cls->wc.lpfnWndProc;
    w->background = cls->wc.hbrBackground;
    w->icon = cls->wc.hIcon;
    w->menu = cls->menu;
    w->style = style;
    w->exstyle = exStyle;
    w->text = windowName ? windowName : "";
    w->owner = parent;
    w->window_rect = RECT{x, y, x + width, y + height};
    // The client area: the outer rectangle less frame, caption and menu bar.
    RECT client = inner_rect(w->window_rect, style, exStyle);
    if (w->menu) client.top += menu_bar_height;
    w->client_origin = POINT{client.left, client.top};
    w->client_width = std::max(0, static_cast<int>(client.right - client.left));
    w->client_height = std::max(0, static_cast<int>(client.bottom - client.top));

    Wnd* made = adopt(std::move(w));
    HWND h = made->handle;
    backend().create_window(made);
    made->back.assign(static_cast<size_t>(made->client_width) * made->client_height, 0);

    if (made->proc && made->proc(h, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(h);
        return nullptr;
    }
    if (style & WS_VISIBLE) ShowWindow(h, SW_SHOW);
    return h;
}

BOOL WINAPI ShowWindow(HWND h, int cmdShow) {
    Wnd* w = wnd(h);
    if (!w) return FALSE;
    BOOL was_visible = w->visible;
    w->visible = cmdShow != SW_HIDE;
    backend().show_window(w, cmdShow);
    // A window that appears has everything to paint.
    if (w->visible && !was_visible && w->kind == WindowKind::top) InvalidateRect(h, nullptr, TRUE);
    return was_visible;
}

BOOL WINAPI UpdateWindow(HWND h) {
    Wnd* w = wnd(h);
    if (!w) return FALSE;
    if (w->kind == WindowKind::top && w->visible && w->has_update) {
        ++w->paints;
        call_procedure(w, WM_PAINT, 0, 0);
    }
    return TRUE;
}

// Dialogs and their controls go with EndDialog.
BOOL WINAPI DestroyWindow(HWND h) {
    Wnd* w = wnd(h);
    if (!w || w->kind != WindowKind::top) return FALSE;
    call_procedure(w, WM_DESTROY, 0, 0);
    if (!(w = wnd(h))) return TRUE;  // WM_DESTROY destroyed it itself
    backend().destroy_window(w);
    bury(w);
    return TRUE;
}

// ---- Messages ----------------------------------------------------------------

BOOL WINAPI GetMessageA(LPMSG msg, HWND, UINT, UINT) {
    State& s = state();
    for (;;) {
        backend().pump(false);
        if (!s.queue.empty()) {
            *msg = s.queue.front();
            s.queue.pop_front();
            return TRUE;
        }
        if (s.quit_pending) {
            s.quit_pending = false;
            *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(s.quit_code), 0, 0, {0, 0}};
            return FALSE;
        }
        for (auto& [h, w] : s.windows)
            if (w->kind == WindowKind::top && w->visible && w->has_update) {
                *msg = MSG{h, WM_PAINT, 0, 0, 0, {0, 0}};
                return TRUE;
            }
        backend().pump(true);
    }
}

BOOL WINAPI TranslateMessage(const MSG*) {
    // The toolkit's own text fields make characters; the program handles no WM_CHAR.
    return FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    Wnd* w = msg ? wnd(msg->hwnd) : nullptr;
    if (!w) return 0;
    if (msg->message == WM_PAINT) ++w->paints;
    return call_procedure(w, msg->message, msg->wParam, msg->lParam);
}

BOOL WINAPI PostMessageA(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
    if (h && !wnd(h)) return FALSE;
    state().queue.push_back(MSG{h, message, wParam, lParam, 0, {0, 0}});
    return TRUE;
}

LRESULT WINAPI SendMessageA(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
    Wnd* w = wnd(h);
    return w ? call_procedure(w, message, wParam, lParam) : 0;
}

void WINAPI PostQuitMessage(int exitCode) {
    state().quit_pending = true;
    state().quit_code = exitCode;
}

LRESULT WINAPI DefWindowProcA(HWND h, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(h);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == 0xF060 /* SC_CLOSE */) SendMessageA(h, WM_CLOSE, 0, 0);
        return 0;
    case WM_ERASEBKGND: {
        PaintDC* dc = PaintDC::of(reinterpret_cast<HDC>(wParam));
        Wnd* w = wnd(h);
        if (!dc || !w || !w->background) return 0;
        dc->fill(w->background->colour);
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(h, &ps);
        EndPaint(h, &ps);
        return 0;
    }
    default:
        return 0;
    }
}

// ---- Painting ----------------------------------------------------------------

HDC WINAPI BeginPaint(HWND h, LPPAINTSTRUCT ps) {
    Wnd* w = wnd(h);
    if (!w || !ps || w->kind != WindowKind::top) return nullptr;
    RECT area = w->has_update ? w->update : RECT{0, 0, 0, 0};
    bool erase = w->erase_pending;
    w->has_update = false;
    w->erase_pending = false;
    backend().paint_started(w);
    auto* dc = new PaintDC(w, area);
    std::memset(ps, 0, sizeof *ps);
    ps->hdc = dc;
    ps->rcPaint = dc->clip;
    if (erase) ps->fErase = SendMessageA(h, WM_ERASEBKGND, reinterpret_cast<WPARAM>(ps->hdc), 0) ? FALSE : TRUE;
    return ps->hdc;
}

BOOL WINAPI EndPaint(HWND, const PAINTSTRUCT* ps) {
    if (!ps) return FALSE;
    PaintDC* dc = PaintDC::of(ps->hdc);
    if (!dc) return FALSE;
    dc->flush();
    delete dc;
    return TRUE;
}

BOOL WINAPI InvalidateRect(HWND h, const RECT* rect, BOOL erase) {
    Wnd* w = wnd(h);
    if (!w) return FALSE;
    if (w->kind != WindowKind::top) return TRUE;  // the toolkit paints dialogs itself
    RECT area = rect ? intersect(*rect, client_rect(w)) : client_rect(w);
    if (empty(area)) return TRUE;
    w->update = w->has_update ? unite(w->update, area) : area;
    w->has_update = true;
    if (erase) w->erase_pending = true;
    return TRUE;
}

HGDIOBJ WINAPI GetStockObject(int object) { return object == BLACK_BRUSH ? &black_brush : nullptr; }

// ---- Resources -------------------------------------------------------------------

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
    if (!instance) return nullptr;  // system icons are not provided
    const IconResource* icon = program_resources().find_icon(name);
    if (!icon) return nullptr;
    static std::map<const IconResource*, HICON__> icons;  // one handle per icon
    return &icons.try_emplace(icon, HICON__{icon->name.is_id ? icon->name.id : -1}).first->second;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
    return instance == nullptr && name == IDC_ARROW ? &arrow_cursor : nullptr;
}

HINSTANCE WINAPI GetModuleHandleA(LPCSTR moduleName) { return moduleName ? nullptr : &the_instance; }
