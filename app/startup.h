// What happens while the main window is being created.
#pragma once

#include "platform/platform.h"

namespace nv {

// The start-up user agreement; returns IDYES or IDNO.
int ShowUserAgreement();

// WM_CREATE: returns 0 to go on, or -1 to fail the creation when the user declines.
LRESULT HandleCreate(HWND window);

// Once the main window is shown, before the first message of the loop: what start-up still
// tells or offers the user.
void FinishStartUp();

}  // namespace nv
