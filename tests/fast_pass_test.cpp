// The fast passes against the plain per-pixel passes: byte-identical pixels,
// the same SetPixel calls in the same order, the same trace bytes and the
// same values left in farbe, mPoint, red, green, blue and q, for random and
// extreme views of every family, every row kernel and 1, 2 and 8 workers.
// The row kernels are also checked alone, against the point classes, on
// rows of arbitrary start values; and the hand-over of the rows from the
// workers to the calling thread, with rows finishing in and out of order.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "farbgesetz.h"
#include "julia.h"
#include "julia_kub.h"
#include "julia_sin.h"
#include "kerne/schritte.h"
#include "kerne/zeilen.h"
#include "layer/device_context.h"
#include "mandelbrot.h"
#include "paint_dispatch.h"
#include "schnell.h"
#include "support/capture_stdout.h"
#include "support/view_guard.h"
#include "view_state.h"
#include "zaehlwerk.h"

namespace {

constexpr double INF = std::numeric_limits<double>::infinity();
const double NAN_ = std::numeric_limits<double>::quiet_NaN();

bool gleiche_bits(double u, double v) { return std::memcmp(&u, &v, sizeof u) == 0; }

// The choices that give the family's distinct row kernels in this build on
// this processor: the scalar kernel, and on x86 SSE2 and what the processor
// has of AVX2 and AVX-512.
std::vector<kerne::Kern> kerne_fuer(int familie) {
    using kerne::Kern;
    std::vector<Kern> wahl;
    std::vector<kerne::Zeilenkern> gesehen;
    for (Kern kern : {Kern::skalar, Kern::sse2, Kern::avx2, Kern::avx512}) {
        const kerne::Zeilenkern k = kerne::waehle(kern, static_cast<kerne::Familie>(familie));
        if (std::find(gesehen.begin(), gesehen.end(), k) != gesehen.end()) continue;
        gesehen.push_back(k);
        wahl.push_back(kern);
    }
    return wahl;
}

// --- Whole passes ------------------------------------------------------------

struct Ansicht {
    std::string name;
    int j, j2;
    double a, b, a2, b2, zoom, links, oben;
};

void PrintTo(const Ansicht& v, std::ostream* os) { *os << v.name; }

void stelle_ein(const Ansicht& v) {
    j = v.j, j2 = v.j2;
    a = v.a, b = v.b, a2 = v.a2, b2 = v.b2;
    zoom = v.zoom, links = v.links, oben = v.oben;
}

// Everything a pass leaves behind that a user or a test can see.
struct Spuren {
    std::vector<COLORREF> pixel;
    std::vector<POINT> aufrufe;
    std::string ausgabe;
    long farbe;
    double red, green, blue, q;
    int m_it;
    double m_x, m_y;
};

template <class Pass>
Spuren laufe(Pass pass) {
    // The same start values before every run, so that what a pass leaves
    // untouched compares equal too.
    farbe = -1;
    red = green = blue = q = -1;
    mPoint.setpoint(-5, -5);
    layer::MemoryDC dc(RASTER_BREITE, RASTER_HOEHE);
    dc.record_calls(true);
    StdoutCapture cap;
    pass(dc.hdc());
    Spuren s;
    s.ausgabe = cap.finish();
    s.pixel = dc.pixels();
    s.aufrufe = dc.call_log();
    s.farbe = farbe;
    s.red = red, s.green = green, s.blue = blue, s.q = q;
    s.m_it = mPoint.getit();
    mPoint.showpoint(s.m_x, s.m_y);
    return s;
}

void vergleiche(const Spuren& soll, const Spuren& ist) {
    size_t falsch = 0, erster = 0;
    for (size_t k = soll.pixel.size(); k-- > 0;)
        if (soll.pixel[k] != ist.pixel[k]) ++falsch, erster = k;
    EXPECT_EQ(falsch, 0u) << "first at x " << erster % RASTER_BREITE << ", y " << erster / RASTER_BREITE;

    ASSERT_EQ(soll.aufrufe.size(), ist.aufrufe.size());
    for (size_t k = 0; k < soll.aufrufe.size(); ++k)
        ASSERT_TRUE(soll.aufrufe[k].x == ist.aufrufe[k].x && soll.aufrufe[k].y == ist.aufrufe[k].y)
            << "SetPixel call " << k;

    ASSERT_EQ(soll.ausgabe.size(), ist.ausgabe.size());
    EXPECT_TRUE(soll.ausgabe == ist.ausgabe) << "trace differs at byte "
                                             << std::mismatch(soll.ausgabe.begin(), soll.ausgabe.end(),
                                                              ist.ausgabe.begin())
                                                        .first -
                                                    soll.ausgabe.begin();

    EXPECT_EQ(soll.farbe, ist.farbe);
    EXPECT_TRUE(gleiche_bits(soll.red, ist.red)) << soll.red << " " << ist.red;
    EXPECT_TRUE(gleiche_bits(soll.green, ist.green));
    EXPECT_TRUE(gleiche_bits(soll.blue, ist.blue));
    EXPECT_TRUE(gleiche_bits(soll.q, ist.q)) << soll.q << " " << ist.q;
    EXPECT_EQ(soll.m_it, ist.m_it);
    EXPECT_TRUE(gleiche_bits(soll.m_x, ist.m_x) && gleiche_bits(soll.m_y, ist.m_y));
}

class SchnellerPass : public ::testing::TestWithParam<Ansicht> {
protected:
    ViewGuard guard;
};

TEST_P(SchnellerPass, LeavesExactlyWhatThePlainPassLeaves) {
    stelle_ein(GetParam());
    const Spuren soll = laufe(zeichne_fraktal_einfach);

    // The best kernel with 1, 2 and 8 workers, the others with 2.
    using kerne::Kern;
    const kerne::Zeilenkern bester = kerne::waehle(Kern::bester, static_cast<kerne::Familie>(j));
    std::vector<std::pair<Kern, int>> weisen = {{Kern::bester, 1}, {Kern::bester, 2}, {Kern::bester, 8}};
    for (Kern kern : kerne_fuer(j))
        if (kerne::waehle(kern, static_cast<kerne::Familie>(j)) != bester) weisen.push_back({kern, 2});
    const Rechenweise vorher = rechenweise;
    for (const auto& [kern, arbeiter] : weisen) {
        SCOPED_TRACE("kernel " + std::to_string(int(kern)) + ", workers " + std::to_string(arbeiter));
        rechenweise.arbeiter = arbeiter;
        rechenweise.kern = kern;
        // What the program calls: the families' zeichne.
        vergleiche(soll, laufe(zeichne_fraktal));
    }
    rechenweise = vorher;
}

// Views chosen for what they exercise.
std::vector<Ansicht> besondere_ansichten() {
    const double rand = 0.25 + 3.79e-5;  // counts pile up at 510 and 511 here
    return {
        {"StartUp", 2, 0, 0.36, 0.46, 0, 0, 1, 0, 0},
        {"MandelbrotWhole", 1, 0, 0, 0, 0, 0, 1, 0, 0},
        {"MandelbrotAtTheLimit", 1, 0, 0, 0, 0, 0, 2e6, rand, 0},
        {"JuliaAtTheLimit", 2, 0, rand, 0, 0, 0, 3, 0, 0},
        {"MandelbrotBelowTheUlp", 1, 0, 0, 0, 0, 0, 1e17, -0.75, 0.1},
        {"MandelbrotZoomHuge", 1, 0, 0, 0, 0, 0, 1e300, -0.1, 0.2},
        {"MandelbrotZoomTiny", 1, 0, 0, 0, 0, 0, 1e-300, 0, 0},
        {"MandelbrotZoomUnderflowedNanOffset", 1, 0, 0, 0, 0, 0, 0.0, NAN_, 0},
        {"MandelbrotZoomOverflowed", 1, 0, 0, 0, 0, 0, INF, -0.5, 0.5},
        {"JuliaParameterHuge", 2, 0, 1e200, -1e200, 0, 0, 1, 0, 0},
        {"JuliaParameterNaN", 2, 0, NAN_, 0.5, 0, 0, 1, 0, 0},
        {"JuliaParameterInf", 2, 0, 0.1, -INF, 0, 0, 1, 0, 0},
        {"JuliaRealParameter", 2, 0, -1.0, 0, 0, 0, 1.5, 0, 0},
        {"CubicDialogDefault", 4, 0, 0, 0, -0.574, 0.271, 1, 0, 0},
        {"CubicStartUpValues", 4, 0, 0.36, 0.46, 0, 0, 1, 0, 0},
        {"CubicBoundFromE", 4, 0, 0.2, -0.3, 2, 2, 0.5, 0, 0},
        {"CubicHugeParameters", 4, 0, 1e100, 3e99, -1e160, 1e150, 0.01, 0, 0},
        {"CubicNaNBound", 4, 0, NAN_, 1, 0.5, 0.5, 1, 0, 0},
        {"CubicZoomHuge", 4, 0, 0.1, 0.2, -0.3, 0.1, 1e250, 0.3, -0.2},
        {"SineZeroParameter", 3, 0, 0, 0, 0, 0, 0.333, 0, 0},
        {"ExchangedSineZeroParameter", 3, 1, 0, 0, 0, 0, 1, 0, 0},
        {"CosineCoarse", 3, 2, 1.2, 0.4, 0, 0, 0.05, 0, 0},
        {"SineCoarse", 3, 0, 1.2, 0.4, 0, 0, 0.05, 0, 0},
        {"ExchangedSineCoarse", 3, 1, 1.2, 0.4, 0, 0, 0.05, 0, 0},
        {"SineHugeParameter", 3, 0, 1e10, -3e12, 0, 0, 0.333, 0, 0},
        {"CosineNaNParameter", 3, 2, NAN_, 0.2, 0, 0, 0.001, 0, 0},
        {"ExchangedSineInfParameter", 3, 1, INF, 0, 0, 0, 0.02, 0, 0},
        {"ExchangedSineNoPixelSteps", 3, 1, 0.7, 0.8, 0, 0, 1, 0, 1e6},  // q stays as it was
        {"SineLargeRealParts", 3, 0, 0.9, 0.05, 0, 0, 1e-12, 1e15, 0},
    };
}

int punktklasse(int familie, double x, double y, double a_, double b_, double a2_, double b2_);

// Random views of every family, from a fixed seed, centred where the counts
// vary: the count at the centre lies between 10 and 500.
std::vector<Ansicht> zufaellige_ansichten() {
    std::mt19937_64 zufall(20240611);
    auto gleich = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(zufall); };
    std::vector<Ansicht> v;
    for (int k = 0; k < 18; ++k) {
        const int familie = k % 3 == 0 ? 1 : k % 3 == 1 ? 2 : 4;
        Ansicht a_{"", familie, 0, 0, 0, 0, 0, std::exp2(gleich(-1, 48)), 0, 0};
        if (familie == 2) a_.a = gleich(-1.2, 0.5), a_.b = gleich(-1, 1);
        if (familie == 4) a_.a = gleich(-1, 1), a_.b = gleich(-1, 1), a_.a2 = gleich(-1, 1), a_.b2 = gleich(-1, 1);
        for (int versuch = 0; versuch < 10000; ++versuch) {
            a_.links = gleich(-2, 2), a_.oben = gleich(-2, 2);
            const int n = punktklasse(familie, a_.links, a_.oben, a_.a, a_.b, a_.a2, a_.b2);
            if (n >= 10 && n <= 500) break;
        }
        a_.name = std::string(familie == 1 ? "RandomMandelbrot" : familie == 2 ? "RandomJulia" : "RandomCubic") +
                  std::to_string(k / 3);
        v.push_back(a_);
    }
    // The trigonometric family is expensive to draw the plain way: coarse
    // views, where most orbits leave quickly, and the sine at its standard view.
    for (int k = 0; k < 3; ++k)
        v.push_back({"RandomTrig" + std::to_string(k), 3, k, gleich(-3, 3), gleich(-3, 3), 0, 0, gleich(0.03, 0.08),
                     gleich(-5, 5), gleich(-5, 5)});
    v.push_back({"SineStandard", 3, 0, 0.7, 0.8, 0, 0, 0.333, 0, 0});
    return v;
}

