// Ctrl with the arrows, Backspace and Delete: moving and deleting a word at a time, in
// typing order (Ctrl+Left goes forward into the text, as Left does), and the word a double
// click chooses.
#pragma once

#include <cstdint>

namespace nv {

void CaretNextWord();       // Ctrl+Left: to the start of the next word; Shift extends
void CaretPreviousWord();   // Ctrl+Right: to the start of the word before; Shift extends
void DeletePreviousWord();  // Ctrl+Backspace: back to the start of the word before, one step
void DeleteNextWord();      // Ctrl+Delete: up to the start of the next word, one step

// Selects the word, the run of spaces or of other characters at the character at pos, the
// caret at its end; nothing on a line break or at the end of the text.
void SelectWordAt(std::int32_t pos);

}  // namespace nv
