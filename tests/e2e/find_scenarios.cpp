// Find and Replace through the system's own dialogs: F3 before any search opens Find, a bare
// word typed into the Find dialog selects the pointed word in the document (read back through
// Copy), the message when nothing more is found, and Replace All; Go To through the editor's
// own dialog.
#include <string>
#include <vector>

#include "e2e_steps.h"
#include "file_steps.h"
#include "scenarios.h"

namespace e2e {

namespace {

constexpr WORD CopyCommand = 41001;
constexpr WORD PasteCommand = 41002;
constexpr WORD SelectAllCommand = 41004;
constexpr int FindWhatBox = 0x480;
constexpr int ReplaceWithBox = 0x481;
constexpr int ReplaceAllButton = 0x401;

const std::wstring BareShalom = L"\x05E9\x05DC\x05D5\x05DD";
const std::wstring PointedShalom = L"\x05E9\x05B8\x05C1\x05DC\x05D5\x05B9\x05DD";

// Puts text into the document through the clipboard, the caret then at its start.
void PasteText(HWND window, const std::wstring& text) {
    SetClipboardUnicode(text);
    PostCommand(window, PasteCommand);
    Settle(window, 100);
    BringToFront(window);
    PressKey(VK_HOME);
    Settle(window, 100);
}

// What the document holds, through Select All and Copy.
std::wstring DocumentText(HWND window) {
    EmptyClipboardNow();
    PostCommand(window, SelectAllCommand);
    PostCommand(window, CopyCommand);
    Settle(window, 100);
    return ClipboardUnicode();
}

// The dialog of the process that is not `other`, once it has shown.
HWND WaitForDialogBesides(DWORD processId, HWND other, DWORD timeoutMs) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
        for (HWND dialog : ProcessWindows(processId, "#32770")) {
            if (dialog != other) return dialog;
        }
        Sleep(50);
    }
    return nullptr;
}

// A window's text as its own process answers WM_GETTEXT (an edit box keeps its text there).
std::wstring WideText(HWND window) {
    wchar_t text[512] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000,
                        &copied);
    return text;
}

// The Static child of a message box that holds its text.
std::wstring BoxText(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) == "Static" && !WideText(child).empty()) return WideText(child);
    }
    return L"";
}

void FindPointedWord(const ScenarioContext& context) {
    StartedEditor running(context.exePath);
    HWND window = running.window;
    PasteText(window, L"abc " + PointedShalom + L" x");

    // F3 with nothing searched yet opens Find, as Ctrl+F does.
    PressKey(VK_F3);
    HWND first = WaitForDialogBesides(running.ProcessId(), nullptr, 10000);
    Check(first != nullptr, "F3 before any search showed no dialog");
    ClickDialogButton(first, IDCANCEL);
    Check(WaitUntilGone(first, 5000), "the dialog F3 opened did not close");

    // Ctrl+F, the bare word typed and Enter: the dialog's own keys need IsDialogMessage.
    BringToFront(window);
    PressKey('F', true);
    HWND dialog = WaitForDialogBesides(running.ProcessId(), nullptr, 10000);
    Check(dialog != nullptr, "Ctrl+F showed no dialog");
    Check(GetDlgItem(dialog, FindWhatBox) != nullptr, "the dialog has no find box");
    Check(GetDlgItem(dialog, ReplaceWithBox) == nullptr, "Ctrl+F showed the Replace dialog");
    // The user clicks into the find box and types there.
    BringToFront(dialog);
    HWND findBox = GetDlgItem(dialog, FindWhatBox);
    RECT boxRect{};
    GetClientRect(findBox, &boxRect);
    ClickClient(findBox, boxRect.right / 2, boxRect.bottom / 2);
    Settle(window, 100);
    TypeUnicode(BareShalom);
    Settle(window, 100);
    Check(WideText(GetDlgItem(dialog, FindWhatBox)) == BareShalom,
          "the find box holds \"" + Utf8Of(WideText(GetDlgItem(dialog, FindWhatBox))) + "\"");
    PressKey(VK_RETURN);
    Settle(window, 200);
    CaptureWindowTo(window, Artifact(context, "find_pointed_word.bmp"));
    EmptyClipboardNow();
    PostCommand(window, CopyCommand);
    Settle(window, 100);
    Check(ClipboardUnicode() == PointedShalom,
          "Find Next selected \"" + Utf8Of(ClipboardUnicode()) + "\", not the pointed word");

    // Nothing further down: the message, on the dialog, and the selection stays.
    BringToFront(dialog);
    PressKey(VK_RETURN);
    HWND box = WaitForDialogBesides(running.ProcessId(), dialog, 10000);
    Check(box != nullptr, "no message when nothing more was found");
    Settle(window, 100);
    Check(WindowText(box) == "Find", "the message's caption is \"" + WindowText(box) + "\"");
    const std::wstring expected = L"Can not find \"" + BareShalom + L"\"";
    Check(BoxText(box) == expected, "the message says \"" + Utf8Of(BoxText(box)) + "\"");
    Check(GetWindow(box, GW_OWNER) == dialog, "the message is not owned by the dialog");
    AnswerMessageBox(box, IDOK);
    Check(WaitUntilGone(box, 5000), "the message did not close");
    ClickDialogButton(dialog, IDCANCEL);
    Check(WaitUntilGone(dialog, 5000), "the Find dialog did not close");
    EmptyClipboardNow();
    PostCommand(window, CopyCommand);
    Settle(window, 100);
    Check(ClipboardUnicode() == PointedShalom, "the selection changed after the message");
    CloseAnsweringNo(running);
}

