#include "dezimalzahl.h"

#include <charconv>
#include <cmath>

namespace {

bool ziffer(char c) { return c >= '0' && c <= '9'; }

bool leerraum(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Adds a step to a power of ten, held within bounds far beyond any double.
long begrenzt(long wert, long schritt) {
    constexpr long grenze = 1000000;
    wert += schritt;
    return wert > grenze ? grenze : wert < -grenze ? -grenze : wert;
}

}  // namespace

double dezimalzahl(const char* text) {
    const char* p = text;
    while (leerraum(*p)) ++p;
    const bool negativ = *p == '-';
    if (*p == '+' || *p == '-') ++p;

    // The mantissa, and the power of ten of its first nonzero digit's place
    // plus one (how many places it stands left of the point).
    const char* anfang = p;
    bool ziffern = false, nicht_null = false;
    long stellen = 0;
    for (; ziffer(*p); ++p) {
        ziffern = true;
        if (*p != '0') nicht_null = true;
        if (nicht_null) stellen = begrenzt(stellen, 1);
    }
    if (*p == '.') {
        ++p;
        for (; ziffer(*p); ++p) {
            ziffern = true;
            if (*p != '0') nicht_null = true;
            if (!nicht_null) stellen = begrenzt(stellen, -1);
        }
    }
    if (!ziffern) return 0.0;

    // The exponent counts only when at least one digit follows.
    long exponent = 0;
    if (*p == 'e' || *p == 'E') {
        const char* e = p + 1;
        const bool e_negativ = *e == '-';
        if (*e == '+' || *e == '-') ++e;
        if (ziffer(*e)) {
            for (; ziffer(*e); ++e) exponent = begrenzt(exponent * 10, e_negativ ? -(*e - '0') : *e - '0');
            p = e;
        }
    }

    // from_chars converts to the nearest double by the "C" rules whatever
    // the locale; it takes no "+" and only what the grammar above accepted.
    double wert = 0.0;
    const auto ergebnis = std::from_chars(anfang, p, wert, std::chars_format::general);
    if (ergebnis.ec == std::errc::result_out_of_range)
        wert = begrenzt(stellen, exponent) > 0 ? HUGE_VAL : 0.0;
    return negativ ? -wert : wert;
}
