// Fast passes: the same pictures as the plain per-pixel passes, pixel for
// pixel, set in the same raster order through SetPixel on the calling
// thread, with the same trace. Only the iteration counts are computed
// differently: by the row kernels (kernels/zeilen.h) on worker threads,
// rows ahead of the calling thread, which takes them strictly in raster
// order and computes rows itself while the one it needs is not ready.
// Afterwards farbe, mPoint, red, green, blue and q hold what the plain pass
// leaves there.
#ifndef QUIMBAR_SCHNELL_H
#define QUIMBAR_SCHNELL_H

#include <windows.h>

// Which row kernel computes the polynomial families (the trigonometric
// family always goes one pixel at a time).
enum class Kern {
    bester,  // the widest the processor has: AVX-512, AVX2 or SSE2
    skalar,  // one pixel at a time
    sse2,
    avx2,    // falls back to SSE2 where the processor lacks AVX2
    avx512,  // falls back to AVX2 or SSE2 where the processor lacks AVX-512
};

struct Rechenweise {
    // Worker threads besides the calling thread, which computes rows too
    // whenever the one it needs next is not ready; 0: standard_arbeiter().
    int arbeiter = 0;
    Kern kern = Kern::bester;
};

// How the families' zeichne methods and zeichne_mandelbrot compute.
extern Rechenweise rechenweise;

// One per hardware thread, at least one. The calling thread computes too,
// but only while the row it needs is not ready: with as many workers as
// processors, a pass also keeps its share of them against other programs
// (in a window, the display server is busy at the same time).
int standard_arbeiter();

// Draws family `familie` (numbered as the selector j) from the current view
// state onto hdc.
void zeichne_schnell(int familie, HDC hdc, const Rechenweise& weise = rechenweise);

#endif
