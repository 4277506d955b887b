#include "julia.h"

#include "farbgesetz.h"
#include "schnell.h"
#include "view_state.h"

Julia_Punkt::Julia_Punkt(double x, double y, double dx, double dy)
    : iterat_zahl(0), x(x), y(y), dx(dx), dy(dy) {}

int Julia_Punkt::abbruch_kriterium() { return x * x + y * y >= 4 ? 1 : 0; }

void Julia_Punkt::folg() {
    double tx = x * x - y * y + dx;
    double ty = 2 * x * y + dy;
    x = tx;
    y = ty;
    iterat_zahl += 1;
}

void Julia_Punkt::zeichne_Punkt(int x, int y, HDC hdc) {
    double red, green, blue;
    farbgesetz(red, green, blue, iterat_zahl);
    farbe = farbwert(red, green, blue, OFFSET_POLYNOM);
    SetPixel(hdc, x, y, static_cast<COLORREF>(farbe));
}

Julia_Menge::Julia_Menge(double cx, double cy) : cx(cx), cy(cy) {}

void Julia_Menge::zeichne(HDC hdc) { farbe = zeichne_schnell({kerne::JULIA, 4, OFFSET_POLYNOM, false}, hdc); }

void Julia_Menge::zeichne_einfach(HDC hdc) {
    for (int y = RASTER_HOEHE - 1; y >= 0; --y) {
        for (int x = 0; x < RASTER_BREITE; ++x) {
            Julia_Punkt jp(ebene_re(x), ebene_im(y), a, b);
            while (jp.abbruch_kriterium() == 0 && jp.iterat_zahl < ITERATIONEN_MAX) jp.folg();
            jp.zeichne_Punkt(x, y, hdc);
        }
    }
}
