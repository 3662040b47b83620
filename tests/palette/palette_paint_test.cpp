// The palette band as painted at 96 pixels per inch in an 800-pixel-wide window: the palette
// is 576 x 72 pixels from (112, 36), the buttons 108 wide, the cells 36 wide.
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tests/palette/palette_support.h"

namespace nv::test {
namespace {

using fake::Black;
using fake::White;

constexpr int Left = 112;
constexpr int Top = 36;
constexpr int Middle = 72;
constexpr int Bottom = 108;
constexpr int FrameRight = 688;
constexpr int ButtonRight = 220;
constexpr int CellsLeft = 328;
constexpr int CellWidth = 36;

// The columns where outlines meet: the frame's sides, the buttons' right edge, the
// indicator's right edge and the lines between the headers and cells.
std::set<int> GridColumns() {
    std::set<int> columns{Left, ButtonRight, CellsLeft, FrameRight - 1};
    for (int d = 1; d < 10; ++d) columns.insert(CellsLeft + d * CellWidth);
    return columns;
}

bool OnGrid(int x, int y) {
    if (x < Left || x >= FrameRight || y < Top || y >= Bottom) return false;
    if (y == Top || y == Bottom - 1) return true;
    // The middle row runs under the buttons and the headers but not through the indicator.
    if (y == Middle && (x < ButtonRight || x >= CellsLeft)) return true;
    return GridColumns().count(x) != 0;
}

RECT Interior(const RECT& r) { return RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}; }

bool Inside(const RECT& r, int x, int y) {
    return r.left <= x && x < r.right && r.top <= y && y < r.bottom;
}

class PalettePaintTest : public EditorTest {
protected:
    // Compares an item's interior with the text drawn alone, centred at centreX, at y.
    void ExpectItemShows(int item, const std::string& face, std::uint8_t charset,
                         const std::string& text, int centreX, int y) {
        const RECT inner = Interior(Geo.PaletteItemRects[item]);
        std::vector<std::uint32_t> expected = RenderCentredText(
            fake().width(), fake().height(), face, -20, charset, text, centreX, y);
        int wrong = 0;
        for (int py = inner.top; py < inner.bottom; ++py) {
            for (int px = inner.left; px < inner.right; ++px) {
                std::uint32_t want = expected[static_cast<std::size_t>(py) * fake().width() + px];
                if (fake().Pixel(px, py) != want) ++wrong;
            }
        }
        EXPECT_EQ(wrong, 0) << "item " << item << " should show \"" << text << "\" in " << face;
    }

