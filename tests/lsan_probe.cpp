// Sets up FLTK's fonts on the display as the viewer does, then exits; with
// the argument "leak" it first loses a block of its own, which
// LeakSanitizer must report despite the suppressions built in.
#include <FL/Fl.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <cstdlib>
#include <cstring>

namespace {

void* volatile kept;

[[gnu::noinline]] void leak_of_ours() {
    kept = std::malloc(1000);
    kept = nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    fl_open_display();
    for (int size = 6; size <= 40; ++size) {
        fl_font(FL_HELVETICA, size);
        fl_width("Quimbar");
    }
    if (argc > 1 && std::strcmp(argv[1], "leak") == 0) leak_of_ours();
    return 0;
}
