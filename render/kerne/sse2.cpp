// The polynomial batch kernel on SSE2: two doubles per vector, available on
// every x86-64 processor.
#include <emmintrin.h>

#include <cstdint>
#include <cstring>

#include "kerne/x86.h"

namespace kerne {
namespace {

struct Sse2 {
    using R = __m128d;
    using M = R;  // all-ones lanes
    using I = __m128i;
    static constexpr int L = 2;

    static R laden(const double* p) { return _mm_loadu_pd(p); }
    static void speichern(double* p, R v) { _mm_storeu_pd(p, v); }
    static I laden_i(const int64_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
    static void speichern_i(int64_t* p, I v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
    static M laden_m(const int64_t* p) { return laden(reinterpret_cast<const double*>(p)); }
    static void speichern_m(int64_t* p, M m) { speichern(reinterpret_cast<double*>(p), m); }
    static R alle(double v) { return _mm_set1_pd(v); }
    static R add(R u, R v) { return _mm_add_pd(u, v); }
    static R sub(R u, R v) { return _mm_sub_pd(u, v); }
    static R mul(R u, R v) { return _mm_mul_pd(u, v); }
    static R neg(R u) { return _mm_xor_pd(u, _mm_set1_pd(-0.0)); }
    static R ge(R u, R v) { return _mm_cmpge_pd(u, v); }  // false where either is NaN
    static R gleich(R u, R v) { return _mm_cmpeq_pd(u, v); }
    static R ohne(R m, R w) { return _mm_andnot_pd(w, m); }
    static R oder(R u, R v) { return _mm_or_pd(u, v); }
    static I zaehle(I n, R m) { return _mm_sub_epi64(n, _mm_castpd_si128(m)); }
    static bool irgendein(M m) { return _mm_movemask_pd(m) != 0; }
};

}  // namespace
}  // namespace kerne

#include "kerne/polynom_welle.h"

namespace kerne {

void zeile_sse2(const Zeilenauftrag& auftrag, double im, uint16_t* zaehler) {
    zeile_polynom<Sse2>(auftrag, im, zaehler);
}

}  // namespace kerne
