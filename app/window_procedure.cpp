#include "window_procedure.h"

#include "commands.h"
#include "paint_dispatch.h"

namespace {

// Every paint recomputes the whole raster; the platform clips it to the
// update region.
void male_fenster(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    zeichne_fraktal(hdc);
    EndPaint(hwnd, &ps);
}

}  // namespace

LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        male_fenster(hwnd);
        return 0;
    case WM_KEYUP:
        taste_losgelassen(static_cast<int>(wParam));
        return 0;
    case WM_COMMAND:
        befehl(hwnd, LOWORD(wParam));
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
