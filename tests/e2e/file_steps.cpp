#include "file_steps.h"

#include <cstdio>
#include <fstream>

namespace e2e {

namespace {

// The Explorer-style dialog's file name box (a combo box), and the old-style one (an edit).
constexpr int FileNameCombo = 0x47C;
constexpr int FileNameEdit = 0x480;

HWND FileNameBox(HWND dialog) {
    HWND box = GetDlgItem(dialog, FileNameCombo);
    return box != nullptr ? box : GetDlgItem(dialog, FileNameEdit);
}

HWND WaitForDialog(DWORD processId, const std::function<bool(HWND)>& matches, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        for (HWND dialog : ProcessWindows(processId, "#32770"))
            if (matches(dialog)) return dialog;
        if (GetTickCount() - start > timeoutMs) return nullptr;
        Sleep(25);
    }
}

std::string WindowsPath(const std::string& path) {
    std::string copy = path;
    for (char& c : copy)
        if (c == '/') c = '\\';
    return copy;
}

// Answers whatever questions the dialog asks after OK (the file exists: replace it?) with
// Yes, until the dialog is gone.
void FinishFileDialog(const ScenarioContext& context, HWND mainWindow, DWORD processId,
                      HWND dialog) {
    bool askedOnce = false;
    bool gone = WaitWaking(
        mainWindow,
        [&] {
            if (!IsWindow(dialog)) return true;
            HWND question = WaitForDialog(
                processId, [&](HWND box) { return box != dialog && GetDlgItem(box, IDYES); }, 0);
            if (question != nullptr) {
                if (!askedOnce)
                    CaptureWindowTo(question, Artifact(context, "replace_question.bmp"));
                askedOnce = true;
                ClickDialogButton(question, IDYES);
            }
            return false;
        },
        15000);
    Check(gone, "the file dialog did not close after OK");
}

}  // namespace

bool WaitWaking(HWND window, const std::function<bool()>& done, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (done()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        PostMessageA(window, WM_NULL, 0, 0);
        DWORD_PTR result = 0;
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 200, &result);
        Sleep(20);
    }
}

HWND WaitForFileDialog(DWORD processId, DWORD timeoutMs) {
    return WaitForDialog(
        processId, [](HWND dialog) { return FileNameBox(dialog) != nullptr; }, timeoutMs);
}

void EnterFileName(HWND dialog, const std::string& path) {
    HWND box = FileNameBox(dialog);
    Check(box != nullptr, "the dialog has no file name box");
    std::string windowsPath = WindowsPath(path);
    DWORD_PTR result = 0;
    SendMessageTimeoutA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(windowsPath.c_str()),
                        SMTO_NORMAL, 5000, &result);
    // (GetWindowText does not ask another process's window; WM_GETTEXT does.)
    char shown[MAX_PATH * 2] = {};
    SendMessageTimeoutA(box, WM_GETTEXT, sizeof shown, reinterpret_cast<LPARAM>(shown), SMTO_NORMAL,
                        5000, &result);
    Check(shown == windowsPath, std::string("the file name box shows \"") + shown + "\"");
}

void ClickDialogButton(HWND dialog, int buttonId) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, buttonId)));
}

void CaptureWindowTo(HWND window, const std::string& path) {
    // A dialog fills its lists a while after it appears: wait for two equal pictures.
    RECT rect{};
    GetWindowRect(window, &rect);
    Capture shot = CaptureScreenRect(rect);
    for (int tries = 0; tries < 30; ++tries) {
        Settle(window, 100);
        Capture again = CaptureScreenRect(rect);
        bool same = again.pixels == shot.pixels;
        shot = again;
        if (same) break;
    }
    SaveBmp(shot, path);
}

void ChooseThroughDialog(const ScenarioContext& context, HWND mainWindow, DWORD processId,
                         WORD command, const std::string& path, const std::string& dialogArtifact) {
    PostCommand(mainWindow, command);
    HWND dialog = WaitForFileDialog(processId, 10000);
    Check(dialog != nullptr, "command " + std::to_string(command) + " showed no file dialog");
    Check(GetWindow(dialog, GW_OWNER) == mainWindow, "the file dialog is not owned by the window");
    EnterFileName(dialog, path);
    CaptureWindowTo(dialog, Artifact(context, dialogArtifact));
    ClickDialogButton(dialog, IDOK);
    FinishFileDialog(context, mainWindow, processId, dialog);
}