INSTANTIATE_TEST_SUITE_P(Special, SchnellerPass, ::testing::ValuesIn(besondere_ansichten()),
                         [](const auto& info) { return info.param.name; });
INSTANTIATE_TEST_SUITE_P(Random, SchnellerPass, ::testing::ValuesIn(zufaellige_ansichten()),
                         [](const auto& info) { return info.param.name; });

// --- Row kernels ---------------------------------------------------------------

// The count of the family's point class from (x, y).
int punktklasse(const kerne::Zeilenauftrag& t, double x, double y) {
    switch (t.familie) {
    case kerne::MANDELBROT: {
        MandelPoint p;
        p.setpoint(x, y);
        while (p.inbounds() && p.getit() < ITERATIONEN_MAX) p.next();
        return p.getit();
    }
    case kerne::JULIA: {
        Julia_Punkt p(x, y, t.a, t.b);
        while (p.abbruch_kriterium() == 0 && p.iterat_zahl < ITERATIONEN_MAX) p.folg();
        return p.iterat_zahl;
    }
    case kerne::KUBISCH: {
        Julia_Punkt_kub p(x, y, t.a, t.b, t.a2, t.b2);
        while (p.abbruch_kriterium() == 0 && p.iterat_zahl < ITERATIONEN_MAX) p.folg();
        return p.iterat_zahl;
    }
    default: {
        j2 = t.j2;
        Julia_PunktSin p(x, y, t.a, t.b);
        while (p.abbruch_kriterium() == 0 && p.iterat_zahl < ITERATIONEN_MAX) p.folg();
        return p.iterat_zahl;
    }
    }
}

