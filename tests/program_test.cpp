// The whole program on the headless backend: start-up, the window, every
// command and key, the parameter and Info dialogs, and painting.
#include <malloc.h>

#include <cmath>
#include <set>

#include "core.h"
#include "resource.h"
#include "support/program_fixture.h"

namespace {

constexpr COLORREF SCHWARZ = 0;

// ---- Start-up and the window --------------------------------------------------

TEST_F(Program, StartsWithTheStartUpPictureAndEndsWithExitCodeZero) {
    then([] {
        HWND w = hl::main_window();
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(hwnd7, w);
        EXPECT_EQ(layer::wnd(w)->text, "Quimbar");
        RECT r = layer::wnd(w)->window_rect;
        EXPECT_EQ(r.left, 250);
        EXPECT_EQ(r.top, 150);
        EXPECT_EQ(r.right - r.left, 500);
        EXPECT_EQ(r.bottom - r.top, 500);
        EXPECT_EQ(pixelwidth, 500);
        EXPECT_EQ(pixelheight, 500);
        // UpdateWindow painted once before the loop; nothing else is pending.
        EXPECT_EQ(hl::paint_count(w), 1);
        EXPECT_FALSE(layer::wnd(w)->has_update);
        EXPECT_TRUE(picture_matches_model());
        EXPECT_GT(hl::present_count(), 0);
    });
    then_close();
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(hl::main_window(), nullptr);
    EXPECT_TRUE(trace.empty());
}

TEST_F(Program, ExitCommandEndsTheProgramLikeTheCloseBox) {
    then([] { hl::choose_menu(hl::main_window(), IDM_BEENDEN); });
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(hl::main_window(), nullptr);
}

TEST_F(Program, EnlargedWindowIsRepaintedWholeAndStaysBlackOutsideTheRaster) {
    then([] { hl::resize(hl::main_window(), 800, 700); });
    then([] {
        HWND w = hl::main_window();
        EXPECT_EQ(hl::paint_count(w), 2);
        EXPECT_EQ(hl::client_width(w), 800);
        EXPECT_TRUE(picture_matches_model());  // black beyond column 499 and row 500
        EXPECT_EQ(hl::screen(w)[600 * 800 + 700], SCHWARZ);
    });
    then_close();
    EXPECT_EQ(run(), 0);
}

TEST_F(Program, UncoveringACornerRepaintsOnceAndKeepsThePicture) {
    then([] {
        RECT corner{0, 0, 40, 30};
        hl::expose(hl::main_window(), corner);
        hl::expose(hl::main_window(), corner);  // merges with the first
    });
    then([] {
        EXPECT_EQ(hl::paint_count(hl::main_window()), 2);
        EXPECT_TRUE(picture_matches_model());
    });
    then_close();
    run();
}

// ---- Family commands and the parameter dialog --------------------------------

struct FamilyCase {
    int command;
    int j, j2;
    double zoom;
    double a, b, a2, b2;  // after OK with the dialog's own texts
    int every = 1;        // pixels checked against the model: every every-th row and column
};

void PrintTo(const FamilyCase& c, std::ostream* os) { *os << "command " << c.command; }

class FamilyCommand : public Program, public ::testing::WithParamInterface<FamilyCase> {};

TEST_P(FamilyCommand, ResetsTheViewAndTakesTheDialogDefaultsOnOk) {
    const FamilyCase& c = GetParam();
    then([] {
        // Start from a moved view and a used variant: the command resets it.
        zoom = 8, links = 0.3, oben = -0.2, j2 = 1;
        hl::choose_menu(hl::main_window(), GetParam().command);
    });
    then([&] {
        HWND dlg = hl::dialog();
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(hl::dialog_title(dlg), "WerteEingabe");
        EXPECT_EQ(layer::wnd(hl::focused_control(dlg)), layer::dialog_item(layer::wnd(dlg), IDOK));
        EXPECT_FALSE(layer::main_window()->enabled);
        // The view is reset before the dialog opens.
        EXPECT_EQ(j, c.j);
        EXPECT_EQ(zoom, c.zoom);
        EXPECT_EQ(links, 0.0);
        EXPECT_EQ(oben, 0.0);
        hl::press_key(dlg, VK_RETURN);
    });
    then([&] {
        EXPECT_EQ(hl::dialog(), nullptr);
        EXPECT_TRUE(layer::main_window()->enabled);
        EXPECT_EQ(j, c.j);
        EXPECT_EQ(j2, c.j2);
        EXPECT_EQ(a, c.a);
        EXPECT_EQ(b, c.b);
        EXPECT_EQ(a2, c.a2);
        EXPECT_EQ(b2, c.b2);
        EXPECT_EQ(hl::paint_count(hl::main_window()), 2);
        EXPECT_TRUE(picture_matches_model(c.every));
    });
    then_close();
    EXPECT_EQ(run(), 0);
}

INSTANTIATE_TEST_SUITE_P(Commands, FamilyCommand,
                         ::testing::Values(FamilyCase{IDM_JULIAMENGE, 2, 1, 1.0, 0.313, 0.4172, 0, 0},
                                           FamilyCase{IDM_JULIASIN, 3, 0, 0.333, 0.7, 0.8, 0, 0},
                                           FamilyCase{IDM_JULIACOS, 3, 2, 0.333, 0.7, 0.8, 0, 0},
                                           // The exchanged sine's model takes half a minute for a whole picture.
                                           FamilyCase{IDM_JULIASINX, 3, 1, 1.0, 0.7, 0.8, 0, 0, 5},
                                           FamilyCase{IDM_JULIAKUB, 4, 1, 1.0, 0, 0, -0.574, 0.271}),
                         [](const auto& info) { return std::to_string(info.param.command); });

TEST_F(Program, MandelbrotNeedsNoDialog) {
    then([] {
        zoom = 8, links = 0.3;
        hl::choose_menu(hl::main_window(), IDM_MANDELBROT);
    });
    then([] {
        EXPECT_EQ(j, 1);
        EXPECT_EQ(zoom, 1.0);
        EXPECT_EQ(links, 0.0);
        EXPECT_EQ(a, 0.36);  // parameters untouched
        EXPECT_TRUE(picture_matches_model());
    });
    then_close();
    run();
}

TEST_F(Program, TypedTextsAreParsedAndCutToFourteenCharacters) {
    then([] { hl::choose_menu(hl::main_window(), IDM_JULIAKUB); });
    then([] {
        HWND dlg = hl::dialog();
        EXPECT_EQ(hl::control_text(dlg, IDC_EDIT3), "-0.574");
        hl::type(dlg, IDC_EDIT1, "0.12345678901234567890");  // 22 characters
        hl::type(dlg, IDC_EDIT2, "  -0,5x");                 // the comma ends the number
        hl::type(dlg, IDC_EDIT3, "abc");                     // no number: 0
        hl::type(dlg, IDC_EDIT4, "1e-1junk");
        hl::click(dlg, IDOK);
    });
    then([] {
        EXPECT_STREQ(zeiger, "0.123456789012");
        EXPECT_EQ(a, 0.123456789012);
        EXPECT_EQ(b, -0.0);
        EXPECT_TRUE(std::signbit(b));
        EXPECT_EQ(a2, 0.0);
        EXPECT_EQ(b2, 0.1);
        EXPECT_TRUE(picture_matches_model());
    });
    then_close();
    run();
}

TEST_F(Program, ConfirmedTextsAndTheCubicEOutliveLaterDialogs) {
    then([] { hl::choose_menu(hl::main_window(), IDM_JULIAKUB); });
    then([] {
        HWND dlg = hl::dialog();
        hl::type(dlg, IDC_EDIT1, "0.1");
        hl::type(dlg, IDC_EDIT2, "0.2");
        hl::type(dlg, IDC_EDIT3, "-0.5");
        hl::type(dlg, IDC_EDIT4, "0.3");
        hl::click(dlg, IDOK);
    });
    // A confirmed trigonometric dialog writes c only: E stays.
    then([] { hl::choose_menu(hl::main_window(), IDM_JULIASIN); });
    then([] {
        hl::type(hl::dialog(), IDC_EDIT1, "0.9");
        hl::click(hl::dialog(), IDOK);
    });
    then([] {
        EXPECT_EQ(a, 0.9);
        EXPECT_EQ(b, 0.8);
        EXPECT_EQ(a2, -0.5);
        EXPECT_EQ(b2, 0.3);
        hl::choose_menu(hl::main_window(), IDM_JULIAKUB);
    });
    // Cancel leaves all four buffers as the earlier dialogs filled them.
    then([] {
        HWND dlg = hl::dialog();
        for (int field : {IDC_EDIT1, IDC_EDIT2, IDC_EDIT3, IDC_EDIT4}) hl::type(dlg, field, "7");
        hl::press_key(dlg, VK_ESCAPE);
    });
    then([] {
        EXPECT_STREQ(zeiger, "0.9");
        EXPECT_STREQ(zeiger2, "0.8");
        EXPECT_STREQ(zeiger3, "-0.5");
        EXPECT_STREQ(zeiger4, "0.3");
        EXPECT_EQ(a, 0.9);
        EXPECT_EQ(b, 0.8);
        EXPECT_EQ(a2, -0.5);
        EXPECT_EQ(b2, 0.3);
        EXPECT_EQ(j, 4);
        EXPECT_TRUE(picture_matches_model());  // D = 0.9 + 0.8i, E = -0.5 + 0.3i
    });
    then_close();
    run();
}

TEST_F(Program, CancelKeepsParametersAndTextsButNotTheOldView) {
    then([] {
        zoom = 4;
        hl::choose_menu(hl::main_window(), IDM_JULIASIN);
    });
    then([] {
        HWND dlg = hl::dialog();
        hl::type(dlg, IDC_EDIT1, "5");
        hl::press_key(dlg, VK_ESCAPE);
    });
    then([] {
        EXPECT_EQ(j, 3);
        EXPECT_EQ(j2, 0);
        EXPECT_EQ(zoom, 0.333);
        EXPECT_EQ(a, 0.36);
        EXPECT_EQ(b, 0.46);
        EXPECT_STREQ(zeiger, "");
        EXPECT_EQ(hl::paint_count(hl::main_window()), 2);
        EXPECT_TRUE(picture_matches_model(4));  // the sine's whole model takes seconds
    });
    // The close box of a dialog cancels too.
    then([] { hl::choose_menu(hl::main_window(), IDM_JULIAMENGE); });
    then([] { hl::close_box(hl::dialog()); });
    then([] {
        EXPECT_EQ(hl::dialog(), nullptr);
        EXPECT_EQ(j, 2);
        EXPECT_EQ(a, 0.36);
    });
    then_close();
    run();
    // The sine pass traced every pixel of its one paint.
    EXPECT_EQ(trace.rfind("farbe=", 0), 0u);
}

TEST_F(Program, CubicAfterStartUpAndAfterOtherDialogsUsesTheLastConfirmedValues) {
    then([] { hl::choose_menu(hl::main_window(), IDM_JULIAKUB); });
    then([] {
        // 265 x 106 dialog units at 6 x 13 pixels per 4 x 8 units, the client
        // area at the main client area's corner, the frame around it.
        RECT r = layer::open_dialog()->window_rect, main = layer::main_window()->window_rect;
        EXPECT_EQ(r.left, main.left + 4 - 3);
        EXPECT_EQ(r.top, main.top + 4 + 19 + 19 - 3 - 19);
        EXPECT_EQ(r.right, main.left + 4 + 398 + 3);
        EXPECT_EQ(r.bottom, main.top + 4 + 19 + 19 + 172 + 3);
        hl::press_key(hl::dialog(), VK_ESCAPE);
    });
    then([] {
        EXPECT_EQ(a, 0.36);  // D = 0.36 + 0.46i, E = 0
        EXPECT_EQ(a2, 0.0);
        hl::choose_menu(hl::main_window(), IDM_JULIAMENGE);
    });
    then([] { hl::press_key(hl::dialog(), VK_RETURN); });
    then([] { hl::choose_menu(hl::main_window(), IDM_JULIAKUB); });
    then([] { hl::press_key(hl::dialog(), VK_ESCAPE); });
    then([] {
        EXPECT_EQ(j, 4);
        EXPECT_EQ(a, 0.313);  // the quadratic dialog's c is now D
        EXPECT_EQ(b, 0.4172);
        EXPECT_TRUE(picture_matches_model());
    });
    then_close();
    run();
}

TEST_F(Program, RepaintDuringTheDialogDrawsTheNewFamilyWithTheOldParameters) {
    then([] { hl::choose_menu(hl::main_window(), IDM_MANDELBROT); });
    then([] { hl::choose_menu(hl::main_window(), IDM_JULIAKUB); });
    then([] {
        // The dialog was moved over the picture and away again.
        hl::expose(hl::main_window(), RECT{0, 0, 492, 454});
    });
    then([] {
        ASSERT_NE(hl::dialog(), nullptr);
        EXPECT_EQ(hl::paint_count(hl::main_window()), 3);
        EXPECT_EQ(j, 4);
        EXPECT_EQ(a2, 0.0);
        EXPECT_TRUE(picture_matches_model());
        // Keys for the main window are dropped while its dialog is open.
        hl::release_key(hl::main_window(), VK_ADD);
        hl::choose_menu(hl::main_window(), IDM_VERGR_5);
    });
    then([] { hl::press_key(hl::dialog(), VK_RETURN); });
    then([] {
        EXPECT_EQ(zoom, 1.0);
        EXPECT_EQ(a2, -0.574);
    });
    then_close();
    run();
}

// ---- View commands and keys ------------------------------------------------------

struct ViewCase {
    int command;
    double zoom, links, oben;  // from zoom 2, links 0.25, oben -0.5
};

void PrintTo(const ViewCase& c, std::ostream* os) { *os << "command " << c.command; }

class ViewCommand : public Program, public ::testing::WithParamInterface<ViewCase> {};

TEST_P(ViewCommand, ChangesOneVariableWithTheStepOfTheOldZoom) {
    then([] {
        zoom = 2, links = 0.25, oben = -0.5;
        hl::choose_menu(hl::main_window(), GetParam().command);
    });
    then([] {
        EXPECT_EQ(zoom, GetParam().zoom);
        EXPECT_EQ(links, GetParam().links);
        EXPECT_EQ(oben, GetParam().oben);
        EXPECT_EQ(j, 2);
        EXPECT_EQ(hl::paint_count(hl::main_window()), 2);
        EXPECT_TRUE(picture_matches_model());
    });
    then_close();
    run();
}

INSTANTIATE_TEST_SUITE_P(Commands, ViewCommand,
                         ::testing::Values(ViewCase{IDM_VERGR_2, 4, 0.25, -0.5}, ViewCase{IDM_VERGR_3, 6, 0.25, -0.5},
                                           ViewCase{IDM_VERGR_5, 10, 0.25, -0.5},
                                           ViewCase{IDM_VERKL_2, 1, 0.25, -0.5},
                                           ViewCase{IDM_VERKL_3, 2 * (1.0 / 3), 0.25, -0.5},
                                           ViewCase{IDM_VERKL_5, 0.4, 0.25, -0.5},
                                           ViewCase{IDM_NACH_LINKS, 2, 0.0, -0.5},
                                           ViewCase{IDM_NACH_RECHTS, 2, 0.5, -0.5},
                                           ViewCase{IDM_NACH_OBEN, 2, 0.25, -0.75},
                                           ViewCase{IDM_NACH_UNTEN, 2, 0.25, -0.25}),
                         [](const auto& info) { return std::to_string(info.param.command); });

TEST_F(Program, KeysActOnReleaseLikeTheirCommands) {
    then([] {
        hl::release_key(hl::main_window(), VK_ADD);
        hl::release_key(hl::main_window(), VK_ADD);
        hl::release_key(hl::main_window(), VK_LEFT);
    });
    then([] {
        EXPECT_EQ(zoom, 4.0);
        EXPECT_EQ(links, -0.125);  // the step at zoom 4
        EXPECT_EQ(hl::paint_count(hl::main_window()), 2);  // three invalidations, one paint
        hl::release_key(hl::main_window(), VK_RIGHT);
        hl::release_key(hl::main_window(), VK_UP);
        hl::release_key(hl::main_window(), VK_DOWN);
        hl::release_key(hl::main_window(), VK_DOWN);
        hl::release_key(hl::main_window(), VK_SUBTRACT);
    });
    then([] {
        EXPECT_EQ(links, 0.0);
        EXPECT_EQ(oben, 0.125);
        EXPECT_EQ(zoom, 2.0);
        EXPECT_TRUE(picture_matches_model());
        // A letter, Escape and the main keyboard's plus and minus
        // (VK_OEM_PLUS, VK_OEM_MINUS) change nothing and cause no paint.
        hl::release_key(hl::main_window(), 'Q');
        hl::release_key(hl::main_window(), VK_ESCAPE);
        hl::release_key(hl::main_window(), 0xBB);
        hl::release_key(hl::main_window(), 0xBD);
    });
    then([] {
        EXPECT_EQ(hl::paint_count(hl::main_window()), 3);
        EXPECT_EQ(zoom, 2.0);
        EXPECT_NE(hl::main_window(), nullptr);
    });
    then_close();
    run();
}

TEST_F(Program, CommandWithoutMenuItemSelectsTheExchangedSine) {
    then([] { PostMessageA(hl::main_window(), WM_COMMAND, IDM_JULIASINX, 0); });
    then([] { hl::press_key(hl::dialog(), VK_ESCAPE); });
    then([] {
        EXPECT_EQ(j, 3);
        EXPECT_EQ(j2, 1);
        EXPECT_EQ(zoom, 1.0);
        // Unknown commands do nothing.
        PostMessageA(hl::main_window(), WM_COMMAND, 4711, 0);
    });
    then([] { EXPECT_EQ(hl::paint_count(hl::main_window()), 2); });
    then_close();
    run();
}

// The dialog manager's arrows: through the group in template order, statics
// too, round its end; an edit field keeps them. The Info box's group starts
// at its version line (WS_GROUP) and runs round the end to OK.
TEST_F(Program, ArrowKeysWalkTheGroupAndStopInAnEditField) {
    auto walk = [](std::initializer_list<int> keys) {
        std::string texts;
        for (int key : keys) {
            hl::press_key(hl::dialog(), key);
            texts += layer::wnd(hl::focused_control(hl::dialog()))->text + ",";
        }
        return texts;
    };
    then([] { hl::choose_menu(hl::main_window(), IDM_JULIAMENGE); });
    then([&] {
        EXPECT_EQ(walk({VK_UP, VK_LEFT, VK_RIGHT, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_UP, VK_LEFT}),
                  "Realteil,Imaginärteil,Realteil,OK,Abbruch,0.313,0.313,0.313,0.313,");
        hl::press_key(hl::dialog(), VK_ESCAPE);
    });
    then([] { hl::choose_menu(hl::main_window(), IDM_INFO); });
    then([&] {
        const std::string credit = layer::wnd(hl::dialog())->controls.at(2)->text;
        EXPECT_EQ(walk({VK_DOWN, VK_DOWN, VK_DOWN, VK_UP}), "Version 1.2, Nov 2002," + credit + ",OK," + credit + ",");
        hl::press_key(hl::dialog(), VK_ESCAPE);
    });
    then_close();
    EXPECT_EQ(run(), 0);
}

// Tab runs through the tab stops in template order (OK, Abbruch, the two
// fields) round the end, Shift+Tab back; Enter presses the focused button,
// here Abbruch, so the typed value is not taken.
TEST_F(Program, TabWalksTheTabStopsAndEnterPressesTheFocusedButton) {
    then([] { hl::choose_menu(hl::main_window(), IDM_JULIASIN); });
    then([] {
        HWND dlg = hl::dialog();
        hl::type(dlg, IDC_EDIT1, "5");
        std::string texts;
        for (bool shift : {false, false, true, true}) {
            hl::press_key(dlg, VK_TAB, shift);
            texts += layer::wnd(hl::focused_control(dlg))->text + ",";
        }
        EXPECT_EQ(texts, "0.8,OK,0.8,5,");
        hl::press_key(dlg, VK_TAB, true);
        hl::press_key(dlg, VK_RETURN);
    });
    then([] { EXPECT_EQ(a, 0.36); });
    then_close();
    EXPECT_EQ(run(), 0);
}

// ---- Info dialog -------------------------------------------------------------------

TEST_F(Program, InfoOpensAndClosesWithOkAndEscapeWithoutRepaint) {
    then([] { hl::choose_menu(hl::main_window(), IDM_INFO); });
    then([] {
        HWND dlg = hl::dialog();
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(hl::dialog_title(dlg), "Info");
        RECT r = layer::wnd(dlg)->window_rect, main = layer::main_window()->window_rect;
        // Its client area opens at the main window's client-area corner
        // (border 4, caption 19, menu bar 19); its modal frame (3) and
        // caption (19) reach up and left over the main window's menu bar.
        EXPECT_EQ(r.left, main.left + 4 - 3);
        EXPECT_EQ(r.top, main.top + 4 + 19 + 19 - 3 - 19);
        // 119 x 59 dialog units at 7 x 16 pixels per 4 x 8 units, plus the frame.
        EXPECT_EQ(r.right - r.left, 208 + 2 * 3);
        EXPECT_EQ(r.bottom - r.top, 118 + 2 * 3 + 19);
        hl::click(dlg, IDOK);
    });
    then([] { hl::choose_menu(hl::main_window(), IDM_INFO); });
    then([] { hl::press_key(hl::dialog(), VK_ESCAPE); });
    then([] {
        EXPECT_EQ(hl::dialog(), nullptr);
        EXPECT_EQ(hl::paint_count(hl::main_window()), 1);
        EXPECT_EQ(j, 2);
    });
    then_close();
    EXPECT_EQ(run(), 0);
}

// A closed dialog is freed with its controls: opening and closing dialogs
// over and over leaves the layer holding the main window only and the heap
// in use where it was; a closed dialog's handle is refused from then on and
// never comes back for a later window.
TEST_F(Program, ClosedDialogsAreFreedAndTheirHandlesStayVoid) {
    constexpr int warm_up = 10, cycles = 300;
    std::set<HWND> handles;
    size_t heap = 0;
    for (int k = 0; k < warm_up + cycles; ++k) {
        if (k == warm_up) then([&] { heap = mallinfo2().uordblks; });
        then([k] { hl::choose_menu(hl::main_window(), k % 2 ? IDM_INFO : IDM_JULIAMENGE); });
        then([&] {
            ASSERT_NE(hl::dialog(), nullptr);
            for (HWND h : {hl::dialog(), hl::focused_control(hl::dialog())}) EXPECT_TRUE(handles.insert(h).second);
            hl::press_key(hl::dialog(), VK_ESCAPE);
        });
    }
    then([&] {
        EXPECT_EQ(layer::state().windows.size(), 1u);
        // A leak of one dialog per cycle would be about 2.5 KB each.
        EXPECT_LT(static_cast<long>(mallinfo2().uordblks - heap), 16 * 1024);
        for (HWND stale : handles) {
            EXPECT_FALSE(EndDialog(stale, IDOK));
            EXPECT_FALSE(PostMessageA(stale, WM_COMMAND, IDOK, 0));
            EXPECT_EQ(GetDlgItemTextA(stale, 101, zeiger, 10), 0u);
        }
    });
    then_close();
    EXPECT_EQ(run(), 0);
}

TEST_F(Program, ScriptThatStopsEarlyIsReported) {
    EXPECT_THROW(hl::run_program(), hl::ScriptExhausted);
}

}  // namespace
