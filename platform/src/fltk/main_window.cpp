// The main window: the picture (the client area) and the window around it.
#include "fltk/widgets.h"

#include "fltk/shm_image.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <utility>

namespace layer::fltk {

// ---- Picture -------------------------------------------------------------------

Picture::Picture(Wnd* w, WindowEvents& backend, int x, int y, int width, int height)
    : Fl_Widget(x, y, width, height), hwnd_(w), backend_(backend) {
    box(FL_NO_BOX);
    color(FL_BLACK);
}

Picture::~Picture() = default;

SharedImage* Picture::shared_image(int width, int height) {
    if (shared_ && shared_->width() == width && shared_->height() == height) return shared_.get();
    shared_.reset();
    shared_ = SharedImage::create(width, height);
    if (!std::exchange(upload_traced_, true)) trace::upload(shared_ != nullptr);
    return shared_.get();
}

void Picture::draw_rgb(int x0, int y0, int x1, int y1) {
    int bw = hwnd_->client_width;
    int cw = x1 - x0, ch = y1 - y0;
    rgb_.resize(static_cast<size_t>(cw) * ch * 3);
    unsigned char* out = rgb_.data();
    for (int yy = y0; yy < y1; ++yy) {
        const COLORREF* in = hwnd_->back.data() + static_cast<size_t>(yy) * bw + x0;
        for (int xx = 0; xx < cw; ++xx) {
            COLORREF c = in[xx];
            *out++ = static_cast<unsigned char>(c & 0xFF);
            *out++ = static_cast<unsigned char>((c >> 8) & 0xFF);
            *out++ = static_cast<unsigned char>((c >> 16) & 0xFF);
        }
    }
    fl_draw_image(rgb_.data(), x() + x0, y() + y0, cw, ch, 3);
}

void Picture::paint(int x0, int y0, int x1, int y1) {
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, w());
    y1 = std::min(y1, h());
    if (x1 <= x0 || y1 <= y0) return;

    // The part the back buffer covers: through shared memory where the
    // display allows it, else converted to RGB bytes for fl_draw_image.
    int bw = hwnd_->client_width, bh = hwnd_->client_height;
    if (hwnd_->back.size() < static_cast<size_t>(bw) * bh) bw = bh = 0;
    int cx1 = std::min(x1, bw), cy1 = std::min(y1, bh);
    if (cx1 > x0 && cy1 > y0) {
        if (SharedImage* image = shared_image(bw, bh))
            image->put(hwnd_->back.data(), bw, x0, y0, cx1, cy1, x() + x0, y() + y0);
        else
            draw_rgb(x0, y0, cx1, cy1);
    }
    // Black beyond the buffer (a window grown before its buffer follows).
    fl_color(FL_BLACK);
    if (x1 > std::max(x0, cx1)) fl_rectf(x() + std::max(x0, cx1), y() + y0, x1 - std::max(x0, cx1), y1 - y0);
    if (y1 > std::max(y0, cy1) && std::min(x1, cx1) > x0)
        fl_rectf(x() + x0, y() + std::max(y0, cy1), std::min(x1, cx1) - x0, y1 - std::max(y0, cy1));
}

void Picture::draw() {
    backend_.note_picture_drawn();
    int X, Y, W, H;
    fl_clip_box(x(), y(), w(), h(), X, Y, W, H);
    if (W <= 0 || H <= 0) return;
    int x0 = X - x(), y0 = Y - y();
    // Show at once what the buffer holds.
    paint(x0, y0, x0 + W, y0 + H);
    // Then let the core repaint what the X server exposed, as Win32 would;
    // not what a menu merely covered (menus save what lies beneath them), and
    // not FLTK's own redraws after a resize or a map, which the core
    // invalidates itself or which the server's exposure follows once the
    // window is really visible.
    if (backend_.exposures_suppressed() || !(window()->damage() & FL_DAMAGE_EXPOSE)) return;
    backend_.note_exposure();
    window_exposed(hwnd_, RECT{x0, y0, x0 + W, y0 + H});
}

int Picture::handle(int event) {
    switch (event) {
    case FL_FOCUS:
    case FL_UNFOCUS:
        return 1;
    case FL_PUSH:
        menu_key_alone_ = 0;
        take_focus();
        return 1;
    case FL_KEYDOWN: {
        // Alt or F10, pressed and released with no other key or click
        // between, enters menu mode on its release, as on Win32.
        int key = Fl::event_key();
        bool menu_key = key == FL_Alt_L || key == FL_Alt_R ||
                        (key == FL_F + 10 && !Fl::event_state(FL_SHIFT | FL_CTRL | FL_ALT));
        menu_key_alone_ = menu_key ? key : 0;
        // Alt+letter goes on to the menu bar as a shortcut; everything else
        // stops here, so Escape closes nothing, arrows move no focus and
        // letters trigger no menu item.
        if (Fl::event_state(FL_ALT) && !menu_key) return 0;
        pressed_.insert(key);
        return 1;
    }
    case FL_KEYUP: {
        // Only keys pressed here count: the release of a key that chose a
        // menu item or closed a dialog is not the program's.
        int key = Fl::event_key();
        if (pressed_.erase(key)) {
            if (key == menu_key_alone_) {
                menu_key_alone_ = 0;
                if (MenuBar* bar = static_cast<MainWindow*>(window())->menu_bar()) bar->enter_from_keyboard();
                return 1;
            }
            if (int vk = virtual_key_for(key)) key_released(hwnd_, vk);
        }
        return 1;
    }
    default:
        return Fl_Widget::handle(event);
    }
}

// ---- MainWindow ---------------------------------------------------------------

MainWindow::MainWindow(Wnd* w, WindowEvents& backend, int x, int y, int width, int height)
    : Fl_Window(x, y, width, height), hwnd_(w), backend_(backend) {
    box(FL_FLAT_BOX);
    color(FL_BLACK);
    int menu_height = w->menu ? menu_bar_height : 0;
    if (w->menu) menu_bar_ = new MenuBar(w, backend, *w->menu, 0, 0, width, menu_height);
    picture_ = new Picture(w, backend, 0, menu_height, width, std::max(height - menu_height, 0));
    end();
    bool sizable = w->style & WS_THICKFRAME;
    resizable(sizable ? picture_ : nullptr);
    if (sizable) size_range(100, menu_height + 20);
    callback(close_box);
    copy_label(w->text.c_str());
    xclass(w->class_name.c_str());
}

int MainWindow::handle(int event) {
    if (int used = menu_bar_ && menu_bar_->tracking() ? menu_bar_->track_event(event) : 0) return used;
    // Disabled, it swallows clicks and keys and takes no shortcut.
    if (!enabled_) {
        if (event == FL_SHORTCUT) return 0;
        if (event == FL_PUSH || event == FL_RELEASE || event == FL_DRAG || event == FL_KEYDOWN || event == FL_KEYUP ||
            event == FL_MOUSEWHEEL)
            return 1;
    }
    return Fl_Window::handle(event);
}

void MainWindow::resize(int x, int y, int width, int height) {
    if (!resize_window(*this, hwnd_, x, y, width, height, picture_->y())) return;
    window_resized(hwnd_, picture_->w(), picture_->h());
    backend_.expect_exposures();
}

void MainWindow::close_box(Fl_Widget* window, void*) {
    // FLTK also calls this for Escape; only the close box closes.
    if (Fl::event() != FL_CLOSE) return;
    close_requested(static_cast<MainWindow*>(window)->hwnd_);
}

}  // namespace layer::fltk
