#include "input/selection_move.h"

#include <algorithm>

#include "document/store.h"
#include "view/redraw.h"

namespace nv {

namespace {

void StartSelection(std::int32_t oldCaret, std::int32_t newCaret, MoveDirection direction) {
    Doc.SelectionActive = 1;
    if (direction == MoveDirection::Forward) {
        Doc.SelectionStart = oldCaret;
        Doc.SelectionEnd = newCaret;
        RefreshRange(oldCaret, newCaret);
    } else {
        Doc.SelectionStart = newCaret;
        Doc.SelectionEnd = oldCaret;
        RefreshRange(newCaret, oldCaret);
    }
}

// A caret that stands at neither end (the font commands put it at 0 and keep the selection)
// counts as standing at the start for a forward move and at the end for a backward one. The
// moved end's highlight then changes between the old end and the new caret, which the range
// between the old and new caret does not cover, so that band is repainted as well.
void RefreshMovedEnd(std::int32_t oldCaret, std::int32_t movedEnd, std::int32_t newCaret) {
    if (oldCaret == movedEnd) return;
    RefreshRange(std::min(movedEnd, newCaret), std::max(movedEnd, newCaret));
}

void ExtendForward(std::int32_t oldCaret, std::int32_t newCaret) {
    const std::int32_t s = Doc.SelectionStart;
    const std::int32_t e = Doc.SelectionEnd;
    if (oldCaret == e) {
        Doc.SelectionEnd = newCaret;
        RefreshRange(oldCaret, newCaret);
    } else if (newCaret <= e) {
        Doc.SelectionStart = newCaret;
        RefreshRange(oldCaret, newCaret);
        RefreshMovedEnd(oldCaret, s, newCaret);
    } else {
        // The moving end passes the fixed one: the selection becomes e..newCaret.
        Doc.SelectionStart = e;
        RefreshRange(s, e);
        Doc.SelectionEnd = newCaret;
        RefreshRange(e, newCaret);
    }
}

void ExtendBackward(std::int32_t oldCaret, std::int32_t newCaret) {
    const std::int32_t s = Doc.SelectionStart;
    const std::int32_t e = Doc.SelectionEnd;
    if (oldCaret == s) {
        Doc.SelectionStart = newCaret;
        RefreshRange(newCaret, oldCaret);
    } else if (newCaret >= s) {
        Doc.SelectionEnd = newCaret;
        RefreshRange(newCaret, oldCaret);
        RefreshMovedEnd(oldCaret, e, newCaret);
    } else {
        Doc.SelectionEnd = s;
        RefreshRange(s, e);
        Doc.SelectionStart = newCaret;
        RefreshRange(newCaret, s);
    }
}

}  // namespace

void ApplySelectionMove(std::int32_t oldCaret, std::int32_t newCaret, MoveDirection direction,
                        bool shift) {
    if (Doc.SelectionActive == 0) {
        if (shift) StartSelection(oldCaret, newCaret, direction);
        return;
    }
    if (!shift) {
        Doc.SelectionActive = 0;
        RefreshRange(Doc.SelectionStart, Doc.SelectionEnd);
        Doc.SelectionStart = newCaret;
        Doc.SelectionEnd = newCaret;
        return;
    }
    if (direction == MoveDirection::Forward) {
        ExtendForward(oldCaret, newCaret);
    } else {
        ExtendBackward(oldCaret, newCaret);
    }
}

}  // namespace nv
