// The FLTK backend's pure helpers: menu label splitting, key codes, the
// edit-field width rule.
#include <gtest/gtest.h>

#include <FL/Enumerations.H>

#include <string>
#include <vector>

#include "fltk/helpers.h"

using namespace layer::fltk;

namespace {

std::string mnemonic_of(const MenuLabel& l) {
    if (l.mnemonic_begin < 0) return "";
    return l.text.substr(l.mnemonic_begin, l.mnemonic_end - l.mnemonic_begin);
}

// Every character (byte or UTF-8 sequence) 6 pixels wide.
double six_per_character(std::string_view s) {
    double w = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) w += 6;
    return w;
}

}  // namespace

TEST(MenuLabel, SplitsTextMnemonicAndHint) {
    MenuLabel grow = parse_menu_label("ver&größern\t+");
    EXPECT_EQ(grow.text, "vergrößern");
    EXPECT_EQ(mnemonic_of(grow), "g");
    EXPECT_EQ(grow.hint, "+");

    // The blank before the minus belongs to the hint.
    MenuLabel shrink = parse_menu_label("ver&kleinern\t -");
    EXPECT_EQ(shrink.text, "verkleinern");
    EXPECT_EQ(mnemonic_of(shrink), "k");
    EXPECT_EQ(shrink.hint, " -");

    MenuLabel quit = parse_menu_label("B&eenden\tALT+Q");
    EXPECT_EQ(quit.text, "Beenden");
    EXPECT_EQ(mnemonic_of(quit), "e");
    EXPECT_EQ(quit.hint, "ALT+Q");
    EXPECT_TRUE(quit.has_hint);

    MenuLabel left = parse_menu_label("nach &links verschieben\tPfeil-rechts");
    EXPECT_EQ(left.text, "nach links verschieben");
    EXPECT_EQ(left.mnemonic_begin, 5);
    EXPECT_EQ(left.hint, "Pfeil-rechts");
}

TEST(MenuLabel, EdgeCasesOfAmpersandsAndTabs) {
    MenuLabel plain = parse_menu_label("Julia&Kub...");
    EXPECT_EQ(plain.text, "JuliaKub...");
    EXPECT_EQ(mnemonic_of(plain), "K");
    EXPECT_FALSE(plain.has_hint);
    EXPECT_EQ(plain.hint, "");

    MenuLabel literal = parse_menu_label("A&&B &C");
    EXPECT_EQ(literal.text, "A&B C");
    EXPECT_EQ(mnemonic_of(literal), "C");

    // A mnemonic on a multi-byte character underlines the whole character.
    MenuLabel umlaut = parse_menu_label("&Ärger");
    EXPECT_EQ(mnemonic_of(umlaut), "Ä");

    MenuLabel trailing = parse_menu_label("Ende&");
    EXPECT_EQ(trailing.text, "Ende");
    EXPECT_LT(trailing.mnemonic_begin, 0);

    // Only the first tab separates; later ones stay in the hint.
    MenuLabel tabs = parse_menu_label("a\tb\tc");
    EXPECT_EQ(tabs.text, "a");
    EXPECT_EQ(tabs.hint, "b\tc");
}

TEST(VirtualKey, ReportsTheProgramsKeysWithWin32Codes) {
    EXPECT_EQ(virtual_key_for(FL_Left), 37);
    EXPECT_EQ(virtual_key_for(FL_Up), 38);
    EXPECT_EQ(virtual_key_for(FL_Right), 39);
    EXPECT_EQ(virtual_key_for(FL_Down), 40);
    EXPECT_EQ(virtual_key_for(FL_KP + '+'), 107);
    EXPECT_EQ(virtual_key_for(FL_KP + '-'), 109);
    // Letters come as upper-case virtual keys, which the program ignores.
    EXPECT_EQ(virtual_key_for('a'), 'A');
    EXPECT_EQ(virtual_key_for('q'), 'Q');
}

TEST(VirtualKey, MainKeyboardPlusAndModifiersAreNotKeypadKeys) {
    EXPECT_NE(virtual_key_for('+'), 107);
    EXPECT_NE(virtual_key_for('-'), 109);
    EXPECT_EQ(virtual_key_for(FL_Shift_L), 0);
    EXPECT_EQ(virtual_key_for(FL_Alt_L), 0);
}

TEST(FitEditText, KeepsWhatFitsAndCutsTheInsertion) {
    size_t caret = 0;
    // 8 characters fit into 48 pixels.
    EXPECT_EQ(fit_edit_text("0.313", "0.3135", 48, six_per_character, &caret), "0.3135");
    EXPECT_EQ(caret, 6u);
    EXPECT_EQ(fit_edit_text("0.123456", "0.1234567", 48, six_per_character, &caret), "0.123456");
    EXPECT_EQ(caret, 8u);
    // A paste keeps as much of its beginning as fits.
    EXPECT_EQ(fit_edit_text("0.", "0.123456789", 48, six_per_character, &caret), "0.123456");
    EXPECT_EQ(caret, 8u);
    // Typed over a selection in the middle: the text after it stays.
    EXPECT_EQ(fit_edit_text("1234567", "1xyz567", 48, six_per_character, &caret), "1xyz567");
    EXPECT_EQ(fit_edit_text("1234567", "1xyzw567", 42, six_per_character, &caret), "1xyz567");
    EXPECT_EQ(caret, 4u);
}

TEST(FitEditText, NeverSplitsCharactersAndKeepsDeletions) {
    size_t caret = 0;
    // "ä" is two bytes but one 6-pixel character.
    EXPECT_EQ(fit_edit_text("abcdefg", "abcdefgää", 48, six_per_character, &caret), "abcdefgä");
    EXPECT_EQ(caret, std::string("abcdefgä").size());
    // Removing text is always allowed, even from a text that is too wide.
    EXPECT_EQ(fit_edit_text("0123456789", "012345678", 48, six_per_character, &caret), "012345678");
}

// Widths as a font of 6 pixels per character would give.
TEST(MenuColumns, HintsShareOneColumnRightOfTheWidestLabel) {
    MenuSpacing spacing{3, 17, 8, 17};  // border, check room, tab gap, arrow room
    std::vector<MenuItemWidths> items;
    for (const char* label : {"ver&größern\t+", "ver&kleinern\t -", "nach &rechts verschieben\tPfeil-links", "x&2"}) {
        MenuLabel l = parse_menu_label(label);
        items.push_back({static_cast<int>(six_per_character(l.text)), static_cast<int>(six_per_character(l.hint)),
                         l.has_hint});
    }
    MenuColumns c = menu_columns(items, spacing);
    EXPECT_EQ(c.text_x, 20);
    // "nach rechts verschieben" (23 characters) is the widest label.
    EXPECT_EQ(c.hint_x, 20 + 23 * 6 + 8);
    // The widest hint, "Pfeil-links", ends where the arrow room begins.
    EXPECT_EQ(c.arrow_x, c.hint_x + 11 * 6);
    EXPECT_EQ(c.width, c.arrow_x + 17 + 3);

    // A long label without a hint still pushes the hint column right; an
    // empty hint after "\t" takes no room of its own.
    items.push_back({300, 0, false});
    MenuColumns wide = menu_columns(items, spacing);
    EXPECT_EQ(wide.hint_x, 20 + 300 + 8);
    EXPECT_EQ(wide.arrow_x, wide.hint_x + 66);
    MenuColumns plain = menu_columns({{40, 0, true}, {30, 0, false}}, spacing);
    EXPECT_EQ(plain.arrow_x, plain.hint_x);
    EXPECT_EQ(menu_columns({}, spacing).width, 3 + 17 + 17 + 3);
}
