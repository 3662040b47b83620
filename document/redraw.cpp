#include "document/redraw.h"

namespace nv {

void RefreshCaret(std::int32_t) {}
void RefreshLineFrom(std::int32_t, std::int32_t) {}
void RefreshRange(std::int32_t, std::int32_t) {}
bool TakeOldLines(OldLines*) { return true; }
void FreeOldLines(OldLines*) {}
void RepaintChangedLines(const OldLines&, std::int32_t, std::int32_t, std::int32_t) {}
void FollowCaret() {}

}  // namespace nv
