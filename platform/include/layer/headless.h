// The headless backend: the layer without a screen, for tests. The program
// runs for real (WinMain, its loop, nested dialog loops); whenever it would
// wait for input, the next scripted action runs instead. Actions act like a
// user: they choose menu items, release keys, type into dialog fields and
// press buttons, all through the same paths the screen backend uses.
#ifndef QUIMBAR_LAYER_HEADLESS_H
#define QUIMBAR_LAYER_HEADLESS_H

#include <windows.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace layer::headless {

// The program waited for input but the script had no action left.
struct ScriptExhausted : std::logic_error {
    ScriptExhausted() : logic_error("headless: the program waits for input and the test has no action left") {}
};

// Resets the layer (no windows, classes or messages) and installs a fresh
// headless backend with an empty script.
void install();

// Appends an action run when the program next waits for input.
void at_idle(std::function<void()> action);

// Runs WinMain as the program's main() would, returning its exit code.
int run_program();

// Windows.
HWND main_window();  // the first top-level window still alive, or null
HWND dialog();       // the innermost open modal dialog, or null
std::string dialog_title(HWND dlg);
std::string control_text(HWND dlg, int id);
HWND focused_control(HWND dlg);

// User actions.
void choose_menu(HWND w, int id);
void release_key(HWND w, int virtual_key);
void close_box(HWND w);
void expose(HWND w, const RECT& area);
void resize(HWND w, int client_width, int client_height);
// Replaces a field's whole text, as tabbing into it (which selects it) and
// typing does.
void type(HWND dlg, int id, const std::string& text);
void click(HWND dlg, int id);
// A key pressed in the dialog: VK_RETURN, VK_ESCAPE, VK_TAB (with Shift or
// not) or an arrow key, taken by the dialog manager as the screen's are.
void press_key(HWND dlg, int virtual_key, bool shift = false);

// What the screen shows: the client area, 0x00BBGGRR, row by row.
const std::vector<COLORREF>& screen(HWND w);
int client_width(HWND w);
int client_height(HWND w);
long paint_count(HWND w);
// How often rows were pushed to the screen.
long present_count();

}  // namespace layer::headless

#endif
