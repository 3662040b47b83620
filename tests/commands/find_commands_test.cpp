// Find, Find Next, Replace and Replace All through the scripted dialogs: what is selected and
// repainted, the not-found message, the 32,768-byte limit and the refusals that keep the
// document as it was and wait on the dialog, and the Edit menu's new items.
#include "commands/find_commands.h"

#include <gtest/gtest.h>

#include "tests/commands/command_support.h"

namespace nv::test {
namespace {

// Shalom bare and pointed, as document bytes and as the dialog's units.
const std::string Bare = "\xF9\xEC\xE5\xED";
const std::string Pointed = "\xF9\xC8\xD1\xEC\xE5\xC9\xED";
const std::u16string BareUnits = u"\u05E9\u05DC\u05D5\u05DD";

class FindCommandTest : public CommandTest {
protected:
    void Press(DWORD button, const std::u16string& find, DWORD options = FR_DOWN,
               const std::u16string& replace = u"") {
        fake().PressFindDialogButton(button, find, options, replace);
    }
    void ExpectSelected(std::int32_t start, std::int32_t end) {
        EXPECT_EQ(Doc.SelectionActive, 1);
        EXPECT_EQ(Doc.SelectionStart, start);
        EXPECT_EQ(Doc.SelectionEnd, end);
        EXPECT_EQ(Doc.Caret, end);
        EXPECT_TRUE(MatchesFullRepaint());
    }
    void ExpectNotFound(const std::string& shown, HWND owner) {
        ASSERT_EQ(fake().messageBoxes().size(), 1u);
        EXPECT_EQ(fake().messageBoxes()[0].owner, owner);
        ExpectBox("Can not find \"" + shown + "\"", "Find", MB_ICONINFORMATION);
    }
};

TEST_F(FindCommandTest, FindNextSelectsEachPointedOrBareWordThenReportsTheEnd) {
    SetText("abc " + Pointed + " x " + Bare);
    Command(IDM_EDIT_FIND);
    ASSERT_NE(fake().findDialog(), nullptr);
    EXPECT_FALSE(fake().findDialogs[0].replace);
    Press(FR_FINDNEXT, BareUnits);
    ExpectSelected(4, 11);
    Press(FR_FINDNEXT, BareUnits);
    ExpectSelected(14, 18);
    Press(FR_FINDNEXT, BareUnits);
    ExpectNotFound(fake::Utf8(BareUnits), fake().findDialog());
    ExpectSelected(14, 18);
    // Up from the selection's start, then F3 repeats upward after the dialog has closed.
    Press(FR_FINDNEXT, u"B", FR_MATCHCASE);
    ExpectNotFound("B", fake().findDialog());
    Press(FR_FINDNEXT, u"b", 0);
    ExpectSelected(1, 2);
    fake().CloseFindDialog();
    Place(18);
    Command(IDM_EDIT_FIND_NEXT);
    ExpectSelected(1, 2);
    Command(IDM_EDIT_FIND_NEXT);
    ExpectNotFound("b", fake().window());
}

TEST_F(FindCommandTest, AUnitOutsideTheMappingFindsAndReplacesNothing) {
    // The default character stands for units without a byte, one for each unit of an emoji.
    for (const std::u16string find : {u"caf\u00E9", u"caf\U0001F600"}) {
        for (DWORD button : {FR_FINDNEXT, FR_REPLACE, FR_REPLACEALL}) {
            SetText("caf\x1F\x1F");
            Command(IDM_EDIT_REPLACE);
            Press(button, find, FR_DOWN, u"x");
            ExpectNotFound(fake::Utf8(find), fake().findDialog());
            EXPECT_EQ(Text(), "caf\x1F\x1F");
            EXPECT_EQ(Doc.SelectionActive, 0);
            fake().CloseFindDialog();
        }
    }
    // A character of the code page finds its byte, as Paste would give it.
    SetText(
        "a \x91"
        "b\x92");
    Command(IDM_EDIT_FIND);
    Press(FR_FINDNEXT, u"\u2018b\u2019");
    ExpectSelected(2, 5);
}

TEST_F(FindCommandTest, OneDialogAtATimeStartingWithAShortOneLineSelection) {
    SetText("ab\r\ncd ef");
    Select(0, 4, 4);  // two lines: not taken
    Command(IDM_EDIT_FIND);
    EXPECT_EQ(fake().findDialogs.back().startText, u"");
    EXPECT_EQ(fake().findDialogs.back().startFlags, FR_DOWN);
    fake().SetActiveWindow(fake().window());
    Command(IDM_EDIT_REPLACE);  // brings the open one forward
    EXPECT_EQ(fake().activeWindow(), fake().findDialog());
    EXPECT_EQ(fake().findDialogs.size(), 1u);
    fake().CloseFindDialog();
    Select(4, 6, 6);
    Command(IDM_EDIT_REPLACE);
    ASSERT_EQ(fake().findDialogs.size(), 2u);
    EXPECT_TRUE(fake().findDialogs.back().replace);
    EXPECT_EQ(fake().findDialogs.back().startText, u"cd");
}

TEST_F(FindCommandTest, MenuItemsFollowTheTextAndFindNextWithNoSearchOpensFind) {
    auto state = [this](UINT id) {
        Send(WM_INITMENUPOPUP);
        return fake().menuState(id) & MF_GRAYED;
    };
    SetText("");
    for (UINT id : {IDM_EDIT_FIND, IDM_EDIT_FIND_NEXT, IDM_EDIT_REPLACE}) {
        EXPECT_EQ(state(id), MF_GRAYED) << id;
        Command(id);
    }
    EXPECT_TRUE(fake().findDialogs.empty());
    SetText("abc");
    // Find Next is enabled before any search too: F3 on a grayed item sends no command.
    EXPECT_EQ(state(IDM_EDIT_FIND) | state(IDM_EDIT_REPLACE) | state(IDM_EDIT_FIND_NEXT), 0u);
    Command(IDM_EDIT_FIND_NEXT);  // nothing to repeat: opens Find
    ASSERT_EQ(fake().findDialogs.size(), 1u);
    EXPECT_FALSE(fake().findDialogs[0].replace);
}

TEST_F(FindCommandTest, FailuresToOpenTheDialogsAreReported) {
    SetText("abc");
    const struct {
        const char* call;
        UINT command;
        const char* caption;
    } cases[] = {{"RegisterWindowMessageW", IDM_EDIT_FIND, "Can Not Find"},
                 {"FindTextW", IDM_EDIT_FIND, "Can Not Find"},
                 {"ReplaceTextW", IDM_EDIT_REPLACE, "Can Not Replace"}};
    for (const auto& c : cases) {
        fake().FailCall(c.call);
        Command(c.command);
        ExpectBox("Can not open the dialog", c.caption);
        EXPECT_EQ(fake().findDialog(), nullptr) << c.call;
    }
    Command(IDM_EDIT_FIND);  // the next try works
    EXPECT_NE(fake().findDialog(), nullptr);
}

TEST_F(FindCommandTest, ReplaceChangesOnlyASelectedMatchThenFindsTheNext) {
    SetText("a " + Pointed + " b " + Bare);
    Command(IDM_EDIT_REPLACE);
    Press(FR_REPLACE, BareUnits, 0, u"xyz");  // nothing selected: only finds
    EXPECT_EQ(Text(), "a " + Pointed + " b " + Bare);
    ExpectSelected(2, 9);
    Press(FR_REPLACE, BareUnits, 0, u"xyz");  // longer than the bare word, shorter than this
    EXPECT_EQ(Text(), "a xyz b " + Bare);
    ExpectSelected(8, 12);
    Press(FR_REPLACE, BareUnits, 0, u"\u05D0\u05D1\u05D2\u05D3\u05D4\u05D5");
    EXPECT_EQ(Text(), "a xyz b \xE0\xE1\xE2\xE3\xE4\xE5");
    ExpectNotFound(fake::Utf8(BareUnits), fake().findDialog());
    EXPECT_EQ(Doc.Caret, 14);
    EXPECT_TRUE(MatchesFullRepaint());
}

TEST_F(FindCommandTest, ReplaceAllChangesEveryMatchAndLeavesTheCaretAfterTheLast) {
    const struct {
        std::u16string find;
        std::u16string with;
        DWORD options;
        std::string text;
        std::int32_t caret;
    } cases[] = {
        {u"ab", u"XYZ", 0, "1 XYZ XYZ zXYZz XYZ.", 19},
        {u"ab", u"", FR_WHOLEWORD, "1   zabz .", 9},
        {u"AB", u"q", FR_MATCHCASE, "1 ab q zabz ab.", 6},
    };
    for (const auto& c : cases) {
        SetText("1 ab AB zabz ab.");
        Place(15);
        Command(IDM_EDIT_REPLACE);
        Press(FR_REPLACEALL, c.find, c.options, c.with);
        fake().CloseFindDialog();
        EXPECT_EQ(Text(), c.text);
        EXPECT_EQ(Doc.Caret, c.caret) << c.text;
        EXPECT_EQ(Doc.SelectionActive, 0);
        EXPECT_TRUE(fake().messageBoxes().empty());
        EXPECT_TRUE(MatchesFullRepaint(c.text));
        // One Undo takes every replacement back.
        Command(IDM_EDIT_UNDO);
        EXPECT_EQ(Text(), "1 ab AB zabz ab.") << c.text;
        EXPECT_TRUE(MatchesFullRepaint(c.text + " undone"));
    }
}

TEST_F(FindCommandTest, ReplaceAllIsRefusedWholeWhenTheResultWouldNotFit) {
    // Six spaces, each becoming two: the result fills the buffer exactly, or one byte more.
    for (int extra : {0, 1}) {
        SetText(std::string(32755 + extra, 'a') + std::string(6, ' '));
        Place(3);
        const State before = Snapshot();
        Command(IDM_EDIT_REPLACE);
        const HWND dialog = fake().findDialog();
        Press(FR_REPLACEALL, u" ", 0, u"  ");
        fake().CloseFindDialog();
        if (extra == 0) {
            EXPECT_EQ(Doc.TextLength, TextLimit);
            EXPECT_TRUE(fake().messageBoxes().empty());
        } else {
            EXPECT_EQ(fake().messageBoxes()[0].owner, dialog);
            ExpectBox("Input exceeds memory limit", "Can Not Replace");
            EXPECT_EQ(Snapshot(), before);
        }
    }
}

// A refused replacement changes nothing, and its message waits on the dialog.
TEST_F(FindCommandTest, RefusedReplacementsChangeNothingAndAreOwnedByTheDialog) {
    const struct {
        const char16_t* with;
        int allocations;  // before the heap fails; -1: never
        const char* message;
    } causes[] = {
        {u"c", 0, "Can not allocate memory"},
        {u"c\u263A", -1, "The replacement holds characters that a Hebrew document can not hold"},
    };
    for (const auto& cause : causes) {
        for (DWORD button : {FR_REPLACE, FR_REPLACEALL}) {
            SetText("ab ab");
            Select(0, 2, 2);
            Command(IDM_EDIT_REPLACE);
            const State before = Snapshot();
            fake().heapAllocationsBeforeFailure = cause.allocations;
            Press(button, u"ab", 0, cause.with);
            fake().heapAllocationsBeforeFailure = -1;
            ASSERT_FALSE(fake().messageBoxes().empty());
            EXPECT_EQ(fake().messageBoxes()[0].owner, fake().findDialog());
            ExpectBox(cause.message, "Can Not Replace");
            EXPECT_EQ(Snapshot(), before);
            EXPECT_TRUE(MatchesFullRepaint());
            fake().CloseFindDialog();
        }
    }
}

}  // namespace
}  // namespace nv::test
