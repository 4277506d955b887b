// An independent model of the pictures for the tests: escape counts from
// plain loops and colours from the byte table of the colour law, with none
// of the program's classes or helpers.
#ifndef QUIMBAR_TEST_REFERENCE_H
#define QUIMBAR_TEST_REFERENCE_H

#include <cstdint>
#include <string>
#include <vector>

namespace ref {

enum class Familie { mandel, julia, kubisch, sinus, sinus_getauscht, kosinus };

struct Ansicht {
    Familie familie;
    double a, b, a2, b2;
    double zoom, links, oben;
};

// Channel bytes by 3-bit field value: R, then G/B with offset 200 and 500.
extern const uint8_t R_BYTE[8];
extern const uint8_t GB_BYTE_200[8];
extern const uint8_t GB_BYTE_500[8];

uint32_t farbe(int count, bool trigo);

double re(int x, const Ansicht& v);
double im(int y, const Ansicht& v);

// Number of steps after which the orbit of pixel (x, y) first escapes,
// searched up to `grenze` steps; grenze + 1 when it never does.
int flucht(const Ansicht& v, int x, int y, int grenze);

// The colour of pixel (x, y) and the 500 x 501 picture, row 0 first, in
// COLORREF layout.
uint32_t punkt(const Ansicht& v, int x, int y);
std::vector<uint32_t> bild(const Ansicht& v);

// For failure reports: the family's name, and a picture as a binary PPM.
const char* name(Familie f);
void schreibe_ppm(const std::string& pfad, const std::vector<uint32_t>& pixel, int breite, int hoehe);

}  // namespace ref

#endif
