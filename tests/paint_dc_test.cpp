// The window layer's paint device context: SetPixel between BeginPaint and
// EndPaint writes the back buffer only inside the update region and the
// client area, returns the colour it set (or CLR_INVALID), and every row it
// wrote reaches the screen by EndPaint, in whatever order the pixels come;
// while writes go on, the written rows are shown at least every 16 ms.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <random>
#include <thread>
#include <vector>

#include "core.h"

namespace {

constexpr int BREITE = 300, HOEHE = 200;

// Two pictures of the test window; a difference is reported by its first
// pixel and the number of pixels that differ.
::testing::AssertionResult same_pixels(const std::vector<COLORREF>& got, const std::vector<COLORREF>& want) {
    size_t first = want.size(), count = 0;
    for (size_t k = 0; k < want.size() && k < got.size(); ++k)
        if (got[k] != want[k] && count++ == 0) first = k;
    if (count == 0 && got.size() == want.size()) return ::testing::AssertionSuccess();
    if (count == 0) return ::testing::AssertionFailure() << got.size() << " pixels, expected " << want.size();
    return ::testing::AssertionFailure() << count << " pixels differ, the first at (" << first % BREITE << ", "
                                         << first / BREITE << "): 0x" << std::hex << got[first] << ", expected 0x"
                                         << want[first];
}

// A screen that shows a window's back buffer only when the core presents
// rows, and notes every present.
class AufzeichnendesBackend : public layer::Backend {
public:
    std::vector<COLORREF> schirm = std::vector<COLORREF>(static_cast<size_t>(BREITE) * HOEHE, 0);
    long zeigen = 0;

