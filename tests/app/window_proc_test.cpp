// The window procedure: command routing, closing, the About box, the Edit menu state and
// the auto-repeat of the palette buttons.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "commands/command_ids.h"
#include "tests/support/editor_fixture.h"
#include "view/geometry.h"

namespace nv::test {
namespace {

class WindowProcTest : public EditorTest {
protected:
    bool WentToDefault(UINT message) {
        const std::vector<UINT>& log = fake_->defaultProcMessages;
        return std::find(log.begin(), log.end(), message) != log.end();
    }
};

TEST_F(WindowProcTest, EveryCommandOfTheMenuIsRoutedAndOthersGoToTheDefault) {
    std::vector<UINT> routed = {40000, 40001, 40002, 40003, 40005, 41000, 41001,
                                41002, 41003, 41004, 41005, 41006, 41007, 41008,
                                41009, 41010, 42000, 42001, 45000, 47000, 40100, 40107};
    for (UINT id = 43000; id <= 43011; ++id) routed.push_back(id);
    for (UINT id = 44008; id <= 44072; ++id) routed.push_back(id);
    for (UINT id : routed) {
        fake_->defaultProcMessages.clear();
        if (id == IDM_ABOUT) fake_->AnswerNextMessageBox(IDOK);
        if (id == IDM_EDIT_GO_TO) fake_->AnswerNextDialog({{"", IDCANCEL}});
        if (id == IDM_FILE_OPEN || id == IDM_FILE_SAVE || id == IDM_FILE_SAVE_AGAIN) {
            fake_->CancelNextFileDialog();
        }
        // The accelerators send high word 1; only the low word counts.
        EXPECT_EQ(Send(WM_COMMAND, (1u << 16) | id, 0), 0) << id;
        EXPECT_FALSE(WentToDefault(WM_COMMAND)) << id;
    }
    for (UINT id : {39999u, 40006u, 40108u, 41011u, 42002u, 43012u, 44007u, 44073u, 45001u, 47001u, 0u}) {
        fake_->defaultProcMessages.clear();
        Send(WM_COMMAND, id, 0);
        EXPECT_TRUE(WentToDefault(WM_COMMAND)) << id;
    }
    EXPECT_FALSE(fake_->windowDestroyed());
}

// The status bar follows every operation, and only with the texts that changed.
TEST_F(WindowProcTest, TheStatusBarTellsLinePageAndWords) {
    ASSERT_TRUE(fake().statusBarShown());
    EXPECT_EQ(fake().statusParts.size(), 4u);
    EXPECT_EQ(fake().statusText(0), "Line 1, Column 1");
    EXPECT_EQ(fake().statusText(1), "Page 1 of 1");
    EXPECT_EQ(fake().statusText(2), "0 words");
    for (unsigned code : {0xF9u, 0xC8u, unsigned{' '}}) Char(code);  // a pointed shin
    EXPECT_EQ(fake().statusText(2), "1 word");
    KeyDown(VK_RETURN);
    for (unsigned code : {0xE0u, 0xE1u, unsigned{'-'}, 0xE2u}) Char(code);
    EXPECT_EQ(fake().statusText(0), "Line 2, Column 5");
    EXPECT_EQ(fake().statusText(2), "3 words");
    for (int k = 0; k < 3; ++k) KeyDown(VK_RIGHT, true);
    EXPECT_EQ(fake().statusText(0), "Line 2, Column 2");
    EXPECT_EQ(fake().statusText(2), "2 of 3 words");  // a word cut by the selection counts
    const long sets = fake().statusTextSets;          // Escape drops the selection, then nothing
    KeyDown(VK_ESCAPE);
    KeyDown(VK_ESCAPE);  // changes nothing: no text is set again
    EXPECT_EQ(fake().statusText(2), "3 words");
    EXPECT_EQ(fake().statusTextSets, sets + 1);

    std::string lines;
    for (int i = 0; i < 100; ++i) lines += "w\r\n";
    SetText(lines);
    KeyDown(VK_NEXT, false, true);
    EXPECT_EQ(fake().statusText(0), "Line 43, Column 1");
    EXPECT_EQ(fake().statusText(1), "Page 2 of 3");
    EXPECT_EQ(fake().statusText(2), "100 words");

    // Hidden, the text area reaches the foot of the window and the bar is left alone.
    const std::int32_t visible = VisibleLines();
    Command(IDM_VIEW_STATUS_BAR);
    EXPECT_FALSE(fake().statusBarShown());
    EXPECT_EQ(fake().menuState(IDM_VIEW_STATUS_BAR), 0u);
    EXPECT_EQ(VisibleLines(), (900 - 144) / 18 - 1);
    const long hiddenSets = fake().statusTextSets;
    KeyDown(VK_NEXT, false, true);
    EXPECT_EQ(fake().statusTextSets, hiddenSets);
    Command(IDM_VIEW_STATUS_BAR);
    EXPECT_TRUE(fake().statusBarShown());
    EXPECT_EQ(fake().menuState(IDM_VIEW_STATUS_BAR), MF_CHECKED);
    EXPECT_EQ(VisibleLines(), visible);
    EXPECT_EQ(fake().statusText(1), "Page 3 of 3");
}

TEST_F(WindowProcTest, AboutShowsItsTwoLines) {
    Command(IDM_ABOUT);
    ASSERT_EQ(fake_->messageBoxes().size(), 1u);
    const fake::MessageBoxRecord& box = fake_->messageBoxes()[0];
    EXPECT_EQ(box.owner, fake_->window());
    EXPECT_EQ(box.text, "Nivrano\nText Editor Computer Program");
    EXPECT_EQ(box.caption, "Nivrano");
    EXPECT_EQ(box.type, MB_ICONINFORMATION);
}

TEST_F(WindowProcTest, ClosingAnUnchangedDocumentAsksNothing) {
    Send(WM_CLOSE);
    EXPECT_TRUE(fake_->messageBoxes().empty());
    EXPECT_TRUE(fake_->windowDestroyed());
    EXPECT_TRUE(fake_->quitPosted());
    EXPECT_EQ(fake_->quitCode(), 0);
}

TEST_F(WindowProcTest, ExitGoesThroughTheCloseTest) {
    Command(IDM_FILE_EXIT);
    EXPECT_TRUE(fake_->windowDestroyed());
    EXPECT_TRUE(fake_->quitPosted());
}

class CloseChangedTest : public WindowProcTest {
protected:
    void SetUp() override {
        WindowProcTest::SetUp();
        Doc.TextBuffer[0] = 'a';
        Doc.TextBuffer[1] = 0;
        Doc.TextLength = 2;
    }
    void ExpectSavePrompt() {
        ASSERT_EQ(fake_->messageBoxes().size(), 1u);
        const fake::MessageBoxRecord& box = fake_->messageBoxes()[0];
        EXPECT_EQ(box.owner, fake_->window());
        EXPECT_EQ(box.text,
                  "The current file has changed since the last save.\n"
                  "Do you wish to save the current file?");
        EXPECT_EQ(box.caption, "Save Current File?");
        EXPECT_EQ(box.type, MB_ICONQUESTION | MB_YESNOCANCEL);
    }
};

TEST_F(CloseChangedTest, CancelKeepsTheWindowAndTheText) {
    fake_->AnswerNextMessageBox(IDCANCEL);
    EXPECT_EQ(Send(WM_CLOSE), 0);
    ExpectSavePrompt();
    EXPECT_FALSE(fake_->windowDestroyed());
    EXPECT_EQ(Text(), "a");
}

TEST_F(CloseChangedTest, YesSavesAndKeepsTheWindow) {
    fake_->AnswerNextMessageBox(IDYES);
    fake_->CancelNextFileDialog();
    EXPECT_EQ(Send(WM_CLOSE), 0);
    ExpectSavePrompt();
    EXPECT_FALSE(fake_->windowDestroyed());
    EXPECT_FALSE(fake_->quitPosted());
    EXPECT_EQ(Text(), "a");
}

TEST_F(CloseChangedTest, NoClosesAndDropsTheChanges) {
    fake_->AnswerNextMessageBox(IDNO);
    Send(WM_CLOSE);
    ExpectSavePrompt();
    EXPECT_TRUE(fake_->windowDestroyed());
    EXPECT_TRUE(fake_->quitPosted());
}

TEST_F(CloseChangedTest, SameLengthDifferentBytesCountsAsChanged) {
    Doc.SavedText[0] = 'b';
    Doc.SavedText[1] = 0;
    Doc.SavedLength = 2;
    fake_->AnswerNextMessageBox(IDCANCEL);
    Send(WM_CLOSE);
    ExpectSavePrompt();
}

class EditMenuTest : public WindowProcTest {
protected:
    bool Greyed(UINT id) { return (fake_->menuState(id) & MF_GRAYED) != 0; }
    void OpenPopup() {
        int before = fake_->drawMenuBarCount;
        Send(WM_INITMENUPOPUP, 0, 0);
        EXPECT_EQ(fake_->drawMenuBarCount, before + 1);
    }
};

TEST_F(EditMenuTest, EmptyDocumentWithoutClipboardTextGreysEverything) {
    OpenPopup();
    for (UINT id : {41000u, 41001u, 41002u, 41003u, 41004u}) EXPECT_TRUE(Greyed(id)) << id;
}

TEST_F(EditMenuTest, ASelectionEnablesCutCopyAndDelete) {
    SetText("abc");
    Doc.SelectionActive = 1;
    Doc.SelectionStart = 1;
    Doc.SelectionEnd = 2;
    OpenPopup();
    EXPECT_FALSE(Greyed(IDM_EDIT_CUT));
    EXPECT_FALSE(Greyed(IDM_EDIT_COPY));
    EXPECT_FALSE(Greyed(IDM_EDIT_DELETE));
    EXPECT_FALSE(Greyed(IDM_EDIT_SELECT_ALL));
    EXPECT_TRUE(Greyed(IDM_EDIT_PASTE));
}

TEST_F(EditMenuTest, AnEmptyOrInactiveSelectionGreysCutCopyAndDelete) {
    SetText("abc");
    Doc.SelectionActive = 1;
    Doc.SelectionStart = Doc.SelectionEnd = 2;
    OpenPopup();
    EXPECT_TRUE(Greyed(IDM_EDIT_CUT));
    EXPECT_TRUE(Greyed(IDM_EDIT_COPY));
    EXPECT_TRUE(Greyed(IDM_EDIT_DELETE));
    Doc.SelectionActive = 0;
    Doc.SelectionStart = 0;
    OpenPopup();
    EXPECT_TRUE(Greyed(IDM_EDIT_CUT));
    EXPECT_FALSE(Greyed(IDM_EDIT_SELECT_ALL));
}

TEST_F(EditMenuTest, PasteFollowsTheClipboardEveryTimeAPopupOpens) {
    fake_->PutOnClipboard(CF_UNICODETEXT, std::string(2, '\0'));
    OpenPopup();
    EXPECT_FALSE(Greyed(IDM_EDIT_PASTE));
    fake_->OpenClipboard(nullptr);  // another program empties it
    fake_->EmptyClipboard();
    fake_->CloseClipboard();
    fake_->PutOnClipboard(1, "a");  // CF_TEXT alone does not do
    OpenPopup();
    EXPECT_TRUE(Greyed(IDM_EDIT_PASTE));
}

class AutoRepeatTest : public WindowProcTest {
protected:
    void StartOnDown() {
        const RECT& down = Geo.PaletteItemRects[1];
        Click(down.left + 2, down.top + 2);
    }
    LPARAM Point(int x, int y) {
        return static_cast<LPARAM>((static_cast<std::uint32_t>(y) << 16) |
                                   static_cast<std::uint32_t>(x));
    }
    UINT TimerInterval() {
        auto found = fake_->timers().find(1);
        return found == fake_->timers().end() ? 0 : found->second;
    }
};

TEST_F(AutoRepeatTest, PressThenFourHundredThenEveryHundredMilliseconds) {
    StartOnDown();
    EXPECT_EQ(Doc.PaletteBank, 23);
    EXPECT_EQ(Doc.AutoRepeat, 1);
    EXPECT_EQ(fake_->capture(), fake_->window());
    EXPECT_EQ(TimerInterval(), 400u);
    Send(WM_TIMER, 1, 0);
    EXPECT_EQ(Doc.PaletteBank, 24);
    EXPECT_EQ(TimerInterval(), 100u);
    Send(WM_TIMER, 2, 0);  // another timer is not ours
    EXPECT_EQ(Doc.PaletteBank, 24);
    Send(WM_TIMER, 1, 0);
    Send(WM_TIMER, 1, 0);  // stays at the last bank
    EXPECT_EQ(Doc.PaletteBank, 25);
    EXPECT_EQ(TimerInterval(), 100u);
    Send(WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(Doc.AutoRepeat, 0);
    EXPECT_TRUE(fake_->timers().empty());
    EXPECT_EQ(fake_->capture(), nullptr);
}

TEST_F(AutoRepeatTest, LeavingTheButtonStopsForGoodAndCoordinatesAboveTheWindowAreOutside) {
    StartOnDown();
    const RECT& down = Geo.PaletteItemRects[1];
    Send(WM_MOUSEMOVE, 0, Point(down.right - 1, down.bottom - 1));
    EXPECT_EQ(Doc.AutoRepeat, 1);
    // Dragged above the client area: y arrives as 65535, unsigned, so outside.
    Send(WM_MOUSEMOVE, 0, Point(down.left + 1, 0xFFFF));
    EXPECT_EQ(Doc.AutoRepeat, 0);
    EXPECT_TRUE(fake_->timers().empty());
    EXPECT_EQ(fake_->capture(), nullptr);
    Send(WM_MOUSEMOVE, 0, Point(down.left + 1, down.top + 1));
    Send(WM_TIMER, 1, 0);
    EXPECT_EQ(Doc.AutoRepeat, 0);
    EXPECT_EQ(Doc.PaletteBank, 23);
}

TEST_F(AutoRepeatTest, TheRightAndBottomEdgesAreOutside) {
    StartOnDown();
    const RECT& down = Geo.PaletteItemRects[1];
    Send(WM_MOUSEMOVE, 0, Point(down.right, down.top));
    EXPECT_EQ(Doc.AutoRepeat, 0);
}

TEST_F(AutoRepeatTest, KeysAreSwallowedWhileRepeating) {
    StartOnDown();
    fake_->defaultProcMessages.clear();
    EXPECT_EQ(Send(WM_SYSKEYDOWN, 0x12, 0), 0);
    EXPECT_TRUE(fake_->defaultProcMessages.empty());
    KeyDown(VK_RETURN);  // would step the bank in palette mode
    EXPECT_EQ(Doc.PaletteBank, 23);
    Send(WM_LBUTTONUP, 0, 0);
    Send(WM_SYSKEYDOWN, 0x12, 0);
    EXPECT_FALSE(fake_->defaultProcMessages.empty());
}

TEST_F(AutoRepeatTest, DestroyingTheWindowStopsTheRepeat) {
    StartOnDown();
    Send(WM_CLOSE);
    EXPECT_TRUE(fake_->windowDestroyed());
    EXPECT_EQ(Doc.AutoRepeat, 0);
    EXPECT_TRUE(fake_->timers().empty());
    EXPECT_EQ(fake_->capture(), nullptr);
}

TEST_F(AutoRepeatTest, AnotherWindowTakingTheMouseEndsTheRepeat) {
    StartOnDown();
    fake_->SetCapture(nullptr);  // the capture moved elsewhere
    Send(WM_CAPTURECHANGED, 0, 0);
    EXPECT_EQ(Doc.AutoRepeat, 0);
    EXPECT_TRUE(fake_->timers().empty());
    Send(WM_TIMER, 1, 0);
    EXPECT_EQ(Doc.PaletteBank, 23);
}

TEST_F(AutoRepeatTest, ATickWithTheFocusOffTheButtonsDoesNothingButKeepsRunning) {
    StartOnDown();
    Doc.PaletteFocus = 13;
    Send(WM_TIMER, 1, 0);
    EXPECT_EQ(Doc.PaletteBank, 23);
    EXPECT_EQ(TimerInterval(), 400u);
    EXPECT_EQ(Doc.TextLength, 1);
}

}  // namespace
}  // namespace nv::test
