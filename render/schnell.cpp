#include "schnell.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <thread>

#include "farbgesetz.h"
#include "julia_kub.h"
#include "julia_sin.h"
#include "kernels/zeilen.h"
#include "mandelbrot.h"
#include "view_state.h"
#include "zaehlwerk.h"

Rechenweise rechenweise;

int standard_arbeiter() {
    unsigned n = std::thread::hardware_concurrency();
    return n > 0 ? static_cast<int>(n) : 1;
}

namespace {

kerne::Zeilenkern waehle_kern(Kern kern, int familie) {
    if (familie == kerne::TRIGO) return kerne::zeile_trigo;
    switch (kern) {
    case Kern::skalar:
        return kerne::zeile_skalar;
    case Kern::sse2:
        return kerne::zeile_sse2;
    case Kern::avx2:
        return kerne::avx2_vorhanden() ? kerne::zeile_avx2 : kerne::zeile_sse2;
    case Kern::avx512:
    case Kern::bester:
        break;
    }
    if (kerne::avx512_vorhanden()) return kerne::zeile_avx512;
    return kerne::avx2_vorhanden() ? kerne::zeile_avx2 : kerne::zeile_sse2;
}

// Raster order: rows y = 500 down to 0, row index k = 500 - y.
constexpr int zeile_von(int k) { return RASTER_HOEHE - 1 - k; }

// Colours of the Julia families by count, from the colour law as the point
// classes' zeichne_Punkt apply it.
void julia_farben(long* tabelle, int offset) {
    for (int n = 0; n <= kerne::GRENZE; ++n) {
        double r, g, b;
        int it = n;
        farbgesetz(r, g, b, it);
        tabelle[n] = farbwert(r, g, b, offset);
    }
}

// The loops below run once per pixel on the calling thread while the
// workers compute, so they do no more than SetPixel needs. farbe is stored
// once per row, with the row's last colour: nothing reads it during a pass
// (SetPixel does not, and no message is handled), and afterwards it holds
// the last pixel's colour as after the plain pass.

// Columns 0 .. bis - 1 of row y, coloured by their counts z.
inline void setze_zeile(HDC hdc, int y, const uint16_t* z, const COLORREF* farben, int bis) {
    for (int x = 0; x < bis; ++x) SetPixel(hdc, x, y, farben[z[x]]);
}

void mandelbrot_pixel(HDC hdc, Zaehlwerk& werk) {
    COLORREF farben[kerne::GRENZE + 1];
    for (int n = 0; n <= kerne::GRENZE; ++n) {
        double r, g, b;
        mandel_kanaele(n, r, g, b);
        farben[n] = static_cast<COLORREF>(packe(r, g, b));
    }
    for (int k = 0; k < RASTER_HOEHE - 1; ++k) setze_zeile(hdc, zeile_von(k), werk.zeile(k), farben, RASTER_BREITE);
    setze_zeile(hdc, 0, werk.zeile(RASTER_HOEHE - 1), farben, RASTER_BREITE - 1);
    // The last pixel the plain way: it leaves mPoint, red, green and blue as
    // the plain pass does.
    mandel_pixel(hdc, RASTER_BREITE - 1, 0);
}

void polynom_pixel(HDC hdc, Zaehlwerk& werk) {
    long farben[kerne::GRENZE + 1];
    julia_farben(farben, OFFSET_POLYNOM);
    COLORREF pixel[kerne::GRENZE + 1];
    for (int n = 0; n <= kerne::GRENZE; ++n) pixel[n] = static_cast<COLORREF>(farben[n]);
    for (int k = 0; k < RASTER_HOEHE; ++k) {
        const uint16_t* z = werk.zeile(k);
        setze_zeile(hdc, zeile_von(k), z, pixel, RASTER_BREITE);
        farbe = farben[z[RASTER_BREITE - 1]];
    }
}

void trigo_pixel(HDC hdc, Zaehlwerk& werk) {
    long farben[kerne::GRENZE + 1];
    julia_farben(farben, OFFSET_TRIGO);
    COLORREF pixel[kerne::GRENZE + 1];
    // The trace record of every count, as printf("farbe=%ld") writes it.
    char texte[kerne::GRENZE + 1][32];
    size_t laengen[kerne::GRENZE + 1];
    for (int n = 0; n <= kerne::GRENZE; ++n) {
        pixel[n] = static_cast<COLORREF>(farben[n]);
        laengen[n] = static_cast<size_t>(std::snprintf(texte[n], sizeof texte[n], "farbe=%ld", farben[n]));
    }

    // A row's trace records go to standard output together, after its
    // pixels: the same bytes in the same order, one locked write per row
    // instead of one per pixel (the layer writes nothing to standard output).
    char spur[RASTER_BREITE * sizeof texte[0]];
    int letzte_zeile = -1, letzte_spalte = -1;  // last pixel that took a step
    for (int k = 0; k < RASTER_HOEHE; ++k) {
        const int y = zeile_von(k);
        const uint16_t* z = werk.zeile(k);
        setze_zeile(hdc, y, z, pixel, RASTER_BREITE);
        size_t laenge = 0;
        for (int x = 0; x < RASTER_BREITE; ++x) {
            const int n = z[x];
            std::memcpy(spur + laenge, texte[n], sizeof texte[n]);  // whole slots: fixed-size copies
            laenge += laengen[n];
            if (n > 0) {
                letzte_zeile = y;
                letzte_spalte = x;
            }
        }
        std::fwrite(spur, 1, laenge, stdout);
        farbe = farben[z[RASTER_BREITE - 1]];
    }
    if (j2 == 1 && letzte_zeile >= 0) {
        // The exchanged-sine step leaves its swap temporary in q: the plain
        // pass ends with the value of the last step of the last pixel that
        // took one. Run that orbit the plain way.
        Julia_PunktSin p(ebene_re(letzte_spalte), ebene_im(letzte_zeile), a, b);
        while (p.abbruch_kriterium() == 0 && p.iterat_zahl < ITERATIONEN_MAX) p.folg();
    }
}

}  // namespace

