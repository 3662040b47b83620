#include "input/word_keys.h"

#include "document/edit_history.h"
#include "document/store.h"
#include "document/words.h"
#include "input/selection_move.h"
#include "input/text_edit.h"
#include "platform/platform.h"
#include "view/redraw.h"

namespace nv {

namespace {

constexpr const char* DeleteCaption = "Can Not Delete";

std::int32_t TextBytes() { return Doc.TextLength - 1; }

void MoveCaretTo(std::int32_t newCaret, MoveDirection direction) {
    const std::int32_t oldCaret = Doc.Caret;
    if (newCaret == oldCaret) return;  // at the edge of the text a key does nothing
    Doc.Caret = newCaret;
    RefreshCaret(oldCaret);
    RefreshCaret(newCaret);
    ApplySelectionMove(oldCaret, newCaret, direction, GetKeyState(VK_SHIFT) < 0);
    FollowCaret();
}

// With a selection the key removes exactly it, as Backspace and Delete do.
void DeleteSpanOrSelection(std::int32_t start, std::int32_t end) {
    if (Doc.SelectionActive != 0 && Doc.SelectionStart != Doc.SelectionEnd) {
        ApplyTextEdit(SelectionOrCaret(), nullptr, 0, DeleteCaption);
        return;
    }
    Doc.SelectionActive = 0;
    if (end <= start) return;
    // A step of its own: a run of Backspaces does not take it in, nor it them.
    BreakUndoGroup();
    ApplyTextEdit(EditSpan{start, end - start}, nullptr, 0, DeleteCaption, EditKind::Other);
}

}  // namespace

void CaretNextWord() {
    MoveCaretTo(NextWordStart(Doc.TextBuffer, TextBytes(), Doc.Caret), MoveDirection::Forward);
}

void CaretPreviousWord() {
    MoveCaretTo(PreviousWordStart(Doc.TextBuffer, TextBytes(), Doc.Caret), MoveDirection::Backward);
}

void DeletePreviousWord() {
    DeleteSpanOrSelection(PreviousWordStart(Doc.TextBuffer, TextBytes(), Doc.Caret), Doc.Caret);
}

void DeleteNextWord() {
    DeleteSpanOrSelection(Doc.Caret, NextWordStart(Doc.TextBuffer, TextBytes(), Doc.Caret));
}

void SelectWordAt(std::int32_t pos) {
    const TextMatch word = WordAround(Doc.TextBuffer, TextBytes(), pos);
    if (word.End <= word.Start) return;
    if (Doc.SelectionActive != 0) RefreshRange(Doc.SelectionStart, Doc.SelectionEnd);
    const std::int32_t oldCaret = Doc.Caret;
    Doc.Caret = word.End;
    Doc.SelectionStart = word.Start;
    Doc.SelectionEnd = word.End;
    Doc.SelectionActive = 1;
    RefreshCaret(oldCaret);
    RefreshCaret(Doc.Caret);
    RefreshRange(word.Start, word.End);
    FollowCaret();
}

}  // namespace nv
