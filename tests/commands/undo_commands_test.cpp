// Undo and Redo: what one Undo takes back, the caret and selection it restores, the saved
// text, the history across New, Open and Save, a refused Undo or Redo, the menu, and the
// largest steps filling the whole history.
#include <gtest/gtest.h>

#include <functional>

#include "document/edit_history.h"
#include "tests/commands/command_support.h"

namespace nv::test {
namespace {

class UndoTest : public CommandTest {
protected:
    // Keys as a writer presses them: # Backspace, ~ Delete, < and > the caret one back and
    // one on, \r Enter, \t Tab, @ Select All, ! a click left of the first line (the caret to
    // its end); any other byte is typed.
    void Keys(const std::string& keys) {
        for (char key : keys) {
            switch (key) {
                case '#':
                    KeyDown(VK_BACK);
                    break;
                case '~':
                    KeyDown(VK_DELETE);
                    break;
                case '<':
                    KeyDown(VK_RIGHT);
                    break;
                case '>':
                    KeyDown(VK_LEFT);
                    break;
                case '\r':
                    KeyDown(VK_RETURN);
                    break;
                case '\t':
                    KeyDown(VK_TAB);
                    break;
                case '@':
                    Command(IDM_EDIT_SELECT_ALL);
                    break;
                case '!':
                    Click(Geo.TextLeft + 1, Geo.TextTop + 2);
                    break;
                default:
                    Char(static_cast<std::uint8_t>(key));
                    break;
            }
        }
    }
    void Undo() { Command(IDM_EDIT_UNDO); }
    void Redo() { Command(IDM_EDIT_REDO); }
    bool Greyed(UINT id) {
        Send(WM_INITMENUPOPUP);
        return (fake().menuState(id) & MF_GRAYED) != 0;
    }
};

TEST_F(UndoTest, OneUndoTakesBackWhatAWriterThinksOfAsOneAction) {
    const struct {
        const char* what;
        std::string text;
        std::int32_t caret;
        std::string keys;
        std::string undone;  // after one Undo
        std::int32_t caretAfter;
        std::int32_t selectedFrom, selectedTo;  // equal: nothing selected
        std::string undoneTwice;
    } cases[] = {
        {"typed words", "", 0, "ab cd", "ab ", 3, 3, 3, ""},
        {"spaces stay with their word", "", 0, "ab  cd", "ab  ", 4, 4, 4, ""},
        {"Enter ends a word", "", 0, "ab\rcd", "ab\r\n", 4, 4, 4, ""},
        {"Tab ends a word", "", 0, "a\tb", "a    ", 5, 5, 5, ""},
        {"a run of Backspaces", "abc def", 7, "###", "abc def", 7, 4, 7, "abc def"},
        {"Backspaces after typing", "", 0, "abc##", "abc", 3, 1, 3, ""},
        {"a run of Delete keys", "abc def", 0, "~~~~", "abc def", 0, 0, 4, "abc def"},
        {"Backspace, then Delete", "abc", 2, "#~", "ac", 1, 1, 2, "abc"},
        {"a line break goes whole", "a\r\nb", 3, "#", "a\r\nb", 3, 1, 3, "a\r\nb"},
        {"a caret move inside a word", "", 0, "abc<x", "abc", 2, 2, 2, ""},
        {"the caret away and back", "", 0, "abc<>d", "abc", 3, 3, 3, ""},
        {"a click puts the caret back", "", 0, "abc!d", "abc", 3, 3, 3, ""},
        {"typing over a selection", "abc def", 7, "@xy", "abc def", 7, 0, 7, "abc def"},
        {"a selection removed by a key", "abc", 0, "@#x", "", 0, 0, 0, "abc"},
    };
    for (const auto& c : cases) {
        SetText(c.text);
        Place(c.caret);
        Keys(c.keys);
        const std::string done = Text();
        Undo();
        EXPECT_EQ(Text(), c.undone) << c.what;
        EXPECT_EQ(Doc.Caret, c.caretAfter) << c.what;
        EXPECT_EQ(Doc.SelectionActive != 0, c.selectedFrom != c.selectedTo) << c.what;
        if (Doc.SelectionActive != 0) {
            EXPECT_EQ(Doc.SelectionStart, c.selectedFrom) << c.what;
            EXPECT_EQ(Doc.SelectionEnd, c.selectedTo) << c.what;
        }
        ASSERT_TRUE(MatchesFullRepaint(c.what));
        Redo();
        EXPECT_EQ(Text(), done) << c.what;
        Undo();
        Undo();
        EXPECT_EQ(Text(), c.undoneTwice) << c.what;
    }
}

TEST_F(UndoTest, RedoPutsTheCaretAfterWhatItInsertedAndANewEditDropsIt) {
    Keys("ab cd");
    Undo();
    Undo();
    Redo();
    EXPECT_EQ(Text(), "ab ");
    EXPECT_EQ(Doc.Caret, 3);
    EXPECT_EQ(Doc.SelectionActive, 0);
    Keys("x");
    EXPECT_FALSE(CanRedo());
    Redo();  // nothing left to redo
    EXPECT_EQ(Text(), "ab x");
}

TEST_F(UndoTest, UndoingBackToTheSavedTextMakesTheDocumentUnchanged) {
    Keys("ab");
    SaveAs("saved.txt");
    Keys(" cd");  // two steps: the space, and the word after it
    Undo();
    Undo();
    ASSERT_EQ(Text(), "ab");
    Undo();  // past the saved text
    fake().AnswerNextMessageBox(IDCANCEL);
    Send(WM_CLOSE);
    ExpectBox(
        "The current file has changed since the last save.\nDo you wish to save the current "
        "file?",
        "Save Current File?", MB_ICONQUESTION | MB_YESNOCANCEL);
    Redo();
    Send(WM_CLOSE);
    EXPECT_TRUE(fake().messageBoxes().empty());
    EXPECT_TRUE(fake().windowDestroyed());
}

TEST_F(UndoTest, NewAndASuccessfulOpenStartAnEmptyHistoryWhileSaveAndAFailedOpenKeepIt) {
    WriteWholeFile(Path("good.txt"), Mark + Units({'z'}));
    WriteWholeFile(Path("bad.txt"), "not unicode");
    const struct {
        const char* what;
        std::function<void()> act;
        bool kept;
    } cases[] = {
        {"Save", [&] { SaveAs("out.txt"); }, true},
        {"New", [&] { Command(IDM_FILE_NEW); }, false},
        {"Open", [&] { Open("good.txt"); }, false},
        {"cancelled Open",
         [&] {
             fake().CancelNextFileDialog();
             Command(IDM_FILE_OPEN);
         },
         true},
        {"failed Open",
         [&] {
             Open("bad.txt");
             fake().ClearMessageBoxes();
         },
         true},
    };
    for (const auto& c : cases) {
        SetText("");
        Keys("ab");
        MarkSaved();  // New and Open ask nothing
        c.act();
        EXPECT_EQ(CanUndo(), c.kept) << c.what;
        if (c.kept) {
            Undo();
            EXPECT_EQ(Text(), "") << c.what;
        }
    }
}

TEST_F(UndoTest, WithoutMemoryForTheOldLinesUndoAndRedoChangeNothing) {
    for (bool redo : {false, true}) {
        SetText("");
        Keys("ab");
        if (redo) Undo();
        const State before = Snapshot();
        fake().heapAllocationsBeforeFailure = 0;
        Command(redo ? IDM_EDIT_REDO : IDM_EDIT_UNDO);
        fake().heapAllocationsBeforeFailure = -1;
        ExpectBox("Can not allocate memory", redo ? "Can Not Redo" : "Can Not Undo");
        EXPECT_TRUE(Snapshot() == before) << redo;
        Command(redo ? IDM_EDIT_REDO : IDM_EDIT_UNDO);  // the history kept its step
        EXPECT_EQ(Text(), redo ? "ab" : "") << redo;
    }
}

TEST_F(UndoTest, TheMenuGreysUndoAndRedoWhenThereIsNothingToDo) {
    EXPECT_TRUE(Greyed(IDM_EDIT_UNDO));
    EXPECT_TRUE(Greyed(IDM_EDIT_REDO));
    Command(IDM_EDIT_UNDO);  // as the accelerators send it: nothing happens
    Command(IDM_EDIT_REDO);
    EXPECT_TRUE(fake().messageBoxes().empty());
    Keys("a");
    EXPECT_FALSE(Greyed(IDM_EDIT_UNDO));
    EXPECT_TRUE(Greyed(IDM_EDIT_REDO));
    Undo();
    EXPECT_TRUE(Greyed(IDM_EDIT_UNDO));
    EXPECT_FALSE(Greyed(IDM_EDIT_REDO));
}

// Whole documents replaced by whole pastes: each step is the largest there is, the ring wraps
// many times, the oldest steps go and every kept one still undoes exactly.
TEST_F(UndoTest, TheLargestStepsFillTheHistoryAndTheOldestAreDropped) {
    CreateWindow(200, 300);  // a small window keeps the repaints short
    const std::int32_t full = TextLimit - 1;
    auto page = [full](int k) {
        std::string text(static_cast<std::size_t>(full), static_cast<char>(0xE0 + k % 27));
        text[static_cast<std::size_t>(k) % text.size()] = ' ';
        return text;
    };
    SetText(page(0));
    const int replaced = 20;
    for (int k = 1; k <= replaced; ++k) {
        std::string units;
        for (char c : page(k)) {
            const auto b = static_cast<std::uint8_t>(c);
            const int unit = b == ' ' ? ' ' : 0x04F0 + b;  // Hebrew letters from U+05D0
            units += Units({unit});
        }
        fake().PutOnClipboard(CF_UNICODETEXT, units + Units({0}));
        Command(IDM_EDIT_SELECT_ALL);
        Command(IDM_EDIT_PASTE);
        ASSERT_EQ(Text(), page(k)) << k;
    }
    int undone = 0;
    while (CanUndo()) {
        Undo();
        ++undone;
        ASSERT_EQ(Text(), page(replaced - undone)) << undone;
    }
    // 1 MiB holds 15 steps of 65,558 bytes.
    EXPECT_EQ(undone, EditHistoryCapacity / (2 * full + 24));
    while (CanRedo()) Redo();
    EXPECT_EQ(Text(), page(replaced));
    EXPECT_TRUE(fake().messageBoxes().empty());
}

}  // namespace
}  // namespace nv::test
