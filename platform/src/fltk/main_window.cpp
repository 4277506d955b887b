#include "fltk/main_window.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>

#include "fltk/fltk_backend.h"
#include "fltk/helpers.h"

namespace layer::fltk {

Fl_Font ui_font() {
    static const Fl_Font font = [] {
        // Fontconfig substitutes its default sans face if Nimbus Sans is
        // missing, so this never fails.
        Fl::set_font(FL_FREE_FONT, "Nimbus Sans");
        return FL_FREE_FONT;
    }();
    return font;
}

int ui_font_size(int base_unit_x) {
    static std::map<int, int> sizes;
    auto known = sizes.find(base_unit_x);
    if (known != sizes.end()) return known->second;
    // The dialog base unit is the average width of the 52 Latin letters.
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    int best = 10;
    double best_error = 1e9;
    for (int size = 6; size <= 40; ++size) {
        fl_font(ui_font(), size);
        double error = std::fabs(fl_width(letters) / 52.0 - base_unit_x);
        if (error < best_error) {
            best_error = error;
            best = size;
        }
    }
    sizes[base_unit_x] = best;
    return best;
}

// ---- Picture -------------------------------------------------------------------

Picture::Picture(HWND w, FltkBackend& backend, int x, int y, int width, int height)
    : Fl_Widget(x, y, width, height), hwnd_(w), backend_(backend) {
    box(FL_NO_BOX);
    color(FL_BLACK);
}

SharedImage* Picture::shared_image(int width, int height) {
    if (shared_ && shared_->width() == width && shared_->height() == height) return shared_.get();
    if (!shared_ && shared_tried_) return nullptr;
    shared_.reset();
    shared_ = SharedImage::create(width, height);
    if (!shared_tried_) backend_.note_upload(shared_ != nullptr);
    shared_tried_ = true;
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

void Picture::show_rows(int y0, int y1) { paint(0, y0, w(), y1); }

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
    RECT area{x0, y0, x0 + W, y0 + H};
    backend_.note_exposure(area);
    window_exposed(hwnd_, area);
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
            int vk = virtual_key_for(key);
            if (vk) key_released(hwnd_, vk);
        }
        return 1;
    }
    default:
        return Fl_Widget::handle(event);
    }
}

// ---- MenuBar -----------------------------------------------------------------

namespace {

constexpr int title_padding = 8;  // left and right of a title's text

}  // namespace

MenuBar::MenuBar(HWND w, FltkBackend& backend, const Menu& menu, int x, int y, int width, int height)
    : Fl_Widget(x, y, width, height), hwnd_(w), backend_(backend), menu_(menu), nav_(menu.items) {
    // Win32 menus use the 8-point system font of the dialogs.
    int base_x = 6, base_y = 13;
    standard_base_units(8, &base_x, &base_y);
    font_size_ = ui_font_size(base_x);
    for (const MenuItem& item : menu.items) titles_.push_back(parse_menu_label(item.text));
}

MenuBar::~MenuBar() = default;

int MenuBar::title_width(int t) const {
    fl_font(ui_font(), font_size_);
    return menu_text_width(titles_[t]) + 2 * title_padding;
}

int MenuBar::title_x(int t) const {
    int left = x();
    for (int i = 0; i < t; ++i) left += title_width(i);
    return left;
}

int MenuBar::title_at(int x_root, int y_root) const {
    int px = x_root - window()->x_root(), py = y_root - window()->y_root();
    if (py < y() || py >= y() + h()) return -1;
    for (int t = 0; t < static_cast<int>(titles_.size()); ++t) {
        int left = title_x(t);
        if (px >= left && px < left + title_width(t)) return t;
    }
    return -1;
}

void MenuBar::draw() {
    fl_color(FL_BACKGROUND_COLOR);
    fl_rectf(x(), y(), w(), h());
    fl_font(ui_font(), font_size_);
    int baseline = y() + (h() - fl_height()) / 2 + fl_height() - fl_descent();
    for (int t = 0; t < static_cast<int>(titles_.size()); ++t) {
        int left = title_x(t), width = title_width(t);
        bool lit = nav_.title() == t;
        if (lit) {
            fl_color(menu_highlight_colour());
            fl_rectf(left, y(), width, h());
        }
        bool grayed = menu_.items[t].options & (menu_grayed | menu_inactive);
        fl_color(lit ? menu_highlight_text_colour() : grayed ? fl_rgb_color(128, 128, 128) : FL_BLACK);
        draw_menu_text(titles_[t], left + title_padding, baseline);
    }
}

