// The headless backend: no toolkit behind the windows, the script's actions
// where the program waits for input.
#include "layer/headless.h"

#include <deque>

#include "backend.h"

namespace layer::headless {

namespace {

class HeadlessBackend : public Backend {
public:
    std::deque<std::function<void()>> script;
    long presents = 0;

    void create_window(Wnd*) override {}
    void show_window(Wnd*, int) override {}
    void destroy_window(Wnd*) override {}
    void present(Wnd*, int, int) override { ++presents; }
    void create_dialog(Wnd*) override {}
    void destroy_dialog(Wnd*) override {}
    std::string control_text(Wnd* control) override { return control->text; }
    void set_focus(Wnd*) override {}
    void enable_window(Wnd*, bool) override {}
    void pump(bool block) override {
        if (!block) return;
        if (script.empty()) throw ScriptExhausted();
        auto action = std::move(script.front());
        script.pop_front();
        action();
    }
};

HeadlessBackend& the_backend() {
    auto* b = dynamic_cast<HeadlessBackend*>(&backend());
    if (!b) throw std::logic_error("headless: another backend is installed");
    return *b;
}

HWND handle(Wnd* w) { return w ? w->handle : nullptr; }

}  // namespace

void install() {
    reset();
    install_backend(std::make_unique<HeadlessBackend>());
}

void at_idle(std::function<void()> action) { the_backend().script.push_back(std::move(action)); }

int run_program() {
    char no_arguments[] = "";
    return WinMain(GetModuleHandleA(nullptr), nullptr, no_arguments, SW_SHOWNORMAL);
}

HWND main_window() { return handle(layer::main_window()); }
HWND dialog() { return handle(open_dialog()); }
std::string dialog_title(HWND dlg) { return wnd(dlg) ? wnd(dlg)->text : std::string(); }
std::string control_text(HWND dlg, int id) {
    Wnd* c = dialog_item(wnd(dlg), id);
    return c ? c->text : std::string();
}
HWND focused_control(HWND dlg) { return wnd(dlg) ? handle(backend().focused_control(wnd(dlg))) : nullptr; }

void choose_menu(HWND w, int id) { menu_chosen(wnd(w), id); }
void release_key(HWND w, int virtual_key) { key_released(wnd(w), virtual_key); }
void close_box(HWND w) { close_requested(wnd(w)); }
void expose(HWND w, const RECT& area) { window_exposed(wnd(w), area); }
void resize(HWND w, int width, int height) { window_resized(wnd(w), width, height); }
void type(HWND dlg, int id, const std::string& text) {
    Wnd* c = dialog_item(wnd(dlg), id);
    if (!c) throw std::logic_error("headless: no control " + std::to_string(id));
    c->parent->focus = c;
    c->text = text;
}
void click(HWND dlg, int id) { dialog_command(wnd(dlg), id); }
void press_key(HWND dlg, int virtual_key, bool shift) { dialog_key(wnd(dlg), virtual_key, shift); }

const std::vector<COLORREF>& screen(HWND w) { return wnd(w)->back; }
int client_width(HWND w) { return wnd(w)->client_width; }
int client_height(HWND w) { return wnd(w)->client_height; }
long paint_count(HWND w) { return wnd(w) ? wnd(w)->paints : 0; }
long present_count() { return the_backend().presents; }

}  // namespace layer::headless
