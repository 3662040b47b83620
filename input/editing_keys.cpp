#include "input/editing_keys.h"

#include "document/store.h"
#include "input/text_edit.h"

namespace nv {

namespace {

constexpr const char* AddCaption = "Can Not Add Characters";
constexpr const char* DeleteCaption = "Can Not Delete";

bool IsLineBreakAt(std::int32_t pos) {
    return Doc.TextBuffer[pos] == CarriageReturn && Doc.TextBuffer[pos + 1] == LineFeed;
}

// Backspace and Delete with a selection remove exactly it. Returns false when there is
// no selection to act on.
bool RemoveSelection() {
    if (Doc.SelectionActive == 0) return false;
    if (Doc.SelectionEnd == Doc.SelectionStart) {
        Doc.SelectionActive = 0;
        return true;
    }
    ApplyTextEdit(SelectionOrCaret(), nullptr, 0, DeleteCaption);
    return true;
}

}  // namespace

void TabKey() {
    static const std::uint8_t spaces[4] = {' ', ' ', ' ', ' '};
    ApplyTextEdit(SelectionOrCaret(), spaces, 4, AddCaption, EditKind::Typing);
}

void EnterKey() {
    static const std::uint8_t lineBreak[2] = {CarriageReturn, LineFeed};
    ApplyTextEdit(SelectionOrCaret(), lineBreak, 2, AddCaption, EditKind::Typing);
}

void BackspaceKey() {
    if (RemoveSelection()) return;
    const std::int32_t caret = Doc.Caret;
    if (caret == 0) return;
    // A line break goes whole, so two lines join in one press.
    const std::int32_t k = (caret >= 2 && IsLineBreakAt(caret - 2)) ? 2 : 1;
    ApplyTextEdit(EditSpan{caret - k, k}, nullptr, 0, DeleteCaption, EditKind::Backspace);
}

void DeleteKey() {
    if (RemoveSelection()) return;
    const std::int32_t caret = Doc.Caret;
    if (caret >= Doc.TextLength - 1) return;
    const std::int32_t k = IsLineBreakAt(caret) ? 2 : 1;
    ApplyTextEdit(EditSpan{caret, k}, nullptr, 0, DeleteCaption, EditKind::DeleteKey);
}

}  // namespace nv
