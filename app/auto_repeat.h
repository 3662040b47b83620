// The auto-repeat of a held palette Up or Down button: timer 1 and the mouse capture run
// exactly while AutoRepeat is 1.
#pragma once

#include "platform/platform.h"

namespace nv {

constexpr std::uintptr_t AutoRepeatTimer = 1;
constexpr UINT AutoRepeatFirstDelay = 400;
constexpr UINT AutoRepeatInterval = 100;

void StartAutoRepeat();
void AutoRepeatTick();
// Stops the repeat once the pointer leaves the focused palette item.
void AutoRepeatLeaveTest(LPARAM lParam);
void StopAutoRepeat();
// Another window took the mouse: the button-up will not come to us, so the repeat ends
// here, leaving the capture to its new owner.
void AutoRepeatCaptureLost();

}  // namespace nv
