// The palette driven from the keyboard, through the window procedure as Windows drives it.
#include <random>
#include <string>
#include <vector>

#include "tests/palette/palette_support.h"

namespace nv::test {
namespace {

constexpr int FirstCell = PaletteFirstCell;
constexpr int LastCell = PaletteLastCell;

class PaletteKeysTest : public EditorTest {
protected:
    void EnterPalette() {
        KeyDown(VK_TAB, /*shift=*/true);
        ASSERT_EQ(Doc.PaletteMode, 1);
    }

    // Puts the palette in a state directly and paints it, so that a test starts from a
    // picture that agrees with the records.
    void Start(int bank, int focus) {
        Doc.PaletteMode = 1;
        Doc.PaletteBank = bank;
        Doc.PaletteFocus = focus;
        FullRepaint();
    }

    // A key that must change nothing, not even the screen.
    void ExpectKeyDoesNothing(UINT key, bool control = false) {
        int bank = Doc.PaletteBank;
        int focus = Doc.PaletteFocus;
        long paints = fake().paintCount;
        KeyDown(key, false, control);
        EXPECT_EQ(Doc.PaletteBank, bank) << "key " << key;
        EXPECT_EQ(Doc.PaletteFocus, focus) << "key " << key;
        EXPECT_EQ(fake().paintCount, paints) << "key " << key << " repainted";
    }
};

TEST_F(PaletteKeysTest, ShiftTabTakesTheKeyboardToTheUpButtonAndBack) {
    SetText("abc");
    Doc.Caret = 2;
    Doc.PaletteFocus = 17;  // left over from an earlier visit
    FullRepaint();

    KeyDown(VK_TAB, /*shift=*/true);
    EXPECT_EQ(Doc.PaletteMode, 1);
    EXPECT_EQ(Doc.PaletteFocus, PaletteUp);
    EXPECT_TRUE(MatchesFullRepaint("entering"));

    KeyDown(VK_RIGHT);  // a palette key now, not a caret move
    EXPECT_EQ(Doc.Caret, 2);

    KeyDown(VK_TAB, /*shift=*/true);
    EXPECT_EQ(Doc.PaletteMode, 0);
    EXPECT_EQ(Doc.PaletteFocus, PaletteUp);
    EXPECT_EQ(Doc.Caret, 2);
    EXPECT_EQ(Text(), "abc");
    EXPECT_TRUE(MatchesFullRepaint("leaving"));
}

TEST_F(PaletteKeysTest, LeavingKeepsTheSelection) {
    SetText("hello");
    Doc.Caret = 1;
    KeyDown(VK_LEFT, /*shift=*/true);  // selects towards the end of the text
    const int start = Doc.SelectionStart;
    const int end = Doc.SelectionEnd;
    ASSERT_EQ(Doc.SelectionActive, 1);
    EnterPalette();
    KeyDown(VK_TAB, /*shift=*/true);
    EXPECT_EQ(Doc.SelectionActive, 1);
    EXPECT_EQ(Doc.SelectionStart, start);
    EXPECT_EQ(Doc.SelectionEnd, end);
}

TEST_F(PaletteKeysTest, TextKeysAndTypedCharactersDoNothingInPaletteMode) {
    SetText("abc");
    Doc.Caret = 1;
    EnterPalette();
    Char('x');
    Char(0xE0);
    for (UINT key : {VK_BACK, VK_DELETE, VK_ESCAPE, UINT{'A'}}) ExpectKeyDoesNothing(key);
    EXPECT_EQ(Text(), "abc");
    EXPECT_EQ(Doc.Caret, 1);
}

TEST_F(PaletteKeysTest, FocusStopsAtTheEndsOfTheRowAndOnTheButtons) {
    Start(22, FirstCell);
    ExpectKeyDoesNothing(VK_LEFT);
    Start(22, LastCell);
    ExpectKeyDoesNothing(VK_RIGHT);
    for (int button : {PaletteUp, PaletteDown}) {
        Start(22, button);
        ExpectKeyDoesNothing(VK_LEFT);
        ExpectKeyDoesNothing(VK_RIGHT);
    }
    Start(22, PaletteUp);
    ExpectKeyDoesNothing(VK_UP);
    Start(22, PaletteDown);
    ExpectKeyDoesNothing(VK_DOWN);
}

TEST_F(PaletteKeysTest, FocusMovesBetweenButtonsAndCells) {
    struct Step {
        UINT key;
        bool control;
        int focusAfter;
    };
    Start(22, PaletteUp);
    const std::vector<Step> steps = {
        {VK_DOWN, false, PaletteDown}, {VK_UP, false, PaletteUp},     {VK_TAB, false, FirstCell},
        {VK_RIGHT, false, 14},         {VK_RIGHT, false, 15},         {VK_LEFT, false, 14},
        {VK_TAB, false, PaletteUp},    {VK_DOWN, false, PaletteDown}, {VK_TAB, false, FirstCell},
        {VK_TAB, false, PaletteUp},    {VK_END, false, LastCell},     {VK_TAB, false, PaletteUp},
        {VK_HOME, false, FirstCell},   {VK_TAB, false, PaletteUp},    {VK_NEXT, false, FirstCell},
        {VK_TAB, false, PaletteUp},    {VK_PRIOR, false, FirstCell},
    };
    for (const Step& step : steps) {
        KeyDown(step.key, false, step.control);
        EXPECT_EQ(Doc.PaletteFocus, step.focusAfter) << "after key " << step.key;
        EXPECT_TRUE(MatchesFullRepaint("key " + std::to_string(step.key)));
    }
}

TEST_F(PaletteKeysTest, ArrowsOnACellStepTheBankAndKeepTheFocus) {
    Start(22, 16);
    KeyDown(VK_UP);
    EXPECT_EQ(Doc.PaletteBank, 21);
    KeyDown(VK_DOWN);
    KeyDown(VK_DOWN);
    EXPECT_EQ(Doc.PaletteBank, 23);
    EXPECT_EQ(Doc.PaletteFocus, 16);
    EXPECT_TRUE(MatchesFullRepaint());
}

TEST_F(PaletteKeysTest, NoKeyTakesTheBankBelowThree) {
    struct Case {
        UINT key;
        bool control;
        int focus;
    };
    for (const Case& c : std::vector<Case>{{VK_UP, false, FirstCell},
                                           {VK_UP, false, 19},
                                           {VK_RETURN, false, PaletteUp},
                                           {VK_SPACE, false, PaletteUp},
                                           {VK_PRIOR, false, FirstCell},
                                           {VK_PRIOR, true, FirstCell},
                                           {VK_HOME, true, FirstCell}}) {
        Start(3, c.focus);
        ExpectKeyDoesNothing(c.key, c.control);
    }
    // One step above the bound the same keys reach it.
    Start(4, PaletteUp);
    KeyDown(VK_RETURN);
    EXPECT_EQ(Doc.PaletteBank, 3);
    EXPECT_TRUE(MatchesFullRepaint());
}

TEST_F(PaletteKeysTest, NoKeyTakesTheBankAboveTwentyFive) {
    struct Case {
        UINT key;
        bool control;
        int focus;
    };
    for (const Case& c : std::vector<Case>{{VK_DOWN, false, FirstCell},
                                           {VK_DOWN, false, LastCell},
                                           {VK_RETURN, false, PaletteDown},
                                           {VK_SPACE, false, PaletteDown},
                                           {VK_NEXT, false, FirstCell},
                                           {VK_NEXT, true, FirstCell},
                                           {VK_END, true, LastCell}}) {
        Start(25, c.focus);
        ExpectKeyDoesNothing(c.key, c.control);
    }
    Start(24, PaletteDown);
    KeyDown(VK_SPACE);
    EXPECT_EQ(Doc.PaletteBank, 25);
    EXPECT_TRUE(MatchesFullRepaint());
}

TEST_F(PaletteKeysTest, PageKeysStopAtTensAndAtTheBounds) {
    auto walk = [this](int from, UINT key, bool control) {
        Start(from, PaletteUp);
        std::vector<int> banks;
        for (int k = 0; k < 5; ++k) {
            KeyDown(key, false, control);
            EXPECT_EQ(Doc.PaletteFocus, FirstCell);
            banks.push_back(Doc.PaletteBank);
        }
        EXPECT_TRUE(MatchesFullRepaint());
        return banks;
    };
    EXPECT_EQ(walk(22, VK_PRIOR, true), (std::vector<int>{20, 10, 3, 3, 3}));
    EXPECT_EQ(walk(3, VK_NEXT, true), (std::vector<int>{10, 20, 25, 25, 25}));
    EXPECT_EQ(walk(22, VK_PRIOR, false), (std::vector<int>{17, 12, 7, 3, 3}));
    EXPECT_EQ(walk(7, VK_NEXT, false), (std::vector<int>{12, 17, 22, 25, 25}));
    EXPECT_EQ(walk(19, VK_PRIOR, true), (std::vector<int>{10, 3, 3, 3, 3}));
    EXPECT_EQ(walk(11, VK_NEXT, true), (std::vector<int>{20, 25, 25, 25, 25}));
}

TEST_F(PaletteKeysTest, CtrlHomeAndCtrlEndJumpToTheBounds) {
    Start(14, PaletteDown);
    KeyDown(VK_HOME, false, /*control=*/true);
    EXPECT_EQ(Doc.PaletteBank, 3);
    EXPECT_EQ(Doc.PaletteFocus, FirstCell);
    KeyDown(VK_END);
    EXPECT_EQ(Doc.PaletteBank, 3);  // without Ctrl only the focus moves
    EXPECT_EQ(Doc.PaletteFocus, LastCell);
    KeyDown(VK_END, false, /*control=*/true);
    EXPECT_EQ(Doc.PaletteBank, 25);
    EXPECT_TRUE(MatchesFullRepaint());
}

TEST_F(PaletteKeysTest, EnterOnACellInsertsItsCodeLikeTyping) {
    SetText("xyz");
    Doc.Caret = 1;
    KeyDown(VK_LEFT, /*shift=*/true);  // selects "y"
    ASSERT_EQ(Doc.SelectionEnd - Doc.SelectionStart, 1);
    EnterPalette();
    Start(6, FirstCell + 5);  // code 65
    KeyDown(VK_RETURN);
    EXPECT_EQ(Text(), "xAz");
    EXPECT_EQ(Doc.Caret, 2);
    EXPECT_EQ(Doc.PaletteFocus, FirstCell + 5);
    EXPECT_EQ(Doc.PaletteMode, 1);
    KeyDown(VK_SPACE);
    EXPECT_EQ(Text(), "xAAz");
    EXPECT_TRUE(MatchesFullRepaint());
}

TEST_F(PaletteKeysTest, CrossedCellsInsertNothing) {
    SetText("ab");
    Start(3, FirstCell + 1);  // 31
    KeyDown(VK_RETURN);
    Start(25, FirstCell + 6);  // 256
    KeyDown(VK_RETURN);
    Start(3, FirstCell + 2);  // 32, the space, is the first code that goes in
    KeyDown(VK_RETURN);
    EXPECT_EQ(Text(), " ab");
    EXPECT_TRUE(fake().messageBoxes().empty());
}

// Any mix of keys and characters in both modes: the focus only ever rests on a button or a
// cell, the bank stays in range, and the minimal repaints leave the same picture as a full
// one.
TEST_F(PaletteKeysTest, RandomKeysKeepTheFocusOffTheIndicatorAndHeaders) {
    SetText("shalom\r\nolam");
    std::mt19937 random(20261208);
    const UINT keys[] = {VK_LEFT,  VK_RIGHT, VK_UP,  VK_DOWN,   VK_HOME,  VK_END,
                         VK_PRIOR, VK_NEXT,  VK_TAB, VK_RETURN, VK_SPACE, VK_ESCAPE};
    for (int step = 0; step < 300; ++step) {
        int pick = static_cast<int>(random() % 16);
        std::string what;
        if (pick < 12) {
            bool shift = keys[pick] == VK_TAB && random() % 4 == 0;
            bool control = random() % 3 == 0;
            KeyDown(keys[pick], shift, control);
            what = "key " + std::to_string(keys[pick]) + (shift ? "+shift" : "") +
                   (control ? "+ctrl" : "");
        } else {
            Char(static_cast<unsigned>('a' + pick));
            what = "char";
        }
        ASSERT_TRUE(Doc.PaletteFocus == PaletteUp || Doc.PaletteFocus == PaletteDown ||
                    (Doc.PaletteFocus >= FirstCell && Doc.PaletteFocus <= LastCell))
            << what << " left the focus on " << Doc.PaletteFocus;
        ASSERT_GE(Doc.PaletteBank, 3) << what;
        ASSERT_LE(Doc.PaletteBank, 25) << what;
        ASSERT_TRUE(MatchesFullRepaint("step " + std::to_string(step) + ", " + what));
        ASSERT_TRUE(StoreInvariantsHold());
    }
}

}  // namespace
}  // namespace nv::test
