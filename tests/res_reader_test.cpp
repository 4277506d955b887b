// The resource reader: the program's menu, dialog templates and icon as
// windres compiles them, the other forms a resource file takes, and damaged
// files.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core.h"
#include "res_reader.h"
#include "resource.h"

namespace {

using layer::DialogControl;
using layer::DialogTemplate;
using layer::MenuItem;
using layer::ResError;
using layer::Resources;

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string program_res() { return std::string(layer::embedded_res()); }

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

// The icon: one group with the usual sizes, each image the RT_ICON data the
// group names (a PNG whose header gives the same width, or a DIB whose
// BITMAPINFOHEADER does), and a large PNG image for the window manager.
TEST(ProgramIcon, GroupWithTheUsualSizesAndTheirImages) {
    const Resources& res = layer::program_resources();
    ASSERT_EQ(res.icons.size(), 1u);
    const layer::IconResource* icon = res.find_icon(MAKEINTRESOURCEA(IDI_ICON1));
    ASSERT_NE(icon, nullptr);
    auto be32 = [](std::string_view d, size_t at) {
        return uint32_t(uint8_t(d[at])) << 24 | uint32_t(uint8_t(d[at + 1])) << 16 | uint32_t(uint8_t(d[at + 2])) << 8 |
               uint8_t(d[at + 3]);
    };
    auto le32 = [](std::string_view d, size_t at) {
        return uint32_t(uint8_t(d[at])) | uint32_t(uint8_t(d[at + 1])) << 8 | uint32_t(uint8_t(d[at + 2])) << 16 |
               uint32_t(uint8_t(d[at + 3])) << 24;
    };
    std::vector<int> sizes;
    int largest_png = 0;
    for (const layer::IconImage& image : icon->images) {
        SCOPED_TRACE(image.width);
        sizes.push_back(image.width);
        ASSERT_GE(image.data.size(), 24u);
        if (image.png) {
            EXPECT_EQ(be32(image.data, 16), uint32_t(image.width)) << "PNG header width";
            largest_png = std::max(largest_png, image.width);
        } else {
            EXPECT_EQ(le32(image.data, 0), 40u) << "BITMAPINFOHEADER";
            EXPECT_EQ(le32(image.data, 4), uint32_t(image.width));
        }
    }
    for (int wanted : {16, 32, 48})
        EXPECT_NE(std::find(sizes.begin(), sizes.end(), wanted), sizes.end()) << wanted;
    EXPECT_GE(largest_png, 48);
    EXPECT_EQ(res.find_icon(MAKEINTRESOURCEA(1)), nullptr) << "the RT_ICON images are no icons of their own";
}

// The templates' dialog units become pixels through the base units of their
// font size, the same for every backend: "MS Sans Serif" 8 pt is 6 x 13, 10 pt
// 7 x 16, other sizes scale from 8 pt (9 pt: 6.75 -> 7, 14.625 -> 15).
TEST(ProgramDialogs, BaseUnitsOfTheirFontSizes) {
    auto units = [](int points) {
        POINT p = layer::dialog_base_units(points);
        return std::make_pair(int(p.x), int(p.y));
    };
    EXPECT_EQ(units(8), std::make_pair(6, 13));
    EXPECT_EQ(units(10), std::make_pair(7, 16));
    EXPECT_EQ(units(9), std::make_pair(7, 15));
    EXPECT_EQ(units(12), std::make_pair(9, 20));
    EXPECT_EQ(units(0), units(8)) << "a template without a font size";
    for (const DialogTemplate& d : layer::program_resources().dialogs)
        EXPECT_TRUE(d.font_size == 8 || d.font_size == 10) << "sizes the tests above pin down";
}

// ---------------------------------------------------------------------------
// Forms the program's script does not use (tests/data/forms.rc)

TEST(Forms, NamesAndOrdinalsAreFoundAsWin32FindsThem) {
    std::string bytes = read_file(QUIMBAR_FORMS_RES);
    Resources res = layer::read_res(bytes);
    ASSERT_EQ(res.menus.size(), 3u);
    const layer::Menu* seven = res.find_menu(MAKEINTRESOURCEA(7));
    ASSERT_NE(seven, nullptr);
    EXPECT_EQ(res.find_menu("#7"), seven);
    EXPECT_EQ(res.find_menu("#07x"), nullptr);
    EXPECT_EQ(res.find_menu("#"), nullptr);
    EXPECT_EQ(res.find_menu("#65543"), nullptr) << "7 + 65536 is no id";
    EXPECT_EQ(res.find_menu("7"), nullptr) << "a string \"7\" is a name, not id 7";
    ASSERT_NE(res.find_menu("main"), nullptr);
    EXPECT_EQ(res.find_menu("MAIN"), res.find_menu("Main"));
    EXPECT_EQ(res.find_menu("MAIN")->items.at(0).id, 1);
    ASSERT_NE(res.find_menu("two words"), nullptr);
    EXPECT_EQ(res.find_menu("two words")->items.at(0).id, 2);
    EXPECT_EQ(res.find_menu(MAKEINTRESOURCEA(8)), nullptr);
    EXPECT_EQ(res.find_dialog("MAIN"), nullptr) << "kinds are separate";
    EXPECT_EQ(res.find_dialog(MAKEINTRESOURCEA(7)), nullptr);
}

TEST(Forms, MenuSeparatorsAndNestedPopups) {
    std::string bytes = read_file(QUIMBAR_FORMS_RES);
    Resources res = layer::read_res(bytes);
    const layer::Menu* menu = res.find_menu(MAKEINTRESOURCEA(7));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->items.size(), 2u);
    const MenuItem& file = menu->items[0];
    EXPECT_TRUE(file.popup);
    ASSERT_EQ(file.items.size(), 4u);
    EXPECT_EQ(file.items[0].text, "&Eins");
    EXPECT_TRUE(file.items[1].separator);
    EXPECT_FALSE(file.items[2].separator);
    ASSERT_EQ(file.items[3].items.size(), 1u);
    EXPECT_EQ(file.items[3].items[0].text, "Drei");
    EXPECT_EQ(file.items[3].items[0].id, 12);
    EXPECT_EQ(menu->items[1].text, "&Hilfe");
    EXPECT_EQ(menu->items[1].id, 13);
    EXPECT_TRUE(menu->items[1].items.empty()) << "MF_END ends the bar, it makes no popup";
}

