// The steps of the polynomial point classes on single doubles, in their
// order of evaluation: Julia_Punkt::folg and MandelPoint::next (quadratic),
// Julia_Punkt_kub::folg (cubic). Internal linkage: each kernel's
// translation unit compiles its own copy for its instruction set.
#ifndef QUIMBAR_KERNELS_SCHRITTE_H
#define QUIMBAR_KERNELS_SCHRITTE_H

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

}  // namespace
}  // namespace kerne

#endif
