// Bad input and extreme views: any text in the parameter fields and any
// number of zoom and pan steps give the value the parsing defines and a
// complete picture that equals the model, never a fault.
#include <cmath>
#include <limits>

#include "resource.h"
#include "support/program_fixture.h"

namespace {

const double inf = std::numeric_limits<double>::infinity();

struct TextCase {
    const char* name;
    const char* text;
    double value;  // what the field reads as
    // Texts that read as the same value draw the same pictures: the first
    // case of each value checks them against the model.
    bool pictures = true;
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }

class BadText : public Program, public ::testing::WithParamInterface<TextCase> {};

// The text goes into every field of the cubic dialog, which reads all four.
TEST_P(BadText, ReadsAsTheParsedValueAndDrawsThePicture) {
    then([] { hl::choose_menu(hl::main_window(), IDM_JULIAKUB); });
    then([] {
        HWND dlg = hl::dialog();
        for (int id : {IDC_EDIT1, IDC_EDIT2, IDC_EDIT3, IDC_EDIT4}) hl::type(dlg, id, GetParam().text);
        hl::press_key(dlg, VK_RETURN);
    });
    then([] {
        const double want = GetParam().value;
        for (double got : {a, b, a2, b2}) {
            EXPECT_EQ(got, want);
            if (want == 0) {
                EXPECT_EQ(std::signbit(got), std::signbit(want));
            }
        }
        EXPECT_LE(std::strlen(zeiger), 14u);
        EXPECT_EQ(hl::paint_count(hl::main_window()), 2);
        if (GetParam().pictures) {
            EXPECT_TRUE(picture_matches_model());
        }
    });
    // The same value as the parameter of the quadratic and sine families.
    then([] { hl::choose_menu(hl::main_window(), IDM_JULIAMENGE); });
    then([] {
        hl::type(hl::dialog(), IDC_EDIT1, GetParam().text);
        hl::press_key(hl::dialog(), VK_RETURN);
    });
    then([] {
        if (GetParam().pictures) {
            EXPECT_TRUE(picture_matches_model());
        }
    });
    // For the sine, zoomed out so that most start points lie beyond +-50
    // and the picture stays quick to check.
    then([] { hl::choose_menu(hl::main_window(), IDM_JULIASIN); });
    then([] {
        hl::type(hl::dialog(), IDC_EDIT2, GetParam().text);
        hl::press_key(hl::dialog(), VK_RETURN);
        for (int k = 0; k < 8; ++k) hl::release_key(hl::main_window(), VK_SUBTRACT);
    });
    then([] {
        if (GetParam().pictures) {
            EXPECT_TRUE(picture_matches_model());
        }
    });
    then_close();
    EXPECT_EQ(run(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, BadText,
    ::testing::Values(TextCase{"Empty", "", 0.0}, TextCase{"Spaces", "     ", 0.0, false},
                      TextCase{"Letters", "abc", 0.0, false}, TextCase{"Overflow", "1e400", inf},
                      TextCase{"NegativeOverflow", "-1e400", -inf}, TextCase{"Underflow", "1e-400", 0.0, false},
                      TextCase{"Nan", "nan", 0.0, false}, TextCase{"Inf", "inf", 0.0, false},
                      TextCase{"Hexadecimal", "0x1p3", 0.0, false},
                      TextCase{"CommaEndsTheNumber", "-0,5x", -0.0}, TextCase{"LetterEndsTheNumber", "1e5x", 1e5},
                      TextCase{"SpaceSignFractionExponent", " -2.5e-1z", -0.25},
                      TextCase{"FourteenCharacters", "-1.2345678e-03", -1.2345678e-03},
                      TextCase{"TwentyCharacters", "12345678901234567890", 12345678901234.0},
                      TextCase{"ExponentCut", "1.00000000000e+300", 1.0},  // cut after "e+": the exponent is lost
                      TextCase{"NonAscii", "\xc3\x84pfel 3", 0.0, false}, TextCase{"Huge", "1e308", 1e308},
                      TextCase{"HugeNegative", "-1e308", -1e308}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Extreme views ------------------------------------------------------------------

void press(int key, int times) {
    for (int k = 0; k < times; ++k) hl::release_key(hl::main_window(), key);
}

// 1,100 steps in one direction, a paint after every 100: each paint completes
// and shows the model's picture, also once zoom has overflowed to infinity or
// underflowed to zero and the offsets have grown without bound.
struct ExtremeCase {
    const char* name;
    int family_command;  // 0: stay with the start-up Julia set
    int key;
};

void PrintTo(const ExtremeCase& c, std::ostream* os) { *os << c.name; }

class ExtremeView : public Program, public ::testing::WithParamInterface<ExtremeCase> {};

TEST_P(ExtremeView, ElevenHundredStepsPaintTheModelPicture) {
    const ExtremeCase& c = GetParam();
    if (c.family_command) {
        then([&] { hl::choose_menu(hl::main_window(), c.family_command); });
        if (c.family_command != IDM_MANDELBROT) then([] { hl::press_key(hl::dialog(), VK_RETURN); });
    }
    for (int round = 0; round < 11; ++round) {
        then([&] { press(c.key, 100); });
        then([round] {
            SCOPED_TRACE(round);
            EXPECT_EQ(hl::paint_count(hl::main_window()), 2 + round + (GetParam().family_command ? 1 : 0));
            if (round % 5 == 0) {
                EXPECT_TRUE(picture_matches_model());
            }
        });
    }
    then([&] {
        if (c.key == VK_ADD) {
            EXPECT_EQ(zoom, inf);
        }
        if (c.key == VK_SUBTRACT) {
            EXPECT_EQ(zoom, 0.0);
        }
        EXPECT_EQ(hl::paint_count(hl::main_window()), 1 + (c.family_command ? 1 : 0) + 11);
    });
    then_close();
    EXPECT_EQ(run(), 0);
}

INSTANTIATE_TEST_SUITE_P(Views, ExtremeView,
                         ::testing::Values(ExtremeCase{"JuliaZoomIn", 0, VK_ADD},
                                           ExtremeCase{"JuliaZoomOut", 0, VK_SUBTRACT},
                                           ExtremeCase{"MandelbrotZoomIn", IDM_MANDELBROT, VK_ADD},
                                           ExtremeCase{"CubicZoomOut", IDM_JULIAKUB, VK_SUBTRACT},
                                           ExtremeCase{"JuliaPanLeft", 0, VK_LEFT},
                                           ExtremeCase{"MandelbrotPanDown", IDM_MANDELBROT, VK_DOWN}),
                         [](const auto& info) { return std::string(info.param.name); });

// Once zoom is zero the step 0.5/zoom is infinite: the offsets become
// infinite, then NaN (inf - inf), and the picture still completes.
TEST_F(Program, PanningAtZoomZeroGivesNonFiniteOffsetsAndStillPaints) {
    then([] {
        press(VK_SUBTRACT, 1100);
        press(VK_LEFT, 1);
    });
    then([] {
        EXPECT_EQ(links, -inf);
        press(VK_RIGHT, 1);
    });
    then([] {
        EXPECT_TRUE(std::isnan(links));
        EXPECT_TRUE(picture_matches_model());
        EXPECT_EQ(hl::paint_count(hl::main_window()), 3);
    });
    then_close();
    EXPECT_EQ(run(), 0);
}

}  // namespace
