// The number a parameter text stands for.
#ifndef QUIMBAR_DEZIMALZAHL_H
#define QUIMBAR_DEZIMALZAHL_H

// Reads the longest leading decimal number of text: optional white space,
// optional sign, digits with an optional point "." and fraction (at least one
// digit in all), optional exponent ("e" or "E", optional sign, digits).
// Reading stops at the first character that does not fit; a text without
// such a number gives 0. "inf", "nan" and hexadecimal texts are no numbers
// here ("0x1p3" reads as 0). The result is the double nearest to the number,
// the same on every system and in every locale; beyond the range of double
// it is +-HUGE_VAL, below it +-0.
double dezimalzahl(const char* text);

#endif
