#include "platform/platform.h"

namespace nv {

namespace {
Platform* platformInUse = nullptr;
}

Platform& CurrentPlatform() { return *platformInUse; }

void SetCurrentPlatform(Platform* platform) { platformInUse = platform; }

}  // namespace nv
