// Ctrl+Right Shift and Ctrl+Left Shift set the reading order of the caret's paragraph in
// Bidirectional order, as in Windows' edit controls: right to left and left to right. A key
// acts when its Shift is released with Ctrl still held, and only when no other key went
// down since that Shift did. In Reversed order they do nothing.
#pragma once

#include "platform/platform.h"

namespace nv {

// Every key-down and key-up of text mode, with its lParam (the scan code tells the Shifts
// apart).
void DirectionKeyDown(UINT virtualKey, LPARAM lParam);
void DirectionKeyUp(UINT virtualKey, LPARAM lParam);

// Gives the caret's paragraph a direction through a mark at its start, 0xFE (right to left)
// or 0xFD (left to right), in place of a mark that stands there; or takes that mark away
// when the paragraph's own first strong character already gives the direction. One Undo
// step; the caret and the selection stay with their text. With the document full, adding
// a mark is refused with the insertion limit's message and nothing changes.
void SetParagraphDirection(bool rightToLeft);

}  // namespace nv
