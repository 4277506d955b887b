// The cubic Julia set: z <- z^3 + D*z + E, with an escape bound computed
// from D and E.
#ifndef QUIMBAR_JULIA_KUB_H
#define QUIMBAR_JULIA_KUB_H

#include <windows.h>

class Julia_Punkt_kub {
public:
    Julia_Punkt_kub(double x, double y, double dx, double dy, double ex, double ey);
    int abbruch_kriterium();
    void folg();
    void zeichne_Punkt(int x, int y, HDC hdc);  // consumes iterat_zahl

    int iterat_zahl;
    double x, y;    // z
    double dx, dy;  // D
    double ex, ey;  // E
};

// The bound on |z|^2: the larger of ex^2*ey^2 and |dx*dy| + 2 (products, not
// sums of squares), and |dx*dy| + 2 whenever the comparison fails.
double kub_schranke(double dx, double dy, double ex, double ey);

class Julia_Menge_kub {
public:
    Julia_Menge_kub(double cx, double cy, double dx, double dy);
    void zeichne(HDC hdc);          // fast pass; reads the current a, b, a2, b2
    void zeichne_einfach(HDC hdc);  // the plain per-pixel pass

    double cx, cy, dx, dy;
};

#endif
