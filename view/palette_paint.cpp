#include "view/palette_paint.h"

namespace nv {

void PaintPalette(HDC) {}

}  // namespace nv