int MenuBar::handle(int event) {
    if (tracking_) return 0;
    switch (event) {
    case FL_PUSH: {
        if (!hwnd_->enabled) return 1;
        int t = title_at(Fl::event_x_root(), Fl::event_y_root());
        if (t < 0) return 1;
        nav_.open_title(t, false);
        track();
        return 1;
    }
    case FL_SHORTCUT: {
        // Alt+letter: the title with that mnemonic opens, its first item
        // highlighted.
        if (!hwnd_->enabled || !Fl::event_state(FL_ALT) || !Fl::event_text()[0]) return 0;
        if (!nav_.open_by_mnemonic(Fl::event_text())) return 0;
        track();
        return 1;
    }
    default:
        return Fl_Widget::handle(event);
    }
}

void MenuBar::enter_from_keyboard() {
    if (tracking_ || !hwnd_->enabled) return;
    nav_.enter_bar();
    track();
}

void MenuBar::track() {
    if (!nav_.active()) return;
    tracking_ = true;
    shown_ = false;
    chosen_ = -1;
    backend_.menu_opened();
    Fl::grab(window());
    update();
    while (nav_.active() && window()->shown()) Fl::wait();
    nav_.end();
    Fl::grab(nullptr);
    close_popups(0);
    redraw();
    tracking_ = false;
    // Keys pressed in menu mode are not the program's when released.
    static_cast<MainWindow*>(window())->picture()->forget_keys();
    if (chosen_ >= 0) menu_chosen(hwnd_, chosen_);
    backend_.menu_closed(shown_);
}

void MenuBar::close_popups(std::size_t from) {
    while (popups_.size() > from) {
        popups_.back()->hide();
        popups_.pop_back();
    }
}

void MenuBar::update() {
    redraw();
    if (!nav_.active()) {
        close_popups(0);
        return;
    }
    std::size_t depth = static_cast<std::size_t>(nav_.depth());
    for (std::size_t level = 0; level < depth; ++level) {
        const std::vector<MenuItem>& items = nav_.items(static_cast<int>(level));
        if (level < popups_.size() && &popups_[level]->items() == &items) {
            popups_[level]->highlight(nav_.highlighted(static_cast<int>(level)));
            continue;
        }
        close_popups(level);
        // The title's menu hangs below its title; a submenu opens beside
        // the item that holds it, its first row level with that item.
        int px, py;
        if (level == 0) {
            px = window()->x_root() + title_x(nav_.title());
            py = window()->y_root() + y() + h();
        } else {
            const MenuPopup& parent = *popups_[level - 1];
            px = parent.x() + parent.w() - 3;
            py = parent.y() + parent.item_top(nav_.highlighted(static_cast<int>(level) - 1)) - 3;
        }
        Fl_Group* current = Fl_Group::current();
        Fl_Group::current(nullptr);
        auto popup = std::make_unique<MenuPopup>(items, ui_font(), font_size_, px, py);
        Fl_Group::current(current);
        // Kept on the screen: a popup that would stick out on the right goes
        // left of its parent (or flush with the screen's right edge).
        int sx, sy, sw, sh;
        Fl::screen_xywh(sx, sy, sw, sh, px, py);
        if (popup->x() + popup->w() > sx + sw) {
            int left = level == 0 ? sx + sw - popup->w() : popups_[level - 1]->x() - popup->w() + 3;
            popup->position(std::max(sx, left), popup->y());
        }
        if (popup->y() + popup->h() > sy + sh) popup->position(popup->x(), std::max(sy, sy + sh - popup->h()));
        popup->highlight(nav_.highlighted(static_cast<int>(level)));
        popup->show();
        shown_ = true;
        popups_.push_back(std::move(popup));
    }
    close_popups(depth);
}

void MenuBar::apply(const MenuNavigator::Outcome& outcome) {
    if (outcome.chosen >= 0) chosen_ = outcome.chosen;
    update();
}

