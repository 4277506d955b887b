// The polynomial batch kernel on AVX-512 (foundation instructions only):
// eight doubles per vector, lane flags in mask registers. Everything below
// the target pragma is compiled for AVX-512F (without FMA) and is only
// reached after avx512_vorhanden() said yes. The headers come first, so none
// of their inline functions is compiled for AVX-512.
#include <immintrin.h>

#include <cstdint>
#include <cstring>

#include "kerne/x86.h"

#pragma GCC target("avx512f")

namespace kerne {
namespace {

struct Avx512 {
    using R = __m512d;
    using M = __mmask8;
    using I = __m512i;
    static constexpr int L = 8;

    static R laden(const double* p) { return _mm512_loadu_pd(p); }
    static void speichern(double* p, R v) { _mm512_storeu_pd(p, v); }
    static I laden_i(const int64_t* p) { return _mm512_loadu_si512(p); }
    static void speichern_i(int64_t* p, I v) { _mm512_storeu_si512(p, v); }
    static M laden_m(const int64_t* p) { return _mm512_test_epi64_mask(laden_i(p), laden_i(p)); }
    static void speichern_m(int64_t* p, M m) { speichern_i(p, _mm512_maskz_set1_epi64(m, -1)); }
    static R alle(double v) { return _mm512_set1_pd(v); }
    static R add(R u, R v) { return _mm512_add_pd(u, v); }
    static R sub(R u, R v) { return _mm512_sub_pd(u, v); }
    static R mul(R u, R v) { return _mm512_mul_pd(u, v); }
    static R neg(R u) {
        return _mm512_castsi512_pd(_mm512_xor_si512(_mm512_castpd_si512(u), _mm512_set1_epi64(INT64_MIN)));
    }
    static M ge(R u, R v) { return _mm512_cmp_pd_mask(u, v, _CMP_GE_OQ); }
    static M gleich(R u, R v) { return _mm512_cmp_pd_mask(u, v, _CMP_EQ_OQ); }
    static M ohne(M m, M w) { return static_cast<M>(m & ~w); }
    static M oder(M u, M v) { return static_cast<M>(u | v); }
    static I zaehle(I n, M m) { return _mm512_mask_add_epi64(n, m, n, _mm512_set1_epi64(1)); }
    static bool irgendein(M m) { return m != 0; }
};

}  // namespace
}  // namespace kerne

#include "kerne/polynom_welle.h"

namespace kerne {

void zeile_avx512(const Zeilenauftrag& auftrag, double im, uint16_t* zaehler) {
    zeile_polynom<Avx512>(auftrag, im, zaehler);
}

}  // namespace kerne
