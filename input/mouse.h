// Left-button clicks in the text area and on the character palette.
#pragma once

#include "app/platform.h"

namespace nv {

// lParam carries the pointer in client coordinates, x in the low word and y in the high
// word, both unsigned. In the text area: places the caret under the pointer (Shift extends
// or starts a selection). On the palette: focuses the item and activates Up, Down and the
// cells; a press on Up or Down starts the auto-repeat. Anywhere else: nothing.
void HandleLeftButtonDown(LPARAM lParam);

}  // namespace nv
