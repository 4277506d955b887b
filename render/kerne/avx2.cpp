// The polynomial batch kernel on AVX2: four doubles per vector. Everything
// below the target pragma is compiled for AVX2 (without FMA) and is only
// reached after avx2_vorhanden() said yes. The headers come first, so none
// of their inline functions is compiled for AVX2.
#include <immintrin.h>

#include <cstdint>
#include <cstring>

#include "kerne/x86.h"

#pragma GCC target("avx2")

namespace kerne {
namespace {

struct Avx2 {
    using R = __m256d;
    using M = R;  // all-ones lanes
    using I = __m256i;
    static constexpr int L = 4;

    static R laden(const double* p) { return _mm256_loadu_pd(p); }
    static void speichern(double* p, R v) { _mm256_storeu_pd(p, v); }
    static I laden_i(const int64_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
    static void speichern_i(int64_t* p, I v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
    static M laden_m(const int64_t* p) { return laden(reinterpret_cast<const double*>(p)); }
    static void speichern_m(int64_t* p, M m) { speichern(reinterpret_cast<double*>(p), m); }
    static R alle(double v) { return _mm256_set1_pd(v); }
    static R add(R u, R v) { return _mm256_add_pd(u, v); }
    static R sub(R u, R v) { return _mm256_sub_pd(u, v); }
    static R mul(R u, R v) { return _mm256_mul_pd(u, v); }
    static R neg(R u) { return _mm256_xor_pd(u, _mm256_set1_pd(-0.0)); }
    static R ge(R u, R v) { return _mm256_cmp_pd(u, v, _CMP_GE_OQ); }  // false where either is NaN
    static R gleich(R u, R v) { return _mm256_cmp_pd(u, v, _CMP_EQ_OQ); }
    static R ohne(R m, R w) { return _mm256_andnot_pd(w, m); }
    static R oder(R u, R v) { return _mm256_or_pd(u, v); }
    static I zaehle(I n, R m) { return _mm256_sub_epi64(n, _mm256_castpd_si256(m)); }
    static bool irgendein(M m) { return _mm256_movemask_pd(m) != 0; }
};

}  // namespace
}  // namespace kerne

#include "kerne/polynom_welle.h"

namespace kerne {

void zeile_avx2(const Zeilenauftrag& auftrag, double im, uint16_t* zaehler) {
    zeile_polynom<Avx2>(auftrag, im, zaehler);
}

}  // namespace kerne
