#include "input/mouse.h"

namespace nv {

void HandleLeftButtonDown(LPARAM) {}

}  // namespace nv
