// Every key release reaches the program, also a release followed at once by
// a press of the same key with the same time stamp (keys sent by a program
// at full speed, or typed faster than the server's clock ticks).
#ifndef QUIMBAR_LAYER_FLTK_KEY_RELEASES_H
#define QUIMBAR_LAYER_FLTK_KEY_RELEASES_H

#include <X11/Xlib.h>

namespace layer::fltk {

// Asks the server for detectable auto-repeat (a held key sends presses only,
// and one release when let go). Where the server grants it, every release is
// a real one, and a filter keeps FLTK from taking a release and the next
// press of the same key with the same time stamp for auto-repeat (FLTK 1.3
// then drops the release). Where the server does not grant it, FLTK's own
// detection stays: it is all that makes a held key act once.
void keep_key_releases(Display* display);

}  // namespace layer::fltk

#endif
