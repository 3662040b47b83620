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

// The second press of a double click: in the text area it chooses the word (or the run of
// spaces) under the pointer; elsewhere it is a press like any other, so that quick clicks on
// the palette each count.
bool HandleLeftButtonDoubleClick(LPARAM lParam);

// WM_MOUSEWHEEL: over the palette each notch steps the bank as its arrows do, elsewhere the
// text scrolls as the scroll bar scrolls it; the caret stays where it is.
void HandleMouseWheel(WPARAM wParam, LPARAM lParam);

}  // namespace nv
