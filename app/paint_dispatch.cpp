#include "paint_dispatch.h"

#include "julia.h"
#include "julia_kub.h"
#include "julia_sin.h"
#include "mandelbrot.h"
#include "view_state.h"

void zeichne_fraktal(HDC hdc) {
    // Four tests on the current j; no pass changes j, so exactly one runs.
    if (j == 1) zeichne_mandelbrot(hdc);
    if (j == 2) jm.zeichne(hdc);
    if (j == 3) jmSin.zeichne(hdc);
    if (j == 4) jmk.zeichne(hdc);
}

void zeichne_fraktal_einfach(HDC hdc) {
    if (j == 1) zeichne_mandelbrot_einfach(hdc);
    if (j == 2) jm.zeichne_einfach(hdc);
    if (j == 3) jmSin.zeichne_einfach(hdc);
    if (j == 4) jmk.zeichne_einfach(hdc);
}
