// Drawing a run of document bytes in one call, by glyph index: the system then does no
// language processing, so it neither reorders the already reversed right-to-left line nor
// shapes it, and every character stands at the sum of the advances to its left, exactly
// where measuring, the caret, the selection and hit testing put it.
#pragma once

#include <cstdint>

#include "document/advance_table.h"
#include "platform/platform.h"

namespace nv {

// Draws count bytes from (x, y) left to right in the font selected into dc, whose advances
// and glyphs are `font`. A code whose width query failed advances by 0. When the system
// could not give the glyphs, each byte is drawn by itself.
void DrawRun(HDC dc, const AdvanceTable& font, int x, int y, const std::uint8_t* bytes, int count);

}  // namespace nv
