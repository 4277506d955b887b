// The raster every pass walks, its mapping onto the plane, and the colour
// law that turns an iteration count into a pixel colour.
#ifndef QUIMBAR_FARBGESETZ_H
#define QUIMBAR_FARBGESETZ_H

#include <windows.h>

constexpr int RASTER_BREITE = 500;   // columns x = 0 .. 499
constexpr int RASTER_HOEHE = 501;    // rows y = 0 .. 500
constexpr int ITERATIONEN_MAX = 511; // counts end between 0 and 511

// Plane units per pixel at zoom 1.
constexpr double K = 4.0 / 499;

// Colour offsets of the green and blue channels.
constexpr int OFFSET_POLYNOM = 200;  // Mandelbrot, quadratic and cubic passes
constexpr int OFFSET_TRIGO = 500;    // trigonometric pass

// Plane coordinate of pixel index p at zoom massstab and offset versatz:
// (p * K + (-2)) / massstab + versatz, in this order of evaluation.
double ebene(int p, double massstab, double versatz);

// Plane point of a pixel under the current view (zoom, links, oben).
double ebene_re(int x);
double ebene_im(int y);

// Colour law: fractions (multiples of 1/7) from the three 3-bit fields of the
// count. farbgesetz consumes the count: `it` ends shifted right by 6.
void farbgesetz(double& red, double& green, double& blue, int& it);
void getcolorval(int itn, double& red, double& green, double& blue);

// A channel value truncated toward zero, keeping its low 8 bits (so -200
// wraps to 56).
int kanal(double wert);

// Packs the channel values R, G, B into a COLORREF-layout value.
long packe(double r, double g, double b);

// Channel values from fractions with the given offset, packed.
long farbwert(double red, double green, double blue, int offset);

#endif
