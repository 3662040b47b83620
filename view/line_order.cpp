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
// offset its slot and level, and the x of each slot boundary from the line's left end.
struct LineScratch {
    int Visual[TextLimit];
    int Slot[TextLimit];
    std::uint8_t Level[TextLimit];
    std::int32_t Edge[TextLimit + 1];
};
LineScratch Line;

// The paragraph last asked for, kept with its text: its lines are ordered one after
// another, and its text changes only by an edit. Its levels are asked of the system a
// piece at a time, for the lines actually ordered, and the pieces' levels are kept by their
// text, so that typing in a long paragraph itemizes only the piece that changed.
//
// A piece starts at a strong character that no bracket pair encloses (or at the
// paragraph's start) and ends at another such character (or the paragraph's end): without
// embeddings, isolates or Arabic characters, which code page 1255 lacks, every rule of the
// algorithm then finds within the piece what it finds in the whole paragraph (the
// previous and next strong character, the brackets' partners and their context), so the
// piece's levels are the paragraph's, and depend on its bytes alone. Of those characters,
// the ones whose neighbourhood hashes to one value in 32 cut the paragraph into pieces: an
// edit moves no cut away from the text around it.
struct Kept {
    bool Valid = false;
    std::int32_t Start = 0;
    std::int32_t Length = 0;
    std::uint8_t Text[TextLimit];
    bool Known[TextLimit];  // the level is in Levels
    std::uint8_t Levels[TextLimit];
};
// The paragraph kept now, and the one it replaced with the levels known of it then: the
// repaint after an edit compares the two.
Kept KeptParagraphs[2];
Kept* Current = &KeptParagraphs[0];
Kept* Before = &KeptParagraphs[1];

// Working memory for the paragraph kept now. Brackets are few in text, so the pairs are
// found on a list of their places, not on every byte: what an edit costs is then a quick
// pass that looks for brackets, and the pairing of the few it finds.
struct Work {
    bool Whole = false;           // a bracket left alone: the paragraph is itemized whole
    std::int32_t OuterCount = 0;  // the pairs that no other pair encloses, in text order
    std::int32_t OuterOpen[TextLimit / 2];
    std::int32_t OuterClose[TextLimit / 2];
    std::int32_t Brackets[TextLimit];
    WORD Units[TextLimit];
    SCRIPT_ITEM Items[TextLimit + 1];
};
Work Scratch;

// ( and ) differ in the lowest bit, [ and { and ] and } in the 0x20 bit: three tests that
// compilers vectorize.
std::uint8_t IsBracket(std::uint8_t b) {
    return static_cast<std::uint8_t>(((b | 1) == ')') | ((b | 0x20) == '{') | ((b | 0x20) == '}'));
}

bool IsOpeningBracket(std::uint8_t byte) { return byte == '(' || byte == '[' || byte == '{'; }

std::uint8_t ClosingBracketOf(std::uint8_t byte) {
    return byte == '(' ? ')' : byte == '[' ? ']' : '}';
}

// In text too even for the hash to choose from, a cut comes every 96 possible places.
constexpr int Farthest = 96;

// One position in 32, chosen by the four bytes around it.
bool SelectsCut(const Kept& p, std::int32_t i) {
    std::uint32_t key = 0;
    if (i >= 1 && i + 2 < p.Length) {
        key = (std::uint32_t{p.Text[i - 1]} << 24) | (std::uint32_t{p.Text[i]} << 16) |
              (std::uint32_t{p.Text[i + 1]} << 8) | p.Text[i + 2];
    } else {
        for (std::int32_t k = i - 1; k <= i + 2; ++k) {
            key = (key << 8) | (k >= 0 && k < p.Length ? p.Text[k] : 0u);
        }
    }
    return ((key * 2654435761u) >> 27) == 0;
}

// The places of the paragraph's brackets into Scratch.Brackets; their count. Blocks of 32
// bytes are tested at once (compilers vectorize the test), and only a block holding a
// bracket is looked at byte by byte.
std::int32_t ListBrackets(const Kept& p) {
    constexpr std::int32_t Block = 32;
    std::int32_t count = 0;
    std::int32_t i = 0;
    for (; i + Block <= p.Length; i += Block) {
        std::uint8_t any = 0;
        for (std::int32_t k = 0; k < Block; ++k) any |= IsBracket(p.Text[i + k]);
        if (!any) continue;
        for (std::int32_t k = 0; k < Block; ++k) {
            if (IsBracket(p.Text[i + k])) Scratch.Brackets[count++] = i + k;
        }
    }
    for (; i < p.Length; ++i) {
        if (IsBracket(p.Text[i])) Scratch.Brackets[count++] = i;
    }
    return count;
}

