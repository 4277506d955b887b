// quimbar-probe: looks into a running quimbar.exe from outside, for the
// end-to-end tests under Wine. Console program; one command per call, results
// on stdout as plain lines (UTF-8), exit code 0 on success, 1 on failure.
//
//   wait-window [ms]        wait until the main window exists, then sync
//   sync [ms]               wait until the program has handled what is queued
//                           and the main window has nothing left to paint
//   geometry                "title T", "window X Y W H", "client X Y W H"
//                           (screen coordinates, outer and client area)
//   pixels X Y W H OUT.ppm  GetPixel of the main window's client area
//   dialog                  the open modal dialog: title, rectangle, every
//                           control (id, class, rectangle, text), the focus
//   settext ID TEXT         WM_SETTEXT into control ID of the open dialog
//   gettext ID              the text of control ID of the open dialog
//   command ID              post WM_COMMAND ID to the main window
//   statics POINTS          every static text of the open dialog measured
//                           with GetTextExtentPoint32 in its font ("MS Sans
//                           Serif" at POINTS, made as the dialog manager
//                           makes it): "base X" (its average letter width),
//                           then "static TEXT-WIDTH CONTROL-WIDTH TEXT"
//   time-paint N            invalidate the main window N times, one at a
//                           time, and print each full paint's milliseconds
//   menus N [ms]            wait until N or more popup menus (class #32768)
//                           are on screen; prints how many
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr DWORD SEND_TIMEOUT_MS = 120000;  // a slow pass under Wine takes seconds

void fail(const char* what) {
    std::fprintf(stderr, "quimbar-probe: %s\n", what);
    std::exit(1);
}

std::string utf8(const std::wstring& w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), &s[0], n, nullptr, nullptr);
    return s;
}

std::wstring wide(const char* s) {
    int n = MultiByteToWideChar(CP_UTF8, 0, s, -1, nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s, -1, &w[0], n);
    w.resize(static_cast<size_t>(n > 0 ? n - 1 : 0));
    return w;
}

// Window texts are read with WM_GETTEXT, which the system marshals across
// processes (GetWindowText does not ask another process's controls).
std::wstring text_of(HWND w) {
    DWORD_PTR len = 0;
    SendMessageTimeoutW(w, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, SEND_TIMEOUT_MS, &len);
    std::vector<wchar_t> buf(len + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(w, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()), SMTO_NORMAL,
                        SEND_TIMEOUT_MS, &got);
    return std::wstring(buf.data(), got);
}

std::string class_of(HWND w) {
    char name[64] = {};
    GetClassNameA(w, name, sizeof name);
    return name;
}

HWND main_window() { return FindWindowA("Quimbar", nullptr); }

HWND need_main_window() {
    HWND w = main_window();
    if (!w) fail("no window of class Quimbar");
    return w;
}

// The program handles a message sent from another thread only when it asks
// for its next message, so the answer comes after any running pass.
bool round_trip(HWND w) {
    DWORD_PTR r = 0;
    return SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_NORMAL, SEND_TIMEOUT_MS, &r) != 0;
}

bool nothing_to_paint(HWND w) { return !GetUpdateRect(w, nullptr, FALSE); }

// Idle means: two round trips 50 ms apart, each followed by an empty update
// region. A paint clears the region when it begins, so the second round
// trip waits for a paint that began just after the first look; the pause
// lets messages posted to the program (menu choices, keys) be taken first.
bool sync(HWND w, DWORD timeout_ms) {
    DWORD start = GetTickCount();
    int quiet = 0;
    while (GetTickCount() - start < timeout_ms) {
        if (!round_trip(w)) return false;
        quiet = nothing_to_paint(w) ? quiet + 1 : 0;
        if (quiet >= 3) return true;
        Sleep(50);
    }
    return false;
}

DWORD arg_ms(int argc, char** argv, int index, DWORD fallback) {
    return argc > index ? static_cast<DWORD>(std::strtoul(argv[index], nullptr, 10)) : fallback;
}

