#include "input/palette_keys.h"

namespace nv {

void HandlePaletteKey(UINT) {}
void EnterPaletteMode() {}
void ActivatePaletteItem() {}
void RefreshPaletteItem(int) {}
void RefreshPaletteBank() {}
void RefreshTextFocusStrip() {}

}  // namespace nv
