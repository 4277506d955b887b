#include "schnell.h"

#include <immintrin.h>

#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "farbgesetz.h"
#include "julia_kub.h"
#include "julia_sin.h"
#include "kernels/zeilen.h"
#include "mandelbrot.h"
#include "view_state.h"

Rechenweise rechenweise;

int standard_arbeiter() {
    unsigned n = std::thread::hardware_concurrency();
    return n > 0 ? static_cast<int>(n) : 1;
}

namespace {

kerne::Zeilenkern waehle_kern(Kern kern, int familie) {
    if (familie == kerne::TRIGO) return kerne::zeile_trigo;
    switch (kern) {
    case Kern::skalar:
        return kerne::zeile_skalar;
    case Kern::sse2:
        return kerne::zeile_sse2;
    case Kern::avx2:
        return kerne::avx2_vorhanden() ? kerne::zeile_avx2 : kerne::zeile_sse2;
    case Kern::avx512:
    case Kern::bester:
        break;
    }
    if (kerne::avx512_vorhanden()) return kerne::zeile_avx512;
    return kerne::avx2_vorhanden() ? kerne::zeile_avx2 : kerne::zeile_sse2;
}

// The counts of a whole picture. Worker threads take rows in raster order
// (row index k = 0 is y = 500) and compute them with the kernel; zeile(k)
// hands row k to the calling thread as soon as it is ready. The workers
// read only the snapshot and write only their rows.
//
// Hand-over: every finished row gets its flag, and whichever worker finds
// the rows after the ready prefix done moves the prefix on (rows may finish
// out of order). The calling thread reads the prefix; when the row it needs
// is not in it, it looks again for a moment, then sleeps until a batch of
// rows is ready, so that a worker pays for a wake-up (a system call) once
// per batch instead of once per row.
class Zaehlwerk {
public:
    Zaehlwerk(const kerne::Zeilenauftrag& auftrag, const double* im, kerne::Zeilenkern kern, int arbeiter)
        : auftrag_(auftrag), im_(im), kern_(kern), zaehler_(new uint16_t[GROESSE]),
          bereit_(new std::atomic<bool>[RASTER_HOEHE]) {
        for (int k = 0; k < RASTER_HOEHE; ++k) bereit_[k].store(false, std::memory_order_relaxed);
        for (int t = 0; t < arbeiter && t < RASTER_HOEHE; ++t) {  // more would find no row
            try {
                arbeiter_.emplace_back([this] {
                    while (rechne_naechste()) {
                    }
                });
            } catch (const std::system_error&) {
                break;  // go on with the threads there are, or none
            }
        }
    }

    ~Zaehlwerk() {
        naechste_.store(RASTER_HOEHE);  // no further rows for anybody
        for (std::thread& t : arbeiter_) t.join();
    }

    Zaehlwerk(const Zaehlwerk&) = delete;
    Zaehlwerk& operator=(const Zaehlwerk&) = delete;

    // Row k in raster order, once computed.
    const uint16_t* zeile(int k) {
        if (fertig_.load(std::memory_order_acquire) <= k) warte(k);
        return zaehler_.get() + static_cast<size_t>(k) * RASTER_BREITE;
    }

private:
    static constexpr size_t GROESSE = static_cast<size_t>(RASTER_BREITE) * RASTER_HOEHE;
    // Rows the calling thread waits for once it sleeps: enough that wake-ups
    // are rare, few enough that the rows left after the last one are set
    // quickly.
    static constexpr int STAPEL = 16;
    // Looks at the prefix before sleeping, with a pause instruction between
    // looks (a few microseconds in all).
    static constexpr int BLICKE = 64;
    static constexpr int NIEMAND = RASTER_HOEHE + 1;  // no target: nobody sleeps

