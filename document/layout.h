// Line layout: breaks the whole text into display lines at the 6-inch column.
#pragma once

#include <cstdint>

#include "app/platform.h"

namespace nv {

// Rebuilds LineTable and LineCount from TextBuffer, sets the scroll range and clamps
// ViewTop. Shows "Can Not Add Line" once when the line table is full.
void LayoutDocument();

// The same layout with a line table of lineLimit records (at most LineLimit). The full
// table can never fill, since every line holds at least one byte; a smaller table lets
// the line limit be exercised.
void LayoutDocumentWithLineLimit(std::int32_t lineLimit);

// Width of count bytes in the font selected into dc, and that font's tmHeight. A failed
// width query gives width 0 and height 0 and returns false.
bool MeasureRun(HDC dc, const std::uint8_t* bytes, int count, std::int32_t* width,
                std::int32_t* height);

// The first display line whose End is at or after pos, else the last line.
std::int32_t LineOfPosition(std::int32_t pos);

}  // namespace nv