int punktklasse(int familie, double x, double y, double a_, double b_, double a2_, double b2_) {
    kerne::Zeilenauftrag t;
    t.familie = static_cast<kerne::Familie>(familie);
    t.a = a_, t.b = b_, t.a2 = a2_, t.b2 = b2_;
    return punktklasse(t, x, y);
}


// Runs every kernel on the row and compares each count with the point class.
void pruefe_zeile(kerne::Zeilenauftrag t, const std::vector<double>& re, double im) {
    if (t.familie == kerne::KUBISCH) t.schranke = kub_schranke(t.a, t.b, t.a2, t.b2);
    t.re = re.data();
    t.breite = static_cast<int>(re.size());
    std::vector<int> soll(re.size());
    for (size_t p = 0; p < re.size(); ++p) soll[p] = punktklasse(t, re[p], im);
    for (kerne::Kern kern : kerne_fuer(t.familie)) {
        std::vector<uint16_t> ist(re.size(), 0xFFFF);
        kerne::waehle(kern, t.familie)(t, im, ist.data());
        for (size_t p = 0; p < re.size(); ++p)
            ASSERT_EQ(ist[p], soll[p]) << "family " << t.familie << ", column " << p << ": z = " << re[p] << " + "
                                       << im << "i, parameters " << t.a << ", " << t.b << ", " << t.a2 << ", "
                                       << t.b2;
    }
}