// Pairs the brackets and keeps the outermost pairs: a strong character that none of them
// encloses may start or end a piece. Only where every bracket has its partner, properly
// nested, do all implementations pair them alike (FriBidi, for one, lets an opener that a
// closer passed over pair later); a paragraph with a bracket left alone, brackets crossing
// or more than 63 open at once is itemized whole.
void FindAnchors(const Kept& p) {
    constexpr int StackLimit = 63;
    std::int32_t stack[StackLimit];
    int depth = 0;
    bool whole = false;
    Scratch.OuterCount = 0;
    const std::int32_t count = ListBrackets(p);
    for (std::int32_t j = 0; j < count && !whole; ++j) {
        const std::int32_t i = Scratch.Brackets[j];
        const std::uint8_t byte = p.Text[i];
        if (IsOpeningBracket(byte)) {
            whole = depth == StackLimit;
            if (!whole) stack[depth++] = i;
        } else {
            whole = depth == 0 || ClosingBracketOf(p.Text[stack[depth - 1]]) != byte;
            if (whole) break;
            if (--depth == 0) {
                Scratch.OuterOpen[Scratch.OuterCount] = stack[0];
                Scratch.OuterClose[Scratch.OuterCount] = i;
                ++Scratch.OuterCount;
            }
        }
    }
    Scratch.Whole = whole || depth != 0;
}

// True when a pair of brackets encloses the byte at i.
bool Enclosed(std::int32_t i) {
    const std::int32_t* closes = Scratch.OuterClose;
    const std::int32_t* after = std::lower_bound(closes, closes + Scratch.OuterCount, i);
    return after != closes + Scratch.OuterCount && Scratch.OuterOpen[after - closes] < i;
}

// While a StableText lives, the paragraph kept is checked against the text only once.
int StableDepth = 0;
bool CheckedWhileStable = false;

bool IsLineBreakAt(std::int32_t pos) {
    return pos >= 0 && pos + 1 < Doc.TextLength && Doc.TextBuffer[pos] == CarriageReturn &&
           Doc.TextBuffer[pos + 1] == LineFeed;
}

// True when the paragraph kept is still the one that holds the bytes from..to: the same
// bytes, between line breaks (or the text's ends).
bool KeptParagraphHolds(std::int32_t from, std::int32_t to) {
    const Kept& p = *Current;
    if (!p.Valid || from < p.Start || to >= p.Start + p.Length) return false;
    if (StableDepth > 0 && CheckedWhileStable) return true;
    const std::int32_t end = p.Start + p.Length;
    return (p.Start == 0 || IsLineBreakAt(p.Start - 2)) &&
           (end == Doc.TextLength - 1 || IsLineBreakAt(end)) &&
           std::memcmp(p.Text, Doc.TextBuffer + p.Start, static_cast<std::size_t>(p.Length)) == 0;
}

// Keeps the paragraph (the text between line breaks) that holds the bytes from..to.
void KeepParagraphOf(std::int32_t from, std::int32_t to) {
    if (!KeptParagraphHolds(from, to)) {
        std::swap(Current, Before);
        Kept& p = *Current;
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
        p.Start = start;
        p.Length = end - start;
        std::memcpy(p.Text, Doc.TextBuffer + start, static_cast<std::size_t>(p.Length));
        std::memset(p.Known, 0, static_cast<std::size_t>(p.Length));
        FindAnchors(p);
        p.Valid = true;
    }
    CheckedWhileStable = StableDepth > 0;
}

// Asks the system for the levels of the window from..to (inclusive); false when it could
// not give them.
bool ItemizeWindow(std::int32_t from, std::int32_t to) {
    Kept& p = *Current;
    const std::int32_t length = to - from + 1;
    bool mixed = false;
    for (std::int32_t i = from; i <= to && !mixed; ++i) mixed = IsLeftToRightOrNumber(p.Text[i]);
    if (!mixed) {
        // Nothing here can stand left to right: the whole window is at the paragraph level.
        std::memset(p.Levels + from, ParagraphLevel, static_cast<std::size_t>(length));
        std::memset(p.Known + from, 1, static_cast<std::size_t>(length));
        return true;
    }
    for (std::int32_t i = 0; i < length; ++i) Scratch.Units[i] = GlyphCharacter[p.Text[from + i]];
    SCRIPT_CONTROL control{};
    SCRIPT_STATE state{};
    state.uBidiLevel = ParagraphLevel;
    int count = 0;
    if (ScriptItemize(Scratch.Units, length, TextLimit + 1, &control, &state, Scratch.Items,
                      &count) != S_OK ||
        count < 1 || count > length) {
        return false;
    }
    std::memset(p.Levels + from, ParagraphLevel, static_cast<std::size_t>(length));
    for (int j = 0; j < count; ++j) {
        const int a = std::clamp(Scratch.Items[j].iCharPos, 0, length);
        const int b = std::clamp(Scratch.Items[j + 1].iCharPos, a, length);
        std::memset(p.Levels + from + a, Scratch.Items[j].a.s.uBidiLevel,
                    static_cast<std::size_t>(b - a));
    }
    std::memset(p.Known + from, 1, static_cast<std::size_t>(length));
    return true;
}

