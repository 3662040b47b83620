// Steps for driving nivrano.exe from another process under Wine or Windows: start it,
// find its windows, answer message boxes, send real input, read the clipboard, capture
// pixels and read the exe's own resources. Scenarios are built from these.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// A failed check: scenarios throw it, the driver reports it.
struct Failure {
    std::string what;
};
void Check(bool condition, const std::string& what);
void Log(const std::string& line);

// The editor process.
struct Editor {
    PROCESS_INFORMATION process{};
    HWND mainWindow = nullptr;
};
// Starts the exe; extraEnvironment ("NAME=value" entries) is added to the driver's own, and
// `arguments` follows the exe's name on the command line.
Editor StartEditor(const std::string& exePath,
                   const std::vector<std::string>& extraEnvironment = {},
                   const std::string& arguments = "");
// Waits for the process to end; returns its exit code, or -1 on timeout.
int WaitForExit(const Editor& editor, DWORD timeoutMs);
void KillEditor(Editor& editor);

// Deletes the recovery copies editors left (recovery_scenarios.cpp), so that no later start
// offers one unasked.
void ClearRecoveryCopies();
// Deletes what saves left in the editor's Saving folder, so that no start names them.
void ClearSecuredSaves();
// Deletes the settings an editor wrote when it closed (view_scenarios.cpp), so that the next
// start is a first one.
void ClearSettings();

// Ends the editor however the scenario ends, and the recovery copy it may leave with it.
struct RunningEditor {
    Editor editor;
    bool leaveRecoveryCopy = false;  // for a scenario about the copy a killed editor leaves
    bool keepSettings = false;       // for a scenario about what the next start remembers
    explicit RunningEditor(const std::string& exePath,
                           const std::vector<std::string>& environment = {},
                           const std::string& arguments = "")
        : editor(StartEditor(exePath, environment, arguments)) {}
    ~RunningEditor() {
        KillEditor(editor);
        if (!leaveRecoveryCopy) ClearRecoveryCopies();
        if (!keepSettings) ClearSettings();
    }
    RunningEditor(const RunningEditor&) = delete;
    RunningEditor& operator=(const RunningEditor&) = delete;
    DWORD ProcessId() const { return editor.process.dwProcessId; }
};

// Answers the start-up agreement with Yes and waits for the visible main window.
void StartPastAgreement(Editor& editor);
// An editor started past the agreement, and its main window.
struct StartedEditor : RunningEditor {
    HWND window;
    explicit StartedEditor(const std::string& exePath) : RunningEditor(exePath) {
        StartPastAgreement(editor);
        window = editor.mainWindow;
    }
};

// Windows of the editor's process. Empty className or title matches any.
HWND FindProcessWindow(DWORD processId, const std::string& className, const std::string& title,
                       bool visibleOnly);
HWND WaitForProcessWindow(DWORD processId, const std::string& className, const std::string& title,
                          DWORD timeoutMs);
// Visible windows of the process with the class.
std::vector<HWND> ProcessWindows(DWORD processId, const std::string& className);
std::string WindowText(HWND window);
std::string ClassOf(HWND window);

// Message boxes ("#32770").
struct MessageBoxSeen {
    HWND box = nullptr;
    std::string caption;
    std::string text;  // of its "Static" child with text
};
MessageBoxSeen WaitForMessageBox(DWORD processId, DWORD timeoutMs);
void AnswerMessageBox(HWND box, int buttonId);
bool WaitUntilGone(HWND window, DWORD timeoutMs);
// Fails naming the message box the process shows, if any.
void ExpectNoMessageBox(DWORD processId, const std::string& when);

// Input. Keys go to whatever window has the focus: BringToFront first.
void BringToFront(HWND window);
void PressKey(WORD virtualKey, bool control = false, bool alt = false, bool shift = false);
void TypeUnicode(const std::wstring& text);
void ClickClient(HWND window, int x, int y);
void PostCommand(HWND window, WORD id);
// Lets the editor handle what was sent so far (round trip through its message queue).
void Settle(HWND window, DWORD extraMs = 50);

// Clipboard.
void SetClipboardUnicode(const std::wstring& text);
void EmptyClipboardNow();
std::wstring ClipboardUnicode();

// Pixels: a top-down 32-bit capture.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;  // 0x00RRGGBB
    DWORD At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
Capture CaptureClient(HWND window);
Capture CaptureScreenRect(const RECT& screenRect);
void SaveBmp(const Capture& capture, const std::string& path);

// Resources of the exe, read as a data file.
struct MenuItemSeen {
    std::string text;  // "" for a separator
    UINT id = 0;
    bool separator = false;
    bool checked = false;
    bool grayed = false;
    std::vector<MenuItemSeen> submenu;
};
std::vector<MenuItemSeen> ReadMenuResource(const std::string& exePath, const char* name);
std::vector<ACCEL> ReadAcceleratorResource(const std::string& exePath, const char* name);

// Text of a file (for logs written by the system, such as Wine's message trace).
std::string ReadWholeFile(const std::string& path);

}  // namespace e2e
