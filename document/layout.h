// Line layout: breaks the text into display lines at a column width, in whole or after an edit.
#pragma once

#include <cstdint>

#include "document/advance_table.h"
#include "platform/platform.h"

namespace nv {

// Rebuilds LineTable and LineCount from TextBuffer, breaking lines at columnWidth with
// the advances of the document font. The table holds at most lineLimit records; when it
// fills, shows "Can Not Add Line" once and returns false.
bool BreakIntoLines(const AdvanceTable& advances, std::int32_t columnWidth, std::int32_t lineLimit);

// The same records after an edit at p that took out `removed` bytes and put in `inserted`
// (TextBuffer already holds the new text): the lines are broken again only from the line
// before the one the edit touches until a new line starts where an old one, moved by the
// edit, started; the old lines from there on move with the text. Falls back on the whole
// layout when the table was not last built in whole at this width, wrap and font.
bool BreakLinesAfterEdit(const AdvanceTable& advances, std::int32_t columnWidth,
                         std::int32_t lineLimit, std::int32_t p, std::int32_t removed,
                         std::int32_t inserted);

// Width of count bytes in the font selected into dc, and that font's tmHeight. A failed
// width query gives width 0 and height 0 and returns false.
bool MeasureRun(HDC dc, const std::uint8_t* bytes, int count, std::int32_t* width,
                std::int32_t* height);

// The first display line whose End is at or after pos, else the last line.
std::int32_t LineOfPosition(std::int32_t pos);

}  // namespace nv
