// Where the keyboard and the mouse stand in a window's menu, as Win32's menu
// mode keeps it: outside the menu, on a highlighted title with no menu open
// (after F10 or a lone Alt), or in a chain of open menus, each with its
// highlighted item. Pure state, no drawing, so that it can be tested alone.
#ifndef QUIMBAR_LAYER_FLTK_MENU_NAVIGATOR_H
#define QUIMBAR_LAYER_FLTK_MENU_NAVIGATOR_H

#include <string_view>
#include <vector>

#include "res_reader.h"

namespace layer::fltk {

class MenuNavigator {
public:
    enum class Key { left, right, up, down, enter, escape, menu_key };  // menu_key: Alt or F10

    // What a key or click did to the menu mode.
    struct Outcome {
        bool ended = false;  // menu mode is over
        int chosen = -1;     // the command of the chosen item, or -1 (ended too)
    };

    // `bar`: the menu bar's entries; they must outlive the navigator.
    explicit MenuNavigator(const std::vector<MenuItem>& bar) : bar_(bar) {}

    bool active() const { return title_ >= 0; }
    // The highlighted title, -1 outside menu mode.
    int title() const { return title_; }
    // How many menus are open: 0 outside menu mode and in bar mode, 1 with
    // the title's menu, one more for each submenu.
    int depth() const { return static_cast<int>(highlighted_.size()); }
    // The items of open menu `level` (0: the title's menu).
    const std::vector<MenuItem>& items(int level) const;
    // The highlighted item of open menu `level`, -1 for none.
    int highlighted(int level) const { return highlighted_[level]; }

    // F10 or a lone Alt: the first title highlighted, no menu open.
    void enter_bar();
    // Opens title `t`'s menu; from the keyboard with its first item
    // highlighted, from the mouse with none.
    void open_title(int t, bool from_keyboard);
    // Alt+letter outside menu mode: opens the title with that mnemonic
    // (first item highlighted). False when no title has it.
    bool open_by_mnemonic(std::string_view letter);
    void end();

    Outcome key(Key k);
    // A typed character in menu mode: in bar mode opens the title with that
    // mnemonic; in a menu chooses (or opens) the item with it, or, when
    // several items share it, highlights the next of them.
    Outcome letter(std::string_view letter);

    // The mouse over item `index` of open menu `level`: highlights it, closes
    // deeper menus, and opens the item's submenu if it has one.
    void hover_item(int level, int index);
    // A click released on item `index` of open menu `level`.
    Outcome click_item(int level, int index);

private:
    const std::vector<MenuItem>& bar_;
    int title_ = -1;
    std::vector<int> highlighted_;  // per open menu

    Outcome choose(int level, int index);
    void open_submenu(int level, int index, bool from_keyboard);
    // The title `step` titles on from the highlighted one, round the end.
    int next_title(int step) const;
    Outcome stay() const { return {}; }
};

// Whether `label` (a Win32 menu label) has `letter` as its mnemonic; ASCII
// letters match regardless of case.
bool mnemonic_matches(std::string_view label, std::string_view letter);

}  // namespace layer::fltk

#endif
