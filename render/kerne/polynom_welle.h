// Batch kernel of the polynomial families (Mandelbrot, quadratic and cubic
// Julia sets), written once over a vector type V of L doubles and
// instantiated per instruction set: kerne/sse2.cpp and kerne/avx2.cpp
// include this file after defining their V (the AVX2 one inside its target
// region). Everything here has internal linkage, so each instantiation stays
// in the translation unit that compiled it for its instruction set.
//
// V provides: R (L doubles), I (L 64-bit integers), M (L lane flags), L,
// laden/speichern, laden_i/speichern_i, laden_m/speichern_m (flags kept as
// 64-bit 0 or -1), alle(v), add, sub, mul, neg, ge, gleich (ordered
// comparisons: false where a NaN takes part), ohne(m, w) = m AND NOT w,
// oder, zaehle(n, m) = n + (m ? 1 : 0), irgendein(m) (some lane set).
//
// How a row is computed: a first wave runs straight on the row, vectors of
// adjacent pixels, until all lanes of four vectors have escaped or 16 steps
// are done; most pixels end there. The lanes still running become a packed
// list. A wave runs every lane K steps, four vectors side by side; each step
// is exactly the point class's escape test and step, in the same order and
// with the same roundings, done for all lanes at once. A lane counts its
// steps until its state escapes; after that its count stays and its state
// runs on unused. A lane also notes when its x equals the x of a saved
// state. Between waves the lanes are settled one by one: an escaped lane
// gets its count, a lane at 511 steps gets 511, and a noted lane whose saved
// state (x, y) comes back bit for bit gets 511 (its orbit cycles through
// states that were all tested and never escapes). The others are packed
// together and go on; their saved state (first their start) is renewed at
// doubling step counts (Brent's method).
#include <cstdint>
#include <cstring>

#include "kerne/schritte.h"
#include "kerne/zeilen.h"

