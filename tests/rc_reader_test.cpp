// The resource reader: the program's menu and dialog templates as the
// program needs them, agreement with GNU windres (the Windows build's
// resource compiler) where it is installed, and malformed scripts.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "embedded_resources.h"
#include "rc_reader.h"
#include "res_file.h"
#include "resource.h"

namespace {

using layer::DialogControl;
using layer::DialogTemplate;
using layer::MenuItem;
using layer::RcError;
using layer::Resources;

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// ---------------------------------------------------------------------------
// The program's menu bar

struct ExpectedItem {
    const char* text;
    int id;  // 0 for a popup
    std::vector<ExpectedItem> items;
};

const std::vector<ExpectedItem> kMenuBar = {
    {"&Datei", 0, {{"B&eenden\tALT+Q", 203, {}}}},
    {"&Zeichnung",
     0,
     {{"&Mandelbrot", 204, {}},
      {"&JuliaMenge...", 205, {}},
      {"Julia&Sin...", 206, {}},
      {"Julia&Cos...", 208, {}},
      {"Julia&Kub...", 51682, {}}}},
    {"&Bearbeiten",
     0,
     {{"ver&größern\t+",
       0,
       {{"x&2", 51684, {}}, {"x&3", 51688, {}}, {"x&5", 51691, {}}}},
      {"ver&kleinern\t -", 0, {{"x&2", 51687, {}}, {"x&3", 51689, {}}, {"x&5", 51690, {}}}},
      {"nach &links verschieben\tPfeil-rechts", 51685, {}},
      {"nach &rechts verschieben\tPfeil-links", 51686, {}},
      {"nach &oben verschieben\tPfeil-oben", 51683, {}},
      {"nach &unten verschieben\tPfeil-unten", 51692, {}}}},
    {"&Info", 0, {{"&Info...", 207, {}}}},
};

void expect_items(const std::vector<MenuItem>& actual, const std::vector<ExpectedItem>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t k = 0; k < expected.size(); ++k) {
        const MenuItem& a = actual[k];
        const ExpectedItem& e = expected[k];
        SCOPED_TRACE(e.text);
        EXPECT_EQ(a.text, e.text);
        EXPECT_EQ(a.popup, e.id == 0);
        EXPECT_EQ(a.id, e.id);
        EXPECT_FALSE(a.separator);
        EXPECT_EQ(a.options, 0u) << "no item is checked, greyed or breaks the menu";
        expect_items(a.items, e.items);
    }
}

TEST(ProgramMenu, EveryLabelAndIdInOrder) {
    const layer::Menu* menu = layer::program_resources().find_menu("UNSERMENU");
    ASSERT_NE(menu, nullptr);
    expect_items(menu->items, kMenuBar);
}

TEST(ProgramMenu, IsFoundLikeWin32AndIsTheOnlyMenu) {
    const Resources& res = layer::program_resources();
    EXPECT_EQ(res.menus.size(), 1u);
    EXPECT_NE(res.find_menu("unsermenu"), nullptr) << "string names compare without case";
    EXPECT_EQ(res.find_menu("UNSERMENU2"), nullptr);
    EXPECT_EQ(res.find_menu(MAKEINTRESOURCEA(1)), nullptr);
    EXPECT_EQ(res.find_menu(nullptr), nullptr);
}

// Both zoom submenus hold an "x&2": the ids, not the labels, tell them apart.
TEST(ProgramMenu, TheTwoX2ItemsSendDifferentCommands) {
    const layer::Menu* menu = layer::program_resources().find_menu("UNSERMENU");
    ASSERT_NE(menu, nullptr);
    ASSERT_GE(menu->items.size(), 3u);
    const auto& edit = menu->items[2].items;
    ASSERT_GE(edit.size(), 2u);
    ASSERT_FALSE(edit[0].items.empty());
    ASSERT_FALSE(edit[1].items.empty());
    EXPECT_EQ(edit[0].items[0].text, edit[1].items[0].text);
    EXPECT_EQ(edit[0].items[0].id, IDM_VERGR_2);
    EXPECT_EQ(edit[1].items[0].id, IDM_VERKL_2);
    EXPECT_NE(IDM_VERGR_2, IDM_VERKL_2);
}

