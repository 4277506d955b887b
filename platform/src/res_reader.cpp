// Resource file reader (see res_reader.h). Every read goes through Cursor,
// which checks it against the end of the part being read, so a cut file or
// a bogus size or count ends in a ResError, never in a read out of bounds.
#include "res_reader.h"

#include <strings.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <utility>

namespace layer {

ResError::ResError(size_t offset_, const std::string& message)
    : std::runtime_error("resource file, byte " + std::to_string(offset_) + ": " + message), offset(offset_) {}

namespace {

constexpr uint16_t RT_ICON_ = 3, RT_MENU_ = 4, RT_DIALOG_ = 5, RT_GROUP_ICON_ = 14;
constexpr uint16_t MF_POPUP_ = 0x0010, MF_END_ = 0x0080, MF_SEPARATOR_ = 0x0800;
constexpr uint32_t DS_SETFONT_ = 0x40;
constexpr int kMaxMenuDepth = 16;

// Reads little-endian values from bytes [pos, end) of a file; offsets in
// errors count from the start of the file.
class Cursor {
public:
    Cursor(std::string_view file, size_t pos, size_t end) : file_(file), pos_(pos), end_(end) {}

    size_t pos() const { return pos_; }
    bool at_end() const { return pos_ >= end_; }
    [[noreturn]] void fail(const std::string& message) const { throw ResError(pos_, message); }

    // Skips to the next multiple of 4 counted from `base`.
    void align4(size_t base) { skip((4 - (pos_ - base) % 4) % 4); }
    void skip(size_t n) {
        need(n);
        pos_ += n;
    }
    std::string_view bytes(size_t n) {
        need(n);
        pos_ += n;
        return file_.substr(pos_ - n, n);
    }
    uint8_t u8() {
        need(1);
        return static_cast<uint8_t>(file_[pos_++]);
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

    // A zero-terminated UTF-16 string, as UTF-8; an unpaired surrogate becomes U+FFFD.
    std::string text() {
        std::string out;
        for (uint32_t c = u16(); c != 0; c = u16()) {
            if (c >= 0xD800 && c <= 0xDBFF && pos_ + 2 <= end_) {
                uint32_t low = uint8_t(file_[pos_]) | (uint8_t(file_[pos_ + 1]) << 8);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    pos_ += 2;
                    c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                }
            }
            if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
            append_utf8(out, c);
        }
        return out;
    }

    // sz_Or_Ord: 0xFFFF and a number, or a string (empty for "none").
    ResourceName name_or_ordinal() {
        ResourceName n;
        need(2);
        if (uint8_t(file_[pos_]) == 0xFF && uint8_t(file_[pos_ + 1]) == 0xFF) {
            pos_ += 2;
            n.is_id = true;
            n.id = u16();
        } else {
            n.text = text();
        }
        return n;
    }

private:
    static void append_utf8(std::string& out, uint32_t c) {
        if (c < 0x80) {
            out += char(c);
            return;
        }
        int extra = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        out += char(((0xFF00 >> (extra + 1)) & 0xFF) | (c >> (6 * extra)));
        for (int k = extra - 1; k >= 0; --k) out += char(0x80 | ((c >> (6 * k)) & 0x3F));
    }
    void need(size_t n) const {
        if (n > end_ - pos_) fail(pos_ >= file_.size() ? "the file ends early" : "the resource ends early");
    }