// DIALOG gives the plain DLGTEMPLATE: 16-bit control ids, no help ids.
TEST(Forms, PlainDialogTemplateWithUnicodeTexts) {
    std::string bytes = read_file(QUIMBAR_FORMS_RES);
    Resources res = layer::read_res(bytes);
    const DialogTemplate* d = res.find_dialog(MAKEINTRESOURCEA(20));
    ASSERT_NE(d, nullptr);
    EXPECT_FALSE(d->extended);
    EXPECT_EQ(d->style, uint32_t(DS_SETFONT | WS_POPUP | WS_CAPTION));
    EXPECT_EQ(d->x, 1);
    EXPECT_EQ(d->y, 2);
    EXPECT_EQ(d->cx, 100);
    EXPECT_EQ(d->cy, 50);
    EXPECT_EQ(d->caption, "\xC3\x9C" "bung \xF0\x9D\x84\x9E") << "U+00DC and U+1D11E, a surrogate pair";
    EXPECT_EQ(d->font, "MS Shell Dlg");
    EXPECT_EQ(d->font_size, 9);
    ASSERT_EQ(d->controls.size(), 3u);
    EXPECT_EQ(d->controls[0].window_class, "Static");
    EXPECT_EQ(d->controls[0].text, "Ma\xC3\x9F");
    EXPECT_EQ(d->controls[0].id, 0xFFFF);
    EXPECT_EQ(d->controls[0].cx, 40);
    EXPECT_EQ(d->controls[1].window_class, "Edit");
    EXPECT_EQ(d->controls[1].id, 30);
    EXPECT_EQ(d->controls[1].y, 20);
    EXPECT_EQ(d->controls[2].text, "#1") << "an ordinal title (the icon of a static)";
}

// ---------------------------------------------------------------------------
// Damaged files: a ResError, never a crash or a read out of bounds. Each
// file is copied into a buffer of exactly its size, so that AddressSanitizer
// sees a read past its end.

Resources read_copy(std::string_view bytes) {
    std::unique_ptr<char[]> copy(new char[bytes.size() + 1]);
    std::copy(bytes.begin(), bytes.end(), copy.get());
    std::string_view exact(copy.get(), bytes.size());
    Resources res = layer::read_res(exact);
    for (auto& icon : res.icons)
        for (auto& image : icon.images) image.data = {};  // would dangle
    return res;
}

// A prefix reads without error only when it ends between two resources;
// then it holds the resources before the cut. Cut at every byte of the menu,
// dialogs and group icon, and throughout the images.
TEST(DamagedFiles, CutAnywhere) {
    const std::string full = program_res();
    const Resources whole = layer::read_res(full);
    int complete = 0;
    for (size_t n = 0; n < full.size(); n += (n < 256 || n + 5000 > full.size()) ? 1 : 97) {
        SCOPED_TRACE(n);
        try {
            Resources part = read_copy(std::string_view(full).substr(0, n));
            EXPECT_LE(part.menus.size(), whole.menus.size());
            EXPECT_LE(part.dialogs.size(), whole.dialogs.size());
            ++complete;
        } catch (const ResError& e) {
            EXPECT_LE(e.offset, n);
        }
    }
    EXPECT_GT(complete, 5) << "cuts between resources read";
}

