// Left-button clicks in the text area and on the palette, and the auto-repeat of a held Up
// or Down button. At 96 pixels per inch in an 800-pixel-wide window the text column runs
// from x 112 to 688 below y 144; Courier New at 12 points is 10 pixels per character and
// 18 per line, 42 lines to a page with a 12-pixel gap at its foot.
#include <random>
#include <string>

#include "app/auto_repeat.h"
#include "tests/palette/palette_support.h"

namespace nv::test {
namespace {

constexpr int TextRight = 688;
constexpr int TextTop = 144;
constexpr int CharWidth = 10;
constexpr int LineHeight = 18;

class MouseTest : public EditorTest {
protected:
    // The middle of the row of display line `line` on the first page.
    static int RowY(int line) { return TextTop + line * LineHeight + LineHeight / 2; }

    // On a line whose first character is at the right edge: x inside character k
    // (counted in logical order), `offset` pixels from its left edge.
    static int CharX(int k, int offset) { return TextRight - (k + 1) * CharWidth + offset; }

    void ClickItem(int item) { Click(ItemCentreX(item), ItemCentreY(item)); }

    void ExpectNothingHappensOnClickAt(int x, int y) {
        const int caret = Doc.Caret;
        const int mode = Doc.PaletteMode;
        const int focus = Doc.PaletteFocus;
        const long paints = fake().paintCount;
        Click(x, y);
        EXPECT_EQ(Doc.Caret, caret) << "click at " << x << ", " << y;
        EXPECT_EQ(Doc.PaletteMode, mode) << "click at " << x << ", " << y;
        EXPECT_EQ(Doc.PaletteFocus, focus) << "click at " << x << ", " << y;
        EXPECT_EQ(fake().paintCount, paints) << "click at " << x << ", " << y;
        EXPECT_TRUE(fake().timers().empty());
    }

    void Tick() { Send(WM_TIMER, AutoRepeatTimer); }
    void MoveTo(int x, int y) { Send(WM_MOUSEMOVE, 0, PointerAt(x, y)); }
    void Release(int x, int y) { Send(WM_LBUTTONUP, 0, PointerAt(x, y)); }

    void ExpectRepeating(UINT interval) {
        EXPECT_EQ(Doc.AutoRepeat, 1);
        ASSERT_EQ(fake().timers().count(AutoRepeatTimer), 1u);
        EXPECT_EQ(fake().timers().at(AutoRepeatTimer), interval);
        EXPECT_EQ(fake().capture(), fake().window());
    }

