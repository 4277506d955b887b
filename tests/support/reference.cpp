#include "support/reference.h"

#include <cmath>
#include <fstream>

namespace ref {

const uint8_t R_BYTE[8] = {255, 218, 182, 145, 109, 72, 36, 0};
const uint8_t GB_BYTE_200[8] = {55, 18, 239, 202, 166, 129, 93, 56};
const uint8_t GB_BYTE_500[8] = {11, 231, 195, 158, 122, 85, 49, 12};

uint32_t farbe(int n, bool trigo) {
    const uint8_t* gb = trigo ? GB_BYTE_500 : GB_BYTE_200;
    uint32_t r = R_BYTE[n & 7];
    uint32_t bl = gb[(n >> 3) & 7];
    uint32_t g = gb[(n >> 6) & 7];
    return r | (g << 8) | (bl << 16);
}

double re(int x, const Ansicht& v) { return (x * (4.0 / 499) - 2.0) / v.zoom + v.links; }
double im(int y, const Ansicht& v) { return (y * (4.0 / 499) - 2.0) / v.zoom + v.oben; }

int flucht(const Ansicht& v, int px, int py, int grenze) {
    double x = re(px, v), y = im(py, v);
    double cx = v.a, cy = v.b;
    if (v.familie == Familie::mandel) {
        cx = x;
        cy = y;
    }
    double schranke = 4;
    if (v.familie == Familie::kubisch) {
        double e = v.a2 * v.a2 * v.b2 * v.b2;
        double d = std::sqrt(v.a * v.a * v.b * v.b) + 2;
        schranke = e >= d ? e : d;
    }
    for (int n = 0; n <= grenze; ++n) {
        switch (v.familie) {
        case Familie::mandel:
        case Familie::julia:
        case Familie::kubisch:
            if (x * x + y * y >= schranke) return n;
            break;
        default:
            if (y > 50 || y < -50) return n;
        }
        double nx = 0, ny = 0;
        switch (v.familie) {
        case Familie::mandel:
        case Familie::julia:
            nx = x * x - y * y + cx;
            ny = 2 * x * y + cy;
            break;
        case Familie::kubisch:
            nx = x * x * x - 3 * x * y * y + v.a * x - v.b * y + v.a2;
            ny = -y * y * y + 3 * x * x * y + v.b * x + v.a * y + v.b2;
            break;
        case Familie::sinus:
        case Familie::sinus_getauscht: {
            double s = std::sin(x), c = std::cos(x), ch = std::cosh(y), sh = std::sinh(y);
            nx = ch * (s * v.a) - sh * (c * v.b);
            ny = ch * (s * v.b) + sh * (c * v.a);
            if (v.familie == Familie::sinus_getauscht) std::swap(nx, ny);
            break;
        }
        case Familie::kosinus: {
            double s = std::sin(x), c = std::cos(x), ch = std::cosh(y), sh = std::sinh(y);
            nx = ch * (c * v.a) + sh * (s * v.b);
            ny = ch * (c * v.b) + sh * (s * -v.a);
            break;
        }
        }
        x = nx;
        y = ny;
    }
    return grenze + 1;
}

uint32_t punkt(const Ansicht& v, int x, int y) {
    const bool trigo = v.familie == Familie::sinus || v.familie == Familie::sinus_getauscht ||
                       v.familie == Familie::kosinus;
    const int n = flucht(v, x, y, 510);
    return farbe(n > 511 ? 511 : n, trigo);
}

std::vector<uint32_t> bild(const Ansicht& v) {
    std::vector<uint32_t> pixel(500 * 501);
    for (int y = 0; y < 501; ++y)
        for (int x = 0; x < 500; ++x) pixel[y * 500 + x] = punkt(v, x, y);
    return pixel;
}

const char* name(Familie f) {
    static const char* const namen[] = {"mandel", "julia", "cubic", "sin", "sinx", "cos"};
    return namen[static_cast<int>(f)];
}

void schreibe_ppm(const std::string& pfad, const std::vector<uint32_t>& pixel, int breite, int hoehe) {
    std::ofstream out(pfad, std::ios::binary);
    out << "P6\n" << breite << " " << hoehe << "\n255\n";
    for (uint32_t p : pixel) out << char(p & 0xff) << char((p >> 8) & 0xff) << char((p >> 16) & 0xff);
}

}  // namespace ref
