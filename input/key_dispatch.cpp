#include "input/key_dispatch.h"

#include "document/edit_history.h"
#include "document/store.h"
#include "input/caret_keys.h"
#include "input/editing_keys.h"
#include "input/palette_keys.h"
#include "input/word_keys.h"
#include "view/line_order.h"

namespace nv {

KeyModifiers ModifiersAtKeyDown;

void NoteModifiersAtKeyDown() {
    ModifiersAtKeyDown.Control = GetKeyState(VK_CONTROL) < 0;
    ModifiersAtKeyDown.Menu = ModifiersAtKeyDown.Control && GetKeyState(VK_MENU) < 0;
}

void ForgetModifiers() { ModifiersAtKeyDown = KeyModifiers{}; }

namespace {

// Ctrl with the arrows, Backspace and Delete acts a word at a time. True when it did.
bool HandleWordKey(UINT virtualKey) {
    if (!ModifiersAtKeyDown.Control) return false;
    switch (virtualKey) {
        // A word at a time the way the arrow points: in a left-to-right paragraph Left goes
        // back in typing order.
        case VK_LEFT:
            LeftToRightParagraphAt(Doc.Caret) ? CaretPreviousWord() : CaretNextWord();
            return true;
        case VK_RIGHT:
            LeftToRightParagraphAt(Doc.Caret) ? CaretNextWord() : CaretPreviousWord();
            return true;
        case VK_BACK:
            DeletePreviousWord();
            return true;
        case VK_DELETE:
            DeleteNextWord();
            return true;
        default:
            return false;
    }
}

void HandleTextKey(UINT virtualKey) {
    // The caret keys and Escape move the caret or change the selection: the edit being
    // built ends there. The editing keys and the letter keys leave it open.
    if ((virtualKey >= VK_PRIOR && virtualKey <= VK_DOWN) || virtualKey == VK_ESCAPE) {
        BreakUndoGroup();
    }
    if (HandleWordKey(virtualKey)) return;
    switch (virtualKey) {
        case VK_LEFT:
            CaretLeft();
            break;
        case VK_RIGHT:
            CaretRight();
            break;
        case VK_UP:
            CaretUp();
            break;
        case VK_DOWN:
            CaretDown();
            break;
        case VK_HOME:
            CaretHome();
            break;
        case VK_END:
            CaretEnd();
            break;
        case VK_PRIOR:
            CaretPageUp();
            break;
        case VK_NEXT:
            CaretPageDown();
            break;
        case VK_ESCAPE:
            CancelSelection();
            break;
        case VK_TAB:
            if (GetKeyState(VK_SHIFT) < 0) {
                EnterPaletteMode();
            } else {
                TabKey();
            }
            break;
        case VK_RETURN:
            EnterKey();
            break;
        case VK_BACK:
            BackspaceKey();
            break;
        case VK_DELETE:
            DeleteKey();
            break;
        default:
            break;  // printable keys arrive as characters
    }
}

}  // namespace

void HandleKeyDown(UINT virtualKey) {
    if (Doc.PaletteMode == 1) {
        HandlePaletteKey(virtualKey);
    } else if (Doc.PaletteMode == 0) {
        HandleTextKey(virtualKey);
    }
}

}  // namespace nv
