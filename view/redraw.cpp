#include "view/redraw.h"

#include <algorithm>
#include <iterator>

#include "document/advance_table.h"
#include "document/document_font.h"
#include "document/layout.h"
#include "view/geometry.h"
#include "view/line_order.h"
#include "view/text_paint.h"

namespace nv {

namespace {

struct GatheredRepaints {
    int Batches = 0;  // the RepaintBatch objects alive
    int Count = 0;
    RECT Rects[8];
};

GatheredRepaints Gathered;

void InvalidateGathered() {
    for (int k = 0; k < Gathered.Count; ++k) InvalidateRect(Doc.MainWindow, &Gathered.Rects[k], 1);
    Gathered.Count = 0;
}

void Repaint(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    RECT area{left, top, right, bottom};
    if (Gathered.Batches == 0) {
        InvalidateRect(Doc.MainWindow, &area, 1);
        return;
    }
    if (left >= right || top >= bottom) return;  // invalidates nothing
    for (int k = 0; k < Gathered.Count; ++k) {
        RECT& rect = Gathered.Rects[k];
        if (rect.top == top && rect.bottom == bottom) {
            rect.left = std::min(rect.left, left);
            rect.right = std::max(rect.right, right);
            return;
        }
    }
    if (Gathered.Count == static_cast<int>(std::size(Gathered.Rects))) InvalidateGathered();
    Gathered.Rects[Gathered.Count++] = area;
}

// A screen device context of the main window with the document font selected, and the
// page gap at its resolution: what every refresh measures with.
class RefreshContext {
public:
    RefreshContext() : pageGap_(PageGap(screen_.logPixelsY())) {}

    HDC dc() const { return screen_.dc(); }
    const AdvanceTable& advances() const { return screen_.advances(); }
    std::int32_t pageGap() const { return pageGap_; }
    std::int32_t LineTop(std::int32_t line) const { return LineY(line, pageGap_); }

