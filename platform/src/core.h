// The core's private state, shared by its source files (core.cpp,
// dialog_manager.cpp); backends see only backend.h.
#ifndef QUIMBAR_LAYER_CORE_H
#define QUIMBAR_LAYER_CORE_H

#include <deque>
#include <map>

#include "backend.h"

// What the program's handles of these kinds stand for.
struct HBRUSH__ { COLORREF colour; };
struct HICON__ { int id; };
struct HINSTANCE__ { int unused; };

namespace layer {

struct WindowClass {
    std::string name;
    WNDCLASSA wc{};          // without the names, which need not outlive the call
    const Menu* menu = nullptr;
};

struct State {
    std::unique_ptr<Backend> backend;
    std::vector<WindowClass> classes;
    std::map<HWND, std::unique_ptr<Wnd>> windows;  // the live ones; handles grow, so in creation order
    std::deque<MSG> queue;
    bool quit_pending = false;
    int quit_code = 0;
    std::vector<Wnd*> dialogs;  // open modal dialogs, innermost last
};

State& state();

// Takes ownership of a new window and gives it a new handle.
Wnd* adopt(std::unique_ptr<Wnd> w);
// Frees w (the backend is done with it); its handle and queued messages are void.
void bury(Wnd* w);

// The bytes of quimbar.res, windres's build of resources/quimbar.rc, which
// the build embeds (cmake/embed.cmake): the program reads no files.
std::string_view embedded_res();

// The window procedure of dialogs.
LRESULT dialog_window_proc(Wnd* dlg, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace layer

#endif
