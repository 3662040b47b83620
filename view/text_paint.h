// Painting of the text area: page rules, right-aligned right-to-left text, the caret bar
// and the inverted selection.
#pragma once

#include <cstdint>

#include "app/platform.h"

namespace nv {

void PaintPageLines(HDC dc);
void PaintText(HDC dc);
void PaintCaret(HDC dc);
void PaintSelection(HDC dc);

}  // namespace nv
