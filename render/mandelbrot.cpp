#include "mandelbrot.h"

#include "farbgesetz.h"
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

void zeichne_mandelbrot(HDC hdc) {
    for (int y = RASTER_HOEHE - 1; y >= 0; --y) {
        for (int x = 0; x < RASTER_BREITE; ++x) {
            mPoint.setpoint(ebene_re(x), ebene_im(y));
            while (mPoint.inbounds() && mPoint.getit() < ITERATIONEN_MAX) mPoint.next();
            getcolorval(mPoint.getit(), red, green, blue);
            red = (1 - red) * 255;
            green = (1 - green) * 255 - OFFSET_POLYNOM;
            blue = (1 - blue) * 255 - OFFSET_POLYNOM;
            SetPixel(hdc, x, y, static_cast<COLORREF>(packe(red, green, blue)));
        }
    }
}
