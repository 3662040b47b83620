// The window procedure of the main window: the one place where the system's messages
// enter the editor.
#pragma once

#include "platform/platform.h"

namespace nv {

LRESULT MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace nv
