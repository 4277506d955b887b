// The colour law and the plane mapping shared by every pass.
#include <gtest/gtest.h>

#include "farbgesetz.h"
#include "support/reference.h"
#include "view_state.h"

namespace {

struct Kanaele {
    int r, g, b;
};

Kanaele zerlege(long farbe) { return {int(farbe & 0xFF), int((farbe >> 8) & 0xFF), int((farbe >> 16) & 0xFF)}; }

TEST(Farbgesetz, ChannelBytesForEveryFieldValueAndBothOffsets) {
    for (int k = 0; k < 8; ++k) {
        SCOPED_TRACE(k);
        // k in every field at once, then each field alone.
        int n_alle = k | (k << 3) | (k << 6);
        double red, green, blue;
        getcolorval(n_alle, red, green, blue);
        for (int off : {200, 500}) {
            const uint8_t* gb = off == 200 ? ref::GB_BYTE_200 : ref::GB_BYTE_500;
            Kanaele c = zerlege(farbwert(red, green, blue, off));
            EXPECT_EQ(c.r, ref::R_BYTE[k]);
            EXPECT_EQ(c.g, gb[k]);
            EXPECT_EQ(c.b, gb[k]);
        }
    }
}

TEST(Farbgesetz, FieldsAreRedLowBlueMiddleGreenHigh) {
    double red, green, blue;
    getcolorval(8, red, green, blue);  // red field 0, blue field 1
    Kanaele c = zerlege(farbwert(red, green, blue, 200));
    EXPECT_EQ(c.r, 255);
    EXPECT_EQ(c.g, 55);
    EXPECT_EQ(c.b, 18);

    getcolorval(64, red, green, blue);  // green field 1 only
    c = zerlege(farbwert(red, green, blue, 200));
    EXPECT_EQ(c.r, 255);
    EXPECT_EQ(c.g, 18);
    EXPECT_EQ(c.b, 55);

    getcolorval(511, red, green, blue);
    EXPECT_EQ(red, 1.0);  // a field of 7 is exactly 1
    EXPECT_EQ(farbwert(red, green, blue, 200), 56 * 256 + 56 * 65536);
    EXPECT_EQ(farbwert(red, green, blue, 500), 12 * 256 + 12 * 65536);
}

TEST(Farbgesetz, BothFormsAgreeForEveryCountAndFarbgesetzConsumesIt) {
    for (int n = 0; n <= 511; ++n) {
        double r1, g1, b1, r2, g2, b2;
        getcolorval(n, r1, g1, b1);
        int it = n;
        farbgesetz(r2, g2, b2, it);
        EXPECT_EQ(it, n >> 6);
        EXPECT_EQ(r1, r2);
        EXPECT_EQ(g1, g2);
        EXPECT_EQ(b1, b2);
        EXPECT_EQ(uint32_t(farbwert(r1, g1, b1, 200)), ref::farbe(n, false)) << n;
        EXPECT_EQ(uint32_t(farbwert(r1, g1, b1, 500)), ref::farbe(n, true)) << n;
    }
    int it = 511;
    double r, g, b;
    farbgesetz(r, g, b, it);
    EXPECT_EQ(it, 7);
}

TEST(Farbgesetz, ChannelTruncatesTowardZeroAndWraps) {
    EXPECT_EQ(kanal(-200.0), 56);
    EXPECT_EQ(kanal(-17.86), 239);  // toward zero: -17, not -18
    EXPECT_EQ(kanal(-0.5), 0);
    EXPECT_EQ(kanal(255.99), 255);
    EXPECT_EQ(kanal(-500.0), 12);
}

class Abbildung : public ::testing::Test {
protected:
    void SetUp() override { zoom = 1.0, links = 0.0, oben = 0.0; }
    void TearDown() override { SetUp(); }
};

TEST_F(Abbildung, CornerPixelsAtTheStartView) {
    EXPECT_EQ(ebene_re(0), -2.0);
    EXPECT_EQ(ebene_im(0), -2.0);
    EXPECT_EQ(ebene_re(499), 1.9999999999999996);  // double rounding, not 2
    EXPECT_EQ(ebene_im(500), 2.008016032064128);   // row 500 lies beyond +2
    EXPECT_EQ(K, 0.008016032064128256);
}

TEST_F(Abbildung, ZoomShrinksAroundTheOffsets) {
    zoom = 2, links = 1, oben = 1;
    EXPECT_EQ(ebene_re(0), 0.0);
    EXPECT_EQ(ebene_im(0), 0.0);
    zoom = 4, links = -0.125, oben = 0.5;
    EXPECT_EQ(ebene_re(0), -0.625);
    EXPECT_EQ(ebene_im(0), 0.0);
    // Imaginary part grows with the row index.
    EXPECT_LT(ebene_im(10), ebene_im(11));
}

}  // namespace
