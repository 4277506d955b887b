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

// Runs for each X event before FLTK handles it. FLTK 1.3 takes a release
// for auto-repeat, and drops it, when the next queued event is a press of the
// same key with the same time stamp, and it looks after reading whatever has
// arrived meanwhile. With detectable auto-repeat every release is real, so
// each is moved back by one millisecond: a later press never matches it.
int keep_release(void* event, void*) {
    auto* xevent = static_cast<XEvent*>(event);
    if (xevent->type == KeyRelease) xevent->xkey.time -= 1;
    return 0;  // FLTK handles the event
}

// Every key release reaches the program once, also one followed at once by a
// press of the same key with the same time stamp (keys sent by a program at
// full speed, or typed faster than the server's clock ticks). Where the
// server grants detectable auto-repeat (a held key sends presses only, and
// one release when let go) keep_release applies; elsewhere FLTK's own
// detection stays, all that makes a held key act once.
void keep_key_releases(Display* display) {
    Bool detectable = False;
    if (XkbSetDetectableAutoRepeat(display, True, &detectable) && detectable)
        Fl::add_system_handler(keep_release, nullptr);
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
    // Keys act once per release: holding a key down gives no release per
    // repeat, and quick identical keys each give their own.
    keep_key_releases(display);

    layer::fltk::install_backend();
    static char command_line[] = "";
    return WinMain(GetModuleHandleA(nullptr), nullptr, command_line, SW_SHOWNORMAL);
}
