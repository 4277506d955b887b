// The Mandelbrot set: z <- z^2 + c, started at z = c.
#ifndef QUIMBAR_MANDELBROT_H
#define QUIMBAR_MANDELBROT_H

#include <windows.h>

class MandelPoint {
public:
    void setpoint(double a, double b);
    int inbounds();  // 0 once x*x + y*y >= 4 (a NaN stays in bounds)
    void next();
    int getit();
    void showpoint(double& a, double& b);

private:
    double x = 0, y = 0;    // z
    double cx = 0, cy = 0;  // c
    int iteration = 0;
};

// Draws the whole raster through the global mPoint and red, green, blue.
void zeichne_mandelbrot(HDC hdc);

#endif