namespace kerne {
namespace {

constexpr int KAPAZITAET = MAX_BREITE + 16;

// The lanes, one entry per pixel in flight.
struct Bahnen {
    double x[KAPAZITAET], y[KAPAZITAET];    // z
    double sx[KAPAZITAET], sy[KAPAZITAET];  // saved z
    double cx[KAPAZITAET], cy[KAPAZITAET];  // c of the Mandelbrot family
    int64_t n[KAPAZITAET];                  // steps taken before escaping
    int64_t aktiv[KAPAZITAET];              // all ones until the state escaped
    int64_t wieder[KAPAZITAET];             // all ones once x equalled the saved x
    int32_t gesichert[KAPAZITAET];          // step count of the saved state
    int32_t pixel[KAPAZITAET];              // column the lane computes
};

template <class V>
struct Konstanten {
    typename V::R schranke, zwei, drei, a, b, a2, b2;
    explicit Konstanten(const Zeilenauftrag& t)
        : schranke(V::alle(t.schranke)), zwei(V::alle(2.0)), drei(V::alle(3.0)), a(V::alle(t.a)),
          b(V::alle(t.b)), a2(V::alle(t.a2)), b2(V::alle(t.b2)) {}
};

// One vector of lanes in registers.
template <class V>
struct Kette {
    typename V::R x, y, sx, cx, cy;
    typename V::M akt, wieder;
    typename V::I n;
};

template <class V, int FAMILIE>
inline Kette<V> lade_kette(const Bahnen& s, int l, const Konstanten<V>& k) {
    Kette<V> c;
    c.x = V::laden(s.x + l);
    c.y = V::laden(s.y + l);
    c.sx = V::laden(s.sx + l);
    c.akt = V::laden_m(s.aktiv + l);
    c.wieder = V::laden_m(s.wieder + l);
    c.n = V::laden_i(s.n + l);
    if (FAMILIE == MANDELBROT) {
        c.cx = V::laden(s.cx + l);
        c.cy = V::laden(s.cy + l);
    } else {
        c.cx = k.a;
        c.cy = k.b;
    }
    return c;
}

template <class V>
inline void speichere_kette(Bahnen& s, int l, const Kette<V>& c) {
    V::speichern(s.x + l, c.x);
    V::speichern(s.y + l, c.y);
    V::speichern_m(s.aktiv + l, c.akt);
    V::speichern_m(s.wieder + l, c.wieder);
    V::speichern_i(s.n + l, c.n);
}

// The point class's escape test and step for every lane of a vector.
template <class V, int FAMILIE>
inline void schritt(Kette<V>& c, const Konstanten<V>& k) {
    using R = typename V::R;
    const R xx = V::mul(c.x, c.x);
    const R yy = V::mul(c.y, c.y);
    const typename V::M weg = V::ge(V::add(xx, yy), k.schranke);
    if (FAMILIE == KUBISCH) {
        // tx = ((x*x*x - 3*x*y*y) + dx*x) - dy*y + ex
        // ty = ((-y*y*y + 3*x*x*y) + dy*x) + dx*y + ey
        const R x3 = V::mul(k.drei, c.x);
        R tx = V::sub(V::mul(xx, c.x), V::mul(V::mul(x3, c.y), c.y));
        tx = V::add(V::sub(V::add(tx, V::mul(k.a, c.x)), V::mul(k.b, c.y)), k.a2);
        R ty = V::add(V::mul(V::mul(V::neg(c.y), c.y), c.y), V::mul(V::mul(x3, c.x), c.y));
        ty = V::add(V::add(V::add(ty, V::mul(k.b, c.x)), V::mul(k.a, c.y)), k.b2);
        c.x = tx;
        c.y = ty;
    } else {
        // tx = x*x - y*y + cx, ty = 2*x*y + cy
        const R ty = V::add(V::mul(V::mul(k.zwei, c.x), c.y), c.cy);
        c.x = V::add(V::sub(xx, yy), c.cx);
        c.y = ty;
    }
    c.akt = V::ohne(c.akt, weg);
    c.n = V::zaehle(c.n, c.akt);
    c.wieder = V::oder(c.wieder, V::gleich(c.x, c.sx));
}

// K steps of the vector of lanes starting at lane o.
template <class V, int FAMILIE>
inline void welle1(Bahnen& s, int o, int k_schritte, const Konstanten<V>& k) {
    Kette<V> c = lade_kette<V, FAMILIE>(s, o, k);
    for (int i = 0; i < k_schritte; ++i) schritt<V, FAMILIE>(c, k);
    speichere_kette<V>(s, o, c);
}

// K steps of the four vectors of lanes starting at lane o, side by side so
// that their independent chains of operations overlap.
template <class V, int FAMILIE>
inline void welle4(Bahnen& s, int o, int k_schritte, const Konstanten<V>& k) {
    constexpr int L = V::L;
    Kette<V> c0 = lade_kette<V, FAMILIE>(s, o, k);
    Kette<V> c1 = lade_kette<V, FAMILIE>(s, o + L, k);
    Kette<V> c2 = lade_kette<V, FAMILIE>(s, o + 2 * L, k);
    Kette<V> c3 = lade_kette<V, FAMILIE>(s, o + 3 * L, k);
    for (int i = 0; i < k_schritte; ++i) {
        schritt<V, FAMILIE>(c0, k);
        schritt<V, FAMILIE>(c1, k);
        schritt<V, FAMILIE>(c2, k);
        schritt<V, FAMILIE>(c3, k);
    }
    speichere_kette<V>(s, o, c0);
    speichere_kette<V>(s, o + L, c1);
    speichere_kette<V>(s, o + 2 * L, c2);
    speichere_kette<V>(s, o + 3 * L, c3);
}

// Lanes [von, bis) take no part: escaped, at rest.
inline void leere_bahnen(Bahnen& s, int von, int bis) {
    for (int l = von; l < bis; ++l) {
        s.x[l] = s.y[l] = s.sx[l] = s.sy[l] = s.cx[l] = s.cy[l] = 0;
        s.n[l] = 0;
        s.aktiv[l] = 0;
        s.wieder[l] = 0;
        s.gesichert[l] = 0;
        s.pixel[l] = -1;
    }
}

// Whether the orbit through the saved state of lane l comes back to it bit
// for bit within `hoechstens` steps.
template <int FAMILIE>
bool kehrt_wieder(const Bahnen& s, int l, const Zeilenauftrag& t, int hoechstens) {
    const double sx = s.sx[l], sy = s.sy[l];
    double x = sx, y = sy;
    for (int i = 0; i < hoechstens; ++i) {
        if (FAMILIE == KUBISCH)
            Kubisch{t.a, t.b, t.a2, t.b2}(x, y);
        else if (FAMILIE == MANDELBROT)
            Quadratisch{s.cx[l], s.cy[l]}(x, y);
        else
            Quadratisch{t.a, t.b}(x, y);
        if (gleiche_bits(x, sx) && gleiche_bits(y, sy)) return true;
    }
    return false;
}

// Settles the lanes after a wave, writes their counts and packs the others
// to the front. Returns how many go on; *max_n gets their largest count.
template <int FAMILIE>
int sortiere(Bahnen& s, int m, const Zeilenauftrag& t, uint16_t* zaehler, int* max_n) {
    int w = 0;
    int64_t hoechste = 0;
    for (int l = 0; l < m; ++l) {
        const int64_t n = s.n[l];
        const bool laeuft = s.aktiv[l] != 0;  // else escaped after n steps
        bool bleibt = laeuft && n < GRENZE;   // 511 steps end with 511
        // The saved state was reached after gesichert steps, and all states
        // up to step n - 1 were tested: a return within n - gesichert steps
        // is a cycle of tested states, which ends with 511.
        if (bleibt && s.wieder[l] && kehrt_wieder<FAMILIE>(s, l, t, static_cast<int>(n) - s.gesichert[l]))
            bleibt = false;
        if (!bleibt) {
            zaehler[s.pixel[l]] = static_cast<uint16_t>(laeuft ? GRENZE : n);
            continue;
        }

        const double x = s.x[l], y = s.y[l];
        const int32_t gesichert = s.gesichert[l];
        const bool sichern = n >= 2 * static_cast<int64_t>(gesichert) + 4;
        const double sx = s.sx[l], sy = s.sy[l];
        s.x[w] = x;
        s.y[w] = y;
        s.sx[w] = sichern ? x : sx;
        s.sy[w] = sichern ? y : sy;
        if (FAMILIE == MANDELBROT) {
            s.cx[w] = s.cx[l];
            s.cy[w] = s.cy[l];
        }
        s.n[w] = n;
        s.aktiv[w] = -1;
        s.wieder[w] = 0;
        s.gesichert[w] = sichern ? static_cast<int32_t>(n) : gesichert;
        s.pixel[w] = s.pixel[l];
        hoechste = n > hoechste ? n : hoechste;
        ++w;
    }
    *max_n = static_cast<int>(hoechste);
    return w;
}

// Lane flags and counts at the start of an orbit.
alignas(64) constexpr int64_t ALLE_AN[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
alignas(64) constexpr int64_t ALLE_AUS[8] = {0, 0, 0, 0, 0, 0, 0, 0};

// Steps of the first wave at most.
constexpr int ERSTE_SCHRITTE = 16;

// A vector of adjacent pixels of the row at their start: z = c = pixel for
// the Mandelbrot family, z = pixel for the others; the start is the saved
// state.
template <class V, int FAMILIE>
inline Kette<V> start_kette(const double* re, typename V::R y, const Konstanten<V>& k) {
    Kette<V> c;
    c.x = V::laden(re);
    c.y = y;
    c.sx = c.x;
    c.cx = FAMILIE == MANDELBROT ? c.x : k.a;
    c.cy = FAMILIE == MANDELBROT ? y : k.b;
    c.akt = V::laden_m(ALLE_AN);
    c.wieder = V::laden_m(ALLE_AUS);
    c.n = V::laden_i(ALLE_AUS);
    return c;
}

// After the first wave: the counts of the vector of pixels from column o go
// to zaehler (final for the lanes that escaped); the lanes still running
// (columns below breite only) join the packed list at m. Returns the new
// length of the list.
template <class V, int FAMILIE>
inline int nach_erster_welle(const Kette<V>& c, double im, int o, int breite, uint16_t* zaehler, Bahnen& s,
                             int m) {
    constexpr int L = V::L;
    int64_t n[L];
    V::speichern_i(n, c.n);
    for (int l = 0; l < L; ++l) zaehler[o + l] = static_cast<uint16_t>(n[l]);
    if (!V::irgendein(c.akt)) return m;
    int64_t aktiv[L], wieder[L];
    double x[L], y[L], x0[L];
    V::speichern_m(aktiv, c.akt);
    V::speichern_m(wieder, c.wieder);
    V::speichern(x, c.x);
    V::speichern(y, c.y);
    V::speichern(x0, c.sx);
    for (int l = 0; l < L; ++l) {
        if (!aktiv[l] || o + l >= breite) continue;
        s.x[m] = x[l];
        s.y[m] = y[l];
        s.sx[m] = x0[l];
        s.sy[m] = im;
        if (FAMILIE == MANDELBROT) {
            s.cx[m] = x0[l];
            s.cy[m] = im;
        }
        s.n[m] = n[l];
        s.aktiv[m] = -1;
        s.wieder[m] = wieder[l];
        s.gesichert[m] = 0;
        s.pixel[m] = o + l;
        ++m;
    }
    return m;
}

// The first wave runs straight on the row, four vectors of adjacent pixels
// side by side, until all their lanes have escaped, at most ERSTE_SCHRITTE
// steps: most pixels of a picture end here and are never packed. re holds
// the row's columns, padded to whole groups of four vectors. Returns how
// many lanes go on (each after ERSTE_SCHRITTE steps) in the packed list.
template <class V, int FAMILIE>
int erste_welle(const double* re, int breite, double im, const Konstanten<V>& k, uint16_t* zaehler, Bahnen& s) {
    constexpr int L = V::L;
    const typename V::R y = V::alle(im);
    int m = 0;
    for (int o = 0; o < breite; o += 4 * L) {
        Kette<V> c0 = start_kette<V, FAMILIE>(re + o, y, k);
        Kette<V> c1 = start_kette<V, FAMILIE>(re + o + L, y, k);
        Kette<V> c2 = start_kette<V, FAMILIE>(re + o + 2 * L, y, k);
        Kette<V> c3 = start_kette<V, FAMILIE>(re + o + 3 * L, y, k);
        for (int i = 0; i < ERSTE_SCHRITTE; ++i) {
            schritt<V, FAMILIE>(c0, k);
            schritt<V, FAMILIE>(c1, k);
            schritt<V, FAMILIE>(c2, k);
            schritt<V, FAMILIE>(c3, k);
            if (!V::irgendein(V::oder(V::oder(c0.akt, c1.akt), V::oder(c2.akt, c3.akt)))) break;
        }
        m = nach_erster_welle<V, FAMILIE>(c0, im, o, breite, zaehler, s, m);
        m = nach_erster_welle<V, FAMILIE>(c1, im, o + L, breite, zaehler, s, m);
        m = nach_erster_welle<V, FAMILIE>(c2, im, o + 2 * L, breite, zaehler, s, m);
        m = nach_erster_welle<V, FAMILIE>(c3, im, o + 3 * L, breite, zaehler, s, m);
    }
    return m;
}

template <class V, int FAMILIE>
void zeile_welle(const Zeilenauftrag& t, double im, uint16_t* zaehler) {
    constexpr int L = V::L;
    Bahnen s;
    const Konstanten<V> k(t);
    // The columns padded to whole groups of four vectors with a value that
    // escapes at once (the padding lanes' counts are thrown away), and
    // room for the counts of the padding.
    double re[KAPAZITAET];
    uint16_t z[KAPAZITAET];
    const int gepolstert = (t.breite + 4 * L - 1) / (4 * L) * (4 * L);
    for (int p = 0; p < gepolstert; ++p) re[p] = p < t.breite ? t.re[p] : 1e300;

    int m = erste_welle<V, FAMILIE>(re, t.breite, im, k, z, s);
    int max_n = ERSTE_SCHRITTE;
    // Then waves over the packed lanes, longer and longer; never beyond
    // the limit.
    for (int welle_nr = 2; m > 0; ++welle_nr) {
        leere_bahnen(s, m, (m + L - 1) / L * L);
        int k_schritte = 4 << (welle_nr < 4 ? welle_nr : 4);
        if (k_schritte > GRENZE - max_n) k_schritte = GRENZE - max_n;
        int o = 0;
        for (; o + 4 * L <= m; o += 4 * L) welle4<V, FAMILIE>(s, o, k_schritte, k);
        for (; o < m; o += L) welle1<V, FAMILIE>(s, o, k_schritte, k);
        m = sortiere<FAMILIE>(s, m, t, z, &max_n);
    }
    std::memcpy(zaehler, z, sizeof z[0] * static_cast<size_t>(t.breite));
}

// The row kernel of an instruction set: the family decides the step.
template <class V>
void zeile_polynom(const Zeilenauftrag& t, double im, uint16_t* zaehler) {
    switch (t.familie) {
    case MANDELBROT:
        zeile_welle<V, MANDELBROT>(t, im, zaehler);
        break;
    case KUBISCH:
        zeile_welle<V, KUBISCH>(t, im, zaehler);
        break;
    case JULIA:
        zeile_welle<V, JULIA>(t, im, zaehler);
        break;
    default:
        zeile_skalar(t, im, zaehler);
        break;
    }
}

}  // namespace
}  // namespace kerne
