#include "commands/go_to_line.h"

#include <cstdio>

#include "commands/command_ids.h"
#include "document/layout.h"
#include "document/store.h"
#include "input/selection_move.h"
#include "platform/platform.h"
#include "view/redraw.h"

namespace nv {

namespace {

constexpr const char* GoToCaption = "Go To Line";
// Nine digits always fit in a UINT, so whatever is typed reads as a number; a longer one is
// past the last line anyway.
constexpr WPARAM NumberDigits = 9;

// Tells the user over the dialog, which stays open with its number selected for retyping.
void RefuseNumber(HWND dialog, const char* format) {
    char message[96];
    std::snprintf(message, sizeof message, format, static_cast<int>(Doc.LineCount));
    MessageBoxA(dialog, message, GoToCaption, MB_ICONWARNING);
    SendDlgItemMessageA(dialog, IDC_GO_TO_NUMBER, EM_SETSEL, 0, -1);
}

INT_PTR GoToDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        SendDlgItemMessageA(dialog, IDC_GO_TO_NUMBER, EM_LIMITTEXT, NumberDigits, 0);
        SetDlgItemInt(dialog, IDC_GO_TO_NUMBER, static_cast<UINT>(LineOfPosition(Doc.Caret) + 1),
                      0);
        return 1;  // the system puts the focus on the number box, its text selected
    }
    if (message != WM_COMMAND) return 0;
    const UINT button = LOWORD(wParam);
    if (button == IDCANCEL) {
        EndDialog(dialog, 0);
        return 1;
    }
    if (button != IDOK) return 0;
    BOOL translated = 0;
    const UINT number = GetDlgItemInt(dialog, IDC_GO_TO_NUMBER, &translated, 0);
    if (!translated || number == 0) {
        RefuseNumber(dialog, "Type a line number from 1 to %d.");
    } else if (number > static_cast<UINT>(Doc.LineCount)) {
        RefuseNumber(dialog, "There are only %d lines.");
    } else {
        EndDialog(dialog, static_cast<INT_PTR>(number));
    }
    return 1;
}

}  // namespace

void MoveCaretToLine(std::int32_t line) {
    const std::int32_t oldCaret = Doc.Caret;
    const std::int32_t newCaret = Doc.LineTable[line].Start;
    Doc.Caret = newCaret;
    if (newCaret != oldCaret) {
        RefreshCaret(oldCaret);
        RefreshCaret(newCaret);
    }
    const auto direction = newCaret >= oldCaret ? MoveDirection::Forward : MoveDirection::Backward;
    ApplySelectionMove(oldCaret, newCaret, direction, false);
    FollowCaret();
}

void EditGoTo() {
    const INT_PTR number = DialogBoxParamA(IDD_GO_TO_LINE, Doc.MainWindow, GoToDialogProcedure, 0);
    if (number >= 1 && number <= Doc.LineCount) {
        MoveCaretToLine(static_cast<std::int32_t>(number - 1));
    }
}

}  // namespace nv
