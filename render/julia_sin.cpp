#include "julia_sin.h"

#include <cmath>
#include <cstdio>

#include "farbgesetz.h"
#include "schnell.h"
#include "view_state.h"

Julia_PunktSin::Julia_PunktSin(double x, double y, double dx, double dy)
    : iterat_zahl(0), x(x), y(y), dx(dx), dy(dy) {}

int Julia_PunktSin::abbruch_kriterium() { return std::fabs(y) > 50 ? 1 : 0; }

void Julia_PunktSin::folg() {
    double tx = 0, ty = 0;
    if (j2 < 2) {
        tx = std::cosh(y) * (std::sin(x) * dx) - std::sinh(y) * (std::cos(x) * dy);
        ty = std::cosh(y) * (std::sin(x) * dy) + std::sinh(y) * (std::cos(x) * dx);
    }
    if (j2 == 1) {
        q = tx;
        tx = ty;
        ty = q;
    }
    if (j2 == 2) {
        tx = std::cosh(y) * (std::cos(x) * dx) + std::sinh(y) * (std::sin(x) * dy);
        ty = std::cosh(y) * (std::cos(x) * dy) + std::sinh(y) * (std::sin(x) * (-dx));
    }
    x = tx;
    y = ty;
    iterat_zahl += 1;
}

void Julia_PunktSin::zeichne_Punkt(int x, int y, HDC hdc) {
    double red, green, blue;
    farbgesetz(red, green, blue, iterat_zahl);
    farbe = farbwert(red, green, blue, OFFSET_TRIGO);
    std::printf("farbe=%ld", farbe);
    SetPixel(hdc, x, y, static_cast<COLORREF>(farbe));
}

Julia_MengeSin::Julia_MengeSin(double cx, double cy) : cx(cx), cy(cy) {}

void Julia_MengeSin::zeichne(HDC hdc) {
    // The kernel tests |y| > 50 itself: no bound on x*x + y*y.
    farbe = zeichne_schnell({kerne::TRIGO, 0, OFFSET_TRIGO, true}, hdc);
    if (j2 != 1) return;
    // The exchanged-sine step leaves its swap temporary in q: the plain pass
    // ends with the value of the last step of the last pixel that took one,
    // the last in raster order whose start point is not beyond the bound.
    // Run that orbit the plain way.
    for (int y = 0; y < RASTER_HOEHE; ++y)
        for (int x = RASTER_BREITE - 1; x >= 0; --x) {
            Julia_PunktSin p(ebene_re(x), ebene_im(y), a, b);
            if (p.abbruch_kriterium() != 0) continue;
            while (p.abbruch_kriterium() == 0 && p.iterat_zahl < ITERATIONEN_MAX) p.folg();
            return;
        }
}

void Julia_MengeSin::zeichne_einfach(HDC hdc) {
    for (int y = RASTER_HOEHE - 1; y >= 0; --y) {
        for (int x = 0; x < RASTER_BREITE; ++x) {
            Julia_PunktSin jpSin(ebene_re(x), ebene_im(y), a, b);
            while (jpSin.abbruch_kriterium() == 0 && jpSin.iterat_zahl < ITERATIONEN_MAX) jpSin.folg();
            jpSin.zeichne_Punkt(x, y, hdc);
        }
    }
}
