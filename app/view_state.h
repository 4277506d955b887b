// The view state: every variable the window procedure, the fractal passes
// and the parameter dialog share. There is no other state.
#ifndef QUIMBAR_VIEW_STATE_H
#define QUIMBAR_VIEW_STATE_H

#include <windows.h>

// The classes of the set objects and the Mandelbrot point (render/); their
// headers read this one.
class MandelPoint;
class Julia_Menge;
class Julia_Menge_kub;
class Julia_MengeSin;

extern double zoom;   // the raster spans 4/zoom plane units across
extern double links;  // added to every pixel's real part
extern double oben;   // added to every pixel's imaginary part
extern double a, b;   // first parameter: c, or D of the cubic family
extern double a2, b2; // second parameter: E of the cubic family
extern int j;         // family: 1 Mandelbrot, 2 Julia, 3 trigonometric, 4 cubic
extern int j2;        // trigonometric variant: 0 sine, 1 exchanged sine, 2 cosine
extern int i;         // length kept for the dialog's text reads; the buffers bind

constexpr int TEXTPUFFER = 15;  // 14 characters and the terminator
extern char zeiger[TEXTPUFFER], zeiger2[TEXTPUFFER], zeiger3[TEXTPUFFER], zeiger4[TEXTPUFFER];

extern HWND hwnd7;  // the main window
extern int pixelwidth, pixelheight;

// Defined in set_objects.cpp.
extern MandelPoint mPoint;
extern Julia_Menge jm;
extern Julia_Menge_kub jmk;
extern Julia_MengeSin jmSin;

extern double red, green, blue;  // colour fractions, then channels, of the Mandelbrot pass
extern long farbe;               // colour of the latest pixel of a Julia pass
extern double q;                 // swap temporary of the exchanged-sine step

#endif