int cmd_wait_window(DWORD timeout_ms) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeout_ms) {
        HWND w = main_window();
        if (w && IsWindowVisible(w)) return sync(w, timeout_ms) ? 0 : 1;
        Sleep(50);
    }
    fail("the main window did not appear");
    return 1;
}

void print_rect(const char* label, const RECT& r) {
    std::printf("%s %ld %ld %ld %ld\n", label, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

RECT client_on_screen(HWND w) {
    RECT c;
    GetClientRect(w, &c);
    POINT origin = {0, 0};
    ClientToScreen(w, &origin);
    OffsetRect(&c, origin.x, origin.y);
    return c;
}

int cmd_geometry() {
    HWND w = need_main_window();
    std::printf("title %s\n", utf8(text_of(w)).c_str());
    RECT r;
    GetWindowRect(w, &r);
    print_rect("window", r);
    print_rect("client", client_on_screen(w));
    return 0;
}

int cmd_pixels(int x0, int y0, int width, int height, const char* out) {
    HWND w = need_main_window();
    HDC dc = GetDC(w);
    std::vector<unsigned char> rgb;
    rgb.reserve(static_cast<size_t>(width) * height * 3);
    for (int y = y0; y < y0 + height; ++y) {
        for (int x = x0; x < x0 + width; ++x) {
            COLORREF c = GetPixel(dc, x, y);
            rgb.push_back(GetRValue(c));
            rgb.push_back(GetGValue(c));
            rgb.push_back(GetBValue(c));
        }
    }
    ReleaseDC(w, dc);
    FILE* f = std::fopen(out, "wb");
    if (!f) fail("cannot write the picture");
    std::fprintf(f, "P6\n%d %d\n255\n", width, height);
    std::fwrite(rgb.data(), 1, rgb.size(), f);
    std::fclose(f);
    return 0;
}

// The modal dialog: a visible top-level window of the dialog class that the
// main window owns.
HWND open_dialog() {
    HWND owner = need_main_window();
    struct Search {
        HWND owner;
        HWND found;
    } search = {owner, nullptr};
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            if (IsWindowVisible(w) && class_of(w) == "#32770" && GetWindow(w, GW_OWNER) == s->owner) {
                s->found = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND need_dialog() {
    HWND d = open_dialog();
    if (!d) fail("no dialog is open");
    return d;
}

int cmd_dialog() {
    HWND d = need_dialog();
    std::printf("dialog %s\n", utf8(text_of(d)).c_str());
    RECT r;
    GetWindowRect(d, &r);
    print_rect("window", r);
    print_rect("client", client_on_screen(d));
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(d, nullptr), &gui);
    for (HWND c = GetWindow(d, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        GetWindowRect(c, &r);
        std::printf("control %d %s %ld %ld %ld %ld %s\n", GetDlgCtrlID(c), class_of(c).c_str(), r.left, r.top,
                    r.right - r.left, r.bottom - r.top, utf8(text_of(c)).c_str());
    }
    if (gui.hwndFocus) {
        std::printf("focus %d\n", GetDlgCtrlID(gui.hwndFocus));
        if (class_of(gui.hwndFocus) == "Edit") {
            DWORD_PTR sel = 0;
            SendMessageTimeoutA(gui.hwndFocus, EM_GETSEL, 0, 0, SMTO_NORMAL, SEND_TIMEOUT_MS, &sel);
            std::printf("selection %u %u\n", static_cast<unsigned>(LOWORD(sel)), static_cast<unsigned>(HIWORD(sel)));
        }
    }
    return 0;
}

HWND need_control(const char* id) {
    HWND c = GetDlgItem(need_dialog(), std::atoi(id));
    if (!c) fail("the dialog has no such control");
    return c;
}

int cmd_settext(const char* id, const char* text) {
    std::wstring w = wide(text);
    DWORD_PTR r = 0;
    SendMessageTimeoutW(need_control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str()), SMTO_NORMAL,
                        SEND_TIMEOUT_MS, &r);
    return r ? 0 : 1;
}

int cmd_gettext(const char* id) {
    std::printf("%s\n", utf8(text_of(need_control(id))).c_str());
    return 0;
}

int cmd_command(const char* id) {
    return PostMessageA(need_main_window(), WM_COMMAND, static_cast<WPARAM>(std::strtoul(id, nullptr, 10)), 0) ? 0
                                                                                                               : 1;
}

int cmd_statics(int points) {
    HWND d = need_dialog();
    HDC dc = GetDC(nullptr);
    HFONT font = CreateFontW(-(points * GetDeviceCaps(dc, LOGPIXELSY) / 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, 0, 0, PROOF_QUALITY, FF_DONTCARE, L"MS Sans Serif");
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size = {};
    GetTextExtentPoint32W(dc, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &size);
    std::printf("base %ld\n", (size.cx / 26 + 1) / 2);
    for (HWND c = GetWindow(d, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (class_of(c) != "Static") continue;
        std::wstring text = text_of(c);
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        RECT r;
        GetClientRect(c, &r);
        std::printf("static %ld %ld %s\n", size.cx, r.right - r.left, utf8(text).c_str());
    }
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    return 0;
}

int cmd_time_paint(int repeats) {
    HWND w = need_main_window();
    if (!sync(w, SEND_TIMEOUT_MS)) fail("the program does not become idle");
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    for (int n = 0; n < repeats; ++n) {
        LARGE_INTEGER t0, t1;
        QueryPerformanceCounter(&t0);
        InvalidateRect(w, nullptr, TRUE);
        // The paint starts when the program finds its queue empty; the
        // round trip after it returns when the paint has ended.
        while (!nothing_to_paint(w)) Sleep(0);
        round_trip(w);
        QueryPerformanceCounter(&t1);
        std::printf("%.1f\n", 1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / freq.QuadPart);
        std::fflush(stdout);
    }
    return 0;
}

BOOL CALLBACK count_menu(HWND w, LPARAM count) {
    if (IsWindowVisible(w) && class_of(w) == "#32768") ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int cmd_menus(int wanted, DWORD timeout_ms) {
    DWORD start = GetTickCount();
    for (;;) {
        int count = 0;
        EnumWindows(count_menu, reinterpret_cast<LPARAM>(&count));
        if (count >= wanted) {
            std::printf("%d\n", count);
            return 0;
        }
        if (GetTickCount() - start >= timeout_ms) fail("fewer popup menus open than awaited");
        Sleep(10);
    }
}

}  // namespace

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);  // "\n" stays "\n" for the shell
    if (argc < 2) fail("usage: quimbar-probe COMMAND [ARGS]");
    std::string cmd = argv[1];
    if (cmd == "wait-window") return cmd_wait_window(arg_ms(argc, argv, 2, 60000));
    if (cmd == "sync") return sync(need_main_window(), arg_ms(argc, argv, 2, 120000)) ? 0 : 1;
    if (cmd == "geometry") return cmd_geometry();
    if (cmd == "pixels" && argc == 7)
        return cmd_pixels(std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]), argv[6]);
    if (cmd == "dialog") return cmd_dialog();
    if (cmd == "settext" && argc == 4) return cmd_settext(argv[2], argv[3]);
    if (cmd == "gettext" && argc == 3) return cmd_gettext(argv[2]);
    if (cmd == "command" && argc == 3) return cmd_command(argv[2]);
    if (cmd == "statics" && argc == 3) return cmd_statics(std::atoi(argv[2]));
    if (cmd == "menus" && argc >= 3) return cmd_menus(std::atoi(argv[2]), arg_ms(argc, argv, 3, 60000));
    if (cmd == "time-paint" && argc == 3) return cmd_time_paint(std::max(1, std::atoi(argv[2])));
    fail("unknown command or wrong arguments");
    return 1;
}
