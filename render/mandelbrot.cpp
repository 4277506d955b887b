#include "mandelbrot.h"

#include "farbgesetz.h"
#include "schnell.h"
#include "view_state.h"

void MandelPoint::setpoint(double a, double b) {
    x = cx = a;
    y = cy = b;
    iteration = 0;
}

int MandelPoint::inbounds() { return x * x + y * y >= 4 ? 0 : 1; }

void MandelPoint::next() {
    iteration += 1;
    double tx = x * x - y * y + cx;
    double ty = 2 * x * y + cy;
    x = tx;
    y = ty;
}

int MandelPoint::getit() { return iteration; }

void MandelPoint::showpoint(double& a, double& b) {
    a = x;
    b = y;
}

void mandel_kanaele(int it, double& r, double& g, double& b) {
    getcolorval(it, r, g, b);
    r = (1 - r) * 255;
    g = (1 - g) * 255 - OFFSET_POLYNOM;
    b = (1 - b) * 255 - OFFSET_POLYNOM;
}

void mandel_punkt(int x, int y) {
    mPoint.setpoint(ebene_re(x), ebene_im(y));
    while (mPoint.inbounds() && mPoint.getit() < ITERATIONEN_MAX) mPoint.next();
    mandel_kanaele(mPoint.getit(), red, green, blue);
}

void mandel_pixel(HDC hdc, int x, int y) {
    mandel_punkt(x, y);
    SetPixel(hdc, x, y, static_cast<COLORREF>(packe(red, green, blue)));
}

void zeichne_mandelbrot_einfach(HDC hdc) {
    for (int y = RASTER_HOEHE - 1; y >= 0; --y)
        for (int x = 0; x < RASTER_BREITE; ++x) mandel_pixel(hdc, x, y);
}

void zeichne_mandelbrot(HDC hdc) {
    zeichne_schnell({kerne::MANDELBROT, 4, OFFSET_POLYNOM, false}, hdc);
    // The plain pass leaves the last pixel's point and channel values behind
    // (and no farbe).
    mandel_punkt(RASTER_BREITE - 1, 0);
}
