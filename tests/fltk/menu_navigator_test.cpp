// The keyboard and mouse walk through the program's own menu bar: titles
// "&Datei", "&Zeichnung", "&Bearbeiten" (two submenus, then four moves) and
// "&Info".
#include <gtest/gtest.h>

#include "core.h"
#include "fltk/helpers.h"
#include "fltk/menu_navigator.h"

using namespace layer::fltk;
using Key = MenuNavigator::Key;

namespace {

const std::vector<layer::MenuItem>& bar() { return layer::program_resources().find_menu("UNSERMENU")->items; }

std::string highlighted_text(const MenuNavigator& nav) {
    int level = nav.depth() - 1;
    int i = nav.highlighted(level);
    return i < 0 ? "" : parse_menu_label(nav.items(level)[i].text).text;
}

}  // namespace

TEST(MenuNavigator, F10HighlightsTheFirstTitleAndArrowsWalkTheBar) {
    MenuNavigator nav(bar());
    EXPECT_FALSE(nav.active());
    nav.enter_bar();
    EXPECT_EQ(nav.title(), 0);
    EXPECT_EQ(nav.depth(), 0);
    nav.key(Key::left);  // round the start to "Info"
    EXPECT_EQ(nav.title(), 3);
    nav.key(Key::right);
    nav.key(Key::right);
    EXPECT_EQ(nav.title(), 1);
    EXPECT_EQ(nav.depth(), 0);
    // Down opens "Zeichnung" with its first item highlighted.
    nav.key(Key::down);
    ASSERT_EQ(nav.depth(), 1);
    EXPECT_EQ(highlighted_text(nav), "Mandelbrot");
    nav.key(Key::up);  // round the top to the last item
    EXPECT_EQ(highlighted_text(nav), "JuliaKub...");
    MenuNavigator::Outcome chosen = nav.key(Key::enter);
    EXPECT_TRUE(chosen.ended);
    EXPECT_EQ(chosen.chosen, 51682);
    EXPECT_FALSE(nav.active());
}

TEST(MenuNavigator, EscapeGoesBackOneLevelAtATime) {
    MenuNavigator nav(bar());
    ASSERT_TRUE(nav.open_by_mnemonic("B"));  // Alt+B, case does not matter
    EXPECT_EQ(nav.title(), 2);
    EXPECT_EQ(highlighted_text(nav), "vergrößern");
    nav.key(Key::down);
    nav.key(Key::right);  // opens "verkleinern"'s submenu, first item highlighted
    ASSERT_EQ(nav.depth(), 2);
    EXPECT_EQ(highlighted_text(nav), "x2");

    EXPECT_FALSE(nav.key(Key::escape).ended);
    ASSERT_EQ(nav.depth(), 1);
    EXPECT_EQ(highlighted_text(nav), "verkleinern");
    EXPECT_FALSE(nav.key(Key::escape).ended);
    EXPECT_EQ(nav.depth(), 0);
    EXPECT_EQ(nav.title(), 2);
    MenuNavigator::Outcome last = nav.key(Key::escape);
    EXPECT_TRUE(last.ended);
    EXPECT_EQ(last.chosen, -1);
    EXPECT_FALSE(nav.active());
}

TEST(MenuNavigator, LeftAndRightCrossSubmenusAndTitles) {
    MenuNavigator nav(bar());
    nav.open_by_mnemonic("b");
    nav.key(Key::right);  // "vergrößern" has a submenu
    ASSERT_EQ(nav.depth(), 2);
    nav.key(Key::left);  // closes it
    EXPECT_EQ(nav.depth(), 1);
    EXPECT_EQ(nav.title(), 2);
    nav.key(Key::left);  // on the title's own menu: the previous title's menu
    EXPECT_EQ(nav.title(), 1);
    EXPECT_EQ(highlighted_text(nav), "Mandelbrot");
    nav.key(Key::right);  // a plain item: the next title's menu
    nav.key(Key::down);
    nav.key(Key::down);
    EXPECT_EQ(highlighted_text(nav), "nach links verschieben");
    nav.key(Key::right);
    nav.key(Key::right);  // "Info", then round the end to "Datei"
    EXPECT_EQ(nav.title(), 0);
    EXPECT_EQ(highlighted_text(nav), "Beenden");
    // Inside a submenu, Right on a plain item moves on to the next title too.
    nav.open_by_mnemonic("b");
    nav.key(Key::right);
    nav.key(Key::right);
    EXPECT_EQ(nav.title(), 3);
    EXPECT_EQ(nav.depth(), 1);
}

