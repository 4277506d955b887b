#include "farbgesetz.h"

#include "view_state.h"

namespace {
const double siebtel = 1.0 / 7;
}

double ebene(int p, double massstab, double versatz) { return (p * K + (-2.0)) / massstab + versatz; }

double ebene_re(int x) { return ebene(x, zoom, links); }

double ebene_im(int y) { return ebene(y, zoom, oben); }

void getcolorval(int itn, double& red, double& green, double& blue) {
    red = (itn & 7) * siebtel;
    blue = ((itn >> 3) & 7) * siebtel;
    green = ((itn >> 6) & 7) * siebtel;
}

void farbgesetz(double& red, double& green, double& blue, int& it) {
    red = (it & 7) * siebtel;
    it >>= 3;
    blue = (it & 7) * siebtel;
    it >>= 3;
    green = (it & 7) * siebtel;
}

int kanal(double wert) {
    // Channel values lie in [-500, 255], so the conversion is always defined.
    return static_cast<int>(wert) & 0xFF;
}

long packe(double r, double g, double b) { return kanal(r) + 256L * kanal(g) + 65536L * kanal(b); }

long farbwert(double red, double green, double blue, int offset) {
    double r = (1 - red) * 255;
    double g = (1 - green) * 255 - offset;
    double b = (1 - blue) * 255 - offset;
    return packe(r, g, b);
}
