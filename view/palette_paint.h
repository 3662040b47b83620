// Painting of the character palette band.
#pragma once

#include "app/platform.h"

namespace nv {

void PaintPalette(HDC dc);

}  // namespace nv