    std::string_view file_;
    size_t pos_;
    size_t end_;
};

// The items of a menu template, up to and including the one marked MF_END.
void read_menu_items(Cursor& c, std::vector<MenuItem>& items, int depth) {
    if (depth > kMaxMenuDepth) c.fail("menus nested too deeply");
    for (;;) {
        MenuItem item;
        uint16_t flags = c.u16();
        item.popup = (flags & MF_POPUP_) != 0;
        if (!item.popup) item.id = c.u16();
        item.text = c.text();
        if (item.popup)
            read_menu_items(c, item.items, depth + 1);
        else
            item.separator = (flags & MF_SEPARATOR_) || (item.id == 0 && item.text.empty());
        items.push_back(std::move(item));
        if (flags & MF_END_) return;
    }
}

Menu read_menu(Cursor& c) {
    if (c.u16() != 0) c.fail("only the plain menu template (version 0) is read");
    uint16_t offset = c.u16();
    c.skip(offset);
    Menu m;
    if (!c.at_end()) read_menu_items(c, m.items, 0);
    return m;
}

// A control's window class: the predefined classes (ordinals 0x80..0x85, or
// their names in any case, which windres writes upper-cased) spelled as
// Win32 registers them.
std::string class_name(const ResourceName& n) {
    static const char* const predefined[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
    if (n.is_id) return n.id >= 0x80 && n.id <= 0x85 ? predefined[n.id - 0x80] : "#" + std::to_string(n.id);
    for (const char* name : predefined)
        if (strcasecmp(n.text.c_str(), name) == 0) return name;
    return n.text;
}

DialogTemplate read_dialog(Cursor& c) {
    size_t base = c.pos();
    DialogTemplate d;
    uint16_t version = c.u16();
    uint16_t signature = c.u16();
    d.extended = version == 1 && signature == 0xFFFF;
    if (d.extended) {
        c.skip(4);  // help id
        d.exstyle = c.u32();
        d.style = c.u32();
    } else {
        d.style = version | (uint32_t(signature) << 16);
        d.exstyle = c.u32();
    }
    uint16_t count = c.u16();
    d.x = c.i16();
    d.y = c.i16();
    d.cx = c.i16();
    d.cy = c.i16();
    ResourceName menu = c.name_or_ordinal();
    ResourceName window_class = c.name_or_ordinal();
    if (menu.is_id || !menu.text.empty() || window_class.is_id || !window_class.text.empty())
        c.fail("dialogs with a menu or their own window class are not supported");
    d.caption = c.text();
    if (d.style & DS_SETFONT_) {
        d.font_size = c.u16();
        if (d.extended) c.skip(4);  // weight, italic, character set
        d.font = c.text();
    }
    for (uint16_t k = 0; k < count; ++k) {
        c.align4(base);
        DialogControl control;
        if (d.extended) c.skip(4);  // help id
        uint32_t first = c.u32(), second = c.u32();  // DLGITEMTEMPLATEEX has them the other way round
        control.style = d.extended ? second : first;
        control.exstyle = d.extended ? first : second;
        control.x = c.i16();
        control.y = c.i16();
        control.cx = c.i16();
        control.cy = c.i16();
        control.id = d.extended ? static_cast<int>(c.u32()) : c.u16();
        control.window_class = class_name(c.name_or_ordinal());
        ResourceName title = c.name_or_ordinal();
        control.text = title.is_id ? "#" + std::to_string(title.id) : title.text;
        c.skip(c.u16());  // creation data
        d.controls.push_back(std::move(control));
    }
    return d;
}

// A GRPICONDIR: the images with their RT_ICON ids; their data once all is read.
IconResource read_icon_group(Cursor& c) {
    if (c.u16() != 0 || c.u16() != 1) c.fail("not an icon group");
    IconResource icon;
    for (uint16_t k = 0, count = c.u16(); k < count; ++k) {
        IconImage image;
        uint8_t w = c.u8(), h = c.u8();
        image.width = w ? w : 256;
        image.height = h ? h : 256;
        c.skip(10);  // colour count, reserved, planes, bits per pixel, size
        image.id = c.u16();
        icon.images.push_back(image);
    }
    return icon;
}

}  // namespace

bool ResourceName::matches(const char* name) const {
    if (!name) return false;
    uintptr_t p = reinterpret_cast<uintptr_t>(name);
    if ((p >> 16) == 0) return is_id && id == static_cast<uint16_t>(p);
    if (name[0] == '#') {
        char* end = nullptr;
        unsigned long v = std::strtoul(name + 1, &end, 10);
        return name[1] >= '0' && name[1] <= '9' && *end == '\0' && v <= 0xFFFF && is_id && id == v;
    }
    return !is_id && strcasecmp(text.c_str(), name) == 0;
}

Resources read_res(std::string_view bytes) {
    Resources res;
    std::map<uint16_t, std::string_view> icon_images;  // RT_ICON id -> data
    Cursor file(bytes, 0, bytes.size());
    while (!file.at_end()) {
        // RESOURCEHEADER: sizes, type, name, then fixed fields up to HeaderSize.
        size_t start = file.pos();
        uint32_t data_size = file.u32();
        uint32_t header_size = file.u32();
        if (header_size < 16 || header_size > bytes.size() - start) file.fail("bad resource header size");
        Cursor header(bytes, file.pos(), start + header_size);
        ResourceName type = header.name_or_ordinal();
        ResourceName name = header.name_or_ordinal();
        file.skip(header_size - 8);
        size_t data_start = file.pos();
        file.skip(data_size);
        Cursor data(bytes, data_start, file.pos());
        if (type.is_id && type.id == RT_MENU_) {
            res.menus.push_back(read_menu(data));
            res.menus.back().name = std::move(name);
        } else if (type.is_id && type.id == RT_DIALOG_) {
            res.dialogs.push_back(read_dialog(data));
            res.dialogs.back().name = std::move(name);
        } else if (type.is_id && type.id == RT_GROUP_ICON_) {
            res.icons.push_back(read_icon_group(data));
            res.icons.back().name = std::move(name);
        } else if (type.is_id && type.id == RT_ICON_ && name.is_id) {
            icon_images[name.id] = data.bytes(data_size);
        }
        // Each resource starts on a 4-byte boundary; the file may end in the padding.
        size_t end = file.pos();
        file.skip(std::min((4 - (end - start) % 4) % 4, bytes.size() - end));
    }
    static const char png_signature[8] = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1A', '\n'};
    for (IconResource& icon : res.icons) {
        for (IconImage& image : icon.images) {
            auto found = icon_images.find(image.id);
            if (found == icon_images.end())
                throw ResError(bytes.size(), "icon image " + std::to_string(image.id) + " is missing");
            image.data = found->second;
            image.png = image.data.size() >= 8 && std::memcmp(image.data.data(), png_signature, 8) == 0;
        }
    }
    return res;
}

}  // namespace layer
