// The main window's procedure.
#ifndef QUIMBAR_WINDOW_PROCEDURE_H
#define QUIMBAR_WINDOW_PROCEDURE_H

#include <windows.h>

LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

#endif