    void ExpectCross(int digit) {
        const RECT& cell = Geo.PaletteItemRects[PaletteFirstCell + digit];
        const RECT inner = Interior(cell);
        int wrong = 0;
        for (int y = inner.top; y < inner.bottom; ++y) {
            for (int x = inner.left; x < inner.right; ++x) {
                bool diagonal = x - cell.left == y - Middle || x - cell.left == Bottom - 1 - y;
                if (fake().Pixel(x, y) != (diagonal ? Black : White)) ++wrong;
            }
        }
        EXPECT_EQ(wrong, 0) << "cell " << digit << " should hold a cross";
    }
};

TEST_F(PalettePaintTest, ItemRectanglesAtNinetySixPixelsPerInch) {
    EXPECT_EQ(Geo.PaletteFrame.left, Left);
    EXPECT_EQ(Geo.PaletteFrame.right, FrameRight);
    const RECT& up = Geo.PaletteItemRects[PaletteUp];
    EXPECT_EQ(up.bottom - up.top, 36);
    EXPECT_EQ(up.right - up.left, 108);
    EXPECT_EQ(Geo.PaletteItemRects[PaletteLastCell].right, FrameRight);
}

TEST_F(PalettePaintTest, OutlinesShareOneLineAndStayInsideTheFrame) {
    // Everything in the band outside the item interiors is white, except the outline grid.
    int wrong = 0;
    std::pair<int, int> first{-1, -1};
    for (int y = 0; y < 140; ++y) {
        for (int x = 0; x < fake().width(); ++x) {
            bool inInterior = false;
            for (int item = 0; item < PaletteItemCount && !inInterior; ++item) {
                inInterior = Inside(Interior(Geo.PaletteItemRects[item]), x, y);
            }
            if (inInterior && !OnGrid(x, y)) continue;
            std::uint32_t want = OnGrid(x, y) ? Black : White;
            if (fake().Pixel(x, y) != want && wrong++ == 0) first = {x, y};
        }
    }
    EXPECT_EQ(wrong, 0) << "first wrong pixel at (" << first.first << ", " << first.second << ")";
    // The frame's right and bottom coordinates are left out.
    EXPECT_EQ(fake().Pixel(FrameRight, Top), White);
    EXPECT_EQ(fake().Pixel(Left, Bottom), White);
}

TEST_F(PalettePaintTest, LabelsAndCellsAtStart) {
    ExpectItemShows(PaletteUp, "Courier New", ANSI_CHARSET, "Up", 166, 42);
    ExpectItemShows(PaletteDown, "Courier New", ANSI_CHARSET, "Down", 166, 78);
    ExpectItemShows(PaletteIndicator, "Courier New", ANSI_CHARSET, "22_", 274, 60);
    for (int d = 0; d < 10; ++d) {
        int centre = CellsLeft + d * CellWidth + CellWidth / 2;
        ExpectItemShows(PaletteFirstHeader + d, "Courier New", ANSI_CHARSET,
                        std::string(1, static_cast<char>('0' + d)), centre, 42);
        ExpectItemShows(PaletteFirstCell + d, "Courier New", HEBREW_CHARSET,
                        std::string(1, static_cast<char>(220 + d)), centre, 78);
    }
}

TEST_F(PalettePaintTest, CellsFollowTheDocumentFaceAtTheLabelSize) {
    Doc.FaceName = "Times New Roman Italic";
    Doc.PointSize = -48;
    Doc.PaletteBank = 7;
    FullRepaint();
    ExpectItemShows(PaletteUp, "Courier New", ANSI_CHARSET, "Up", 166, 42);
    ExpectItemShows(PaletteIndicator, "Courier New", ANSI_CHARSET, "7_", 274, 60);
    for (int d = 0; d < 10; ++d) {
        int centre = CellsLeft + d * CellWidth + CellWidth / 2;
        ExpectItemShows(PaletteFirstCell + d, "Times New Roman Italic", HEBREW_CHARSET,
                        std::string(1, static_cast<char>(70 + d)), centre, 78);
    }
}

TEST_F(PalettePaintTest, CrossesOnlyInCellsThatCannotBeEntered) {
    Doc.PaletteBank = 3;
    FullRepaint();
    ExpectCross(0);                 // 30
    ExpectCross(1);                 // 31
    for (int d = 2; d < 10; ++d) {  // 32, the space, shows nothing
        int centre = CellsLeft + d * CellWidth + CellWidth / 2;
        ExpectItemShows(PaletteFirstCell + d, "Courier New", HEBREW_CHARSET,
                        std::string(1, static_cast<char>(30 + d)), centre, 78);
    }
    ExpectItemShows(PaletteIndicator, "Courier New", ANSI_CHARSET, "3_", 274, 60);

    Doc.PaletteBank = 25;
    FullRepaint();
    for (int d = 0; d < 6; ++d) {
        int centre = CellsLeft + d * CellWidth + CellWidth / 2;
        ExpectItemShows(PaletteFirstCell + d, "Courier New", HEBREW_CHARSET,
                        std::string(1, static_cast<char>(250 + d)), centre, 78);
    }
    for (int d = 6; d < 10; ++d) ExpectCross(d);  // 256 to 259
}

TEST_F(PalettePaintTest, FocusFrameIsTwoPixelsAroundEveryItem) {
    Doc.PaletteMode = 0;
    FullRepaint();
    const std::vector<std::uint32_t> unfocused = fake().pixels();
    for (int item = 0; item < PaletteItemCount; ++item) {
        Doc.PaletteMode = 1;
        Doc.PaletteFocus = item;
        FullRepaint();
        const RECT& r = Geo.PaletteItemRects[item];
        auto inFrame = [&r](int x, int y) {
            bool row = (y == r.top - 1 || y == r.top || y == r.bottom - 1 || y == r.bottom) &&
                       r.left <= x && x < r.right;
            bool column = (x == r.left - 1 || x == r.left || x == r.right - 1 || x == r.right) &&
                          r.top <= y && y < r.bottom;
            return row || column;
        };
        int wrong = 0;
        for (int y = 0; y < 140; ++y) {
            for (int x = 0; x < fake().width(); ++x) {
                std::uint32_t want =
                    inFrame(x, y) ? Black : unfocused[static_cast<std::size_t>(y) * 800 + x];
                if (fake().Pixel(x, y) != want) ++wrong;
            }
        }
        EXPECT_EQ(wrong, 0) << "focus frame of item " << item;
    }
}

TEST_F(PalettePaintTest, NoFocusFrameWhileTheTextHasTheKeyboard) {
    Doc.PaletteMode = 0;
    Doc.PaletteFocus = 0;
    FullRepaint();
    const std::vector<std::uint32_t> focusOnUp = fake().pixels();
    Doc.PaletteFocus = 17;
    FullRepaint();
    EXPECT_TRUE(fake().pixels() == focusOnUp);
}

TEST_F(PalettePaintTest, LabelHeightTruncatesTowardZero) {
    // 120 pixels per inch: the buttons are 45 tall and -180 / 7 is -25, not -26.
    fake().logPixelsX = 120;
    fake().logPixelsY = 120;
    CreateWindow(1000, 900);
    fake().recordTextOuts = true;
    FullRepaint();
    ASSERT_FALSE(fake().textOuts.empty());
    for (const fake::TextOutRecord& text : fake().textOuts) {
        if (text.y >= Geo.TextTop) continue;  // document text below the band
        EXPECT_EQ(text.height, -25) << text.text;
    }
}

}  // namespace
}  // namespace nv::test
