// Find, Find Next and Replace through the system's modeless Find and Replace dialogs. The
// dialogs speak UTF-16; their texts become document bytes by the document's own mapping.
#pragma once

#include "platform/platform.h"

namespace nv {

// The Edit menu's Find (Ctrl+F), Find Next (F3) and Replace (Ctrl+H).
void EditFind();
void EditFindNext();
void EditReplace();

// The registered message the dialogs send to the main window, once it is known.
bool IsFindReplaceMessage(UINT message);
// A button of the open dialog was pressed, or the dialog closed; lParam is its record.
void HandleFindReplaceMessage(LPARAM lParam);

// The open dialog, for the message loop's IsDialogMessage; nullptr when none is open.
HWND FindReplaceDialog();

// Back to the state of a new process (for tests).
void ResetFindState();

}  // namespace nv
