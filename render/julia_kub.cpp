#include "julia_kub.h"

#include <cmath>

#include "farbgesetz.h"
#include "schnell.h"
#include "view_state.h"

Julia_Punkt_kub::Julia_Punkt_kub(double x, double y, double dx, double dy, double ex, double ey)
    : iterat_zahl(0), x(x), y(y), dx(dx), dy(dy), ex(ex), ey(ey) {}

double kub_schranke(double dx, double dy, double ex, double ey) {
    double bound = ex * ex * ey * ey;
    double alt = std::sqrt(dx * dx * dy * dy) + 2;
    if (!(bound >= alt)) bound = alt;
    return bound;
}

int Julia_Punkt_kub::abbruch_kriterium() { return x * x + y * y >= kub_schranke(dx, dy, ex, ey) ? 1 : 0; }

void Julia_Punkt_kub::folg() {
    double tx = ((x * x * x - 3 * x * y * y) + dx * x) - dy * y + ex;
    double ty = ((-y * y * y + 3 * x * x * y) + dy * x) + dx * y + ey;
    x = tx;
    y = ty;
    iterat_zahl += 1;
}

void Julia_Punkt_kub::zeichne_Punkt(int x, int y, HDC hdc) {
    double red, green, blue;
    farbgesetz(red, green, blue, iterat_zahl);
    farbe = farbwert(red, green, blue, OFFSET_POLYNOM);
    SetPixel(hdc, x, y, static_cast<COLORREF>(farbe));
}

Julia_Menge_kub::Julia_Menge_kub(double cx, double cy, double dx, double dy) : cx(cx), cy(cy), dx(dx), dy(dy) {}

void Julia_Menge_kub::zeichne(HDC hdc) {
    farbe = zeichne_schnell({kerne::KUBISCH, kub_schranke(a, b, a2, b2), OFFSET_POLYNOM, false}, hdc);
}

void Julia_Menge_kub::zeichne_einfach(HDC hdc) {
    for (int y = RASTER_HOEHE - 1; y >= 0; --y) {
        for (int x = 0; x < RASTER_BREITE; ++x) {
            Julia_Punkt_kub jpk(ebene_re(x), ebene_im(y), a, b, a2, b2);
            while (jpk.abbruch_kriterium() == 0 && jpk.iterat_zahl < ITERATIONEN_MAX) jpk.folg();
            jpk.zeichne_Punkt(x, y, hdc);
        }
    }
}