// The program's code uses these symbols; they must carry the command ids the
// menu sends, and 209, which no item carries.
TEST(ProgramMenu, CommandSymbolsMatchTheIds) {
    const std::pair<int, int> ids[] = {
        {IDM_BEENDEN, 203},      {IDM_MANDELBROT, 204},  {IDM_JULIAMENGE, 205},   {IDM_JULIASIN, 206},
        {IDM_INFO, 207},         {IDM_JULIACOS, 208},    {IDM_JULIASINX, 209},    {IDM_JULIAKUB, 51682},
        {IDM_NACH_OBEN, 51683},  {IDM_VERGR_2, 51684},   {IDM_NACH_LINKS, 51685}, {IDM_NACH_RECHTS, 51686},
        {IDM_VERKL_2, 51687},    {IDM_VERGR_3, 51688},   {IDM_VERKL_3, 51689},    {IDM_VERKL_5, 51690},
        {IDM_VERGR_5, 51691},    {IDM_NACH_UNTEN, 51692}};
    for (auto [symbol, id] : ids) EXPECT_EQ(symbol, id);

    std::vector<int> carried;
    std::function<void(const std::vector<MenuItem>&)> collect = [&](const std::vector<MenuItem>& items) {
        for (const MenuItem& i : items) i.popup ? collect(i.items) : carried.push_back(i.id);
    };
    collect(layer::program_resources().find_menu("UNSERMENU")->items);
    EXPECT_EQ(std::count(carried.begin(), carried.end(), IDM_JULIASINX), 0);
    std::sort(carried.begin(), carried.end());
    EXPECT_EQ(std::adjacent_find(carried.begin(), carried.end()), carried.end()) << "ids are unique";
}

// ---------------------------------------------------------------------------
// The program's dialog templates

constexpr uint32_t kDialogStyle = DS_SETFONT | DS_MODALFRAME | DS_3DLOOK | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
constexpr uint32_t kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER;
constexpr uint32_t kEdit = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_LEFT;
constexpr uint32_t kLabel = WS_CHILD | WS_VISIBLE | SS_LEFT;

struct ExpectedControl {
    const char* window_class;
    const char* text;
    int id;
    int x, y, cx, cy;
    uint32_t style;
};

struct ExpectedDialog {
    int id;
    const char* caption;
    int cx, cy;
    int font_size;
    std::vector<ExpectedControl> controls;
};

const char* const kImag = "Imaginärteil";

const ExpectedDialog kDialogs[] = {
    {102, "WerteEingabe", 265, 106, 8,
     {{"Button", "OK", 1, 176, 6, 50, 14, kButton},
      {"Button", "Abbruch", 2, 176, 26, 50, 14, kButton},
      {"Edit", "0.7", 101, 44, 26, 36, 13, kEdit},
      {"Edit", "0.8", 102, 44, 65, 36, 13, kEdit},
      {"Static", kImag, -1, 44, 47, 36, 9, kLabel},
      {"Static", "Realteil", -1, 44, 9, 36, 9, kLabel}}},
    {104, "WerteEingabe", 265, 106, 8,
     {{"Button", "OK", 1, 176, 6, 50, 14, kButton},
      {"Button", "Abbruch", 2, 176, 26, 50, 14, kButton},
      {"Edit", "0", 101, 44, 26, 36, 13, kEdit},
      {"Edit", "0", 102, 44, 65, 36, 13, kEdit},
      {"Static", "Imaginärteil1", -1, 44, 47, 40, 9, kLabel},
      {"Static", "Realteil1", -1, 44, 9, 36, 9, kLabel},
      {"Edit", "-0.574", 103, 88, 26, 36, 13, kEdit},
      {"Edit", "0.271", 104, 88, 65, 36, 13, kEdit},
      {"Static", "Realteil2", -1, 88, 9, 39, 9, kLabel},
      {"Static", "Imaginärteil2", -1, 88, 47, 43, 9, kLabel}}},
    {105, "WerteEingabe", 265, 106, 8,
     {{"Button", "OK", 1, 176, 6, 50, 14, kButton},
      {"Button", "Abbruch", 2, 176, 26, 50, 14, kButton},
      {"Edit", "0.313", 101, 44, 26, 36, 13, kEdit},
      {"Edit", "0.4172", 102, 44, 65, 36, 13, kEdit},
      {"Static", kImag, -1, 44, 47, 36, 9, kLabel},
      {"Static", "Realteil", -1, 44, 9, 36, 9, kLabel}}},
    {103, "Info", 119, 59, 10,
     {{"Button", "OK", 1, 40, 32, 40, 14, kButton},
      {"Static", "Version 1.2, Nov 2002", -1, 28, 4, 110, 10, kLabel | WS_GROUP},
      {"Static", nullptr /* credit line: any text */, -1, 24, 16, 80, 8, kLabel}}},
};

