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
// View > Status Bar: shows the bar when hidden and hides it when shown, with its check mark.
void ToggleStatusBar();

}  // namespace nv
