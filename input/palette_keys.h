// Keyboard control of the character palette.
#pragma once

#include "app/platform.h"

namespace nv {

// Every key while PaletteMode is 1.
void HandlePaletteKey(UINT virtualKey);
// Shift+Tab in text mode.
void EnterPaletteMode();

void ActivatePaletteItem();
void RefreshPaletteItem(int item);
void RefreshPaletteBank();
void RefreshTextFocusStrip();

}  // namespace nv