int MenuBar::track_event(int event) {
    switch (event) {
    case FL_KEYDOWN: {
        int key = Fl::event_key();
        using Key = MenuNavigator::Key;
        switch (key) {
        case FL_Left: apply(nav_.key(Key::left)); break;
        case FL_Right: apply(nav_.key(Key::right)); break;
        case FL_Up: apply(nav_.key(Key::up)); break;
        case FL_Down: apply(nav_.key(Key::down)); break;
        case FL_Enter:
        case FL_KP_Enter: apply(nav_.key(Key::enter)); break;
        case FL_Escape: apply(nav_.key(Key::escape)); break;
        case FL_Alt_L:
        case FL_Alt_R:
        case FL_F + 10: apply(nav_.key(Key::menu_key)); break;
        default:
            if (Fl::event_length() > 0 && static_cast<unsigned char>(Fl::event_text()[0]) > ' ')
                apply(nav_.letter(Fl::event_text()));
            break;
        }
        return 1;
    }
    case FL_KEYUP:
    case FL_SHORTCUT:
        return 1;
    case FL_PUSH:
    case FL_DRAG:
    case FL_MOVE:
    case FL_RELEASE: {
        int xr = Fl::event_x_root(), yr = Fl::event_y_root();
        // The deepest popup under the pointer, and its item.
        for (int level = static_cast<int>(popups_.size()) - 1; level >= 0; --level) {
            const MenuPopup& popup = *popups_[level];
            if (xr < popup.x() || xr >= popup.x() + popup.w() || yr < popup.y() || yr >= popup.y() + popup.h())
                continue;
            int item = popup.item_at(xr, yr);
            if (item >= 0) {
                if (event == FL_RELEASE) {
                    apply(nav_.click_item(level, item));
                } else {
                    nav_.hover_item(level, item);
                    update();
                }
            }
            return 1;
        }
        int t = title_at(xr, yr);
        if (event == FL_PUSH) {
            // A click on the open title closes the menu, on another title
            // opens that one; anywhere else it ends menu mode.
            if (t >= 0 && !(t == nav_.title() && nav_.depth() > 0))
                nav_.open_title(t, false);
            else
                nav_.end();
            update();
        } else if (t >= 0 && t != nav_.title() && nav_.depth() > 0) {
            nav_.open_title(t, false);
            update();
        }
        return 1;
    }
    default:
        return 0;
    }
}

// ---- MainWindow ---------------------------------------------------------------

MainWindow::MainWindow(HWND w, FltkBackend& backend, int x, int y, int width, int height, int border, int caption)
    : Fl_Window(x, y, width, height), hwnd_(w), backend_(backend), border_(border), caption_(caption) {
    box(FL_FLAT_BOX);
    color(FL_BLACK);
    int menu_height = w->menu ? menu_bar_height : 0;
    if (w->menu) menu_bar_ = new MenuBar(w, backend, *w->menu, 0, 0, width, menu_height);
    picture_ = new Picture(w, backend, 0, menu_height, width, std::max(height - menu_height, 0));
    end();
    if (w->style & WS_THICKFRAME) {
        resizable(picture_);
        size_range(100, menu_height + 20);
    } else {
        resizable(nullptr);
    }
    callback(close_box);
    copy_label(w->text.c_str());
    xclass(w->class_name.c_str());
}

RECT MainWindow::outer_rect() const {
    return RECT{x() - border_, y() - border_ - caption_, x() + w() + border_, y() + h() + border_};
}

void MainWindow::set_enabled(bool enabled) {
    if (enabled) {
        picture_->forget_keys();
        picture_->take_focus();
    }
}

int MainWindow::handle(int event) {
    // In menu mode this window holds the grab: keys and the mouse belong to
    // the menu.
    if (menu_bar_ && menu_bar_->tracking()) {
        if (int used = menu_bar_->track_event(event)) return used;
    }
    if (!hwnd_->enabled) {
        switch (event) {
        case FL_PUSH:
        case FL_RELEASE:
        case FL_DRAG:
        case FL_KEYDOWN:
        case FL_KEYUP:
        case FL_MOUSEWHEEL:
            return 1;
        case FL_SHORTCUT:
            return 0;
        default:
            break;
        }
    }
    return Fl_Window::handle(event);
}

void MainWindow::resize(int x, int y, int width, int height) {
    bool moved = x != this->x() || y != this->y();
    bool resized = width != w() || height != h();
    Fl_Window::resize(x, y, width, height);
    if (resized) {
        window_resized(hwnd_, picture_->w(), picture_->h());
        backend_.expect_exposures();
    }
    if (moved || resized) window_moved(hwnd_, outer_rect(), POINT{this->x(), this->y() + picture_->y()});
}

void MainWindow::close_box(Fl_Widget* window, void*) {
    // FLTK also calls this for Escape; only the close box closes.
    if (Fl::event() != FL_CLOSE) return;
    close_requested(static_cast<MainWindow*>(window)->hwnd_);
}

}  // namespace layer::fltk
