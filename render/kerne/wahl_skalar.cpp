// The kernel choice where the build has no vector kernels: one pixel at a
// time, whatever is asked for.
#include "kerne/zeilen.h"

namespace kerne {

Zeilenkern waehle(Kern, Familie familie) { return familie == TRIGO ? zeile_trigo : zeile_skalar; }

}  // namespace kerne
