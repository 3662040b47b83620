#include "view/line_order.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>

#include "document/advance_table.h"
#include "document/layout.h"
#include "document/store.h"
#include "view/geometry.h"
#include "view/glyph_characters.h"

namespace nv {

namespace {

// A paragraph is at level 1 (right to left) or 0 (left to right); no resolved level comes
// near 0xFF, which marks a level not known. Reversed order draws every line at level 1.
constexpr std::uint8_t RightToLeftLevel = 1;
constexpr std::uint8_t Unknown = 0xFF;

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

// The levels known of the text's bytes. Lines are ordered one after another, and the
// levels are asked of the system a window at a time, for the lines actually ordered. An edit
// moves what is known along with the text (NoteTextEdit) and forgets only the levels it may
// have changed, so that typing asks the system for the few bytes around the caret and a
// repaint asks it for nothing.
//
// A window lies within one paragraph (the text between line breaks). It starts at an
// anchor (a strong character that no pair of brackets encloses) or at the paragraph's
// start, and ends at another anchor or at the paragraph's end: without embeddings, isolates
// or Arabic characters, which code page 1255 lacks, every rule of the algorithm then finds
// within the window what it finds in the whole paragraph (the previous and next strong
// character, the brackets' partners and their context), so the window's levels are the
// paragraph's and depend on its bytes alone. An anchor's own level is that of its
// direction, whatever the edit.
struct KeptLevels {
    bool Valid = false;
    std::uint32_t EditCount = 0;  // the document's, as of the text this describes
    std::int32_t TextLength = 0;
    bool PairsStale = false;  // the pairs are found again when next asked for
    // The pairs of brackets that no other pair encloses, in text order. Only where every
    // bracket of a paragraph has its partner, properly nested, do all implementations pair
    // them alike (FriBidi, for one, lets an opener that a closer passed over pair later):
    // a paragraph with a bracket left alone, brackets crossing or more than 63 open at once
    // is enclosed by one pair from before its start to its end, and so has no anchor and
    // is itemized whole.
    std::int32_t PairCount = 0;
    std::int32_t Open[TextLimit / 2 + 1];
    std::int32_t Close[TextLimit / 2 + 1];
    std::uint8_t Levels[TextLimit];  // Unknown where not known yet
};
KeptLevels Kept;

// What was known before the last edit of the bytes whose levels it may have changed, by
// their old places, for the repaint that follows it: only the new text's bytes
// NewFrom..NewTo may have other levels. Count 0 with NewFrom > NewTo: nothing is known
// of the edit, and any level of the paragraphs it touched may have changed.
struct LevelsBeforeEdit {
    std::int32_t NewFrom = 0;
    std::int32_t NewTo = TextLimit;
    std::int32_t OldFrom = 0;  // the old place of Levels[0]
    std::int32_t Count = 0;
    std::uint8_t Levels[TextLimit];
};
LevelsBeforeEdit Before;

// Working memory. Brackets are few in text, so the pairs are found on a list of their
// places (and of the line feeds that may end paragraphs), not on every byte.
struct Work {
    std::int32_t Marks[TextLimit];
    WORD Units[TextLimit];
    SCRIPT_ITEM Items[TextLimit + 1];
};
Work Scratch;

// ( and ) differ in the lowest bit, [ and { and ] and } in the 0x20 bit: tests that
// compilers vectorize.
std::uint8_t IsBracket(std::uint8_t b) {
    return static_cast<std::uint8_t>(((b | 1) == ')') | ((b | 0x20) == '{') | ((b | 0x20) == '}'));
}

// True when a byte can stand at a level other than its paragraph's: class L or EN in a
// right-to-left paragraph, class R in a left-to-right one (a number there follows the
// strong character before it).
bool Departs(std::uint8_t byte, std::uint8_t paragraph) {
    return paragraph == RightToLeftLevel ? IsLeftToRightOrNumber(byte)
                                         : IsStrong(byte) && !IsLeftToRightOrNumber(byte);
}

bool IsOpeningBracket(std::uint8_t byte) { return byte == '(' || byte == '[' || byte == '{'; }

std::uint8_t ClosingBracketOf(std::uint8_t byte) {
    return byte == '(' ? ')' : byte == '[' ? ']' : '}';
}

bool HoldsBracketOrLineBreak(const std::uint8_t* bytes, std::int32_t count) {
    std::uint8_t found = 0;
    for (std::int32_t k = 0; k < count; ++k) {
        found |= IsBracket(bytes[k]) | (bytes[k] == LineFeed) | (bytes[k] == CarriageReturn);
    }
    return found != 0;
}

bool IsLineBreakAt(std::int32_t pos) {
    return pos >= 0 && pos + 1 < Doc.TextLength && Doc.TextBuffer[pos] == CarriageReturn &&
           Doc.TextBuffer[pos + 1] == LineFeed;
}

// The places of the text's brackets into Scratch.Marks; their count. Blocks of 32 bytes are
// tested at once, and only a block holding one is looked at byte by byte.
std::int32_t ListBrackets() {
    constexpr std::int32_t Block = 32;
    const std::uint8_t* text = Doc.TextBuffer;
    const std::int32_t length = Doc.TextLength - 1;
    std::int32_t count = 0;
    std::int32_t i = 0;
    for (; i + Block <= length; i += Block) {
        std::uint8_t any = 0;
        for (std::int32_t k = 0; k < Block; ++k) any |= IsBracket(text[i + k]);
        if (!any) continue;
        for (std::int32_t k = 0; k < Block; ++k) {
            if (IsBracket(text[i + k])) Scratch.Marks[count++] = i + k;
        }
    }
    for (; i < length; ++i) {
        if (IsBracket(text[i])) Scratch.Marks[count++] = i;
    }
    return count;
}

// Pairs the brackets of every paragraph (see KeptLevels).
void FindPairs() {
    constexpr int StackLimit = 63;
    std::int32_t stack[StackLimit];
    const std::uint8_t* text = Doc.TextBuffer;
    const std::int32_t count = ListBrackets();
    Kept.PairCount = 0;
    std::int32_t paragraphStart = 0;
    std::int32_t firstPair = 0;  // the paragraph's first in the list
    int depth = 0;
    bool whole = false;
    // Ends the paragraph whose line break (or the text's end) is at `end`.
    auto endParagraph = [&](std::int32_t end) {
        if (whole || depth != 0) {
            Kept.PairCount = firstPair + 1;
            Kept.Open[firstPair] = paragraphStart - 1;
            Kept.Close[firstPair] = end;
        }
        paragraphStart = end + 2;
        firstPair = Kept.PairCount;
        depth = 0;
        whole = false;
    };
    // Ends the paragraphs whose line breaks lie between the last bracket and `to`, found
    // by their carriage returns.
    std::int32_t passed = 0;
    auto passLineBreaks = [&](std::int32_t to) {
        while (passed < to) {
            const void* found =
                std::memchr(text + passed, CarriageReturn, static_cast<std::size_t>(to - passed));
            if (found == nullptr) break;
            const auto p =
                static_cast<std::int32_t>(static_cast<const std::uint8_t*>(found) - text);
            if (IsLineBreakAt(p)) endParagraph(p);
            passed = p + 1;
        }
        passed = to;
    };
    for (std::int32_t j = 0; j < count; ++j) {
        const std::int32_t i = Scratch.Marks[j];
        passLineBreaks(i);
        if (whole) {
            continue;  // the paragraph's pairs no longer count: wait for its end
        } else if (IsOpeningBracket(text[i])) {
            whole = depth == StackLimit;
            if (!whole) stack[depth++] = i;
        } else {
            whole = depth == 0 || ClosingBracketOf(text[stack[depth - 1]]) != text[i];
            if (!whole && --depth == 0) {
                Kept.Open[Kept.PairCount] = stack[0];
                Kept.Close[Kept.PairCount] = i;
                ++Kept.PairCount;
            }
        }
    }
    // Past the last bracket only the end of its own paragraph matters.
    if (whole || depth != 0) passLineBreaks(Doc.TextLength - 1);
    endParagraph(Doc.TextLength - 1);
    Kept.PairsStale = false;
}

// True when a pair of brackets encloses the byte at i.
bool Enclosed(std::int32_t i) {
    const std::int32_t* closes = Kept.Close;
    const std::int32_t* after = std::lower_bound(closes, closes + Kept.PairCount, i);
    return after != closes + Kept.PairCount && Kept.Open[after - closes] < i;
}

bool IsAnchor(std::int32_t i) {
    return IsStrong(Doc.TextBuffer[i]) && (Kept.PairCount == 0 || !Enclosed(i));
}

// Tells the anchors of bytes taken in text order, following the pairs along instead of
// searching them for each byte.
class AnchorsForward {
public:
    explicit AnchorsForward(std::int32_t from)
        : pair_(static_cast<std::int32_t>(
              std::lower_bound(Kept.Close, Kept.Close + Kept.PairCount, from) - Kept.Close)) {}
    bool IsAnchor(std::int32_t i) {
        if (!IsStrong(Doc.TextBuffer[i])) return false;
        while (pair_ < Kept.PairCount && Kept.Close[pair_] < i) ++pair_;
        return pair_ == Kept.PairCount || Kept.Open[pair_] >= i;
    }

private:
    std::int32_t pair_;  // the first pair that does not close before the byte last asked of
};

bool StartsParagraph(std::int32_t i) { return i == 0 || IsLineBreakAt(i - 2); }
// The line break that ends a paragraph, or the text's end.
bool AtParagraphEnd(std::int32_t i) { return i == Doc.TextLength - 1 || IsLineBreakAt(i); }

// What was found of the paragraph last asked about: its first byte and its line break (or
// the text's end), its first strong character (-1: none) and its level. It holds as long as
// the text and its lines are the ones it was found in; TextGeneration counts the texts put
// in place without an edit.
std::uint32_t TextGeneration = 0;
struct ParagraphFound {
    bool Valid = false;
    std::uint32_t EditCount = 0;
    std::int32_t TextLength = 0;
    std::uint32_t Generation = 0;
    std::int32_t Start = 0;
    std::int32_t End = 0;
    std::int32_t FirstStrong = -1;
    std::uint8_t Level = RightToLeftLevel;
};
ParagraphFound Paragraph;

// The first strong character of from..to (-1: none).
std::int32_t FirstStrongIn(std::int32_t from, std::int32_t to) {
    for (std::int32_t i = from; i <= to; ++i) {
        if (IsStrong(Doc.TextBuffer[i])) return i;
    }
    return -1;
}

std::uint8_t LevelOfStrong(std::uint8_t byte) {
    return IsLeftToRightOrNumber(byte) ? 0 : RightToLeftLevel;
}

// Finds the paragraph holding pos, on display line `line` when that is known (-1: not), by
// the display lines, whose ends show the line breaks.
const ParagraphFound& FindParagraph(std::int32_t pos, std::int32_t line = -1) {
    if (Paragraph.Valid && Paragraph.EditCount == Doc.EditCount &&
        Paragraph.TextLength == Doc.TextLength && Paragraph.Generation == TextGeneration &&
        Paragraph.Start <= pos && pos <= Paragraph.End) {
        return Paragraph;
    }
    std::int32_t first = line >= 0 ? line : LineOfPosition(pos);
    while (first > 0 && !EndsWithLineBreak(Doc.LineTable[first - 1])) --first;
    std::int32_t last = first;
    while (last < Doc.LineCount - 1 && !EndsWithLineBreak(Doc.LineTable[last])) ++last;
    Paragraph.Valid = true;
    Paragraph.EditCount = Doc.EditCount;
    Paragraph.TextLength = Doc.TextLength;
    Paragraph.Generation = TextGeneration;
    Paragraph.Start = Doc.LineTable[first].Start;
    // The carriage return of the line break, or the terminator.
    Paragraph.End = EndsWithLineBreak(Doc.LineTable[last]) ? Doc.LineTable[last].End - 1
                                                           : Doc.LineTable[last].End;
    Paragraph.FirstStrong = FirstStrongIn(Paragraph.Start, Paragraph.End - 1);
    Paragraph.Level = Paragraph.FirstStrong < 0
                          ? RightToLeftLevel
                          : LevelOfStrong(Doc.TextBuffer[Paragraph.FirstStrong]);
    return Paragraph;
}

// The level of the paragraph holding pos: that of its first strong character, the
// direction marks 0xFD and 0xFE included; right to left when it has none.
std::uint8_t ParagraphLevelAt(std::int32_t pos) { return FindParagraph(pos).Level; }

// The anchor at or before i, or the paragraph's first byte.
std::int32_t AnchorBefore(std::int32_t i) {
    while (!StartsParagraph(i) && !IsAnchor(i)) --i;
    return i;
}

// The anchor at or after i, or the paragraph's last byte.
std::int32_t AnchorAfter(std::int32_t i) {
    AnchorsForward anchors(i);
    while (!AtParagraphEnd(i + 1) && !anchors.IsAnchor(i)) ++i;
    return i;
}

// Makes the levels kept describe the present text: they followed every edit since, or
// they are all forgotten.
void KeepLevelsOfText() {
    if (!Kept.Valid || Kept.EditCount != Doc.EditCount || Kept.TextLength != Doc.TextLength) {
        Kept.Valid = true;
        Kept.EditCount = Doc.EditCount;
        Kept.TextLength = Doc.TextLength;
        Kept.PairsStale = true;
        std::memset(Kept.Levels, Unknown, static_cast<std::size_t>(Doc.TextLength));
    }
    if (Kept.PairsStale) FindPairs();
}

// Asks the system for the levels of the window from..to (inclusive); false when it could
// not give them.
bool ItemizeWindow(std::int32_t from, std::int32_t to, std::uint8_t paragraph) {
    const std::uint8_t* text = Doc.TextBuffer;
    const std::int32_t length = to - from + 1;
    bool mixed = false;
    for (std::int32_t i = from; i <= to && !mixed; ++i) mixed = Departs(text[i], paragraph);
    if (!mixed) {
        // Nothing here can leave the paragraph's direction: the whole window is at its level.
        std::memset(Kept.Levels + from, paragraph, static_cast<std::size_t>(length));
        return true;
    }
    for (std::int32_t i = 0; i < length; ++i) Scratch.Units[i] = GlyphCharacter[text[from + i]];
    SCRIPT_CONTROL control{};
    SCRIPT_STATE state{};
    state.uBidiLevel = paragraph;
    int count = 0;
    // cMaxItems counts the items alone: the system may write the closing record after them.
    const int maxItems = static_cast<int>(std::size(Scratch.Items)) - 1;
    const HRESULT itemized =
        ScriptItemize(Scratch.Units, length, maxItems, &control, &state, Scratch.Items, &count);
    if (itemized != S_OK || count < 1 || count > length) return false;
    std::memset(Kept.Levels + from, paragraph, static_cast<std::size_t>(length));
    for (int j = 0; j < count; ++j) {
        const int a = std::clamp(Scratch.Items[j].iCharPos, 0, length);
        const int b = std::clamp(Scratch.Items[j + 1].iCharPos, a, length);
        // A level the system gives is never below the paragraph's, and of five bits it is
        // never Unknown.
        const auto level = static_cast<std::uint8_t>(
            std::max<unsigned>(Scratch.Items[j].a.s.uBidiLevel, paragraph));
        std::memset(Kept.Levels + from + a, level, static_cast<std::size_t>(b - a));
    }
    return true;
}

// The levels of windows already itemized, by their bytes: a window's levels depend on its
// bytes and its paragraph's level alone, so a text opened again, or a word typed and taken
// back, finds them here.
constexpr std::int32_t PieceLimit = 256;  // longer windows are not kept
constexpr std::size_t PieceSlots = 1024;
struct KeptPiece {
    std::int32_t Length = 0;  // 0: empty slot
    std::uint8_t Paragraph = 0;
    std::uint8_t Text[PieceLimit];
    std::uint8_t Levels[PieceLimit];
};
KeptPiece Pieces[PieceSlots];

KeptPiece& SlotOf(const std::uint8_t* text, std::int32_t length, std::uint8_t paragraph) {
    std::uint32_t hash = 2166136261u ^ paragraph;
    for (std::int32_t i = 0; i < length; ++i) hash = (hash ^ text[i]) * 16777619u;
    return Pieces[hash % PieceSlots];
}

// The levels of the window from..to into Kept.Levels.
bool LevelsOfWindow(std::int32_t from, std::int32_t to, std::uint8_t paragraph) {
    const std::uint8_t* text = Doc.TextBuffer + from;
    const std::int32_t length = to - from + 1;
    if (length > PieceLimit) return ItemizeWindow(from, to, paragraph);
    KeptPiece& piece = SlotOf(text, length, paragraph);
    if (piece.Length == length && piece.Paragraph == paragraph &&
        std::memcmp(piece.Text, text, static_cast<std::size_t>(length)) == 0) {
        std::memcpy(Kept.Levels + from, piece.Levels, static_cast<std::size_t>(length));
        return true;
    }
    if (!ItemizeWindow(from, to, paragraph)) return false;
    piece.Length = length;
    piece.Paragraph = paragraph;
    std::memcpy(piece.Text, text, static_cast<std::size_t>(length));
    std::memcpy(piece.Levels, Kept.Levels + from, static_cast<std::size_t>(length));
    return true;
}

// The levels of the bytes from..to, which start and end at anchors or at their
// paragraph's ends. The anchors inside cut them into stretches whose levels are their own:
// a stretch holding nothing that can leave the paragraph's direction (anchors included) is
// at the paragraph level, and each run of the other stretches is one window for the system.
bool LevelsOfSpan(std::int32_t from, std::int32_t to, std::uint8_t paragraph) {
    const std::uint8_t* text = Doc.TextBuffer;
    std::int32_t windowStart = -1;  // where the run of stretches for the system began
    std::int32_t stretchStart = from;
    bool mixed = false;
    AnchorsForward anchors(from);
    for (std::int32_t i = from; i <= to; ++i) {
        mixed = mixed || Departs(text[i], paragraph);
        if (i != to && (i == stretchStart || !anchors.IsAnchor(i))) continue;
        // A stretch ends at i.
        if (mixed) {
            if (windowStart < 0) windowStart = stretchStart;
        } else {
            if (windowStart >= 0 && !LevelsOfWindow(windowStart, stretchStart, paragraph)) {
                return false;
            }
            windowStart = -1;
            const auto length = static_cast<std::size_t>(i - stretchStart + 1);
            std::memset(Kept.Levels + stretchStart, paragraph, length);
        }
        stretchStart = i;
        mixed = Departs(text[i], paragraph);
    }
    return windowStart < 0 || LevelsOfWindow(windowStart, to, paragraph);
}

// The levels of the bytes from..to of one paragraph; null when the system could not give
// them.
const std::uint8_t* TextLevels(std::int32_t from, std::int32_t to) {
    KeepLevelsOfText();
    const void* gap =
        std::memchr(Kept.Levels + from, Unknown, static_cast<std::size_t>(to - from + 1));
    if (gap == nullptr) return Kept.Levels + from;
    // One window from the anchor before the first byte not known to the one after the last.
    const auto first =
        static_cast<std::int32_t>(static_cast<const std::uint8_t*>(gap) - Kept.Levels);
    std::int32_t last = to;
    while (Kept.Levels[last] != Unknown) --last;
    return LevelsOfSpan(AnchorBefore(first), AnchorAfter(last), ParagraphLevelAt(from))
               ? Kept.Levels + from
               : nullptr;
}

// Each byte's level with its paragraph's direction, as an edit compares them.
std::uint8_t WithDirection(std::uint8_t level, std::uint8_t paragraph) {
    return level == Unknown ? Unknown : static_cast<std::uint8_t>(level | (paragraph << 6));
}

void SaveLevelsBefore(std::int32_t oldFrom, std::int32_t count) {
    Before.OldFrom = oldFrom;
    Before.Count = count;
    std::uint8_t paragraph = RightToLeftLevel;
    for (std::int32_t k = 0; k < count; ++k) {
        const std::int32_t i = oldFrom + k;
        if (k == 0 || StartsParagraph(i)) paragraph = ParagraphLevelAt(i);
        Before.Levels[k] = WithDirection(Kept.Levels[i], paragraph);
    }
}

// Every byte read from the right, into the drawn bytes as they are or, at the right-to-left
// level of bidirectional order, mirrored.
void OrderReversed(const std::uint8_t* text, std::int32_t n, bool mirrored) {
    for (std::int32_t k = 0; k < n; ++k) {
        const std::int32_t i = n - 1 - k;
        Line.Visual[k] = i;
        Line.Slot[i] = k;
        Line.Level[k] = RightToLeftLevel;
        Doc.DrawnLineBytes[k] = mirrored ? MirroredByte(text[i]) : text[i];
    }
}

// Every byte in text order, at the left-to-right paragraph level.
void OrderForward(const std::uint8_t* text, std::int32_t n) {
    for (std::int32_t k = 0; k < n; ++k) {
        Line.Visual[k] = k;
        Line.Slot[k] = k;
        Line.Level[k] = 0;
        Doc.DrawnLineBytes[k] = text[k];
    }
}

// Reorders the visible bytes of a display line by its paragraph's levels; false when the
// system could not, and the line is then shown reversed.
bool OrderByLevels(const OrderedLine& line, std::uint8_t paragraph) {
    const std::int32_t n = line.Count;
    const std::uint8_t* levels = TextLevels(line.Start, line.VisibleEnd);
    if (levels == nullptr) return false;
    // The white space at the line's end and before a separator, and the separators, go back
    // to the paragraph level, line by line (rule L1): a line broken at a space keeps that
    // space at its left end. The same pass finds the runs of equal levels, from the right:
    // the system orders the runs, and each reads from the right at an odd level and from the
    // left at an even one.
    const std::uint8_t* text = Doc.TextBuffer + line.Start;
    bool trailing = true;
    int runs = 0;
    for (std::int32_t i = n - 1; i >= 0; --i) {
        const LineEndClass kind = LineEndClassOf(text[i]);
        trailing =
            kind == LineEndClass::Separator || (trailing && kind == LineEndClass::WhiteSpace);
        const std::uint8_t level = trailing ? paragraph : levels[i];
        Line.Level[i] = level;
        if (i == n - 1 || level != Line.Level[i + 1]) Line.RunVisual[runs++] = i;  // its end
    }
    for (int run = 0; run < runs; ++run) {
        const std::int32_t start = run == 0 ? 0 : Line.RunVisual[runs - run] + 1;
        Line.RunStart[run] = start;
        Line.RunLevel[run] = Line.Level[start];
    }
    Line.RunStart[runs] = n;
    // One run at the paragraph level: what the system would answer.
    if (runs == 1 && Line.RunLevel[0] == paragraph) {
        if (paragraph == RightToLeftLevel) {
            OrderReversed(text, n, true);
        } else {
            OrderForward(text, n);
        }
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
            for (std::int32_t i = b - 1; i >= a; --i, ++k) {
                Line.Visual[k] = i;
                Line.Slot[i] = k;
                Doc.DrawnLineBytes[k] = MirroredByte(text[i]);
            }
        } else {
            for (std::int32_t i = a; i < b; ++i, ++k) {
                Line.Visual[k] = i;
                Line.Slot[i] = k;
                Doc.DrawnLineBytes[k] = text[i];
            }
        }
    }
    return true;
}

// What the order in Line was made of: it holds as long as the line and the text are the
// ones it was made from.
struct OrderedLineKey {
    std::int32_t Start;
    std::int32_t VisibleEnd;
    std::uint32_t EditCount;
    std::int32_t TextLength;
    std::uint32_t Generation;
    bool Valid = false;  // a bidirectional order is in Line
    bool LeftToRight = false;
};
OrderedLineKey LastOrdered{0, 0, 0, 0, 0};

bool SameLine(const OrderedLineKey& a, const OrderedLineKey& b) {
    return a.Start == b.Start && a.VisibleEnd == b.VisibleEnd && a.EditCount == b.EditCount &&
           a.TextLength == b.TextLength && a.Generation == b.Generation;
}

// The boundaries of the drawn bytes, each measured as the run of bytes left of it, as
// MeasureRun measures (a run holding a code whose width is unknown measures 0).
void MeasureEdges(HDC dc, std::int32_t n) {
    Line.Edge[0] = 0;
    const AdvanceTable* table = AdvancesSelectedInto(dc);
    std::int32_t height = 0;
    if (table == nullptr) {
        for (std::int32_t k = 1; k <= n; ++k) {
            MeasureOn(dc, Doc.DrawnLineBytes, k, &Line.Edge[k], &height);
        }
        return;
    }
    std::int32_t sum = 0;
    bool failed = false;
    for (std::int32_t k = 0; k < n; ++k) {
        const std::uint8_t code = Doc.DrawnLineBytes[k];
        failed = failed || table->Fails[code];
        sum += table->Advance[code];
        Line.Edge[k + 1] = failed ? 0 : sum;
    }
}

// True when an edit within one paragraph gives it another direction.
bool TurnsParagraph(std::int32_t p, std::int32_t removed, const std::uint8_t* inserted,
                    std::int32_t count) {
    const ParagraphFound& found = FindParagraph(p);
    if (found.FirstStrong >= 0 && found.FirstStrong < p) return false;
    for (std::int32_t k = 0; k < count; ++k) {
        if (IsStrong(inserted[k])) return LevelOfStrong(inserted[k]) != found.Level;
    }
    const std::int32_t next = found.FirstStrong >= p + removed
                                  ? found.FirstStrong
                                  : FirstStrongIn(p + removed, found.End - 1);
    const std::uint8_t level = next < 0 ? RightToLeftLevel : LevelOfStrong(Doc.TextBuffer[next]);
    return level != found.Level;
}

}  // namespace