TEST(ProgramDialogs, EveryTemplateAndControlInTemplateOrder) {
    const Resources& res = layer::program_resources();
    EXPECT_EQ(res.dialogs.size(), 4u);
    for (const ExpectedDialog& e : kDialogs) {
        SCOPED_TRACE("dialog " + std::to_string(e.id));
        const DialogTemplate* d = res.find_dialog(MAKEINTRESOURCEA(e.id));
        ASSERT_NE(d, nullptr);
        EXPECT_TRUE(d->extended);
        EXPECT_EQ(d->x, 0);
        EXPECT_EQ(d->y, 0);
        EXPECT_EQ(d->cx, e.cx);
        EXPECT_EQ(d->cy, e.cy);
        EXPECT_EQ(d->style, kDialogStyle) << std::hex << d->style;
        EXPECT_EQ(d->exstyle, static_cast<uint32_t>(WS_EX_DLGMODALFRAME));
        EXPECT_EQ(d->caption, e.caption);
        EXPECT_EQ(d->font, "MS Sans Serif");
        EXPECT_EQ(d->font_size, e.font_size);
        ASSERT_EQ(d->controls.size(), e.controls.size());
        for (size_t k = 0; k < e.controls.size(); ++k) {
            const DialogControl& c = d->controls[k];
            const ExpectedControl& x = e.controls[k];
            SCOPED_TRACE("control " + std::to_string(k));
            EXPECT_EQ(c.window_class, x.window_class);
            if (x.text)
                EXPECT_EQ(c.text, x.text);
            else
                EXPECT_FALSE(c.text.empty());
            EXPECT_EQ(c.id, x.id);
            EXPECT_EQ(c.x, x.x);
            EXPECT_EQ(c.y, x.y);
            EXPECT_EQ(c.cx, x.cx);
            EXPECT_EQ(c.cy, x.cy);
            EXPECT_EQ(c.style, x.style) << std::hex << c.style;
            EXPECT_EQ(c.exstyle, 0u);
        }
    }
}

TEST(ProgramDialogs, SymbolsOfTheCodeMatchTheTemplates) {
    const Resources& res = layer::program_resources();
    const std::pair<int, const char*> dialogs[] = {
        {IDD_INFO, "#102"}, {IDD_INFO2, "#103"}, {IDD_INFO3, "#104"}, {IDD_INFO4, "#105"}};
    for (auto [symbol, name] : dialogs) EXPECT_EQ(res.find_dialog(MAKEINTRESOURCEA(symbol)), res.find_dialog(name));
    const DialogTemplate* cubic = res.find_dialog(MAKEINTRESOURCEA(IDD_INFO3));
    ASSERT_NE(cubic, nullptr);
    std::vector<int> fields;
    for (const DialogControl& c : cubic->controls)
        if (c.window_class == "Edit") fields.push_back(c.id);
    EXPECT_EQ(fields, (std::vector<int>{IDC_EDIT1, IDC_EDIT2, IDC_EDIT3, IDC_EDIT4}));
    EXPECT_EQ(res.find_dialog("IDD_INFO"), nullptr) << "numeric resources have no string name";
}

// The icon: a real multi-size .ico, embedded under the file name the script gives.
TEST(ProgramIcon, IsEmbeddedWithTheUsualSizes) {
    const layer::IconResource* icon = layer::program_resources().find_icon(MAKEINTRESOURCEA(IDI_ICON1));
    ASSERT_NE(icon, nullptr);
    std::optional<std::string_view> bytes = layer::embedded_file(icon->file);
    ASSERT_TRUE(bytes.has_value());
    ASSERT_GE(bytes->size(), 6u);
    auto u16 = [&](size_t at) { return uint8_t((*bytes)[at]) | (uint8_t((*bytes)[at + 1]) << 8); };
    EXPECT_EQ(u16(0), 0);
    EXPECT_EQ(u16(2), 1) << "type 1 = icon";
    size_t count = u16(4);
    ASSERT_GE(bytes->size(), 6 + 16 * count);
    std::vector<int> sizes;
    for (size_t k = 0; k < count; ++k) {
        int w = uint8_t((*bytes)[6 + 16 * k]);
        sizes.push_back(w == 0 ? 256 : w);
    }
    for (int wanted : {16, 32, 48})
        EXPECT_NE(std::find(sizes.begin(), sizes.end(), wanted), sizes.end()) << wanted;
    EXPECT_FALSE(layer::embedded_file("quimbar.bmp").has_value());
}

