// Row kernel one pixel at a time: the polynomial point classes' loops with
// the cubic bound taken from the snapshot and exact periodicity detection.
#include "kerne/schritte.h"
#include "kerne/zeilen.h"

namespace kerne {
namespace {

// The loop of the polynomial point classes: test |z|^2 against the bound,
// stop at the limit, else step.
template <class Schritt>
int zaehle_polynom(double x, double y, double schranke, Schritt schritt) {
    Wiederkehr w(x, y);
    for (int n = 0;; ) {
        if (x * x + y * y >= schranke) return n;
        if (n >= GRENZE) return GRENZE;
        schritt(x, y);
        ++n;
        if (w.kehrt_wieder(x, y, n)) return GRENZE;
    }
}

}  // namespace

void zeile_skalar(const Zeilenauftrag& t, double im, uint16_t* zaehler) {
    for (int p = 0; p < t.breite; ++p) {
        double re = t.re[p];
        int n = 0;
        switch (t.familie) {
        case MANDELBROT:
            n = zaehle_polynom(re, im, t.schranke, Quadratisch{re, im});
            break;
        case JULIA:
            n = zaehle_polynom(re, im, t.schranke, Quadratisch{t.a, t.b});
            break;
        case KUBISCH:
            n = zaehle_polynom(re, im, t.schranke, Kubisch{t.a, t.b, t.a2, t.b2});
            break;
        default:
            zeile_trigo(t, im, zaehler);
            return;
        }
        zaehler[p] = static_cast<uint16_t>(n);
    }
}

}  // namespace kerne
