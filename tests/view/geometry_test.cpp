// Window and page geometry at 96 pixels per inch, and scrolling by the scroll bar.
#include "view/geometry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/editor_fixture.h"
#include "view/redraw.h"

namespace nv::test {
namespace {

void ExpectRect(const RECT& r, LONG left, LONG top, LONG right, LONG bottom, int index) {
    EXPECT_EQ(r.left, left) << "item " << index;
    EXPECT_EQ(r.top, top) << "item " << index;
    EXPECT_EQ(r.right, right) << "item " << index;
    EXPECT_EQ(r.bottom, bottom) << "item " << index;
}

std::string ManyLines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "line " + std::to_string(i) + "\r\n";
    return text;
}

using GeometryTest = EditorTest;

// The status bar shows at the window's foot; the text area ends above it.
constexpr int Bar = fake::FakePlatform::StatusBarHeight;

TEST_F(GeometryTest, PaletteAndTextColumnOfAnEightHundredPixelWindow) {
    // 12 points of Courier New at 96 pixels per inch: 18-pixel lines, 42 to a page.
    EXPECT_EQ(Doc.LineHeight, 18);
    EXPECT_EQ(Doc.LinesPerPage, 42);
    EXPECT_EQ(PageGap(96), 768 - 42 * 18);
    EXPECT_EQ(Geo.TextTop, 144);
    EXPECT_EQ(Geo.TextLeft, 112);
    EXPECT_EQ(Geo.TextRight, 688);
    ExpectRect(Geo.PaletteFrame, 112, 36, 688, 108, -1);
    ExpectRect(Geo.PaletteItemRects[PaletteUp], 112, 36, 220, 72, PaletteUp);
    ExpectRect(Geo.PaletteItemRects[PaletteDown], 112, 72, 220, 108, PaletteDown);
    ExpectRect(Geo.PaletteItemRects[PaletteIndicator], 220, 36, 328, 108, PaletteIndicator);
    for (int d = 0; d < 10; ++d) {
        ExpectRect(Geo.PaletteItemRects[PaletteFirstHeader + d], 328 + 36 * d, 36, 364 + 36 * d, 72,
                   PaletteFirstHeader + d);
        ExpectRect(Geo.PaletteItemRects[PaletteFirstCell + d], 328 + 36 * d, 72, 364 + 36 * d, 108,
                   PaletteFirstCell + d);
    }
    EXPECT_EQ(VisibleLines(), (900 - Bar - 144) / 18 - 1);
    // The empty document is one page and can still be scrolled by a few lines.
    EXPECT_EQ(ScrollMax(), 42 - 39 + 1);
}

TEST_F(GeometryTest, NarrowWindowOverhangsBothEdgesEqually) {
    fake().Resize(400, 600);
    EXPECT_EQ(Geo.TextLeft, -88);
    EXPECT_EQ(Geo.TextRight, 488);
    EXPECT_EQ(Geo.PaletteFrame.left, -88);
    EXPECT_EQ(Geo.PaletteFrame.right, 488);
    // Right-aligned lines lose their first characters past the right edge.
    SetText("abc");
    EXPECT_TRUE(MatchesFullRepaint("narrow"));
}

TEST_F(GeometryTest, ZeroSizeAndShortWindowsShowNoLinesAndPutTheCaretLineFirst) {
    SetText(ManyLines(60));
    for (int height : {0, 144 + 35}) {
        fake().Resize(height == 0 ? 0 : 800, height);
        EXPECT_EQ(VisibleLines(), 0) << height;
        EXPECT_EQ(ScrollMax(), 2 * 42 + 1) << height;
        Doc.Caret = Doc.LineTable[50].Start;
        KeepCaretInView();
        EXPECT_EQ(Doc.ViewTop, 50) << height;
        Doc.Caret = Doc.LineTable[7].Start;
        KeepCaretInView();
        EXPECT_EQ(Doc.ViewTop, 7) << height;
    }
    EXPECT_EQ(Geo.TextLeft, (800 - 576) / 2);
    fake().Resize(0, 0);
    EXPECT_EQ(Geo.TextLeft, -288);
    EXPECT_EQ(Geo.PaletteFrame.left, -288);
}

TEST_F(GeometryTest, SizeChangeKeepsTheViewInsideTheNewRange) {
    SetText(ManyLines(30));
    Send(WM_VSCROLL, SB_BOTTOM);
    EXPECT_EQ(Doc.ViewTop, 4);
    fake().Resize(800, 400);  // fewer visible lines: a larger range
    EXPECT_EQ(ScrollMax(), 42 - ((400 - Bar - 144) / 18 - 1) + 1);
    EXPECT_EQ(Doc.ViewTop, 4);
    fake().Resize(800, 2000);
    EXPECT_EQ(ScrollMax(), 0);
    EXPECT_EQ(Doc.ViewTop, 0);
    EXPECT_EQ(fake().GetScrollPos(Doc.MainWindow, SB_VERT), 0);
}

TEST_F(GeometryTest, EveryScrollCodeMovesTheViewAsTheBarAsks) {
    SetText(ManyLines(200));  // 201 lines: five pages
    const std::int32_t max = 5 * 42 - 39 + 1;
    ASSERT_EQ(ScrollMax(), max);
    struct Step {
        WPARAM code;
        std::int32_t expected;
    };
    const Step steps[] = {
        {SB_LINEUP, 0},
        {SB_LINEDOWN, 1},
        {SB_PAGEDOWN, 39},
        {SB_PAGEUP, 1},
        {SB_PAGEUP, 0},
        {SB_THUMBTRACK | (77u << 16), 77},
        {SB_THUMBPOSITION | (60000u << 16), max},
        {SB_LINEDOWN, max},
        {SB_TOP, 0},
        {SB_BOTTOM, max},
        {SB_ENDSCROLL | (5u << 16), max},
        {99, max},
    };
    for (const Step& step : steps) {
        long scrolls = fake().scrollCount;
        std::int32_t before = Doc.ViewTop;
        Send(WM_VSCROLL, step.code);
        EXPECT_EQ(Doc.ViewTop, step.expected) << "code " << LOWORD(step.code);
        EXPECT_EQ(fake().GetScrollPos(Doc.MainWindow, SB_VERT), Doc.ViewTop);
        EXPECT_EQ(fake().scrollCount - scrolls, before == Doc.ViewTop ? 0 : 1);
        ASSERT_TRUE(MatchesFullRepaint("after scroll code " + std::to_string(LOWORD(step.code))));
    }
}

TEST_F(GeometryTest, ScrollingOneLineAcrossAPageBoundaryMovesTheGapToo) {
    SetText(ManyLines(100));
    Send(WM_VSCROLL, SB_THUMBPOSITION | (41u << 16));
    ASSERT_EQ(Doc.ViewTop, 41);
    std::vector<std::uint32_t> before = fake().pixels();
    long paints = fake().paintCount;
    Send(WM_VSCROLL, SB_LINEDOWN);
    ASSERT_EQ(Doc.ViewTop, 42);
    const int moved = 18 + PageGap(96);
    ASSERT_EQ(moved, 30);
    const int width = fake().width();
    for (int y = 144; y + moved < fake().height() - Bar; ++y) {
        for (int x = 0; x < width; ++x) {
            ASSERT_EQ(fake().Pixel(x, y), before[static_cast<std::size_t>(y + moved) * width + x])
                << "pixel " << x << ", " << y << " did not move up by " << moved;
        }
    }
    EXPECT_EQ(fake().paintCount - paints, 1);  // only the uncovered band
    EXPECT_TRUE(MatchesFullRepaint("after the page boundary"));
}

TEST_F(GeometryTest, KeepCaretInViewScrollsOnlyAsFarAsNeeded) {
    SetText(ManyLines(100));
    Doc.Caret = Doc.LineTable[60].Start;
    KeepCaretInView();
    EXPECT_EQ(Doc.ViewTop, 60 - 39 + 1);
    Doc.Caret = Doc.LineTable[30].Start;
    KeepCaretInView();
    EXPECT_EQ(Doc.ViewTop, 22);  // already visible
    Doc.Caret = Doc.LineTable[3].Start;
    KeepCaretInView();
    EXPECT_EQ(Doc.ViewTop, 3);
    EXPECT_EQ(fake().GetScrollPos(Doc.MainWindow, SB_VERT), 3);
}

TEST_F(GeometryTest, FollowCaretScrollsThePixelsOnlyWhenTheCaretLineIsHidden) {
    SetText(ManyLines(100));
    long scrolls = fake().scrollCount;
    long paints = fake().paintCount;
    Doc.Caret = Doc.LineTable[10].Start;
    FollowCaret();
    EXPECT_EQ(fake().scrollCount, scrolls);
    EXPECT_EQ(fake().paintCount, paints);

    Doc.Caret = Doc.LineTable[90].Start;
    FollowCaret();
    EndOperation();
    EXPECT_EQ(Doc.ViewTop, 90 - 39 + 1);
    EXPECT_EQ(fake().scrollCount, scrolls + 1);
    EXPECT_TRUE(MatchesFullRepaint("after following the caret down"));
    Doc.Caret = 0;
    FollowCaret();
    EndOperation();
    EXPECT_EQ(Doc.ViewTop, 0);
    EXPECT_TRUE(MatchesFullRepaint("after following the caret up"));
}

// The wheel scrolls through the scroll bar's code: the pixels move, the caret stays, a
// touchpad's small deltas wait until they make a notch, and over the palette a notch steps
// the bank as its Up and Down buttons do.
TEST_F(GeometryTest, TheWheelScrollsTheSystemsLinesPerNotch) {
    SetText(ManyLines(200));
    Place(5);
    struct Turn {
        int delta;
        std::int32_t viewTop;
    };
    const Turn turns[] = {{-120, 3},  {-60, 3}, {-60, 6},  {-50, 6},     {50, 6},
                          {-240, 12}, {360, 3}, {1200, 0}, {-30000, 172}};
    for (const Turn& turn : turns) {
        const long scrolls = fake().scrollCount;
        const std::int32_t before = Doc.ViewTop;
        Wheel(turn.delta, 400, 500);
        EXPECT_EQ(Doc.ViewTop, turn.viewTop) << "delta " << turn.delta;
        EXPECT_EQ(fake().GetScrollPos(Doc.MainWindow, SB_VERT), Doc.ViewTop);
        EXPECT_EQ(fake().scrollCount - scrolls, before == Doc.ViewTop ? 0 : 1);
        EXPECT_EQ(Doc.Caret, 5);
        ASSERT_TRUE(MatchesFullRepaint("after a wheel delta of " + std::to_string(turn.delta)));
    }
    fake().wheelScrollLines = WHEEL_PAGESCROLL;
    Wheel(120, 400, 500);
    EXPECT_EQ(Doc.ViewTop, 172 - 38);
    fake().wheelScrollLines = 0;
    Wheel(120, 400, 500);
    EXPECT_EQ(Doc.ViewTop, 172 - 38);

    fake().wheelScrollLines = 3;
    const RECT& cells = Geo.PaletteItemRects[PaletteFirstCell];
    Wheel(120, cells.left + 1, cells.top + 1);
    EXPECT_EQ(Doc.PaletteBank, 21);
    Wheel(-360, cells.left + 1, cells.top + 1);
    EXPECT_EQ(Doc.PaletteBank, 24);
    Wheel(-240, cells.left + 1, cells.top + 1);
    EXPECT_EQ(Doc.PaletteBank, 25);  // the last bank
    EXPECT_EQ(Doc.ViewTop, 172 - 38);
    EXPECT_TRUE(MatchesFullRepaint("after the wheel over the palette"));
}

}  // namespace
}  // namespace nv::test
