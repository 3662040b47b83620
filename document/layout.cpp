#include "document/layout.h"

#include <algorithm>

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

// Appends the line Start..End with its measure; false when the table already holds
// lineLimit lines.
bool AppendLine(const AdvanceTable& advances, std::int32_t lineLimit, std::int32_t start,
                std::int32_t end, std::int32_t spaces, RunMeasure measure) {
    if (Doc.LineCount >= lineLimit) {
        ShowWarning("Input exceeds memory limit", "Can Not Add Line");
        return false;
    }
    LineRecord& line = Doc.LineTable[Doc.LineCount];
    line = LineRecord{};
    line.Start = start;
    line.End = end;
    line.SpaceCount = spaces;
    line.Width = measure.Failed ? 0 : measure.Width;
    line.Height = measure.Failed ? 0 : advances.Height;
    ++Doc.LineCount;
    return true;
}

}  // namespace

// Breaks the text into lines. Each width test compares the sum of the advances from the
// line start through the byte under test with the available width; the sum is kept as the
// scan goes, and so is the sum up to the last space, where a word-wrapped line may end. A
// run holding a code whose width query fails measures 0 and so always fits. Returns false
// when the line table filled.
bool BreakIntoLines(const AdvanceTable& advances, std::int32_t available, std::int32_t lineLimit) {
    Doc.LineCount = 0;
    const std::uint8_t* text = Doc.TextBuffer;
    const std::int32_t length = Doc.TextLength;
    const bool wrapAtSpaces = Doc.WordWrapChoice != WordWrapNo;

    std::int32_t start = 0;
    std::int32_t spaces = 0;
    std::int32_t lastSpace = -1;
    RunMeasure run;      // start .. i - 1
    RunMeasure toSpace;  // start .. lastSpace
    std::int32_t i = 0;
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
            if (!AppendLine(advances, lineLimit, start, i + 1, spaces, line)) return false;
            beginLine(i + 2);
            continue;
        }
        if (byte == 0 && i == length - 1) {
            return AppendLine(advances, lineLimit, start, i, spaces, run.With(advances, 0));
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
        if (!AppendLine(advances, lineLimit, start, end, spaces, line)) return false;
        beginLine(end + 1);
    }
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
