#include "res_file.h"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace {

constexpr uint16_t kTypeMenu = 4, kTypeDialog = 5, kTypeGroupIcon = 14;
constexpr uint16_t kMfPopup = 0x10, kMfEnd = 0x80;
constexpr uint32_t kMenuOptionMask = 0x0001 | 0x0002 | 0x0008 | 0x0020 | 0x0040 | 0x4000;
constexpr uint32_t kDsSetFont = 0x40;

class Reader {
public:
    Reader(std::string_view bytes, size_t pos, size_t end) : b_(bytes), pos_(pos), end_(end) {}

    size_t pos() const { return pos_; }
    bool done() const { return pos_ >= end_; }
    void align4(size_t base) { pos_ = base + ((pos_ - base + 3) & ~size_t(3)); }

    uint8_t u8() {
        need(1);
        return static_cast<uint8_t>(b_[pos_++]);
    }
    uint16_t u16() {
        uint16_t lo = u8();
        return static_cast<uint16_t>(lo | (u8() << 8));
    }
    uint32_t u32() {
        uint32_t lo = u16();
        return lo | (uint32_t(u16()) << 16);
    }
    int16_t i16() { return static_cast<int16_t>(u16()); }

    // A zero-terminated UTF-16 string, as UTF-8.
    std::string text() {
        std::string out;
        for (;;) {
            uint32_t c = u16();
            if (c == 0) return out;
            if (c >= 0xD800 && c <= 0xDBFF) c = 0x10000 + ((c - 0xD800) << 10) + (u16() - 0xDC00);
            if (c < 0x80) {
                out += char(c);
            } else if (c < 0x800) {
                out += char(0xC0 | (c >> 6));
                out += char(0x80 | (c & 0x3F));
            } else if (c < 0x10000) {
                out += char(0xE0 | (c >> 12));
                out += char(0x80 | ((c >> 6) & 0x3F));
                out += char(0x80 | (c & 0x3F));
            } else {
                out += char(0xF0 | (c >> 18));
                out += char(0x80 | ((c >> 12) & 0x3F));
                out += char(0x80 | ((c >> 6) & 0x3F));
                out += char(0x80 | (c & 0x3F));
            }
        }
    }

    // A name or an ordinal (0xFFFF followed by the number).
    layer::ResourceName name_or_ordinal() {
        layer::ResourceName n;
        need(2);
        if (static_cast<uint8_t>(b_[pos_]) == 0xFF && static_cast<uint8_t>(b_[pos_ + 1]) == 0xFF) {
            pos_ += 2;
            n.is_id = true;
            n.id = u16();
        } else {
            n.text = text();
        }
        return n;
    }

private:
    void need(size_t n) const {
        if (pos_ + n > end_) throw std::runtime_error("resource file truncated");
    }
    std::string_view b_;
    size_t pos_;
    size_t end_;
};

void read_menu_items(Reader& r, std::vector<layer::MenuItem>& items) {
    for (;;) {
        layer::MenuItem item;
        uint16_t flags = r.u16();
        item.options = flags & kMenuOptionMask;
        if (flags & kMfPopup) {
            item.popup = true;
            item.text = r.text();
            read_menu_items(r, item.items);
        } else {
            item.id = r.u16();
            item.text = r.text();
            item.separator = item.text.empty() && item.id == 0;
        }
        items.push_back(std::move(item));
        if (flags & kMfEnd) return;
    }
}

std::string class_of(const layer::ResourceName& n) {
    if (!n.is_id) return n.text;
    static const char* const names[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
    if (n.id >= 0x80 && n.id <= 0x85) return names[n.id - 0x80];
    return "#" + std::to_string(n.id);
}

layer::DialogTemplate read_dialog(Reader& r, size_t base) {
    layer::DialogTemplate d;
    uint16_t version = r.u16();
    uint16_t signature = r.u16();
    d.extended = version == 1 && signature == 0xFFFF;
    uint16_t count;
    if (d.extended) {
        d.help_id = r.u32();
        d.exstyle = r.u32();
        d.style = r.u32();
    } else {
        d.style = version | (uint32_t(signature) << 16);
        d.exstyle = r.u32();
    }
    count = r.u16();
    d.x = r.i16();
    d.y = r.i16();
    d.cx = r.i16();
    d.cy = r.i16();
    layer::ResourceName menu = r.name_or_ordinal();
    layer::ResourceName window_class = r.name_or_ordinal();
    if (menu.is_id || !menu.text.empty() || window_class.is_id || !window_class.text.empty())
        throw std::runtime_error("dialog menus and classes are not expected");
    d.caption = r.text();
    if (d.style & kDsSetFont) {
        d.font_size = r.u16();
        if (d.extended) {
            d.font_weight = r.u16();
            d.font_italic = r.u8() != 0;
            d.font_charset = r.u8();
        }
        d.font = r.text();
    }
    for (uint16_t k = 0; k < count; ++k) {
        r.align4(base);
        layer::DialogControl c;
        if (d.extended) {
            c.help_id = r.u32();
            c.exstyle = r.u32();
            c.style = r.u32();
        } else {
            c.style = r.u32();
            c.exstyle = r.u32();
        }
        c.x = r.i16();
        c.y = r.i16();
        c.cx = r.i16();
        c.cy = r.i16();
        c.id = d.extended ? static_cast<int>(r.u32()) : r.u16();
        c.window_class = class_of(r.name_or_ordinal());
        layer::ResourceName title = r.name_or_ordinal();
        c.text = title.is_id ? "#" + std::to_string(title.id) : title.text;
        uint16_t extra = r.u16();
        for (uint16_t e = 0; e < extra; ++e) r.u8();
        d.controls.push_back(std::move(c));
    }
    return d;
}

}  // namespace

layer::Resources read_res_file(std::string_view bytes) {
    layer::Resources res;
    size_t pos = 0;
    while (pos + 8 <= bytes.size()) {
        Reader h(bytes, pos, bytes.size());
        uint32_t data_size = h.u32();
        uint32_t header_size = h.u32();
        layer::ResourceName type = h.name_or_ordinal();
        layer::ResourceName name = h.name_or_ordinal();
        size_t data = pos + header_size;
        if (data + data_size > bytes.size()) throw std::runtime_error("resource data beyond the end of the file");
        Reader r(bytes, data, data + data_size);
        if (type.is_id && type.id == kTypeMenu) {
            layer::Menu m;
            m.name = name;
            r.u16();  // version
            r.u16();  // header size
            read_menu_items(r, m.items);
            res.menus.push_back(std::move(m));
        } else if (type.is_id && type.id == kTypeDialog) {
            layer::DialogTemplate d = read_dialog(r, data);
            d.name = name;
            res.dialogs.push_back(std::move(d));
        } else if (type.is_id && type.id == kTypeGroupIcon) {
            res.icons.push_back({name, "", 0});
        }
        pos = (data + data_size + 3) & ~size_t(3);
    }
    return res;
}
