// x86: the pause instruction, which leaves the core to its other hardware
// thread and spares the pipeline flush when the flag changes.
#include <immintrin.h>

#include "warten.h"

void kurz_warten() { _mm_pause(); }
