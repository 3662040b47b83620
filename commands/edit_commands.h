// The Edit menu: Cut, Copy and Paste through the clipboard as Unicode text, Delete, and
// Select All.
#pragma once

namespace nv {

void EditCut();
void EditCopy();
void EditPaste();
void EditDelete();
void EditSelectAll();

}  // namespace nv