    // Until row k is ready.
    void warte(int k) {
        if (arbeiter_.empty()) {
            // No thread could be started: compute on this one.
            while (fertig_.load(std::memory_order_acquire) <= k && rechne_naechste()) {
            }
            return;
        }
        for (int blick = 0; blick < BLICKE; ++blick) {
            _mm_pause();
            if (fertig_.load(std::memory_order_acquire) > k) return;
        }
        const int ziel = k + STAPEL < RASTER_HOEHE ? k + STAPEL : RASTER_HOEHE;
        std::unique_lock<std::mutex> lock(mutex_);
        // The target is stored before the prefix is read, the prefix moved
        // before the target is read (both sequentially consistent): either
        // this thread sees the batch ready or the worker sees the target.
        ziel_.store(ziel);
        fertig_cv_.wait(lock, [&] { return fertig_.load() >= ziel; });
        ziel_.store(NIEMAND);
    }

    bool rechne_naechste() {
        const int k = naechste_.fetch_add(1);
        if (k >= RASTER_HOEHE) return false;
        kern_(auftrag_, im_[k], zaehler_.get() + static_cast<size_t>(k) * RASTER_BREITE);
        // The flag is stored before the prefix is read, the prefix moved
        // before the next flag is read: of two workers finishing neighbouring
        // rows, at least one sees both and moves the prefix over them.
        bereit_[k].store(true);
        int f = fertig_.load();
        bool bewegt = false;
        while (f < RASTER_HOEHE && bereit_[f].load()) {
            if (fertig_.compare_exchange_weak(f, f + 1)) {
                ++f;
                bewegt = true;
            }
        }
        if (bewegt && f >= ziel_.load()) {
            { std::lock_guard<std::mutex> lock(mutex_); }
            fertig_cv_.notify_one();
        }
        return true;
    }

    const kerne::Zeilenauftrag auftrag_;
    const double* const im_;
    const kerne::Zeilenkern kern_;
    std::unique_ptr<uint16_t[]> zaehler_;
    std::unique_ptr<std::atomic<bool>[]> bereit_;  // row k computed
    std::atomic<int> naechste_{0};                 // next row a worker takes
    std::atomic<int> fertig_{0};                   // rows 0 .. fertig_ - 1 are all computed
    std::atomic<int> ziel_{NIEMAND};               // the calling thread sleeps until fertig_ reaches it
    std::mutex mutex_;
    std::condition_variable fertig_cv_;
    std::vector<std::thread> arbeiter_;
};

// Raster order: rows y = 500 down to 0, row index k = 500 - y.
constexpr int zeile_von(int k) { return RASTER_HOEHE - 1 - k; }

// Colours of the Julia families by count, from the colour law as the point
// classes' zeichne_Punkt apply it.
void julia_farben(long* tabelle, int offset) {
    for (int n = 0; n <= kerne::GRENZE; ++n) {
        double r, g, b;
        int it = n;
        farbgesetz(r, g, b, it);
        tabelle[n] = farbwert(r, g, b, offset);
    }
}

void mandelbrot_pixel(HDC hdc, Zaehlwerk& werk) {
    long farben[kerne::GRENZE + 1];
    for (int n = 0; n <= kerne::GRENZE; ++n) {
        double r, g, b;
        mandel_kanaele(n, r, g, b);
        farben[n] = packe(r, g, b);
    }
    for (int k = 0; k < RASTER_HOEHE; ++k) {
        const int y = zeile_von(k);
        const uint16_t* z = werk.zeile(k);
        for (int x = 0; x < RASTER_BREITE; ++x) {
            if (k == RASTER_HOEHE - 1 && x == RASTER_BREITE - 1) {
                // The last pixel the plain way: it leaves mPoint, red, green
                // and blue as the plain pass does.
                mandel_pixel(hdc, x, y);
            } else {
                SetPixel(hdc, x, y, static_cast<COLORREF>(farben[z[x]]));
            }
        }
    }
}

void polynom_pixel(HDC hdc, Zaehlwerk& werk) {
    long farben[kerne::GRENZE + 1];
    julia_farben(farben, OFFSET_POLYNOM);
    for (int k = 0; k < RASTER_HOEHE; ++k) {
        const int y = zeile_von(k);
        const uint16_t* z = werk.zeile(k);
        for (int x = 0; x < RASTER_BREITE; ++x) {
            farbe = farben[z[x]];
            SetPixel(hdc, x, y, static_cast<COLORREF>(farbe));
        }
    }
}

void trigo_pixel(HDC hdc, Zaehlwerk& werk) {
    long farben[kerne::GRENZE + 1];
    julia_farben(farben, OFFSET_TRIGO);
    // The trace record of every count, as printf("farbe=%ld") writes it.
    char texte[kerne::GRENZE + 1][32];
    size_t laengen[kerne::GRENZE + 1];
    for (int n = 0; n <= kerne::GRENZE; ++n)
        laengen[n] = static_cast<size_t>(std::snprintf(texte[n], sizeof texte[n], "farbe=%ld", farben[n]));

    int letzte_zeile = -1, letzte_spalte = -1;  // last pixel that took a step
    for (int k = 0; k < RASTER_HOEHE; ++k) {
        const int y = zeile_von(k);
        const uint16_t* z = werk.zeile(k);
        for (int x = 0; x < RASTER_BREITE; ++x) {
            const int n = z[x];
            farbe = farben[n];
            std::fwrite(texte[n], 1, laengen[n], stdout);
            SetPixel(hdc, x, y, static_cast<COLORREF>(farbe));
            if (n > 0) {
                letzte_zeile = y;
                letzte_spalte = x;
            }
        }
    }
    if (j2 == 1 && letzte_zeile >= 0) {
        // The exchanged-sine step leaves its swap temporary in q: the plain
        // pass ends with the value of the last step of the last pixel that
        // took one. Run that orbit the plain way.
        Julia_PunktSin p(ebene_re(letzte_spalte), ebene_im(letzte_zeile), a, b);
        while (p.abbruch_kriterium() == 0 && p.iterat_zahl < ITERATIONEN_MAX) p.folg();
    }
}

}  // namespace

