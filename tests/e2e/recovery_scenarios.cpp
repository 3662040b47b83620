// End-to-end: a file named on the command line, Save Again with Ctrl+S, and the recovery
// copy that survives a killed editor and is offered at the next start.
#include <string>
#include <vector>

#include "file_steps.h"
#include "scenarios.h"

namespace e2e {

namespace {

const wchar_t Shalom[] = L"\x05E9\x05DC\x05D5\x05DD";

std::string RecoveryFolder() {
    char base[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableA("LOCALAPPDATA", base, sizeof base);
    return length > 0 && length < sizeof base ? std::string(base) + "\\Nivrano\\Recovery" : "";
}

// The copies (header and text files) in the recovery folder, locks left out.
std::vector<std::string> RecoveryFiles() {
    std::vector<std::string> names;
    for (const std::string& name : FilesIn(RecoveryFolder())) {
        if (name.size() < 5 || name.compare(name.size() - 5, 5, ".lock") != 0)
            names.push_back(name);
    }
    return names;
}

// Waits until no editor holds a recovery lock: the handles of a killed process may close
// a moment after it is seen to end, and a lock still held means a living editor.
void WaitForLocksFree() {
    const std::string folder = RecoveryFolder();
    const DWORD start = GetTickCount();
    for (;;) {
        bool held = false;
        for (const std::string& name : FilesIn(folder)) {
            if (name.size() < 5 || name.compare(name.size() - 5, 5, ".lock") != 0) continue;
            HANDLE lock = CreateFileA((folder + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
            if (lock == INVALID_HANDLE_VALUE) {
                held = held || GetLastError() == ERROR_SHARING_VIOLATION;
            } else {
                CloseHandle(lock);
            }
        }
        if (!held) return;
        Check(GetTickCount() - start < 10000, "a killed editor's lock is still held");
        Sleep(50);
    }
}

// The whole text as Select All and Ctrl+C put it on the clipboard.
std::wstring TextThroughClipboard(HWND window) {
    EmptyClipboardNow();
    PostCommand(window, 41004);  // Select All
    Settle(window, 50);
    BringToFront(window);
    PressKey('C', true);
    std::wstring text;
    WaitWaking(
        window, [&] { return !(text = ClipboardUnicode()).empty(); }, 5000);
    return text;
}

// Started with a file named on the command line: a quoted path with a space.
void StartWithFile(const ScenarioContext& context) {
    std::string folder = FreshFolder(context, "start_file");
    std::string path = folder + "\\my notes.txt";
    const std::wstring text = std::wstring(Shalom) + L" abc\r\n123";
    WriteFileBytes(path, Utf16File(text));
    RunningEditor running(context.exePath, {}, "\"" + path + "\" ignored");
    StartPastAgreement(running.editor);
    ExpectTitle(running.editor.mainWindow, "my notes.txt");
    ExpectNoMessageBox(running.ProcessId(), "after opening the start file");
    std::wstring shown = TextThroughClipboard(running.editor.mainWindow);
    Check(shown == text, "the start file shows \"" + Utf8Of(shown) + "\"");
}

// Ctrl+S after Open writes the same file at once: no dialog, no question, Save's bytes.
void SaveAgainAfterOpen(const ScenarioContext& context) {
    std::string folder = FreshFolder(context, "save_again");
    std::string path = folder + "\\again.txt";
    WriteFileBytes(path, Utf16File(L"abc"));
    StartedEditor editor(context.exePath);
    ChooseThroughDialog(context, editor.window, editor.ProcessId(), FileOpenCommand, path,
                        "save_again_open_dialog.bmp");
    ExpectTitle(editor.window, "again.txt");
    BringToFront(editor.window);
    TypeUnicode(Shalom);
    Settle(editor.window, 200);
    PressKey('S', true);
    const std::string expected = Utf16File(std::wstring(Shalom) + L"abc" + std::wstring(1, 0));
    bool written = WaitWaking(
        editor.window, [&] { return ReadWholeFile(path) == expected; }, 10000);
    if (!written) ExpectFileBytes(path, expected, "after Ctrl+S");
    Check(WaitForFileDialog(editor.ProcessId(), 500) == nullptr, "Ctrl+S showed a file dialog");
    ExpectNoMessageBox(editor.ProcessId(), "after Ctrl+S");
}

// The offer names the file the text came from, as the editor's copy header keeps it.
MessageBoxSeen WaitForRecoveryOffer(RunningEditor& running, const std::string& path) {
    StartPastAgreement(running.editor);
    MessageBoxSeen offer = WaitForMessageBox(running.ProcessId(), 10000);
    Check(offer.caption == "Recover Changes?", "the start asked \"" + offer.caption + "\"");
    Check(offer.text == "Nivrano ended before these changes to " + path +
                            " were saved.\nDo you wish to recover them?",
          "the offer says \"" + offer.text + "\"");
    return offer;
}

// Hebrew typed into a file named at start, the editor killed once its copy is written; the
// next start offers the text back naming the file (Yes), and a start after that one answers
// No, which deletes the copy.
void RecoveryAfterKill(const ScenarioContext& context) {
    const std::wstring text = std::wstring(Shalom) + L"\r\n" + Shalom + L" 42";
    const std::string path = FreshFolder(context, "recovery") + "\\kept notes.txt";
    WriteFileBytes(path, Utf16File(L""));
    {
        RunningEditor editor(context.exePath, {}, "\"" + path + "\"");
        editor.leaveRecoveryCopy = true;
        StartPastAgreement(editor.editor);
        ExpectTitle(editor.editor.mainWindow, "kept notes.txt");
        BringToFront(editor.editor.mainWindow);
        TypeUnicode(Shalom);
        PressKey(VK_RETURN);
        TypeUnicode(std::wstring(Shalom) + L" 42");
        bool copied = WaitWaking(
            editor.editor.mainWindow, [&] { return RecoveryFiles().size() == 2; }, 10000);
        Check(copied, "no recovery copy 2 seconds after typing (" +
                          std::to_string(RecoveryFiles().size()) + " files)");
        KillEditor(editor.editor);  // TerminateProcess: no clean-up of any kind
        WaitForLocksFree();
    }
    {
        RunningEditor running(context.exePath);
        running.leaveRecoveryCopy = true;  // killed again with its copy: the next start says No
        MessageBoxSeen offer = WaitForRecoveryOffer(running, path);
        CaptureWindowTo(offer.box, Artifact(context, "recovery_offer.bmp"));
        AnswerMessageBox(offer.box, IDYES);
        Check(WaitUntilGone(offer.box, 5000), "the offer did not close on Yes");
        ExpectTitle(running.editor.mainWindow, "kept notes.txt (Recovered)");
        std::wstring shown = TextThroughClipboard(running.editor.mainWindow);
        Check(shown == text,
              "recovered \"" + Utf8Of(shown) + "\", expected \"" + Utf8Of(text) + "\"");
        Check(RecoveryFiles().size() == 2, "the copy went before the text was saved");
        KillEditor(running.editor);
        WaitForLocksFree();
    }
    {
        RunningEditor running(context.exePath);
        MessageBoxSeen offer = WaitForRecoveryOffer(running, path);
        AnswerMessageBox(offer.box, IDNO);
        Check(WaitUntilGone(offer.box, 5000), "the offer did not close on No");
        Settle(running.editor.mainWindow, 200);
        Check(RecoveryFiles().empty(),
              "No left " + std::to_string(RecoveryFiles().size()) + " recovery files");
        Check(WindowText(running.editor.mainWindow) == "Nivrano",
              "after No the title is \"" + WindowText(running.editor.mainWindow) + "\"");
        PostMessageA(running.editor.mainWindow, WM_CLOSE, 0, 0);
        Check(WaitForExit(running.editor, 10000) == 0, "closing after No did not end");
    }
    Check(FilesIn(RecoveryFolder()).empty(), "an editor that ended left files behind");
}

}  // namespace

void ClearRecoveryCopies() {
    const std::string folder = RecoveryFolder();
    if (folder.empty()) return;
    for (const std::string& name : FilesIn(folder)) DeleteFileA((folder + "\\" + name).c_str());
}

const std::vector<Scenario> RecoveryScenarios = {
    {"start_with_file", StartWithFile, ""},
    {"save_again_after_open", SaveAgainAfterOpen, ""},
    {"recovery_after_kill", RecoveryAfterKill, ""},
};

}  // namespace e2e