TEST(MenuNavigator, MnemonicsChooseOrOpenAndAltOrF10Ends) {
    MenuNavigator nav(bar());
    EXPECT_FALSE(nav.open_by_mnemonic("q"));  // Alt+Q: no title has it
    EXPECT_FALSE(nav.active());
    nav.enter_bar();
    EXPECT_FALSE(nav.letter("q").ended);  // no title: menu mode goes on
    nav.letter("b");                      // in bar mode a letter opens its title
    EXPECT_EQ(nav.title(), 2);
    nav.letter("K");  // "ver&kleinern" opens
    ASSERT_EQ(nav.depth(), 2);
    MenuNavigator::Outcome x3 = nav.letter("3");
    EXPECT_TRUE(x3.ended);
    EXPECT_EQ(x3.chosen, 51689);  // x3 of "verkleinern", not of "vergrößern"

    nav.enter_bar();
    nav.key(Key::enter);
    EXPECT_EQ(nav.depth(), 1);
    MenuNavigator::Outcome alt = nav.key(Key::menu_key);
    EXPECT_TRUE(alt.ended);
    EXPECT_EQ(alt.chosen, -1);
    EXPECT_FALSE(nav.active());
}

// Items that share a mnemonic are not chosen by it: each press highlights the
// next of them, round the end; a unique one is chosen at once.
TEST(MenuNavigator, ASharedMnemonicCyclesThroughItsItems) {
    auto item = [](const char* text, int id) { return layer::MenuItem{text, id, false, false, {}}; };
    std::vector<layer::MenuItem> menu{{"&Test", 0, true, false,
                                       {item("&Alpha", 1), item("&Beta", 2), item("&Anton", 3), item("A&pfel", 4)}}};
    MenuNavigator nav(menu);
    nav.open_title(0, false);  // from the mouse: nothing highlighted yet
    std::string walk;
    for (int press = 0; press < 4; ++press) {
        MenuNavigator::Outcome o = nav.letter("a");
        EXPECT_FALSE(o.ended);
        walk += std::to_string(nav.highlighted(0)) + " ";
    }
    EXPECT_EQ(walk, "0 2 0 2 ");
    EXPECT_EQ(nav.letter("P").chosen, 4);
}

// A typed character matches a mnemonic as a whole character, whatever the
// case of an ASCII letter.
TEST(MenuNavigator, MnemonicsMatchWholeCharacters) {
    EXPECT_TRUE(mnemonic_matches("ver&gr\xC3\xB6\xC3\x9F" "ern", "G"));
    EXPECT_TRUE(mnemonic_matches("gr&\xC3\xB6\xC3\x9F" "er", "\xC3\xB6"));
    EXPECT_FALSE(mnemonic_matches("gr&\xC3\xB6\xC3\x9F" "er", "\xC3")) << "a part of the character";
    EXPECT_FALSE(mnemonic_matches("gr&\xC3\xB6\xC3\x9F" "er", "\xC3\xB6\xC3\x9F")) << "more than it";
    EXPECT_FALSE(mnemonic_matches("&&Datei", "d")) << "\"&&\" is a literal ampersand";
    EXPECT_FALSE(mnemonic_matches("&Datei", ""));
}

TEST(MenuNavigator, TheMouseOpensWithoutHighlightAndKeepsSubmenusWhileInside) {
    MenuNavigator nav(bar());
    nav.open_title(2, false);
    ASSERT_EQ(nav.depth(), 1);
    EXPECT_EQ(nav.highlighted(0), -1);
    nav.key(Key::right);  // nothing highlighted: on to the next title
    EXPECT_EQ(nav.title(), 3);
    nav.open_title(2, false);
    nav.key(Key::up);  // from nothing, Up takes the last item
    EXPECT_EQ(highlighted_text(nav), "nach unten verschieben");

    nav.hover_item(0, 0);  // over "vergrößern": its submenu opens
    ASSERT_EQ(nav.depth(), 2);
    nav.hover_item(1, 2);  // "x5"
    nav.hover_item(0, 0);  // back over the same item: the submenu stays as it was
    ASSERT_EQ(nav.depth(), 2);
    EXPECT_EQ(nav.highlighted(1), 2);
    nav.hover_item(0, 2);  // a plain item closes it
    EXPECT_EQ(nav.depth(), 1);
    nav.hover_item(3, 0);  // no such menu: nothing happens
    nav.hover_item(0, 99);
    EXPECT_EQ(nav.highlighted(0), 2);
    EXPECT_FALSE(nav.click_item(0, 0).ended);  // a submenu's item only opens it
    MenuNavigator::Outcome click = nav.click_item(1, 0);
    EXPECT_TRUE(click.ended);
    EXPECT_EQ(click.chosen, 51684);
}
