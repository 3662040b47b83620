#include "commands/view_settings.h"

namespace nv {

void SetWordWrap(WPARAM) {}
void SetFontFace(WPARAM) {}
void SetPointSize(WPARAM) {}

}  // namespace nv
