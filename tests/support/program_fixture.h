// Runs the whole program on the headless backend: a fresh layer, the view
// state back at its start values, and a script of user actions.
#ifndef QUIMBAR_TEST_PROGRAM_FIXTURE_H
#define QUIMBAR_TEST_PROGRAM_FIXTURE_H

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "layer/headless.h"
#include "support/capture_stdout.h"
#include "support/reference.h"
#include "view_state.h"

namespace hl = layer::headless;

class Program : public ::testing::Test {
protected:
    void SetUp() override {
        zoom = 1.0, links = 0.0, oben = 0.0;
        a = 0.36, b = 0.46, a2 = 0.0, b2 = 0.0;
        j = 2, j2 = 0;
        for (char* z : {zeiger, zeiger2, zeiger3, zeiger4}) std::memset(z, 0, TEXTPUFFER);
        hl::install();
    }

    // Queues an action for the next time the program waits for input.
    void then(std::function<void()> action) { hl::at_idle(std::move(action)); }

    // Runs the program until the script closes the main window; the trace
    // of trigonometric passes is collected in `trace`.
    int run() {
        StdoutCapture capture;
        int code = hl::run_program();
        trace = capture.finish();
        return code;
    }

    // Ends the script: the close box of the main window.
    void then_close() {
        then([] { hl::close_box(hl::main_window()); });
    }

    // Pixels of the main window's client area that differ from the model's
    // picture for the current view state.
    static size_t differences_from_model() {
        ref::Familie f = j == 1   ? ref::Familie::mandel
                         : j == 2 ? ref::Familie::julia
                         : j == 4 ? ref::Familie::kubisch
                         : j2 == 0 ? ref::Familie::sinus
                         : j2 == 1 ? ref::Familie::sinus_getauscht
                                   : ref::Familie::kosinus;
        std::vector<uint32_t> model = ref::bild({f, a, b, a2, b2, zoom, links, oben});
        HWND w = hl::main_window();
        const auto& screen = hl::screen(w);
        int width = hl::client_width(w), height = hl::client_height(w);
        size_t n = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                COLORREF expected = (x < 500 && y < 501) ? model[y * 500 + x] : 0;
                n += screen[static_cast<size_t>(y) * width + x] != expected;
            }
        return n;
    }

    std::string trace;
};

#endif
