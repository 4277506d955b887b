#include "fltk/menu_popup.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>

namespace layer::fltk {

const MenuSpacing spacing;  // const: private to this file

int menu_text_width(const MenuLabel& label) {
    return static_cast<int>(fl_width(label.text.c_str(), static_cast<int>(label.text.size())) + 0.5);
}

void draw_menu_text(const MenuLabel& label, int x, int baseline) {
    fl_draw(label.text.c_str(), static_cast<int>(label.text.size()), x, baseline);
    if (label.mnemonic_begin >= 0) {
        int u0 = x + static_cast<int>(fl_width(label.text.c_str(), label.mnemonic_begin));
        int u1 = x + static_cast<int>(fl_width(label.text.c_str(), label.mnemonic_end));
        fl_xyline(u0, baseline + 1, std::max(u0, u1 - 1));
    }
}

MenuPopup::MenuPopup(const std::vector<MenuItem>& items, Fl_Font font, int font_size, int x, int y)
    : Fl_Menu_Window(x, y, 1, 1), items_(items), font_(font), size_(font_size) {
    end();
    set_override();
    clear_border();
    box(FL_NO_BOX);
    fl_font(font_, size_);
    std::vector<MenuItemWidths> widths;
    for (const MenuItem& item : items_) {
        MenuLabel label = parse_menu_label(item.text);
        widths.push_back({menu_text_width(label),
                          static_cast<int>(fl_width(label.hint.c_str(), static_cast<int>(label.hint.size())) + 0.5),
                          label.has_hint});
        labels_.push_back(std::move(label));
    }
    columns_ = menu_columns(widths, spacing);
    size(columns_.width, item_top(static_cast<int>(items_.size())) + spacing.border);
}

int MenuPopup::item_top(int index) const { return spacing.border + index * menu_item_height; }

int MenuPopup::item_at(int x_root, int y_root) const {
    int px = x_root - x(), py = y_root - y() - spacing.border;
    if (px < spacing.border || px >= w() - spacing.border || py < 0) return -1;
    int i = py / menu_item_height;
    return i < static_cast<int>(items_.size()) ? i : -1;
}

void MenuPopup::highlight(int index) {
    if (index == highlighted_) return;
    highlighted_ = index;
    redraw();
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

    fl_font(font_, size_);
    for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
        int top = item_top(i);
        bool lit = i == highlighted_;
        if (lit) {
            fl_color(menu_highlight_colour());
            fl_rectf(spacing.border, top, W - 2 * spacing.border, menu_item_height);
        }
        fl_color(lit ? menu_highlight_text_colour : FL_BLACK);
        int baseline = top + (menu_item_height - fl_height()) / 2 + fl_height() - fl_descent();
        const MenuLabel& label = labels_[i];
        draw_menu_text(label, columns_.text_x, baseline);
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

}  // namespace layer::fltk
