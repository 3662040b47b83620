// Painting of the text area, checked in the framebuffer: where each character, the caret,
// the selection and the page rules land.
#include "view/text_paint.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/editor_fixture.h"
#include "view/geometry.h"

namespace nv::test {
namespace {

using Point = std::pair<int, int>;

class TextPaintTest : public EditorTest {
protected:
    // A 624-pixel window puts TextRight at 600; Courier New characters are 10 pixels wide.
    void SetUp() override {
        EditorTest::SetUp();
        CreateWindow(624, 1000);
    }

    // The pixels that differ between the picture as it stands and a repaint after change.
    template <typename Change>
    std::set<Point> PixelsChangedBy(Change change) {
        FullRepaint();
        std::vector<std::uint32_t> before = fake().pixels();
        change();
        FullRepaint();
        std::set<Point> changed;
        for (int y = 0; y < fake().height(); ++y) {
            for (int x = 0; x < fake().width(); ++x) {
                if (fake().Pixel(x, y) !=
                    before[static_cast<std::size_t>(y) * fake().width() + x]) {
                    changed.insert({x, y});
                }
            }
        }
        return changed;
    }

    static std::set<Point> Column(int x, int top, int height) {
        std::set<Point> points;
        for (int y = top; y < top + height; ++y) points.insert({x, y});
        return points;
    }

    // The caret is the one-pixel column at x from top down a line height: all of it black,
    // and nothing else changes when the caret leaves the picture.
    void ExpectCaretAt(std::int32_t caret, int x, int top) {
        Doc.Caret = caret;
        std::set<Point> changed = PixelsChangedBy([] { Doc.Caret = -1; });
        std::set<Point> column = Column(x, top, 18);
        EXPECT_FALSE(changed.empty()) << "caret " << caret;
        for (const Point& point : changed) {
            EXPECT_EQ(column.count(point), 1u)
                << "caret " << caret << " changed " << point.first << ", " << point.second;
        }
        Doc.Caret = caret;
        FullRepaint();
        for (const Point& point : column) {
            EXPECT_EQ(fake().Pixel(point.first, point.second), fake::Black)
                << "caret " << caret << " at " << point.first << ", " << point.second;
        }
    }

    bool RowIsRule(int y) {
        for (int x = Geo.TextLeft; x < Geo.TextRight; ++x) {
            if (fake().Pixel(x, y) != fake::Black) return false;
        }
        return fake().Pixel(Geo.TextLeft - 1, y) == fake::White &&
               fake().Pixel(Geo.TextRight, y) == fake::White;
    }

