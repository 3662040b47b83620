#include "app/window_proc.h"

#include "app/auto_repeat.h"
#include "app/edit_menu.h"
#include "app/idle_redraw.h"
#include "app/startup.h"
#include "commands/command_ids.h"
#include "commands/edit_commands.h"
#include "commands/file_commands.h"
#include "commands/find_commands.h"
#include "commands/go_to_line.h"
#include "commands/named_file.h"
#include "commands/print.h"
#include "commands/recent_files.h"
#include "commands/recovery.h"
#include "commands/settings.h"
#include "commands/undo_commands.h"
#include "commands/view_settings.h"
#include "document/edit_history.h"
#include "document/store.h"
#include "input/direction_keys.h"
#include "input/insert_character.h"
#include "input/key_dispatch.h"
#include "input/mouse.h"
#include "view/geometry.h"
#include "view/palette_paint.h"
#include "view/status_bar.h"
#include "view/text_paint.h"

namespace nv {

namespace {

// An empty selection is no selection.
void ClearEmptySelection() {
    if (Doc.SelectionStart == Doc.SelectionEnd) Doc.SelectionActive = 0;
}

// Windows follows Ctrl+Backspace with the character 127. The key has already deleted the
// word before the caret, so that character is not text; a 127 typed without Ctrl still is.
bool IsControlBackspaceCharacter(WPARAM code) { return code == 127 && ModifiersAtKeyDown.Control; }

// With some layouts (Hebrew under Wine) Ctrl with a letter key arrives as that key's letter.
// Ctrl with a key is never text; Ctrl+Alt (AltGr) is how some layouts type characters.
bool IsControlKeyCharacter() { return ModifiersAtKeyDown.Control && !ModifiersAtKeyDown.Menu; }

bool IsControlOrAlt(WPARAM virtualKey) { return virtualKey == VK_CONTROL || virtualKey == VK_MENU; }

LRESULT HandlePaint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    PaintPalette(dc);
    PaintPageLines(dc);
    PaintText(dc);
    PaintCaret(dc);
    PaintSelection(dc);
    EndPaint(window, &paint);
    return 0;
}

// Asks to save a changed document before the window closes: Yes saves and keeps the window
// open, so the user sees how the save went and closes again.
LRESULT HandleClose(HWND window, WPARAM wParam, LPARAM lParam) {
    if (!AskToSave()) return 0;
    return DefWindowProcA(window, WM_CLOSE, wParam, lParam);
}

// Logging off or shutting down: a changed document may end with the session only when the
// user drops it (No) or it was saved; Cancel, or a save cancelled or failed, refuses.
// The session may end without another word, so the recovery copy is brought up to date
// first; answering No drops the changes and their copy. The settings are written then too.
LRESULT HandleQueryEndSession() {
    WriteRecoveryCopy();
    const bool mayEnd = AskToSave() || !IsDocumentChanged();
    if (mayEnd && IsDocumentChanged()) DropRecoveryCopy();
    if (mayEnd) WriteSettings();  // the window may not see WM_DESTROY before the session ends
    return mayEnd ? 1 : 0;
}

void ShowAbout() {
    MessageBoxA(Doc.MainWindow, "Nivrano\nText Editor Computer Program", "Nivrano",
                MB_ICONINFORMATION);
}

LRESULT HandleCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    // The accelerators (high word 1) are keys, and keys wait while a palette button repeats.
    if (HIWORD(wParam) == 1 && Doc.AutoRepeat == 1) return 0;
    UINT id = LOWORD(wParam);
    BreakUndoGroup();  // every menu command ends the edit being built
    switch (id) {
        case IDM_FILE_NEW:
            FileNew();
            return 0;
        case IDM_FILE_OPEN:
            FileOpen();
            return 0;
        case IDM_FILE_SAVE:
            FileSave();
            return 0;
        case IDM_FILE_SAVE_AGAIN:
            FileSaveAgain();
            return 0;
        case IDM_FILE_PRINT:
            FilePrint();
            return 0;
        case IDM_FILE_EXIT:
            SendMessageA(Doc.MainWindow, WM_CLOSE, 0, 0);
            return 0;
        case IDM_EDIT_CUT:
            EditCut();
            return 0;
        case IDM_EDIT_COPY:
            EditCopy();
            return 0;
        case IDM_EDIT_PASTE:
            EditPaste();
            return 0;
        case IDM_EDIT_DELETE:
            EditDelete();
            return 0;
        case IDM_EDIT_SELECT_ALL:
            EditSelectAll();
            return 0;
        case IDM_EDIT_UNDO:
            EditUndo();
            return 0;
        case IDM_EDIT_REDO:
            EditRedo();
            return 0;
        case IDM_EDIT_FIND:
            EditFind();
            return 0;
        case IDM_EDIT_FIND_NEXT:
            EditFindNext();
            return 0;
        case IDM_EDIT_REPLACE:
            EditReplace();
            return 0;
        case IDM_EDIT_GO_TO:
            EditGoTo();
            return 0;
        case IDM_WRAP_NO:
        case IDM_WRAP_YES:
            SetWordWrap(wParam);
            return 0;
        case IDM_VIEW_STATUS_BAR:
            ToggleStatusBar();
            return 0;
        case IDM_ABOUT:
            ShowAbout();
            return 0;
        case IDM_ORDER_REVERSED:
        case IDM_ORDER_BIDIRECTIONAL:
            SetLineOrder(wParam);
            return 0;
        default:
            break;
    }
    if (id >= IDM_FACE_FIRST && id <= IDM_FACE_LAST) {
        SetFontFace(wParam);
        return 0;
    }
    if (id >= IDM_SIZE_FIRST && id <= IDM_SIZE_LAST) {
        SetPointSize(wParam);
        return 0;
    }
    if (id >= IDM_RECENT_FIRST && id <= IDM_RECENT_LAST) {
        OpenRecentFile(id);
        return 0;
    }
    return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
}