kerne::Zeilenauftrag auftrag(int familie, double a_, double b_, double a2_ = 0, double b2_ = 0, int variante = 0) {
    kerne::Zeilenauftrag t;
    t.familie = static_cast<kerne::Familie>(familie);
    t.j2 = variante;
    t.a = a_, t.b = b_, t.a2 = a2_, t.b2 = b2_;
    return t;
}

const double SONDERWERTE[] = {0.0,   -0.0, NAN_, INF, -INF, 4.9e-324, -2.2e-308, 1e-160, 1e300, -1e300,
                              2.0,   -2.0, 1.9999999999999998, 1.4142135623730951, 1.0, -1.0, 0.5, 50.0,
                              -50.000000000000007, 1e154};

TEST(Zeilenkern, CountsAsThePointClassesOnRandomRows) {
    ViewGuard guard;
    std::mt19937_64 zufall(7);
    auto gleich = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(zufall); };
    auto wert = [&](double lo, double hi) {
        // Mostly ordinary values, now and then a special one.
        if (zufall() % 16 == 0) return SONDERWERTE[zufall() % std::size(SONDERWERTE)];
        return gleich(lo, hi);
    };
    for (int runde = 0; runde < 120; ++runde) {
        SCOPED_TRACE(runde);
        const int familie = 1 + runde % 4;
        // Rows of every length the kernels meet: the last vectors are partly
        // filled, and the lanes are packed at different places.
        std::vector<double> re(1 + zufall() % kerne::MAX_BREITE);
        double lo = -2.2, hi = 2.2;
        if (familie == kerne::TRIGO) lo = -4, hi = 4;
        for (double& x : re) x = wert(lo, hi);
        const double im = wert(lo, hi);
        const kerne::Zeilenauftrag t =
            familie == kerne::TRIGO ? auftrag(familie, wert(-2, 2), wert(-2, 2), 0, 0, int(zufall() % 3))
            : familie == kerne::KUBISCH ? auftrag(familie, wert(-1, 1), wert(-1, 1), wert(-1.5, 1.5), wert(-1.5, 1.5))
                                        : auftrag(familie, wert(-1.5, 0.5), wert(-1, 1));
        if (familie == kerne::TRIGO) re.resize(std::min<size_t>(re.size(), 40));  // slow the plain way
        pruefe_zeile(t, re, im);
    }
}

