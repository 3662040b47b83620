#include "input/direction_keys.h"

#include <algorithm>

#include "document/edit_history.h"
#include "document/store.h"
#include "input/key_dispatch.h"
#include "input/text_edit.h"
#include "view/glyph_characters.h"
#include "view/line_order.h"
#include "view/redraw.h"

namespace nv {

namespace {

constexpr std::uint8_t LeftToRightMark = 0xFD;
constexpr std::uint8_t RightToLeftMark = 0xFE;
constexpr int LeftShiftScanCode = 0x2A;
constexpr int RightShiftScanCode = 0x36;

// The Shift pressed with Ctrl held and no other key since, by its scan code; 0: none.
int PendingShift = 0;

int ScanCodeOf(LPARAM lParam) { return static_cast<int>((lParam >> 16) & 0xFF); }

bool IsDirectionMark(std::uint8_t byte) {
    return byte == LeftToRightMark || byte == RightToLeftMark;
}

bool IsLineBreakBefore(std::int32_t pos) {
    return pos >= 2 && Doc.TextBuffer[pos - 2] == CarriageReturn &&
           Doc.TextBuffer[pos - 1] == LineFeed;
}

// Keeps a position with its text across the edit at `start` that changed `delta` bytes.
std::int32_t Shifted(std::int32_t pos, std::int32_t start, std::int32_t delta) {
    return pos < start ? pos : std::max(start, pos + delta);
}

}  // namespace

void DirectionKeyDown(UINT virtualKey, LPARAM lParam) {
    if (virtualKey == VK_SHIFT) {
        const int scan = ScanCodeOf(lParam);
        const bool known = scan == LeftShiftScanCode || scan == RightShiftScanCode;
        // A held Shift repeats its key-down: it stays the one pending.
        if (PendingShift != scan) PendingShift = known && ModifiersAtKeyDown.Control ? scan : 0;
    } else if (virtualKey != VK_CONTROL) {
        PendingShift = 0;
    }
}

void DirectionKeyUp(UINT virtualKey, LPARAM lParam) {
    if (virtualKey != VK_SHIFT) return;
    const int scan = ScanCodeOf(lParam);
    const bool acts = PendingShift == scan && GetKeyState(VK_CONTROL) < 0;
    PendingShift = 0;
    if (acts) SetParagraphDirection(scan == RightShiftScanCode);
}

void SetParagraphDirection(bool rightToLeft) {
    if (!InBidirectionalOrder()) return;
    const std::uint8_t* text = Doc.TextBuffer;
    const std::int32_t end = Doc.TextLength - 1;  // the terminator
    std::int32_t start = std::clamp(Doc.Caret, 0, end);
    while (start > 0 && !IsLineBreakBefore(start)) --start;
    const bool marked = start < end && IsDirectionMark(text[start]);
    // The paragraph's own direction, from its first strong character after that mark.
    bool ownRightToLeft = true;
    for (std::int32_t i = start + (marked ? 1 : 0); i < end && !IsLineBreakBefore(i + 2); ++i) {
        if (IsStrong(text[i])) {
            ownRightToLeft = !IsLeftToRightOrNumber(text[i]);
            break;
        }
    }
    const std::uint8_t mark = rightToLeft ? RightToLeftMark : LeftToRightMark;
    const bool remove = ownRightToLeft == rightToLeft;
    if (remove ? !marked : marked && text[start] == mark) return;  // already so

    BreakUndoGroup();
    const std::int32_t caret = Doc.Caret;
    const bool selected = Doc.SelectionActive != 0;
    const std::int32_t selectionStart = Doc.SelectionStart;
    const std::int32_t selectionEnd = Doc.SelectionEnd;
    const std::int32_t removed = marked ? 1 : 0;
    const std::int32_t count = remove ? 0 : 1;
    if (!ApplyTextEdit(EditSpan{start, removed}, &mark, count, "Can Not Add Character")) return;
    BreakUndoGroup();
    // The edit leaves the caret after the mark, with no selection: both go back to their text.
    const std::int32_t delta = count - removed;
    const std::int32_t markCaret = Doc.Caret;
    Doc.Caret = Shifted(caret, start, delta);
    RefreshCaret(markCaret);
    RefreshCaret(Doc.Caret);
    Doc.SelectionStart = Doc.Caret;
    Doc.SelectionEnd = Doc.Caret;
    if (selected) {
        Doc.SelectionStart = Shifted(selectionStart, start, delta);
        Doc.SelectionEnd = Shifted(selectionEnd, start, delta);
        Doc.SelectionActive = 1;
        RefreshRange(Doc.SelectionStart, Doc.SelectionEnd);
    }
    FollowCaret();
}

}  // namespace nv