// The messages that are operations: they only invalidate what they change, and the window
// is painted once when they have been handled.
bool IsOperation(UINT message) {
    switch (message) {
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CHAR:
        case WM_COMMAND:
        case WM_TIMER:
        case WM_VSCROLL:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_MOUSEWHEEL:
        case WM_MOUSEMOVE:
        case WM_CAPTURECHANGED:
        case WM_DROPFILES:
            return true;
        default:
            // A registered message (0xC000 and up): the Find and Replace dialogs' own, or a
            // broadcast another program registered, which changes nothing to paint.
            return message >= 0xC000 && message <= 0xFFFF;
    }
}

LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return HandleCreate(window);
        case WM_DESTROY:
            if (Doc.AutoRepeat == 1) StopAutoRepeat();
            EndRecovery();
            WriteSettings();
            PostQuitMessage(0);
            return 0;
        case WM_SIZE:
            return HandleSize(lParam);
        case WM_PAINT:
            return HandlePaint(window);
        case WM_CLOSE:
            return HandleClose(window, wParam, lParam);
        case WM_QUERYENDSESSION:
            return HandleQueryEndSession();
        case WM_KEYDOWN:
            NoteModifiersAtKeyDown();
            if (Doc.AutoRepeat == 1) return 0;
            ClearEmptySelection();
            DirectionKeyDown(static_cast<UINT>(wParam), lParam);
            HandleKeyDown(static_cast<UINT>(wParam));
            ClearEmptySelection();
            return 0;
        case WM_KEYUP:
            if (IsControlOrAlt(wParam)) ForgetModifiers();
            if (Doc.AutoRepeat == 0 && Doc.PaletteMode == 0) {
                DirectionKeyUp(static_cast<UINT>(wParam), lParam);
            }
            return 0;
        case WM_CHAR:
            if (Doc.PaletteMode == 0 && !IsControlBackspaceCharacter(wParam) &&
                !IsControlKeyCharacter()) {
                InsertCharacter(static_cast<std::int32_t>(wParam));
            }
            return 0;
        case WM_SYSKEYDOWN:
            if (Doc.AutoRepeat == 1) return 0;
            break;
        case WM_SYSKEYUP:
            if (IsControlOrAlt(wParam)) ForgetModifiers();
            break;
        case WM_KILLFOCUS:
            ForgetModifiers();
            break;
        case WM_COMMAND:
            return HandleCommand(window, wParam, lParam);
        case WM_TIMER:
            if (wParam == RecoveryTimer) {
                OnRecoveryTimer();
                return 0;
            }
            if (wParam != AutoRepeatTimer) break;
            AutoRepeatTick();
            return 0;
        case WM_DROPFILES:
            OpenDroppedFile(reinterpret_cast<HDROP>(wParam));
            return 0;
        case IdleRedrawMessage:
            HandleIdleRedrawMessage();
            return 0;
        case WM_NCLBUTTONDOWN:
            // A click on the bar meets the thumb where the current range and position put it.
            RedrawScrollBar();
            break;
        case WM_VSCROLL:
            return HandleVScroll(wParam);
        case WM_INITMENUPOPUP:
            UpdateEditMenu();
            return 0;
        case WM_MOUSEMOVE:
            if (Doc.AutoRepeat == 0) break;
            AutoRepeatLeaveTest(lParam);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            ClearEmptySelection();
            if (message == WM_LBUTTONDOWN ? HandleLeftButtonDown(lParam)
                                          : HandleLeftButtonDoubleClick(lParam)) {
                StartAutoRepeat();
            }
            ClearEmptySelection();
            return 0;
        case WM_MOUSEWHEEL:
            if (Doc.AutoRepeat == 0) HandleMouseWheel(wParam, lParam);
            return 0;
        case WM_CAPTURECHANGED:
            // Our own release arrives here too, after the repeat has already stopped.
            if (Doc.AutoRepeat == 1) AutoRepeatCaptureLost();
            break;
        case WM_LBUTTONUP:
            if (Doc.AutoRepeat != 1) break;
            StopAutoRepeat();
            return 0;
        default:
            if (IsFindReplaceMessage(message)) {
                BreakUndoGroup();  // a search moves the selection; a replacement is a step
                HandleFindReplaceMessage(lParam);
                return 0;
            }
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

LRESULT MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = HandleMessage(window, message, wParam, lParam);
    if (IsOperation(message) && Doc.MainWindow != nullptr) {
        // One paint cycle for the whole operation, before the message returns.
        UpdateWindow(Doc.MainWindow);
        NoteStatusBarChanged();
    }
    // The scroll bar and the status bar, slow to draw, once the keys typed meanwhile have
    // been handled. The redraw message that found keys waiting leaves the posting to the
    // keys: posted messages come before input, so posting again from there would keep the
    // keys waiting forever.
    if (message != WM_DESTROY && message != IdleRedrawMessage && Doc.MainWindow != nullptr) {
        PostIdleRedraw();
    }
    // Whatever the message did to the text, the recovery copy follows it.
    TrackRecoveryCopy();
    return result;
}

}  // namespace nv