void ReplaceAllInOneStep(const ScenarioContext& context) {
    StartedEditor running(context.exePath);
    HWND window = running.window;
    const std::wstring text = L"ab " + PointedShalom + L" cd " + BareShalom + L" ef";
    PasteText(window, text);

    PressKey('H', true);
    HWND dialog = WaitForDialogBesides(running.ProcessId(), nullptr, 10000);
    Check(dialog != nullptr && GetDlgItem(dialog, ReplaceWithBox) != nullptr,
          "Ctrl+H showed no Replace dialog");
    SetDlgItemTextW(dialog, FindWhatBox, BareShalom.c_str());
    SetDlgItemTextW(dialog, ReplaceWithBox, L"\x05D0\x05D1");
    Settle(window, 100);
    ClickDialogButton(dialog, ReplaceAllButton);
    Settle(window, 200);
    Check(WaitForDialogBesides(running.ProcessId(), dialog, 300) == nullptr,
          "a message after Replace All");
    ClickDialogButton(dialog, IDCANCEL);
    Check(WaitUntilGone(dialog, 5000), "the Replace dialog did not close");
    const std::wstring replaced = L"ab \x05D0\x05D1 cd \x05D0\x05D1 ef";
    Check(DocumentText(window) == replaced,
          "after Replace All the text is \"" + Utf8Of(DocumentText(window)) + "\"");
    CaptureWindowTo(window, Artifact(context, "replace_all.bmp"));
    // One Ctrl+Z takes the whole Replace All back.
    PressKey('Z', true);
    Settle(window, 200);
    Check(DocumentText(window) == text,
          "after Ctrl+Z the text is \"" + Utf8Of(DocumentText(window)) + "\"");
    CloseAnsweringNo(running);
}

// Ctrl+G opens the Go To Line dialog of the exe's resources on the caret's line; its box
// takes no letters, a number past the last line is told over the dialog, which stays open,
// and OK moves the caret to the start of the line chosen (a letter typed then lands there).
void GoToLine(const ScenarioContext& context) {
    StartedEditor running(context.exePath);
    HWND window = running.window;
    PasteText(window, L"one\r\ntwo\r\nthree");
    PressKey('G', true);
    HWND dialog = WaitForDialogBesides(running.ProcessId(), nullptr, 10000);
    Check(dialog != nullptr, "Ctrl+G showed no dialog");
    Check(WindowText(dialog) == "Go To Line",
          "the dialog's caption is \"" + WindowText(dialog) + "\"");
    HWND box = GetDlgItem(dialog, 100);
    Check(box != nullptr && WideText(box) == L"3",
          "the number box holds \"" + Utf8Of(WideText(box)) + "\", not the caret's line");
    CaptureWindowTo(dialog, Artifact(context, "go_to_line.bmp"));
    // The box has the focus with its text selected: typing replaces it, letters are refused.
    BringToFront(dialog);
    TypeUnicode(L"a4");
    Settle(window, 100);
    Check(WideText(box) == L"4", "the number box holds \"" + Utf8Of(WideText(box)) + "\"");
    PressKey(VK_RETURN);
    HWND message = WaitForDialogBesides(running.ProcessId(), dialog, 10000);
    Check(message != nullptr, "no message for a line past the last");
    Settle(window, 100);
    Check(WindowText(message) == "Go To Line" && BoxText(message) == L"There are only 3 lines.",
          "the message says \"" + Utf8Of(BoxText(message)) + "\"");
    Check(GetWindow(message, GW_OWNER) == dialog, "the message is not owned by the dialog");
    AnswerMessageBox(message, IDOK);
    Check(WaitUntilGone(message, 5000), "the message did not close");
    Check(IsWindowVisible(dialog), "the dialog closed with the message");
    SetDlgItemTextW(dialog, 100, L"2");
    ClickDialogButton(dialog, IDOK);
    Check(WaitUntilGone(dialog, 5000), "the dialog did not close after OK");
    BringToFront(window);
    TypeUnicode(L"x");
    Settle(window, 100);
    Check(DocumentText(window) == L"one\r\nxtwo\r\nthree",
          "after Go To 2 and x the text is \"" + Utf8Of(DocumentText(window)) + "\"");
    CloseAnsweringNo(running);
}

}  // namespace

const std::vector<Scenario> FindScenarios = {
    {"find_pointed_word", FindPointedWord, ""},
    {"replace_all", ReplaceAllInOneStep, ""},
    {"go_to_line", GoToLine, ""},
};

}  // namespace e2e
