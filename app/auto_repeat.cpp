#include "app/auto_repeat.h"

#include "document/store.h"
#include "input/key_dispatch.h"
#include "view/geometry.h"

namespace nv {

void StartAutoRepeat() {
    Doc.AutoRepeat = 1;
    SetCapture(Doc.MainWindow);
    SetTimer(Doc.MainWindow, AutoRepeatTimer, AutoRepeatFirstDelay);
}

void AutoRepeatTick() {
    if (Doc.AutoRepeat != 1) return;
    if (Doc.PaletteFocus != PaletteUp && Doc.PaletteFocus != PaletteDown) return;
    HandleKeyDown(VK_RETURN);
    KillTimer(Doc.MainWindow, AutoRepeatTimer);
    SetTimer(Doc.MainWindow, AutoRepeatTimer, AutoRepeatInterval);
}

void AutoRepeatLeaveTest(LPARAM lParam) {
    // Taken unsigned: a pointer dragged above or left of the window gives 32768 or more.
    auto x = static_cast<LONG>(LOWORD(static_cast<std::uintptr_t>(lParam)));
    auto y = static_cast<LONG>(HIWORD(static_cast<std::uintptr_t>(lParam)));
    const RECT& item = Geo.PaletteItemRects[Doc.PaletteFocus];
    bool inside = item.left <= x && x < item.right && item.top <= y && y < item.bottom;
    if (!inside) StopAutoRepeat();
}

void AutoRepeatCaptureLost() {
    Doc.AutoRepeat = 0;
    KillTimer(Doc.MainWindow, AutoRepeatTimer);
}

void StopAutoRepeat() {
    Doc.AutoRepeat = 0;
    KillTimer(Doc.MainWindow, AutoRepeatTimer);
    ReleaseCapture();
}

}  // namespace nv