// ---------------------------------------------------------------------------
// Agreement with GNU windres: the Windows build compiles the same scripts;
// the compiled result, read back, must equal what the reader makes of them.

void expect_same_items(const std::vector<MenuItem>& parsed, const std::vector<MenuItem>& compiled) {
    ASSERT_EQ(parsed.size(), compiled.size());
    for (size_t k = 0; k < parsed.size(); ++k) {
        SCOPED_TRACE("menu item \"" + compiled[k].text + "\"");
        EXPECT_EQ(parsed[k].text, compiled[k].text);
        EXPECT_EQ(parsed[k].id, compiled[k].id);
        EXPECT_EQ(parsed[k].popup, compiled[k].popup);
        EXPECT_EQ(parsed[k].separator, compiled[k].separator);
        EXPECT_EQ(parsed[k].options, compiled[k].options);
        expect_same_items(parsed[k].items, compiled[k].items);
    }
}

void expect_same(const Resources& parsed, const Resources& compiled) {
    ASSERT_EQ(parsed.menus.size(), compiled.menus.size());
    for (const layer::Menu& c : compiled.menus) {
        SCOPED_TRACE("menu " + c.name.display());
        const layer::Menu* p = nullptr;
        for (const layer::Menu& m : parsed.menus)
            if (m.name.display() == c.name.display()) p = &m;
        ASSERT_NE(p, nullptr);
        expect_same_items(p->items, c.items);
    }
    ASSERT_EQ(parsed.dialogs.size(), compiled.dialogs.size());
    for (const DialogTemplate& c : compiled.dialogs) {
        SCOPED_TRACE("dialog " + c.name.display());
        const DialogTemplate* p = nullptr;
        for (const DialogTemplate& d : parsed.dialogs)
            if (d.name.display() == c.name.display()) p = &d;
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->extended, c.extended);
        EXPECT_EQ(p->x, c.x);
        EXPECT_EQ(p->y, c.y);
        EXPECT_EQ(p->cx, c.cx);
        EXPECT_EQ(p->cy, c.cy);
        EXPECT_EQ(p->style, c.style) << std::hex << p->style << " vs " << c.style;
        EXPECT_EQ(p->exstyle, c.exstyle);
        EXPECT_EQ(p->help_id, c.help_id);
        EXPECT_EQ(p->caption, c.caption);
        EXPECT_EQ(p->font, c.font);
        EXPECT_EQ(p->font_size, c.font_size);
        if (c.extended) {
            EXPECT_EQ(p->font_weight, c.font_weight);
            EXPECT_EQ(p->font_italic, c.font_italic);
            EXPECT_EQ(p->font_charset, c.font_charset);
        }
        ASSERT_EQ(p->controls.size(), c.controls.size());
        for (size_t k = 0; k < c.controls.size(); ++k) {
            const DialogControl& pc = p->controls[k];
            const DialogControl& cc = c.controls[k];
            SCOPED_TRACE("control \"" + cc.text + "\"");
            EXPECT_TRUE(pc.window_class == cc.window_class ||
                        (pc.window_class.size() == cc.window_class.size() &&
                         std::equal(pc.window_class.begin(), pc.window_class.end(), cc.window_class.begin(),
                                    [](char a, char b) { return std::toupper(a) == std::toupper(b); })))
                << pc.window_class << " vs " << cc.window_class;
            EXPECT_EQ(pc.text, cc.text);
            EXPECT_EQ(c.extended ? pc.id : (pc.id & 0xFFFF), cc.id);
            EXPECT_EQ(pc.x, cc.x);
            EXPECT_EQ(pc.y, cc.y);
            EXPECT_EQ(pc.cx, cc.cx);
            EXPECT_EQ(pc.cy, cc.cy);
            EXPECT_EQ(pc.style, cc.style) << std::hex << pc.style << " vs " << cc.style;
            EXPECT_EQ(pc.exstyle, cc.exstyle);
            EXPECT_EQ(pc.help_id, cc.help_id);
        }
    }
    ASSERT_EQ(parsed.icons.size(), compiled.icons.size());
    for (size_t k = 0; k < parsed.icons.size(); ++k)
        EXPECT_EQ(parsed.icons[k].name.display(), compiled.icons[k].name.display());
}

