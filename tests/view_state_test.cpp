// The view state as it stands before the first message: this binary runs
// nothing that changes it.
#include <gtest/gtest.h>

#include "julia.h"
#include "julia_kub.h"
#include "julia_sin.h"
#include "mandelbrot.h"
#include "view_state.h"

namespace {

TEST(ViewState, StartValuesGiveTheStartUpPicture) {
    EXPECT_EQ(zoom, 1.0);
    EXPECT_EQ(links, 0.0);
    EXPECT_EQ(oben, 0.0);
    EXPECT_EQ(a, 0.36);
    EXPECT_EQ(b, 0.46);
    EXPECT_EQ(a2, 0.0);
    EXPECT_EQ(b2, 0.0);
    EXPECT_EQ(j, 2);
    EXPECT_EQ(j2, 0);
    EXPECT_EQ(i, 20);
    EXPECT_GT(i, TEXTPUFFER);  // the buffers, not i, bound the reads
    for (const char* z : {zeiger, zeiger2, zeiger3, zeiger4})
        for (int k = 0; k < TEXTPUFFER; ++k) EXPECT_EQ(z[k], 0);
    EXPECT_EQ(hwnd7, nullptr);
    EXPECT_EQ(pixelwidth, 0);
    EXPECT_EQ(pixelheight, 0);
    EXPECT_EQ(farbe, 0);
    EXPECT_EQ(red, 0.0);
    EXPECT_EQ(q, 0.0);
}

TEST(ViewState, SetObjectsWereBuiltFromTheStartValuesBeforeMain) {
    EXPECT_EQ(jm.cx, 0.36);
    EXPECT_EQ(jm.cy, 0.46);
    EXPECT_EQ(jmk.cx, 0.36);
    EXPECT_EQ(jmk.cy, 0.46);
    EXPECT_EQ(jmk.dx, 0.0);
    EXPECT_EQ(jmk.dy, 0.0);
    EXPECT_EQ(jmSin.cx, 0.36);
    EXPECT_EQ(jmSin.cy, 0.46);
    EXPECT_EQ(mPoint.getit(), 0);
}

}  // namespace
