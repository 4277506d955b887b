// Row kernel one pixel at a time, for every family: the point classes' loops
// with the step's transcendental functions evaluated once per step, the
// cubic bound taken from the snapshot, and exact periodicity detection.
#include <cmath>

#include "kernels/schritte.h"
#include "kernels/zeilen.h"

namespace kerne {
namespace {

// Brent's cycle detection on the exact doubles: the state after step n is
// compared with a saved state, which is renewed after steps 1, 2, 4, 8, ...
// A bitwise repeat means the orbit cycles through states that were all
// tested already and none escaped, so it never escapes.
class Wiederkehr {
public:
    Wiederkehr(double x, double y) : sx_(x), sy_(y) {}
    bool kehrt_wieder(double x, double y, int n) {
        if (gleiche_bits(x, sx_) && gleiche_bits(y, sy_)) return true;
        if (n == naechste_) {
            sx_ = x;
            sy_ = y;
            naechste_ *= 2;
        }
        return false;
    }

private:
    double sx_, sy_;
    int naechste_ = 1;
};

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

// The loop of Julia_PunktSin with its step: sin, cos, sinh and cosh once per
// step each (the point class evaluates each twice, to the same values).
int zaehle_trigo(double x, double y, double dx, double dy, int j2) {
    Wiederkehr w(x, y);
    for (int n = 0;; ) {
        if (std::fabs(y) > 50) return n;
        if (n >= GRENZE) return GRENZE;
        double tx = 0, ty = 0;
        if (j2 <= 2) {
            double s = std::sin(x), c = std::cos(x);
            double sh = std::sinh(y), ch = std::cosh(y);
            if (j2 < 2) {
                tx = ch * (s * dx) - sh * (c * dy);
                ty = ch * (s * dy) + sh * (c * dx);
                if (j2 == 1) {
                    double t = tx;
                    tx = ty;
                    ty = t;
                }
            } else {
                tx = ch * (c * dx) + sh * (s * dy);
                ty = ch * (c * dy) + sh * (s * (-dx));
            }
        }
        x = tx;
        y = ty;
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
            n = zaehle_trigo(re, im, t.a, t.b, t.j2);
            break;
        }
        zaehler[p] = static_cast<uint16_t>(n);
    }
}

}  // namespace kerne