std::string compiled_res(const char* base) {
    std::string dir = QUIMBAR_COMPILED_RES_DIR;
    if (dir.empty()) return {};
    return read_file(dir + "/" + base + ".res");
}

TEST(AgreesWithWindres, ProgramScript) {
    std::string res = compiled_res("quimbar");
    if (res.empty()) GTEST_SKIP() << "x86_64-w64-mingw32-windres is not installed";
    expect_same(layer::program_resources(), read_res_file(res));
}

// A script with every statement, default style, option and expression form
// the reader supports (tests/data/rc_features.rc).
TEST(AgreesWithWindres, FeatureScript) {
    std::string res = compiled_res("rc_features");
    if (res.empty()) GTEST_SKIP() << "x86_64-w64-mingw32-windres is not installed";
    std::string dir = std::string(QUIMBAR_SOURCE_DIR) + "/tests/data/";
    Resources parsed = layer::parse_rc(read_file(dir + "rc_features.rc"), "rc_features.rc",
                                       [&](std::string_view name) -> std::optional<std::string> {
                                           return read_file(dir + std::string(name));
                                       });
    Resources compiled = read_res_file(res);
    ASSERT_EQ(compiled.menus.size(), 1u) << "the compiled script must hold what the test expects";
    ASSERT_EQ(compiled.dialogs.size(), 2u);
    expect_same(parsed, compiled);
}

// ---------------------------------------------------------------------------
// Malformed scripts: a clear error naming the file and line.

struct BadScript {
    const char* what;
    const char* text;
    int line;
    const char* message;  // part of the message
};

