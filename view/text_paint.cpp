#include "view/text_paint.h"

namespace nv {

void PaintPageLines(HDC) {}
void PaintText(HDC) {}
void PaintCaret(HDC) {}
void PaintSelection(HDC) {}

}  // namespace nv
