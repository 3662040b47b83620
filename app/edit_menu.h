#pragma once

namespace nv {

// Greys Cut, Copy, Delete, Paste and Select All as the selection, the clipboard and the
// text allow; runs before every popup menu opens.
void UpdateEditMenu();

}  // namespace nv
