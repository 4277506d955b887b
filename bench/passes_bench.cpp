// Time per picture of each family's pass at its standard view, with the
// number of iterations (steps) per picture and the time per iteration:
// - Pass: the plain per-pixel pass; the fast pass with one worker thread,
//   first with every thread of the process on one processor (OneCore), then
//   free (Fast1); and the fast pass with one worker per hardware thread
//   (FastAll), side by side; each into the paint device context of a window
//   (headless backend), as the program paints;
// - Counts: the row kernels alone on one thread;
// - Compute and WindowPaint: the fast pass without pixels, and a whole
//   paint of the program's window (headless backend);
// - Floor: the calling thread's share of a pass alone: a bare loop of one
//   picture's SetPixel calls in raster order into the memory sink and into
//   the window layer's paint device context, the consuming loop of the
//   Julia pass (colour by count, farbe, SetPixel) on counts computed before,
//   and the fast pass of views that leave at once.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

#include "farbgesetz.h"
#include "julia.h"
#include "julia_kub.h"
#include "julia_sin.h"
#include "kerne/zeilen.h"
#include "layer/device_context.h"
#include "layer/headless.h"
#include "mandelbrot.h"
#include "paint_dispatch.h"
#include "schnell.h"
#include "standard_views.h"
#include "view_state.h"

