// The quadratic Julia set: z <- z^2 + c for a fixed c.
#ifndef QUIMBAR_JULIA_H
#define QUIMBAR_JULIA_H

#include <windows.h>

class Julia_Punkt {
public:
    Julia_Punkt(double x, double y, double dx, double dy);
    int abbruch_kriterium();  // 1 once x*x + y*y >= 4
    void folg();
    void zeichne_Punkt(int x, int y, HDC hdc);  // consumes iterat_zahl

    int iterat_zahl;
    double x, y;    // z
    double dx, dy;  // c
};

class Julia_Menge {
public:
    Julia_Menge(double cx, double cy);
    void zeichne(HDC hdc);          // fast pass; reads the current a, b, not cx, cy
    void zeichne_einfach(HDC hdc);  // the plain per-pixel pass

    double cx, cy;
};

#endif
