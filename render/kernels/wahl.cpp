#include "kernels/zeilen.h"

namespace kerne {

// Both ask the processor and whether the system saves the vector registers.
bool avx2_vorhanden() { return __builtin_cpu_supports("avx2"); }

bool avx512_vorhanden() { return __builtin_cpu_supports("avx512f"); }

}  // namespace kerne
