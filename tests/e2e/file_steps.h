// Steps for the File menu's common dialogs, files on disk and the clipboard as Linux
// programs on the same display see it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "e2e_steps.h"
#include "scenarios.h"

namespace e2e {

// Waits until done() holds, posting and sending WM_NULL to the window meanwhile: a modal loop
// (a common dialog, a message box) that a posted click has ended may sleep in GetMessage
// until its thread receives something, and would not return otherwise.
bool WaitWaking(HWND window, const std::function<bool()>& done, DWORD timeoutMs);

// The open or save dialog: a dialog with the file name box.
HWND WaitForFileDialog(DWORD processId, DWORD timeoutMs);
// Puts the full path into the file name box, as if typed.
void EnterFileName(HWND dialog, const std::string& path);
// Clicks a button of a dialog the way a mouse click on it arrives.
void ClickDialogButton(HWND dialog, int buttonId);
// Saves a capture of a window as it stands on the screen, for the artifacts.
void CaptureWindowTo(HWND window, const std::string& path);

constexpr WORD FileOpenCommand = 40001;
constexpr WORD FileSaveCommand = 40002;
// File > Open or File > Save through the real dialog: chooses `path`, answers the question
// whether to replace an existing file with Yes, and returns once the dialog has gone. The
// dialog's picture goes to the artifact `dialogArtifact`.
void ChooseThroughDialog(const ScenarioContext& context, HWND mainWindow, DWORD processId,
                         WORD command, const std::string& path, const std::string& dialogArtifact);
// Closes a changed document: returns the save prompt, checked, to be answered.
MessageBoxSeen AskToClose(RunningEditor& running);
// Answers the save prompt with No: the editor must end with exit code 0.
void CloseAnsweringNo(RunningEditor& running);
// Waits for the main window's title (the editor sets it after a successful Open or Save).
void ExpectTitle(HWND mainWindow, const std::string& title);

// A folder of its own for a scenario's files, under the artifacts, emptied.
std::string FreshFolder(const ScenarioContext& context, const std::string& name);
// Names of the files in a folder.
std::vector<std::string> FilesIn(const std::string& folder);
// A UTF-16LE text file's bytes: the mark FF FE, then the units.
std::string Utf16File(const std::wstring& units);
void WriteFileBytes(const std::string& path, const std::string& bytes);
// The file holds exactly `expected`; a difference names the first differing offset.
void ExpectFileBytes(const std::string& path, const std::string& expected, const std::string& what);
std::string Utf8Of(const std::wstring& text);

// Requests to run_e2e.sh for what only a Linux program can do, answered through two files in
// the artifacts folder:
//   clipboard-get  the display's CLIPBOARD selection as UTF-8, read by xclip;
//   clipboard-set  offers `data` (UTF-8) as the CLIPBOARD selection from xclip;
//   sh             runs `data` as a bash script in the artifacts folder, gives its output.
// Returns the answer's data; fails when the runner answers an error or does not answer.
std::string AskHost(const ScenarioContext& context, const std::string& verb,
                    const std::string& data = "");

}  // namespace e2e
