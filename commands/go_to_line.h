// Edit > Go To: the Go To Line dialog of the exe's resources, and the move to a display line.
#pragma once

#include <cstdint>

namespace nv {

// Opens the dialog on the caret's line number. OK with a number from 1 to the line count
// moves there; any other number is told in a message over the dialog, which stays open.
void EditGoTo();

// Puts the caret at the start of display line `line` (from 0), without a selection, and
// scrolls that line into view.
void MoveCaretToLine(std::int32_t line);

}  // namespace nv