const BadScript kBadScripts[] = {
    {"unterminated string", "1 MENU\nBEGIN\n  MENUITEM \"abc, 1\nEND\n", 3, "unterminated string"},
    {"string cut by the file's end", "1 MENU\nBEGIN\n  MENUITEM \"abc", 3, "unterminated string"},
    {"missing END", "1 MENU\nBEGIN\n  POPUP \"a\"\n  BEGIN\n    MENUITEM \"b\", 1\n  END\n\n", 6,
     "missing END of the block opened at line 2"},
    {"unknown symbol", "#include <windows.h>\n1 DIALOGEX 0, 0, 1, 1\nBEGIN\n  CONTROL \"a\", IDC_NOPE, \"Edit\", WS_CHILD, 0, 0, 1, 1\nEND\n",
     4, "unknown symbol 'IDC_NOPE'"},
    {"Win32 constant without <windows.h>", "1 DIALOGEX 0, 0, 1, 1\nSTYLE WS_POPUP\nBEGIN\nEND\n", 2,
     "need #include <windows.h>"},
    {"letters in a number", "1 DIALOG 0, 0,\n 12x, 1\nBEGIN\nEND\n", 2, "bad number '12x'"},
    {"hex prefix without digits", "1 MENU\nBEGIN\n MENUITEM \"a\", 0x\nEND\n", 3, "bad number '0x'"},
    {"octal number", "1 MENU\nBEGIN\n MENUITEM \"a\", 010\nEND\n", 3, "octal"},
    {"number beyond 32 bits", "1 MENU\nBEGIN\n MENUITEM \"a\", 4294967296\nEND\n", 3, "32 bits"},
    {"menu id beyond 16 bits", "1 MENU\nBEGIN\n MENUITEM \"a\", 65536\nEND\n", 3, "out of range"},
    {"coordinate beyond 16 bits", "1 DIALOGEX 0, 0, 40000, 1\nBEGIN\nEND\n", 1, "dialog width 40000 out of range"},
    {"division by zero", "1 MENU\nBEGIN\n MENUITEM \"a\", 4 / (2 - 2)\nEND\n", 3, "division by zero"},
    {"missing comma", "1 MENU\nBEGIN\n MENUITEM \"a\" 1\nEND\n", 3, "expected ','"},
    {"unknown menu option", "1 MENU\nBEGIN\n MENUITEM \"a\", 1, BOLD\nEND\n", 3, "expected a menu option"},
    {"item outside a block", "1 MENU\n MENUITEM \"a\", 1\n", 2, "expected BEGIN of menu 1"},
    {"stray statement in a menu", "1 MENU\nBEGIN\n LTEXT \"a\", 1\nEND\n", 3, "expected MENUITEM, POPUP or END"},
    {"unterminated comment", "/* one\n two\n", 1, "unterminated comment"},
    {"unexpected character", "1 MENU\nBEGIN\n MENUITEM \"a\", @\nEND\n", 3, "unexpected character '@'"},
    {"invalid UTF-8", "1 MENU\nBEGIN\n MENUITEM \"\xFF\", 1\nEND\n", 3, "not valid UTF-8"},
    {"unknown escape", "1 MENU\nBEGIN\n MENUITEM \"a\\q\", 1\nEND\n", 3, "unknown escape sequence '\\q'"},
    {"unsupported resource type", "\n1 BITMAP \"a.bmp\"\n", 2, "resource type 'BITMAP' is not supported"},
    {"MENUEX", "1 MENUEX\nBEGIN\nEND\n", 1, "resource type 'MENUEX' is not supported"},
    {"string table", "STRINGTABLE\nBEGIN\nEND\n", 1, "STRINGTABLE is not supported"},
    {"unclosed version block", "1 VERSIONINFO\nFILEVERSION 1,2,0,0\nBEGIN\n BLOCK \"a\"\n BEGIN\n END\n", 6,
     "missing END of the block opened at line 3"},
    {"version without a block", "1 VERSIONINFO\nFILEVERSION 1,2,0,0\n", 2, "in VERSIONINFO: expected BEGIN"},
    {"unsupported control", "1 DIALOG 0, 0, 1, 1\nBEGIN\n LISTBOX 1, 0, 0, 1, 1\nEND\n", 3,
     "unsupported control statement 'LISTBOX'"},
    {"unquoted unknown class", "1 DIALOG 0, 0, 1, 1\nBEGIN\n CONTROL \"a\", 1, Spinner, 0, 0, 0, 1, 1\nEND\n", 3,
     "unknown control class 'Spinner'"},
    {"help id in a DIALOG", "1 DIALOG 0, 0, 1, 1\nBEGIN\n PUSHBUTTON \"a\", 1, 0, 0, 1, 1, 0, 0, 5\nEND\n", 3,
     "help id needs DIALOGEX"},
    {"dialog MENU statement", "1 DIALOG 0, 0, 1, 1\nMENU 2\nBEGIN\nEND\n", 2, "MENU is not supported"},
    {"duplicate resource", "A MENU\nBEGIN\nEND\na MENU\nBEGIN\nEND\n", 4, "duplicate menu resource A"},
    {"name without type", "\nUNSERMENU\n\n", 2, "unexpected end of file after the resource name UNSERMENU"},
    {"unknown directive", "#inclde \"x.h\"\n", 1, "unsupported directive #inclde"},
    {"lone hash", "#\n", 1, "expected a directive name"},
    {"missing include", "\n#include \"missing.h\"\n", 2, "cannot open include file 'missing.h'"},
    {"unclosed system include", "#include <windows.h\n", 1, "missing '>'"},
    {"code page", "#pragma code_page(1252)\n", 1, "code page 1252 is not supported"},
    {"unknown pragma", "#pragma pack(1)\n", 1, "unsupported #pragma 'pack'"},
    {"#error", "#if 1\n#error stop here\n#endif\n", 2, "#error stop here"},
    {"#endif without #if", "\n#endif\n", 2, "#endif without #if"},
    {"#else twice", "#if 0\n#else\n#else\n#endif\n", 3, "#else after #else"},
    {"missing #endif", "\n#ifdef X\n1 MENU\nBEGIN\nEND\n", 2, "missing #endif"},
    {"function-like macro", "#define F(x) (x + 1)\n", 1, "function-like macro 'F' is not supported"},
    {"macro redefined", "#define A 1\n#define A 2\n", 2, "macro 'A' redefined differently (first defined at t.rc:1)"},
    {"macro cycle", "#define A B\n#define B A\n1 MENU\nBEGIN\n MENUITEM \"a\", A\nEND\n", 5, "unknown symbol 'A'"},
};

