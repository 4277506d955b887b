// MenuNavigator: the state of Win32's menu mode, without drawing.
#include "fltk/menu_navigator.h"

#include <strings.h>

#include <algorithm>

#include "fltk/helpers.h"

namespace layer::fltk {

namespace {

// The next item from `from` in direction `step` (+1 or -1), round the end;
// -1 if there is none. From -1 the first (or last).
int next_item(const std::vector<MenuItem>& items, int from, int step) {
    int n = static_cast<int>(items.size());
    if (n == 0) return -1;
    if (from < 0) return step > 0 ? 0 : n - 1;
    return (from + step + n) % n;
}

}  // namespace

bool mnemonic_matches(std::string_view label, std::string_view letter) {
    MenuLabel ml = parse_menu_label(label);
    if (letter.empty() || ml.mnemonic_begin < 0) return false;
    auto mnemonic = std::string_view(ml.text).substr(ml.mnemonic_begin, ml.mnemonic_end - ml.mnemonic_begin);
    return mnemonic.size() == letter.size() && strncasecmp(mnemonic.data(), letter.data(), letter.size()) == 0;
}

const std::vector<MenuItem>& MenuNavigator::items(int level) const {
    const std::vector<MenuItem>* list = &bar_[title_].items;
    for (int l = 0; l < level; ++l) list = &(*list)[highlighted_[l]].items;
    return *list;
}

void MenuNavigator::enter_bar() {
    highlighted_.clear();
    title_ = bar_.empty() ? -1 : 0;
}

void MenuNavigator::end() {
    title_ = -1;
    highlighted_.clear();
}

void MenuNavigator::open_title(int t, bool from_keyboard) {
    if (t < 0 || t >= static_cast<int>(bar_.size())) return;
    title_ = t;
    highlighted_.clear();
    highlighted_.push_back(from_keyboard ? next_item(bar_[t].items, -1, 1) : -1);
}

bool MenuNavigator::open_by_mnemonic(std::string_view letter) {
    auto title = std::find_if(bar_.begin(), bar_.end(),
                              [&](const MenuItem& t) { return mnemonic_matches(t.text, letter); });
    if (title == bar_.end()) return false;
    open_title(static_cast<int>(title - bar_.begin()), true);
    return true;
}

int MenuNavigator::next_title(int step) const {
    int n = static_cast<int>(bar_.size());
    return ((title_ + step) % n + n) % n;
}

void MenuNavigator::open_submenu(int level, int index, bool from_keyboard) {
    highlighted_.resize(level + 1);
    highlighted_[level] = index;
    const MenuItem& item = items(level)[index];
    if (item.popup) highlighted_.push_back(from_keyboard ? next_item(item.items, -1, 1) : -1);
}

MenuNavigator::Outcome MenuNavigator::choose(int level, int index) {
    const MenuItem& item = items(level)[index];
    if (item.popup) {
        open_submenu(level, index, true);
        return stay();
    }
    end();
    return Outcome{true, item.id};
}

MenuNavigator::Outcome MenuNavigator::key(Key k) {
    // Alt or F10 leaves menu mode, and so does Escape in bar mode.
    if (!active() || k == Key::menu_key || (k == Key::escape && highlighted_.empty())) {
        end();
        return Outcome{true, -1};
    }
    if (highlighted_.empty()) {  // bar mode
        switch (k) {
        case Key::left: title_ = next_title(-1); break;
        case Key::right: title_ = next_title(1); break;
        case Key::up:
        case Key::down:
        case Key::enter: open_title(title_, true); break;
        default: break;
        }
        return stay();
    }

    int level = depth() - 1;
    int current = highlighted_[level];
    const std::vector<MenuItem>& list = items(level);
    switch (k) {
    case Key::up:
    case Key::down: {
        int next = next_item(list, current, k == Key::up ? -1 : 1);
        if (next >= 0) highlighted_[level] = next;
        break;
    }
    case Key::right:
        if (current >= 0 && list[current].popup)
            open_submenu(level, current, true);
        else
            open_title(next_title(1), true);
        break;
    case Key::left:
        if (level > 0)
            highlighted_.pop_back();
        else
            open_title(next_title(-1), true);
        break;
    case Key::enter:
        if (current >= 0) return choose(level, current);
        break;
    case Key::escape:
        // One level back: a submenu closes into its menu, the title's menu
        // into the highlighted title.
        highlighted_.pop_back();
        break;
    default: break;
    }
    return stay();
}

MenuNavigator::Outcome MenuNavigator::letter(std::string_view letter) {
    if (!active()) return Outcome{true, -1};
    if (highlighted_.empty()) {
        open_by_mnemonic(letter);
        return stay();
    }
    int level = depth() - 1;
    const std::vector<MenuItem>& list = items(level);
    std::vector<int> matching;
    for (int i = 0; i < static_cast<int>(list.size()); ++i)
        if (mnemonic_matches(list[i].text, letter)) matching.push_back(i);
    if (matching.size() == 1) return choose(level, matching.front());
    if (matching.size() > 1) {
        auto next = std::upper_bound(matching.begin(), matching.end(), highlighted_[level]);
        highlighted_[level] = next != matching.end() ? *next : matching.front();
    }
    return stay();
}

void MenuNavigator::hover_item(int level, int index) {
    if (level < 0 || level >= depth() || index < 0 || index >= static_cast<int>(items(level).size())) return;
    // Moving within the item that opened a submenu keeps that submenu.
    if (highlighted_[level] == index && depth() > level + 1) return;
    open_submenu(level, index, false);
}

MenuNavigator::Outcome MenuNavigator::click_item(int level, int index) {
    if (level < 0 || level >= depth() || index < 0 || index >= static_cast<int>(items(level).size())) return stay();
    if (items(level)[index].popup) {
        open_submenu(level, index, false);
        return stay();
    }
    return choose(level, index);
}

}  // namespace layer::fltk
