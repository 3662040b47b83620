#include "input/mouse.h"

#include <algorithm>
#include <cstdlib>

#include "document/document_font.h"
#include "document/edit_history.h"
#include "document/store.h"
#include "input/key_dispatch.h"
#include "input/palette_keys.h"
#include "input/word_keys.h"
#include "view/geometry.h"
#include "view/line_order.h"
#include "view/redraw.h"

namespace nv {

namespace {

bool Contains(const RECT& r, LONG x, LONG y) {
    return r.left <= x && x < r.right && r.top <= y && y < r.bottom;
}

// The first pixel row below the last page on screen.
std::int32_t DocumentBottom(int logPixelsY, std::int32_t pageGap) {
    return Geo.TextTop + PageCount() * Doc.PageHeightInches * logPixelsY -
           (Doc.ViewTop / Doc.LinesPerPage) * pageGap - Doc.ViewTop * Doc.LineHeight;
}

// The first pixel row below the last display line.
std::int32_t BelowLastLine(std::int32_t pageGap) {
    std::int32_t last = Doc.LineCount - 1;
    return Geo.TextTop + (Doc.LineCount - Doc.ViewTop) * Doc.LineHeight +
           (last / Doc.LinesPerPage - Doc.ViewTop / Doc.LinesPerPage) * pageGap;
}

// The line whose row holds y; a click in a page's foot gap lands on the next page's first
// line, and one below everything on the last line.
std::int32_t LineUnderPointer(LONG y, std::int32_t pageGap) {
    for (std::int32_t i = Doc.ViewTop; i < Doc.LineCount; ++i) {
        if (y < LineY(i, pageGap) + Doc.LineHeight) return i;
    }
    return Doc.LineCount - 1;
}

// The caret goes next to the character under the pointer. In reversed order it goes to
// the character's right edge, before it in logical order, whichever half was clicked; in
// bidirectional order to the place nearest the pointer where the caret stands (see
// CaretX), the earlier in the text of two that stand together.
std::int32_t PositionUnderPointer(HDC dc, std::int32_t lineIndex, LONG x) {
    const LineRecord& record = Doc.LineTable[lineIndex];
    const OrderedLine line = OrderLine(dc, lineIndex);
    const std::int32_t v = line.VisibleEnd;
    // Past the text's end. A line ended by a break or the terminator takes the caret after
    // its last character; a line broken for width keeps it before its last byte, which is
    // still on this line.
    const std::int32_t afterLast = v != record.End ? v + 1 : record.End;
    if (InBidirectionalOrder()) {
        std::int32_t best = afterLast;
        std::int32_t distance = std::abs(CaretX(line, afterLast) - x);
        for (std::int32_t pos = std::min(v, afterLast - 1); pos >= line.Start; --pos) {
            const std::int32_t d = std::abs(CaretX(line, pos) - x);
            if (d <= distance) {
                best = pos;
                distance = d;
            }
        }
        return best;
    }
    if (x < line.Left) return afterLast;
    for (std::int32_t k = 0; k < line.Count; ++k) {
        const std::int32_t right = EdgeX(line, k + 1);
        if (x >= right) continue;
        return PositionOfSlot(line, k);
    }
    return line.Start;
}

// The character drawn under the pointer, or -1 left of the line's text.
std::int32_t CharacterUnderPointer(HDC dc, std::int32_t lineIndex, LONG x) {
    const OrderedLine line = OrderLine(dc, lineIndex);
    if (x < line.Left) return -1;
    for (std::int32_t k = 0; k < line.Count; ++k) {
        if (x < EdgeX(line, k + 1)) return PositionOfSlot(line, k);
    }
    return -1;
}

void ExtendSelection(std::int32_t q, std::int32_t w) {
    std::int32_t s0 = Doc.SelectionStart;
    std::int32_t e0 = Doc.SelectionEnd;
    if (q == s0) {
        if (w < s0) {
            Doc.SelectionStart = w;
            RefreshRange(w, s0);
        } else if (w > s0 && w <= e0) {
            Doc.SelectionStart = w;
            RefreshRange(s0, w);
        } else if (w > e0) {
            // The caret end crosses the anchor: the old range goes, the new one comes.
            Doc.SelectionStart = e0;
            RefreshRange(s0, e0);
            Doc.SelectionEnd = w;
            RefreshRange(e0, w);
        }
    } else if (q == e0) {
        if (w > e0) {
            Doc.SelectionEnd = w;
            RefreshRange(e0, w);
        } else if (w >= s0 && w < e0) {
            Doc.SelectionEnd = w;
            RefreshRange(w, e0);
        } else if (w < s0) {
            Doc.SelectionEnd = s0;
            RefreshRange(s0, e0);
            Doc.SelectionStart = w;
            RefreshRange(w, s0);
        }
    }
}

void UpdateSelection(std::int32_t q, std::int32_t w) {
    bool shift = GetKeyState(VK_SHIFT) < 0;
    if (Doc.SelectionActive == 1) {
        if (shift) {
            ExtendSelection(q, w);
            return;
        }
        Doc.SelectionActive = 0;
        RefreshRange(Doc.SelectionStart, Doc.SelectionEnd);
        Doc.SelectionStart = w;
        Doc.SelectionEnd = w;
        return;
    }
    Doc.SelectionStart = q;
    Doc.SelectionEnd = q;
    if (!shift) return;
    Doc.SelectionActive = 1;
    if (w < q) {
        Doc.SelectionStart = w;
        RefreshRange(w, q);
    } else if (w > q) {
        Doc.SelectionEnd = w;
        RefreshRange(q, w);
    }
}

void ClickInText(HDC dc, LONG x, LONG y, std::int32_t pageGap) {
    BreakUndoGroup();  // the caret moves: the edit being built ends
    if (Doc.PaletteMode == 1) {
        Doc.PaletteMode = 0;
        RefreshPaletteItem(Doc.PaletteFocus);
        RefreshTextFocusStrip();
    }
    std::int32_t q = Doc.Caret;
    Doc.Caret = PositionUnderPointer(dc, LineUnderPointer(y, pageGap), x);
    if (y >= BelowLastLine(pageGap)) Doc.Caret = Doc.TextLength - 1;
    if (Doc.Caret != q) {
        RefreshCaret(q);
        RefreshCaret(Doc.Caret);
    }
    UpdateSelection(q, Doc.Caret);
    FollowCaret();
}

// The palette takes the keyboard focus, on the given item.
void FocusPaletteItem(std::int32_t item) {
    std::int32_t old = Doc.PaletteFocus;
    Doc.PaletteFocus = item;
    if (Doc.PaletteMode == 1) {
        if (item != old) {
            RefreshPaletteItem(old);
            RefreshPaletteItem(item);
        }
        return;
    }
    Doc.PaletteMode = 1;
    RefreshTextFocusStrip();
    RefreshPaletteItem(item);
}

bool ClickInPalette(LONG x, LONG y) {
    int item = 0;
    while (item < PaletteItemCount && !Contains(Geo.PaletteItemRects[item], x, y)) ++item;
    if (item == PaletteItemCount) return false;

    if (item >= PaletteIndicator && item < PaletteFirstCell) {
        // The indicator and the headers are not buttons: they hand the focus to the item
        // that acts for them, the Up button or the cell below the header.
        FocusPaletteItem(item == PaletteIndicator ? PaletteUp : item + 10);
        return false;
    }
    FocusPaletteItem(item);
    HandleKeyDown(VK_RETURN);
    // Only a press on Up or Down repeats; the indicator also focuses Up but acts on nothing.
    return item == PaletteUp || item == PaletteDown;
}

}  // namespace

namespace {

bool HandlePress(LPARAM lParam, bool doubleClick) {
    auto bits = static_cast<std::uintptr_t>(lParam);
    auto x = static_cast<LONG>(LOWORD(bits));
    auto y = static_cast<LONG>(HIWORD(bits));

    ScreenTextContext screen;
    std::int32_t pageGap = PageGap(screen.logPixelsY());
    bool inText = Geo.TextLeft <= x && x < Geo.TextRight && Geo.TextTop <= y &&
                  y < DocumentBottom(screen.logPixelsY(), pageGap);
    if (inText && doubleClick) {
        // The first press has placed the caret; a point below the last line chooses nothing.
        const std::int32_t line = LineUnderPointer(y, pageGap);
        if (y < BelowLastLine(pageGap)) SelectWordAt(CharacterUnderPointer(screen.dc(), line, x));
        return false;
    }
    if (inText) {
        ClickInText(screen.dc(), x, y, pageGap);
        return false;
    }
    return Contains(Geo.PaletteFrame, x, y) && ClickInPalette(x, y);
}

}  // namespace

bool HandleLeftButtonDown(LPARAM lParam) { return HandlePress(lParam, false); }

bool HandleLeftButtonDoubleClick(LPARAM lParam) { return HandlePress(lParam, true); }

void HandleMouseWheel(WPARAM wParam, LPARAM lParam) {
    const auto delta = static_cast<std::int16_t>(HIWORD(wParam));
    const std::int32_t notches = WheelNotches(delta);
    if (notches == 0) return;
    // The pointer comes in screen coordinates, signed.
    const auto bits = static_cast<std::uintptr_t>(lParam);
    POINT pointer{static_cast<std::int16_t>(LOWORD(bits)), static_cast<std::int16_t>(HIWORD(bits))};
    ScreenToClient(Doc.MainWindow, &pointer);
    if (Contains(Geo.PaletteFrame, pointer.x, pointer.y)) {
        StepPaletteBank(-notches);  // forward is Up
    } else {
        ScrollByWheel(notches);
    }
}

}  // namespace nv
