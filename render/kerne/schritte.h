// The steps of the polynomial point classes on single doubles, in their
// order of evaluation: Julia_Punkt::folg and MandelPoint::next (quadratic),
// Julia_Punkt_kub::folg (cubic); and the exact cycle detection of the
// one-pixel kernels. Internal linkage: each kernel's translation unit
// compiles its own copy for its instruction set.
#ifndef QUIMBAR_KERNE_SCHRITTE_H
#define QUIMBAR_KERNE_SCHRITTE_H

#include <cstdint>
#include <cstring>

namespace kerne {
namespace {

// z <- z^2 + c
struct Quadratisch {
    double cx, cy;
    void operator()(double& x, double& y) const {
        double tx = x * x - y * y + cx;
        double ty = 2 * x * y + cy;
        x = tx;
        y = ty;
    }
};

// z <- z^3 + D*z + E
struct Kubisch {
    double dx, dy, ex, ey;
    void operator()(double& x, double& y) const {
        double tx = ((x * x * x - 3 * x * y * y) + dx * x) - dy * y + ex;
        double ty = ((-y * y * y + 3 * x * x * y) + dy * x) + dx * y + ey;
        x = tx;
        y = ty;
    }
};

inline bool gleiche_bits(double u, double v) {
    uint64_t bu, bv;
    std::memcpy(&bu, &u, sizeof bu);
    std::memcpy(&bv, &v, sizeof bv);
    return bu == bv;
}

// Cycle detection on the exact doubles: the state after step n is compared
// with two saved states. One is renewed after steps 1, 2, 4, 8, ...
// (Brent's method: finds every cycle, late when it starts late); the other
// every KURZ steps, which finds a short cycle at most KURZ steps after the
// orbit has entered it (orbits drawn slowly into an attracting cycle reach
// it bit for bit only after hundreds of steps). A bitwise repeat means the
// orbit cycles through states that were all tested already and none
// escaped, so it never escapes.
class Wiederkehr {
public:
    static constexpr int KURZ = 16;

    Wiederkehr(double x, double y) : sx_(x), sy_(y), kx_(x), ky_(y) {}
    bool kehrt_wieder(double x, double y, int n) {
        if (gleiche_bits(x, sx_) && gleiche_bits(y, sy_)) return true;
        if (gleiche_bits(x, kx_) && gleiche_bits(y, ky_)) return true;
        if (n == naechste_) {
            sx_ = x;
            sy_ = y;
            naechste_ *= 2;
        }
        if (n % KURZ == 0) {
            kx_ = x;
            ky_ = y;
        }
        return false;
    }

private:
    double sx_, sy_;  // renewed at doubling step counts
    double kx_, ky_;  // renewed every KURZ steps
    int naechste_ = 1;
};

}  // namespace
}  // namespace kerne

#endif
