// Whole pictures: every pass against the independent model in
// support/reference.cpp, pixel for pixel, for the start-up view and views of
// each family, including views where many counts sit at the 510/511 limit.
#include <gtest/gtest.h>

#include <map>

#include "farbgesetz.h"
#include "julia.h"
#include "julia_kub.h"
#include "julia_sin.h"
#include "layer/device_context.h"
#include "mandelbrot.h"
#include "support/capture_stdout.h"
#include "support/reference.h"
#include "support/view_guard.h"
#include "view_state.h"

namespace {

using ref::Familie;

void zeichne(const ref::Ansicht& v, layer::MemoryDC& dc) {
    a = v.a, b = v.b, a2 = v.a2, b2 = v.b2;
    zoom = v.zoom, links = v.links, oben = v.oben;
    switch (v.familie) {
    case Familie::mandel:
        zeichne_mandelbrot(dc.hdc());
        break;
    case Familie::julia:
        jm.zeichne(dc.hdc());
        break;
    case Familie::kubisch:
        jmk.zeichne(dc.hdc());
        break;
    default: {
        j2 = v.familie == Familie::sinus ? 0 : v.familie == Familie::sinus_getauscht ? 1 : 2;
        StdoutCapture quiet;  // the trace is checked elsewhere
        jmSin.zeichne(dc.hdc());
        break;
    }
    }
}

size_t unterschiede(const std::vector<uint32_t>& a, const std::vector<COLORREF>& b) {
    size_t n = 0;
    for (size_t k = 0; k < a.size(); ++k) n += a[k] != b[k];
    return n;
}

struct Fall {
    const char* name;
    ref::Ansicht ansicht;
};

void PrintTo(const Fall& f, std::ostream* os) { *os << f.name; }

class Bild : public ::testing::TestWithParam<Fall> {
protected:
    ViewGuard guard;
};

TEST_P(Bild, EqualsTheIndependentModel) {
    const ref::Ansicht& v = GetParam().ansicht;
    layer::MemoryDC dc(RASTER_BREITE, RASTER_HOEHE);
    zeichne(v, dc);
    EXPECT_EQ(unterschiede(ref::bild(v), dc.pixels()), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Familien, Bild,
    ::testing::Values(
        Fall{"StartUp", {Familie::julia, 0.36, 0.46, 0, 0, 1, 0, 0}},
        Fall{"JuliaDialogDefault", {Familie::julia, 0.313, 0.4172, 0, 0, 1, 0, 0}},
        Fall{"JuliaZoomedAndMoved", {Familie::julia, -0.8, 0.156, 0, 0, 6, 0.125, -0.375}},
        Fall{"Mandelbrot", {Familie::mandel, 0, 0, 0, 0, 1, 0, 0}},
        Fall{"MandelbrotSeahorse", {Familie::mandel, 0, 0, 0, 0, 40, -0.75, 0.1}},
        Fall{"CubicDialogDefault", {Familie::kubisch, 0, 0, -0.574, 0.271, 1, 0, 0}},
        Fall{"CubicStartUpValues", {Familie::kubisch, 0.36, 0.46, 0, 0, 1, 0, 0}},
        Fall{"CubicLargeE", {Familie::kubisch, 0.2, -0.3, 2, 2, 0.5, 0, 0}},
        Fall{"SineCoarse", {Familie::sinus, 1.2, 0.4, 0, 0, 0.05, 0, 0}},
        Fall{"ExchangedSineCoarse", {Familie::sinus_getauscht, 1.2, 0.4, 0, 0, 0.05, 0, 0}},
        Fall{"CosineCoarse", {Familie::kosinus, 1.2, 0.4, 0, 0, 0.05, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

// Views on the edge of the Mandelbrot and Julia sets just right of c = 1/4,
// where escape times pile up around 510: they must contain pixels escaping
// after exactly 510 and 511 steps (drawn as counts 510 and 511) and pixels
// escaping later (also 511).
TEST(BildGrenze, CountsAtTheIterationLimit) {
    ViewGuard guard;
    const double c = 0.25 + 3.79e-5;
    for (const ref::Ansicht& v : {ref::Ansicht{Familie::mandel, 0, 0, 0, 0, 2e6, c, 0},
                                  ref::Ansicht{Familie::julia, c, 0, 0, 0, 3, 0, 0}}) {
        std::map<int, int> flucht;
        for (int y = 0; y < 501; y += 5)
            for (int x = 0; x < 500; x += 5) ++flucht[std::min(ref::flucht(v, x, y, 520), 512)];
        SCOPED_TRACE(int(v.familie));
        EXPECT_GT(flucht[510], 0);
        EXPECT_GT(flucht[511], 0);
        EXPECT_GT(flucht[512], 0);

        layer::MemoryDC dc(RASTER_BREITE, RASTER_HOEHE);
        zeichne(v, dc);
        EXPECT_EQ(unterschiede(ref::bild(v), dc.pixels()), 0u);
    }
}

}  // namespace
