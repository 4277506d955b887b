// The Win32 subset that Quimbar uses, for building the program on Linux.
//
// Types, constants and calls keep their Win32 names, sizes and meanings
// (the sizes follow the LP64 choice Wine makes: LONG and DWORD are 32 bits,
// handles and the *_PTR types are pointer-sized). Only what the program and
// its tests call is declared; the implementation lives in platform/src.
#ifndef QUIMBAR_LAYER_WINDOWS_H
#define QUIMBAR_LAYER_WINDOWS_H

#include <stddef.h>
#include <stdint.h>

#define WINAPI
#define CALLBACK

typedef int BOOL;
typedef int LONG;
typedef unsigned int UINT;
typedef unsigned int DWORD;
typedef unsigned short WORD;
typedef unsigned char BYTE;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void* LPVOID;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef DWORD COLORREF;
typedef WORD ATOM;

#define TRUE 1
#define FALSE 0

#define DECLARE_LAYER_HANDLE(name) \
    struct name##__;               \
    typedef struct name##__* name
DECLARE_LAYER_HANDLE(HWND);
DECLARE_LAYER_HANDLE(HDC);
DECLARE_LAYER_HANDLE(HINSTANCE);
DECLARE_LAYER_HANDLE(HICON);
DECLARE_LAYER_HANDLE(HMENU);
DECLARE_LAYER_HANDLE(HBRUSH);
#undef DECLARE_LAYER_HANDLE
typedef HICON HCURSOR;
typedef void* HGDIOBJ;

typedef struct tagPOINT { LONG x, y; } POINT;
typedef struct tagRECT { LONG left, top, right, bottom; } RECT;

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef INT_PTR(CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagMSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
} MSG, *LPMSG;

typedef struct tagPAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
} PAINTSTRUCT, *LPPAINTSTRUCT;

typedef struct tagWNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
} WNDCLASSA;

// Resource names: small integers travel in the pointer, as on Win32.
#define MAKEINTRESOURCEA(i) ((LPSTR)((UINT_PTR)((WORD)(i))))
#define MAKEINTRESOURCE MAKEINTRESOURCEA
#define IS_INTRESOURCE(p) ((((UINT_PTR)(p)) >> 16) == 0)

#define LOWORD(l) ((WORD)(((UINT_PTR)(l)) & 0xffff))
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)((WORD)(l) | ((DWORD)(WORD)(h) << 16)))
#define GetRValue(c) ((BYTE)(c))
#define GetGValue(c) ((BYTE)(((WORD)(c)) >> 8))
#define GetBValue(c) ((BYTE)((c) >> 16))

// Messages
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_SIZE 0x0005
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_ERASEBKGND 0x0014
#define WM_KEYUP 0x0101
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_SYSCOMMAND 0x0112

#define BN_CLICKED 0

// Virtual keys
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_ESCAPE 0x1B
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_ADD 0x6B
#define VK_SUBTRACT 0x6D

// Dialog results and standard control ids
#define IDOK 1
#define IDCANCEL 2

// Class styles
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002

// Window styles
#define WS_OVERLAPPED 0x00000000L
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_DLGFRAME 0x00400000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L
#define WS_GROUP 0x00020000L
#define WS_TABSTOP 0x00010000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_OVERLAPPEDWINDOW \
    (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
#define WS_EX_DLGMODALFRAME 0x00000001L

// Dialog styles
#define DS_SETFONT 0x0040L
#define DS_MODALFRAME 0x0080L
#define DS_3DLOOK 0x0004L

// Button, edit and static styles
#define BS_PUSHBUTTON 0x00000000L
#define BS_CENTER 0x00000300L
#define ES_LEFT 0x0000L
#define SS_LEFT 0x00000000L

// ShowWindow
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_SHOW 5

// Stock objects and system resources
#define BLACK_BRUSH 4
#define IDC_ARROW MAKEINTRESOURCEA(32512)

// The program's entry; the layer's main() calls it.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

ATOM WINAPI RegisterClassA(const WNDCLASSA* wc);
HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                            int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
BOOL WINAPI ShowWindow(HWND hwnd, int cmdShow);
BOOL WINAPI UpdateWindow(HWND hwnd);
BOOL WINAPI DestroyWindow(HWND hwnd);

BOOL WINAPI GetMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax);
BOOL WINAPI TranslateMessage(const MSG* msg);
LRESULT WINAPI DispatchMessageA(const MSG* msg);
BOOL WINAPI PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT WINAPI SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void WINAPI PostQuitMessage(int exitCode);
LRESULT WINAPI DefWindowProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

HDC WINAPI BeginPaint(HWND hwnd, LPPAINTSTRUCT ps);
BOOL WINAPI EndPaint(HWND hwnd, const PAINTSTRUCT* ps);
BOOL WINAPI InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
// A device context: the pixels it writes (0x00BBGGRR, `stride` a row, from
// row 0, column 0) and its clip rectangle. SetPixel is inline, since a pass
// calls it once per pixel: a write that continues the open run (same row,
// further right, before `run_end`) goes straight into the row; any other goes
// to the context's `hook`, which clips and writes it, and may open a run
// there (a paint context marks the row to show and now and then looks at the
// clock; a memory context opens none and counts every call).
struct HDC__ {
    static constexpr int no_run = -2147483647 - 1;  // no column lies below it
    COLORREF* pixels = nullptr;
    int stride = 0;
    RECT clip{};
    int run_row = no_run;
    int run_last = 0;                // column of the run's latest write
    int run_end = no_run;            // first column past the clip
    COLORREF* run_pixels = nullptr;  // the run's row, from column 0
    // Returns the colour set, or CLR_INVALID when (x, y) is clipped away.
    COLORREF (*hook)(HDC__* dc, int x, int y, COLORREF colour) = nullptr;
};
inline COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
    if (!hdc) return 0xFFFFFFFF;
    if (y == hdc->run_row && x > hdc->run_last && x < hdc->run_end) {
        hdc->run_last = x;
        return hdc->run_pixels[x] = color & 0x00FFFFFF;
    }
    return hdc->hook(hdc, x, y, color);
}
HGDIOBJ WINAPI GetStockObject(int object);

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name);
HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name);
HINSTANCE WINAPI GetModuleHandleA(LPCSTR moduleName);

INT_PTR WINAPI DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC dialogProc,
                               LPARAM initParam);
BOOL WINAPI EndDialog(HWND dialog, INT_PTR result);
UINT WINAPI GetDlgItemTextA(HWND dialog, int id, LPSTR text, int maxCount);

#endif
