// Parameter texts to numbers: the decimal grammar, the nearest double, the
// range limits, and no dependence on the locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <string>

#include "dezimalzahl.h"

namespace {

bool same_bits(double x, double y) { return std::memcmp(&x, &y, sizeof x) == 0; }

struct Case {
    const char* text;
    double value;
};

const Case cases[] = {
    // Not numbers of the grammar: C99's infinities, NaNs and hexadecimal
    // floats among them.
    {"inf", 0.0}, {"-INF", 0.0}, {"nan", 0.0}, {"infinity", 0.0}, {"", 0.0}, {"-", 0.0}, {".", 0.0}, {"e5", 0.0},
    {"0x1p3", 0.0}, {"0X10", 0.0},
    // The longest prefix that fits.
    {"1e5x", 100000.0}, {" -2.5e-1z", -0.25}, {"\t\n+.5", 0.5}, {"5.", 5.0}, {"1e", 1.0}, {"1e+", 1.0},
    {"1.5E+2", 150.0}, {"0,5", 0.0}, {"12.3.4", 12.3}, {"- 1", 0.0}, {"--1", 0.0},
    // The nearest double, ties to even.
    {"0.1", 0.1}, {"0.313", 0.313}, {"9007199254740993", 9007199254740992.0},
    {"2.2250738585072011e-308", 2.2250738585072011e-308}, {"1e-310", 1e-310},
    {"4.9406564584124654e-324", 4.9406564584124654e-324},
    {"00000000000000523456", 523456.0},
    // Beyond the range of double: +-HUGE_VAL; below it: 0.
    {"1e400", HUGE_VAL}, {"-1e400", -HUGE_VAL}, {"1e99999999999999999999", HUGE_VAL}, {"1e-400", 0.0},
    {"0.0000001e-320", 0.0}, {"1000e-327", 0.0}, {"0e99999999999", 0.0},
};

TEST(Dezimalzahl, ReadsTheLongestLeadingDecimalNumber) {
    for (const Case& c : cases)
        EXPECT_TRUE(same_bits(dezimalzahl(c.text), c.value))
            << '"' << c.text << "\" gives " << dezimalzahl(c.text) << ", expected " << c.value;
    // A minus before a zero or an underflow is kept, as strtod keeps it.
    EXPECT_TRUE(std::signbit(dezimalzahl("-0")));
    EXPECT_TRUE(std::signbit(dezimalzahl("-1e-400")));
}

// In a locale whose decimal separator is the comma, a point still separates
// and a comma still ends the number.
TEST(Dezimalzahl, IgnoresTheLocale) {
    const std::string before = std::setlocale(LC_ALL, nullptr);
    const char* german = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"})
        if ((german = std::setlocale(LC_ALL, name))) break;
    if (!german) GTEST_SKIP() << "no German locale (Debian: locales, then localedef -i de_DE -f UTF-8 de_DE.UTF-8)";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    EXPECT_EQ(dezimalzahl("-2.5e-1"), -0.25);
    EXPECT_EQ(dezimalzahl("0,5"), 0.0);
    EXPECT_EQ(dezimalzahl("0.313"), 0.313);
    std::setlocale(LC_ALL, before.c_str());
}

}  // namespace