TEST(MalformedScripts, ReportFileLineAndCause) {
    for (const BadScript& b : kBadScripts) {
        SCOPED_TRACE(b.what);
        try {
            layer::parse_rc(b.text, "t.rc");
            ADD_FAILURE() << "no error";
        } catch (const RcError& e) {
            EXPECT_EQ(e.file, "t.rc");
            EXPECT_EQ(e.line, b.line) << e.what();
            EXPECT_NE(e.message.find(b.message), std::string::npos) << e.what();
            EXPECT_EQ(std::string(e.what()).rfind("t.rc:" + std::to_string(b.line) + ": error: ", 0), 0u)
                << e.what();
        }
    }
}

TEST(MalformedScripts, ErrorInAnIncludedFileNamesThatFile) {
    auto resolve = [](std::string_view name) -> std::optional<std::string> {
        if (name == "ids.h") return std::string("#define A 1\n#define B 0x\n");
        return std::nullopt;
    };
    try {
        layer::parse_rc("// script\n#include \"ids.h\"\n", "main.rc", resolve);
        FAIL() << "no error";
    } catch (const RcError& e) {
        EXPECT_EQ(e.file, "ids.h");
        EXPECT_EQ(e.line, 2);
    }
}

TEST(MalformedScripts, SelfIncludeStopsWithAnError) {
    const std::string self = "#include \"self.rc\"\n";
    try {
        layer::parse_rc(self, "self.rc", [&](std::string_view) -> std::optional<std::string> { return self; });
        FAIL() << "no error";
    } catch (const RcError& e) {
        EXPECT_NE(e.message.find("nested too deeply"), std::string::npos) << e.what();
    }
}

// Every prefix of the program's script is either a complete script (cut at
// the end of a directive, the icon line or a resource's closing END) or an
// error placed on the prefix's last line of code. The prefix is copied into a
// buffer of exactly its size, so a read past its end is a real overrun.
TEST(MalformedScripts, ProgramScriptCutAnywhere) {
    const std::string script(*layer::embedded_file("quimbar.rc"));
    auto resolve = [](std::string_view name) -> std::optional<std::string> {
        if (auto f = layer::embedded_file(name)) return std::string(*f);
        return std::nullopt;
    };
    // Drops trailing blanks and line comments: what remains ends with the last token.
    auto code_end = [](std::string s) {
        for (;;) {
            while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.pop_back();
            size_t line_start = s.rfind('\n') + 1;  // npos + 1 == 0
            size_t comment = s.find("//", line_start);
            if (comment == std::string::npos) return s;
            s.resize(comment);
        }
    };
    std::vector<std::string> complete = {""};
    for (size_t pos = 0; pos < script.size();) {
        size_t eol = script.find('\n', pos);
        if (eol == std::string::npos) eol = script.size();
        std::string line = script.substr(pos, eol - pos);
        if (line.rfind("#", 0) == 0 || line.rfind("END", 0) == 0 || line.find(" ICON ") != std::string::npos)
            complete.push_back(code_end(script.substr(0, eol)));
        pos = eol + 1;
    }
    ASSERT_EQ(complete.size(), 1u + 3 + 1 + 6) << "3 directives, the icon, 5 resources and the version";

    int errors = 0, successes = 0;
    for (size_t cut = 0; cut <= script.size(); ++cut) {
        std::unique_ptr<char[]> buffer(new char[cut + 1]);
        std::copy(script.begin(), script.begin() + cut, buffer.get());
        std::string_view prefix(buffer.get(), cut);
        std::string code = code_end(std::string(prefix));
        bool whole = std::find(complete.begin(), complete.end(), code) != complete.end();
        int last_line = 1 + static_cast<int>(std::count(code.begin(), code.end(), '\n'));
        try {
            layer::parse_rc(prefix, "quimbar.rc", resolve);
            ++successes;
            EXPECT_TRUE(whole) << "accepted a script cut at " << cut << ":\n...\n" << code.substr(code.size() > 80 ? code.size() - 80 : 0);
        } catch (const RcError& e) {
            ++errors;
            EXPECT_FALSE(whole) << "rejected a complete script cut at " << cut << ": " << e.what();
            EXPECT_EQ(e.file, "quimbar.rc");
            EXPECT_EQ(e.line, last_line) << "cut at " << cut << ": " << e.what();
        }
        if (HasFailure()) break;
    }
    EXPECT_GT(errors, static_cast<int>(script.size() / 2));
    EXPECT_GT(successes, 10);
}