    std::vector<fake::TextOutRecord> DrawnAt(int y) {
        fake().textOuts.clear();
        fake().recordTextOuts = true;
        FullRepaint();
        fake().recordTextOuts = false;
        std::vector<fake::TextOutRecord> drawn;
        for (const fake::TextOutRecord& record : fake().textOuts) {
            if (record.y == y && record.height == -16) drawn.push_back(record);
        }
        return drawn;
    }
};

TEST_F(TextPaintTest, WorkedExampleOfThreeCharactersAndALineBreak) {
    SetText("XYZ\r\nnext");
    ASSERT_EQ(Geo.TextRight, 600);
    std::vector<fake::TextOutRecord> drawn = DrawnAt(144);
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_EQ(drawn[0].text, "Z");
    EXPECT_EQ(drawn[0].x, 570);
    EXPECT_EQ(drawn[1].text, "Y");
    EXPECT_EQ(drawn[1].x, 580);
    EXPECT_EQ(drawn[2].text, "X");
    EXPECT_EQ(drawn[2].x, 590);

    ExpectCaretAt(1, 589, 144);  // on Y
    ExpectCaretAt(3, 569, 144);  // on the CR
    ExpectCaretAt(5, 599, 162);  // start of the next line

    // Y to the start of the next line: from 570 less the 20-pixel line-break block to 590.
    Doc.Caret = 5;
    std::set<Point> selected = PixelsChangedBy([] {
        Doc.SelectionStart = 1;
        Doc.SelectionEnd = 5;
        Doc.SelectionActive = 1;
    });
    std::set<Point> expected;
    for (int y = 144; y < 162; ++y) {
        for (int x = 550; x < 590; ++x) expected.insert({x, y});
    }
    EXPECT_EQ(selected, expected);
}

TEST_F(TextPaintTest, SelectionEndingOnTheCarriageReturnLeavesTheBlockOut) {
    SetText("XYZ\r\nnext");
    std::set<Point> selected = PixelsChangedBy([] {
        Doc.SelectionStart = 0;
        Doc.SelectionEnd = 3;
        Doc.SelectionActive = 1;
    });
    EXPECT_EQ(selected.size(), 30u * 18u);
    EXPECT_EQ(selected.count({570, 144}), 1u);
    EXPECT_EQ(selected.count({569, 144}), 0u);
}

TEST_F(TextPaintTest, SelectionOverThreeLinesHighlightsEachPiece) {
    SetText("abcd\r\nefg\r\nhijk");
    // From c (position 2) to j (position 13): first line from its left end less the block
    // to c's right edge, the middle line whole with its block, the last from h and i.
    std::set<Point> selected = PixelsChangedBy([] {
        Doc.SelectionStart = 2;
        Doc.SelectionEnd = 13;
        Doc.SelectionActive = 1;
    });
    std::set<Point> expected;
    for (int y = 144; y < 162; ++y) {
        for (int x = 560 - 20; x < 580; ++x) expected.insert({x, y});
    }
    for (int y = 162; y < 180; ++y) {
        for (int x = 570 - 20; x < 600; ++x) expected.insert({x, y});
    }
    for (int y = 180; y < 198; ++y) {
        for (int x = 580; x < 600; ++x) expected.insert({x, y});
    }
    EXPECT_EQ(selected, expected);
}

TEST_F(TextPaintTest, EmptyDocumentShowsTheRulesAndTheCaretOnly) {
    SetText("");
    std::set<Point> black;
    for (int y = 120; y < fake().height(); ++y) {
        for (int x = 0; x < fake().width(); ++x) {
            if (fake().Pixel(x, y) == fake::Black) black.insert({x, y});
        }
    }
    std::set<Point> expected = Column(599, 144, 18);
    for (int y : {142, 143, 144 + 768}) {
        for (int x = 24; x < 600; ++x) expected.insert({x, y});
    }
    EXPECT_EQ(black, expected);

    Doc.PaletteMode = 1;  // the top edge is then one pixel thick
    FullRepaint();
    EXPECT_FALSE(RowIsRule(142));
    EXPECT_TRUE(RowIsRule(143));
}

TEST_F(TextPaintTest, EmptyLineDrawsNoTextAndItsCaretStandsAtTheRightEdge) {
    SetText("a\r\n\r\nb");
    EXPECT_TRUE(DrawnAt(162).empty());
    EXPECT_EQ(DrawnAt(180).size(), 1u);
    ExpectCaretAt(3, 599, 162);
}

TEST_F(TextPaintTest, LineBrokenAtASpaceDrawsTheSpaceLeftmost) {
    SetText(std::string(50, 'a') + " " + std::string(10, 'b'));
    ASSERT_EQ(Doc.LineTable[0].End, 50);
    std::vector<fake::TextOutRecord> drawn = DrawnAt(144);
    ASSERT_EQ(drawn.size(), 51u);
    EXPECT_EQ(drawn[0].text, " ");
    EXPECT_EQ(drawn[0].x, 600 - 510);
    ExpectCaretAt(51, 599, 162);  // after the space: the next line
    ExpectCaretAt(50, 599 - 500, 144);
}

TEST_F(TextPaintTest, PointsTakeNoRoomAndEachCharacterStandsAtTheSumOfItsNeighbours) {
    SetText("\xE0\xC4\xE1\xE2");  // alef with a point, bet, gimel
    std::vector<fake::TextOutRecord> drawn = DrawnAt(144);
    ASSERT_EQ(drawn.size(), 4u);
    EXPECT_EQ(drawn[0].text, "\xE2");
    EXPECT_EQ(drawn[0].x, 570);
    EXPECT_EQ(drawn[1].x, 580);
    EXPECT_EQ(drawn[2].text, "\xC4");
    EXPECT_EQ(drawn[2].x, 590);
    EXPECT_EQ(drawn[3].text, "\xE0");
    EXPECT_EQ(drawn[3].x, 590);
}

TEST_F(TextPaintTest, PageRulesMoveWithTheTextWhenScrolled) {
    std::string text;
    for (int i = 0; i < 100; ++i) text += "line\r\n";
    SetText(text);
    Send(WM_VSCROLL, SB_THUMBPOSITION | (10u << 16));
    // Line 42, the first of page 2, is at 144 + 32 lines + the 12-pixel gap.
    const int firstOfPage2 = 144 + 32 * 18 + 12;
    EXPECT_TRUE(RowIsRule(firstOfPage2 - 1));
    EXPECT_EQ(DrawnAt(firstOfPage2).size(), 4u);
    Send(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_TRUE(RowIsRule(firstOfPage2 - 1 - 18));
    EXPECT_FALSE(RowIsRule(firstOfPage2 - 1));
    EXPECT_TRUE(MatchesFullRepaint("after scrolling"));
    // The end of the document: the row below page 3.
    Send(WM_VSCROLL, SB_BOTTOM);
    int end = 144 + 3 * 768 - (Doc.ViewTop / 42) * 12 - Doc.ViewTop * 18;
    ASSERT_LT(end, fake().height());
    EXPECT_TRUE(RowIsRule(end));
    EXPECT_TRUE(RowIsRule(end - 768 - 1));  // between pages 2 and 3
}

// Drawn in one call by glyph index, a line must look exactly as its characters drawn one by
// one with TextOutA, codes the font has no glyph for included (0x81 and 0xD9 in every face,
// 0xD4 in the Times faces); and so it must when the system cannot give the glyphs.
TEST_F(TextPaintTest, ALineLooksAsItsCharactersDrawnAloneEvenWhereTheFontLacksOne) {
    const std::string line = "\xE0\x81 \xD4\xE1\xC4\xD9xy\xFA";
    for (UINT face : {43004u, 43010u, 43008u}) {
        fake().glyphIndicesFail = face == 43008u;
        Command(face);
        SetText(line);
        // The reference: each character by itself on a platform of its own.
        fake::FakePlatform scratch;
        scratch.windowProc = [](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return 0; };
        HWND window = scratch.CreateMainWindow(fake().width(), fake().height());
        HDC dc = scratch.GetDC(window);
        LOGFONTA font;
        font.lfHeight = -16;
        font.lfCharSet = HEBREW_CHARSET;
        std::strncpy(font.lfFaceName, Doc.FaceName, LF_FACESIZE - 1);
        HFONT created = scratch.CreateFontIndirectA(&font);
        HGDIOBJ previous = scratch.SelectObject(dc, created);
        scratch.SetBkMode(dc, TRANSPARENT);
        const fake::FontMetrics metrics = scratch.MetricsFor(font);
        int width = 0;
        for (char c : line) {
            const ABC& abc = metrics.abc[static_cast<std::uint8_t>(c)];
            width += abc.abcA + static_cast<int>(abc.abcB) + abc.abcC;
        }
        int x = Geo.TextRight - width;
        for (auto c = line.rbegin(); c != line.rend(); ++c) {
            scratch.TextOutA(dc, x, 144, &*c, 1);
            const ABC& abc = metrics.abc[static_cast<std::uint8_t>(*c)];
            x += abc.abcA + static_cast<int>(abc.abcB) + abc.abcC;
        }
        scratch.SelectObject(dc, previous);
        scratch.DeleteObject(created);
        scratch.ReleaseDC(window, dc);

        Doc.Caret = -1;  // no caret bar in the band
        FullRepaint();
        int differing = 0;
        for (int y = 144; y < 144 + Doc.LineHeight; ++y) {
            for (int px = Geo.TextLeft; px < Geo.TextRight; ++px) {
                differing += fake().Pixel(px, y) != scratch.Pixel(px, y);
            }
        }
        EXPECT_EQ(differing, 0) << Doc.FaceName;
        Doc.Caret = 0;
    }
}

}  // namespace
}  // namespace nv::test