    std::int32_t LineBreakBlock() const {
        const std::uint8_t lineBreak[2] = {CarriageReturn, LineFeed};
        std::int32_t width = 0;
        std::int32_t height = 0;
        MeasureWithTable(advances(), lineBreak, 2, &width, &height);
        return width;
    }

private:
    ScreenTextContext screen_;
    std::int32_t pageGap_;
};

void RefreshLineIn(const RefreshContext& context, std::int32_t line, std::int32_t pos) {
    std::int32_t y = context.LineTop(line);
    if (!IsOnScreen(y)) return;
    // In bidirectional order a change anywhere may reorder the whole line.
    if (InBidirectionalOrder()) {
        Repaint(0, y, Geo.ClientWidth, y + Doc.LineHeight);
        return;
    }
    OrderedLine ordered = OrderLine(context.dc(), line);
    // A glyph may reach right of its advance by the font's largest right overhang (a
    // negative abcC): widen the rectangle by it so that no ink of the old text remains.
    std::int32_t right = CaretX(ordered, pos) - context.advances().Overhang;
    Repaint(0, y, right, y + Doc.LineHeight);
}

// The x range covering the drawn bytes of positions start..end-1 on a line; where the
// caret at start stands when it holds none of them.
struct Span {
    std::int32_t Left;
    std::int32_t Right;
};

Span SpanOf(const OrderedLine& line, std::int32_t start, std::int32_t end) {
    const std::int32_t caret = CaretX(line, start);
    Span span{caret, caret};
    bool any = false;
    ForEachStretch(line, start, end, [&](std::int32_t left, std::int32_t right, std::int32_t) {
        span.Left = any ? std::min(span.Left, left) : left;
        span.Right = any ? std::max(span.Right, right) : right;
        any = true;
    });
    return span;
}

// In bidirectional order the levels belong to a whole paragraph, so an edit may reorder
// lines of the paragraphs it touched whose own text stayed: those whose levels changed are
// repainted whole, each run of them in one rectangle.
void RepaintReorderedLines(const RefreshContext& context, const OldLines& old, std::int32_t p,
                           std::int32_t removed, std::int32_t inserted) {
    // The lines of the paragraphs the edit touched, from the first one shown, that hold a
    // byte whose level it may have changed.
    std::int32_t from = 0;
    std::int32_t to = 0;
    BytesTheEditMayReorder(&from, &to);
    if (to < from) return;
    std::int32_t first = LineOfPosition(p);
    const std::int32_t firstHeld = LineOfPosition(from);
    while (first > std::max(Doc.ViewTop, firstHeld) &&
           !EndsWithLineBreak(Doc.LineTable[first - 1])) {
        --first;
    }
    std::int32_t last = LineOfPosition(p + inserted);
    const std::int32_t lastOfBoth =
        std::min(std::min(old.Count, Doc.LineCount) - 1, LineOfPosition(to));
    while (last < lastOfBoth && !EndsWithLineBreak(Doc.LineTable[last]) &&
           context.LineTop(last + 1) < Geo.ClientHeight) {
        ++last;
    }
    last = std::min(last, lastOfBoth);
    const std::int32_t shift = inserted - removed;
    std::int32_t runTop = -1;
    std::int32_t runBottom = -1;
    for (std::int32_t i = std::max(first, Doc.ViewTop); i <= last + 1; ++i) {
        bool reordered = false;
        const std::int32_t y = i <= last ? context.LineTop(i) : Geo.ClientHeight;
        if (i <= last && y < Geo.ClientHeight) {
            const LineRecord& now = Doc.LineTable[i];
            std::int32_t s = old.Lines[i].Start;
            std::int32_t e = old.Lines[i].End;
            const bool touched = (s < p && p <= e) || (p <= s && s < p + removed);
            if (s >= p + removed) {
                s += shift;
                e += shift;
            }
            // A line whose text or place changed is repainted whole by the other rules.
            reordered = !touched && now.Start == s && now.End == e && VisibleEnd(now) >= s &&
                        LevelsMayHaveChanged(s, VisibleEnd(now), s >= p + inserted ? s - shift : s);
        }
        if (reordered) {
            if (runTop < 0) runTop = y;
            runBottom = y + Doc.LineHeight;
            continue;
        }
        if (runTop >= 0) Repaint(0, runTop, Geo.ClientWidth, runBottom);
        runTop = -1;
        if (y >= Geo.ClientHeight) break;
    }
}

// The first window row below line m - 1, page gap included when line m starts a page.
std::int32_t RowBelowLine(std::int32_t m, std::int32_t pageGap) {
    std::int32_t y = Geo.TextTop + (m - Doc.ViewTop) * Doc.LineHeight +
                     ((m - 1) / Doc.LinesPerPage - Doc.ViewTop / Doc.LinesPerPage) * pageGap;
    return std::max(y, Geo.TextTop);
}

}  // namespace

RepaintBatch::RepaintBatch() { ++Gathered.Batches; }

RepaintBatch::~RepaintBatch() {
    if (--Gathered.Batches == 0) InvalidateGathered();
}

void RefreshCaret(std::int32_t pos) {
    RefreshContext context;
    std::int32_t line = LineOfPosition(pos);
    std::int32_t y = context.LineTop(line);
    if (!IsOnScreen(y)) return;
    OrderedLine ordered = OrderLine(context.dc(), line);
    std::int32_t x = CaretX(ordered, pos);
    Repaint(x - 1, y, x, y + Doc.LineHeight);
}

std::int32_t EraseCaret() {
    const std::int32_t caret = Doc.Caret;
    Doc.Caret = caret + 1;
    RefreshCaret(caret);
    return caret;
}

void RefreshLineFrom(std::int32_t line, std::int32_t pos) {
    RefreshContext context;
    RefreshLineIn(context, line, pos);
}

void RefreshRange(std::int32_t start, std::int32_t end) {
    RefreshContext context;
    std::int32_t first = LineOfPosition(start);
    std::int32_t last = LineOfPosition(end);

    std::int32_t y = context.LineTop(first);
    if (IsOnScreen(y)) {
        OrderedLine line = OrderLine(context.dc(), first);
        const LineRecord& record = Doc.LineTable[first];
        Span span = SpanOf(line, start, end);
        if (end > record.End) {
            // On to the line's end, left or right.
            (line.LeftToRight ? span.Right : span.Left) = line.LeftToRight ? Geo.ClientWidth : 0;
        } else if (EndsWithLineBreak(record) && end > line.VisibleEnd + 1) {
            // A range that ends between the carriage return and the line feed is highlighted
            // over the line-break block too (see PaintSelection): cover it.
            const std::int32_t block = context.LineBreakBlock();
            const std::int32_t blockLeft = LineBreakBlockLeft(line, block);
            span.Left = std::min(span.Left, blockLeft);
            span.Right = std::max(span.Right, blockLeft + block);
        }
        Repaint(span.Left, y, span.Right, y + Doc.LineHeight);
    }
    for (std::int32_t m = std::max(first + 1, Doc.ViewTop); m < last; ++m) {
        y = context.LineTop(m);
        if (y < Geo.TextTop) continue;
        if (y >= Geo.ClientHeight) break;
        Repaint(0, y, Geo.ClientWidth, y + Doc.LineHeight);
    }
    if (last > first) {
        y = context.LineTop(last);
        if (IsOnScreen(y)) {
            OrderedLine line = OrderLine(context.dc(), last);
            const Span span = SpanOf(line, line.Start, end);
            if (line.LeftToRight) {
                Repaint(0, y, span.Right, y + Doc.LineHeight);
            } else {
                Repaint(span.Left, y, Geo.ClientWidth, y + Doc.LineHeight);
            }
        }
    }
}

bool TakeOldLines(OldLines* copy) {
    *copy = OldLines{};
    std::size_t bytes = sizeof(LineRecord) * static_cast<std::size_t>(Doc.LineCount);
    auto* lines = static_cast<LineRecord*>(HeapAlloc(HEAP_ZERO_MEMORY, bytes));
    if (lines == nullptr) return false;
    for (std::int32_t i = 0; i < Doc.LineCount; ++i) {
        lines[i].Start = Doc.LineTable[i].Start;
        lines[i].End = Doc.LineTable[i].End;
    }
    copy->Lines = lines;
    copy->Count = Doc.LineCount;
    copy->ViewTop = Doc.ViewTop;
    return true;
}

void FreeOldLines(OldLines* copy) {
    if (copy->Lines != nullptr) HeapFree(copy->Lines);
    *copy = OldLines{};
}

void RepaintChangedLines(const OldLines& old, std::int32_t p, std::int32_t removed,
                         std::int32_t inserted) {
    RefreshContext context;
    // The layout keeps ViewTop inside the new scroll range; when that moved the view,
    // every line on the screen stands somewhere else now.
    if (Doc.ViewTop != old.ViewTop) {
        Repaint(0, Geo.TextTop, Geo.ClientWidth, Geo.ClientHeight);
        return;
    }
    std::int32_t common = std::min(old.Count, Doc.LineCount);
    std::int32_t shift = inserted - removed;
    for (std::int32_t i = std::max(Doc.ViewTop, 0); i < common; ++i) {
        if (context.LineTop(i) >= Geo.ClientHeight) break;
        std::int32_t s = old.Lines[i].Start;
        std::int32_t e = old.Lines[i].End;
        std::int32_t newStart = Doc.LineTable[i].Start;
        std::int32_t newEnd = Doc.LineTable[i].End;
        if (s < p && p <= e) {
            // The edit begins inside the line.
            if (newStart != s) {
                RefreshLineIn(context, i, newStart);
                continue;
            }
            std::int32_t from = std::min(p, newEnd + 1);
            // An edit that begins on the line feed of a line break leaves the carriage
            // return before it alone, and that byte turns from part of the line break
            // into a visible character: repaint from it.
            if (p == e && p >= 1 && Doc.TextBuffer[p - 1] == CarriageReturn) {
                from = std::min(from, p - 1);
            }
            RefreshLineIn(context, i, from);
            continue;
        }
        if (p <= s && s < p + removed) {
            // The line began inside the removed bytes.
            RefreshLineIn(context, i, newStart);
            continue;
        }
        if (s >= p + removed) {
            // After the edit: the old line's bytes moved by the net change.
            s += shift;
            e += shift;
        }
        if (newStart != s) {
            RefreshLineIn(context, i, newStart);
        } else if (newEnd != e) {
            RefreshLineIn(context, i, std::min(newEnd, e) + 1);
        }
    }
    if (InBidirectionalOrder() && p != NoEditPosition) {
        RepaintReorderedLines(context, old, p, removed, inserted);
    }
    if (old.Count != Doc.LineCount) {
        // The lines that came or went below the last common line. Below both the old and
        // the new last line the window is blank, unless the page count changed and with it
        // the page rules: then all of it is repainted. So a line typed at the end costs one
        // line, not the rest of the window.
        std::int32_t y = RowBelowLine(common, context.pageGap());
        std::int32_t bottom = Geo.ClientHeight;
        auto pages = [](std::int32_t lines) { return (lines - 1) / Doc.LinesPerPage; };
        if (pages(old.Count) == pages(Doc.LineCount)) {
            const std::int32_t longer = std::max(old.Count, Doc.LineCount);
            bottom = std::min(bottom, RowBelowLine(longer, context.pageGap()));
        }
        if (y < bottom) Repaint(0, y, Geo.ClientWidth, bottom);
    }
}

void FollowCaret() {
    std::int32_t before = Doc.ViewTop;
    KeepCaretInView();
    if (Doc.ViewTop != before) ScrollTextArea(before, Doc.ViewTop);
}

}  // namespace nv
