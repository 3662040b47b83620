// Painting of the character palette band: outlines, the Up and Down labels, the bank
// indicator, the digit headers, the ten character cells and the keyboard focus frame.
#pragma once

#include "platform/platform.h"

namespace nv {

// Draws the whole palette on a paint device context; leaves transparent background mode and
// text alignment 0.
void PaintPalette(HDC dc);

// Character height of the label and cell fonts: four sevenths of the Up button's height,
// negative so that it asks for a character height.
LONG PaletteLabelHeight();

}  // namespace nv
