// The four families point by point: escape tests, steps, the iteration
// limit, and what a pass leaves behind (raster order, farbe, the trace).
#include <gtest/gtest.h>

#include <cmath>
#include <string>

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

constexpr long SCHWARZ_200 = 56 * 256 + 56 * 65536;  // count 511, offset 200
constexpr long SCHWARZ_500 = 12 * 256 + 12 * 65536;  // count 511, offset 500
constexpr long WEISS_200 = 255 + 55 * 256 + 55 * 65536;  // count 0, offset 200
constexpr long WEISS_500 = 255 + 11 * 256 + 11 * 65536;  // count 0, offset 500

class Pass : public ::testing::Test {
protected:
    ViewGuard guard;
    layer::MemoryDC dc{RASTER_BREITE, RASTER_HOEHE};
};

// --- Mandelbrot -----------------------------------------------------------

TEST(MandelPoint, StartsAtCAndEscapesBeforeTheFirstStep) {
    MandelPoint p;
    p.setpoint(-2, -2);
    EXPECT_EQ(p.inbounds(), 0);
    EXPECT_EQ(p.getit(), 0);
    double x, y;
    p.showpoint(x, y);
    EXPECT_EQ(x, -2);
    EXPECT_EQ(y, -2);
}

TEST(MandelPoint, StepUsesTheOldValuesAndCountsFirst) {
    MandelPoint p;
    p.setpoint(1, 0);  // z = 1 -> 2: 4 is not below 4
    EXPECT_EQ(p.inbounds(), 1);
    p.next();
    EXPECT_EQ(p.getit(), 1);
    EXPECT_EQ(p.inbounds(), 0);

    p.setpoint(0.5, 1);  // z = c: z^2 + c = (0.25 - 1 + 0.5) + (1 + 1)i
    p.next();
    double x, y;
    p.showpoint(x, y);
    EXPECT_EQ(x, -0.25);
    EXPECT_EQ(y, 2.0);

    p.setpoint(NAN, 0);  // not a number stays in bounds
    EXPECT_EQ(p.inbounds(), 1);
}

TEST_F(Pass, MandelbrotColoursCornersAndLeavesTheLastPixelInTheGlobals) {
    zoom = 1, links = 0, oben = 0;
    zeichne_mandelbrot(dc.hdc());
    EXPECT_EQ(dc.at(0, 0), WEISS_200);  // c = -2 - 2i
    EXPECT_EQ(dc.calls(), 250500);

    zoom = 2, links = 1, oben = 1;  // pixel (0, 0) is c = 0
    zeichne_mandelbrot(dc.hdc());
    EXPECT_EQ(dc.at(0, 0), SCHWARZ_200);

    zoom = 1, links = -2, oben = 2;  // last pixel (499, 0) is c = 0 up to rounding
    zeichne_mandelbrot(dc.hdc());
    EXPECT_EQ(mPoint.getit(), 511);
    EXPECT_EQ(red, 0.0);
    EXPECT_EQ(green, -200.0);
    EXPECT_EQ(blue, -200.0);
    EXPECT_EQ(dc.at(499, 0), SCHWARZ_200);
}

// --- Quadratic Julia set ----------------------------------------------------

TEST(JuliaPunkt, EscapeTestAndStep) {
    Julia_Punkt p(2, 0, 0, 0);  // |z|^2 = 4 counts as escaped
    EXPECT_EQ(p.abbruch_kriterium(), 1);
    Julia_Punkt r(1.9999999999999998, 0, 0, 0);
    EXPECT_EQ(r.abbruch_kriterium(), 0);

    Julia_Punkt s(1, 2, 0.5, 0.25);
    s.folg();
    EXPECT_EQ(s.x, -2.5);
    EXPECT_EQ(s.y, 4.25);
    EXPECT_EQ(s.iterat_zahl, 1);
}

TEST(JuliaPunkt, DrawingConsumesTheCountAndStoresFarbe) {
    layer::MemoryDC dc(3, 3);
    Julia_Punkt p(0, 0, 0, 0);
    while (p.abbruch_kriterium() == 0 && p.iterat_zahl < 511) p.folg();
    EXPECT_EQ(p.iterat_zahl, 511);
    p.zeichne_Punkt(1, 2, dc.hdc());
    EXPECT_EQ(p.iterat_zahl, 7);
    EXPECT_EQ(farbe, SCHWARZ_200);
    EXPECT_EQ(dc.at(1, 2), SCHWARZ_200);
}

