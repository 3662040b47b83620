// The Word Wrap, Font Name, Font Point Size and Line Order menus.
#pragma once

#include "platform/platform.h"

namespace nv {

void SetWordWrap(WPARAM command);
void SetFontFace(WPARAM command);
void SetPointSize(WPARAM command);
// Reversed or Bidirectional: the text area is drawn again; text, line breaks, caret,
// selection and view stay.
void SetLineOrder(WPARAM command);

}  // namespace nv
