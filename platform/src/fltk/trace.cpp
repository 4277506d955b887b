// The idle/paint trace (QUIMBAR_TRACE_IDLE), see widgets.h.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "fltk/widgets.h"

namespace layer::fltk::trace {

namespace {

using Clock = std::chrono::steady_clock;

const bool on = std::getenv("QUIMBAR_TRACE_IDLE") != nullptr;
long traced_paints = -1;
std::optional<Clock::time_point> paint_started_at;  // of the paint being timed
Clock::time_point paint_shown_at;                    // its last rows went to the display
std::optional<Clock::time_point> menu_closed_at;     // of the menu whose choice is being timed

double ms_since(Clock::time_point from, Clock::time_point to = Clock::now()) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

}  // namespace

void paint_started() {
    if (menu_closed_at) {
        std::fprintf(stderr, "quimbar-trace: menu to paint %.2f ms\n", ms_since(*menu_closed_at));
        std::fflush(stderr);
        menu_closed_at.reset();
    }
    if (on && !paint_started_at) paint_started_at = Clock::now();
}

void rows_shown() {
    if (paint_started_at) paint_shown_at = Clock::now();
}

void upload(bool shared) {
    if (!on) return;
    std::fprintf(stderr, "quimbar-trace: upload by %s\n", shared ? "MIT-SHM" : "fl_draw_image");
    std::fflush(stderr);
}

void menu_closed() {
    if (on) menu_closed_at = Clock::now();
}

void idle() {
    // One line whenever the program goes idle with a new paint count: tests
    // wait on it instead of sleeping.
    long paints = main_window() ? main_window()->paints : 0;
    if (!on || paints == traced_paints) return;
    traced_paints = paints;
    if (paint_started_at) {
        if (paint_shown_at > *paint_started_at)
            std::fprintf(stderr, "quimbar-trace: picture shown after %.1f ms\n",
                         ms_since(*paint_started_at, paint_shown_at));
        std::fprintf(stderr, "quimbar-trace: paint took %.1f ms\n", ms_since(*paint_started_at));
        paint_started_at.reset();
    }
    std::fprintf(stderr, "quimbar-trace: idle paints=%ld\n", paints);
    std::fflush(stderr);
}

}  // namespace layer::fltk::trace
