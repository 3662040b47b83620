// End-to-end Undo and Redo with real keys: Ctrl+Z and Ctrl+Y through the accelerators, the
// text read back through the clipboard.
#include <string>

#include "file_steps.h"
#include "scenarios.h"

namespace e2e {

namespace {

const std::wstring Shalom = L"\x05E9\x05DC\x05D5\x05DD";
const std::wstring Olam = L"\x05E2\x05D5\x05DC\x05DD";

void Press(HWND window, WORD key, bool control = true) {
    BringToFront(window);
    PressKey(key, control);
    Settle(window, 150);
}

// Ctrl+C (after Select All unless `selected`): the clipboard must come to hold `expected`.
void ExpectText(HWND window, const std::wstring& expected, const std::string& what,
                bool selected = false) {
    if (!selected) PostCommand(window, 41004);  // Select All
    EmptyClipboardNow();
    Press(window, 'C');
    Check(WaitWaking(
              window, [&] { return ClipboardUnicode() == expected; }, 5000),
          what + ": the text copied is not the one expected");
}

// Ctrl+Z takes back the second word and leaves the first with its space; Ctrl+Y brings the
// second back.
void UndoRedoTypedWords(const ScenarioContext& context) {
    StartedEditor editor(context.exePath);
    BringToFront(editor.window);
    TypeUnicode(Shalom + L" " + Olam);
    Press(editor.window, 'Z');
    ExpectText(editor.window, Shalom + L" ", "after Ctrl+Z");
    SaveBmp(CaptureClient(editor.window), Artifact(context, "undo_typed_word.bmp"));
    Press(editor.window, 'Y');
    ExpectText(editor.window, Shalom + L" " + Olam, "after Ctrl+Y");
    CloseAnsweringNo(editor);
}

// Select All and one letter replace the whole text; Ctrl+Z gives it back, selected.
void UndoTypingOverEverything(const ScenarioContext& context) {
    StartedEditor editor(context.exePath);
    BringToFront(editor.window);
    TypeUnicode(Shalom + L" " + Olam);
    Press(editor.window, VK_RETURN, false);
    TypeUnicode(Olam);
    Settle(editor.window, 150);         // posted commands overtake the keys still queued
    PostCommand(editor.window, 41004);  // Select All
    Settle(editor.window, 50);
    TypeUnicode(L"x");
    Settle(editor.window, 150);
    ExpectText(editor.window, L"x", "after Select All and a letter");
    Press(editor.window, 'Z');
    SaveBmp(CaptureClient(editor.window), Artifact(context, "undo_whole_text.bmp"));
    ExpectText(editor.window, Shalom + L" " + Olam + L"\r\n" + Olam, "after Ctrl+Z", true);
    CloseAnsweringNo(editor);
}

}  // namespace

const std::vector<Scenario> UndoScenarios = {
    {"undo_redo_typed_words", UndoRedoTypedWords, ""},
    {"undo_typing_over_everything", UndoTypingOverEverything, ""},
};

}  // namespace e2e
