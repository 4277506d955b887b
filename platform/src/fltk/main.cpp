// The program's entry on Linux: opens the X display, installs the FLTK
// backend and runs WinMain as the Win32 runtime would.
#include <FL/Fl.H>
#include <FL/x.H>
#include <X11/XKBlib.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "fltk/fltk_backend.h"

int main() {
    const char* name = std::getenv("DISPLAY");
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        if (name && *name)
            std::fprintf(stderr, "quimbar: cannot open the X display \"%s\"; the viewer needs a graphical session.\n",
                         name);
        else
            std::fprintf(stderr, "quimbar: no display (DISPLAY is not set); the viewer needs a graphical session.\n");
        return 1;
    }
    fl_open_display(display);
    // Holding a key down must not produce a release per repeat: keys act
    // once per release.
    Bool detectable = False;
    XkbSetDetectableAutoRepeat(display, True, &detectable);

    layer::install_backend(std::make_unique<layer::FltkBackend>());
    static char command_line[] = "";
    return WinMain(GetModuleHandleA(nullptr), nullptr, command_line, SW_SHOWNORMAL);
}