TEST(Zeilenkern, PeriodicOrbitsAndTheirNearMisses) {
    ViewGuard guard;
    std::vector<double> re(kerne::MAX_BREITE);
    // Fixed points and short cycles inside the Mandelbrot set, points on
    // the real axis (their y stays 0, so only x decides), and the edge.
    for (size_t p = 0; p < re.size(); ++p) re[p] = -2.0 + 2.5 * double(p) / double(re.size());
    pruefe_zeile(auftrag(kerne::MANDELBROT, 0, 0), re, 0.0);
    pruefe_zeile(auftrag(kerne::MANDELBROT, 0, 0), re, 0.1);
    pruefe_zeile(auftrag(kerne::JULIA, -1, 0), re, 0.0);  // the 2-cycle 0, -1
    pruefe_zeile(auftrag(kerne::JULIA, -0.12, 0.75), re, 0.05);  // Douady's rabbit: a 3-cycle
    pruefe_zeile(auftrag(kerne::KUBISCH, 0, 0, 0, 0), re, 0.0);
    pruefe_zeile(auftrag(kerne::KUBISCH, 0, 0, -0.574, 0.271), re, 0.3);

    // z = 0.5 + 0.25i with c = 0.3125 - 0.5i steps exactly to 0.5 - 0.25i:
    // x comes back while y does not, which must not count as a cycle.
    pruefe_zeile(auftrag(kerne::JULIA, 0.3125, -0.5), std::vector<double>(37, 0.5), 0.25);
    pruefe_zeile(auftrag(kerne::JULIA, 0.3125, -0.5), {0.5, 0.1, 0.5, 0.2, 0.5}, 0.25);

    // Orbits of the exchanged sine and the cosine drawn slowly into a fixed
    // point or a short cycle: they repeat bit for bit after some hundred
    // steps, and many end before 511 through that.
    std::vector<double> weit(48);
    for (size_t p = 0; p < weit.size(); ++p) weit[p] = -6.0 + 12.0 * double(p) / double(weit.size());
    pruefe_zeile(auftrag(kerne::TRIGO, 0.7, 0.8, 0, 0, 1), weit, -2.0);
    pruefe_zeile(auftrag(kerne::TRIGO, 0.7, 0.8, 0, 0, 2), weit, -1.5);
}

// The step at which the detector reports a repeat of an orbit that takes
// `vorlauf` distinct states, then runs through a cycle of `periode` states
// (y always differs from every earlier y before the cycle, x repeats all
// along); 0 if it reports none within `schritte` steps.
int erkannt_bei(int vorlauf, int periode, int schritte) {
    auto zustand = [&](int n, double& x, double& y) {
        x = 0.25 * (n % 2);  // x alone comes back every other step
        y = n < vorlauf ? 1.0 + n : 1e6 + (n - vorlauf) % periode;
    };
    double x, y;
    zustand(0, x, y);
    kerne::Wiederkehr w(x, y);
    for (int n = 1; n <= schritte; ++n) {
        zustand(n, x, y);
        if (w.kehrt_wieder(x, y, n)) return n;
    }
    return 0;
}

