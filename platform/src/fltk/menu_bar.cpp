// MenuBar, the main window's menu bar, and its menu mode with MenuPopup, the
// popup menus; the font of menus and dialogs.
#include "fltk/widgets.h"

#include <FL/Fl.H>
#include <FL/Fl_Menu_Window.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cmath>
#include <map>

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
    static std::map<int, int> sizes;  // measured once per base unit
    if (sizes.count(base_unit_x)) return sizes[base_unit_x];
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
    return sizes[base_unit_x] = best;
}

namespace {

constexpr int title_padding = 8;      // left and right of a title's text
constexpr int menu_item_height = 17;  // of one item row

const MenuSpacing spacing;

// Whether the main window of the menu bar takes input (not while its dialog is open).
bool takes_input(const MenuBar* bar) { return static_cast<MainWindow*>(bar->window())->enabled(); }

// The width of `text` in the current font, rounded to pixels.
int text_width(const std::string& text) {
    return static_cast<int>(fl_width(text.c_str(), static_cast<int>(text.size())) + 0.5);
}

// Draws a title's or an item's row (x, y, width, height) in the current
// font: when `lit` the highlight behind it, then its text from text_x,
// centred in height, the mnemonic underlined. Returns the baseline, the
// text's colour still set.
int draw_menu_row(const MenuLabel& label, bool lit, int x, int y, int width, int height, int text_x) {
    if (lit) {
        fl_color(fl_rgb_color(10, 36, 106));  // Win32's COLOR_HIGHLIGHT
        fl_rectf(x, y, width, height);
    }
    fl_color(lit ? FL_WHITE : FL_BLACK);  // COLOR_HIGHLIGHTTEXT or COLOR_MENUTEXT
    int baseline = y + (height - fl_height()) / 2 + fl_height() - fl_descent();
    fl_draw(label.text.c_str(), static_cast<int>(label.text.size()), text_x, baseline);
    if (label.mnemonic_begin >= 0) {
        int u0 = text_x + static_cast<int>(fl_width(label.text.c_str(), label.mnemonic_begin));
        int u1 = text_x + static_cast<int>(fl_width(label.text.c_str(), label.mnemonic_end));
        fl_xyline(u0, baseline + 1, std::max(u0, u1 - 1));
    }
    return baseline;
}

}  // namespace

// A popup menu as Win32 draws it: a raised frame, one row per item with the
// label (its mnemonic underlined), the hints in one left-aligned column and
// submenu arrows at the right edge; the highlighted row in the selection
// colour. It only draws; the menu bar decides what is open and highlighted.
class MenuPopup : public Fl_Menu_Window {
public:
    // A popup for `items` (which must outlive it) in ui_font(), its
    // upper-left corner at (x, y) on the screen. Not shown yet.
    MenuPopup(const std::vector<MenuItem>& items, int font_size, int x, int y);

    const std::vector<MenuItem>& items() const { return items_; }
    // Highlights item `index` (-1: none), redrawing what changed.
    void highlight(int index) {
        if (index != highlighted_) redraw();
        highlighted_ = index;
    }
    // The item under the screen point (x_root, y_root), or -1.
    int item_at(int x_root, int y_root) const {
        int px = x_root - x(), py = y_root - y() - spacing.border, i = py / menu_item_height;
        bool inside = px >= spacing.border && px < w() - spacing.border && py >= 0;
        return inside && i < static_cast<int>(items_.size()) ? i : -1;
    }
    // The top of item `index`, from the popup's top.
    int item_top(int index) const { return spacing.border + index * menu_item_height; }

    void draw() override;

private:
    const std::vector<MenuItem>& items_;
    std::vector<MenuLabel> labels_;
    MenuColumns columns_;
    int font_size_;
    int highlighted_ = -1;
};

MenuPopup::MenuPopup(const std::vector<MenuItem>& items, int font_size, int x, int y)
    : Fl_Menu_Window(x, y, 1, 1), items_(items), font_size_(font_size) {
    end();
    set_override();
    clear_border();
    box(FL_NO_BOX);
    fl_font(ui_font(), font_size_);
    std::vector<MenuItemWidths> widths;
    for (const MenuItem& item : items_) {
        MenuLabel label = parse_menu_label(item.text);
        widths.push_back({text_width(label.text), text_width(label.hint), label.has_hint});
        labels_.push_back(std::move(label));
    }
    columns_ = menu_columns(widths, spacing);
    size(columns_.width, item_top(static_cast<int>(items_.size())) + spacing.border);
}

void MenuPopup::draw() {
    // The raised frame: light outer and white inner top-left edges, dark
    // outer and grey inner bottom-right edges, then the face.
    int W = w(), H = h();
    fl_color(FL_BACKGROUND_COLOR);
    fl_rectf(0, 0, W, H);
    fl_color(fl_rgb_color(64, 64, 64));
    fl_xyline(0, H - 1, W - 1);
    fl_yxline(W - 1, 0, H - 1);
    fl_color(fl_rgb_color(128, 128, 128));
    fl_xyline(1, H - 2, W - 2);
    fl_yxline(W - 2, 1, H - 2);
    fl_color(FL_WHITE);
    fl_xyline(1, 1, W - 3);
    fl_yxline(1, 1, H - 3);

    fl_font(ui_font(), font_size_);
    for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
        int top = item_top(i);
        const MenuLabel& label = labels_[i];
        int baseline = draw_menu_row(label, i == highlighted_, spacing.border, top, W - 2 * spacing.border,
                                     menu_item_height, columns_.text_x);
        if (!label.hint.empty())
            fl_draw(label.hint.c_str(), static_cast<int>(label.hint.size()), columns_.hint_x, baseline);
        if (items_[i].popup) {
            // A right-pointing arrow, 4 wide and 7 high, centred in its room.
            int ax = columns_.arrow_x + spacing.arrow_room / 2 - 1;
            int ay = top + menu_item_height / 2;
            fl_polygon(ax, ay - 3, ax + 3, ay, ax, ay + 3);
        }
    }
}

