// Undo and Redo: the steps of the edit history taken back and done again through the one
// edit step, with its checks and its exact repaints.
#pragma once

namespace nv {

// Puts the text back as it was before the last step: the bytes it removed come back
// selected and the caret returns to where it stood. Nothing when there is nothing to undo.
void EditUndo();

// Does the last undone step again: the caret after what it inserted, nothing selected.
void EditRedo();

}  // namespace nv