TEST(Zeilenkern, CycleDetectorReportsRepeatsOnlyAndShortCyclesSoon) {
    constexpr int KURZ = kerne::Wiederkehr::KURZ;
    for (int vorlauf : {1, 5, 37, 300, 1000})
        for (int periode : {1, 2, 3, 8, KURZ, KURZ + 1, 100}) {
            SCOPED_TRACE("cycle of " + std::to_string(periode) + " after " + std::to_string(vorlauf));
            const int n = erkannt_bei(vorlauf, periode, 4 * (vorlauf + periode) + 64);
            EXPECT_GE(n, vorlauf + periode);  // never before the first repeat
            EXPECT_GT(n, 0);                  // every cycle is found
            if (periode <= KURZ) {
                EXPECT_LE(n, vorlauf + 2 * KURZ + periode);
            }
        }
    EXPECT_EQ(erkannt_bei(100000, 1, 5000), 0);  // no repeat, none reported
}

TEST(Zeilenkern, TrigonometricVariantsAndSpecialValues) {
    ViewGuard guard;
    std::vector<double> re(std::begin(SONDERWERTE), std::end(SONDERWERTE));
    for (int variante : {0, 1, 2}) {
        SCOPED_TRACE(variante);
        pruefe_zeile(auftrag(kerne::TRIGO, 0, 0, 0, 0, variante), re, 1.0);       // falls to 0 and stays
        pruefe_zeile(auftrag(kerne::TRIGO, 0.7, 0.8, 0, 0, variante), re, 0.5);
        pruefe_zeile(auftrag(kerne::TRIGO, 1e10, 0, 0, 0, variante), re, 0.25);   // leaves after a step
        pruefe_zeile(auftrag(kerne::TRIGO, NAN_, 1, 0, 0, variante), re, 0.0);
        pruefe_zeile(auftrag(kerne::TRIGO, 1, 0, 0, 0, variante), re, 50.0);      // 50 is not beyond
        pruefe_zeile(auftrag(kerne::TRIGO, 1, 0, 0, 0, variante), re, -INF);
    }
}

// --- Hand-over of the rows ------------------------------------------------------

// What the test kernel writes into row k, column p.
uint16_t inhalt(int k, int p) { return static_cast<uint16_t>((k * 37 + p * 11) % 512); }

// The thread that computed each row.
std::thread::id rechner[RASTER_HOEHE];

// Test kernel: row k (im = k) is written column by column, the last column
// after a pause, so that a row handed over before it is finished shows. The
// pause of a row follows the pattern in auftrag.a, which makes rows finish
// in order or out of order, and batches end at different places.
void langsame_zeile(const kerne::Zeilenauftrag& t, double im, uint16_t* z) {
    const int k = static_cast<int>(im);
    rechner[k] = std::this_thread::get_id();
    int mikro = 0;
    switch (static_cast<int>(t.a)) {
    case 1:  // the first row last: the ready rows jump from none to all
        mikro = k == 0 ? 20000 : 0;
        break;
    case 2:  // the last row last
        mikro = k == RASTER_HOEHE - 1 ? 20000 : 0;
        break;
    case 3:  // slow rows just before and after the ends of batches of 16
        mikro = k % 16 == 15 ? 200 : k % 16 == 0 ? 100 : k % 7 == 0 ? 50 : 0;
        break;
    case 4:  // irregular
        mikro = static_cast<int>((static_cast<unsigned>(k) * 2654435761u) % 97);
        break;
    default:  // all quick: the calling thread waits on nearly every row
        break;
    }
    for (int p = 0; p + 1 < t.breite; ++p) z[p] = inhalt(k, p);
    if (mikro > 0)
        std::this_thread::sleep_for(std::chrono::microseconds(mikro));
    else
        std::this_thread::yield();
    z[t.breite - 1] = inhalt(k, t.breite - 1);
}

