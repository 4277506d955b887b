#include "fltk/key_releases.h"

#include <FL/Fl.H>
#include <X11/XKBlib.h>

namespace layer::fltk {

namespace {

// Runs for each X event before FLTK handles it. FLTK 1.3 treats a release
// whose next queued event is a press of the same key with the same time
// stamp as auto-repeat and drops the release. With detectable auto-repeat
// the server sends no such releases, so the release is real: it is moved
// back by one millisecond, which FLTK no longer matches with the press.
int keep_release(void* event, void*) {
    auto* xevent = static_cast<XEvent*>(event);
    if (xevent->type != KeyRelease) return 0;
    XKeyEvent& release = xevent->xkey;
    if (!XPending(release.display)) return 0;
    XEvent next;
    XPeekEvent(release.display, &next);
    if (next.type == KeyPress && next.xkey.keycode == release.keycode && next.xkey.time == release.time)
        release.time -= 1;
    return 0;  // FLTK handles the event
}

}  // namespace

void keep_key_releases(Display* display) {
    Bool detectable = False;
    if (XkbSetDetectableAutoRepeat(display, True, &detectable) && detectable)
        Fl::add_system_handler(keep_release, nullptr);
}

}  // namespace layer::fltk
