// Fast passes: the same pictures as the plain per-pixel passes, pixel for
// pixel, set in the same raster order through SetPixel on the calling
// thread, with the same trace. Only the iteration counts are computed
// differently: by the row kernels (kerne/zeilen.h) on worker threads,
// rows ahead of the calling thread, which takes them strictly in raster
// order and computes rows itself while the one it needs is not ready.
//
// The fast pass knows no family: each family hands it what is its own and
// afterwards leaves behind in farbe, mPoint, red, green, blue and q what
// its plain pass leaves there.
#ifndef QUIMBAR_SCHNELL_H
#define QUIMBAR_SCHNELL_H

#include <windows.h>

#include "kerne/zeilen.h"

struct Rechenweise {
    // Worker threads besides the calling thread, which computes rows too
    // whenever the one it needs next is not ready; 0: standard_arbeiter().
    int arbeiter = 0;
    kerne::Kern kern = kerne::Kern::bester;
};

// How the families' zeichne methods and zeichne_mandelbrot compute.
extern Rechenweise rechenweise;

// One per hardware thread, at least one. The calling thread computes too,
// but only while the row it needs is not ready: with as many workers as
// processors, a pass also keeps its share of them against other programs
// (in a window, the display server is busy at the same time).
int standard_arbeiter();

// What a family hands the fast pass.
struct Familienauftrag {
    kerne::Familie familie;  // the step the row kernels iterate
    double schranke;         // escape bound on x*x + y*y (polynomial families)
    int offset;              // colour offset of green and blue
    bool spur;               // each pixel writes its record "farbe=%ld" to standard output
};

// Draws the family from the current view state (zoom, links, oben, a, b,
// a2, b2, j2) onto hdc. Returns the colour of the last pixel set, (499, 0);
// writes none of the globals.
long zeichne_schnell(const Familienauftrag& familie, HDC hdc, const Rechenweise& weise = rechenweise);

#endif