    void ExpectNotRepeating() {
        EXPECT_EQ(Doc.AutoRepeat, 0);
        EXPECT_EQ(fake().timers().count(AutoRepeatTimer), 0u);
        EXPECT_EQ(fake().capture(), nullptr);
    }
};

TEST_F(MouseTest, EitherHalfOfACharacterPutsTheCaretAtItsRightEdge) {
    SetText("abc");
    struct Case {
        int x;
        int caret;
    };
    const Case cases[] = {
        {CharX(0, 1), 0}, {CharX(0, 9), 0},  // both halves of "a", the rightmost
        {CharX(1, 0), 1}, {CharX(1, 9), 1},  {CharX(2, 0), 2},
        {CharX(2, 8), 2}, {CharX(2, -1), 3},  // left of the text: the end of the text
    };
    for (const Case& c : cases) {
        Click(c.x, RowY(0));
        EXPECT_EQ(Doc.Caret, c.caret) << "click at x " << c.x;
        EXPECT_TRUE(MatchesFullRepaint("click at x " + std::to_string(c.x)));
    }
}

// The word itself is chosen by the rule the word keys share; here, the character under the
// pointer, and the palette still taking each of two quick clicks.
TEST_F(MouseTest, ADoubleClickChoosesTheWordUnderThePointer) {
    SetText("ab cde\r\nf");
    struct Case {
        int x, y;
        std::int32_t start, end;  // end 0: nothing chosen
    };
    const Case cases[] = {
        {CharX(4, 8), RowY(0), 3, 6},  // on "d"
        {CharX(2, 5), RowY(0), 2, 3},  // the space
        {CharX(6, 5), RowY(0), 0, 0},  // left of the text
        {CharX(0, 5), RowY(3), 0, 0},  // below the last line
    };
    for (const Case& c : cases) {
        DoubleClick(c.x, c.y);
        if (c.end > 0) {
            EXPECT_EQ(Doc.SelectionActive, 1) << c.x << ", " << c.y;
            EXPECT_EQ(Doc.SelectionStart, c.start) << c.x << ", " << c.y;
            EXPECT_EQ(Doc.SelectionEnd, c.end) << c.x << ", " << c.y;
        } else {
            EXPECT_EQ(Doc.SelectionActive, 0) << c.x << ", " << c.y;
        }
        EXPECT_TRUE(MatchesFullRepaint("double click at " + std::to_string(c.x)));
    }
    const std::int32_t length = Doc.TextLength;
    DoubleClick(ItemCentreX(PaletteFirstCell), ItemCentreY(PaletteFirstCell));
    EXPECT_EQ(Doc.TextLength, length + 2);
    EXPECT_TRUE(MatchesFullRepaint("double click on a palette cell"));
}

TEST_F(MouseTest, LeftOfALineEndingWithALineBreakIsItsCarriageReturn) {
    SetText("ab\r\ncd\r\n\r\nef");
    Click(300, RowY(0));
    EXPECT_EQ(Doc.Caret, 2);
    Click(300, RowY(2));  // the empty line
    EXPECT_EQ(Doc.Caret, 8);
    Click(CharX(0, 5), RowY(2));  // an empty line has no characters: its end again
    EXPECT_EQ(Doc.Caret, 8);
    Click(300, RowY(3));  // the last line ends with the terminator
    EXPECT_EQ(Doc.Caret, 12);
    EXPECT_TRUE(MatchesFullRepaint());
}

TEST_F(MouseTest, LeftOfALineBrokenAtASpaceIsBeforeTheSpace) {
    SetText(std::string(40, 'a') + " " + std::string(40, 'b'));
    ASSERT_EQ(Doc.LineCount, 2);
    ASSERT_EQ(Doc.LineTable[0].End, 40);
    Click(200, RowY(0));
    EXPECT_EQ(Doc.Caret, 40);      // stays on the first line, before the space
    Click(CharX(40, 2), RowY(0));  // on the space itself
    EXPECT_EQ(Doc.Caret, 40);
    Click(200, RowY(1));
    EXPECT_EQ(Doc.Caret, 81);
    EXPECT_TRUE(MatchesFullRepaint());
}

TEST_F(MouseTest, BelowTheLastLineIsTheEndOfTheText) {
    SetText("ab\r\ncd");
    Click(CharX(0, 5), RowY(2));
    EXPECT_EQ(Doc.Caret, 6);
    Doc.Caret = 0;
    FullRepaint();
    Click(CharX(0, 5), 890);  // far down the same page
    EXPECT_EQ(Doc.Caret, 6);
    EXPECT_TRUE(MatchesFullRepaint());
}

TEST_F(MouseTest, TheGapBetweenPagesBelongsToTheNextPage) {
    CreateWindow(800, 1000);
    std::string text;
    for (int i = 0; i < 49; ++i) text += "x\r\n";
    SetText(text + "x");
    // Line 41 ends at y 900; the gap is rows 900 to 911; line 42 starts at 912.
    Click(CharX(0, 5), 905);
    EXPECT_EQ(Doc.Caret, 42 * 3);
    Click(300, 911);
    EXPECT_EQ(Doc.Caret, 42 * 3 + 1);
    Click(300, 899);
    EXPECT_EQ(Doc.Caret, 41 * 3 + 1);
    Click(300, 900);  // the first row of the gap
    EXPECT_EQ(Doc.Caret, 42 * 3 + 1);
    EXPECT_TRUE(MatchesFullRepaint());
}

TEST_F(MouseTest, ClicksOutsideTheTextAndThePaletteDoNothing) {
    CreateWindow(800, 1000);  // the page ends at y 912, inside the window
    SetText("abc");
    Doc.Caret = 1;
    Doc.PaletteMode = 1;
    Doc.PaletteFocus = 15;
    FullRepaint();
    ExpectNothingHappensOnClickAt(111, RowY(0));  // left of the column
    ExpectNothingHappensOnClickAt(688, RowY(0));  // right of it
    ExpectNothingHappensOnClickAt(400, 912);      // below the last page
    ExpectNothingHappensOnClickAt(400, 999);
    ExpectNothingHappensOnClickAt(400, 35);  // above the palette
    ExpectNothingHappensOnClickAt(111, 50);  // beside it
    ExpectNothingHappensOnClickAt(688, 50);
    ExpectNothingHappensOnClickAt(400, 108);  // between it and the text
    ExpectNothingHappensOnClickAt(400, 143);
}

TEST_F(MouseTest, ShiftClicksMoveTheEndWhereTheCaretIs) {
    SetText("abcdefghij");
    auto clickAt = [this](int pos, bool shift) { Click(CharX(pos, 5), RowY(0), shift); };
    struct Step {
        int pos;
        bool shift;
        int caret, start, end, active;
    };
    Doc.Caret = 2;
    FullRepaint();
    const Step steps[] = {
        {2, true, 2, 2, 2, 0},   // at the caret itself: nothing is selected
        {5, true, 5, 2, 5, 1},   // starts a selection from the old caret
        {7, true, 7, 2, 7, 1},   // extends the caret's end
        {4, true, 4, 2, 4, 1},   // shrinks it from the caret's end
        {1, true, 1, 1, 2, 1},   // crosses the anchor: the anchor becomes the end
        {4, true, 4, 2, 4, 1},   // and back across it
        {8, false, 8, 8, 8, 0},  // a plain click drops the selection
        {3, true, 3, 3, 8, 1},  {3, true, 3, 3, 8, 1},  // again at the caret: nothing changes
        {8, true, 8, 8, 8, 0},                          // to the anchor: empty, so no selection
    };
    for (const Step& s : steps) {
        clickAt(s.pos, s.shift);
        std::string what =
            std::string(s.shift ? "shift-" : "") + "click at " + std::to_string(s.pos);
        EXPECT_EQ(Doc.Caret, s.caret) << what;
        EXPECT_EQ(Doc.SelectionActive, s.active) << what;
        if (s.active) {
            EXPECT_EQ(Doc.SelectionStart, s.start) << what;
            EXPECT_EQ(Doc.SelectionEnd, s.end) << what;
        }
        EXPECT_TRUE(MatchesFullRepaint(what));
    }
}

TEST_F(MouseTest, ShiftClickWithTheCaretOffTheSelectionKeepsIt) {
    // A change of face puts the caret at 0 and keeps the selection.
    SetText("abcdefghij");
    Doc.SelectionStart = 3;
    Doc.SelectionEnd = 6;
    Doc.SelectionActive = 1;
    Doc.Caret = 0;
    FullRepaint();
    Click(CharX(8, 5), RowY(0), /*shift=*/true);
    EXPECT_EQ(Doc.Caret, 8);
    EXPECT_EQ(Doc.SelectionStart, 3);
    EXPECT_EQ(Doc.SelectionEnd, 6);
    EXPECT_TRUE(MatchesFullRepaint());
}

TEST_F(MouseTest, AClickInTheTextTakesTheKeyboardBackFromThePalette) {
    SetText("abc");
    Doc.PaletteMode = 1;
    Doc.PaletteFocus = 17;
    FullRepaint();
    Click(CharX(1, 3), RowY(0));
    EXPECT_EQ(Doc.PaletteMode, 0);
    EXPECT_EQ(Doc.PaletteFocus, 17);
    EXPECT_EQ(Doc.Caret, 1);
    EXPECT_TRUE(MatchesFullRepaint());
    Char('x');
    EXPECT_EQ(Text(), "axbc");
}

TEST_F(MouseTest, HeadersOnlyFocusTheCellBelow) {
    SetText("abc");
    for (int d = 0; d < 10; ++d) {
        ClickItem(PaletteFirstHeader + d);
        EXPECT_EQ(Doc.PaletteMode, 1);
        EXPECT_EQ(Doc.PaletteFocus, PaletteFirstCell + d);
        EXPECT_TRUE(MatchesFullRepaint("header " + std::to_string(d)));
    }
    EXPECT_EQ(Text(), "abc");
    EXPECT_EQ(Doc.PaletteBank, 22);
    ExpectNotRepeating();
}

TEST_F(MouseTest, TheIndicatorFocusesUpWithoutActingOrRepeating) {
    Doc.PaletteMode = 1;
    Doc.PaletteFocus = 18;
    FullRepaint();
    ClickItem(PaletteIndicator);
    EXPECT_EQ(Doc.PaletteFocus, PaletteUp);
    EXPECT_EQ(Doc.PaletteBank, 22);
    // Holding the button still on the indicator must not start stepping the bank.
    ExpectNotRepeating();
    Tick();
    Tick();
    EXPECT_EQ(Doc.PaletteBank, 22);
    EXPECT_TRUE(MatchesFullRepaint());
}

TEST_F(MouseTest, ACellInsertsItsCharacterEvenWithoutTheFocus) {
    SetText("ab");
    Doc.Caret = 1;
    FullRepaint();
    ASSERT_EQ(Doc.PaletteMode, 0);
    ClickItem(PaletteFirstCell + 4);
    EXPECT_EQ(Text(),
              "a\xE0"
              "b");
    EXPECT_EQ(Doc.Caret, 2);
    EXPECT_EQ(Doc.PaletteMode, 1);
    EXPECT_EQ(Doc.PaletteFocus, PaletteFirstCell + 4);
    ExpectNotRepeating();
    EXPECT_TRUE(MatchesFullRepaint());

    ClickItem(PaletteFirstCell + 9);  // focus already in the palette
    EXPECT_EQ(Text(),
              "a\xE0\xE5"
              "b");
    Release(ItemCentreX(PaletteFirstCell + 9), ItemCentreY(PaletteFirstCell + 9));
    EXPECT_TRUE(MatchesFullRepaint());
}

TEST_F(MouseTest, CrossedCellsTakeTheFocusAndInsertNothing) {
    SetText("ab");
    Doc.PaletteBank = 3;
    FullRepaint();
    ClickItem(PaletteFirstCell + 1);
    EXPECT_EQ(Doc.PaletteFocus, PaletteFirstCell + 1);
    EXPECT_EQ(Text(), "ab");
    EXPECT_TRUE(fake().messageBoxes().empty());
    EXPECT_TRUE(MatchesFullRepaint());
}

TEST_F(MouseTest, HoldingDownStepsAtThePressThenAfter400AndEvery100) {
    const int x = ItemCentreX(PaletteDown);
    const int y = ItemCentreY(PaletteDown);
    Click(x, y);
    EXPECT_EQ(Doc.PaletteBank, 23);
    EXPECT_EQ(Doc.PaletteFocus, PaletteDown);
    ExpectRepeating(400);
    EXPECT_TRUE(MatchesFullRepaint("press"));

    Tick();
    EXPECT_EQ(Doc.PaletteBank, 24);
    ExpectRepeating(100);
    MoveTo(x + 20, y - 10);  // still on the button
    Tick();
    EXPECT_EQ(Doc.PaletteBank, 25);
    Tick();  // at the bound the repeat runs on without effect
    EXPECT_EQ(Doc.PaletteBank, 25);
    ExpectRepeating(100);
    EXPECT_TRUE(MatchesFullRepaint("ticks"));

    KeyDown(VK_TAB, /*shift=*/true);  // the keyboard is shut out while the button is held
    EXPECT_EQ(Doc.PaletteMode, 1);

    Release(x, y);
    ExpectNotRepeating();
    Tick();
    EXPECT_EQ(Doc.PaletteBank, 25);
}

TEST_F(MouseTest, SlidingOffTheButtonStopsTheRepeatForGood) {
    const int x = ItemCentreX(PaletteUp);
    const int y = ItemCentreY(PaletteUp);
    Click(x, y);
    EXPECT_EQ(Doc.PaletteBank, 21);
    Tick();
    EXPECT_EQ(Doc.PaletteBank, 20);
    MoveTo(x, Geo.PaletteItemRects[PaletteUp].bottom);  // onto Down, just below
    ExpectNotRepeating();
    MoveTo(x, y);  // back on Up
    Tick();
    EXPECT_EQ(Doc.PaletteBank, 20);
    ExpectNotRepeating();
    EXPECT_TRUE(MatchesFullRepaint());
}

TEST_F(MouseTest, DraggingAboveTheWindowCountsAsLeaving) {
    const int x = ItemCentreX(PaletteUp);
    Click(x, ItemCentreY(PaletteUp));
    MoveTo(x, -5);  // arrives as 65531
    ExpectNotRepeating();
}

TEST_F(MouseTest, UpAtTheFirstBankStaysThere) {
    Doc.PaletteBank = 4;
    FullRepaint();
    ClickItem(PaletteUp);
    EXPECT_EQ(Doc.PaletteBank, 3);
    Tick();
    Tick();
    EXPECT_EQ(Doc.PaletteBank, 3);
    ExpectRepeating(100);
    Release(ItemCentreX(PaletteUp), ItemCentreY(PaletteUp));
    EXPECT_TRUE(MatchesFullRepaint());
}

// Any mix of clicks, keys, characters and the messages of a held button, in both modes:
// after every message the picture equals a full repaint of the same records.
TEST_F(MouseTest, RandomInputKeepsThePictureEqualToAFullRepaint) {
    SetText("shalom olam\r\n\xE0\xE1\xE2 \xE3\xE4\r\n\r\nend of text");
    std::mt19937 random(4242);
    const UINT keys[] = {VK_LEFT,  VK_RIGHT, VK_UP,     VK_DOWN,  VK_HOME, VK_END,
                         VK_PRIOR, VK_NEXT,  VK_RETURN, VK_SPACE, VK_BACK, VK_TAB};
    for (int step = 0; step < 400; ++step) {
        std::string what;
        switch (random() % 6) {
            case 0:
            case 1: {
                // Mostly on the palette and the first lines, sometimes anywhere.
                int x = static_cast<int>(random() % 800);
                int y = random() % 3 == 0 ? static_cast<int>(random() % 900)
                                          : static_cast<int>(30 + random() % 200);
                bool shift = random() % 3 == 0;
                Click(x, y, shift);
                what = "click " + std::to_string(x) + "," + std::to_string(y);
                break;
            }
            case 2: {
                UINT key = keys[random() % 12];
                bool shift = random() % 4 == 0;
                bool control = random() % 4 == 0;
                KeyDown(key, shift, control);
                what = "key " + std::to_string(key);
                break;
            }
            case 3:
                Char(static_cast<unsigned>(random() % 2 ? 'a' + random() % 26
                                                        : 0xE0 + random() % 27));
                what = "char";
                break;
            case 4:
                Tick();
                what = "tick";
                break;
            default: {
                int x = static_cast<int>(random() % 800);
                int y = static_cast<int>(random() % 200);
                if (random() % 2) {
                    MoveTo(x, y);
                    what = "move";
                } else {
                    Release(x, y);
                    what = "release";
                }
                break;
            }
        }
        ASSERT_TRUE(MatchesFullRepaint("step " + std::to_string(step) + ", " + what));
        ASSERT_TRUE(StoreInvariantsHold()) << what;
        ASSERT_GE(Doc.PaletteBank, 3);
        ASSERT_LE(Doc.PaletteBank, 25);
        ASSERT_TRUE(Doc.PaletteFocus <= PaletteDown || Doc.PaletteFocus >= PaletteFirstCell)
            << what;
    }
    Release(0, 0);
}

}  // namespace
}  // namespace nv::test
