// The repaint operations one by one: which rectangles they repaint, that lines out of view
// are left alone, the old-lines copy, and the cases where the plain rules would leave
// stale pixels behind.
#include "view/redraw.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "document/layout.h"
#include "input/text_edit.h"
#include "tests/support/editor_fixture.h"
#include "view/geometry.h"
#include "view/screen_layout.h"

namespace nv::test {
namespace {

class RedrawTest : public EditorTest {
protected:
    // A 624-pixel window: TextRight 600, Courier New 10 pixels a character, 18-pixel lines.
    void SetUp() override {
        EditorTest::SetUp();
        CreateWindow(624, 600);
    }

    std::vector<RECT> RectsOf(void (*operation)()) {
        fake().invalidatedRects.clear();
        operation();
        return fake().invalidatedRects;
    }

    // Replaces r bytes at p the way the editing commands do.
    void Edit(std::int32_t p, std::int32_t r, const std::string& bytes) {
        auto n = static_cast<std::int32_t>(bytes.size());
        ASSERT_TRUE(ApplyTextEdit(EditSpan{p, r},
                                  reinterpret_cast<const std::uint8_t*>(bytes.data()), n, "Edit"));
        EndOperation();
    }
};

void ExpectRect(const RECT& r, LONG left, LONG top, LONG right, LONG bottom) {
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

// The invalidated rectangle that reaches lowest.
RECT Lowest(const std::vector<RECT>& rects) {
    return *std::max_element(rects.begin(), rects.end(),
                             [](const RECT& a, const RECT& b) { return a.bottom < b.bottom; });
}

TEST_F(RedrawTest, CaretStripIsOnePixelRightOfItsCharacterOrLeftOfTheLine) {
    SetText("XYZ\r\nnext");
    fake().invalidatedRects.clear();
    RefreshCaret(1);  // on Y
    RefreshCaret(3);  // on the CR: left of the line's leftmost character
    RefreshCaret(5);  // start of a line
    ASSERT_EQ(fake().invalidatedRects.size(), 3u);
    ExpectRect(fake().invalidatedRects[0], 589, 144, 590, 162);
    ExpectRect(fake().invalidatedRects[1], 569, 144, 570, 162);
    ExpectRect(fake().invalidatedRects[2], 599, 162, 600, 180);
}

TEST_F(RedrawTest, RangeOverThreeLinesRepaintsEachPieceToTheWindowEdges) {
    SetText("abcd\r\nefg\r\nhijk");
    fake().invalidatedRects.clear();
    RefreshRange(2, 13);
    ASSERT_EQ(fake().invalidatedRects.size(), 3u);
    ExpectRect(fake().invalidatedRects[0], 0, 144, 580, 162);
    ExpectRect(fake().invalidatedRects[1], 0, 162, 624, 180);
    ExpectRect(fake().invalidatedRects[2], 580, 180, 624, 198);

    fake().invalidatedRects.clear();
    RefreshRange(1, 1);  // nothing between
    EXPECT_TRUE(fake().invalidatedRects.empty());
}

TEST_F(RedrawTest, LinesOutOfViewAreLeftAloneButVisibleMiddleLinesAreReached) {
    std::string text;
    for (int i = 0; i < 80; ++i) text += "line\r\n";
    SetText(text);
    Send(WM_VSCROLL, SB_THUMBPOSITION | (20u << 16));
    fake().invalidatedRects.clear();
    RefreshCaret(0);
    RefreshLineFrom(5, Doc.LineTable[5].Start);
    RefreshLineFrom(70, Doc.LineTable[70].Start);  // below the window
    EXPECT_TRUE(fake().invalidatedRects.empty());
    RefreshRange(Doc.LineTable[2].Start + 1, Doc.LineTable[22].Start + 2);
    ASSERT_EQ(fake().invalidatedRects.size(), 3u);  // lines 20, 21 and 22
    ExpectRect(fake().invalidatedRects[0], 0, 144, 624, 162);
    ExpectRect(fake().invalidatedRects[2], 580, 180, 624, 198);
}

TEST_F(RedrawTest, LineFromIsWidenedByTheLargestRightOverhang) {
    Doc.FaceName = "Courier New Italic";  // abcC of -2 on many codes
    SetText("abc");
    fake().invalidatedRects.clear();
    RefreshLineFrom(0, 1);
    ASSERT_EQ(fake().invalidatedRects.size(), 1u);
    ExpectRect(fake().invalidatedRects[0], 0, 144, 590 + 2, 162);
}

// The caret's old and new strips and the changed part are one rectangle, invalidated once.
TEST_F(RedrawTest, TypingInTheMiddleOfALineRepaintsOnlyFromThereLeftward) {
    SetText("first\r\nabcdef\r\nlast");
    Doc.Caret = 10;
    FullRepaint();
    fake().invalidatedRects.clear();
    Edit(10, 0, "Q");
    EXPECT_EQ(fake().invalidatedRects.size(), 1u);
    for (const RECT& r : fake().invalidatedRects) {
        EXPECT_EQ(r.top, 162) << "only the edited line";
        EXPECT_LE(r.right, 600 - 30);
    }
    EXPECT_TRUE(MatchesFullRepaint("typing"));
}

TEST_F(RedrawTest, ALineThatGoesOrComesAtTheEndRepaintsItsOwnRowOnly) {
    SetText("one\r\ntwo\r\nthree");
    Doc.Caret = 5;
    FullRepaint();
    fake().invalidatedRects.clear();
    Edit(3, 2, "");  // Backspace over the first line break
    ASSERT_EQ(Doc.LineCount, 2);
    ExpectRect(Lowest(fake().invalidatedRects), 0, 144 + 2 * 18, 624, 144 + 3 * 18);
    EXPECT_TRUE(MatchesFullRepaint("joined"));
    fake().invalidatedRects.clear();
    Edit(Doc.TextLength - 1, 0, "\r\n");
    ExpectRect(Lowest(fake().invalidatedRects), 0, 144 + 2 * 18, 624, 144 + 3 * 18);
    EXPECT_TRUE(MatchesFullRepaint("a new last line"));
}

TEST_F(RedrawTest, OldLinesCopyComesFromTheZeroedHeapAndReportsFailure) {
    SetText("a\r\nb\r\nc");
    OldLines old;
    ASSERT_TRUE(TakeOldLines(&old));
    ASSERT_EQ(old.Count, 3);
    EXPECT_EQ(old.Lines[1].Start, 3);
    EXPECT_EQ(old.Lines[1].End, 5);
    EXPECT_EQ(old.Lines[1].Width, 0);  // only Start and End are copied
    EXPECT_EQ(fake().liveHeapBlocks(), 1);
    FreeOldLines(&old);
    EXPECT_EQ(fake().liveHeapBlocks(), 0);

    fake().heapAllocationsBeforeFailure = 0;
    EXPECT_FALSE(TakeOldLines(&old));
    EXPECT_EQ(old.Lines, nullptr);
    EXPECT_EQ(fake().liveHeapBlocks(), 0);
}

TEST_F(RedrawTest, SelectionEndingOnALineFeedIsRemovedWithItsLineBreakBlock) {
    SetText("XYZ\r\nnext");
    Doc.SelectionStart = 1;
    Doc.SelectionEnd = 4;  // between the CR and the LF: the block is highlighted
    Doc.SelectionActive = 1;
    FullRepaint();
    Doc.SelectionActive = 0;
    RefreshRange(1, 4);
    EndOperation();
    EXPECT_TRUE(MatchesFullRepaint("highlight removed"));
}

TEST_F(RedrawTest, EditBeginningOnALineFeedRepaintsTheCarriageReturnItUncovers) {
    SetText("ab\r\ncd");
    Doc.Caret = 3;  // on the line feed
    FullRepaint();
    Edit(3, 1, "");  // the CR is left alone and is now drawn as a character
    EXPECT_TRUE(MatchesFullRepaint("line feed removed"));
}

TEST_F(RedrawTest, LayoutThatPullsTheViewUpRepaintsTheWholeTextArea) {
    std::string text;
    for (int i = 0; i < 70; ++i) text += "line " + std::to_string(i) + "\r\n";
    SetText(text);
    Send(WM_VSCROLL, SB_BOTTOM);
    std::int32_t bottom = Doc.ViewTop;
    ASSERT_GT(bottom, 42);
    Doc.Caret = Doc.LineTable[bottom + 3].Start;
    FullRepaint();
    // Deleting from line 20 to the caret leaves one page: the scroll range shrinks below
    // the view.
    std::int32_t from = Doc.LineTable[20].Start;
    Edit(from, Doc.Caret - from, "");
    EXPECT_LT(Doc.ViewTop, bottom);
    EXPECT_TRUE(MatchesFullRepaint("view pulled up by the layout"));
}

TEST_F(RedrawTest, NewLayoutOfUnchangedTextRepaintsOnlyLinesThatMoved) {
    SetText("short\r\n" + std::string(50, 'a') + " " + std::string(20, 'b'));
    OldLines old;
    ASSERT_TRUE(TakeOldLines(&old));
    Doc.WordWrapChoice = 42000;
    LayoutDocument();
    fake().invalidatedRects.clear();
    RepaintChangedLines(old, NoEditPosition, 0, 0);
    FreeOldLines(&old);
    EndOperation();
    for (const RECT& r : fake().invalidatedRects) EXPECT_GE(r.top, 162);
    EXPECT_FALSE(fake().invalidatedRects.empty());
    EXPECT_TRUE(MatchesFullRepaint("word wrap off"));
}

}  // namespace
}  // namespace nv::test
