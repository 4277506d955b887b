// Start-up: register the window class, create and show the main window
// (its first paint draws the start-up picture) and pump messages until the
// quit message arrives.
#include <windows.h>

#include "resource.h"
#include "view_state.h"
#include "window_procedure.h"

int WINAPI WinMain(HINSTANCE hI, HINSTANCE hPrI, LPSTR szCmdLine, int iCmdShow) {
    (void)hPrI;
    (void)szCmdLine;
    char szName[8] = "Quimbar";  // class name and window title

    WNDCLASSA wndclass;
    wndclass.style = CS_HREDRAW | CS_VREDRAW;
    wndclass.lpfnWndProc = WndProc;
    wndclass.cbClsExtra = 0;
    wndclass.cbWndExtra = 0;
    wndclass.hInstance = hI;
    wndclass.hIcon = LoadIconA(hI, "Dizev3.ico");
    if (!wndclass.hIcon) {
        // No resource bears that name; show the program's own icon.
        wndclass.hIcon = LoadIconA(hI, MAKEINTRESOURCEA(IDI_ICON1));
    }
    wndclass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wndclass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wndclass.lpszMenuName = "UNSERMENU";
    wndclass.lpszClassName = szName;
    RegisterClassA(&wndclass);

    pixelwidth = 500;
    pixelheight = 500;
    HWND hwnd = CreateWindowExA(0, szName, szName, WS_OVERLAPPEDWINDOW, 250, 150, pixelwidth, pixelheight, nullptr,
                                nullptr, hI, nullptr);
    hwnd7 = hwnd;

    ShowWindow(hwnd, iCmdShow);
    UpdateWindow(hwnd);  // paints the start-up picture before the loop starts

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
