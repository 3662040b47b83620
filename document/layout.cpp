#include "document/layout.h"

#include <algorithm>
#include <cstring>

#include "document/advance_table.h"
#include "document/store.h"

namespace nv {

namespace {

constexpr std::int32_t WordWrapNo = 42000;
constexpr std::uint8_t Space = 32;

// A run's measure as MeasureRun gives it: the sum of its advances, or width 0 and height
// 0 when the query for one of its codes failed.
struct RunMeasure {
    std::int32_t Width = 0;
    bool Failed = false;

    RunMeasure With(const AdvanceTable& advances, std::uint8_t code) const {
        return RunMeasure{Width + advances.Advance[code], Failed || advances.Fails[code]};
    }
};

// The line Start..End with its measure.
LineRecord MakeLine(const AdvanceTable& advances, std::int32_t start, std::int32_t end,
                    std::int32_t spaces, RunMeasure measure) {
    LineRecord line{};
    line.Start = start;
    line.End = end;
    line.SpaceCount = spaces;
    line.Width = measure.Failed ? 0 : measure.Width;
    line.Height = measure.Failed ? 0 : advances.Height;
    return line;
}

// Appends a line; false, with the warning, when the table already holds lineLimit lines.
bool AppendLine(std::int32_t lineLimit, const LineRecord& line) {
    if (Doc.LineCount >= lineLimit) {
        ShowWarning("Input exceeds memory limit", "Can Not Add Line");
        return false;
    }
    Doc.LineTable[Doc.LineCount++] = line;
    return true;
}

// Breaks lines from start on, handing each to lineDone(line, next), where next is where the
// following line begins, or -1 after the line the terminator ends; the scan stops when
// lineDone returns false or the text ends. Each width test compares the sum of the advances
// from the line start through the byte under test with the available width; the sum is kept
// as the scan goes, and so is the sum up to the last space, where a word-wrapped line may
// end. A run holding a code whose width query fails measures 0 and so always fits.
//
// What a line's scan reads: at most the byte after the one that did not fit, and that byte
// lies at most one after the End of the following line (the following line holds no space
// before it and, with advances of 0 or more, fits everything before it). So a line's breaks
// depend on no byte past the End of the next line plus 2; the layout after an edit relies
// on it.
template <typename LineDone>
void ScanLines(const AdvanceTable& advances, std::int32_t available, std::int32_t from,
               LineDone lineDone) {
    const std::uint8_t* text = Doc.TextBuffer;
    const std::int32_t length = Doc.TextLength;
    const bool wrapAtSpaces = Doc.WordWrapChoice != WordWrapNo;

    std::int32_t start = from;
    std::int32_t spaces = 0;
    std::int32_t lastSpace = -1;
    RunMeasure run;      // start .. i - 1
    RunMeasure toSpace;  // start .. lastSpace
    std::int32_t i = from;
    auto beginLine = [&](std::int32_t at) {
        start = at;
        spaces = 0;
        lastSpace = -1;
        run = RunMeasure{};
        i = at;
    };

    while (i < length) {
        const std::uint8_t byte = text[i];
        if (byte == CarriageReturn && i + 1 < length && text[i + 1] == LineFeed) {
            RunMeasure line = run.With(advances, CarriageReturn).With(advances, LineFeed);
            if (!lineDone(MakeLine(advances, start, i + 1, spaces, line), i + 2)) return;
            beginLine(i + 2);
            continue;
        }
        if (byte == 0 && i == length - 1) {
            lineDone(MakeLine(advances, start, i, spaces, run.With(advances, 0)), -1);
            return;
        }
        RunMeasure through = run.With(advances, byte);
        if (through.Failed || through.Width <= available) {
            run = through;
            if (byte == Space) {
                lastSpace = i;
                ++spaces;
                toSpace = run;
            }
            ++i;
            continue;
        }
        std::int32_t end;
        RunMeasure line;
        if (i == start) {
            end = i;  // one byte wider than the column makes a line by itself
            line = through;
            if (byte == Space) ++spaces;
        } else if (byte == Space) {
            // A space that does not fit stays at the end of the line in both modes.
            end = i;
            line = through;
            ++spaces;
        } else if (!wrapAtSpaces || spaces == 0) {
            end = i - 1;
            line = run;
        } else {
            end = lastSpace;
            line = toSpace;
        }
        if (!lineDone(MakeLine(advances, start, end, spaces, line), end + 1)) return;
        beginLine(end + 1);
    }
}

// What the line table was last broken from in whole, so that an edit may break only the
// lines it changed. The text length and line count tell a table something else rebuilt.
struct LayoutBasis {
    bool Complete = false;
    std::int32_t Available = 0;
    std::int32_t WordWrapChoice = 0;
    std::int32_t TextLength = 0;
    std::int32_t LineCount = 0;
    std::int32_t Height = 0;
    std::int32_t Advance[256] = {};
    bool Fails[256] = {};
};
LayoutBasis Basis;

bool SameFont(const LayoutBasis& basis, const AdvanceTable& advances) {
    return basis.Height == advances.Height &&
           std::equal(advances.Advance, advances.Advance + 256, basis.Advance) &&
           std::equal(advances.Fails, advances.Fails + 256, basis.Fails);
}

void RecordBasis(const AdvanceTable& advances, std::int32_t available, bool complete) {
    Basis.Complete = complete;
    Basis.Available = available;
    Basis.WordWrapChoice = Doc.WordWrapChoice;
    Basis.TextLength = Doc.TextLength;
    Basis.LineCount = Doc.LineCount;
    if (!SameFont(Basis, advances)) {
        Basis.Height = advances.Height;
        std::copy(advances.Advance, advances.Advance + 256, Basis.Advance);
        std::copy(advances.Fails, advances.Fails + 256, Basis.Fails);
    }
}

}  // namespace

bool BreakIntoLines(const AdvanceTable& advances, std::int32_t available, std::int32_t lineLimit) {
    Doc.LineCount = 0;
    bool complete = true;
    ScanLines(advances, available, 0, [&](const LineRecord& line, std::int32_t) {
        complete = AppendLine(lineLimit, line);
        return complete;
    });
    RecordBasis(advances, available, complete);
    return complete;
}

bool BreakLinesAfterEdit(const AdvanceTable& advances, std::int32_t available,
                         std::int32_t lineLimit, std::int32_t p, std::int32_t removed,
                         std::int32_t inserted) {
    // New lines are gathered here before the unchanged ones after them move into place; an
    // edit that needs more is laid out in whole.
    constexpr std::int32_t GatherLimit = 512;
    static LineRecord gathered[GatherLimit];

    const std::int32_t oldLength = Doc.TextLength - inserted + removed;
    const std::int32_t oldCount = Doc.LineCount;
    const bool usable = Basis.Complete && Basis.Available == available &&
                        Basis.WordWrapChoice == Doc.WordWrapChoice &&
                        Basis.TextLength == oldLength && Basis.LineCount == oldCount &&
                        oldCount > 0 && Doc.LineTable[oldCount - 1].End == oldLength - 1 &&
                        p >= 0 && removed >= 0 && inserted >= 0 && p + removed < oldLength &&
                        inserted <= 16 * GatherLimit && SameFont(Basis, advances) &&
                        std::all_of(advances.Advance, advances.Advance + 256,
                                    [](std::int32_t advance) { return advance >= 0; });
    if (!usable) return BreakIntoLines(advances, available, lineLimit);

    // Lines before `first` read no byte at or after p (see ScanLines), so they stand.
    const std::int32_t first = std::max(0, LineOfPosition(p - 2) - 1);
    const std::int32_t delta = inserted - removed;

    std::int32_t count = 0;      // lines gathered
    std::int32_t k = first + 1;  // the next old line whose start may meet a new one
    bool meets = false;
    bool overflow = false;
    ScanLines(advances, available, Doc.LineTable[first].Start,
              [&](const LineRecord& line, std::int32_t next) {
                  if (count == GatherLimit) {
                      overflow = true;
                      return false;
                  }
                  gathered[count++] = line;
                  if (next < 0) return false;
                  // An old line after the changed bytes that begins where the new one does:
                  // from there on the old lines hold, moved by the change in length.
                  while (k < oldCount && (Doc.LineTable[k].Start < p + removed ||
                                          Doc.LineTable[k].Start + delta < next)) {
                      ++k;
                  }
                  meets = k < oldCount && Doc.LineTable[k].Start + delta == next;
                  return !meets;
              });
    if (overflow) return BreakIntoLines(advances, available, lineLimit);
    const std::int32_t kept = meets ? oldCount - k : 0;
    // A table that would overflow is left to the whole layout, which fills it as far as it
    // goes and warns.
    if (first + count + kept > lineLimit) return BreakIntoLines(advances, available, lineLimit);

    LineRecord* moved = Doc.LineTable + first + count;
    if (kept > 0) {
        std::memmove(moved, Doc.LineTable + k, sizeof(LineRecord) * static_cast<std::size_t>(kept));
        for (LineRecord* line = moved; line < moved + kept; ++line) {
            line->Start += delta;
            line->End += delta;
        }
    }
    std::copy(gathered, gathered + count, Doc.LineTable + first);
    Doc.LineCount = first + count + kept;
    Basis.TextLength = Doc.TextLength;
    Basis.LineCount = Doc.LineCount;
    return true;
}

bool MeasureRun(HDC dc, const std::uint8_t* bytes, int count, std::int32_t* width,
                std::int32_t* height) {
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    *width = 0;
    *height = metrics.tmHeight;
    bool trueType = (metrics.tmPitchAndFamily & TMPF_TRUETYPE) != 0;
    for (int k = 0; k < count; ++k) {
        UINT code = bytes[k];
        bool ok;
        std::int32_t advance;
        if (trueType) {
            ABC abc;
            ok = GetCharABCWidthsA(dc, code, code, &abc) != 0;
            advance = abc.abcA + static_cast<std::int32_t>(abc.abcB) + abc.abcC;
        } else {
            int charWidth = 0;
            ok = GetCharWidthA(dc, code, code, &charWidth) != 0;
            advance = charWidth;
        }
        if (!ok) {
            *width = 0;
            *height = 0;
            return false;
        }
        *width += advance;
    }
    return true;
}

std::int32_t LineOfPosition(std::int32_t pos) {
    // The Ends of the line table rise strictly, so the first End at or after pos can be
    // found by halving.
    const LineRecord* first = Doc.LineTable;
    const LineRecord* last = Doc.LineTable + Doc.LineCount;
    const LineRecord* found =
        std::partition_point(first, last, [pos](const LineRecord& line) { return line.End < pos; });
    if (found == last) return Doc.LineCount - 1;
    return static_cast<std::int32_t>(found - first);
}

}  // namespace nv
