// Left-button clicks in the text area and on the character palette.
#pragma once

#include "app/platform.h"

namespace nv {

void HandleLeftButtonDown(LPARAM lParam);

}  // namespace nv
