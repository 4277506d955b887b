// The resource reader of the Linux layer: reads a compiled resource file
// (.res, as windres writes it from resources/quimbar.rc) into menus, dialog
// templates and icons, from the binary formats Win32's USER reads: the menu
// template (MENUITEMTEMPLATEHEADER and its items), DLGTEMPLATE and
// DLGTEMPLATEEX with their items, RT_GROUP_ICON with its RT_ICON images.
// Other resource types (the version resource among them) are skipped.
// UTF-16 texts become UTF-8.
#ifndef QUIMBAR_LAYER_RES_READER_H
#define QUIMBAR_LAYER_RES_READER_H

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace layer {

// A malformed or truncated resource file. what() reads
// "resource file, byte N: message"; `offset` is N.
struct ResError : std::runtime_error {
    ResError(size_t offset, const std::string& message);
    size_t offset;
};

// A resource's name: an integer id or a string (upper-cased by the resource
// compiler).
struct ResourceName {
    bool is_id = false;
    uint16_t id = 0;
    std::string text;

    // Win32 lookup: `name` is either MAKEINTRESOURCE(id) or a string,
    // compared without regard to case; "#123" stands for id 123. Null never matches.
    bool matches(const char* name) const;
};

struct MenuItem {
    std::string text;   // UTF-8 with '&' mnemonics and '\t' hint separators as written
    int id = 0;         // WM_COMMAND id (0..65535); 0 for popups and separators
    bool popup = false;
    bool separator = false;
    std::vector<MenuItem> items;  // a popup's items, in order
};

struct Menu {
    ResourceName name;
    std::vector<MenuItem> items;  // the menu bar's entries, in order
};

struct DialogControl {
    std::string window_class;  // "Button", "Edit", "Static", "ListBox", "ScrollBar",
                               // "ComboBox", or the class name as written
    std::string text;          // initial text; "#n" for an ordinal
    int id = 0;
    int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    uint32_t style = 0;
    uint32_t exstyle = 0;
};

struct DialogTemplate {
    ResourceName name;
    bool extended = false;  // DLGTEMPLATEEX
    int x = 0, y = 0, cx = 0, cy = 0;
    uint32_t style = 0;
    uint32_t exstyle = 0;
    std::string caption;
    std::string font;        // empty without DS_SETFONT
    int font_size = 0;
    std::vector<DialogControl> controls;  // template order = tab order
};

// One image of an icon group, as its RT_ICON resource holds it: a PNG file or
// a DIB without file header.
struct IconImage {
    int width = 0;  // 256 when the directory says 0
    int height = 0;
    uint16_t id = 0;        // of the RT_ICON resource that holds it
    std::string_view data;  // a view into the bytes read
    bool png = false;       // data starts with the PNG signature
};

struct IconResource {
    ResourceName name;
    std::vector<IconImage> images;  // in directory order
};

struct Resources {
    std::vector<Menu> menus;
    std::vector<DialogTemplate> dialogs;
    std::vector<IconResource> icons;

    // Null when no resource of the kind bears the name (see ResourceName::matches).
    const Menu* find_menu(const char* name) const { return find(menus, name); }
    const DialogTemplate* find_dialog(const char* name) const { return find(dialogs, name); }
    const IconResource* find_icon(const char* name) const { return find(icons, name); }

private:
    template <class T>
    static const T* find(const std::vector<T>& list, const char* name) {
        for (const T& r : list)
            if (r.name.matches(name)) return &r;
        return nullptr;
    }
};

// Reads a compiled resource file. The icon images view `bytes`, which must
// outlive the result. Throws ResError.
Resources read_res(std::string_view bytes);

}  // namespace layer

#endif