MessageBoxSeen AskToClose(RunningEditor& running) {
    PostMessageA(running.editor.mainWindow, WM_CLOSE, 0, 0);
    MessageBoxSeen prompt = WaitForMessageBox(running.ProcessId(), 10000);
    Check(prompt.caption == "Save Current File?", "closing asked \"" + prompt.caption + "\"");
    Check(prompt.text ==
              "The current file has changed since the last save.\n"
              "Do you wish to save the current file?",
          "save prompt text \"" + prompt.text + "\"");
    return prompt;
}

void CloseAnsweringNo(RunningEditor& running) {
    HWND window = running.editor.mainWindow;
    AnswerMessageBox(AskToClose(running).box, IDNO);
    int code = -1;
    WaitWaking(
        window, [&] { return (code = WaitForExit(running.editor, 0)) != -1; }, 10000);
    Check(code == 0, "exit code " + std::to_string(code) + " after answering No");
}

void ExpectTitle(HWND mainWindow, const std::string& title) {
    bool shown = WaitWaking(
        mainWindow, [&] { return WindowText(mainWindow) == title; }, 10000);
    Check(shown, "the title is \"" + WindowText(mainWindow) + "\", expected \"" + title + "\"");
}

std::string FreshFolder(const ScenarioContext& context, const std::string& name) {
    std::string files = Artifact(context, "files");
    CreateDirectoryA(files.c_str(), nullptr);
    std::string folder = files + "\\" + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const std::string& file : FilesIn(folder)) {
        std::string path = folder + "\\" + file;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
    }
    Check(FilesIn(folder).empty(), "cannot empty " + folder);
    return folder;
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

std::string Utf16File(const std::wstring& units) {
    std::string bytes = "\xFF\xFE";
    for (wchar_t unit : units) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>((unit >> 8) & 0xFF));
    }
    return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    Check(out.good(), "cannot write " + path);
}

void ExpectFileBytes(const std::string& path, const std::string& expected,
                     const std::string& what) {
    std::string bytes = ReadWholeFile(path);
    if (bytes == expected) return;
    size_t at = 0;
    while (at < bytes.size() && at < expected.size() && bytes[at] == expected[at]) ++at;
    char detail[160];
    std::snprintf(detail, sizeof detail,
                  ": %zu bytes, expected %zu; first difference at offset %zu", bytes.size(),
                  expected.size(), at);
    Check(false, what + " " + path.substr(path.find_last_of('\\') + 1) + detail);
}

std::string Utf8Of(const std::wstring& text) {
    if (text.empty()) return "";
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                   0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &utf8[0], size,
                        nullptr, nullptr);
    return utf8;
}

std::string AskHost(const ScenarioContext& context, const std::string& verb,
                    const std::string& data) {
    std::string request = Artifact(context, "host-request");
    std::string reply = Artifact(context, "host-reply");
    DeleteFileA(reply.c_str());
    // Written under another name first, so that the runner never reads half a request.
    WriteFileBytes(request + ".tmp", verb + "\n" + data);
    Check(MoveFileExA((request + ".tmp").c_str(), request.c_str(), MOVEFILE_REPLACE_EXISTING) != 0,
          "cannot place " + request);
    DWORD start = GetTickCount();
    while (GetFileAttributesA(reply.c_str()) == INVALID_FILE_ATTRIBUTES) {
        Check(GetTickCount() - start < 15000,
              "no answer to \"" + verb + "\" (run the scenario through run_e2e.sh)");
        Sleep(20);
    }
    std::string answer = ReadWholeFile(reply);
    DeleteFileA(reply.c_str());
    size_t newline = answer.find('\n');
    std::string status = answer.substr(0, newline);
    Check(status == "ok", "the runner answered \"" + verb + "\" with: " + answer);
    return newline == std::string::npos ? "" : answer.substr(newline + 1);
}

}  // namespace e2e