bool InBidirectionalOrder() { return Doc.LineOrderChoice == LineOrderBidirectional; }

OrderedLine OrderLine(HDC dc, std::int32_t index) {
    const LineRecord& record = Doc.LineTable[index];
    OrderedLine line;
    line.Start = record.Start;
    line.VisibleEnd = VisibleEnd(record);
    line.Count = std::max(0, line.VisibleEnd - line.Start + 1);
    const std::int32_t n = line.Count;
    const std::uint8_t* text = Doc.TextBuffer + line.Start;
    const OrderedLineKey key{line.Start, line.VisibleEnd, Doc.EditCount, Doc.TextLength,
                             TextGeneration};
    if (InBidirectionalOrder() && n > 0 && LastOrdered.Valid && SameLine(LastOrdered, key)) {
        // The line just ordered, asked for again by the caret or the paint of one operation:
        // only its drawn bytes go again into DrawnLineBytes, which others share.
        for (std::int32_t k = 0; k < n; ++k) {
            const std::int32_t i = Line.Visual[k];
            Doc.DrawnLineBytes[k] = (Line.Level[i] & 1) ? MirroredByte(text[i]) : text[i];
        }
        line.LeftToRight = LastOrdered.LeftToRight;
    } else {
        LastOrdered.Valid = false;
        const std::uint8_t paragraph =
            InBidirectionalOrder() ? FindParagraph(line.Start, index).Level : RightToLeftLevel;
        const bool bidirectional =
            InBidirectionalOrder() && n > 0 && OrderByLevels(line, paragraph);
        if (!bidirectional) OrderReversed(text, n, false);
        // A line the system could not order is shown reversed, at the right.
        line.LeftToRight = paragraph == 0 && (bidirectional || n == 0);
        LastOrdered = key;
        LastOrdered.Valid = bidirectional;
        LastOrdered.LeftToRight = line.LeftToRight;
    }
    Doc.DrawnLineBytes[n] = 0;
    MeasureEdges(dc, n);
    line.Width = Line.Edge[n];
    line.Left = line.LeftToRight ? Geo.TextLeft : Geo.TextRight - line.Width;
    return line;
}

