// The layer's private state, shared by the core's source files.
#ifndef QUIMBAR_LAYER_CORE_STATE_H
#define QUIMBAR_LAYER_CORE_STATE_H

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "core.h"

struct HBRUSH__ {
    COLORREF colour;
};
struct HICON__ {
    int id;
};
struct HINSTANCE__ {
    int unused;
};

namespace layer {

struct WindowClass {
    std::string name;
    WNDCLASSA wc{};          // without the names, which need not outlive the call
    const Menu* menu = nullptr;
};

struct State {
    std::unique_ptr<Backend> backend;
    std::vector<WindowClass> classes;
    std::vector<std::unique_ptr<HWND__>> windows;  // every window ever made, never freed before reset
    std::vector<HWND> live;                        // those not destroyed, creation order
    std::deque<MSG> queue;
    bool quit_pending = false;
    int quit_code = 0;
    std::vector<HWND> dialogs;  // open modal dialogs, innermost last
};

State& state();

// Whether h is a window of this layer that has not been destroyed.
bool alive(HWND h);
// Takes ownership of a new window, which is alive from then on.
HWND adopt(std::unique_ptr<HWND__> w);
// Marks h destroyed and drops the messages queued for it.
void bury(HWND h);

// The window procedure of dialogs.
LRESULT dialog_window_proc(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace layer

#endif
