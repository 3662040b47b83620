// Painting of the text area: page rules, right-aligned right-to-left text, the caret bar
// and the inverted selection.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace nv {

void PaintPageLines(HDC dc);
void PaintText(HDC dc);
void PaintCaret(HDC dc);
void PaintSelection(HDC dc);

// A display line turned around into ReversedLineBuffer and measured in the font selected
// into a device context: the shared basis of painting, caret, selection and hit testing.
struct ReversedLine {
    std::int32_t Start = 0;
    std::int32_t VisibleEnd = 0;  // before Start for an empty line
    std::int32_t Count = 0;       // visible bytes
    std::int32_t Width = 0;       // of the visible bytes
    std::int32_t Left = 0;        // x0 = TextRight - Width
};

ReversedLine ReverseLine(HDC dc, std::int32_t line);

// The x just right of the character at pos, for Start <= pos <= VisibleEnd.
std::int32_t RightEdge(HDC dc, const ReversedLine& line, std::int32_t pos);

}  // namespace nv
