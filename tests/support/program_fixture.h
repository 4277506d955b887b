// Runs the whole program on the headless backend: a fresh layer, the view
// state back at its start values, and a script of user actions.
#ifndef QUIMBAR_TEST_PROGRAM_FIXTURE_H
#define QUIMBAR_TEST_PROGRAM_FIXTURE_H

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "layer/headless.h"
#include "support/capture_stdout.h"
#include "support/reference.h"
#include "view_state.h"

namespace hl = layer::headless;

class Program : public ::testing::Test {
    // The script's checks run while standard output is captured: their
    // failures are repeated on standard error.
    struct FailuresToStderr : ::testing::EmptyTestEventListener {
        void OnTestPartResult(const ::testing::TestPartResult& r) override {
            if (r.failed())
                std::fprintf(stderr, "%s:%d: Failure\n%s\n", r.file_name() ? r.file_name() : "?", r.line_number(),
                             r.message());
        }
    };

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
        FailuresToStderr report;
        ::testing::TestEventListeners& listeners = ::testing::UnitTest::GetInstance()->listeners();
        listeners.Append(&report);
        StdoutCapture capture;
        int code = hl::run_program();
        trace = capture.finish();
        listeners.Release(&report);
        return code;
    }

    // Ends the script: the close box of the main window.
    void then_close() {
        then([] { hl::close_box(hl::main_window()); });
    }

    // The main window's client area against the model's picture of the
    // current view (black beyond the 500 x 501 raster). `every` > 1 checks
    // every every-th row and column only, for views whose model takes
    // seconds. A failure names the view and the first differing pixel and
    // writes both pictures to program-failure/ beside the test.
    static ::testing::AssertionResult picture_matches_model(int every = 1) {
        const ref::Ansicht v{familie(), a, b, a2, b2, zoom, links, oben};
        HWND w = hl::main_window();
        const auto& screen = hl::screen(w);
        const int width = hl::client_width(w), height = hl::client_height(w);
        auto expected = [&](int x, int y) -> COLORREF { return x < 500 && y < 501 ? ref::punkt(v, x, y) : 0; };
        size_t checked = 0;
        for (int y = 0; y < height; y += every)
            for (int x = 0; x < width; x += every, ++checked) {
                const COLORREF want = expected(x, y), got = screen[static_cast<size_t>(y) * width + x];
                if (got == want) continue;
                std::ostringstream out;
                out << "view " << ref::name(v.familie) << " a=" << a << " b=" << b << " a2=" << a2 << " b2=" << b2
                    << " zoom=" << zoom << " links=" << links << " oben=" << oben << ": pixel (" << x << ", " << y
                    << ") is 0x" << std::hex << got << ", the model has 0x" << want << std::dec << " (first of "
                    << checked + 1 << " checked); pictures in " << write_failure_pictures(screen, width, height, v);
                return ::testing::AssertionFailure() << out.str();
            }
        return ::testing::AssertionSuccess();
    }

    std::string trace;

private:
    static ref::Familie familie() {
        return j == 1    ? ref::Familie::mandel
               : j == 2  ? ref::Familie::julia
               : j == 4  ? ref::Familie::kubisch
               : j2 == 0 ? ref::Familie::sinus
               : j2 == 1 ? ref::Familie::sinus_getauscht
                         : ref::Familie::kosinus;
    }

    // program-failure/<test>-screen.ppm and -model.ppm; returns the folder.
    static std::string write_failure_pictures(const std::vector<COLORREF>& screen, int width, int height,
                                              const ref::Ansicht& v) {
        const ::testing::TestInfo* t = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(t->test_suite_name()) + "." + t->name();
        for (char& c : name)
            if (c == '/') c = '_';
        const std::string folder = "program-failure";
        ::mkdir(folder.c_str(), 0755);
        std::vector<COLORREF> model(static_cast<size_t>(width) * height, 0);
        for (int y = 0; y < height && y < 501; ++y)
            for (int x = 0; x < width && x < 500; ++x) model[static_cast<size_t>(y) * width + x] = ref::punkt(v, x, y);
        ref::schreibe_ppm(folder + "/" + name + "-screen.ppm", screen, width, height);
        ref::schreibe_ppm(folder + "/" + name + "-model.ppm", model, width, height);
        return folder + "/" + name + "-{screen,model}.ppm";
    }
};

#endif
