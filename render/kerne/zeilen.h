// Row kernels: the iteration counts of one raster row, computed without
// touching any global state, so that worker threads can run them. Every
// count equals the one the family's point class reaches for that pixel.
//
// Two shortcuts keep the counts exact:
// - an orbit whose state (x, y) comes back bit for bit to an earlier state
//   is periodic, never escapes, and gets the count 511 at once;
// - the cubic bound depends only on D and E and is computed once per picture.
#ifndef QUIMBAR_KERNE_ZEILEN_H
#define QUIMBAR_KERNE_ZEILEN_H

#include <cstdint>

namespace kerne {

constexpr int GRENZE = 511;     // counts end between 0 and 511
constexpr int MAX_BREITE = 512; // longest row a kernel accepts

// The families, numbered as the selector j.
enum Familie { MANDELBROT = 1, JULIA = 2, TRIGO = 3, KUBISCH = 4 };

// Everything a kernel reads: a snapshot of the view taken before the pass.
struct Zeilenauftrag {
    Familie familie = JULIA;
    int j2 = 0;                 // trigonometric variant: 0 sine, 1 exchanged, 2 cosine
    double a = 0, b = 0;        // c, or D of the cubic family
    double a2 = 0, b2 = 0;      // E of the cubic family
    double schranke = 4;        // escape bound on x*x + y*y of the polynomial families
    const double* re = nullptr; // plane real part of every column
    int breite = 0;             // number of columns, at most MAX_BREITE
    // Trigonometric family, optional: sin and cos of every re, computed once
    // for all rows (the first step of every pixel needs them).
    const double* sin_re = nullptr;
    const double* cos_re = nullptr;
};

// Counts of the row whose plane imaginary part is im, one per column.
using Zeilenkern = void (*)(const Zeilenauftrag& auftrag, double im, uint16_t* zaehler);

// One pixel at a time (every family; the trigonometric one goes to zeile_trigo).
void zeile_skalar(const Zeilenauftrag& auftrag, double im, uint16_t* zaehler);
// The trigonometric family: several orbits side by side.
void zeile_trigo(const Zeilenauftrag& auftrag, double im, uint16_t* zaehler);

// Which row kernel computes the polynomial families (the trigonometric
// family always goes one pixel at a time). The vector kernels run several
// pixels per instruction; the build has them on x86 only (x86.h), and
// elsewhere every choice is the scalar kernel.
enum class Kern {
    bester,  // the widest the processor has: AVX-512, AVX2 or SSE2
    skalar,  // one pixel at a time
    sse2,
    avx2,    // falls back to SSE2 where the processor lacks AVX2
    avx512,  // falls back to AVX2 or SSE2 where the processor lacks AVX-512
};

// The row kernel for the family: the one asked for, or the widest below it
// that the processor has (wahl_x86.cpp on x86, wahl_skalar.cpp elsewhere).
Zeilenkern waehle(Kern kern, Familie familie);

}  // namespace kerne

#endif
