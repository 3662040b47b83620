#pragma once

namespace nv {

// Greys the Edit menu's items as the history, the selection, the clipboard and the text
// allow; runs before every popup menu opens.
void UpdateEditMenu();

}  // namespace nv
