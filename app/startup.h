// What happens while the main window is being created.
#pragma once

#include "platform/platform.h"

namespace nv {

// The start-up user agreement; returns IDYES or IDNO.
int ShowUserAgreement();

// WM_CREATE: returns 0 to go on, or -1 to fail the creation when the user declines.
LRESULT HandleCreate(HWND window);

}  // namespace nv
