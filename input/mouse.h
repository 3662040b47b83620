// Left-button clicks in the text area and on the character palette.
#pragma once

#include "platform/platform.h"

namespace nv {

// lParam carries the pointer in client coordinates, x in the low word and y in the high
// word, both unsigned. In the text area: places the caret under the pointer (Shift extends
// or starts a selection). On the palette: focuses the item and activates Up, Down and the
// cells. Anywhere else: nothing. True for a press on Up or Down, which the caller repeats
// while the button is held.
bool HandleLeftButtonDown(LPARAM lParam);

}  // namespace nv