    void create_window(layer::Wnd* w) override {
        w->client_origin = POINT{w->window_rect.left, w->window_rect.top};
        w->client_width = w->window_rect.right - w->window_rect.left;
        w->client_height = w->window_rect.bottom - w->window_rect.top;
    }
    void show_window(layer::Wnd*, int) override {}
    void destroy_window(layer::Wnd*) override {}
    void present(layer::Wnd* w, int y0, int y1) override {
        ++zeigen;
        ASSERT_LE(0, y0);
        ASSERT_LT(y0, y1);
        ASSERT_LE(y1, w->client_height);
        for (int y = y0; y < y1; ++y)
            std::copy_n(w->back.begin() + static_cast<size_t>(y) * w->client_width, w->client_width,
                        schirm.begin() + static_cast<size_t>(y) * BREITE);
    }
    void create_dialog(layer::Wnd*) override {}
    void destroy_dialog(layer::Wnd*) override {}
    std::string control_text(layer::Wnd* c) override { return c->text; }
    void set_focus(layer::Wnd*) override {}
    void enable_window(layer::Wnd*, bool) override {}
    void pump(bool) override {}
};

LRESULT CALLBACK prozedur(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

class PaintDC : public ::testing::Test {
protected:
    void SetUp() override {
        layer::reset();
        auto b = std::make_unique<AufzeichnendesBackend>();
        backend = b.get();
        layer::install_backend(std::move(b));
        WNDCLASSA wc{};
        wc.lpfnWndProc = prozedur;
        wc.lpszClassName = "PaintDCTest";
        RegisterClassA(&wc);
        w = CreateWindowExA(0, "PaintDCTest", "", 0, 0, 0, BREITE, HOEHE, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(w, nullptr);
    }
    void TearDown() override { layer::reset(); }

    // Paints the update region `bereich` with the writes, in their order;
    // returns the value of each SetPixel.
    std::vector<COLORREF> male(RECT bereich, const std::vector<POINT>& punkte,
                               const std::vector<COLORREF>& farben) {
        InvalidateRect(w, &bereich, FALSE);
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(w, &ps);
        std::vector<COLORREF> ergebnis;
        for (size_t k = 0; k < punkte.size(); ++k) ergebnis.push_back(SetPixel(hdc, punkte[k].x, punkte[k].y, farben[k]));
        EndPaint(w, &ps);
        return ergebnis;
    }

    // Checks every write against the region and the client area, the back
    // buffer against the writes, and the screen against the back buffer.
    void pruefe(RECT bereich, const std::vector<POINT>& punkte) {
        std::vector<COLORREF> farben;
        std::mt19937 zufall(static_cast<unsigned>(punkte.size()));
        for (size_t k = 0; k < punkte.size(); ++k) farben.push_back(zufall());
        std::vector<COLORREF> soll(layer::wnd(w)->back);
        const RECT clip{std::max(bereich.left, LONG{0}), std::max(bereich.top, LONG{0}),
                        std::min(bereich.right, LONG{BREITE}),
                        std::min(bereich.bottom, LONG{HOEHE})};
        std::vector<COLORREF> soll_ergebnis;
        for (size_t k = 0; k < punkte.size(); ++k) {
            const POINT p = punkte[k];
            if (p.x >= clip.left && p.x < clip.right && p.y >= clip.top && p.y < clip.bottom) {
                soll[static_cast<size_t>(p.y) * BREITE + p.x] = farben[k] & 0x00FFFFFF;
                soll_ergebnis.push_back(farben[k] & 0x00FFFFFF);
            } else {
                soll_ergebnis.push_back(layer::CLR_INVALID);
            }
        }
        EXPECT_EQ(male(bereich, punkte, farben), soll_ergebnis);
        EXPECT_TRUE(same_pixels(layer::wnd(w)->back, soll));
        EXPECT_TRUE(same_pixels(backend->schirm, soll)) << "pixels written but not shown";
    }

    AufzeichnendesBackend* backend = nullptr;
    HWND w = nullptr;
};

const RECT GANZ{0, 0, BREITE, HOEHE};

std::vector<POINT> zeilenweise(int x0, int x1, int y0, int y1, bool rueckwaerts = false) {
    std::vector<POINT> p;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) p.push_back(POINT{rueckwaerts ? x1 - 1 - (x - x0) : x, y});
    return p;
}

TEST_F(PaintDC, RowsInRasterOrderAreAllShown) {
    // Bottom row first, as the passes go.
    std::vector<POINT> p;
    for (int y = HOEHE - 1; y >= 0; --y)
        for (int x = 0; x < BREITE; ++x) p.push_back(POINT{x, y});
    pruefe(GANZ, p);
}

TEST_F(PaintDC, RowsRightToLeftColumnsFirstAndRandomOrderAreAllShown) {
    pruefe(GANZ, zeilenweise(0, BREITE, 0, HOEHE, true));
    std::vector<POINT> spalten;
    for (int x = 0; x < BREITE; ++x)
        for (int y = 0; y < HOEHE; ++y) spalten.push_back(POINT{x, y});
    pruefe(GANZ, spalten);
    std::vector<POINT> zufaellig = zeilenweise(0, BREITE, 0, HOEHE);
    std::shuffle(zufaellig.begin(), zufaellig.end(), std::mt19937(3));
    zufaellig.resize(5000);
    pruefe(GANZ, zufaellig);
}

TEST_F(PaintDC, RepeatedPixelsAndShortRunsInAlternatingRowsAreAllShown) {
    std::vector<POINT> p;
    for (int k = 0; k < 3000; ++k) p.push_back(POINT{7, 9});
    for (int k = 0; k < 3000; ++k) p.push_back(POINT{k % 5, k % 2 == 0 ? 3 : HOEHE - 1});
    for (int k = 0; k < 3000; ++k) p.push_back(POINT{(k * 7) % BREITE, 50 + (k / 600)});  // runs that turn back
    pruefe(GANZ, p);
}

TEST_F(PaintDC, WritesOutsideTheUpdateRegionOrTheClientAreaAreRejected) {
    const RECT ecke{20, 30, 70, 45};
    std::vector<POINT> p = zeilenweise(0, BREITE, 25, 50);
    for (POINT q : {POINT{INT_MIN, 35}, POINT{INT_MAX, 35}, POINT{30, INT_MIN}, POINT{30, INT_MAX}, POINT{-1, -1},
                    POINT{19, 30}, POINT{70, 30}, POINT{20, 29}, POINT{20, 45}, POINT{BREITE, HOEHE}})
        p.push_back(q);
    pruefe(ecke, p);
    // A region reaching beyond the client area is cut to it.
    pruefe(RECT{BREITE - 10, HOEHE - 10, BREITE + 50, HOEHE + 50}, zeilenweise(BREITE - 20, BREITE + 20, HOEHE - 20, HOEHE + 20));
}

// Rows are shown while a paint goes on, not only at its end: the writes here
// take far longer than 16 ms (the pauses are lower bounds, so a slow machine
// only adds time).
TEST_F(PaintDC, WrittenRowsAreShownAtLeastEvery16MsWhileWritesGoOn) {
    for (int muster = 0; muster < 2; ++muster) {
        SCOPED_TRACE(muster == 0 ? "rows in order" : "one pixel again and again");
        InvalidateRect(w, &GANZ, FALSE);
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(w, &ps);
        const long vorher = backend->zeigen;
        for (int k = 0; k < 12 * BREITE; ++k) {
            if (muster == 0) {
                const long gezeigt = backend->zeigen;
                SetPixel(hdc, k % BREITE, k / BREITE, 0x123456 + k + 1000 * muster);
                // Right after a present no run is open: a row number that
                // equals the closed run's mark is still rejected.
                if (backend->zeigen != gezeigt) {
                    EXPECT_EQ(SetPixel(hdc, k % BREITE + 1, INT_MIN, 0xABCDEF), layer::CLR_INVALID);
                }
            } else
                SetPixel(hdc, 5, 5, 0x654321 + k);
            if (k % BREITE == BREITE - 1) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        // At least one present per 1024 writes plus a row once 16 ms passed.
        EXPECT_GE(backend->zeigen - vorher, 12 * BREITE / (1024 + BREITE) - 1);
        EXPECT_GE(backend->zeigen - vorher, 2);
        EndPaint(w, &ps);
        // A row shown in the middle of its writes is shown again with the rest.
        EXPECT_TRUE(same_pixels(backend->schirm, layer::wnd(w)->back));
    }
}

}  // namespace
