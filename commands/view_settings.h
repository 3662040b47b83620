// The Word Wrap, Font Name and Font Point Size menus.
#pragma once

#include "platform/platform.h"

namespace nv {

void SetWordWrap(WPARAM command);
void SetFontFace(WPARAM command);
void SetPointSize(WPARAM command);

}  // namespace nv