TEST_F(Pass, JuliaWalksTheRasterBottomRowFirstAndReadsTheCurrentParameters) {
    zoom = 1, links = 0, oben = 0, a = 0, b = 0;
    dc.record_calls(true);
    jm.zeichne(dc.hdc());
    const auto& log = dc.call_log();
    ASSERT_EQ(log.size(), 250500u);
    size_t k = 0;
    for (int y = 500; y >= 0; --y)
        for (int x = 0; x < 500; ++x, ++k)
            ASSERT_TRUE(log[k].x == x && log[k].y == y) << "call " << k;
    EXPECT_EQ(log.front().x, 0);
    EXPECT_EQ(log.front().y, 500);
    EXPECT_EQ(log.back().x, 499);
    EXPECT_EQ(log.back().y, 0);

    // c = 0 although jm was built with 0.36 + 0.46i: the unit disc is black.
    EXPECT_EQ(jm.cx, 0.36);
    EXPECT_EQ(dc.at(250, 250), SCHWARZ_200);
    EXPECT_EQ(dc.at(0, 0), WEISS_200);
    EXPECT_EQ(farbe, long(dc.at(499, 0)));
}

// --- Cubic Julia set --------------------------------------------------------

TEST(JuliaPunktKub, BoundIsTheLargerProductNotASum) {
    EXPECT_EQ(kub_schranke(0, 0, 0, 0), 2.0);
    EXPECT_EQ(kub_schranke(0, 0, 2, 2), 16.0);  // 2*2*2*2, not 8
    EXPECT_EQ(kub_schranke(3, -2, 0, 0), 8.0);  // |3 * -2| + 2
    EXPECT_EQ(kub_schranke(0, 0, -0.574, 0.271), 2.0);
    EXPECT_NEAR(kub_schranke(0.36, 0.46, 0, 0), 2.1656, 1e-15);
    // A failed comparison falls back to |dx*dy| + 2.
    EXPECT_EQ(kub_schranke(0, 0, NAN, 1), 2.0);
}

TEST(JuliaPunktKub, EscapeAtTheBound) {
    EXPECT_EQ(Julia_Punkt_kub(1, 1, 0, 0, 0, 0).abbruch_kriterium(), 1);  // |z|^2 = 2
    EXPECT_EQ(Julia_Punkt_kub(1, std::nextafter(1.0, 0.0), 0, 0, 0, 0).abbruch_kriterium(), 0);
    EXPECT_EQ(Julia_Punkt_kub(2.9, 0, 0, 0, 2, 2).abbruch_kriterium(), 0);  // 8.41 < 16
    EXPECT_EQ(Julia_Punkt_kub(4, 0, 0, 0, 2, 2).abbruch_kriterium(), 1);
}

TEST(JuliaPunktKub, StepIsZCubedPlusDzPlusE) {
    Julia_Punkt_kub p(1, 1, 2, 3, 0.5, -1);  // (1+i)^3 + (2+3i)(1+i) + 0.5 - i
    p.folg();
    EXPECT_EQ(p.x, -2.5);
    EXPECT_EQ(p.y, 6.0);
    EXPECT_EQ(p.iterat_zahl, 1);

    Julia_Punkt_kub eins(1, 0, 0, 0, 0, 0), i(0, 1, 0, 0, 0, 0);
    for (int n = 0; n < 511; ++n) {
        ASSERT_EQ(eins.abbruch_kriterium(), 0);
        ASSERT_EQ(i.abbruch_kriterium(), 0);
        eins.folg();
        i.folg();
    }
    EXPECT_EQ(eins.x, 1.0);
    EXPECT_EQ(i.y, -1.0);  // i, -i, i, ...: odd step count ends at -i
}

TEST_F(Pass, CubicReadsTheCurrentParametersAndLeavesFarbe) {
    zoom = 1, links = 0, oben = 0, a = 0, b = 0, a2 = 0, b2 = 0;
    jmk.zeichne(dc.hdc());
    EXPECT_EQ(dc.at(0, 0), WEISS_200);
    EXPECT_EQ(dc.at(250, 250), SCHWARZ_200);  // near 0: stays
    EXPECT_EQ(farbe, long(dc.at(499, 0)));
}