// Bogus sizes and counts written into the program's file at the places that
// hold them.
TEST(DamagedFiles, BogusSizesAndCounts) {
    const std::string full = program_res();
    auto put16 = [](std::string& s, size_t at, uint16_t v) {
        s[at] = char(v & 0xFF);
        s[at + 1] = char(v >> 8);
    };
    auto put32 = [&](std::string& s, size_t at, uint32_t v) {
        put16(s, at, uint16_t(v));
        put16(s, at + 2, uint16_t(v >> 16));
    };
    // Where each resource's header starts, by type.
    std::vector<std::pair<uint16_t, size_t>> headers;
    for (size_t pos = 0; pos + 32 <= full.size();) {
        uint32_t data_size = uint8_t(full[pos]) | uint8_t(full[pos + 1]) << 8 | uint8_t(full[pos + 2]) << 16;
        uint32_t header_size = uint8_t(full[pos + 4]) | uint8_t(full[pos + 5]) << 8;
        headers.emplace_back(uint8_t(full[pos + 10]), pos);
        pos = (pos + header_size + data_size + 3) & ~size_t(3);
    }
    auto first = [&](uint16_t type) {
        for (auto [t, pos] : headers)
            if (t == type) return pos;
        ADD_FAILURE() << "no resource of type " << type;
        return size_t(0);
    };
    const size_t menu = first(4), dialog = first(5), group = first(14), icon = first(3);
    const uint32_t menu_header = uint8_t(full[menu + 4]);
    const uint32_t dialog_header = uint8_t(full[dialog + 4]), group_header = uint8_t(full[group + 4]);

    std::vector<std::pair<const char*, std::function<void(std::string&)>>> damages = {
        {"data size beyond the file", [&](std::string& s) { put32(s, menu, 0xFFFFFFF0u); }},
        {"header size beyond the file", [&](std::string& s) { put32(s, menu + 4, 0x7FFFFFFFu); }},
        {"header size too small", [&](std::string& s) { put32(s, dialog + 4, 4); }},
        {"menu version", [&](std::string& s) { put16(s, menu + menu_header, 1); }},
        {"menu header offset", [&](std::string& s) { put16(s, menu + menu_header + 2, 0xFFFF); }},
        {"menu items beyond the menu's size", [&](std::string& s) { put32(s, menu, 40); }},
        {"dialog control count", [&](std::string& s) { put16(s, dialog + dialog_header + 16, 0xFFFF); }},
        {"dialog with a menu", [&](std::string& s) { put16(s, dialog + dialog_header + 26, 0xFFFF); }},
        {"icon group type", [&](std::string& s) { put16(s, group + group_header + 2, 2); }},
        {"icon group count", [&](std::string& s) { put16(s, group + group_header + 4, 0xFFFF); }},
        {"icon image missing", [&](std::string& s) { put16(s, icon + 14, 0x7777); }},
    };
    for (auto& [what, damage] : damages) {
        SCOPED_TRACE(what);
        std::string s = full;
        damage(s);
        EXPECT_THROW(read_copy(s), ResError);
    }
}

TEST(DamagedFiles, MenusNestedTooDeeplyAndTextsWithoutEnd) {
    // A menu of 100 nested popups, each "&a" and never ended.
    auto res_file = [](const std::string& data) {
        std::string f(32, '\0');
        f[4] = 32;
        std::string h = {0, 0, 0, 0, 32, 0, 0, 0, '\xFF', '\xFF', 4, 0, '\xFF', '\xFF', 1, 0};
        h.resize(32, '\0');
        uint32_t n = uint32_t(data.size());
        for (int k = 0; k < 4; ++k) h[k] = char(n >> (8 * k));
        return f + h + data;
    };
    std::string nested(4, '\0');
    for (int k = 0; k < 100; ++k) nested += std::string{0x10, 0, '&', 0, 'a', 0, 0, 0};
    EXPECT_THROW(read_copy(res_file(nested)), ResError);
    std::string unterminated = std::string(4, '\0') + std::string{0, 0, 1, 0, 'a', 0, 'b', 0};
    EXPECT_THROW(read_copy(res_file(unterminated)), ResError);
    std::string fine = std::string(4, '\0') + std::string{'\x80', 0, 1, 0, 'a', 0, 0, 0};
    Resources res = read_copy(res_file(fine));
    ASSERT_EQ(res.menus.size(), 1u);
    EXPECT_EQ(res.menus[0].items.at(0).text, "a");
}

}  // namespace
