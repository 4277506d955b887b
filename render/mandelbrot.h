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

// Draws the whole raster (the fast pass of schnell.h).
void zeichne_mandelbrot(HDC hdc);

// The plain pass: every pixel through mandel_pixel, in raster order.
void zeichne_mandelbrot_einfach(HDC hdc);

// One pixel the plain way: iterates the global mPoint from the pixel's plane
// point and leaves the channel values in the globals red, green, blue;
// mandel_pixel then sets the pixel.
void mandel_punkt(int x, int y);
void mandel_pixel(HDC hdc, int x, int y);

// Channel values of a count: the colour law's fractions, then
// (1 - fraction) * 255, less 200 for green and blue.
void mandel_kanaele(int it, double& r, double& g, double& b);

#endif