// --- Trigonometric Julia set ------------------------------------------------

TEST(JuliaPunktSin, EscapeLooksAtTheImaginaryPartOnly) {
    EXPECT_EQ(Julia_PunktSin(0, 50, 1, 1).abbruch_kriterium(), 0);
    EXPECT_EQ(Julia_PunktSin(0, 50.000001, 1, 1).abbruch_kriterium(), 1);
    EXPECT_EQ(Julia_PunktSin(0, -50.000001, 1, 1).abbruch_kriterium(), 1);
    EXPECT_EQ(Julia_PunktSin(1e300, 0, 1, 1).abbruch_kriterium(), 0);
}

TEST(JuliaPunktSin, OneStepOfEachVariant) {
    ViewGuard guard;
    const double halbpi = 1.5707963267948966;

    j2 = 0;
    Julia_PunktSin s(halbpi, 0, 1, 0);
    s.folg();
    EXPECT_EQ(s.x, 1.0);
    EXPECT_EQ(s.y, 0.0);

    j2 = 1;
    Julia_PunktSin t(halbpi, 0, 1, 0);
    t.folg();
    EXPECT_EQ(t.x, 0.0);
    EXPECT_EQ(t.y, 1.0);
    EXPECT_EQ(q, 1.0);  // the swap temporary keeps the old real part

    j2 = 2;
    Julia_PunktSin c(halbpi, 0, 1, 0);
    c.folg();
    EXPECT_NEAR(c.x, 0.0, 1e-15);
    EXPECT_EQ(c.y, 0.0);
    EXPECT_EQ(c.iterat_zahl, 1);

    // z <- c * sin z with c = i at z = i: i * i sinh(1) = -sinh(1).
    j2 = 0;
    Julia_PunktSin u(0, 1, 0, 1);
    u.folg();
    EXPECT_DOUBLE_EQ(u.x, -std::sinh(1.0));
    EXPECT_EQ(u.y, 0.0);
}

TEST(JuliaPunktSin, LargeRealPartRunsToTheLimit) {
    ViewGuard guard;
    j2 = 0;
    Julia_PunktSin p(1e300, 0, 1, 0);  // stays on the real axis forever
    while (p.abbruch_kriterium() == 0 && p.iterat_zahl < 511) p.folg();
    EXPECT_EQ(p.iterat_zahl, 511);
}

std::string erwartete_spur(const ref::Ansicht& v) {
    std::string spur;
    for (int y = 500; y >= 0; --y)
        for (int x = 0; x < 500; ++x) {
            double im = ref::im(y, v);
            long f = (im > 50 || im < -50) ? WEISS_500 : SCHWARZ_500;
            spur += "farbe=" + std::to_string(f);
        }
    return spur;
}

TEST_F(Pass, TrigWithZeroParameterTracesEveryPixelInRasterOrder) {
    a = 0, b = 0, links = 0, oben = 0;
    for (int variante : {0, 1, 2}) {
        SCOPED_TRACE(variante);
        j2 = variante;
        // At 0.333 every start point lies within +-50 and falls to 0: all 511.
        zoom = 0.333;
        StdoutCapture cap;
        jmSin.zeichne(dc.hdc());
        std::string spur = cap.finish();
        EXPECT_EQ(spur, erwartete_spur({ref::Familie::sinus, 0, 0, 0, 0, 0.333, 0, 0}));
        EXPECT_EQ(dc.at(0, 0), SCHWARZ_500);
        EXPECT_EQ(farbe, SCHWARZ_500);
    }
    // Below zoom 0.04 the top and bottom rows start beyond +-50: count 0.
    j2 = 0, zoom = 0.01;
    StdoutCapture cap;
    jmSin.zeichne(dc.hdc());
    std::string spur = cap.finish();
    ref::Ansicht v{ref::Familie::sinus, 0, 0, 0, 0, 0.01, 0, 0};
    EXPECT_EQ(spur, erwartete_spur(v));
    EXPECT_EQ(dc.at(0, 0), WEISS_500);
    EXPECT_EQ(dc.at(0, 250), SCHWARZ_500);
    EXPECT_EQ(spur.substr(0, 12), "farbe=723967");  // row 500 starts beyond +50
}

}  // namespace