// The levels of pieces already itemized, by their bytes.
constexpr std::int32_t PieceLimit = 256;  // longer pieces are not kept
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

// The levels of the piece from..to of the kept paragraph into its Levels.
bool LevelsOfPiece(std::int32_t from, std::int32_t to) {
    Kept& p = *Current;
    const std::int32_t length = to - from + 1;
    if (length > PieceLimit) return ItemizeWindow(from, to);
    KeptPiece& piece = SlotOf(p.Text + from, length);
    if (piece.Length == length &&
        std::memcmp(piece.Text, p.Text + from, static_cast<std::size_t>(length)) == 0) {
        std::memcpy(p.Levels + from, piece.Levels, static_cast<std::size_t>(length));
        std::memset(p.Known + from, 1, static_cast<std::size_t>(length));
        return true;
    }
    if (!ItemizeWindow(from, to)) return false;
    piece.Length = length;
    std::memcpy(piece.Text, p.Text + from, static_cast<std::size_t>(length));
    std::memcpy(piece.Levels, p.Levels + from, static_cast<std::size_t>(length));
    return true;
}

// A cut is a strong character that no pair of brackets encloses: one the hash chooses or,
// in text too even for it, any from the 96th strong character met in the search on.
bool IsCut(const Kept& p, std::int32_t i, int* strong) {
    if (!IsStrong(p.Text[i])) return false;
    if (!SelectsCut(p, i) && ++*strong < Farthest) return false;
    return Scratch.OuterCount == 0 || !Enclosed(i);
}

// The cut at or before pos, or the paragraph's start.
std::int32_t PreviousCut(const Kept& p, std::int32_t pos) {
    if (Scratch.Whole) return 0;
    for (int strong = 0; pos > 0; --pos) {
        if (IsCut(p, pos, &strong)) break;
    }
    return pos;
}

// The first cut after pos, or the paragraph's last byte.
std::int32_t NextCut(const Kept& p, std::int32_t pos) {
    if (Scratch.Whole) return p.Length - 1;
    ++pos;
    for (int strong = 0; pos < p.Length - 1; ++pos) {
        if (IsCut(p, pos, &strong)) break;
    }
    return std::min(pos, p.Length - 1);
}

// The levels of the paragraph holding the bytes from..to, with theirs known; null when the
// system could not give them.
const std::uint8_t* ParagraphLevels(std::int32_t from, std::int32_t to) {
    KeepParagraphOf(from, to);
    Kept& p = *Current;
    from -= p.Start;
    to -= p.Start;
    bool known = true;
    for (std::int32_t i = from; i <= to && known; ++i) known = p.Known[i];
    if (known) return p.Levels + from;
    // The pieces that hold the bytes, each from a cut to the next.
    std::int32_t first = PreviousCut(p, from);
    while (first <= to) {
        const std::int32_t last = NextCut(p, first);
        if (!LevelsOfPiece(first, last)) return nullptr;
        if (last == p.Length - 1) break;
        first = last;
    }
    return p.Levels + from;
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
    bool even = true;
    for (std::int32_t i = 1; i < n && even; ++i) even = Line.Level[i] == Line.Level[0];
    if (even && Line.Level[0] == ParagraphLevel) {
        OrderReversed(n);  // one right-to-left run: what the system would answer
        return true;
    }
    if (ScriptLayout(n, Line.Level, Line.Visual, Line.Slot) != S_OK) return false;
    for (std::int32_t k = 0; k < n; ++k) {
        if (Line.Visual[k] < 0 || Line.Visual[k] >= n || Line.Slot[Line.Visual[k]] != k) {
            return false;
        }
    }
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

bool LevelsMayHaveChanged(std::int32_t from, std::int32_t to, std::int32_t oldFrom) {
    const std::uint8_t* now = ParagraphLevels(from, to);
    const Kept& before = *Before;
    const std::int32_t offset = oldFrom - before.Start;
    if (now == nullptr || !before.Valid || offset < 0 || offset + (to - from) >= before.Length) {
        return true;
    }
    for (std::int32_t k = 0; k <= to - from; ++k) {
        if (!before.Known[offset + k] || before.Levels[offset + k] != now[k] ||
            before.Text[offset + k] != Doc.TextBuffer[from + k]) {
            return true;
        }
    }
    return false;
}

void ForgetParagraphLevels() {
    Current->Valid = false;
    Before->Valid = false;
    for (KeptPiece& piece : Pieces) piece.Length = 0;
}

StableText::StableText() {
    if (StableDepth++ == 0) CheckedWhileStable = false;
}

StableText::~StableText() {
    if (--StableDepth == 0) CheckedWhileStable = false;
}

}  // namespace nv
