#include "view/text_paint.h"

namespace nv {

void PaintPageLines(HDC) {}
void PaintText(HDC) {}
void PaintCaret(HDC) {}
void PaintSelection(HDC) {}
ReversedLine ReverseLine(HDC, std::int32_t) { return ReversedLine{}; }
std::int32_t RightEdge(HDC, const ReversedLine& line, std::int32_t) { return line.Left; }

}  // namespace nv
