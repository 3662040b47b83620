// The exact repaints: after every edit, caret move, selection change, scroll and new
// layout done the way the editing commands do them, the picture built by the minimal
// repaints must equal a fresh full repaint of the same state, pixel for pixel. The same
// random sequences check Undo and Redo against every text the document went through.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "commands/command_ids.h"
#include "document/edit_history.h"
#include "document/layout.h"
#include "document/words.h"
#include "input/text_edit.h"
#include "tests/support/editor_fixture.h"
#include "view/geometry.h"
#include "view/redraw.h"
#include "view/screen_layout.h"

namespace nv::test {
namespace {

constexpr std::int32_t WrapNo = 42000;
constexpr std::int32_t WrapYes = 42001;

// With `mixed`, a third of the pieces are digits, Latin letters, brackets, punctuation and
// direction marks, which bidirectional order moves about.
std::string RandomBytes(std::mt19937& random, int length, bool mixed = false) {
    static const char others[] = "0123456789abcXYZ()[]{}<>.,-+/:%$\xA4\xAB\xBB\xFD\xFE";
    std::string text;
    while (static_cast<int>(text.size()) < length) {
        if (mixed && random() % 3 == 0) {
            const auto run = 1 + random() % 6;
            for (unsigned k = 0; k < run; ++k) text += others[random() % (sizeof others - 1)];
            continue;
        }
        int k = static_cast<int>(random() % 100);
        if (k < 55) {
            text += static_cast<char>(0xE0 + random() % 27);
        } else if (k < 65) {
            text += static_cast<char>(0xC0 + random() % 19);
        } else if (k < 80) {
            text += ' ';
        } else if (k < 88) {
            text += "\r\n";
        } else if (k < 90) {
            text += random() % 2 ? '\r' : '\n';
        } else {
            text += std::string(5 + random() % 70, static_cast<char>(0xE0 + random() % 27));
        }
    }
    text.resize(static_cast<std::size_t>(length));
    return text;
}

class RepaintInvariantTest : public EditorTest {
protected:
    std::mt19937 random{7};
    std::string last;    // the last edit, for the failure message
    bool mixed = false;  // texts with digits, Latin and brackets

    // Every text since the document was put in place, one per recorded edit (joined steps
    // leave texts that Undo passes over), and the one the history stands at.
    std::vector<std::string> texts;
    std::size_t at = 0;

    // After anything but Undo and Redo: a recorded edit drops what could have been redone; a
    // step larger than the whole history empties it.
    void Follow(std::pair<std::int64_t, std::int64_t> before) {
        if (before == std::make_pair(History.Current, History.Newest)) return;
        texts.resize(CanUndo() ? at + 1 : 0);
        texts.push_back(Text());
        at = texts.size() - 1;
    }

    // Undo lands on the latest earlier text, Redo on the next later one.
    ::testing::AssertionResult UndoOrRedo(bool undo) {
        const bool possible = undo ? CanUndo() : CanRedo();
        Command(undo ? IDM_EDIT_UNDO : IDM_EDIT_REDO);
        std::size_t k = at;
        while (possible && (undo ? k > 0 : k + 1 < texts.size()) &&
               texts[undo ? --k : ++k] != Text()) {
        }
        if (texts[k] != Text() || (k != at) != possible) {
            return ::testing::AssertionFailure() << (undo ? "undo" : "redo") << " from text " << at
                                                 << " of " << texts.size() << " is unseen";
        }
        at = k;
        return ::testing::AssertionSuccess();
    }

