#include "view/line_order.h"

#include <algorithm>
#include <cstring>

#include "document/advance_table.h"
#include "document/store.h"
#include "view/geometry.h"
#include "view/glyph_characters.h"

namespace nv {

namespace {

// Every display line's levels sit in a right-to-left paragraph.
constexpr std::uint8_t ParagraphLevel = 1;

// The line last ordered: for each drawn slot the offset of its byte in the line, for each
// offset its slot and level, and the x of each slot boundary from the line's left end.
struct LineScratch {
    int Visual[TextLimit];
    int Slot[TextLimit];
    std::uint8_t Level[TextLimit];
    std::int32_t Edge[TextLimit + 1];
};
LineScratch Line;

// The levels of the paragraph last asked for, kept with its text: the lines of one
// paragraph are ordered one after another, and its text changes only by an edit.
struct ParagraphCache {
    bool Valid = false;
    std::int32_t Start = 0;
    std::int32_t Length = 0;
    std::uint8_t Text[TextLimit];
    std::uint8_t Levels[TextLimit];
    WORD Units[TextLimit];
    SCRIPT_ITEM Items[TextLimit + 1];
};
ParagraphCache Paragraph;

// The levels of the paragraph at start, length bytes long, or null when the system could
// not give them.
const std::uint8_t* ParagraphLevels(std::int32_t start, std::int32_t length) {
    ParagraphCache& p = Paragraph;
    if (p.Valid && p.Start == start && p.Length == length &&
        std::memcmp(p.Text, Doc.TextBuffer + start, static_cast<std::size_t>(length)) == 0) {
        return p.Levels;
    }
    p.Valid = false;
    if (length <= 0) return nullptr;
    for (std::int32_t i = 0; i < length; ++i)
        p.Units[i] = GlyphCharacter[Doc.TextBuffer[start + i]];
    SCRIPT_CONTROL control{};
    SCRIPT_STATE state{};
    state.uBidiLevel = ParagraphLevel;
    int count = 0;
    if (ScriptItemize(p.Units, length, TextLimit + 1, &control, &state, p.Items, &count) != S_OK ||
        count < 1 || count > length) {
        return nullptr;
    }
    std::memset(p.Levels, ParagraphLevel, static_cast<std::size_t>(length));
    for (int j = 0; j < count; ++j) {
        const int from = std::clamp(p.Items[j].iCharPos, 0, length);
        const int to = std::clamp(p.Items[j + 1].iCharPos, from, length);
        std::memset(p.Levels + from, p.Items[j].a.s.uBidiLevel,
                    static_cast<std::size_t>(to - from));
    }
    std::memcpy(p.Text, Doc.TextBuffer + start, static_cast<std::size_t>(length));
    p.Start = start;
    p.Length = length;
    p.Valid = true;
    return p.Levels;
}

// Reorders the visible bytes of a display line by its paragraph's levels; false when the
// system could not, and the line is then shown reversed.
bool OrderByLevels(std::int32_t index, const OrderedLine& line) {
    std::int32_t first = 0;
    std::int32_t last = 0;
    ParagraphLines(index, &first, &last);
    const std::int32_t start = Doc.LineTable[first].Start;
    const std::int32_t length = VisibleEnd(Doc.LineTable[last]) - start + 1;
    const std::uint8_t* levels = ParagraphLevels(start, length);
    if (levels == nullptr) return false;
    const std::int32_t n = line.Count;
    std::memcpy(Line.Level, levels + (line.Start - start), static_cast<std::size_t>(n));
    // The white space at the line's end and before a separator, and the separators, go back
    // to the paragraph level, line by line (rule L1): a line broken at a space keeps that
    // space at its left end.
    bool trailing = true;
    for (std::int32_t i = n - 1; i >= 0; --i) {
        const LineEndClass kind = LineEndClassOf(Doc.TextBuffer[line.Start + i]);
        if (kind == LineEndClass::Separator) {
            Line.Level[i] = ParagraphLevel;
            trailing = true;
        } else if (kind == LineEndClass::WhiteSpace) {
            if (trailing) Line.Level[i] = ParagraphLevel;
        } else {
            trailing = false;
        }
    }
    if (ScriptLayout(n, Line.Level, Line.Visual, Line.Slot) != S_OK) return false;
    for (std::int32_t k = 0; k < n; ++k) {
        if (Line.Visual[k] < 0 || Line.Visual[k] >= n || Line.Slot[Line.Visual[k]] != k) {
            return false;
        }
    }
    return true;
}

void OrderReversed(std::int32_t n) {
    for (std::int32_t k = 0; k < n; ++k) {
        Line.Visual[k] = n - 1 - k;
        Line.Slot[k] = n - 1 - k;
        Line.Level[k] = ParagraphLevel;
    }
}

// The boundaries of the drawn bytes, each measured as the run of bytes left of it, as
// MeasureRun measures (a run holding a code whose width is unknown measures 0).
void MeasureEdges(HDC dc, std::int32_t n) {
    Line.Edge[0] = 0;
    const AdvanceTable* table = AdvancesSelectedInto(dc);
    std::int32_t height = 0;
    if (table == nullptr) {
        for (std::int32_t k = 1; k <= n; ++k) {
            MeasureOn(dc, Doc.ReversedLineBuffer, k, &Line.Edge[k], &height);
        }
        return;
    }
    std::int32_t sum = 0;
    bool failed = false;
    for (std::int32_t k = 0; k < n; ++k) {
        const std::uint8_t code = Doc.ReversedLineBuffer[k];
        failed = failed || table->Fails[code];
        sum += table->Advance[code];
        Line.Edge[k + 1] = failed ? 0 : sum;
    }
}

}  // namespace

bool InBidirectionalOrder() { return Doc.LineOrderChoice == LineOrderBidirectional; }

void ParagraphLines(std::int32_t line, std::int32_t* first, std::int32_t* last) {
    std::int32_t a = line;
    while (a > 0 && !EndsWithLineBreak(Doc.LineTable[a - 1])) --a;
    std::int32_t b = line;
    while (b < Doc.LineCount - 1 && !EndsWithLineBreak(Doc.LineTable[b])) ++b;
    *first = a;
    *last = b;
}

OrderedLine OrderLine(HDC dc, std::int32_t index) {
    const LineRecord& record = Doc.LineTable[index];
    OrderedLine line;
    line.Start = record.Start;
    line.VisibleEnd = VisibleEnd(record);
    line.Count = std::max(0, line.VisibleEnd - line.Start + 1);
    const std::int32_t n = line.Count;
    const bool bidirectional = InBidirectionalOrder() && n > 0 && OrderByLevels(index, line);
    if (!bidirectional) OrderReversed(n);
    std::memset(Doc.ReversedLineBuffer, 0, static_cast<std::size_t>(n) + 1);
    for (std::int32_t k = 0; k < n; ++k) {
        const int i = Line.Visual[k];
        const std::uint8_t byte = Doc.TextBuffer[line.Start + i];
        Doc.ReversedLineBuffer[k] =
            bidirectional && (Line.Level[i] & 1) ? MirroredByte(byte) : byte;
    }
    MeasureEdges(dc, n);
    line.Width = Line.Edge[n];
    line.Left = Geo.TextRight - line.Width;
    return line;
}

std::int32_t EdgeX(const OrderedLine& line, std::int32_t k) { return line.Left + Line.Edge[k]; }

std::int32_t PositionOfSlot(const OrderedLine& line, std::int32_t k) {
    return line.Start + Line.Visual[k];
}

std::int32_t SlotOfPosition(const OrderedLine& line, std::int32_t pos) {
    return Line.Slot[pos - line.Start];
}

bool IsRightToLeft(const OrderedLine& line, std::int32_t pos) {
    return (Line.Level[pos - line.Start] & 1) != 0;
}

std::int32_t CaretX(const OrderedLine& line, std::int32_t pos) {
    if (line.Count == 0) return line.Left;
    pos = std::max(pos, line.Start);
    if (pos > line.VisibleEnd) {
        // The trailing edge of the last character.
        const std::int32_t slot = SlotOfPosition(line, line.VisibleEnd);
        return IsRightToLeft(line, line.VisibleEnd) ? EdgeX(line, slot) : EdgeX(line, slot + 1);
    }
    const std::int32_t slot = SlotOfPosition(line, pos);
    return IsRightToLeft(line, pos) ? EdgeX(line, slot + 1) : EdgeX(line, slot);
}

void ForgetParagraphLevels() { Paragraph.Valid = false; }

}  // namespace nv
