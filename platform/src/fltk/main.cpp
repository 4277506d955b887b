// The program's entry on Linux: makes standard output safe to write, opens
// the X display, installs the FLTK backend and runs WinMain as the Win32
// runtime would.
#include <FL/Fl.H>
#include <FL/x.H>
#include <X11/XKBlib.h>
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "fltk/widgets.h"

namespace {

// A closed standard descriptor would go to the next file opened, the X
// connection among them, and the trace would be written into it: each
// closed one of 0, 1 and 2 is opened on /dev/null first.
void open_standard_descriptors() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) != -1) continue;
        int null = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (null >= 0 && null != fd) {
            dup2(null, fd);
            close(null);
        }
    }
}

// Every key release reaches the program once, also one followed at once by a
// press of the same key with the same time stamp (keys sent by a program at
// full speed, or typed faster than the server's clock ticks). FLTK 1.3 takes
// such a release for auto-repeat, and drops it, looking at the next queued
// event after reading whatever has arrived meanwhile. Where the server grants
// detectable auto-repeat (a held key sends presses only, and one release when
// let go) every release is real, so a handler that sees each X event before
// FLTK moves each back by one millisecond: a later press never matches it.
// Elsewhere FLTK's own detection stays, all that makes a held key act once.
void keep_key_releases(Display* display) {
    Bool detectable = False;
    if (!XkbSetDetectableAutoRepeat(display, True, &detectable) || !detectable) return;
    Fl::add_system_handler(
        [](void* event, void*) {
            auto* xevent = static_cast<XEvent*>(event);
            if (xevent->type == KeyRelease) xevent->xkey.time -= 1;
            return 0;  // FLTK handles the event
        },
        nullptr);
}

}  // namespace

int main() {
    open_standard_descriptors();
    // A reader of the trace that leaves early must not end the viewer: its
    // writes fail with EPIPE instead and the trace is lost, as on a full
    // device (ENOSPC); the pictures go on.
    std::signal(SIGPIPE, SIG_IGN);

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
    keep_key_releases(display);

    layer::fltk::install_backend();
    static char command_line[] = "";
    return WinMain(GetModuleHandleA(nullptr), nullptr, command_line, SW_SHOWNORMAL);
}
