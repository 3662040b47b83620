#include "input/visual_move.h"

#include <algorithm>

#include "document/document_font.h"
#include "document/layout.h"
#include "document/store.h"
#include "view/line_order.h"

namespace nv {

namespace {

// The last position on a display line: before its line break, the terminator, or before
// the last byte of a line broken for width (the position after it is the next line's).
std::int32_t LastPositionOf(const LineRecord& record) {
    return EndsWithLineBreak(record) ? record.End - 1 : record.End;
}

// For each slot boundary of an ordered line, the position the caret stops at there (-1:
// none): the first in text order of those standing there, and the line's last position
// for those past its visible end, which stand together.
struct CaretStops {
    std::int32_t At[TextLimit + 1];
};
CaretStops Stops;

void FindStops(const OrderedLine& line, std::int32_t last) {
    std::fill(Stops.At, Stops.At + line.Count + 1, -1);
    auto put = [&line](std::int32_t pos) {
        std::int32_t& at = Stops.At[CaretEdge(line, pos)];
        if (at < 0) at = pos;
    };
    for (std::int32_t pos = line.Start; pos <= std::min(line.VisibleEnd, last); ++pos) put(pos);
    if (last > line.VisibleEnd) put(last);
}

// The first stop from boundary `from` on in steps of `step`, or -1.
std::int32_t StopFrom(const OrderedLine& line, std::int32_t from, int step) {
    for (std::int32_t e = from; e >= 0 && e <= line.Count; e += step) {
        if (Stops.At[e] >= 0) return Stops.At[e];
    }
    return -1;
}

// The stop nearest one end of a line: its visual start or end.
std::int32_t EndOfLine(std::int32_t index, bool visualStart) {
    ScreenTextContext screen;
    const OrderedLine line = OrderLine(screen.dc(), index);
    FindStops(line, LastPositionOf(Doc.LineTable[index]));
    const bool fromLeft = visualStart == line.LeftToRight;
    const std::int32_t stop = fromLeft ? StopFrom(line, 0, 1) : StopFrom(line, line.Count, -1);
    return stop >= 0 ? stop : line.Start;
}

std::int32_t Step(std::int32_t pos, bool toLeft) {
    const std::int32_t index = LineOfPosition(pos);
    bool leftToRight = false;
    {
        ScreenTextContext screen;
        const OrderedLine line = OrderLine(screen.dc(), index);
        leftToRight = line.LeftToRight;
        FindStops(line, LastPositionOf(Doc.LineTable[index]));
        const int step = toLeft ? -1 : 1;
        const std::int32_t stop = StopFrom(line, CaretEdge(line, pos) + step, step);
        if (stop >= 0) return stop;
    }
    if (toLeft != leftToRight) {
        return index + 1 < Doc.LineCount ? EndOfLine(index + 1, true) : pos;
    }
    return index > 0 ? EndOfLine(index - 1, false) : pos;
}

}  // namespace

std::int32_t PositionLeftOf(std::int32_t pos) { return Step(pos, true); }
std::int32_t PositionRightOf(std::int32_t pos) { return Step(pos, false); }
std::int32_t VisualStartOf(std::int32_t line) { return EndOfLine(line, true); }
std::int32_t VisualEndOf(std::int32_t line) { return EndOfLine(line, false); }

}  // namespace nv
