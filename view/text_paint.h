// Painting of the text area: page rules, right-aligned right-to-left text in the line order
// chosen, the caret bar and the inverted selection.
#pragma once

#include "platform/platform.h"

namespace nv {

void PaintPageLines(HDC dc);
void PaintText(HDC dc);
void PaintCaret(HDC dc);
void PaintSelection(HDC dc);

}  // namespace nv
