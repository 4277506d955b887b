// The menu commands and keys of the main window: each changes the view
// state and invalidates the window, so the next paint shows the change.
#ifndef QUIMBAR_COMMANDS_H
#define QUIMBAR_COMMANDS_H

#include <windows.h>

// A WM_COMMAND identifier; unknown identifiers do nothing.
void befehl(HWND hwnd, int id);

// A released key (virtual-key code); keys without a command do nothing.
void taste_losgelassen(int virtual_key);

#endif
