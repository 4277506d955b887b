#include "schnell.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <thread>

#include "farbgesetz.h"
#include "view_state.h"
#include "zaehlwerk.h"

Rechenweise rechenweise;

int standard_arbeiter() {
    unsigned n = std::thread::hardware_concurrency();
    return n > 0 ? static_cast<int>(n) : 1;
}

namespace {

// Raster order: rows y = 500 down to 0, row index k = 500 - y.
constexpr int zeile_von(int k) { return RASTER_HOEHE - 1 - k; }

// The loops below run once per pixel on the calling thread while the
// workers compute, so they do no more than SetPixel needs.

// Columns 0 .. 499 of row y, coloured by their counts z.
inline void setze_zeile(HDC hdc, int y, const uint16_t* z, const COLORREF* farben) {
    for (int x = 0; x < RASTER_BREITE; ++x) SetPixel(hdc, x, y, farben[z[x]]);
}

void setze_bild(HDC hdc, Zaehlwerk& werk, const COLORREF* farben) {
    for (int k = 0; k < RASTER_HOEHE; ++k) setze_zeile(hdc, zeile_von(k), werk.zeile(k), farben);
}

// The same, with every pixel's trace record. A row's records go to standard
// output together, after its pixels: the same bytes in the same order, one
// locked write per row instead of one per pixel (the layer writes nothing
// to standard output).
void setze_bild_mit_spur(HDC hdc, Zaehlwerk& werk, const COLORREF* farben) {
    // The record of every count, as printf("farbe=%ld") writes it.
    char texte[kerne::GRENZE + 1][32];
    size_t laengen[kerne::GRENZE + 1];
    for (int n = 0; n <= kerne::GRENZE; ++n)
        laengen[n] = static_cast<size_t>(std::snprintf(texte[n], sizeof texte[n], "farbe=%ld", long(farben[n])));

    char spur[RASTER_BREITE * sizeof texte[0]];
    for (int k = 0; k < RASTER_HOEHE; ++k) {
        const uint16_t* z = werk.zeile(k);
        setze_zeile(hdc, zeile_von(k), z, farben);
        size_t laenge = 0;
        for (int x = 0; x < RASTER_BREITE; ++x) {
            std::memcpy(spur + laenge, texte[z[x]], sizeof texte[0]);  // whole slots: fixed-size copies
            laenge += laengen[z[x]];
        }
        std::fwrite(spur, 1, laenge, stdout);
    }
}

}  // namespace

long zeichne_schnell(const Familienauftrag& familie, HDC hdc, const Rechenweise& weise) {
    double re[RASTER_BREITE];
    for (int x = 0; x < RASTER_BREITE; ++x) re[x] = ebene_re(x);
    double im[RASTER_HOEHE];
    for (int k = 0; k < RASTER_HOEHE; ++k) im[k] = ebene_im(zeile_von(k));

    kerne::Zeilenauftrag auftrag;
    auftrag.familie = familie.familie;
    auftrag.j2 = j2;
    auftrag.a = a, auftrag.b = b, auftrag.a2 = a2, auftrag.b2 = b2;
    auftrag.schranke = familie.schranke;
    auftrag.re = re;
    auftrag.breite = RASTER_BREITE;
    double sin_re[RASTER_BREITE], cos_re[RASTER_BREITE];
    if (familie.familie == kerne::TRIGO) {
        for (int x = 0; x < RASTER_BREITE; ++x) {
            const double s = std::sin(re[x]), c = std::cos(re[x]);
            sin_re[x] = s;
            cos_re[x] = c;
        }
        auftrag.sin_re = sin_re;
        auftrag.cos_re = cos_re;
    }

    // Colours by count, from the colour law as the point classes'
    // zeichne_Punkt apply it (the Mandelbrot pass's getcolorval and channel
    // values give the same).
    COLORREF farben[kerne::GRENZE + 1];
    for (int n = 0; n <= kerne::GRENZE; ++n) {
        double r, g, b;
        int it = n;
        farbgesetz(r, g, b, it);
        farben[n] = static_cast<COLORREF>(farbwert(r, g, b, familie.offset));
    }

    const int arbeiter = weise.arbeiter > 0 ? weise.arbeiter : standard_arbeiter();
    Zaehlwerk werk(auftrag, im, kerne::waehle(weise.kern, familie.familie), arbeiter);
    if (familie.spur)
        setze_bild_mit_spur(hdc, werk, farben);
    else
        setze_bild(hdc, werk, farben);
    return static_cast<long>(farben[werk.zeile(RASTER_HOEHE - 1)[RASTER_BREITE - 1]]);
}
