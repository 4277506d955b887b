// The resource reader of the Linux layer: parses a resource script (.rc)
// into menus, dialog templates and icons, as the Win32 resource compiler
// would build them, so the layer can create the program's menu bar and
// dialogs from the very file the Windows build compiles.
//
// Supported input (everything else is rejected with a clear RcError):
// - preprocessing: #include "file" (through the caller's resolver; files
//   named *.h or *.c contribute only their directives, as with the Win32
//   resource compiler), #include <file> (not read; <windows.h>, <winres.h>,
//   <winresrc.h>, <winuser.h> and <afxres.h> make the Win32 constants of the
//   built-in table available), object-like #define/#undef, #ifdef, #ifndef,
//   #if, #elif, #else, #endif, #error, #pragma code_page(65001) and
//   #pragma once; RC_INVOKED and _WIN32 are predefined; // and /* */ comments;
// - LANGUAGE at top level (ignored), memory options (MOVEABLE, PURE, ...);
// - name ICON "file";
// - name MENU with POPUP, MENUITEM "text", id [options], MENUITEM SEPARATOR;
//   options CHECKED, GRAYED, INACTIVE, MENUBREAK, MENUBARBREAK, HELP;
// - name DIALOG / DIALOGEX x, y, cx, cy [, helpid] with STYLE, EXSTYLE,
//   CAPTION, FONT, LANGUAGE, CHARACTERISTICS, VERSION, and the controls
//   CONTROL, PUSHBUTTON, DEFPUSHBUTTON, LTEXT, CTEXT, RTEXT, EDITTEXT,
//   GROUPBOX, CHECKBOX, AUTOCHECKBOX, RADIOBUTTON, AUTORADIOBUTTON, with the
//   default styles GNU windres gives them (the Windows build's compiler);
// - expressions of decimal and hex numbers (optional L/U suffixes), symbols,
//   + - * / | & ~ and parentheses; in STYLE/EXSTYLE and control styles also
//   "NOT x", which clears x from the styles gathered so far (defaults included);
// - strings "..." or L"..." with \t \n \r \a \\ \" \xhh, octal escapes and
//   "" for a quote; the text is kept as UTF-8 and must be valid UTF-8.
#ifndef QUIMBAR_LAYER_RC_READER_H
#define QUIMBAR_LAYER_RC_READER_H

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace layer {

// A malformed script: the file and 1-based line of the fault. what() reads
// "file:line: error: message".
struct RcError : std::runtime_error {
    RcError(std::string file, int line, std::string message);
    std::string file;
    int line;
    std::string message;
};

// A resource's name: an integer id or a string (kept upper-cased, as the
// resource compiler stores it).
struct ResourceName {
    bool is_id = false;
    uint16_t id = 0;
    std::string text;

    // Win32 lookup: `name` is either MAKEINTRESOURCE(id) or a string,
    // compared without regard to case; "#123" stands for id 123. Null never matches.
    bool matches(const char* name) const;
    // "102" or "UNSERMENU", for messages.
    std::string display() const;
};

// Menu item option bits, with the values of the Win32 MF_* flags.
enum MenuOption : uint32_t {
    menu_grayed = 0x0001,
    menu_inactive = 0x0002,
    menu_checked = 0x0008,
    menu_barbreak = 0x0020,
    menu_break = 0x0040,
    menu_help = 0x4000,
};

struct MenuItem {
    std::string text;   // UTF-8 with '&' mnemonics and '\t' hint separators as written
    int id = 0;         // WM_COMMAND id (0..65535); 0 for popups and separators
    bool popup = false;
    bool separator = false;
    uint32_t options = 0;         // MenuOption bits
    std::vector<MenuItem> items;  // a popup's items, in order
    int line = 0;                 // where the item stands in its file
};

struct Menu {
    ResourceName name;
    std::vector<MenuItem> items;  // the menu bar's entries, in order
};

struct DialogControl {
    std::string window_class;  // "Button", "Edit", "Static", "ListBox", "ScrollBar",
                               // "ComboBox", or another class name as written
    std::string text;          // initial text
    int id = 0;
    int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    uint32_t style = 0;                // defaults of the statement included
    uint32_t exstyle = 0;
    uint32_t help_id = 0;
    int line = 0;
};

struct DialogTemplate {
    ResourceName name;
    bool extended = false;  // DIALOGEX
    int x = 0, y = 0, cx = 0, cy = 0;
    uint32_t style = 0;  // includes WS_CAPTION with CAPTION and DS_SETFONT with FONT
    uint32_t exstyle = 0;
    uint32_t help_id = 0;
    std::string caption;
    std::string font;        // empty without FONT
    int font_size = 0;
    int font_weight = 0;     // DIALOGEX only
    bool font_italic = false;
    int font_charset = 1;    // DEFAULT_CHARSET unless given
    std::vector<DialogControl> controls;  // template order = tab order
};

struct IconResource {
    ResourceName name;
    std::string file;  // as written in the script
    int line = 0;
};

struct Resources {
    std::vector<Menu> menus;
    std::vector<DialogTemplate> dialogs;
    std::vector<IconResource> icons;

    // Null when no resource of the kind bears the name (see ResourceName::matches).
    const Menu* find_menu(const char* name) const;
    const DialogTemplate* find_dialog(const char* name) const;
    const IconResource* find_icon(const char* name) const;
};

// Supplies the text of a file named in #include "name"; nullopt if there is none.
using IncludeResolver = std::function<std::optional<std::string>(std::string_view name)>;

// Parses a resource script. `file_name` names it in errors. Throws RcError.
Resources parse_rc(std::string_view text, std::string_view file_name, const IncludeResolver& resolve = {});

// The value of a Win32 constant of the built-in table (WS_CHILD, BS_CENTER,
// IDOK, ...), or nullopt if the table has no such name.
std::optional<uint32_t> win32_constant(std::string_view name);

}  // namespace layer

#endif