void zeichne_schnell(int familie, HDC hdc, const Rechenweise& weise) {
    double re[RASTER_BREITE];
    for (int x = 0; x < RASTER_BREITE; ++x) re[x] = ebene_re(x);
    double im[RASTER_HOEHE];
    for (int k = 0; k < RASTER_HOEHE; ++k) im[k] = ebene_im(zeile_von(k));

    kerne::Zeilenauftrag auftrag;
    auftrag.familie = familie;
    auftrag.j2 = j2;
    auftrag.a = a, auftrag.b = b, auftrag.a2 = a2, auftrag.b2 = b2;
    auftrag.schranke = familie == kerne::KUBISCH ? kub_schranke(a, b, a2, b2) : 4.0;
    auftrag.re = re;
    auftrag.breite = RASTER_BREITE;
    double sin_re[RASTER_BREITE], cos_re[RASTER_BREITE];
    if (familie == kerne::TRIGO) {
        for (int x = 0; x < RASTER_BREITE; ++x) {
            const double s = std::sin(re[x]), c = std::cos(re[x]);
            sin_re[x] = s;
            cos_re[x] = c;
        }
        auftrag.sin_re = sin_re;
        auftrag.cos_re = cos_re;
    }

    const int arbeiter = weise.arbeiter > 0 ? weise.arbeiter : standard_arbeiter();
    Zaehlwerk werk(auftrag, im, waehle_kern(weise.kern, familie), arbeiter);
    switch (familie) {
    case kerne::MANDELBROT:
        mandelbrot_pixel(hdc, werk);
        break;
    case kerne::TRIGO:
        trigo_pixel(hdc, werk);
        break;
    default:
        polynom_pixel(hdc, werk);
        break;
    }
}
