// quimbar-send: hands the running Linux viewer a command, as another
// program's PostMessage of WM_COMMAND does on Windows.
//
//   quimbar-send COMMAND-ID
//
// COMMAND-ID is a decimal number from 0 to 65535 (209: the exchanged sine).
// The tool finds the viewer's top-level window on $DISPLAY by its class
// (WM_CLASS "Quimbar"; of several, the topmost) and sends it an X client
// message of type QUIMBAR_WM_COMMAND, format 32, l[0] = wParam (the id,
// notification code 0), l[1] = lParam (0); the viewer's layer posts it to
// the window procedure as WM_COMMAND (platform/src/fltk/fltk_backend.cpp).
// Exit status: 0 sent, 1 no display or no viewer, 2 wrong arguments.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <strings.h>

#include <cstdio>
#include <cstdlib>

namespace {

bool x_error = false;

int note_error(Display*, XErrorEvent*) {
    x_error = true;  // a window went away meanwhile
    return 0;
}

// The viewer window at or below `w`: the topmost of class Quimbar, or None.
Window find_viewer(Display* display, Window w) {
    XClassHint hint{};
    if (XGetClassHint(display, w, &hint)) {
        bool viewer = hint.res_class && strcasecmp(hint.res_class, "Quimbar") == 0;
        XFree(hint.res_name);
        XFree(hint.res_class);
        if (viewer) return w;
    }
    Window root = None, parent = None, *children = nullptr, found = None;
    unsigned int count = 0;
    if (!XQueryTree(display, w, &root, &parent, &children, &count)) return None;
    for (unsigned int i = 0; i < count; ++i)  // bottom to top
        if (Window viewer = find_viewer(display, children[i])) found = viewer;
    if (children) XFree(children);
    return found;
}

}  // namespace

int main(int argc, char** argv) {
    char* end = nullptr;
    unsigned long id = argc == 2 ? std::strtoul(argv[1], &end, 10) : 0;
    if (argc != 2 || end == argv[1] || *end || argv[1][0] == '-' || id > 65535) {
        std::fprintf(stderr, "usage: quimbar-send COMMAND-ID (0 to 65535; 209: the exchanged sine)\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "quimbar-send: cannot open the X display\n");
        return 1;
    }
    XSetErrorHandler(note_error);
    Window viewer = find_viewer(display, DefaultRootWindow(display));
    if (viewer == None) {
        std::fprintf(stderr, "quimbar-send: no Quimbar viewer runs on this display\n");
        return 1;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = viewer;
    event.xclient.message_type = XInternAtom(display, "QUIMBAR_WM_COMMAND", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(id);
    event.xclient.data.l[1] = 0;
    x_error = false;
    XSendEvent(display, viewer, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    if (x_error) {
        std::fprintf(stderr, "quimbar-send: the viewer's window went away\n");
        return 1;
    }
    return 0;
}
