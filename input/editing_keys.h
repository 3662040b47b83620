// The keys that change the text in text mode: Tab, Enter, Backspace and Delete. Each one
// replaces or removes the active selection; without one it works at the caret.
#pragma once

namespace nv {

void TabKey();        // four spaces
void EnterKey();      // a line break, carriage return and line feed
void BackspaceKey();  // the character (or whole line break) before the caret
void DeleteKey();     // the character (or whole line break) after the caret

}  // namespace nv
