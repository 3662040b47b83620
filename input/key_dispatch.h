// The key-down handler: text mode moves the caret and edits, palette mode drives the
// character palette.
#pragma once

#include "platform/platform.h"

namespace nv {

void HandleKeyDown(UINT virtualKey);

}  // namespace nv
