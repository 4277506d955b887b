// quimbar-render FAMILY a b a2 b2 zoom links oben OUT.ppm
//
// Developer tool: runs one pass of the viewer's own code into a memory pixel
// sink and writes the 500 x 501 raster as binary PPM (row 0 first). The
// trigonometric pass writes its trace to standard output, as in the viewer.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "farbgesetz.h"
#include "layer/device_context.h"
#include "paint_dispatch.h"
#include "view_state.h"

namespace {

int gebrauch() {
    std::fprintf(stderr,
                 "usage: quimbar-render FAMILY a b a2 b2 zoom links oben OUT.ppm\n"
                 "  FAMILY: mandel, julia, sin, sinx, cos or cubic\n");
    return 2;
}

bool waehle_familie(const char* name) {
    struct {
        const char* name;
        int j, j2;
    } const familien[] = {{"mandel", 1, 0}, {"julia", 2, 0}, {"sin", 3, 0},
                          {"sinx", 3, 1},   {"cos", 3, 2},   {"cubic", 4, 0}};
    for (const auto& f : familien)
        if (std::strcmp(name, f.name) == 0) {
            j = f.j;
            j2 = f.j2;
            return true;
        }
    return false;
}

bool schreibe_ppm(const char* pfad, const layer::MemoryDC& dc) {
    std::FILE* f = std::fopen(pfad, "wb");
    if (!f) return false;
    std::fprintf(f, "P6\n%d %d\n255\n", dc.width(), dc.height());
    std::vector<unsigned char> zeile(static_cast<size_t>(dc.width()) * 3);
    for (int y = 0; y < dc.height(); ++y) {
        for (int x = 0; x < dc.width(); ++x) {
            COLORREF c = dc.at(x, y);
            zeile[3 * x] = GetRValue(c);
            zeile[3 * x + 1] = GetGValue(c);
            zeile[3 * x + 2] = GetBValue(c);
        }
        std::fwrite(zeile.data(), 1, zeile.size(), f);
    }
    bool ok = !std::ferror(f);
    return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 10) return gebrauch();
    if (!waehle_familie(argv[1])) {
        std::fprintf(stderr, "quimbar-render: unknown family '%s'\n", argv[1]);
        return gebrauch();
    }
    double* ziele[] = {&a, &b, &a2, &b2, &zoom, &links, &oben};
    for (int k = 0; k < 7; ++k) *ziele[k] = std::strtod(argv[2 + k], nullptr);

    layer::MemoryDC dc(RASTER_BREITE, RASTER_HOEHE);
    zeichne_fraktal(dc.hdc());
    std::fflush(stdout);
    if (!schreibe_ppm(argv[9], dc)) {
        std::fprintf(stderr, "quimbar-render: cannot write '%s'\n", argv[9]);
        return 1;
    }
    return 0;
}
