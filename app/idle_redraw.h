// The parts of the window that are slow to draw under Wine: the scroll bar, and the status
// bar, whose control paints itself at once for every text it takes. An operation only notes
// that they changed; they are brought up to date from a message of the editor's own once no
// key or click waits, so a burst of typing draws them once, when it ends.
#pragma once

#include "platform/platform.h"

namespace nv {

constexpr UINT IdleRedrawMessage = WM_APP + 1;

// A new main window starts with nothing to redraw and nothing posted.
void ResetIdleRedraw();

// After every operation: its status bar texts may have changed.
void NoteStatusBarChanged();

// After every message of the main window: a changed scroll bar or status bar gets one
// IdleRedrawMessage in the queue (drawn at once when the queue refuses it).
void PostIdleRedraw();

// The message itself: while keys or clicks wait, both are left for the message after them,
// which posts again; otherwise the changed ones are drawn.
void HandleIdleRedrawMessage();

}  // namespace nv