namespace {

void stelle_ein(const Standardansicht& v) {
    j = v.j, j2 = v.j2;
    a = v.a, b = v.b, a2 = v.a2, b2 = v.b2;
    zoom = v.zoom, links = 0, oben = 0;
}

// Steps per picture, counted with the families' own point classes.
long long schritte(const Standardansicht& v) {
    stelle_ein(v);
    long long summe = 0;
    for (int y = RASTER_HOEHE - 1; y >= 0; --y)
        for (int x = 0; x < RASTER_BREITE; ++x) {
            double re = ebene_re(x), im = ebene_im(y);
            if (v.j == 1) {
                MandelPoint p;
                p.setpoint(re, im);
                while (p.inbounds() && p.getit() < ITERATIONEN_MAX) p.next();
                summe += p.getit();
            } else if (v.j == 2) {
                Julia_Punkt p(re, im, a, b);
                while (p.abbruch_kriterium() == 0 && p.iterat_zahl < ITERATIONEN_MAX) p.folg();
                summe += p.iterat_zahl;
            } else if (v.j == 4) {
                Julia_Punkt_kub p(re, im, a, b, a2, b2);
                while (p.abbruch_kriterium() == 0 && p.iterat_zahl < ITERATIONEN_MAX) p.folg();
                summe += p.iterat_zahl;
            } else {
                Julia_PunktSin p(re, im, a, b);
                while (p.abbruch_kriterium() == 0 && p.iterat_zahl < ITERATIONEN_MAX) p.folg();
                summe += p.iterat_zahl;
            }
        }
    return summe;
}

// The trace goes to /dev/null while a pass runs, as when nothing is
// connected to standard output; benchmark's own report keeps the terminal.
class StdoutNach {
public:
    StdoutNach() {
        std::fflush(stdout);
        saved_ = dup(1);
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        close(null);
    }
    ~StdoutNach() {
        std::fflush(stdout);
        dup2(saved_, 1);
        close(saved_);
    }

private:
    int saved_;
};

LRESULT CALLBACK leere_prozedur(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

// A window whose client area is the raster (headless backend): passes are
// timed drawing into its paint device context, as the program's passes do.
class Malfenster {
public:
    Malfenster() {
        layer::headless::install();
        WNDCLASSA wc{};
        wc.lpfnWndProc = leere_prozedur;
        wc.lpszClassName = "Malfenster";
        RegisterClassA(&wc);
        // Frame: a sizing frame of 4 on each side, caption 19, no menu.
        h_ = CreateWindowExA(0, "Malfenster", "", WS_OVERLAPPEDWINDOW, 0, 0, RASTER_BREITE + 8, RASTER_HOEHE + 27,
                             nullptr, nullptr, nullptr, nullptr);
    }
    ~Malfenster() { DestroyWindow(h_); }

    bool ist_raster() const {
        return layer::headless::client_width(h_) == RASTER_BREITE &&
               layer::headless::client_height(h_) == RASTER_HOEHE;
    }

    // f(hdc) between BeginPaint and EndPaint of the whole client area.
    template <class F>
    void male(F f) {
        InvalidateRect(h_, nullptr, FALSE);
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(h_, &ps);
        f(hdc);
        EndPaint(h_, &ps);
    }

private:
    HWND h_;
};

// Every thread of the process (the workers included) may run on the
// processors of `menge` only.
void alle_threads_auf(const cpu_set_t& menge) {
    DIR* d = opendir("/proc/self/task");
    if (!d) return;
    while (dirent* e = readdir(d)) {
        const pid_t tid = static_cast<pid_t>(std::atoi(e->d_name));
        if (tid > 0) sched_setaffinity(tid, sizeof menge, &menge);
    }
    closedir(d);
}

// While it lives, every thread of the process runs on one processor (the
// first this thread may use), the workers of the pool included.
class EinProzessor {
public:
    EinProzessor() {
        sched_getaffinity(0, sizeof vorher_, &vorher_);
        cpu_set_t eine;
        CPU_ZERO(&eine);
        for (int c = 0; c < CPU_SETSIZE; ++c)
            if (CPU_ISSET(c, &vorher_)) {
                CPU_SET(c, &eine);
                break;
            }
        alle_threads_auf(eine);
    }
    ~EinProzessor() { alle_threads_auf(vorher_); }

private:
    cpu_set_t vorher_;
};

// The program's pass (the family's zeichne), computed the given way.
void zeichne_mit(const Rechenweise& weise, HDC hdc) {
    rechenweise = weise;
    zeichne_fraktal(hdc);
    rechenweise = Rechenweise();
}

// arbeiter < 0: the plain pass; otherwise the fast pass with that many
// workers (0: one per hardware thread), with every thread on one processor
// if ein_prozessor.
void BM_Pass(benchmark::State& state, Standardansicht v, int arbeiter, bool ein_prozessor) {
    const double n = double(schritte(v));
    Malfenster fenster;
    stelle_ein(v);
    Rechenweise weise;
    weise.arbeiter = arbeiter;
    if (arbeiter >= 0) zeichne_mit(weise, nullptr);  // the workers exist before they are placed
    std::unique_ptr<EinProzessor> platz(ein_prozessor ? new EinProzessor : nullptr);
    for (auto _ : state) {
        StdoutNach stumm;
        fenster.male([&](HDC hdc) {
            if (arbeiter < 0)
                zeichne_fraktal_einfach(hdc);
            else
                zeichne_mit(weise, hdc);
        });
    }
    if (!fenster.ist_raster()) state.SkipWithError("client area is not the raster");
    state.counters["iterations"] = n;
    // Seconds per iteration, printed with an SI prefix (e.g. "4.5n" = 4.5 ns).
    state.counters["s_per_iteration"] =
        benchmark::Counter(n, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The pure computation of a picture's counts: every row through the row
// kernel on this thread, no pixels set.
void BM_Zaehlen(benchmark::State& state, Standardansicht v, kerne::Zeilenkern kern) {
    const double n = double(schritte(v));
    stelle_ein(v);
    double re[RASTER_BREITE], sin_re[RASTER_BREITE], cos_re[RASTER_BREITE];
    for (int x = 0; x < RASTER_BREITE; ++x) {
        re[x] = ebene_re(x);
        sin_re[x] = std::sin(re[x]);
        cos_re[x] = std::cos(re[x]);
    }
    kerne::Zeilenauftrag t;
    t.familie = static_cast<kerne::Familie>(v.j), t.j2 = v.j2;
    t.a = a, t.b = b, t.a2 = a2, t.b2 = b2;
    t.schranke = v.j == 4 ? kub_schranke(a, b, a2, b2) : 4.0;
    t.re = re, t.breite = RASTER_BREITE;
    t.sin_re = sin_re, t.cos_re = cos_re;
    std::vector<uint16_t> zaehler(RASTER_BREITE);
    for (auto _ : state) {
        for (int y = RASTER_HOEHE - 1; y >= 0; --y) kern(t, ebene_im(y), zaehler.data());
        benchmark::DoNotOptimize(zaehler.data());
    }
    state.counters["iterations"] = n;
    state.counters["s_per_iteration"] =
        benchmark::Counter(n, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// A full paint of the main window through the program: the window
// procedure's paint branch, the pass on the real paint device context (the
// layer's, which pushes rows to the backend every 16 ms), here with the
// headless backend. Timed from the exposure to the next idle moment.
void BM_Fenster(benchmark::State& state, Standardansicht v) {
    using Uhr = std::chrono::steady_clock;
    namespace hl = layer::headless;
    for (auto _ : state) {
        stelle_ein(v);
        hl::install();
        Uhr::time_point anfang, ende;
        hl::at_idle([&] {
            HWND w = hl::main_window();
            anfang = Uhr::now();
            hl::expose(w, RECT{0, 0, hl::client_width(w), hl::client_height(w)});
        });
        hl::at_idle([&] {
            ende = Uhr::now();
            hl::close_box(hl::main_window());
        });
        StdoutNach stumm;
        hl::run_program();
        state.SetIterationTime(std::chrono::duration<double>(ende - anfang).count());
    }
}

// The fast pass with every worker, on no device context: the computation
// and the hand-over of the counts, without pixels.
void BM_Rechnen(benchmark::State& state, Standardansicht v) {
    stelle_ein(v);
    for (auto _ : state) {
        StdoutNach stumm;
        zeichne_fraktal(nullptr);
    }
}

// One picture's SetPixel calls in raster order, nothing else.
void setze_bild(HDC hdc) {
    for (int y = RASTER_HOEHE - 1; y >= 0; --y)
        for (int x = 0; x < RASTER_BREITE; ++x) SetPixel(hdc, x, y, static_cast<COLORREF>(x * 0x010203 + y));
}

void BM_BodenSpeicher(benchmark::State& state) {
    layer::MemoryDC dc(RASTER_BREITE, RASTER_HOEHE);
    for (auto _ : state) {
        setze_bild(dc.hdc());
        benchmark::DoNotOptimize(dc.pixels().data());
    }
}

// The paint device context of a window whose client area is the raster,
// from BeginPaint to EndPaint.
void BM_BodenFenster(benchmark::State& state) {
    Malfenster fenster;
    for (auto _ : state) fenster.male(setze_bild);
    if (!fenster.ist_raster()) state.SkipWithError("client area is not the raster");
}

// The consuming loop of the Julia pass on the counts of a view, one thread.
void BM_BodenVerbrauch(benchmark::State& state, Standardansicht v) {
    stelle_ein(v);
    double re[RASTER_BREITE];
    for (int x = 0; x < RASTER_BREITE; ++x) re[x] = ebene_re(x);
    kerne::Zeilenauftrag t;
    t.familie = static_cast<kerne::Familie>(v.j), t.a = a, t.b = b, t.re = re, t.breite = RASTER_BREITE;
    std::vector<uint16_t> z(static_cast<size_t>(RASTER_BREITE) * RASTER_HOEHE);
    for (int y = RASTER_HOEHE - 1; y >= 0; --y)
        kerne::waehle(kerne::Kern::bester, t.familie)(t, ebene_im(y), z.data() + static_cast<size_t>(RASTER_HOEHE - 1 - y) * RASTER_BREITE);
    long farben[kerne::GRENZE + 1];
    for (int n = 0; n <= kerne::GRENZE; ++n) {
        double r, g, bl;
        int it = n;
        farbgesetz(r, g, bl, it);
        farben[n] = farbwert(r, g, bl, OFFSET_POLYNOM);
    }
    Malfenster fenster;
    for (auto _ : state)
        fenster.male([&](HDC hdc) {
            const uint16_t* p = z.data();
            for (int y = RASTER_HOEHE - 1; y >= 0; --y)
                for (int x = 0; x < RASTER_BREITE; ++x) {
                    farbe = farben[*p++];
                    SetPixel(hdc, x, y, static_cast<COLORREF>(farbe));
                }
        });
}

// The fast pass of a view where every pixel leaves before its first step
// (oben far outside): what a pass costs besides computing, with one worker.
void BM_BodenPass(benchmark::State& state, Standardansicht v) {
    Malfenster fenster;
    stelle_ein(v);
    oben = 1e6;
    Rechenweise weise;
    weise.arbeiter = 1;
    for (auto _ : state) {
        StdoutNach stumm;
        fenster.male([&](HDC hdc) { zeichne_mit(weise, hdc); });
    }
    oben = 0;
}

const bool registriert = [] {
    const struct {
        const char* name;
        int arbeiter;
        bool ein_prozessor;
    } arten[] = {{"Plain", -1, false}, {"OneCore", 1, true}, {"Fast1", 1, false}, {"FastAll", 0, false}};
    for (const Standardansicht& v : STANDARDANSICHTEN)
        for (const auto& art : arten)
            benchmark::RegisterBenchmark((std::string(v.name) + "/" + art.name).c_str(), BM_Pass, v, art.arbeiter,
                                         art.ein_prozessor)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
    for (const Standardansicht& v : STANDARDANSICHTEN) {
        auto zaehlen = [&](const char* kern_name, kerne::Zeilenkern kern) {
            benchmark::RegisterBenchmark((std::string("Counts/") + v.name + "/" + kern_name).c_str(), BM_Zaehlen,
                                         v, kern)
                ->Unit(benchmark::kMillisecond);
        };
        // Each kernel the build and the processor have for the family once.
        using kerne::Kern;
        const std::pair<const char*, Kern> wahl[] = {
            {"Scalar", Kern::skalar}, {"SSE2", Kern::sse2}, {"AVX2", Kern::avx2}, {"AVX512", Kern::avx512}};
        std::vector<kerne::Zeilenkern> gesehen;
        for (const auto& [kern_name, kern] : wahl) {
            const kerne::Zeilenkern k = kerne::waehle(kern, static_cast<kerne::Familie>(v.j));
            if (std::find(gesehen.begin(), gesehen.end(), k) != gesehen.end()) continue;
            gesehen.push_back(k);
            zaehlen(kern_name, k);
        }
    }
    for (const Standardansicht& v : STANDARDANSICHTEN) {
        benchmark::RegisterBenchmark((std::string("Compute/") + v.name).c_str(), BM_Rechnen, v)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark((std::string("WindowPaint/") + v.name).c_str(), BM_Fenster, v)
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime();
    }
    benchmark::RegisterBenchmark("Floor/SetPixel/MemoryDC", BM_BodenSpeicher)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Floor/SetPixel/PaintDC", BM_BodenFenster)->Unit(benchmark::kMillisecond);
    for (const Standardansicht& v : STANDARDANSICHTEN)
        if (v.j == 2)
            benchmark::RegisterBenchmark((std::string("Floor/Consume/") + v.name).c_str(), BM_BodenVerbrauch, v)
                ->Unit(benchmark::kMillisecond);
    for (const char* name : {"Mandelbrot", "StartUpJulia", "CubicDialogDefault", "Sine"})
        for (const Standardansicht& v : STANDARDANSICHTEN)
            if (std::string(v.name) == name)
                benchmark::RegisterBenchmark((std::string("Floor/PassLeavingAtOnce/") + v.name).c_str(),
                                             BM_BodenPass, v)
                    ->Unit(benchmark::kMillisecond)
                    ->UseRealTime();
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
