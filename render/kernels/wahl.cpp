#include "kernels/zeilen.h"

namespace kerne {

bool avx2_vorhanden() { return __builtin_cpu_supports("avx2"); }

}  // namespace kerne
