// Where the caret goes on the screen in Bidirectional order. Left and Right pass one drawn
// character within the display line; past the line's end they go on to the next display
// line in reading order (Left in a right-to-left paragraph, Right in a left-to-right one),
// at its visual start, or back to the previous one, at its visual end.
#pragma once

#include <cstdint>

namespace nv {

// The position one character left or right of pos on the screen; pos itself at the
// text's first or last line, where there is nowhere to go.
std::int32_t PositionLeftOf(std::int32_t pos);
std::int32_t PositionRightOf(std::int32_t pos);

// A display line's visual start (its right end in a right-to-left paragraph, its left end
// in a left-to-right one) and its visual end.
std::int32_t VisualStartOf(std::int32_t line);
std::int32_t VisualEndOf(std::int32_t line);

}  // namespace nv
