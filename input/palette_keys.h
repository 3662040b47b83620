// Keyboard control of the character palette. Shift+Tab moves keyboard input between the
// text and the palette; in palette mode the arrows, Home, End, Page Up, Page Down and Tab
// move the focus and the bank, and Enter or Space activates the focused item.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace nv {

// Every key while PaletteMode is 1.
void HandlePaletteKey(UINT virtualKey);
// Shift+Tab in text mode: the palette takes the keyboard, focused on the Up button.
void EnterPaletteMode();

// Enter or Space on the focused item: Up and Down step the bank (stopping at 3 and 25), a
// cell inserts its code. The focus never moves.
void ActivatePaletteItem();

// Each repaints at once. An item's area is its rectangle grown by one pixel, which holds
// its focus frame.
void RefreshPaletteItem(int item);
// The bank indicator, then the row of ten cells.
void RefreshPaletteBank();
// The row above the text area that is doubled while the text has the keyboard.
void RefreshTextFocusStrip();

// Steps the bank as that many presses of Down (negative: of Up) would, within 3 to 25.
void StepPaletteBank(std::int32_t steps);

// The bank that Page Up and Page Down show, plain or with Ctrl.
std::int32_t PageUpBank(std::int32_t bank, bool ctrl);
std::int32_t PageDownBank(std::int32_t bank, bool ctrl);

}  // namespace nv
