// The key-down handler: text mode moves the caret and edits, palette mode drives the
// character palette.
#pragma once

#include "platform/platform.h"

namespace nv {

// Ctrl and Alt as the last key-down found them: the keys that act with Ctrl, and the
// character a key makes right after its key-down, are told by these without asking again,
// as under Wine every GetKeyState is a call to the display server, a tenth of a keystroke.
struct KeyModifiers {
    bool Control = false;
    bool Menu = false;  // asked only with Control (Ctrl+Alt is how some layouts type)
};
extern KeyModifiers ModifiersAtKeyDown;

// At every key-down, before it is handled.
void NoteModifiersAtKeyDown();
// At the release of Ctrl or Alt, and when the window loses the keyboard.
void ForgetModifiers();

void HandleKeyDown(UINT virtualKey);

}  // namespace nv