// ---------------------------------------------------------------------------
// Behaviour windres cannot show: lookups and the preprocessor's corners.

TEST(Lookup, NamesAndOrdinalsAsWin32) {
    Resources res = layer::parse_rc("7 MENU\nBEGIN\nEND\nMain MENU\nBEGIN\nEND\n\"Two Words\" MENU\nBEGIN\nEND\n", "t.rc");
    EXPECT_EQ(res.find_menu(MAKEINTRESOURCEA(7)), &res.menus[0]);
    EXPECT_EQ(res.find_menu("#7"), &res.menus[0]);
    EXPECT_EQ(res.find_menu("#07x"), nullptr);
    EXPECT_EQ(res.find_menu("7"), nullptr) << "a string \"7\" is a name, not id 7";
    EXPECT_EQ(res.find_menu("MAIN"), &res.menus[1]);
    EXPECT_EQ(res.find_menu("main"), &res.menus[1]);
    EXPECT_EQ(res.find_menu("two words"), &res.menus[2]);
    EXPECT_EQ(res.find_menu(MAKEINTRESOURCEA(8)), nullptr);
    EXPECT_EQ(res.find_dialog("MAIN"), nullptr) << "kinds are separate";
}

TEST(Preprocessor, ConditionsMacrosAndHeaders) {
    auto resolve = [](std::string_view name) -> std::optional<std::string> {
        if (name == "ids.h")
            return std::string(
                "#pragma once\n#ifndef IDS_H\n#define IDS_H\n#define BASE 100\n#define NEXT (BASE + 1)\n"
                "int ignored_by_the_reader(void);\n#endif\n");
        return std::nullopt;
    };
    Resources res = layer::parse_rc(
        "#include \"ids.h\"\n#include \"ids.h\"\n"
        "#if defined(IDS_H) && NEXT == 101 && RC_INVOKED\n#define PICK 1\n#elif 1\n#define PICK 2\n#else\n#define PICK 3\n#endif\n"
        "#if 0\n#bogus directives are skipped when inactive\n\"unterminated text too\n#endif\n"
        "#define SELF SELF\n"
        "M MENU\nBEGIN\n"
        "  MENUITEM \"a\", PICK\n"
        "  MENUITEM \"b\", NEXT * 2 - ~0 /* = 203 */, CHECKED\n"
        "  MENUITEM \"c\\\"d\", -1\n"
        "END\n",
        "t.rc", resolve);
    const auto& items = res.menus.at(0).items;
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].id, 1);
    EXPECT_EQ(items[1].id, 203);
    EXPECT_EQ(items[1].options, static_cast<uint32_t>(layer::menu_checked));
    EXPECT_EQ(items[2].text, "c\"d");
    EXPECT_EQ(items[2].id, 0xFFFF) << "menu ids are 16 bits";
    EXPECT_EQ(items[2].line, 19);
}

TEST(Preprocessor, StyleExpressionsClearWithNotInOrder) {
    Resources res = layer::parse_rc(
        "#include <windows.h>\n"
        "1 DIALOGEX 0, 0, 1, 1\nBEGIN\n"
        "  CONTROL \"a\", 1, \"Static\", NOT WS_VISIBLE | WS_BORDER, 0, 0, 1, 1\n"
        "  CONTROL \"b\", 2, \"Static\", WS_BORDER | NOT (WS_BORDER | WS_CHILD) | WS_GROUP, 0, 0, 1, 1\n"
        "  PUSHBUTTON \"c\", 3, 0, 0, 1, 1, NOT WS_TABSTOP\n"
        "END\n",
        "t.rc");
    const auto& c = res.dialogs.at(0).controls;
    EXPECT_EQ(c.at(0).style, static_cast<uint32_t>(WS_CHILD | WS_BORDER));
    EXPECT_EQ(c.at(1).style, static_cast<uint32_t>(WS_VISIBLE | WS_GROUP));
    EXPECT_EQ(c.at(2).style, static_cast<uint32_t>(WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON));
}

}  // namespace
