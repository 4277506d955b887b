// The trigonometric Julia sets: z <- c*sin z, the same with real and
// imaginary parts exchanged after each step, and z <- c*cos z (variant j2).
#ifndef QUIMBAR_JULIA_SIN_H
#define QUIMBAR_JULIA_SIN_H

#include <windows.h>

class Julia_PunktSin {
public:
    Julia_PunktSin(double x, double y, double dx, double dy);
    int abbruch_kriterium();  // 1 once |y| > 50; the real part is not tested
    void folg();              // the step chosen by j2
    void zeichne_Punkt(int x, int y, HDC hdc);  // consumes iterat_zahl, writes the trace

    int iterat_zahl;
    double x, y;    // z
    double dx, dy;  // c
};

class Julia_MengeSin {
public:
    Julia_MengeSin(double cx, double cy);
    void zeichne(HDC hdc);          // fast pass; reads the current a, b and j2
    void zeichne_einfach(HDC hdc);  // the plain per-pixel pass

    double cx, cy;
};

#endif
