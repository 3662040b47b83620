// Undo and Redo: what one Undo takes back and where it leaves the caret and the selection,
// the saved text, the history across New, Open and Save, and a refused Undo or Redo.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "document/edit_history.h"
#include "tests/commands/command_support.h"

namespace nv::test {
namespace {

class UndoTest : public CommandTest {
protected:
    // # Backspace, ~ Delete, < and > the caret one back and one on, \r Enter, \t Tab,
    // @ Select All, ! a click left of the first line (the caret to its end); others typed.
    void Keys(const std::string& keys) {
        static const std::string named = "#~<>\r\t";
        static const UINT virtualKeys[] = {VK_BACK, VK_DELETE, VK_RIGHT,
                                           VK_LEFT, VK_RETURN, VK_TAB};
        for (char key : keys) {
            if (key == '@') {
                Command(IDM_EDIT_SELECT_ALL);
            } else if (key == '!') {
                Click(Geo.TextLeft + 1, Geo.TextTop + 2);
            } else if (named.find(key) != std::string::npos) {
                KeyDown(virtualKeys[named.find(key)]);
            } else {
                Char(static_cast<std::uint8_t>(key));
            }
        }
    }
    void Undo() { Command(IDM_EDIT_UNDO); }
};

TEST_F(UndoTest, OneUndoTakesBackWhatAWriterThinksOfAsOneAction) {
    const struct {
        std::string text;
        std::int32_t caret;
        std::string keys;
        std::string undone;  // after one Undo, with the caret and the selected bytes
        std::int32_t caretAfter, selectedFrom, selectedTo;
        std::string undoneTwice;
    } cases[] = {
        {"", 0, "ab cd", "ab ", 3, 3, 3, ""},  // words, each with the spaces after it
        {"", 0, "ab  cd", "ab  ", 4, 4, 4, ""},
        {"", 0, "ab\rcd", "ab\r\n", 4, 4, 4, ""},
        {"", 0, "a\tb", "a    ", 5, 5, 5, ""},
        {"abc def", 7, "###", "abc def", 7, 4, 7, "abc def"},  // a run of Backspaces
        {"", 0, "abc##", "abc", 3, 1, 3, ""},
        {"abc def", 0, "~~~~", "abc def", 0, 0, 4, "abc def"},  // a run of Delete keys
        {"abc", 2, "#~", "ac", 1, 1, 2, "abc"},
        {"a\r\nb", 3, "#", "a\r\nb", 3, 1, 3, "a\r\nb"},
        {"", 0, "abc<x", "abc", 2, 2, 2, ""},                  // a caret move inside a word
        {"", 0, "abc<>d", "abc", 3, 3, 3, ""},                 // the caret away and back
        {"", 0, "abc!d", "abc", 3, 3, 3, ""},                  // a click
        {"abc def", 7, "@xy", "abc def", 7, 0, 7, "abc def"},  // typing over a selection
        {"abc", 0, "@#x", "", 0, 0, 0, "abc"},
    };
    for (const auto& c : cases) {
        SetText(c.text);
        Place(c.caret);
        Keys(c.keys);
        const std::string done = Text();
        Undo();
        EXPECT_EQ(Text(), c.undone) << c.keys;
        // Nothing selected reads as the caret's own place.
        const bool active = Doc.SelectionActive != 0;
        EXPECT_EQ(std::make_tuple(Doc.Caret, active ? Doc.SelectionStart : Doc.Caret,
                                  active ? Doc.SelectionEnd : Doc.Caret),
                  std::make_tuple(c.caretAfter, c.selectedFrom, c.selectedTo))
            << c.keys;
        EXPECT_EQ(active, c.selectedFrom != c.selectedTo) << c.keys;
        Command(IDM_EDIT_REDO);
        EXPECT_EQ(Text(), done) << c.keys;
        Undo();
        Undo();
        EXPECT_EQ(Text(), c.undoneTwice) << c.keys;
    }
}

TEST_F(UndoTest, UndoingBackToTheSavedTextMakesTheDocumentUnchanged) {
    Keys("ab");
    SaveAs("saved.txt");
    Keys(" cd");  // two steps: the space, and the word after it
    Undo();
    Undo();
    Undo();  // past the saved text
    fake().AnswerNextMessageBox(IDCANCEL);
    Send(WM_CLOSE);
    ExpectBox(
        "The current file has changed since the last save.\nDo you wish to save the "
        "current file?",
        "Save Current File?", MB_ICONQUESTION | MB_YESNOCANCEL);
    Command(IDM_EDIT_REDO);  // back to "ab"
    Send(WM_CLOSE);
    EXPECT_TRUE(fake().messageBoxes().empty());
    EXPECT_TRUE(fake().windowDestroyed());
}

TEST_F(UndoTest, NewAndASuccessfulOpenStartAnEmptyHistoryWhileSaveAndAFailedOpenKeepIt) {
    WriteWholeFile(Path("good.txt"), Mark + Units({'z'}));
    WriteWholeFile(Path("bad.txt"), Mark + "a");  // an odd size
    const std::pair<std::function<void()>, bool> cases[] = {
        {[&] { SaveAs("out.txt"); }, true},
        {[&] { Command(IDM_FILE_NEW); }, false},
        {[&] { Open("good.txt"); }, false},
        {[&] { Open("bad.txt"), fake().ClearMessageBoxes(); }, true},
        {[&] { fake().CancelNextFileDialog(), Command(IDM_FILE_OPEN); }, true},
    };
    for (const auto& [act, kept] : cases) {
        SetText("");
        Keys("ab");
        MarkSaved();  // New and Open ask nothing
        act();
        EXPECT_EQ(CanUndo(), kept) << Text();
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

}  // namespace
}  // namespace nv::test