bool LeftToRightParagraphAt(std::int32_t pos) {
    return InBidirectionalOrder() && ParagraphLevelAt(pos) == 0;
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

std::int32_t CaretEdge(const OrderedLine& line, std::int32_t pos) {
    if (line.Count == 0) return 0;
    pos = std::max(pos, line.Start);
    // By the character before: past the visible end, and where a run nested deeper ends.
    const bool before =
        pos > line.VisibleEnd ||
        (pos > line.Start && Line.Level[pos - 1 - line.Start] > Line.Level[pos - line.Start]);
    if (before) {
        const std::int32_t last = pos > line.VisibleEnd ? line.VisibleEnd : pos - 1;
        const std::int32_t slot = SlotOfPosition(line, last);
        return IsRightToLeft(line, last) ? slot : slot + 1;  // its trailing edge
    }
    const std::int32_t slot = SlotOfPosition(line, pos);
    return IsRightToLeft(line, pos) ? slot + 1 : slot;  // the leading edge
}

std::int32_t CaretX(const OrderedLine& line, std::int32_t pos) {
    return EdgeX(line, CaretEdge(line, pos));
}

void NoteTextEdit(std::int32_t p, std::int32_t removed, const std::uint8_t* inserted,
                  std::int32_t count) {
    Before.NewFrom = 0;
    Before.NewTo = TextLimit;
    Before.Count = 0;
    if (!Kept.Valid || Kept.EditCount != Doc.EditCount || Kept.TextLength != Doc.TextLength) {
        Kept.Valid = false;
        return;
    }
    if (Kept.PairsStale) FindPairs();
    const std::uint8_t* text = Doc.TextBuffer;
    const std::int32_t delta = count - removed;
    // The bytes whose levels the edit may change: those between the anchors around it when
    // it changes no bracket and no line break, so that every pair and every other anchor
    // stays; otherwise the whole paragraphs it touches.
    // An edit that gives the paragraph another first strong character may turn its
    // direction, and then every line of it.
    const bool plain = !HoldsBracketOrLineBreak(text + p, removed) &&
                       !HoldsBracketOrLineBreak(inserted, count) &&
                       !(p > 0 && text[p - 1] == CarriageReturn && text[p + removed] == LineFeed) &&
                       !TurnsParagraph(p, removed, inserted, count);
    std::int32_t before = p - 1;       // the last byte before them
    std::int32_t after = p + removed;  // the first byte after them (old places)
    if (plain) {
        if (!StartsParagraph(p)) {
            before = AnchorBefore(p - 1);
            if (!IsAnchor(before)) --before;  // the paragraph's first byte, and no anchor
        }
        if (!AtParagraphEnd(after)) {
            after = AnchorAfter(after);
            if (!IsAnchor(after)) ++after;  // the paragraph's last byte, and no anchor
        }
    } else {
        while (!StartsParagraph(before + 1)) --before;
        while (!AtParagraphEnd(after)) ++after;
        Kept.PairsStale = true;
    }
    SaveLevelsBefore(before + 1, after - before - 1);
    Before.NewFrom = before + 1;
    Before.NewTo = after - 1 + delta;
    // What is known after the edit moves with its bytes; what it may change is forgotten.
    const auto tail = static_cast<std::size_t>(Doc.TextLength - p - removed);
    std::memmove(Kept.Levels + p + count, Kept.Levels + p + removed, tail);
    std::memset(Kept.Levels + before + 1, Unknown,
                static_cast<std::size_t>(after + delta - before - 1));
    if (plain) {
        std::int32_t* first = std::lower_bound(Kept.Close, Kept.Close + Kept.PairCount, p);
        for (auto j = first - Kept.Close; j < Kept.PairCount; ++j) {
            if (Kept.Open[j] >= p + removed) Kept.Open[j] += delta;
            Kept.Close[j] += delta;
        }
    }
    // The edit counts from when it is made; ApplyTextEdit makes it next.
    Kept.EditCount = Doc.EditCount + 1;
    Kept.TextLength = Doc.TextLength + delta;
}

void NoteTextReplaced() {
    Kept.Valid = false;
    ++TextGeneration;
    Before.NewFrom = 0;
    Before.NewTo = TextLimit;
    Before.Count = 0;
}

void BytesTheEditMayReorder(std::int32_t* first, std::int32_t* last) {
    *first = Before.NewFrom;
    *last = std::min(Before.NewTo, Doc.TextLength - 1);
}

bool LevelsMayHaveChanged(std::int32_t from, std::int32_t to, std::int32_t oldFrom) {
    if (to < Before.NewFrom || from > Before.NewTo) return false;
    const std::uint8_t* now = TextLevels(from, to);
    if (now == nullptr) return true;
    const std::uint8_t paragraph = ParagraphLevelAt(from);
    for (std::int32_t k = std::max(0, Before.NewFrom - from);
         k <= std::min(to, Before.NewTo) - from; ++k) {
        const std::int32_t old = oldFrom + k - Before.OldFrom;
        if (old < 0 || old >= Before.Count || Before.Levels[old] == Unknown ||
            Before.Levels[old] != WithDirection(now[k], paragraph)) {
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
