// The order in which a display line's visible bytes are drawn, left to right, and the byte
// drawn for each. Painting, the caret, the selection, hit testing, the repaint of a changed
// line and printing all take the line from here; none of them orders a line itself.
//
// * Reversed order: the line turned around, every character read from the right.
// * Bidirectional order: each paragraph (the text between line breaks) takes the direction
//   of its first strong character, the marks 0xFD and 0xFE included (right to left when it
//   has none), and gets the levels of the Unicode bidirectional algorithm at that paragraph
//   level from the system (ScriptItemize); each display line is reordered with its part of
//   them (ScriptLayout), and mirrored characters in right-to-left runs are drawn mirrored.
//   A left-to-right paragraph's lines stand at the column's left edge.
//
// The order of the line last ordered lives in scratch storage (with its bytes in
// DrawnLineBytes) until the next line is ordered.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace nv {

// The Line Order choices, by their menu commands.
constexpr std::int32_t LineOrderReversed = 46000;
constexpr std::int32_t LineOrderBidirectional = 46001;

bool InBidirectionalOrder();

// Whether the paragraph holding pos reads left to right: only in Bidirectional order, and
// only when its first strong character says so.
bool LeftToRightParagraphAt(std::int32_t pos);

struct OrderedLine {
    std::int32_t Start = 0;
    std::int32_t VisibleEnd = 0;  // before Start for an empty line
    std::int32_t Count = 0;       // visible bytes
    std::int32_t Width = 0;       // of the visible bytes
    std::int32_t Left = 0;        // TextRight - Width, or TextLeft for a left-to-right line
    bool LeftToRight = false;     // in a left-to-right paragraph: aligned left
};

// Orders a display line and measures it in the font selected into dc.
OrderedLine OrderLine(HDC dc, std::int32_t line);

// The x of the boundary left of the k-th drawn byte (k = Count: the line's right end).
std::int32_t EdgeX(const OrderedLine& line, std::int32_t k);
// The position whose byte is drawn k-th.
std::int32_t PositionOfSlot(const OrderedLine& line, std::int32_t k);
// The slot a visible position is drawn in, and whether it belongs to a right-to-left run.
std::int32_t SlotOfPosition(const OrderedLine& line, std::int32_t pos);
bool IsRightToLeft(const OrderedLine& line, std::int32_t pos);

// Where the caret at pos stands, as the boundary of drawn slots (0: the line's left end)
// and as x: at the leading edge of the character there (the right edge in a right-to-left
// run, the left edge in a left-to-right one), except where a run nested deeper ends before
// pos (a Latin word or a number in Hebrew, a Hebrew word in Latin), where it stays by the
// trailing edge of that run's last character; past the visible end, at the trailing edge
// of the line's last character in logical order. In Reversed order every line is one
// right-to-left run.
std::int32_t CaretEdge(const OrderedLine& line, std::int32_t pos);
std::int32_t CaretX(const OrderedLine& line, std::int32_t pos);

// The x range of the line-break block shown selected at a line's end: left of a
// right-to-left line, right of a left-to-right one.
inline std::int32_t LineBreakBlockLeft(const OrderedLine& line, std::int32_t block) {
    return line.LeftToRight ? line.Left + line.Width : line.Left - block;
}

// Calls visit(left, right, firstSlot) for each stretch of adjacent drawn bytes whose
// positions lie in start..end-1, from left to right.
template <typename Visit>
void ForEachStretch(const OrderedLine& line, std::int32_t start, std::int32_t end, Visit visit) {
    std::int32_t k = 0;
    auto inside = [&](std::int32_t slot) {
        std::int32_t pos = PositionOfSlot(line, slot);
        return start <= pos && pos < end;
    };
    while (k < line.Count) {
        if (!inside(k)) {
            ++k;
            continue;
        }
        const std::int32_t first = k;
        while (k < line.Count && inside(k)) ++k;
        visit(EdgeX(line, first), EdgeX(line, k), first);
    }
}

// The paragraph whose levels are kept follows the text. Called just before an edit
// replaces `removed` bytes at p with `count` bytes.
void NoteTextEdit(std::int32_t p, std::int32_t removed, const std::uint8_t* inserted,
                  std::int32_t count);
// The whole text was put in place (Open, New, a recovered copy) or laid out again.
void NoteTextReplaced();

// After an edit: the bytes (at their new places) whose levels it may have changed, none
// when last < first; and false when the bytes from..to of the text are known to have the
// levels that the bytes at oldFrom had before it.
void BytesTheEditMayReorder(std::int32_t* first, std::int32_t* last);
bool LevelsMayHaveChanged(std::int32_t from, std::int32_t to, std::int32_t oldFrom);

// Forgets every level kept (tests change what the system answers).
void ForgetParagraphLevels();

}  // namespace nv
