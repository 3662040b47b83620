#include "input/palette_keys.h"

#include <algorithm>

#include "document/store.h"
#include "input/insert_character.h"
#include "input/key_dispatch.h"
#include "view/geometry.h"

namespace nv {

namespace {

constexpr std::int32_t FirstBank = 3;
constexpr std::int32_t LastBank = 25;

bool IsHeld(int virtualKey) { return GetKeyState(virtualKey) < 0; }

bool IsCell(std::int32_t item) { return item >= PaletteFirstCell && item <= PaletteLastCell; }

void Repaint(const RECT& area) { InvalidateRect(Doc.MainWindow, &area, 1); }

// The focus is set before the two frames are repainted, so each shows its new state.
void FocusTo(std::int32_t item) {
    std::int32_t old = Doc.PaletteFocus;
    if (item == old) return;
    Doc.PaletteFocus = item;
    RefreshPaletteItem(old);
    RefreshPaletteItem(item);
}

void BankTo(std::int32_t bank) {
    std::int32_t old = Doc.PaletteBank;
    Doc.PaletteBank = bank;
    if (bank != old) RefreshPaletteBank();
}

void LeavePaletteMode() {
    Doc.PaletteMode = 0;
    RefreshTextFocusStrip();
    RefreshPaletteItem(Doc.PaletteFocus);
}

}  // namespace

void StepPaletteBank(std::int32_t steps) {
    BankTo(std::clamp(Doc.PaletteBank + steps, FirstBank, LastBank));
}

std::int32_t PageUpBank(std::int32_t bank, bool ctrl) {
    if (!ctrl) return std::max(bank - 5, FirstBank);
    std::int32_t tens = bank / 10;
    if (bank % 10 == 0) tens = std::max(tens - 1, 0);
    return std::max(10 * tens, FirstBank);
}

std::int32_t PageDownBank(std::int32_t bank, bool ctrl) {
    if (!ctrl) return std::min(bank + 5, LastBank);
    return std::min((bank / 10 + 1) * 10, LastBank);
}

void RefreshPaletteItem(int item) {
    if (item < 0 || item >= PaletteItemCount) return;
    const RECT& r = Geo.PaletteItemRects[item];
    Repaint(RECT{r.left - 1, r.top - 1, r.right + 1, r.bottom + 1});
}

void RefreshPaletteBank() {
    Repaint(Geo.PaletteItemRects[PaletteIndicator]);
    const RECT& first = Geo.PaletteItemRects[PaletteFirstCell];
    const RECT& last = Geo.PaletteItemRects[PaletteLastCell];
    Repaint(RECT{first.left, first.top, last.right, last.bottom});
}

void RefreshTextFocusStrip() {
    Repaint(RECT{Geo.TextLeft, Geo.TextTop - 2, Geo.TextRight, Geo.TextTop - 1});
}

void EnterPaletteMode() {
    Doc.PaletteMode = 1;
    RefreshTextFocusStrip();
    Doc.PaletteFocus = PaletteUp;
    RefreshPaletteItem(PaletteUp);
}

void ActivatePaletteItem() {
    std::int32_t focus = Doc.PaletteFocus;
    std::int32_t bank = Doc.PaletteBank;
    if (focus == PaletteUp) {
        if (bank != FirstBank) BankTo(bank - 1);
    } else if (focus == PaletteDown) {
        if (bank != LastBank) BankTo(bank + 1);
    } else if (IsCell(focus)) {
        InsertCharacter(bank * 10 + (focus - PaletteFirstCell));
    }
}

void HandlePaletteKey(UINT virtualKey) {
    std::int32_t focus = Doc.PaletteFocus;
    std::int32_t bank = Doc.PaletteBank;
    switch (virtualKey) {
        case VK_LEFT:
            if (IsCell(focus) && focus != PaletteFirstCell) FocusTo(focus - 1);
            break;
        case VK_RIGHT:
            if (IsCell(focus) && focus != PaletteLastCell) FocusTo(focus + 1);
            break;
        case VK_UP:
            if (focus == PaletteDown) {
                FocusTo(PaletteUp);
            } else if (IsCell(focus) && bank != FirstBank) {
                BankTo(bank - 1);
            }
            break;
        case VK_DOWN:
            if (focus == PaletteUp) {
                FocusTo(PaletteDown);
            } else if (IsCell(focus) && bank != LastBank) {
                BankTo(bank + 1);
            }
            break;
        case VK_TAB:
            if (IsHeld(VK_SHIFT)) {
                LeavePaletteMode();
            } else if (focus == PaletteUp || focus == PaletteDown) {
                FocusTo(PaletteFirstCell);
            } else if (IsCell(focus)) {
                FocusTo(PaletteUp);
            }
            break;
        case VK_RETURN:
        case VK_SPACE:
            ActivatePaletteItem();
            break;
        case VK_HOME:
            if (ModifiersAtKeyDown.Control) BankTo(FirstBank);
            FocusTo(PaletteFirstCell);
            break;
        case VK_END:
            if (ModifiersAtKeyDown.Control) BankTo(LastBank);
            FocusTo(PaletteLastCell);
            break;
        case VK_PRIOR:
            BankTo(PageUpBank(bank, ModifiersAtKeyDown.Control));
            FocusTo(PaletteFirstCell);
            break;
        case VK_NEXT:
            BankTo(PageDownBank(bank, ModifiersAtKeyDown.Control));
            FocusTo(PaletteFirstCell);
            break;
        default:
            break;
    }
}

}  // namespace nv
