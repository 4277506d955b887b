#include "layer/headless.h"

#include <deque>

#include "core.h"

namespace layer::headless {

namespace {

class HeadlessBackend : public Backend {
public:
    std::deque<std::function<void()>> script;
    long presents = 0;

    void create_window(HWND) override {}
    void show_window(HWND, int) override {}
    void destroy_window(HWND) override {}
    void present(HWND, int, int) override { ++presents; }
    void create_dialog(HWND) override {}
    void destroy_dialog(HWND) override {}
    std::string control_text(HWND control) override { return control->text; }
    void set_focus(HWND) override {}
    void enable_window(HWND, bool) override {}
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

HWND main_window() { return layer::main_window(); }

HWND dialog() { return open_dialog(); }

std::string dialog_title(HWND dlg) { return alive(dlg) ? dlg->text : std::string(); }

std::string control_text(HWND dlg, int id) {
    HWND c = dialog_item(dlg, id);
    return c ? c->text : std::string();
}

HWND focused_control(HWND dlg) { return alive(dlg) ? dlg->focus : nullptr; }

void choose_menu(HWND w, int id) { menu_chosen(w, id); }
void release_key(HWND w, int virtual_key) { key_released(w, virtual_key); }
void close_box(HWND w) { close_requested(w); }
void expose(HWND w, const RECT& area) { window_exposed(w, area); }
void resize(HWND w, int width, int height) { window_resized(w, width, height); }

void type(HWND dlg, int id, const std::string& text) {
    HWND c = dialog_item(dlg, id);
    if (!c) throw std::logic_error("headless: no control " + std::to_string(id));
    dlg->focus = c;
    c->text = text;
}

void click(HWND dlg, int id) { dialog_command(dlg, id); }

void press_enter(HWND dlg) {
    HWND f = focused_control(dlg);
    dialog_command(dlg, f && f->control_kind == ControlKind::button ? f->id : IDOK);
}

void press_escape(HWND dlg) { dialog_command(dlg, IDCANCEL); }
void press_arrow(HWND dlg, int virtual_key) { dialog_arrow_key(dlg, focused_control(dlg), virtual_key); }

const std::vector<COLORREF>& screen(HWND w) { return w->back; }
int client_width(HWND w) { return w->client_width; }
int client_height(HWND w) { return w->client_height; }
long paint_count(HWND w) { return w ? w->paints : 0; }
long present_count() { return the_backend().presents; }

}  // namespace layer::headless
