// The caret movement keys and Escape, driven through the window procedure. The default
// document font of the fake (Courier New, 12 points at 96 pixels per inch) is monospaced at
// 10 pixels a character, so 57 characters fill the 6-inch column and lines line up by count.
#include <string>

#include "commands/command_ids.h"
#include "document/layout.h"
#include "document/store.h"
#include "input/word_keys.h"
#include "tests/input/input_snapshot.h"
#include "tests/input/input_texts.h"
#include "tests/support/editor_fixture.h"
#include "view/geometry.h"

namespace nv::test {
namespace {

class CaretKeysTest : public EditorTest {
protected:
    static std::int32_t CaretLine() { return LineOfPosition(Doc.Caret); }
    void Key(UINT key, bool shift = false, bool control = false) {
        KeyDown(key, shift, control);
        ASSERT_TRUE(StoreInvariantsHold());
        ASSERT_TRUE(MatchesFullRepaint("after key " + std::to_string(key)));
    }
    ::testing::AssertionResult Selected(std::int32_t start, std::int32_t end) {
        if (Doc.SelectionActive == 1 && Doc.SelectionStart == start && Doc.SelectionEnd == end) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure()
               << "selection " << Doc.SelectionStart << ".." << Doc.SelectionEnd << " active "
               << Doc.SelectionActive << ", expected " << start << ".." << end;
    }
};

TEST_F(CaretKeysTest, LeftAndRightStepOverALineBreakInOnePress) {
    SetText("ab\r\ncd");
    Place(2);  // on the carriage return
    Key(VK_LEFT);
    EXPECT_EQ(Doc.Caret, 4);
    Key(VK_RIGHT);
    EXPECT_EQ(Doc.Caret, 2);
    Key(VK_RIGHT);
    EXPECT_EQ(Doc.Caret, 1);
    Key(VK_LEFT);
    EXPECT_EQ(Doc.Caret, 2);
}

TEST_F(CaretKeysTest, ShiftArrowSelectsTheCharacterOrLineBreakPassedOver) {
    SetText("ab\r\ncd");
    Place(1);
    Key(VK_LEFT, true);
    EXPECT_TRUE(Selected(1, 2));
    Key(VK_LEFT, true);
    EXPECT_TRUE(Selected(1, 4));
    Key(VK_RIGHT, true);
    EXPECT_TRUE(Selected(1, 2));
    Key(VK_RIGHT, true);
    EXPECT_EQ(Doc.Caret, 1);
    EXPECT_EQ(Doc.SelectionActive, 0) << "an empty selection is switched off";
    // Without Shift a move drops the selection and its highlight.
    Key(VK_RIGHT, true);
    EXPECT_TRUE(Selected(0, 1));
    Key(VK_LEFT);
    EXPECT_EQ(Doc.SelectionActive, 0);
    EXPECT_EQ(Doc.Caret, 1);
}

TEST_F(CaretKeysTest, ControlMovesLeftAndRightByWordsButNotUpAndDown) {
    SetText("abc\r\ndef");
    Place(1);
    Key(VK_LEFT, false, true);
    EXPECT_EQ(Doc.Caret, 3);
    Place(2);
    Key(VK_DOWN, false, true);
    EXPECT_EQ(Doc.Caret, 7);
}

// Ctrl+Left and Ctrl+Right (with and without Shift), Ctrl+Backspace and Ctrl+Delete (each
// undone in one step) and a double click, from one position of each text.
TEST_F(CaretKeysTest, WordMovesDeletesAndDoubleClicks) {
    const std::string shalom = "\xF9\xC8\xD1\xEC\xE5\xC9\xED";  // with qamats, shin dot, holam
    struct WordCase {
        const char* name;
        std::string text;
        std::int32_t at, next, previous, chosenStart, chosenEnd;  // chosen: empty for none
    } cases[] = {
        {"points go with their letter", shalom + " \xF2\xE5\xEC\xED", 3, 8, 0, 0, 7},
        {"on a point", shalom + " \xF2\xE5\xEC\xED", 1, 8, 0, 0, 7},
        {"a point after a space is not a word", "\xE0 \xC8 \xE1", 2, 4, 0, 2, 3},
        {"geresh between letters", "\xF6\xD7\xE9\xF4\xF1 \xE0", 2, 6, 0, 0, 5},
        {"gershayim between letters", "\xF6\xE4\xD8\xEC", 3, 4, 0, 0, 4},
        {"a geresh after the last letter is the word's", "\xE2\xD7 \xE3", 0, 3, 0, 0, 2},
        {"quotes between letters", "\xF6\xE4\"\xEC \xE0", 0, 5, 0, 0, 4},
        {"maqaf joins no words", "\xEB\xEC\xCE\xE4\xF2\xED", 0, 3, 0, 0, 2},
        {"digits and Latin", "abc 1948, def", 4, 10, 0, 4, 8},
        {"punctuation", "ab, cd", 2, 4, 0, 2, 3},
        {"a run of spaces", "ab   cd", 3, 5, 0, 2, 5},
        {"spaces before a line break", "ab  \r\ncd", 2, 4, 0, 2, 4},
        {"on a line break", "ab  \r\ncd", 4, 6, 0, 4, 4},
        {"after a line break", "ab  \r\ncd", 6, 8, 4, 6, 8},
        {"spaces that open a line", "ab\r\n  cd", 6, 8, 4, 6, 8},
        {"start of the text", "ab cd", 0, 3, 0, 0, 2},
        {"end of the text", "ab cd", 5, 5, 3, 5, 5},
    };
    for (const WordCase& c : cases) {
        SCOPED_TRACE(c.name);
        SetText(c.text);
        Place(c.at);
        Key(VK_LEFT, false, true);
        EXPECT_EQ(Doc.Caret, c.next);
        Place(c.at);
        Key(VK_RIGHT, false, true);
        EXPECT_EQ(Doc.Caret, c.previous);
        Place(c.at);
        Key(VK_LEFT, true, true);
        if (c.next != c.at) {
            EXPECT_TRUE(Selected(c.at, c.next));
        }
        Place(c.at);
        Key(VK_RIGHT, true, true);
        if (c.previous != c.at) {
            EXPECT_TRUE(Selected(c.previous, c.at));
        }

        struct Delete {
            UINT key;
            std::int32_t from, to;
        };
        for (const Delete& d :
             {Delete{VK_BACK, c.previous, c.at}, Delete{VK_DELETE, c.at, c.next}}) {
            Place(c.at);
            Key(d.key, false, true);
            std::string expected = c.text;
            expected.erase(static_cast<std::size_t>(d.from),
                           static_cast<std::size_t>(d.to - d.from));
            EXPECT_EQ(Text(), expected) << "key " << d.key;
            EXPECT_EQ(Doc.Caret, d.from);
            Command(IDM_EDIT_UNDO);
            EXPECT_EQ(Text(), c.text) << "one Undo after key " << d.key;
        }

        Place(c.at);
        SelectWordAt(c.at);
        EndOperation();
        if (c.chosenEnd > c.chosenStart) {
            EXPECT_TRUE(Selected(c.chosenStart, c.chosenEnd));
            EXPECT_EQ(Doc.Caret, c.chosenEnd);
        } else {
            EXPECT_EQ(Doc.SelectionActive, 0);
            EXPECT_EQ(Doc.Caret, c.at);
        }
        EXPECT_TRUE(MatchesFullRepaint("after choosing the word"));
    }
}

// Each word deleted is an Undo step of its own, apart from the typing before it.
TEST_F(CaretKeysTest, EachWordDeletedIsOneUndoStep) {
    SetText("ab cd");
    Place(5);
    Char(' ');
    Char('e');
    Key(VK_BACK, false, true);
    Key(VK_BACK, false, true);
    EXPECT_EQ(Text(), "ab ");
    Command(IDM_EDIT_UNDO);
    EXPECT_EQ(Text(), "ab cd ");
    Command(IDM_EDIT_UNDO);
    EXPECT_EQ(Text(), "ab cd e");
    Select(0, 2, 2);
    Key(VK_DELETE, false, true);  // a selection goes as it is
    EXPECT_EQ(Text(), " cd e");
}

struct EdgeCase {
    const char* name;
    const char* text;
    std::int32_t caret;
    std::int32_t selectionStart;  // -1: none
    std::int32_t selectionEnd;
    UINT key;
    bool shift;
    bool control;
};

TEST_F(CaretKeysTest, KeysAtTheEdgesOfTheTextDoNothingAtAll) {
    const EdgeCase cases[] = {
        {"Left at the end", "ab\r\ncd", 6, -1, -1, VK_LEFT, false, false},
        {"Shift+Left at the end of a selection", "ab\r\ncd", 6, 4, 6, VK_LEFT, true, false},
        {"Right at 0", "ab\r\ncd", 0, -1, -1, VK_RIGHT, false, false},
        {"Shift+Right at the start of a selection", "ab\r\ncd", 0, 0, 2, VK_RIGHT, true, false},
        {"Up on the first line", "ab\r\ncd", 1, -1, -1, VK_UP, false, false},
        {"Shift+Up on the first line", "ab\r\ncd", 2, 1, 2, VK_UP, true, false},
        {"Down on the last line", "ab\r\ncd", 4, -1, -1, VK_DOWN, false, false},
        {"Page Up at 0", "ab\r\ncd", 0, -1, -1, VK_PRIOR, false, false},
        {"Ctrl+Page Up at 0", "ab\r\ncd", 0, -1, -1, VK_PRIOR, true, true},
        {"Page Down at the end", "ab\r\ncd", 6, -1, -1, VK_NEXT, false, false},
        {"Page Down on the last line", "ab\r\ncd", 4, -1, -1, VK_NEXT, false, false},
        {"Ctrl+Page Down on the last line", "ab\r\ncd", 5, 4, 5, VK_NEXT, true, true},
        {"Backspace at 0", "ab\r\ncd", 0, -1, -1, VK_BACK, false, false},
        {"Delete at the end", "ab\r\ncd", 6, -1, -1, VK_DELETE, false, false},
        {"Ctrl+Left at the end", "ab\r\ncd", 6, -1, -1, VK_LEFT, false, true},
        {"Ctrl+Right at 0", "ab\r\ncd", 0, -1, -1, VK_RIGHT, false, true},
        {"Ctrl+Backspace at 0", "ab\r\ncd", 0, -1, -1, VK_BACK, false, true},
        {"Ctrl+Delete at the end", "ab\r\ncd", 6, -1, -1, VK_DELETE, false, true},
        {"Escape without a selection", "ab\r\ncd", 3, -1, -1, VK_ESCAPE, false, false},
        {"Space", "ab", 1, 0, 1, VK_SPACE, true, false},
        {"a letter key", "ab", 1, -1, -1, 'A', false, true},
        {"Left in the empty document", "", 0, -1, -1, VK_LEFT, false, false},
        {"Down in the empty document", "", 0, -1, -1, VK_DOWN, false, false},
        {"Delete in the empty document", "", 0, -1, -1, VK_DELETE, false, false},
    };
    for (const EdgeCase& edge : cases) {
        SCOPED_TRACE(edge.name);
        SetText(edge.text);
        if (edge.selectionStart >= 0) {
            Select(edge.selectionStart, edge.selectionEnd, edge.caret);
        } else {
            Place(edge.caret);
        }
        const InputSnapshot before = TakeSnapshot(fake());
        KeyDown(edge.key, edge.shift, edge.control);
        EXPECT_TRUE(NothingHappened(fake(), before));
    }
}

TEST_F(CaretKeysTest, UpAndDownKeepTheCaretsScreenX) {
    SetText("abcdef\r\nghijkl\r\nmn");
    Place(3);
    Key(VK_DOWN);
    EXPECT_EQ(Doc.Caret, 11);
    Key(VK_DOWN);  // x left of all of "mn": the end of the text
    EXPECT_EQ(Doc.Caret, 18);
    Key(VK_UP);  // the caret x is taken afresh, from the end of "mn"
    EXPECT_EQ(Doc.Caret, 10);
    Key(VK_UP);
    EXPECT_EQ(Doc.Caret, 2);
}

TEST_F(CaretKeysTest, DownOntoAShorterLastLineLandsAtTheEndOfTheText) {
    SetText("abcdefghij\r\nxy");
    Place(8);
    Key(VK_DOWN);
    EXPECT_EQ(Doc.Caret, 14);
}

TEST_F(CaretKeysTest, UpAndDownOntoEmptyLines) {
    SetText("abc\r\n\r\nxyz");
    Place(8);
    Key(VK_UP);
    EXPECT_EQ(Doc.Caret, 5) << "the start of the empty line, not its line feed";
    Key(VK_DOWN);
    EXPECT_EQ(Doc.Caret, 7) << "the empty line's caret stands at the right edge";

    SetText("abc\r\n");
    Place(1);
    Key(VK_DOWN);
    EXPECT_EQ(Doc.Caret, 5) << "the empty last line is the end of the text";
    Key(VK_UP);
    EXPECT_EQ(Doc.Caret, 0);
}

TEST_F(CaretKeysTest, UpOntoALineBrokenForWidthStopsBeforeItsLastByte) {
    // 30 a's and a space, then a word of 40 b's that does not fit after them.
    SetText(std::string(30, 'a') + " " + std::string(40, 'b'));
    ASSERT_EQ(Doc.LineCount, 2);
    ASSERT_EQ(Doc.LineTable[0].End, 30);
    Place(71);  // end of the text, left of everything on the shorter first line
    Key(VK_UP);
    EXPECT_EQ(Doc.Caret, 30);
    EXPECT_EQ(CaretLine(), 0);
}

TEST_F(CaretKeysTest, DownOntoALineBrokenForWidthStopsBeforeItsLastByte) {
    SetText(std::string(50, 'c') + "\r\n" + std::string(20, 'a') + " " + std::string(40, 'b'));
    ASSERT_EQ(Doc.LineCount, 3);
    ASSERT_EQ(Doc.LineTable[1].Start, 52);
    ASSERT_EQ(Doc.LineTable[1].End, 72);
    Place(50);  // on the carriage return, far left of the 21 bytes below
    Key(VK_DOWN);
    EXPECT_EQ(Doc.Caret, 72);
    Key(VK_DOWN);  // and from there straight down into the long last line
    EXPECT_EQ(Doc.Caret, 73 + 20);
}

TEST_F(CaretKeysTest, ShiftDownThenShiftUpFlipsTheSelectionAroundItsFixedEnd) {
    SetText("abcdef\r\nghijkl\r\nmnopqr");
    Select(10, 12, 10);  // caret at the start
    Key(VK_DOWN, true);
    EXPECT_EQ(Doc.Caret, 18);
    EXPECT_TRUE(Selected(12, 18)) << "the old end stays put and becomes the start";
    Key(VK_UP, true);
    EXPECT_EQ(Doc.Caret, 10);
    EXPECT_TRUE(Selected(10, 12));
    Key(VK_UP, true);
    EXPECT_EQ(Doc.Caret, 2);
    EXPECT_TRUE(Selected(2, 12));
}

TEST_F(CaretKeysTest, ShiftMovesFromACaretAtNeitherEndRepaintTheWholeChange) {
    // The font commands leave the caret at 0 with the selection kept.
    SetText("abcdefghij");
    Select(4, 8, 0);
    Key(VK_LEFT, true);
    EXPECT_EQ(Doc.Caret, 1);
    EXPECT_TRUE(Selected(1, 8));

    Select(2, 5, 9);
    Key(VK_RIGHT, true);
    EXPECT_EQ(Doc.Caret, 8);
    EXPECT_TRUE(Selected(2, 8));
}

TEST_F(CaretKeysTest, HomeAndEnd) {
    // Line 0 broken for width after its space at 30; line 1 ends with a line break.
    SetText(std::string(30, 'a') + " " + std::string(40, 'b') + "\r\nxyz");
    ASSERT_EQ(Doc.LineTable[0].End, 30);
    Place(10);
    Key(VK_END);
    EXPECT_EQ(Doc.Caret, 30) << "before the last byte of a line broken for width";
    Place(40);
    Key(VK_END);
    EXPECT_EQ(Doc.Caret, 71) << "on the carriage return";
    Key(VK_HOME);
    EXPECT_EQ(Doc.Caret, 31);
    Key(VK_END, false, true);
    EXPECT_EQ(Doc.Caret, 76);
    Key(VK_HOME, true, true);
    EXPECT_EQ(Doc.Caret, 0);
    EXPECT_TRUE(Selected(0, 76));
    Key(VK_END);
    EXPECT_EQ(Doc.Caret, 30);
    EXPECT_EQ(Doc.SelectionActive, 0);
}

TEST_F(CaretKeysTest, ShiftHomeAtTheLineStartAndShiftEndAtTheLineEndSelectNothing) {
    SetText("abc\r\ndef");
    Place(5);
    const InputSnapshot before = TakeSnapshot(fake());
    KeyDown(VK_HOME, true);
    EXPECT_TRUE(NothingHappened(fake(), before));
    Place(8);
    const InputSnapshot atEnd = TakeSnapshot(fake());
    KeyDown(VK_END, true);
    EXPECT_TRUE(NothingHappened(fake(), atEnd));
}

TEST_F(CaretKeysTest, PageKeysMoveByAScreenfulToALineStart) {
    SetText(ShortLines(100));
    const std::int32_t step = VisibleLines() - 1;
    ASSERT_GT(step, 1);
    Place(1);
    Key(VK_NEXT);
    EXPECT_EQ(Doc.Caret, 3 * step);
    Place(3 * 50 + 1);
    Key(VK_PRIOR, true);
    EXPECT_EQ(Doc.Caret, 3 * (50 - step));
    EXPECT_TRUE(Selected(3 * (50 - step), 3 * 50 + 1));
    Place(3 * 98);
    Key(VK_NEXT);
    EXPECT_EQ(Doc.Caret, 300) << "no further than the last line";
}

TEST_F(CaretKeysTest, PageKeysMoveAtLeastOneLineInAWindowShowingNone) {
    for (int height : {Geo.TextTop + 2 * Doc.LineHeight + 1, Geo.TextTop + 1}) {
        CreateWindow(DefaultWidth, height);
        ASSERT_LE(VisibleLines(), 1);
        SetText(ShortLines(5));
        Key(VK_NEXT);
        EXPECT_EQ(Doc.Caret, 3);
        Key(VK_NEXT);
        EXPECT_EQ(Doc.Caret, 6);
        Key(VK_PRIOR);
        EXPECT_EQ(Doc.Caret, 3);
    }
}

TEST_F(CaretKeysTest, ControlPageKeysStopAtPageStarts) {
    SetText(ShortLines(100));
    const std::int32_t perPage = Doc.LinesPerPage;
    ASSERT_LT(2 * perPage, 100);
    Place(3 * (perPage + 8) + 1);
    Key(VK_PRIOR, false, true);
    EXPECT_EQ(Doc.Caret, 3 * perPage) << "to the first line of this page";
    Key(VK_PRIOR, false, true);
    EXPECT_EQ(Doc.Caret, 0) << "from a page start to the previous page";
    Place(1);
    Key(VK_PRIOR, false, true);
    EXPECT_EQ(Doc.Caret, 0) << "page 0 goes to the start of the text";

    Place(1);
    Key(VK_NEXT, false, true);
    EXPECT_EQ(Doc.Caret, 3 * perPage);
    Key(VK_NEXT, false, true);
    EXPECT_EQ(Doc.Caret, 3 * 2 * perPage);
    if ((Doc.LineCount - 1) / perPage == 2) {
        Key(VK_NEXT, false, true);
        EXPECT_EQ(Doc.Caret, 300) << "on the last page: the start of the last line";
    }
}

TEST_F(CaretKeysTest, EscapeCancelsTheSelectionWhereTheCaretStands) {
    SetText("abc\r\ndef");
    Select(1, 6, 6);
    Key(VK_ESCAPE);
    EXPECT_EQ(Doc.SelectionActive, 0);
    EXPECT_EQ(Doc.Caret, 6);
}

TEST_F(CaretKeysTest, LeavingTheVisibleLinesScrollsByWholeLines) {
    SetText(ShortLines(100));
    const std::int32_t lastVisible = VisibleLines() - 1;
    Place(3 * lastVisible);
    const long scrolls = fake().scrollCount;
    Key(VK_DOWN);
    EXPECT_EQ(Doc.ViewTop, 1);
    EXPECT_EQ(fake().scrollCount, scrolls + 1) << "the pixels move instead of being redrawn";
    EXPECT_EQ(fake().GetScrollPos(fake().window(), SB_VERT), 1);
    Key(VK_END, false, true);
    EXPECT_GE(CaretLine(), Doc.ViewTop);
    EXPECT_LT(CaretLine(), Doc.ViewTop + VisibleLines());
    Key(VK_HOME, false, true);
    EXPECT_EQ(Doc.ViewTop, 0);
}

// Bidirectional order: Left and Right pass one character on the screen, then go on to the
// next line in reading order; Home and End go to the line's visual ends.
TEST_F(CaretKeysTest, InBidirectionalOrderTheArrowsMoveTheWayTheyPoint) {
    const std::string wrapped = std::string(40, '\xE0') + " " + std::string(30, '\xE1');
    const struct {
        const char* text;
        std::int32_t from;
        UINT key;
        bool shift;
        std::int32_t to;
        std::int32_t selectionEnd;  // the other end of the selection, or -1 for none
    } cases[] = {
        // "אב 12 ab", drawn "ab 12 בא": the stops from the right are 0 1 2 5 4 3 8 7 6.
        {"\xE0\xE1 12 ab", 0, VK_LEFT, false, 1, -1},
        {"\xE0\xE1 12 ab", 2, VK_LEFT, false, 5, -1},  // over the space, to the right of 2
        {"\xE0\xE1 12 ab", 5, VK_LEFT, false, 4, -1},  // inside the number
        {"\xE0\xE1 12 ab", 3, VK_LEFT, false, 8, -1},  // from left of 1 to right of b
        {"\xE0\xE1 12 ab", 7, VK_LEFT, false, 6, -1},
        {"\xE0\xE1 12 ab", 6, VK_LEFT, false, 6, -1},  // the text's visual end: nothing
        {"\xE0\xE1 12 ab", 8, VK_RIGHT, false, 3, -1},
        {"\xE0\xE1 12 ab", 0, VK_RIGHT, false, 0, -1},
        {"\xE0\xE1 12 ab", 2, VK_LEFT, true, 5, 2},  // Shift: the selection in text order
        {"\xE0\xE1 12 ab", 5, VK_RIGHT, true, 2, 5},
        {"\xE0\xE1 12 ab", 4, VK_HOME, false, 0, -1},
        {"\xE0\xE1 12 ab", 4, VK_END, false, 6, -1},  // the left end, before a
        {"\xE0\xE1 12 ab", 4, VK_END, true, 6, 4},
        // "ab אב", left to right, drawn "ab בא": the stops from the left are 0 1 2 5 4 3.
        {"ab \xE0\xE1", 2, VK_RIGHT, false, 5, -1},
        {"ab \xE0\xE1", 5, VK_RIGHT, false, 4, -1},
        {"ab \xE0\xE1", 3, VK_LEFT, false, 4, -1},
        {"ab \xE0\xE1", 1, VK_LEFT, false, 0, -1},
        {"ab \xE0\xE1", 4, VK_HOME, false, 0, -1},
        {"ab \xE0\xE1", 1, VK_END, false, 3, -1},
        // Line ends: on in reading order to the next line's visual start, or back to the
        // previous line's visual end, whatever its direction.
        {"\xE0\xE1\r\n\xE2\xE3", 2, VK_LEFT, false, 4, -1},
        {"\xE0\xE1\r\n\xE2\xE3", 4, VK_RIGHT, false, 2, -1},
        {"\xE0\xE1\r\nab", 2, VK_LEFT, true, 4, 2},
        {"\xE0\xE1\r\nab", 4, VK_LEFT, false, 2, -1},
        {"ab\r\ncd", 2, VK_RIGHT, false, 4, -1},
        {"ab\r\ncd", 4, VK_LEFT, false, 2, -1},
        {wrapped.c_str(), 39, VK_LEFT, false, 40, -1},  // before the space the line ends with
        {wrapped.c_str(), 40, VK_LEFT, false, 41, -1},
        {wrapped.c_str(), 41, VK_RIGHT, false, 40, -1},
    };
    Command(IDM_ORDER_BIDIRECTIONAL);
    for (const auto& c : cases) {
        SetText(c.text);
        Place(c.from);
        Key(c.key, c.shift);
        const std::string what = std::string(c.text).substr(0, 12) + " from " +
                                 std::to_string(c.from) + " key " + std::to_string(c.key);
        EXPECT_EQ(Doc.Caret, c.to) << what;
        if (c.selectionEnd < 0) {
            EXPECT_EQ(Doc.SelectionActive, 0) << what;
        } else {
            EXPECT_TRUE(Selected(std::min(c.to, c.selectionEnd), std::max(c.to, c.selectionEnd)))
                << what;
        }
    }
    // Ctrl with an arrow goes a word the way the arrow points too.
    SetText("abc def\r\n\xE0\xE1 \xE2");
    Place(0);
    Key(VK_RIGHT, false, true);
    EXPECT_EQ(Doc.Caret, 4);
    Key(VK_LEFT, false, true);
    EXPECT_EQ(Doc.Caret, 0);
    Place(9);
    Key(VK_LEFT, false, true);
    EXPECT_EQ(Doc.Caret, 12);
}

}  // namespace
}  // namespace nv::test
