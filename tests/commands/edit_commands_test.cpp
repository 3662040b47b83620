// Cut, Copy, Paste, Delete and Select All: the clipboard's bytes, the limit against the whole
// paste, every failing call with its message and nothing lost, and the repaints; Go To.
#include <gtest/gtest.h>

#include <vector>

#include "tests/commands/command_support.h"

namespace nv::test {
namespace {

class EditCommandTest : public CommandTest {
protected:
    std::string Clipboard() {
        std::string bytes;
        EXPECT_TRUE(fake().ClipboardHolds(CF_UNICODETEXT, &bytes));
        return bytes;
    }
    void Paste(const std::string& block) {
        fake().PutOnClipboard(CF_UNICODETEXT, block);
        Command(IDM_EDIT_PASTE);
    }
};

TEST_F(EditCommandTest, WithoutASelectionCutCopyAndDeleteDoNothing) {
    fake().PutOnClipboard(CF_UNICODETEXT, Units({'x', 0}));
    for (UINT id : {IDM_EDIT_CUT, IDM_EDIT_COPY, IDM_EDIT_DELETE}) {
        for (int active : {0, 1}) {
            SetText("abc");
            Doc.SelectionActive = active;
            Doc.SelectionStart = active ? 2 : 0;  // inactive: the ends mean nothing
            Doc.SelectionEnd = 2;
            Command(id);
            EXPECT_EQ(Text(), "abc") << id;
            EXPECT_EQ(Clipboard(), Units({'x', 0})) << id;
        }
    }
}

TEST_F(EditCommandTest, PasteInsertsTheTextUpToItsFirstNul) {
    const char d = 31;  // the fake font's default character
    const struct {
        std::string block;
        bool overSelection;
        std::string text;
        int replaced = 0;
    } cases[] = {
        {Units({'a', 'b', 'c', 0, 'd', 'e', 'f', 0}), false, "0abc123"},
        {Units({0xE9, 0x20AC, 0}), false, std::string("0") + d + "\x80" + "123", 1},
        {Units({0xE9, 0xD83D, 0xDE00, 0}), true, std::string("0") + d + d + d + "3", 3},
        {Units({13, 10, 0x05D0, 0}), false,
         "0\r\n\xE0"
         "123"},
        // The characters of the code page, and the units earlier copies gave the same bytes.
        {Units({0x2018, 0x2014, 0x20AA, 0xD7, 0x05F3, 0x05F4, 0x200E, 0x200F, 0x0097, 0x05C7,
                0x05C8, 0x05ED, 0x05EE, 0}),
         true,
         "0\x91\x97\xA4\xAA\xD7\xD8\xFD\xFE\x97\xD7\xD8\xFD\xFE"
         "3"},
        {Units({0}), true, "03"},
        {Units({'a'}) + "b", false, "0a123"},  // an odd last byte is left out
        {Units({'a', 'b'}), true, "0ab3"},     // no terminator at all
    };
    for (const auto& c : cases) {
        SetText("0123");
        if (c.overSelection) {
            Select(1, 3, 3);
        } else {
            Place(1);
        }
        Paste(c.block);
        EXPECT_EQ(Text(), c.text);
        EXPECT_EQ(Doc.SelectionActive, 0);
        EXPECT_EQ(Doc.Caret, static_cast<std::int32_t>(c.text.size()) - (c.overSelection ? 1 : 3));
        if (c.replaced > 0) {
            ExpectBox(std::to_string(c.replaced) +
                          " characters of the pasted text have no place in a Hebrew document "
                          "and were replaced by \u25A1.",
                      "Characters Replaced");
        }
        EXPECT_TRUE(fake().messageBoxes().empty());
        EXPECT_TRUE(MatchesFullRepaint(c.text));
    }
}

// Each byte goes out as the character the editor draws, and comes back as itself.
TEST_F(EditCommandTest, CopyOfEveryByteIsPastedBackByteForByte) {
    std::string text;
    for (int b = 0x20; b < 0x100; ++b) text += static_cast<char>(b);
    SetText(text);
    Select(0, 0xE0, 0xE0);
    Command(IDM_EDIT_COPY);
    const std::string units = Clipboard();
    auto unitOf = [&](int b) { return units.substr(2 * (b - 0x20), 2); };
    EXPECT_EQ(unitOf(0x97), Units({0x2014}));
    EXPECT_EQ(unitOf(0xA4), Units({0x20AA}));
    EXPECT_EQ(unitOf(0xD8), Units({0x05F4}));
    EXPECT_EQ(unitOf(0xFD), Units({0x200E}));
    EXPECT_EQ(unitOf(0xE0), Units({0x05D0}));
    EXPECT_EQ(unitOf(0x81), Units({0x0081}));  // undefined in the code page: the file's unit
    EXPECT_EQ(unitOf(0xD9), Units({0x05C9}));
    SetText("");
    Command(IDM_EDIT_PASTE);
    EXPECT_EQ(Text(), text);
    EXPECT_TRUE(fake().messageBoxes().empty());
}

TEST_F(EditCommandTest, TheLimitIsTestedAgainstTheWholePaste) {
    const std::string text(32759, 'a');  // TextLength 32,760
    const std::string eight = Units({'1', '2', '3', '4', '5', '6', '7', '8', 0});
    const std::string nine = Units({'1', '2', '3', '4', '5', '6', '7', '8', '9', 0});
    SetText(text);
    Place(100);
    Paste(nine);
    ExpectBox("Input exceeds memory limit", "Can Not Paste");
    EXPECT_EQ(Text(), text);
    Paste(eight);
    EXPECT_EQ(Doc.TextLength, 32768);
    EXPECT_EQ(Doc.Caret, 108);

    SetText(text);
    Select(10, 15, 15);
    std::string thirteen;
    for (int k = 0; k < 13; ++k) thirteen += Units({0x05D0 + k});
    Paste(thirteen + Units({0}));
    EXPECT_EQ(Doc.TextLength, 32768);
    EXPECT_EQ(Text().substr(10, 13), "\xE0\xE1\xE2\xE3\xE4\xE5\xE6\xE7\xE8\xE9\xEA\xEB\xEC");
    EXPECT_TRUE(fake().messageBoxes().empty());
}

TEST_F(EditCommandTest, CopyCutPasteAndDeleteOfOneSelection) {
    const std::string text = "\xF9\xEC\xE5\xED \xE0\xC8\xE1\r\nabc \xA4\xBF\xC0\xFF";
    const std::string rest = text.substr(0, 3) + text.substr(14);
    const std::string copied =
        Units({0x05DD, ' ', 0x05D0, 0x05B8, 0x05D1, 13, 10, 'a', 'b', 'c', ' ', 0});
    SetText(text);
    Select(0, 4, 4);
    const long invalidated = fake().invalidateCount;
    Command(IDM_EDIT_COPY);  // changes nothing, not even on the screen
    EXPECT_EQ(Clipboard(), Units({0x05E9, 0x05DC, 0x05D5, 0x05DD, 0}));
    EXPECT_EQ(Doc.SelectionActive, 1);
    EXPECT_EQ(fake().invalidateCount, invalidated);
    Select(3, 14, 3);
    Command(IDM_EDIT_COPY);
    EXPECT_EQ(Clipboard(), copied);
    EXPECT_EQ(Text(), text);

    Command(IDM_EDIT_CUT);
    EXPECT_EQ(Text(), rest);
    EXPECT_EQ(Doc.Caret, 3);
    EXPECT_TRUE(IsDocumentChanged());
    EXPECT_TRUE(MatchesFullRepaint("after Cut"));
    Command(IDM_EDIT_PASTE);  // gives back the same bytes
    EXPECT_EQ(Text(), text);
    EXPECT_TRUE(MatchesFullRepaint("after Paste"));

    Select(3, 14, 14);
    Command(IDM_EDIT_DELETE);  // leaves the clipboard alone
    EXPECT_EQ(Text(), rest);
    EXPECT_EQ(Doc.Caret, 3);
    EXPECT_EQ(Doc.SelectionActive, 0);
    EXPECT_EQ(Clipboard(), copied);
    EXPECT_TRUE(MatchesFullRepaint("after Delete"));
    EXPECT_TRUE(fake().messageBoxes().empty());
}

TEST_F(EditCommandTest, EachFailureIsReportedAndLosesNothing) {
    const char *Cut = "Can Not Cut", *Copy = "Can Not Copy", *Paste = "Can Not Paste";
    const char* Memory = "Can not allocate memory";
    const char* Refused = "Can not place the text on the Clipboard";
    const char* NoHandle = "Can not obtain a handle to the Clipboard memory object";
    struct Case {
        UINT command;
        const char* call;  // nullptr: the heap
        int after;
        const char* caption;
        const char* message;
        int clipboard;  // afterwards: 0 the old text, 1 the selection, 2 emptied
    };
    std::vector<Case> cases = {
        {IDM_EDIT_CUT, nullptr, 0, Cut, Memory, 1},
        {IDM_EDIT_PASTE, "OpenClipboard", 0, Paste, NoHandle, 0},
        {IDM_EDIT_PASTE, "GetClipboardData", 0, Paste, NoHandle, 0},
        {IDM_EDIT_PASTE, "GlobalLock", 0, Paste, NoHandle, 0},
        {IDM_EDIT_PASTE, nullptr, 0, Paste, Memory, 0},
        {IDM_EDIT_PASTE, nullptr, 1, Paste, Memory, 0},
        {IDM_EDIT_DELETE, nullptr, 0, "Can Not Delete", Memory, 0},
    };
    for (const char* caption : {Cut, Copy}) {  // both fill the clipboard the same way
        const UINT command = caption == Cut ? IDM_EDIT_CUT : IDM_EDIT_COPY;
        for (const char* call : {"GlobalAlloc", "GlobalLock"})
            cases.push_back({command, call, 0, caption, Memory, 0});
        for (const char* call : {"OpenClipboard", "EmptyClipboard", "SetClipboardData"})
            cases.push_back({command, call, 0, caption, Refused, call[0] == 'S' ? 2 : 0});
    }
    const std::string old = Units({'o', 'l', 'd', 0});
    const std::string clipboard[] = {old, Units({'1', '2', 0}), ""};
    for (const Case& c : cases) {
        fake().PutOnClipboard(CF_UNICODETEXT, old);
        SetText("0123");
        Select(1, 3, 3);
        const State before = Snapshot();
        if (c.call != nullptr && std::string(c.call) == "OpenClipboard") {
            fake().clipboardHeldElsewhere = 1000;  // longer than the editor waits
        } else if (c.call != nullptr) {
            fake().FailCall(c.call, c.after);
        } else {
            fake().heapAllocationsBeforeFailure = c.after;
        }
        Command(c.command);
        fake().heapAllocationsBeforeFailure = -1;
        fake().clipboardHeldElsewhere = 0;
        ExpectBox(c.message, c.caption);
        EXPECT_TRUE(Snapshot() == before) << c.caption << " " << (c.call ? c.call : "heap");
        std::string now;
        fake().ClipboardHolds(CF_UNICODETEXT, &now);
        EXPECT_EQ(now, clipboard[c.clipboard]) << c.caption;
        EXPECT_TRUE(MatchesFullRepaint(c.caption));
    }
    // An item of no size, as another program may leave it.
    SetText("0123");
    this->Paste("");
    ExpectBox(NoHandle, Paste);
    EXPECT_EQ(Text(), "0123");
}

TEST_F(EditCommandTest, ClipboardHeldForAMomentElsewhereIsWaitedFor) {
    SetText("0123");
    Select(1, 3, 3);
    fake().clipboardHeldElsewhere = 9;
    Command(IDM_EDIT_COPY);
    EXPECT_EQ(Clipboard(), Units({'1', '2', 0}));
    Select(0, 0, 0);
    fake().clipboardHeldElsewhere = 9;
    Command(IDM_EDIT_PASTE);
    EXPECT_EQ(Text(), "120123");
    EXPECT_TRUE(fake().messageBoxes().empty());
    EXPECT_EQ(fake().sleptMs, 2 * 9 * 20u);
}

TEST_F(EditCommandTest, SelectAll) {
    Command(IDM_EDIT_SELECT_ALL);  // the empty document: nothing
    EXPECT_EQ(Doc.SelectionActive, 0);

    // A long text with its middle selected: the view follows the caret to the end.
    std::string text;
    for (int line = 0; line < 200; ++line) text += "\xE0\xE1\xE2 \xE3\r\n";
    SetText(text);
    Select(20, 30, 20);
    Command(IDM_EDIT_SELECT_ALL);
    EXPECT_EQ(Doc.SelectionActive, 1);
    EXPECT_EQ(Doc.SelectionStart, 0);
    EXPECT_EQ(Doc.SelectionEnd, Doc.TextLength - 1);
    EXPECT_EQ(Doc.Caret, Doc.TextLength - 1);
    EXPECT_GT(Doc.ViewTop, 0);
    EXPECT_TRUE(MatchesFullRepaint("long text"));
    const long invalidated = fake().invalidateCount;
    Command(IDM_EDIT_SELECT_ALL);  // the second time changes nothing
    EXPECT_EQ(fake().invalidateCount, invalidated);
}

TEST_F(EditCommandTest, AcceleratorsWaitWhileAPaletteButtonRepeats) {
    SetText("abc");
    Select(0, 2, 2);
    Doc.AutoRepeat = 1;
    for (UINT id : {IDM_EDIT_CUT, IDM_EDIT_COPY, IDM_EDIT_PASTE, IDM_EDIT_DELETE}) {
        Send(WM_COMMAND, (1u << 16) | id, 0);
    }
    EXPECT_EQ(Text(), "abc");
    EXPECT_FALSE(fake().ClipboardHolds(CF_UNICODETEXT));
    Send(WM_COMMAND, IDM_EDIT_DELETE, 0);  // the menu still acts
    Doc.AutoRepeat = 0;
    EXPECT_EQ(Text(), "c");
}

// Go To: numbers the dialog refuses keep it open with a message over it; the number taken
// puts the caret at the start of that display line, without a selection, scrolled into view.
TEST_F(EditCommandTest, GoToMovesToALineAndRefusesNumbersPastTheText) {
    std::string text;
    for (int line = 1; line <= 120; ++line) text += "line " + std::to_string(line) + "\r\n";
    SetText(text + "end");  // 121 lines
    Select(10, 20, 20);
    const std::string onlyLines = "There are only 121 lines.";
    const std::string typeNumber = "Type a line number from 1 to 121.";
    fake().AnswerNextDialog({{"", IDOK},
                             {"0", IDOK},
                             {"12a", IDOK},
                             {"122", IDOK},
                             {"99999999999999999999", IDOK},  // the box takes nine digits
                             {"100", IDOK}});
    Command(IDM_EDIT_GO_TO);
    ASSERT_EQ(fake().dialogs.size(), 1u);
    EXPECT_EQ(fake().dialogs[0].templateName, "GOTOLINE");
    EXPECT_EQ(fake().dialogs[0].startText, "3");  // the caret's line
    const std::vector<std::string> expected = {typeNumber, typeNumber, typeNumber, onlyLines,
                                               onlyLines};
    ASSERT_EQ(fake().messageBoxes().size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k) {
        const fake::MessageBoxRecord& box = fake().messageBoxes()[k];
        EXPECT_EQ(box.text, expected[k]);
        EXPECT_EQ(box.caption, "Go To Line");
        EXPECT_NE(box.owner, fake().window());  // over the dialog, which stays open
    }
    EXPECT_EQ(Doc.Caret, Doc.LineTable[99].Start);
    EXPECT_EQ(Doc.SelectionActive, 0);
    EXPECT_LE(Doc.ViewTop, 99);
    EXPECT_GT(Doc.ViewTop + VisibleLines(), 99);
    EXPECT_TRUE(MatchesFullRepaint("after Go To"));

    // Cancel, and the first line, from below.
    fake().ClearMessageBoxes();
    fake().AnswerNextDialog({{"5", IDCANCEL}});
    Command(IDM_EDIT_GO_TO);
    EXPECT_EQ(Doc.Caret, Doc.LineTable[99].Start);
    fake().AnswerNextDialog({{"1", IDOK}});
    Command(IDM_EDIT_GO_TO);
    EXPECT_EQ(fake().dialogs.back().startText, "100");
    EXPECT_EQ(Doc.Caret, 0);
    EXPECT_EQ(Doc.ViewTop, 0);
    EXPECT_TRUE(fake().messageBoxes().empty());
    EXPECT_TRUE(MatchesFullRepaint("back at the top"));
}

}  // namespace
}  // namespace nv::test
