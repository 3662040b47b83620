// End-to-end Undo and Redo with real keys: Ctrl+Z and Ctrl+Y through the accelerators, the
// text read back through the clipboard.
#include <cstdio>
#include <string>

#include "file_steps.h"
#include "scenarios.h"

namespace e2e {

namespace {

// Shalom, olam.
const wchar_t Shalom[] = L"\x05E9\x05DC\x05D5\x05DD";
const wchar_t Olam[] = L"\x05E2\x05D5\x05DC\x05DD";

std::string Hex(const std::wstring& text) {
    std::string out;
    char unit[8];
    for (wchar_t c : text) {
        std::snprintf(unit, sizeof unit, "%04X ", static_cast<unsigned>(c));
        out += unit;
    }
    return out;
}

// Ctrl+C, and the clipboard must come to hold `expected`.
void ExpectCopied(HWND window, const std::wstring& expected, const std::string& what) {
    EmptyClipboardNow();
    BringToFront(window);
    PressKey('C', true);
    const bool copied = WaitWaking(
        window, [&] { return ClipboardUnicode() == expected; }, 5000);
    Check(copied, what + ": the clipboard holds " + Hex(ClipboardUnicode()) + ", expected " +
                      Hex(expected));
}

// The whole text, through Select All and Copy.
void ExpectText(HWND window, const std::wstring& expected, const std::string& what) {
    PostCommand(window, 41004);  // Select All
    Settle(window, 50);
    ExpectCopied(window, expected, what);
}

void KeyAndSettle(HWND window, WORD key) {
    BringToFront(window);
    PressKey(key, true);
    Settle(window, 150);
}

// Two words typed: Ctrl+Z takes back the second and leaves the first with its space, Ctrl+Y
// brings the second back.
void UndoRedoTypedWords(const ScenarioContext& context) {
    StartedEditor editor(context.exePath);
    BringToFront(editor.window);
    TypeUnicode(std::wstring(Shalom) + L" " + Olam);
    Settle(editor.window, 150);
    KeyAndSettle(editor.window, 'Z');
    ExpectText(editor.window, std::wstring(Shalom) + L" ", "after Ctrl+Z");
    SaveBmp(CaptureClient(editor.window), Artifact(context, "undo_typed_word.bmp"));
    KeyAndSettle(editor.window, 'Y');
    ExpectText(editor.window, std::wstring(Shalom) + L" " + Olam, "after Ctrl+Y");
    ExpectNoMessageBox(editor.ProcessId(), "after Undo and Redo");
    CloseAnsweringNo(editor);
}

// Select All and one letter replace the whole text; Ctrl+Z gives it back, selected.
void UndoTypingOverEverything(const ScenarioContext& context) {
    StartedEditor editor(context.exePath);
    const std::wstring text = std::wstring(Shalom) + L" " + Olam + L"\r\n" + Olam;
    BringToFront(editor.window);
    TypeUnicode(std::wstring(Shalom) + L" " + Olam);
    PressKey(VK_RETURN);
    TypeUnicode(Olam);
    Settle(editor.window, 150);
    PostCommand(editor.window, 41004);  // Select All
    Settle(editor.window, 50);
    BringToFront(editor.window);
    TypeUnicode(L"x");
    Settle(editor.window, 150);
    ExpectText(editor.window, L"x", "after Select All and a letter");
    KeyAndSettle(editor.window, 'Z');
    SaveBmp(CaptureClient(editor.window), Artifact(context, "undo_whole_text.bmp"));
    // The text given back is selected: Copy alone takes all of it.
    ExpectCopied(editor.window, text, "Ctrl+C right after Ctrl+Z");
    ExpectText(editor.window, text, "after Ctrl+Z");
    CloseAnsweringNo(editor);
}

}  // namespace

const std::vector<Scenario> UndoScenarios = {
    {"undo_redo_typed_words", UndoRedoTypedWords, ""},
    {"undo_typing_over_everything", UndoTypingOverEverything, ""},
};

}  // namespace e2e
