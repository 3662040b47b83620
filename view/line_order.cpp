#include "view/line_order.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "document/advance_table.h"
#include "document/store.h"
#include "view/geometry.h"
#include "view/glyph_characters.h"

namespace nv {

namespace {

// Every display line's levels sit in a right-to-left paragraph.
constexpr std::uint8_t ParagraphLevel = 1;

// The line last ordered: for each drawn slot the offset of its byte in the line, for each
// offset its slot and level, and the x of each slot boundary from the line's left end; and
// its runs of equal levels in logical order with their visual order.
struct LineScratch {
    int Visual[TextLimit];
    int Slot[TextLimit];
    std::uint8_t Level[TextLimit];
    std::int32_t Edge[TextLimit + 1];
    std::int32_t RunStart[TextLimit + 1];
    std::uint8_t RunLevel[TextLimit];
    int RunVisual[TextLimit];
};
LineScratch Line;

// The paragraph last asked for, with the levels known of its bytes. Its lines are ordered
// one after another, and its levels are asked of the system a window at a time, for the
// lines actually ordered. An edit moves what is known along with the text (NoteTextEdit)
// and forgets only the levels it may have changed, so that typing in a long paragraph asks
// the system for the few bytes around the caret.
//
// A window starts at an anchor (a strong character that no pair of brackets encloses) or
// at the paragraph's start, and ends at another anchor or at the paragraph's end: without
// embeddings, isolates or Arabic characters, which code page 1255 lacks, every rule of the
// algorithm then finds within the window what it finds in the whole paragraph (the
// previous and next strong character, the brackets' partners and their context), so the
// window's levels are the paragraph's and depend on its bytes alone. An anchor's own level
// is that of its direction, whatever the edit.
struct KeptParagraph {
    bool Valid = false;
    std::uint32_t EditCount = 0;  // the document's, as of the text this describes
    std::int32_t TextLength = 0;
    std::int32_t Start = 0;
    std::int32_t Length = 0;
    bool Whole = false;           // a bracket left alone: the paragraph is itemized whole
    std::int32_t OuterCount = 0;  // the pairs that no other pair encloses, in text order
    std::int32_t OuterOpen[TextLimit / 2];
    std::int32_t OuterClose[TextLimit / 2];
    bool Known[TextLimit];  // the level is in Levels
    std::uint8_t Levels[TextLimit];
};
KeptParagraph Kept;

// What was known before the last edit of the bytes whose levels it may have changed, by
// their old places, for the repaint that follows it. Local: only the new text's bytes
// NewFrom..NewTo may have other levels; otherwise any byte of the paragraphs it touched.
struct LevelsBeforeEdit {
    bool Local = false;
    std::int32_t NewFrom = 0;
    std::int32_t NewTo = -1;
    std::int32_t OldFrom = 0;  // the old place of Known[0]
    std::int32_t Count = 0;
    bool Known[TextLimit];
    std::uint8_t Levels[TextLimit];
};
LevelsBeforeEdit Before;

// Working memory. Brackets are few in text, so the pairs are found on a list of their
// places, not on every byte.
struct Work {
    std::int32_t Brackets[TextLimit];
    WORD Units[TextLimit];
    SCRIPT_ITEM Items[TextLimit + 1];
};
Work Scratch;

const std::uint8_t* KeptText() { return Doc.TextBuffer + Kept.Start; }

// ( and ) differ in the lowest bit, [ and { and ] and } in the 0x20 bit: three tests that
// compilers vectorize.
std::uint8_t IsBracket(std::uint8_t b) {
    return static_cast<std::uint8_t>(((b | 1) == ')') | ((b | 0x20) == '{') | ((b | 0x20) == '}'));
}

bool IsOpeningBracket(std::uint8_t byte) { return byte == '(' || byte == '[' || byte == '{'; }

std::uint8_t ClosingBracketOf(std::uint8_t byte) {
    return byte == '(' ? ')' : byte == '[' ? ']' : '}';
}

bool HoldsBracketOrLineBreak(const std::uint8_t* bytes, std::int32_t count) {
    std::uint8_t found = 0;
    for (std::int32_t k = 0; k < count; ++k) {
        found |= IsBracket(bytes[k]) | (bytes[k] == CarriageReturn) | (bytes[k] == LineFeed);
    }
    return found != 0;
}

// The places of the bytes' brackets into Scratch.Brackets; their count. Blocks of 32 bytes
// are tested at once (compilers vectorize the test), and only a block holding a bracket is
// looked at byte by byte.
std::int32_t ListBrackets(const std::uint8_t* text, std::int32_t length) {
    constexpr std::int32_t Block = 32;
    std::int32_t count = 0;
    std::int32_t i = 0;
    for (; i + Block <= length; i += Block) {
        std::uint8_t any = 0;
        for (std::int32_t k = 0; k < Block; ++k) any |= IsBracket(text[i + k]);
        if (!any) continue;
        for (std::int32_t k = 0; k < Block; ++k) {
            if (IsBracket(text[i + k])) Scratch.Brackets[count++] = i + k;
        }
    }
    for (; i < length; ++i) {
        if (IsBracket(text[i])) Scratch.Brackets[count++] = i;
    }
    return count;
}

// Pairs the brackets and keeps the outermost pairs: a strong character that none of them
// encloses is an anchor. Only where every bracket has its partner, properly nested, do all
// implementations pair them alike (FriBidi, for one, lets an opener that a closer passed
// over pair later); a paragraph with a bracket left alone, brackets crossing or more than
// 63 open at once is itemized whole.
void FindPairs() {
    constexpr int StackLimit = 63;
    std::int32_t stack[StackLimit];
    int depth = 0;
    bool whole = false;
    const std::uint8_t* text = KeptText();
    Kept.OuterCount = 0;
    const std::int32_t count = ListBrackets(text, Kept.Length);
    for (std::int32_t j = 0; j < count && !whole; ++j) {
        const std::int32_t i = Scratch.Brackets[j];
        if (IsOpeningBracket(text[i])) {
            whole = depth == StackLimit;
            if (!whole) stack[depth++] = i;
        } else {
            whole = depth == 0 || ClosingBracketOf(text[stack[depth - 1]]) != text[i];
            if (!whole && --depth == 0) {
                Kept.OuterOpen[Kept.OuterCount] = stack[0];
                Kept.OuterClose[Kept.OuterCount] = i;
                ++Kept.OuterCount;
            }
        }
    }
    Kept.Whole = whole || depth != 0;
}

// True when a pair of brackets encloses the byte at i.
bool Enclosed(std::int32_t i) {
    const std::int32_t* closes = Kept.OuterClose;
    const std::int32_t* after = std::lower_bound(closes, closes + Kept.OuterCount, i);
    return after != closes + Kept.OuterCount && Kept.OuterOpen[after - closes] < i;
}

bool IsAnchor(std::int32_t i) {
    return IsStrong(KeptText()[i]) && (Kept.OuterCount == 0 || !Enclosed(i));
}

bool IsLineBreakAt(std::int32_t pos) {
    return pos >= 0 && pos + 1 < Doc.TextLength && Doc.TextBuffer[pos] == CarriageReturn &&
           Doc.TextBuffer[pos + 1] == LineFeed;
}

// True when the paragraph kept describes the present text (it followed every edit since)
// and holds the bytes from..to.
bool KeptParagraphHolds(std::int32_t from, std::int32_t to) {
    const std::int32_t end = Kept.Start + Kept.Length;
    return Kept.Valid && Kept.EditCount == Doc.EditCount && Kept.TextLength == Doc.TextLength &&
           from >= Kept.Start && to < end && (Kept.Start == 0 || IsLineBreakAt(Kept.Start - 2)) &&
           (end == Doc.TextLength - 1 || IsLineBreakAt(end));
}

// Keeps the paragraph (the text between line breaks) that holds the bytes from..to.
void KeepParagraphOf(std::int32_t from, std::int32_t to) {
    if (!KeptParagraphHolds(from, to)) {
        std::int32_t start = from;
        while (start > 0 && !IsLineBreakAt(start - 2)) --start;
        // Forward from line feed to line feed, which memchr finds quickly.
        const std::int32_t last = Doc.TextLength - 1;
        std::int32_t end = to + 1;
        while (end < last && !IsLineBreakAt(end)) {
            const void* found = std::memchr(Doc.TextBuffer + end + 1, LineFeed,
                                            static_cast<std::size_t>(last - end - 1));
            if (found == nullptr) {
                end = last;
            } else {
                // The byte before the line feed; past it when that is not a carriage return.
                const auto feed = static_cast<std::int32_t>(
                    static_cast<const std::uint8_t*>(found) - Doc.TextBuffer);
                end = IsLineBreakAt(feed - 1) ? feed - 1 : feed;
            }
        }
        Kept.Valid = true;
        Kept.EditCount = Doc.EditCount;
        Kept.TextLength = Doc.TextLength;
        Kept.Start = start;
        Kept.Length = end - start;
        std::memset(Kept.Known, 0, static_cast<std::size_t>(Kept.Length));
        FindPairs();
    }
}

// Asks the system for the levels of the window from..to (inclusive) of the paragraph kept;
// false when it could not give them.
bool ItemizeWindow(std::int32_t from, std::int32_t to) {
    const std::uint8_t* text = KeptText();
    const std::int32_t length = to - from + 1;
    bool mixed = false;
    for (std::int32_t i = from; i <= to && !mixed; ++i) mixed = IsLeftToRightOrNumber(text[i]);
    if (!mixed) {
        // Nothing here can stand left to right: the whole window is at the paragraph level.
        std::memset(Kept.Levels + from, ParagraphLevel, static_cast<std::size_t>(length));
        std::memset(Kept.Known + from, 1, static_cast<std::size_t>(length));
        return true;
    }
    for (std::int32_t i = 0; i < length; ++i) Scratch.Units[i] = GlyphCharacter[text[from + i]];
    SCRIPT_CONTROL control{};
    SCRIPT_STATE state{};
    state.uBidiLevel = ParagraphLevel;
    int count = 0;
    if (ScriptItemize(Scratch.Units, length, TextLimit + 1, &control, &state, Scratch.Items,
                      &count) != S_OK ||
        count < 1 || count > length) {
        return false;
    }
    std::memset(Kept.Levels + from, ParagraphLevel, static_cast<std::size_t>(length));
    for (int j = 0; j < count; ++j) {
        const int a = std::clamp(Scratch.Items[j].iCharPos, 0, length);
        const int b = std::clamp(Scratch.Items[j + 1].iCharPos, a, length);
        std::memset(Kept.Levels + from + a, Scratch.Items[j].a.s.uBidiLevel,
                    static_cast<std::size_t>(b - a));
    }
    std::memset(Kept.Known + from, 1, static_cast<std::size_t>(length));
    return true;
}

// The levels of windows already itemized, by their bytes: a window's levels depend on its
// bytes alone, so a paragraph kept again, or a word typed and taken back, finds them here.
constexpr std::int32_t PieceLimit = 256;  // longer windows are not kept
constexpr std::size_t PieceSlots = 1024;
struct KeptPiece {
    std::int32_t Length = 0;  // 0: empty slot
    std::uint8_t Text[PieceLimit];
    std::uint8_t Levels[PieceLimit];
};
KeptPiece Pieces[PieceSlots];

KeptPiece& SlotOf(const std::uint8_t* text, std::int32_t length) {
    std::uint32_t hash = 2166136261u;
    for (std::int32_t i = 0; i < length; ++i) hash = (hash ^ text[i]) * 16777619u;
    return Pieces[hash % PieceSlots];
}

// The levels of the window from..to of the paragraph kept into its Levels.
bool LevelsOfWindow(std::int32_t from, std::int32_t to) {
    const std::uint8_t* text = KeptText() + from;
    const std::int32_t length = to - from + 1;
    if (length > PieceLimit) return ItemizeWindow(from, to);
    KeptPiece& piece = SlotOf(text, length);
    if (piece.Length == length &&
        std::memcmp(piece.Text, text, static_cast<std::size_t>(length)) == 0) {
        std::memcpy(Kept.Levels + from, piece.Levels, static_cast<std::size_t>(length));
        std::memset(Kept.Known + from, 1, static_cast<std::size_t>(length));
        return true;
    }
    if (!ItemizeWindow(from, to)) return false;
    piece.Length = length;
    std::memcpy(piece.Text, text, static_cast<std::size_t>(length));
    std::memcpy(piece.Levels, Kept.Levels + from, static_cast<std::size_t>(length));
    return true;
}

// The levels of the paragraph holding the bytes from..to, with theirs known; null when the
// system could not give them.
const std::uint8_t* ParagraphLevels(std::int32_t from, std::int32_t to) {
    KeepParagraphOf(from, to);
    from -= Kept.Start;
    to -= Kept.Start;
    const void* gap = std::memchr(Kept.Known + from, 0, static_cast<std::size_t>(to - from + 1));
    if (gap == nullptr) return Kept.Levels + from;
    // One window from the anchor before the first byte not known to the one after the last.
    std::int32_t first = static_cast<std::int32_t>(static_cast<const bool*>(gap) - Kept.Known);
    std::int32_t last = to;
    while (Kept.Known[last]) --last;
    if (Kept.Whole) {
        first = 0;
        last = Kept.Length - 1;
    } else {
        while (first > 0 && !IsAnchor(first)) --first;
        while (last < Kept.Length - 1 && !IsAnchor(last)) ++last;
    }
    return LevelsOfWindow(first, last) ? Kept.Levels + from : nullptr;
}

void SaveLevelsBefore(std::int32_t oldFrom, std::int32_t count) {
    const std::int32_t at = oldFrom - Kept.Start;
    Before.OldFrom = oldFrom;
    Before.Count = count;
    std::memcpy(Before.Known, Kept.Known + at, static_cast<std::size_t>(count));
    std::memcpy(Before.Levels, Kept.Levels + at, static_cast<std::size_t>(count));
}

void OrderReversed(std::int32_t n) {
    for (std::int32_t k = 0; k < n; ++k) {
        Line.Visual[k] = n - 1 - k;
        Line.Slot[k] = n - 1 - k;
        Line.Level[k] = ParagraphLevel;
    }
}

// Reorders the visible bytes of a display line by its paragraph's levels; false when the
// system could not, and the line is then shown reversed.
bool OrderByLevels(const OrderedLine& line) {
    const std::int32_t n = line.Count;
    const std::uint8_t* levels = ParagraphLevels(line.Start, line.VisibleEnd);
    if (levels == nullptr) return false;
    std::memcpy(Line.Level, levels, static_cast<std::size_t>(n));
    // The white space at the line's end and before a separator, and the separators, go back
    // to the paragraph level, line by line (rule L1): a line broken at a space keeps that
    // space at its left end.
    const std::uint8_t* text = Doc.TextBuffer + line.Start;
    bool trailing = true;
    for (std::int32_t i = n - 1; i >= 0; --i) {
        const LineEndClass kind = LineEndClassOf(text[i]);
        if (kind == LineEndClass::Separator) {
            Line.Level[i] = ParagraphLevel;
            trailing = true;
        } else if (kind == LineEndClass::WhiteSpace) {
            if (trailing) Line.Level[i] = ParagraphLevel;
        } else {
            trailing = false;
        }
    }
    // The runs of equal levels: the system orders the runs, and each run reads from the
    // right at an odd level and from the left at an even one.
    int runs = 0;
    for (std::int32_t i = 0; i < n; ++i) {
        if (i > 0 && Line.Level[i] == Line.Level[i - 1]) continue;
        Line.RunStart[runs] = i;
        Line.RunLevel[runs] = Line.Level[i];
        ++runs;
    }
    Line.RunStart[runs] = n;
    if (runs == 1 && Line.RunLevel[0] == ParagraphLevel) {
        OrderReversed(n);  // one right-to-left run: what the system would answer
        return true;
    }
    if (ScriptLayout(runs, Line.RunLevel, Line.RunVisual, nullptr) != S_OK) return false;
    // A run drawn twice, or not at all, is no order: each one drawn is marked in its level.
    constexpr std::uint8_t Drawn = 0x80;
    std::int32_t k = 0;
    for (int v = 0; v < runs; ++v) {
        const int run = Line.RunVisual[v];
        if (run < 0 || run >= runs || (Line.RunLevel[run] & Drawn)) return false;
        Line.RunLevel[run] |= Drawn;
        const std::int32_t a = Line.RunStart[run];
        const std::int32_t b = Line.RunStart[run + 1];
        if (Line.RunLevel[run] & 1) {
            for (std::int32_t i = b - 1; i >= a; --i) Line.Visual[k++] = i;
        } else {
            for (std::int32_t i = a; i < b; ++i) Line.Visual[k++] = i;
        }
    }
    for (k = 0; k < n; ++k) Line.Slot[Line.Visual[k]] = k;
    return true;
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
    const bool bidirectional = InBidirectionalOrder() && n > 0 && OrderByLevels(line);
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

void NoteTextEdit(std::int32_t p, std::int32_t removed, const std::uint8_t* inserted,
                  std::int32_t count) {
    Before.Local = false;
    Before.Count = 0;
    if (!Kept.Valid || Kept.EditCount != Doc.EditCount || Kept.TextLength != Doc.TextLength) {
        Kept.Valid = false;
        return;
    }
    const std::int32_t delta = count - removed;
    const std::int32_t end = Kept.Start + Kept.Length;  // its line break, or the text's end
    // The edit counts from when it is made; ApplyTextEdit makes it next.
    const auto follow = [delta] {
        Kept.EditCount = Doc.EditCount + 1;
        Kept.TextLength = Doc.TextLength + delta;
    };
    if (p + removed <= Kept.Start - 2) {  // before the line break that opens the paragraph
        Kept.Start += delta;
        follow();
        return;
    }
    if (end < Doc.TextLength - 1 && p >= end + 2) {  // after the one that closes it
        follow();
        return;
    }
    const std::uint8_t* text = Doc.TextBuffer;
    const bool plain = p >= Kept.Start && p + removed <= end && !Kept.Whole &&
                       !HoldsBracketOrLineBreak(text + p, removed) &&
                       !HoldsBracketOrLineBreak(inserted, count) &&
                       !(removed > 0 && p > 0 && text[p - 1] == CarriageReturn &&
                         text[p + removed] == LineFeed);
    if (!plain) {
        // Paragraphs join or part, or the brackets pair otherwise: any level may change.
        SaveLevelsBefore(Kept.Start, Kept.Length);
        Kept.Valid = false;
        return;
    }
    // Only the bytes between the anchors around the edit may take other levels. The pairs
    // stay as they were, so every other anchor stays one.
    const std::int32_t at = p - Kept.Start;
    std::int32_t before = at - 1;
    while (before >= 0 && !IsAnchor(before)) --before;
    std::int32_t after = at + removed;
    while (after < Kept.Length && !IsAnchor(after)) ++after;
    SaveLevelsBefore(Kept.Start + before + 1, after - before - 1);
    Before.Local = true;
    Before.NewFrom = Kept.Start + before + 1;
    Before.NewTo = Kept.Start + after - 1 + delta;
    const auto tail = static_cast<std::size_t>(Kept.Length - at - removed);
    std::memmove(Kept.Known + at + count, Kept.Known + at + removed, tail);
    std::memmove(Kept.Levels + at + count, Kept.Levels + at + removed, tail);
    Kept.Length += delta;
    std::memset(Kept.Known + before + 1, 0, static_cast<std::size_t>(after + delta - before - 1));
    for (std::int32_t j = 0; j < Kept.OuterCount; ++j) {
        if (Kept.OuterOpen[j] >= at + removed) Kept.OuterOpen[j] += delta;
        if (Kept.OuterClose[j] >= at + removed) Kept.OuterClose[j] += delta;
    }
    follow();
}

void NoteTextReplaced() {
    Kept.Valid = false;
    Before.Local = false;
    Before.Count = 0;
}

bool LevelsMayHaveChanged(std::int32_t from, std::int32_t to, std::int32_t oldFrom) {
    const bool outside = to < Before.NewFrom || from > Before.NewTo;
    if (Before.Local && outside) return false;
    const std::uint8_t* now = ParagraphLevels(from, to);
    if (now == nullptr) return true;
    for (std::int32_t k = 0; k <= to - from; ++k) {
        const std::int32_t pos = from + k;
        if (Before.Local && (pos < Before.NewFrom || pos > Before.NewTo)) continue;
        const std::int32_t old = oldFrom + k - Before.OldFrom;
        if (old < 0 || old >= Before.Count || !Before.Known[old] || Before.Levels[old] != now[k]) {
            return true;
        }
    }
    return false;
}

void ForgetParagraphLevels() {
    NoteTextReplaced();
    for (KeptPiece& piece : Pieces) piece.Length = 0;
}

}  // namespace nv
