#include "input/key_dispatch.h"

namespace nv {

void HandleKeyDown(UINT) {}

}  // namespace nv
