#include "view/text_paint.h"

#include <algorithm>
#include <cstring>

#include "document/advance_table.h"
#include "document/layout.h"
#include "document/store.h"
#include "view/geometry.h"
#include "view/glyph_run.h"
#include "view/line_order.h"

namespace nv {

namespace {

// The y of a rule across the text column that scrolls with the pages: offset rows below
// the top of the document strip, shifted so that line ViewTop is at TextTop.
std::int32_t DocumentRowY(std::int32_t offset, std::int32_t pageGap) {
    return offset - (Doc.ViewTop / Doc.LinesPerPage) * pageGap - Doc.ViewTop * Doc.LineHeight;
}

void Rule(HDC dc, std::int32_t y) {
    MoveToEx(dc, Geo.TextLeft, y);
    LineTo(dc, Geo.TextRight, y);
}

std::int32_t LineBreakBlock(HDC dc) {
    const std::uint8_t lineBreak[2] = {CarriageReturn, LineFeed};
    std::int32_t width = 0;
    std::int32_t height = 0;
    MeasureOn(dc, lineBreak, 2, &width, &height);
    return width;
}

void Invert(HDC dc, std::int32_t left, std::int32_t right, std::int32_t y) {
    PatBlt(dc, left, y, right - left, Doc.LineHeight, DSTINVERT);
}

// A line whose rows, with a line's height to spare above and below for glyphs that reach
// out of their cell, miss the paint area draws nothing there; skipping it leaves the same
// pixels and keeps a one-line repaint from drawing the whole screen.
bool MissesPaintArea(const RECT& paintArea, std::int32_t y) {
    return y + 2 * Doc.LineHeight <= paintArea.top || y - Doc.LineHeight >= paintArea.bottom;
}

}  // namespace

void PaintPageLines(HDC dc) {
    int logPixelsY = GetDeviceCaps(dc, LOGPIXELSY);
    std::int32_t pageGap = PageGap(logPixelsY);
    std::int32_t pageHeight = Doc.PageHeightInches * logPixelsY;
    std::int32_t pages = PageCount();

    Rule(dc, Geo.TextTop - 1);
    for (std::int32_t p = 1; p < pages; ++p) {
        std::int32_t y = DocumentRowY(Geo.TextTop - 1 + p * pageHeight, pageGap);
        if (y >= Geo.ClientHeight) break;  // the rules only go further down
        if (y >= Geo.TextTop) Rule(dc, y);
    }
    std::int32_t end = DocumentRowY(Geo.TextTop + pages * pageHeight, pageGap);
    if (IsOnScreen(end)) Rule(dc, end);
    if (Doc.PaletteMode == 0) Rule(dc, Geo.TextTop - 2);
}

void PaintText(HDC dc) {
    SetBkMode(dc, TRANSPARENT);
    std::memset(Doc.DrawnLineBytes, 0, sizeof Doc.DrawnLineBytes);
    MeasuredDocumentFont font(dc);
    std::int32_t pageGap = PageGap(font.LogPixelsY());
    const AdvanceTable& advances = font.Advances();
    RECT paintArea;
    GetClipBox(dc, &paintArea);
    // Lines stand lower the later they come, and the ones before ViewTop are above the
    // text area, so the scan can begin at ViewTop and end at the first line below it.
    for (std::int32_t i = std::max(Doc.ViewTop, 0); i < Doc.LineCount; ++i) {
        std::int32_t y = LineY(i, pageGap);
        if (y >= Geo.ClientHeight) break;
        if (y < Geo.TextTop || MissesPaintArea(paintArea, y)) continue;
        OrderedLine line = OrderLine(dc, i);
        SetTextAlign(dc, TA_LEFT | TA_TOP);
        DrawRun(dc, advances, line.Left, y, Doc.DrawnLineBytes, line.Count);
    }
}

void PaintCaret(HDC dc) {
    if (Doc.Caret < 0 || Doc.Caret > Doc.TextLength - 1) return;
    MeasuredDocumentFont font(dc);
    std::int32_t line = LineOfPosition(Doc.Caret);
    OrderedLine ordered = OrderLine(dc, line);
    std::int32_t x = CaretX(ordered, Doc.Caret) - 1;
    std::int32_t y = LineY(line, PageGap(font.LogPixelsY()));
    if (!IsOnScreen(y)) return;
    MoveToEx(dc, x, y);
    LineTo(dc, x, y + Doc.LineHeight);
}

void PaintSelection(HDC dc) {
    if (Doc.SelectionActive == 0 || Doc.SelectionStart == Doc.SelectionEnd) return;
    MeasuredDocumentFont font(dc);
    std::int32_t pageGap = PageGap(font.LogPixelsY());
    std::int32_t block = LineBreakBlock(dc);
    std::int32_t first = LineOfPosition(Doc.SelectionStart);
    std::int32_t last = LineOfPosition(Doc.SelectionEnd);

    std::int32_t y = LineY(first, pageGap);
    if (IsOnScreen(y)) {
        OrderedLine line = OrderLine(dc, first);
        // The line-break block stands past the line's end, left of a right-to-left line and
        // right of a left-to-right one: it joins the stretch that reaches there.
        const bool withBlock =
            EndsWithLineBreak(Doc.LineTable[first]) && Doc.SelectionEnd > line.VisibleEnd + 1;
        const std::int32_t blockLeft = LineBreakBlockLeft(line, block);
        bool blockDrawn = false;
        ForEachStretch(line, Doc.SelectionStart, Doc.SelectionEnd,
                       [&](std::int32_t left, std::int32_t right, std::int32_t firstSlot) {
                           if (withBlock && !line.LeftToRight && firstSlot == 0) {
                               left = blockLeft;
                               blockDrawn = true;
                           } else if (withBlock && line.LeftToRight && right == blockLeft) {
                               right = blockLeft + block;
                               blockDrawn = true;
                           }
                           Invert(dc, left, right, y);
                       });
        if (withBlock && !blockDrawn) Invert(dc, blockLeft, blockLeft + block, y);
    }
    for (std::int32_t m = std::max(first + 1, Doc.ViewTop); m < last; ++m) {
        y = LineY(m, pageGap);
        if (y >= Geo.ClientHeight) break;
        if (y < Geo.TextTop) continue;
        OrderedLine line = OrderLine(dc, m);
        const std::int32_t withBlock = EndsWithLineBreak(Doc.LineTable[m]) ? block : 0;
        if (line.LeftToRight) {
            Invert(dc, Geo.TextLeft, line.Left + line.Width + withBlock, y);
        } else {
            Invert(dc, line.Left - withBlock, Geo.TextRight, y);
        }
    }
    if (last > first) {
        y = LineY(last, pageGap);
        if (IsOnScreen(y)) {
            OrderedLine line = OrderLine(dc, last);
            ForEachStretch(line, line.Start, Doc.SelectionEnd,
                           [&](std::int32_t left, std::int32_t right, std::int32_t) {
                               Invert(dc, left, right, y);
                           });
        }
    }
}

}  // namespace nv
