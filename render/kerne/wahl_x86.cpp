// The kernel choice on x86: the widest vector kernel the processor has.
#include "kerne/x86.h"

namespace kerne {

// Both ask the processor and whether the system saves the vector registers.
bool avx2_vorhanden() { return __builtin_cpu_supports("avx2"); }

bool avx512_vorhanden() { return __builtin_cpu_supports("avx512f"); }

Zeilenkern waehle(Kern kern, Familie familie) {
    if (familie == TRIGO) return zeile_trigo;
    switch (kern) {
    case Kern::skalar:
        return zeile_skalar;
    case Kern::sse2:
        return zeile_sse2;
    case Kern::avx2:
        return avx2_vorhanden() ? zeile_avx2 : zeile_sse2;
    case Kern::avx512:
    case Kern::bester:
        break;
    }
    if (avx512_vorhanden()) return zeile_avx512;
    return avx2_vorhanden() ? zeile_avx2 : zeile_sse2;
}

}  // namespace kerne