    // Keys as a writer presses them, in runs of one kind: letters and spaces, an editing or
    // caret key held (now and then with Shift or Ctrl, a word at a time), a paragraph's
    // direction set with Ctrl+Shift, palette cells clicked (and Shift+Tab back to the text).
    void RandomKeys() {
        static const UINT keys[] = {VK_BACK, VK_BACK,  VK_DELETE, VK_RETURN, VK_TAB,
                                    VK_LEFT, VK_RIGHT, VK_HOME,   VK_END};
        for (unsigned n = 1 + random() % 3; n > 0; --n) {
            const unsigned kind = random() % 19;
            for (unsigned k = 1 + random() % 4; k > 0; --k) {
                const auto before = std::make_pair(History.Current, History.Newest);
                if (kind < 8) {
                    Char(random() % 4 == 0 ? ' ' : 0xE0 + random() % 27);
                } else if (kind < 17) {
                    const unsigned held = random() % 4;  // now and then Shift, or Ctrl
                    KeyDown(keys[kind - 8], held == 0, held == 1);
                } else if (kind == 17) {
                    CtrlShift(random() % 2 == 0);
                } else {
                    const RECT& cell = Geo.PaletteItemRects[PaletteFirstCell + random() % 10];
                    Click((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
                    KeyDown(VK_TAB, true);
                }
                Follow(before);
            }
        }
    }

    std::int32_t RandomPosition() {
        return static_cast<std::int32_t>(random() % static_cast<unsigned>(Doc.TextLength));
    }

    // Removes r bytes at p and puts bytes there, in the order the editing commands use:
    // the old lines taken, a selection's highlight and the caret taken off the screen, the
    // text changed and laid out, the caret drawn, the changed lines repainted, the caret
    // followed.
    void Edit(std::int32_t p, std::int32_t r, const std::string& bytes) {
        auto n = static_cast<std::int32_t>(bytes.size());
        last = "at " + std::to_string(p) + " removing " + std::to_string(r) + " inserting " +
               std::to_string(n) + ", caret " + std::to_string(Doc.Caret) + ", selection " +
               (Doc.SelectionActive
                    ? std::to_string(Doc.SelectionStart) + ".." + std::to_string(Doc.SelectionEnd)
                    : std::string("none")) +
               ", view " + std::to_string(Doc.ViewTop);
        ASSERT_TRUE(ApplyTextEdit(EditSpan{p, r},
                                  reinterpret_cast<const std::uint8_t*>(bytes.data()), n, "Edit"));
    }

    // Typing, pasting, Backspace and Delete: edits at the caret, or over the selection.
    void RandomEdit() {
        std::int32_t p;
        std::int32_t r;
        if (Doc.SelectionActive && random() % 2) {
            p = Doc.SelectionStart;
            r = Doc.SelectionEnd - Doc.SelectionStart;
        } else {
            if (Doc.SelectionActive) {
                Doc.SelectionActive = 0;
                RefreshRange(Doc.SelectionStart, Doc.SelectionEnd);
            }
            std::int32_t count = random() % 8 == 0 ? 1 + random() % 300 : 1 + random() % 3;
            switch (random() % 3) {
                case 0:  // before the caret
                    p = std::max(0, Doc.Caret - count);
                    r = Doc.Caret - p;
                    break;
                case 1:  // after the caret
                    p = Doc.Caret;
                    r = std::min(count, Doc.TextLength - 1 - p);
                    break;
                default:
                    p = Doc.Caret;
                    r = 0;
                    break;
            }
        }
        std::string bytes = RandomBytes(random, static_cast<int>(random() % 4), mixed);
        if (random() % 6 == 0) {
            bytes = RandomBytes(random, 30 + static_cast<int>(random() % 200), mixed);
        }
        if (Doc.TextLength - r + static_cast<std::int32_t>(bytes.size()) > TextLimit) return;
        Edit(p, r, bytes);
    }

    // A new caret and selection as the caret keys and the mouse set them.
    void RandomSelection() {
        std::int32_t a = RandomPosition();
        std::int32_t b = RandomPosition();
        if (b < a) std::swap(a, b);
        if (random() % 4 == 0) b = std::min(Doc.TextLength - 1, a + 1 + RandomPosition() % 4);
        BreakUndoGroup();
        std::int32_t q = Doc.Caret;
        if (Doc.SelectionActive) {
            Doc.SelectionActive = 0;
            RefreshRange(Doc.SelectionStart, Doc.SelectionEnd);
        }
        Doc.Caret = random() % 2 ? a : b;
        RefreshCaret(q);
        RefreshCaret(Doc.Caret);
        if (random() % 3 != 0 && a != b) {
            Doc.SelectionStart = a;
            Doc.SelectionEnd = b;
            Doc.SelectionActive = 1;
            RefreshRange(a, b);
        }
        FollowCaret();
    }

    // The Edit menu's commands; Paste takes what Cut left, or text another program put there.
    void RandomCommand() {
        static const UINT commands[] = {IDM_EDIT_CUT, IDM_EDIT_PASTE, IDM_EDIT_PASTE,
                                        IDM_EDIT_DELETE, IDM_EDIT_SELECT_ALL};
        UINT id = commands[random() % 5];
        if (id == IDM_EDIT_PASTE && random() % 2) {
            std::string units;
            for (char c : RandomBytes(random, static_cast<int>(random() % 200))) {
                auto b = static_cast<std::uint8_t>(c);
                std::uint16_t unit = b < 0xC0 ? b : 0x04F0 + b;
                if (random() % 20 == 0)
                    unit = static_cast<std::uint16_t>(0x0600 + random() % 0xF000);
                units += static_cast<char>(unit & 0xFF);
                units += static_cast<char>(unit >> 8);
            }
            fake().PutOnClipboard(CF_UNICODETEXT, units);
        }
        last = "command " + std::to_string(id);
        Command(id);
    }

    // Find, Replace and Replace All through the dialog, for a piece of the text itself (now
    // and then without its points) or for something it may not hold.
    void RandomFind() {
        if (fake().findDialog() == nullptr)
            Command(random() % 2 ? IDM_EDIT_FIND : IDM_EDIT_REPLACE);
        if (fake().findDialog() == nullptr) return;  // the empty document
        const std::int32_t start = RandomPosition();
        std::u16string find;
        for (std::int32_t k = start;
             k < start + 1 + static_cast<std::int32_t>(random() % 4) && k < Doc.TextLength - 1;
             ++k) {
            const std::uint8_t b = Doc.TextBuffer[k];
            if (b >= 0xC0 && b <= 0xD2 && random() % 2) continue;
            find += static_cast<char16_t>(b < 0xC0 ? b : 0x04F0 + b);
        }
        if (find.empty() || random() % 8 == 0) find = u"\u05D0\u05D1";
        std::u16string with;
        for (char c : RandomBytes(random, static_cast<int>(random() % 6))) {
            const auto b = static_cast<std::uint8_t>(c);
            with += static_cast<char16_t>(b < 0xC0 ? b : 0x04F0 + b);
        }
        static const DWORD buttons[] = {FR_FINDNEXT, FR_FINDNEXT, FR_REPLACE, FR_REPLACEALL};
        const DWORD button = buttons[random() % 4];
        last = "find button " + std::to_string(button) + " for " + std::to_string(find.size()) +
               " units at " + std::to_string(start);
        fake().PressFindDialogButton(button, find, random() % 2 ? FR_DOWN : 0, with);
        if (random() % 4 == 0) fake().CloseFindDialog();
    }

    void RandomScroll() {
        static const UINT codes[] = {SB_LINEUP,     SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN,
                                     SB_THUMBTRACK, SB_TOP,      SB_BOTTOM, SB_ENDSCROLL};
        UINT code = codes[random() % 8];
        WPARAM position = static_cast<WPARAM>(random() % static_cast<unsigned>(ScrollMax() + 2));
        if (random() % 3 == 0) {
            Wheel(static_cast<int>(random() % 801) - 400, 300, 400);  // touchpad deltas too
        } else {
            Send(WM_VSCROLL, code | (position << 16));
        }
    }

    // A Word Wrap, Font Name, Font Point Size or Line Order choice from the menus, now and
    // then the item already checked, or the status bar shown or hidden.
    void RandomViewCommand() {
        const unsigned kind = random() % 6;
        Command(kind < 2    ? (random() % 2 ? WrapNo : WrapYes)
                : kind == 2 ? 43000 + random() % 12
                : kind == 3 ? 44008 + random() % 65
                : kind == 4 ? IDM_ORDER_REVERSED + random() % 2
                            : IDM_VIEW_STATUS_BAR);
    }

    // The one checked item of each menu group is the current setting.
    bool CheckMarksMatchSettings() {
        auto group = [this](UINT first, UINT last, UINT current) {
            for (UINT id = first; id <= last; ++id) {
                if ((fake().menuState(id) == MF_CHECKED) != (id == current)) return false;
            }
            return true;
        };
        return group(WrapNo, WrapYes, static_cast<UINT>(Doc.WordWrapChoice)) &&
               group(43000, 43011, static_cast<UINT>(43000 + Doc.FaceIndex)) &&
               group(44008, 44072, static_cast<UINT>(44000 - Doc.PointSize)) &&
               group(IDM_ORDER_REVERSED, IDM_ORDER_BIDIRECTIONAL,
                     static_cast<UINT>(Doc.LineOrderChoice)) &&
               group(IDM_VIEW_STATUS_BAR, IDM_VIEW_STATUS_BAR,
                     Doc.StatusBarShown ? IDM_VIEW_STATUS_BAR : 0) &&
               fake().statusBarShown() == (Doc.StatusBarShown != 0);
    }

    // `history`: the bytes of the history ring in use; `length`: of the random texts.
    void Run(int faceIndex, std::int32_t pointSize, int documents, int steps,
             std::int64_t history = EditHistoryCapacity, int length = 2500) {
        CreateWindowWithFont(faceIndex, pointSize);
        RunDocuments(documents, steps, history, length);
    }

    void RunDocuments(int documents, int steps, std::int64_t history = EditHistoryCapacity,
                      int length = 2500) {
        SetEditHistoryCapacity(history);
        const std::string face = Doc.FaceName;
        for (int d = 0; d < documents; ++d) {
            Command(d % 2 ? WrapNo : WrapYes);
            SetText(RandomBytes(random, 50 + static_cast<int>(random() % length), mixed));
            texts = {Text()};
            at = 0;
            for (int s = 0; s < steps; ++s) {
                // 0-12 edits, view and menu commands, 13-15 key runs, 16-17 Find and
                // Replace, 18-19 Undo, 20 Redo.
                unsigned what = random() % 21;
                std::string step = what < 16   ? "keys"
                                   : what < 18 ? "find"
                                   : what < 20 ? "undo"
                                               : "redo";
                const auto before = std::make_pair(History.Current, History.Newest);
                if (what >= 18) {
                    ASSERT_TRUE(UndoOrRedo(what < 20));
                } else if (what >= 13 && what < 16) {
                    RandomKeys();
                } else if (what < 5) {
                    last = "none";
                    RandomEdit();
                    step = "edit " + last;
                } else if (what < 7) {
                    RandomSelection();
                    step = "selection";
                } else if (what < 9) {
                    RandomScroll();
                    step = "scroll";
                } else if (what < 11) {
                    RandomViewCommand();
                    step = "view command to " + std::string(Doc.FaceName) + " " +
                           std::to_string(-Doc.PointSize) + " wrap " +
                           std::to_string(Doc.WordWrapChoice) + " order " +
                           std::to_string(Doc.LineOrderChoice);
                } else if (what < 13) {
                    RandomCommand();
                    step = last;
                } else {
                    RandomFind();
                    step = last;
                }
                EndOperation();
                if (what < 13 || (what >= 16 && what < 18)) Follow(before);
                ASSERT_TRUE(StoreInvariantsHold());
                ASSERT_TRUE(CheckMarksMatchSettings()) << "check marks at step " << s;
                ASSERT_EQ(DocumentWordCount(),
                          CountWords(Doc.TextBuffer, Doc.TextLength - 1, 0, Doc.TextLength - 1))
                    << "the word count kept edit by edit, at step " << s << " (" << step << ")";
                ASSERT_TRUE(MatchesFullRepaint(face + " document " + std::to_string(d) + " step " +
                                               std::to_string(s) + " (" + step + ")"));
            }
            // All undone: the first text (or the oldest kept); all redone: the last.
            while (CanUndo()) ASSERT_TRUE(UndoOrRedo(true));
            ASSERT_TRUE(history < EditHistoryCapacity || at == 0u);
            while (CanRedo()) ASSERT_TRUE(UndoOrRedo(false));
            ASSERT_EQ(at, texts.size() - 1);
            ASSERT_TRUE(MatchesFullRepaint(face + " document " + std::to_string(d) + " redone"));
        }
    }

    // The window as it is created with another face and size: line height and lines per
    // page follow the font.
    void CreateWindowWithFont(int faceIndex, std::int32_t pointSize) {
        ResetEditorState();
        fake().AnswerNextMessageBox(IDYES);
        ASSERT_NE(fake().CreateMainWindow(640, 600), nullptr);
        fake().ClearMessageBoxes();
        Command(static_cast<UINT>(43000 + faceIndex));
        Command(static_cast<UINT>(44000 - pointSize));
    }
};

TEST_F(RepaintInvariantTest, CourierNew) { Run(4, -12, 4, 30); }

TEST_F(RepaintInvariantTest, ItalicFaceWithOverhangs) { Run(2, -14, 4, 30); }

TEST_F(RepaintInvariantTest, LargeSerifFace) { Run(11, -28, 4, 30); }

// A small history keeps only the last steps: Undo stops at the oldest one kept.
TEST_F(RepaintInvariantTest, SmallHistoryKeepsTheNewestSteps) { Run(4, -12, 3, 80, 700, 300); }

TEST_F(RepaintInvariantTest, MixedTextInBidirectionalOrder) {
    mixed = true;
    CreateWindowWithFont(2, -14);
    Command(IDM_ORDER_BIDIRECTIONAL);
    RunDocuments(8, 40);
}

}  // namespace
}  // namespace nv::test
