// The program's entry on Linux: makes standard output safe to write, opens
// the X display, installs the FLTK backend and runs WinMain as the Win32
// runtime would.
#include <FL/Fl.H>
#include <FL/x.H>
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "fltk/fltk_backend.h"
#include "fltk/key_releases.h"

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
    layer::fltk::keep_key_releases(display);

    layer::install_backend(std::make_unique<layer::fltk::FltkBackend>());
    static char command_line[] = "";
    return WinMain(GetModuleHandleA(nullptr), nullptr, command_line, SW_SHOWNORMAL);
}
