// Tab, Enter, Backspace and Delete, and typed characters, through the window procedure: what
// they do to the text, the caret and the selection, their limits at the exact boundary, and
// the refusals that must leave everything as it was.
#include <string>
#include <vector>

#include "app/window_proc.h"
#include "document/layout.h"
#include "document/store.h"
#include "input/insert_character.h"
#include "input/key_dispatch.h"
#include "tests/input/input_snapshot.h"
#include "tests/input/input_texts.h"
#include "tests/support/editor_fixture.h"

namespace nv::test {
namespace {

class EditingKeysTest : public EditorTest {
protected:
    void Key(UINT key) {
        KeyDown(key);
        Check("key " + std::to_string(key));
    }
    void Type(unsigned code) {
        Char(code);
        Check("character " + std::to_string(code));
    }
    void Check(const std::string& what) {
        EXPECT_TRUE(StoreInvariantsHold()) << what;
        EXPECT_TRUE(TailIsClear()) << what << ": bytes left behind the terminator";
        EXPECT_TRUE(MatchesFullRepaint(what));
    }
    // After every edit the caret stands alone: no selection, both ends at the caret.
    static ::testing::AssertionResult CaretAloneAt(std::int32_t caret) {
        if (Doc.Caret == caret && Doc.SelectionActive == 0 && Doc.SelectionStart == caret &&
            Doc.SelectionEnd == caret) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure()
               << "caret " << Doc.Caret << ", selection " << Doc.SelectionStart << ".."
               << Doc.SelectionEnd << " active " << Doc.SelectionActive << "; expected " << caret;
    }
    ::testing::AssertionResult OneWarning(const char* text, const char* caption) {
        const auto& boxes = fake().messageBoxes();
        if (boxes.size() != 1) {
            return ::testing::AssertionFailure() << boxes.size() << " message boxes";
        }
        const fake::MessageBoxRecord& box = boxes[0];
        if (box.text != text || box.caption != caption || box.type != MB_ICONWARNING ||
            box.owner != Doc.MainWindow) {
            return ::testing::AssertionFailure()
                   << "\"" << box.text << "\" / \"" << box.caption << "\" type " << box.type;
        }
        return ::testing::AssertionSuccess();
    }
};

TEST_F(EditingKeysTest, TypingIntoTheEmptyDocument) {
    SetText("");
    Type('x');
    EXPECT_EQ(Text(), "x");
    EXPECT_EQ(Doc.TextLength, 2);
    EXPECT_TRUE(CaretAloneAt(1));
    ASSERT_EQ(Doc.LineCount, 1);
    EXPECT_EQ(Doc.LineTable[0].Start, 0);
    EXPECT_EQ(Doc.LineTable[0].End, 1);
    Type(0xE0);  // alef
    Type(0xFA);  // tav
    Type(255);
    EXPECT_EQ(Text(), "x\xE0\xFA\xFF");
}

TEST_F(EditingKeysTest, CodesOutsideTheCharacterRangeInsertNothing) {
    SetText("abc");
    Place(1);
    for (unsigned code : {8u, 9u, 13u, 27u, 1u, 26u, 31u, 0u}) {
        const InputSnapshot before = TakeSnapshot(fake());
        Char(code);
        EXPECT_TRUE(NothingHappened(fake(), before)) << "code " << code;
    }
    for (std::int32_t code : {256, -1, 0x10000}) {
        const InputSnapshot before = TakeSnapshot(fake());
        InsertCharacter(code);
        EXPECT_TRUE(NothingHappened(fake(), before)) << "code " << code;
    }
    EXPECT_TRUE(fake().messageBoxes().empty());
}

TEST_F(EditingKeysTest, TypedCharactersReplaceASelectionOverSeveralLines) {
    SetText("abc\r\ndef\r\nghi");
    Select(1, 12, 12);
    Type('x');
    EXPECT_EQ(Text(), "axi");
    EXPECT_TRUE(CaretAloneAt(2));
    EXPECT_EQ(Doc.LineCount, 1);
}

TEST_F(EditingKeysTest, TypingTheCharacterThatNoLongerFitsMovesTheWordDown) {
    SetText(std::string(30, 'a') + " " + std::string(26, 'b'));
    ASSERT_EQ(Doc.LineCount, 1) << "57 characters just fit";
    Place(57);
    Type('b');
    ASSERT_EQ(Doc.LineCount, 2);
    EXPECT_EQ(Doc.LineTable[0].End, 30);
    EXPECT_TRUE(CaretAloneAt(58));
}

TEST_F(EditingKeysTest, TabInsertsFourSpacesAndEnterALineBreak) {
    SetText("abcd");
    Place(2);
    Key(VK_TAB);
    EXPECT_EQ(Text(), "ab    cd");
    EXPECT_TRUE(CaretAloneAt(6));
    Key(VK_RETURN);
    EXPECT_EQ(Text(), "ab    \r\ncd");
    EXPECT_TRUE(CaretAloneAt(8));
    EXPECT_EQ(Doc.LineCount, 2);
    Key(VK_RETURN);  // at the start of a line: an empty line in between
    EXPECT_EQ(Text(), "ab    \r\n\r\ncd");
    EXPECT_EQ(Doc.LineCount, 3);
}

TEST_F(EditingKeysTest, TabAndEnterReplaceTheSelection) {
    SetText("ab\r\ncd\r\nef");
    Select(1, 9, 1);
    Key(VK_TAB);
    EXPECT_EQ(Text(), "a    f");
    EXPECT_TRUE(CaretAloneAt(5));

    SetText("abcdef");
    Select(2, 4, 4);
    Key(VK_RETURN);
    EXPECT_EQ(Text(), "ab\r\nef");
    EXPECT_TRUE(CaretAloneAt(4)) << "after the line feed";
}

TEST_F(EditingKeysTest, BackspaceAndDeleteRemoveALineBreakWhole) {
    SetText("ab\r\ncd");
    Place(4);
    Key(VK_BACK);
    EXPECT_EQ(Text(), "abcd");
    EXPECT_TRUE(CaretAloneAt(2)) << "where the carriage return was";
    EXPECT_EQ(Doc.LineCount, 1);

    SetText("ab\r\ncd");
    Place(2);
    Key(VK_DELETE);
    EXPECT_EQ(Text(), "abcd");
    EXPECT_TRUE(CaretAloneAt(2));

    SetText("ab\r\n");  // joining the empty last line
    Place(4);
    Key(VK_BACK);
    EXPECT_EQ(Text(), "ab");
    EXPECT_EQ(Doc.LineCount, 1);
}

TEST_F(EditingKeysTest, BackspaceAndDeleteRemoveLoneBreakBytesOneByOne) {
    SetText("\nabc");
    Place(1);
    Key(VK_BACK);
    EXPECT_EQ(Text(), "abc");
    EXPECT_TRUE(CaretAloneAt(0));

    SetText("a\rb");
    Place(2);
    Key(VK_BACK);
    EXPECT_EQ(Text(), "ab");

    SetText("\r\r\nx");
    Place(0);
    Key(VK_DELETE);
    EXPECT_EQ(Text(), "\r\nx") << "a carriage return before another is an ordinary byte";
    Key(VK_DELETE);
    EXPECT_EQ(Text(), "x");
}

// Windows follows Ctrl+Backspace with the character 127. Ctrl does not change Backspace, so
// the key removes one character and that character must not go into the text; a 127 typed
// without Ctrl (Alt and the keypad) and the palette's cell 127 still insert it.
TEST_F(EditingKeysTest, ControlBackspaceRemovesAWordAndInsertsNothing) {
    SetText("a bc");
    Place(4);
    fake().SetKeyDown(VK_CONTROL, true);
    Send(WM_KEYDOWN, VK_BACK, 1);
    const InputSnapshot afterKey = TakeSnapshot(fake());
    Char(127);
    fake().SetKeyDown(VK_CONTROL, false);
    Send(WM_KEYUP, VK_CONTROL, 1);
    EXPECT_TRUE(NothingHappened(fake(), afterKey));
    EXPECT_EQ(Text(), "a ");
    EXPECT_TRUE(CaretAloneAt(2));

    Type(127);
    EXPECT_EQ(Text(), "a \x7F");
    EXPECT_TRUE(CaretAloneAt(3));
}

// With a Hebrew layout Wine turns Ctrl with a letter key into that key's letter (Ctrl+A gave
// 0xF9): a character that comes while Ctrl is held without Alt is not text; with Ctrl+Alt
// (AltGr) it is. The character is told by the Ctrl and Alt its key-down found; letting Ctrl
// go, or the window losing the keyboard, forgets them.
TEST_F(EditingKeysTest, ACharacterWithControlHeldIsTypedOnlyWithAltToo) {
    SetText("ab");
    Place(2);
    const InputSnapshot before = TakeSnapshot(fake());
    fake().SetKeyDown(VK_CONTROL, true);
    for (unsigned code : {0xF9u, 0xE0u, unsigned{'a'}}) {
        Send(WM_KEYDOWN, 'A', 1);
        Char(code);
    }
    EXPECT_TRUE(NothingHappened(fake(), before));
    fake().SetKeyDown(VK_MENU, true);
    Send(WM_KEYDOWN, 'T', 1);
    Char(0xE0);
    fake().SetKeyDown(VK_MENU, false);
    Send(WM_KEYDOWN, 'A', 1);
    Send(WM_KILLFOCUS);
    Char(0xE1);  // another program's character, with Ctrl no longer known
    fake().SetKeyDown(VK_CONTROL, false);
    EXPECT_EQ(Text(), "ab\xE0\xE1");
}

TEST_F(EditingKeysTest, BackspaceAndDeleteRemoveExactlyTheSelection) {
    for (UINT key : {VK_BACK, VK_DELETE}) {
        SetText("abc\r\ndef");
        Select(2, 6, 6);
        Key(key);
        EXPECT_EQ(Text(), "abef") << key;
        EXPECT_TRUE(CaretAloneAt(2)) << key;
    }
}

TEST_F(EditingKeysTest, BackspaceOnAnEmptyActiveSelectionOnlySwitchesItOff) {
    // The window procedure clears such a selection first; the handler copes on its own.
    SetText("abc");
    Doc.Caret = 2;
    Doc.SelectionStart = Doc.SelectionEnd = 2;
    Doc.SelectionActive = 1;
    HandleKeyDown(VK_BACK);
    EXPECT_EQ(Text(), "abc");
    EXPECT_EQ(Doc.SelectionActive, 0);
    EXPECT_EQ(Doc.Caret, 2);
}

TEST_F(EditingKeysTest, TabLimitAtTheExactBoundary) {
    SetText(Filler(TextLimit - 5));  // TextLength 32,764
    Place(100);
    Key(VK_TAB);
    EXPECT_EQ(Doc.TextLength, TextLimit);
    EXPECT_TRUE(CaretAloneAt(104));
    EXPECT_EQ(Text().substr(100, 4), "    ");

    const InputSnapshot before = TakeSnapshot(fake());
    KeyDown(VK_TAB);
    EXPECT_TRUE(OneWarning("Input exceeds memory limit", "Can Not Add Characters"));
    EXPECT_TRUE(NothingHappened(fake(), before));
}

TEST_F(EditingKeysTest, EnterLimitAtTheExactBoundary) {
    SetText(Filler(TextLimit - 3));  // TextLength 32,766
    Place(7);
    Key(VK_RETURN);
    EXPECT_EQ(Doc.TextLength, TextLimit);
    const InputSnapshot before = TakeSnapshot(fake());
    KeyDown(VK_RETURN);
    EXPECT_TRUE(OneWarning("Input exceeds memory limit", "Can Not Add Characters"));
    EXPECT_TRUE(NothingHappened(fake(), before));
}

TEST_F(EditingKeysTest, WithASelectionTheLimitCountsTheRemovedBytes) {
    struct Case {
        UINT key;  // 0: a typed character
        std::int32_t removed;
        bool accepted;
    };
    const Case cases[] = {{VK_TAB, 4, true},     {VK_TAB, 3, false}, {VK_RETURN, 2, true},
                          {VK_RETURN, 1, false}, {0, 1, true},       {0, 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "key " << c.key << ", " << c.removed << " removed");
        fake().ClearMessageBoxes();
        SetText(Filler(TextLimit - 1));  // full: TextLength 32,768
        if (c.removed > 0) {
            Select(20, 20 + c.removed, 20 + c.removed);
        } else {
            Place(20);
        }
        const InputSnapshot before = TakeSnapshot(fake());
        if (c.key == 0) {
            Char('x');
        } else {
            KeyDown(c.key);
        }
        if (c.accepted) {
            EXPECT_TRUE(fake().messageBoxes().empty());
            EXPECT_EQ(Doc.TextLength, TextLimit - c.removed +
                                          (c.key == VK_TAB ? 4
                                           : c.key         ? 2
                                                           : 1));
            EXPECT_EQ(Doc.SelectionActive, 0);
            EXPECT_TRUE(MatchesFullRepaint());
        } else {
            EXPECT_TRUE(OneWarning("Input exceeds memory limit", c.key == 0
                                                                     ? "Can Not Add Character"
                                                                     : "Can Not Add Characters"));
            EXPECT_TRUE(NothingHappened(fake(), before)) << "the selection is still shown";
        }
    }
}

TEST_F(EditingKeysTest, TheLimitIsTestedBeforeMemory) {
    SetText(Filler(TextLimit - 1));
    Place(3);
    fake().heapAllocationsBeforeFailure = 0;
    Char('x');
    EXPECT_TRUE(OneWarning("Input exceeds memory limit", "Can Not Add Character"));
    EXPECT_EQ(fake().heapAllocationsBeforeFailure, 0) << "no allocation was tried";
    fake().heapAllocationsBeforeFailure = -1;
}

TEST_F(EditingKeysTest, AnAllocationFailureRefusesEveryEditAndChangesNothing) {
    struct Case {
        const char* name;
        UINT key;  // 0: a typed character
        const char* caption;
    };
    const Case cases[] = {{"typing", 0, "Can Not Add Character"},
                          {"Tab", VK_TAB, "Can Not Add Characters"},
                          {"Enter", VK_RETURN, "Can Not Add Characters"},
                          {"Backspace", VK_BACK, "Can Not Delete"},
                          {"Delete", VK_DELETE, "Can Not Delete"}};
    for (const Case& c : cases) {
        for (bool withSelection : {false, true}) {
            SCOPED_TRACE(::testing::Message()
                         << c.name << (withSelection ? " on a selection" : ""));
            fake().ClearMessageBoxes();
            SetText("abc\r\ndef\r\nghi");
            if (withSelection) {
                Select(2, 7, 7);
            } else {
                Place(6);
            }
            const InputSnapshot before = TakeSnapshot(fake());
            fake().heapAllocationsBeforeFailure = 0;
            if (c.key == 0) {
                Char(0xE9);
            } else {
                KeyDown(c.key);
            }
            EXPECT_TRUE(OneWarning("Can not allocate memory", c.caption));
            EXPECT_TRUE(NothingHappened(fake(), before));
            EXPECT_EQ(fake().liveHeapBlocks(), 0);
            fake().heapAllocationsBeforeFailure = -1;
        }
    }
}

TEST_F(EditingKeysTest, AnEditOffTheScreenHappensAtTheCaretAndScrollsItIntoView) {
    SetText(ShortLines(120));
    Place(4);  // line 1
    Send(WM_VSCROLL, SB_PAGEDOWN);
    Send(WM_VSCROLL, SB_PAGEDOWN);
    ASSERT_GT(Doc.ViewTop, 1);
    const long scrolls = fake().scrollCount;
    Type('x');
    EXPECT_EQ(Text().substr(3, 3), "ax\r");
    EXPECT_LE(Doc.ViewTop, 1);
    EXPECT_GT(fake().scrollCount, scrolls);
}

TEST_F(EditingKeysTest, EnterOnTheLastVisibleLineScrollsTheNewLineIntoView) {
    SetText(ShortLines(VisibleLines() - 1) + "b");
    Place(Doc.TextLength - 1);
    ASSERT_EQ(Doc.ViewTop, 0);
    Key(VK_RETURN);
    EXPECT_EQ(Doc.ViewTop, 1);
    Type('c');
    EXPECT_EQ(Doc.ViewTop, 1);
}

// An edit only invalidates as it goes; the one paint comes at its end and sees the records
// as the edit leaves them.
struct PaintView {
    std::int32_t selectionActive;
    std::int32_t caret;
    std::int32_t textLength;
};
std::vector<PaintView> paints;

LRESULT RecordingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        paints.push_back(PaintView{Doc.SelectionActive, Doc.Caret, Doc.TextLength});
    }
    return MainWindowProc(window, message, wParam, lParam);
}

TEST_F(EditingKeysTest, TheOnePaintOfAnEditSeesTheRecordsItLeaves) {
    SetText("abcdef");
    Select(1, 4, 4);
    fake().windowProc = &RecordingWindowProc;
    paints.clear();
    Char('x');
    fake().windowProc = &MainWindowProc;
    ASSERT_EQ(paints.size(), 1u);
    EXPECT_EQ(paints[0].selectionActive, 0);
    EXPECT_EQ(paints[0].textLength, 5);
    EXPECT_EQ(paints[0].caret, 2);
    EXPECT_TRUE(MatchesFullRepaint());
}

}  // namespace
}  // namespace nv::test
