#include "input/caret_keys.h"

#include <algorithm>

#include "document/document_font.h"
#include "document/layout.h"
#include "document/store.h"
#include "input/key_dispatch.h"
#include "input/selection_move.h"
#include "input/visual_move.h"
#include "platform/platform.h"
#include "view/geometry.h"
#include "view/line_order.h"
#include "view/redraw.h"

namespace nv {

namespace {

bool IsHeld(int virtualKey) { return GetKeyState(virtualKey) < 0; }

bool IsLineBreakAt(std::int32_t pos) {
    return Doc.TextBuffer[pos] == CarriageReturn && Doc.TextBuffer[pos + 1] == LineFeed;
}

// The caret mark is part of the painted picture: set Caret first, so that the strip at the
// old place repaints without it and the strip at the new place with it.
void MoveCaretMark(std::int32_t oldCaret, std::int32_t newCaret) {
    Doc.Caret = newCaret;
    RefreshCaret(oldCaret);
    RefreshCaret(newCaret);
}

// Moves to newCaret (repainting only when it moved), then the selection and the view.
void FinishMove(std::int32_t oldCaret, std::int32_t newCaret, MoveDirection direction, bool shift) {
    Doc.Caret = newCaret;
    if (newCaret != oldCaret) {
        RefreshCaret(oldCaret);
        RefreshCaret(newCaret);
    }
    ApplySelectionMove(oldCaret, newCaret, direction, shift);
    FollowCaret();
}

// The position on line T nearest the caret x at or right of it (the line's end counted
// on a line with a line break): the one standing leftmost there, the later one of two
// that stand together.
std::int32_t PositionAbove(HDC dc, std::int32_t target, std::int32_t caretX) {
    const OrderedLine line = OrderLine(dc, target);
    const LineRecord& record = Doc.LineTable[target];
    const std::int32_t last = EndsWithLineBreak(record) ? line.VisibleEnd + 1 : line.VisibleEnd;
    // Right of every character: the line's end on a left-to-right line, else its start.
    std::int32_t best = line.LeftToRight ? std::max(last, line.Start) : record.Start;
    std::int32_t bestX = 0;
    bool found = false;
    for (std::int32_t pos = last; pos >= line.Start; --pos) {
        const std::int32_t x = CaretX(line, pos);
        if (x >= caretX && (!found || x < bestX)) {
            best = pos;
            bestX = x;
            found = true;
        }
    }
    return best;
}

// The position on line T nearest the caret x at or left of it: the one standing rightmost
// there, the earlier one of two that stand together.
std::int32_t PositionBelow(HDC dc, std::int32_t target, std::int32_t caretX) {
    const OrderedLine line = OrderLine(dc, target);
    const LineRecord& record = Doc.LineTable[target];
    const bool brokenForWidth = !EndsWithLineBreak(record) && target != Doc.LineCount - 1;
    std::int32_t best = -1;
    std::int32_t bestX = 0;
    for (std::int32_t pos = line.Start; pos <= line.VisibleEnd; ++pos) {
        const std::int32_t x = CaretX(line, pos);
        if (x <= caretX && (best < 0 || x > bestX)) {
            best = pos;
            bestX = x;
        }
    }
    if (best >= 0) return best;
    // Left of every character: the line's logical end. A line broken for width ends before
    // its last byte, since the position after it already belongs to the next line.
    return brokenForWidth ? record.End : line.VisibleEnd + 1;
}

// Up and Down: the caret x is computed afresh from the line's text on every press.
void MoveVertically(MoveDirection direction) {
    const std::int32_t oldCaret = Doc.Caret;
    const std::int32_t current = LineOfPosition(oldCaret);
    if (direction == MoveDirection::Backward && current == 0) return;
    if (direction == MoveDirection::Forward && current == Doc.LineCount - 1) return;

    ScreenTextContext screen;
    const HDC dc = screen.dc();
    const std::int32_t caretX = CaretX(OrderLine(dc, current), oldCaret);
    const std::int32_t newCaret = direction == MoveDirection::Backward
                                      ? PositionAbove(dc, current - 1, caretX)
                                      : PositionBelow(dc, current + 1, caretX);
    MoveCaretMark(oldCaret, newCaret);
    ApplySelectionMove(oldCaret, newCaret, direction, IsHeld(VK_SHIFT));
    FollowCaret();
}

// Left and Right in Bidirectional order: the way they point on the screen. A move goes
// further into the text or back, for the selection, by where it lands.
void MoveOnScreen(bool toLeft) {
    const std::int32_t oldCaret = Doc.Caret;
    const std::int32_t newCaret = toLeft ? PositionLeftOf(oldCaret) : PositionRightOf(oldCaret);
    if (newCaret == oldCaret) return;
    MoveCaretMark(oldCaret, newCaret);
    ApplySelectionMove(oldCaret, newCaret,
                       newCaret > oldCaret ? MoveDirection::Forward : MoveDirection::Backward,
                       IsHeld(VK_SHIFT));
    FollowCaret();
}

MoveDirection DirectionOf(std::int32_t oldCaret, std::int32_t newCaret, MoveDirection same) {
    if (newCaret == oldCaret) return same;
    return newCaret > oldCaret ? MoveDirection::Forward : MoveDirection::Backward;
}

// Page Up and Page Down move by the scroll bar's page step.
std::int32_t PageStep() { return std::max(VisibleLines() - 1, 1); }

}  // namespace

void CaretLeft() {
    if (InBidirectionalOrder()) {
        MoveOnScreen(true);
        return;
    }
    const std::int32_t oldCaret = Doc.Caret;
    if (oldCaret >= Doc.TextLength - 1) return;
    const std::int32_t newCaret = IsLineBreakAt(oldCaret) ? oldCaret + 2 : oldCaret + 1;
    MoveCaretMark(oldCaret, newCaret);
    ApplySelectionMove(oldCaret, newCaret, MoveDirection::Forward, IsHeld(VK_SHIFT));
    FollowCaret();
}

void CaretRight() {
    if (InBidirectionalOrder()) {
        MoveOnScreen(false);
        return;
    }
    const std::int32_t oldCaret = Doc.Caret;
    if (oldCaret <= 0) return;
    const std::int32_t newCaret =
        (oldCaret >= 2 && IsLineBreakAt(oldCaret - 2)) ? oldCaret - 2 : oldCaret - 1;
    MoveCaretMark(oldCaret, newCaret);
    ApplySelectionMove(oldCaret, newCaret, MoveDirection::Backward, IsHeld(VK_SHIFT));
    FollowCaret();
}

void CaretUp() { MoveVertically(MoveDirection::Backward); }

void CaretDown() { MoveVertically(MoveDirection::Forward); }

void CaretHome() {
    const std::int32_t oldCaret = Doc.Caret;
    const std::int32_t current = LineOfPosition(oldCaret);
    const bool ctrl = ModifiersAtKeyDown.Control;
    const bool shift = IsHeld(VK_SHIFT);
    if (InBidirectionalOrder() && !ctrl) {
        const std::int32_t newCaret = VisualStartOf(current);
        FinishMove(oldCaret, newCaret, DirectionOf(oldCaret, newCaret, MoveDirection::Backward),
                   shift);
        return;
    }
    const std::int32_t newCaret = ctrl ? 0 : Doc.LineTable[current].Start;
    FinishMove(oldCaret, newCaret, MoveDirection::Backward, shift);
}

void CaretEnd() {
    const std::int32_t oldCaret = Doc.Caret;
    const LineRecord& record = Doc.LineTable[LineOfPosition(oldCaret)];
    const bool ctrl = ModifiersAtKeyDown.Control;
    const bool shift = IsHeld(VK_SHIFT);
    std::int32_t newCaret;
    if (InBidirectionalOrder() && !ctrl) {
        newCaret = VisualEndOf(LineOfPosition(oldCaret));
        FinishMove(oldCaret, newCaret, DirectionOf(oldCaret, newCaret, MoveDirection::Forward),
                   shift);
        return;
    }
    if (ctrl) {
        newCaret = Doc.TextLength - 1;
    } else if (EndsWithLineBreak(record)) {
        newCaret = record.End - 1;  // on the carriage return
    } else {
        newCaret = record.End;  // the terminator, or before the last byte of a broken line
    }
    FinishMove(oldCaret, newCaret, MoveDirection::Forward, shift);
}

void CaretPageUp() {
    const std::int32_t oldCaret = Doc.Caret;
    if (oldCaret == 0) return;
    const std::int32_t current = LineOfPosition(oldCaret);
    const bool ctrl = ModifiersAtKeyDown.Control;
    const bool shift = IsHeld(VK_SHIFT);
    std::int32_t target;
    if (ctrl) {
        std::int32_t page = current / Doc.LinesPerPage;
        // Already at the top of a page: go to the page before.
        if (current % Doc.LinesPerPage == 0 && oldCaret == Doc.LineTable[current].Start) {
            page = std::max(page - 1, 0);
        }
        target = page * Doc.LinesPerPage;
    } else {
        target = std::max(current - PageStep(), 0);
    }
    FinishMove(oldCaret, Doc.LineTable[target].Start, MoveDirection::Backward, shift);
}

void CaretPageDown() {
    const std::int32_t oldCaret = Doc.Caret;
    if (oldCaret == Doc.TextLength - 1) return;
    const std::int32_t current = LineOfPosition(oldCaret);
    if (current == Doc.LineCount - 1) return;
    const bool ctrl = ModifiersAtKeyDown.Control;
    const bool shift = IsHeld(VK_SHIFT);
    std::int32_t target;
    if (ctrl) {
        const std::int32_t page = current / Doc.LinesPerPage;
        const std::int32_t lastPage = (Doc.LineCount - 1) / Doc.LinesPerPage;
        target = page == lastPage ? Doc.LineCount - 1 : (page + 1) * Doc.LinesPerPage;
    } else {
        target = std::min(current + PageStep(), Doc.LineCount - 1);
    }
    FinishMove(oldCaret, Doc.LineTable[target].Start, MoveDirection::Forward, shift);
}

void CancelSelection() {
    if (Doc.SelectionActive == 0) return;
    Doc.SelectionActive = 0;
    RefreshRange(Doc.SelectionStart, Doc.SelectionEnd);
    Doc.SelectionStart = Doc.Caret;
    Doc.SelectionEnd = Doc.Caret;
    FollowCaret();
}

}  // namespace nv