TEST(Zaehlwerk, HandsOverEveryRowFinishedAndInRasterOrder) {
    double im[RASTER_HOEHE];
    for (int k = 0; k < RASTER_HOEHE; ++k) im[k] = k;
    kerne::Zeilenauftrag t;
    t.breite = RASTER_BREITE;
    for (int muster = 0; muster <= 4; ++muster)
        for (int arbeiter : {0, 1, 2, 3, 8})
            for (bool langsam : {false, true}) {  // the calling thread now and then slower than the workers
                SCOPED_TRACE("pattern " + std::to_string(muster) + ", workers " + std::to_string(arbeiter) +
                             (langsam ? ", slow consumer" : ""));
                t.a = muster;
                Zaehlwerk werk(t, im, langsame_zeile, arbeiter);
                for (int k = 0; k < RASTER_HOEHE; ++k) {
                    if (langsam && k % 50 == 7) std::this_thread::sleep_for(std::chrono::milliseconds(2));
                    const uint16_t* z = werk.zeile(k);
                    for (int p = 0; p < RASTER_BREITE; ++p)
                        if (z[p] != inhalt(k, p)) {
                            ADD_FAILURE() << "row " << k << ", column " << p;
                            break;
                        }
                }
                // The rows are computed by at most the workers asked for and
                // the calling thread; with no workers by the calling thread.
                std::vector<std::thread::id> threads(std::begin(rechner), std::end(rechner));
                std::sort(threads.begin(), threads.end());
                const long n = std::unique(threads.begin(), threads.end()) - threads.begin();
                const bool hier = std::find(threads.begin(), threads.begin() + n, std::this_thread::get_id()) !=
                                  threads.begin() + n;
                if (arbeiter == 0) {
                    EXPECT_EQ(n, 1);
                    EXPECT_TRUE(hier);
                } else {
                    EXPECT_LE(n, arbeiter + 1);
                }
                if (arbeiter >= 2 && muster == 3) {
                    EXPECT_GE(n, 2);
                }
            }
}

// A quick test kernel that records nothing: row k gets inhalt(k, p).
void schlichte_zeile(const kerne::Zeilenauftrag& t, double im, uint16_t* z) {
    for (int p = 0; p < t.breite; ++p) z[p] = inhalt(static_cast<int>(im), p);
}

bool alle_zeilen_richtig(Zaehlwerk& werk) {
    for (int k = 0; k < RASTER_HOEHE; ++k) {
        const uint16_t* z = werk.zeile(k);
        for (int p = 0; p < RASTER_BREITE; ++p)
            if (z[p] != inhalt(k, p)) return false;
    }
    return true;
}

// The workers outlive a pass and serve the next one; two passes at once
// (the second finds the pool busy and computes on its own thread) both get
// every row right, and a pass may end before it took all its rows.
TEST(Zaehlwerk, PoolKeepsItsWorkersAndServesOnePassAtATime) {
    double im[RASTER_HOEHE];
    for (int k = 0; k < RASTER_HOEHE; ++k) im[k] = k;
    kerne::Zeilenauftrag t;
    t.breite = RASTER_BREITE;

    { Zaehlwerk werk(t, im, schlichte_zeile, 3); EXPECT_TRUE(alle_zeilen_richtig(werk)); }
    const int gestartet = gestartete_arbeiter();
    EXPECT_GE(gestartet, 3);
    for (int arbeiter : {1, 3, 2, 3}) {
        Zaehlwerk werk(t, im, schlichte_zeile, arbeiter);
        EXPECT_TRUE(alle_zeilen_richtig(werk));
    }
    EXPECT_EQ(gestartete_arbeiter(), gestartet);
    {
        Zaehlwerk werk(t, im, schlichte_zeile, gestartet + 1);  // one more than there are
        EXPECT_TRUE(alle_zeilen_richtig(werk));
        EXPECT_EQ(gestartete_arbeiter(), gestartet + 1);
    }

    for (int runde = 0; runde < 20; ++runde) {
        bool richtig[2] = {false, false};
        std::thread zweiter([&] {
            Zaehlwerk werk(t, im, schlichte_zeile, 2);
            richtig[1] = alle_zeilen_richtig(werk);
        });
        {
            Zaehlwerk werk(t, im, schlichte_zeile, 2);
            richtig[0] = alle_zeilen_richtig(werk);
        }
        zweiter.join();
        EXPECT_TRUE(richtig[0] && richtig[1]) << "round " << runde;
    }

    for (int bis : {0, 1, 250}) {  // passes ended early, then a whole one
        Zaehlwerk werk(t, im, schlichte_zeile, 2);
        for (int k = 0; k < bis; ++k) werk.zeile(k);
    }
    Zaehlwerk werk(t, im, schlichte_zeile, 2);
    EXPECT_TRUE(alle_zeilen_richtig(werk));
}

}  // namespace