void zeichne_schnell(int familie, HDC hdc, const Rechenweise& weise) {
    double re[RASTER_BREITE];
    for (int x = 0; x < RASTER_BREITE; ++x) re[x] = ebene_re(x);
    double im[RASTER_HOEHE];
    for (int k = 0; k < RASTER_HOEHE; ++k) im[k] = ebene_im(zeile_von(k));

    kerne::Zeilenauftrag auftrag;
    auftrag.familie = familie;
    auftrag.j2 = j2;
    auftrag.a = a, auftrag.b = b, auftrag.a2 = a2, auftrag.b2 = b2;
    auftrag.schranke = familie == kerne::KUBISCH ? kub_schranke(a, b, a2, b2) : 4.0;
    auftrag.re = re;
    auftrag.breite = RASTER_BREITE;
    double sin_re[RASTER_BREITE], cos_re[RASTER_BREITE];
    if (familie == kerne::TRIGO) {
        for (int x = 0; x < RASTER_BREITE; ++x) {
            const double s = std::sin(re[x]), c = std::cos(re[x]);
            sin_re[x] = s;
            cos_re[x] = c;
        }
        auftrag.sin_re = sin_re;
        auftrag.cos_re = cos_re;
    }

    const int arbeiter = weise.arbeiter > 0 ? weise.arbeiter : standard_arbeiter();
    Zaehlwerk werk(auftrag, im, waehle_kern(weise.kern, familie), arbeiter);
    switch (familie) {
    case kerne::MANDELBROT:
        mandelbrot_pixel(hdc, werk);
        break;
    case kerne::TRIGO:
        trigo_pixel(hdc, werk);
        break;
    default:
        polynom_pixel(hdc, werk);
        break;
    }
}
