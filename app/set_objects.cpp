// The set objects and the Mandelbrot point of the view state. The sets are
// constructed before WinMain, in this order, from the parameters' start
// values: those are constants, so the parameters hold them before any
// object of any translation unit is constructed.
#include "julia.h"
#include "julia_kub.h"
#include "julia_sin.h"
#include "mandelbrot.h"
#include "view_state.h"

MandelPoint mPoint;

Julia_Menge jm(a, b);
Julia_Menge_kub jmk(a, b, a2, b2);
Julia_MengeSin jmSin(a, b);