MenuBar::~MenuBar() = default;

MenuBar::MenuBar(Wnd* w, WindowEvents& backend, const Menu& menu, int x, int y, int width, int height)
    : Fl_Widget(x, y, width, height), hwnd_(w), backend_(backend), nav_(menu.items) {
    // Win32 menus use the 8-point system font of the dialogs.
    font_size_ = ui_font_size(dialog_base_units(8).x);
    fl_font(ui_font(), font_size_);
    int left = x;
    for (const MenuItem& item : menu.items) {
        titles_.push_back(parse_menu_label(item.text));
        title_left_.push_back(left);
        left += text_width(titles_.back().text) + 2 * title_padding;
    }
    title_left_.push_back(left);
}

int MenuBar::title_at(int x_root, int y_root) const {
    int px = x_root - window()->x_root(), py = y_root - window()->y_root();
    if (py < y() || py >= y() + h()) return -1;
    for (int t = 0; t < static_cast<int>(titles_.size()); ++t)
        if (px >= title_left_[t] && px < title_left_[t + 1]) return t;
    return -1;
}

void MenuBar::draw() {
    fl_color(FL_BACKGROUND_COLOR);
    fl_rectf(x(), y(), w(), h());
    fl_font(ui_font(), font_size_);
    for (int t = 0; t < static_cast<int>(titles_.size()); ++t) {
        int left = title_left_[t];
        draw_menu_row(titles_[t], nav_.title() == t, left, y(), title_left_[t + 1] - left, h(), left + title_padding);
    }
}

int MenuBar::handle(int event) {
    if (tracking_) return 0;
    switch (event) {
    case FL_PUSH: {
        if (!takes_input(this) || Fl::event_button() != FL_LEFT_MOUSE) return 1;  // Win32: the left button only
        int t = title_at(Fl::event_x_root(), Fl::event_y_root());
        if (t < 0) return 1;
        nav_.open_title(t, false);
        track();
        return 1;
    }
    case FL_SHORTCUT: {
        if (!takes_input(this) || !Fl::event_state(FL_ALT) || !Fl::event_text()[0]) return 0;
        if (!nav_.open_by_mnemonic(Fl::event_text())) return 0;
        track();
        return 1;
    }
    default:
        return Fl_Widget::handle(event);
    }
}

void MenuBar::enter_from_keyboard() {
    if (tracking_ || !takes_input(this)) return;
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
    int depth = nav_.depth();
    for (int level = 0; level < depth; ++level) {
        const std::vector<MenuItem>& items = nav_.items(level);
        if (level < static_cast<int>(popups_.size()) && &popups_[level]->items() == &items) {
            popups_[level]->highlight(nav_.highlighted(level));
            continue;
        }
        close_popups(level);
        // The title's menu hangs below its title; a submenu opens beside
        // the item that holds it, its first row level with that item.
        const MenuPopup* parent = level > 0 ? popups_[level - 1].get() : nullptr;
        int px = parent ? parent->x() + parent->w() - 3 : window()->x_root() + title_left_[nav_.title()];
        int py = parent ? parent->y() + parent->item_top(nav_.highlighted(level - 1)) - 3
                        : window()->y_root() + y() + h();
        Fl_Group* current = Fl_Group::current();
        Fl_Group::current(nullptr);
        auto popup = std::make_unique<MenuPopup>(items, font_size_, px, py);
        Fl_Group::current(current);
        // Kept on the screen: a popup that would stick out on the right goes
        // left of its parent (or flush with the screen's right edge).
        int sx, sy, sw, sh;
        Fl::screen_xywh(sx, sy, sw, sh, px, py);
        if (popup->x() + popup->w() > sx + sw) {
            int left = parent ? parent->x() - popup->w() + 3 : sx + sw - popup->w();
            popup->position(std::max(sx, left), popup->y());
        }
        if (popup->y() + popup->h() > sy + sh) popup->position(popup->x(), std::max(sy, sy + sh - popup->h()));
        popup->highlight(nav_.highlighted(level));
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
        case FL_KP_Enter:
        case ' ': apply(nav_.key(Key::enter)); break;
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
        // The right and middle buttons only move the highlight, as on Win32.
        if ((event == FL_PUSH || event == FL_RELEASE) && Fl::event_button() != FL_LEFT_MOUSE) event = FL_MOVE;
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
        // A click on another title opens that one, on the open title closes
        // the menu; anywhere else it ends menu mode, and so does a release
        // off every menu and off the bar (a press on a title dragged away),
        // nothing chosen. Over another title, in bar mode too, its menu drops
        // down.
        int t = title_at(xr, yr);
        bool off_bar = yr < window()->y_root() + y() || yr >= window()->y_root() + y() + h() ||
                       xr < window()->x_root() || xr >= window()->x_root() + window()->w();
        if (event == FL_PUSH && t >= 0 && !(t == nav_.title() && nav_.depth() > 0))
            nav_.open_title(t, false);
        else if (event == FL_PUSH || (event == FL_RELEASE && off_bar))
            nav_.end();
        else if (t >= 0 && t != nav_.title())
            nav_.open_title(t, false);
        else
            return 1;
        update();
        return 1;
    }
    default:
        return 0;
    }
}

}  // namespace layer::fltk
