// End-to-end files and clipboard: documents saved and opened through the real common dialogs
// and checked byte for byte on disk, text exchanged with Linux programs through the X
// clipboard, a failed save, the save prompt at closing, and the time Open and Paste take.
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "file_steps.h"
#include "scenarios.h"
#include "screen_text.h"

namespace e2e {

namespace {

// Shalom, olam: the words the scenarios type, paste and open.
const wchar_t Shalom[] = L"\x05E9\x05DC\x05D5\x05DD";
const wchar_t Olam[] = L"\x05E2\x05D5\x05DC\x05DD";

std::string Cp1255(const std::wstring& text) {
    std::string bytes(text.size(), '\0');
    WideCharToMultiByte(1255, 0, text.data(), static_cast<int>(text.size()), &bytes[0],
                        static_cast<int>(bytes.size()), nullptr, nullptr);
    return bytes;
}

// Waits until the text area shows the two lines, the caret at the end of the second (as
// typing or a paste leaves it) or at the start of the text (as Open leaves it).
void WaitForText(HWND window, const std::wstring& line1, const std::wstring& line2,
                 const std::string& what, bool caretAtStart = false) {
    const TextGeometry g = MeasureGeometry(window);
    const std::string last = Cp1255(line2);
    const int caretX = g.textRight - 1 - (caretAtStart ? 0 : TextWidth(window, g, last));
    auto expect = [&] {
        Capture shot = CaptureClient(window);
        ExpectLine(shot, window, g, 0, Cp1255(line1), caretAtStart ? caretX : -1,
                   what + ", line 1");
        ExpectLine(shot, window, g, 1, last, caretAtStart ? -1 : caretX, what + ", line 2");
    };
    auto shown = [&] {
        try {
            expect();
        } catch (const Failure&) {
            return false;
        }
        return true;
    };
    if (!WaitWaking(window, shown, 5000)) expect();  // reports what differs
}

void Type(HWND window, const std::wstring& line1, const std::wstring& line2) {
    BringToFront(window);
    TypeUnicode(line1);
    PressKey(VK_RETURN);
    TypeUnicode(line2);
    WaitForText(window, line1, line2, "typed text");
}

// Hebrew typed on the keyboard, saved through the save dialog.
void SaveTypedHebrew(const ScenarioContext& context) {
    std::string folder = FreshFolder(context, "save_typed");
    StartedEditor editor(context.exePath);
    Type(editor.window, std::wstring(Shalom) + L" abc", std::wstring(Olam) + L"!");
    std::string path = folder + "\\typed.txt";
    ChooseThroughDialog(context, editor.window, editor.ProcessId(), FileSaveCommand, path,
                        "save_dialog.bmp");
    ExpectTitle(editor.window, "typed.txt");
    ExpectFileBytes(
        path, Utf16File(std::wstring(Shalom) + L" abc\r\n" + Olam + L"!" + std::wstring(1, 0)),
        "the saved file");
    // Saved: closing asks nothing.
    PostMessageA(editor.window, WM_CLOSE, 0, 0);
    Check(WaitForExit(editor.editor, 10000) == 0, "closing after the save did not end");
}

// A file another program wrote (no final U+0000) opened through the open dialog, then
// saved under a new name: the same units and 00 00 at the end.
void OpenForeignFileAndSaveAs(const ScenarioContext& context) {
    std::string folder = FreshFolder(context, "open_foreign");
    std::wstring text = std::wstring(Shalom) + L" abc\r\n" + Olam + L" 123\r\n";
    std::string original = folder + "\\foreign.txt";
    WriteFileBytes(original, Utf16File(text));
    StartedEditor editor(context.exePath);
    ChooseThroughDialog(context, editor.window, editor.ProcessId(), FileOpenCommand, original,
                        "open_dialog.bmp");
    ExpectTitle(editor.window, "foreign.txt");
    WaitForText(editor.window, std::wstring(Shalom) + L" abc", std::wstring(Olam) + L" 123",
                "the opened file", true);
    SaveBmp(CaptureClient(editor.window), Artifact(context, "open_foreign.bmp"));

    std::string copy = folder + "\\copy.txt";
    ChooseThroughDialog(context, editor.window, editor.ProcessId(), FileSaveCommand, copy,
                        "save_as_dialog.bmp");
    ExpectTitle(editor.window, "copy.txt");
    ExpectFileBytes(copy, Utf16File(text + std::wstring(1, 0)), "the file saved again");
    ExpectFileBytes(original, Utf16File(text), "the opened file");
}

// Copied in the editor, read by xclip as UTF-8.
void CopyToLinux(const ScenarioContext& context) {
    StartedEditor editor(context.exePath);
    Type(editor.window, std::wstring(Shalom) + L" abc", Olam);
    std::wstring expected = std::wstring(Shalom) + L" abc\r\n" + Olam;
    EmptyClipboardNow();
    PostCommand(editor.window, 41004);  // Select All
    Settle(editor.window, 50);
    PressKey('C', true);
    std::wstring held;
    bool copied = WaitWaking(
        editor.window, [&] { return (held = ClipboardUnicode()) == expected; }, 10000);
    ExpectNoMessageBox(editor.ProcessId(), "after Ctrl+C");
    Check(copied, "Ctrl+C after Select All did not put the text on the clipboard, which holds " +
                      std::to_string(held.size()) + " units");
    std::string seen = AskHost(context, "clipboard-get");
    // Wine hands text to X programs with Unix line ends.
    std::string utf8 = Utf8Of(std::wstring(Shalom) + L" abc\n" + Olam);
    Check(seen == utf8, "xclip read \"" + seen + "\", expected \"" + utf8 + "\"");
}

// Offered by xclip, pasted with Ctrl+V, checked in the saved file.
void PasteFromLinux(const ScenarioContext& context) {
    std::string folder = FreshFolder(context, "paste_linux");
    StartedEditor editor(context.exePath);
    AskHost(context, "clipboard-set", Utf8Of(std::wstring(Shalom) + L" abc\n" + Olam));
    std::wstring text = std::wstring(Shalom) + L" abc\r\n" + Olam;
    bool offered = WaitWaking(
        editor.window, [&] { return ClipboardUnicode() == text; }, 5000);
    Check(offered, "the text from xclip did not reach the Windows clipboard");
    BringToFront(editor.window);
    PressKey('V', true);
    WaitForText(editor.window, std::wstring(Shalom) + L" abc", Olam, "after Ctrl+V");
    SaveBmp(CaptureClient(editor.window), Artifact(context, "paste_from_linux.bmp"));
    std::string path = folder + "\\pasted.txt";
    ChooseThroughDialog(context, editor.window, editor.ProcessId(), FileSaveCommand, path,
                        "save_pasted_dialog.bmp");
    ExpectTitle(editor.window, "pasted.txt");
    ExpectFileBytes(path, Utf16File(text + std::wstring(1, 0)), "the saved paste");
}

// Saving over a file that another program holds open without sharing fails: the warning,
// the old file byte for byte, nothing left beside it or in the editor's own folder, and the
// document still changed.
void FailedSaveKeepsOldFile(const ScenarioContext& context) {
    std::string folder = FreshFolder(context, "failed_save");
    std::string path = folder + "\\held.txt";
    const std::string old = Utf16File(L"old text\r\n" + std::wstring(1, 0));
    WriteFileBytes(path, old);
    StartedEditor editor(context.exePath);
    Type(editor.window, Shalom, L"new");
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    Check(held != INVALID_HANDLE_VALUE, "cannot hold " + path + " open");
    ChooseThroughDialog(context, editor.window, editor.ProcessId(), FileSaveCommand, path,
                        "save_over_held_dialog.bmp");
    MessageBoxSeen warning = WaitForMessageBox(editor.ProcessId(), 10000);
    CloseHandle(held);
    CaptureWindowTo(warning.box, Artifact(context, "save_failed_box.bmp"));
    Check(warning.caption == "Can Not Save File",
          "failed save: caption \"" + warning.caption + "\"");
    Check(warning.text == "Can not write to the selected file",
          "failed save: text \"" + warning.text + "\"");
    AnswerMessageBox(warning.box, IDOK);
    Check(WaitWaking(
              editor.window, [&] { return !IsWindow(warning.box); }, 5000),
          "the warning did not close");
    ExpectFileBytes(path, old, "the file the save failed to replace");
    // Nothing else: no file beside it, nothing left in the editor's own folder.
    std::vector<std::string> names = FilesIn(folder);
    Check(names == std::vector<std::string>{"held.txt"},
          "the failed save left the file " + (names.empty() ? "" : names.back()));
    char base[MAX_PATH] = {};
    GetEnvironmentVariableA("LOCALAPPDATA", base, sizeof base);
    names = FilesIn(std::string(base) + "\\Nivrano\\Saving");
    Check(names.empty(), "the failed save left " + (names.empty() ? "" : names[0]));
    Check(WindowText(editor.window) == "Nivrano",
          "the title became \"" + WindowText(editor.window) + "\"");
    CloseAnsweringNo(editor);
}

// Closing a changed document: Yes, then the save dialog cancelled: the window stays with
// its text; the next close asks again.
void ClosePromptYesThenCancel(const ScenarioContext& context) {
    StartedEditor editor(context.exePath);
    Type(editor.window, std::wstring(Shalom) + L" abc", Olam);
    Capture before = CaptureClient(editor.window);
    MessageBoxSeen prompt = AskToClose(editor);
    CaptureWindowTo(prompt.box, Artifact(context, "save_prompt.bmp"));
    AnswerMessageBox(prompt.box, IDYES);
    HWND dialog = nullptr;
    WaitWaking(
        editor.window,
        [&] { return (dialog = WaitForFileDialog(editor.ProcessId(), 0)) != nullptr; }, 10000);
    Check(dialog != nullptr, "Yes showed no save dialog");
    ClickDialogButton(dialog, IDCANCEL);
    Check(WaitWaking(
              editor.window, [&] { return !IsWindow(dialog); }, 10000),
          "the save dialog did not close on Cancel");
    Settle(editor.window, 100);
    Check(IsWindowVisible(editor.window), "the window went away after the cancelled save");
    Check(WindowText(editor.window) == "Nivrano", "title \"" + WindowText(editor.window) + "\"");
    Capture after = CaptureClient(editor.window);
    SaveBmp(after, Artifact(context, "close_cancelled.bmp"));
    Check(after.pixels == before.pixels, "the text area changed after the cancelled save");
    CloseAnsweringNo(editor);
}

// A UTF-8 note with Linux line ends, named at start: a letter typed and Ctrl+S leave it
// UTF-8 with LF, its other bytes as they were.
void Utf8NoteKeepsItsFormat(const ScenarioContext& context) {
    std::string folder = FreshFolder(context, "utf8_note");
    std::string path = folder + "\\note.txt";
    const std::wstring text = std::wstring(Shalom) + L" \u201Cabc\u201D\n" + Olam + L"\n";
    WriteFileBytes(path, Utf8Of(text));
    RunningEditor running(context.exePath, {}, "\"" + path + "\"");
    StartPastAgreement(running.editor);
    HWND window = running.editor.mainWindow;
    ExpectTitle(window, "note.txt");
    ExpectNoMessageBox(running.ProcessId(), "after opening the UTF-8 note");
    BringToFront(window);
    TypeUnicode(L"\x05D0");
    Settle(window, 200);
    PressKey('S', true);
    const std::string expected = Utf8Of(L"\x05D0" + text);
    bool written = WaitWaking(
        window, [&] { return ReadWholeFile(path) == expected; }, 10000);
    if (!written) ExpectFileBytes(path, expected, "the note after Ctrl+S");
    ExpectNoMessageBox(running.ProcessId(), "after Ctrl+S");
}

// A Windows-1255 file: its quotes, dash and shekel sign reach the clipboard as themselves,
// and Save with the type the dialog preselects writes it back byte for byte.
void Windows1255FileSavedBack(const ScenarioContext& context) {
    std::string folder = FreshFolder(context, "cp1255_file");
    std::string original = folder + "\\old.txt";
    const std::wstring text = std::wstring(Shalom) + L" \u2018a\u2019 \u2014 5\u20AA\r\n" + Olam;
    const std::string bytes = Cp1255(text);
    WriteFileBytes(original, bytes);
    StartedEditor editor(context.exePath);
    ChooseThroughDialog(context, editor.window, editor.ProcessId(), FileOpenCommand, original,
                        "cp1255_open_dialog.bmp");
    ExpectTitle(editor.window, "old.txt");
    ExpectNoMessageBox(editor.ProcessId(), "after opening the Windows-1255 file");
    EmptyClipboardNow();
    PostCommand(editor.window, 41004);  // Select All
    Settle(editor.window, 50);
    PressKey('C', true);
    std::wstring held;
    WaitWaking(
        editor.window, [&] { return (held = ClipboardUnicode()) == text; }, 10000);
    Check(held == text, "Copy gave \"" + Utf8Of(held) + "\"");
    std::string copy = folder + "\\copy.txt";
    ChooseThroughDialog(context, editor.window, editor.ProcessId(), FileSaveCommand, copy,
                        "cp1255_save_dialog.bmp");
    ExpectTitle(editor.window, "copy.txt");
    ExpectFileBytes(copy, bytes, "the file saved back");
}

// Mixed Hebrew and Latin lines of 60 characters with CR LF, `count` units.
std::wstring SampleText(size_t count) {
    std::wstring text;
    while (text.size() < count) {
        size_t column = text.size() % 62;
        if (column == 60) {
            text += L"\r\n";
            continue;
        }
        text.push_back(column % 3 == 0 ? static_cast<wchar_t>(L'a' + column % 26)
                                       : static_cast<wchar_t>(0x05D0 + column % 27));
    }
    text.resize(count);
    return text;
}

// File > Open choosing `path` in its dialog: the milliseconds from the moment the dialog has
// gone until the window is idle again.
double TimeOpen(HWND window, DWORD processId, const std::string& path) {
    PostCommand(window, FileOpenCommand);
    HWND dialog = WaitForFileDialog(processId, 10000);
    Check(dialog != nullptr, "File > Open showed no dialog");
    EnterFileName(dialog, path);
    ClickDialogButton(dialog, IDOK);
    // Watch closely for the dialog's end; wake its loop now and then.
    bool closed = false;
    for (int tick = 0; tick < 15000 && !closed; ++tick) {
        if (tick % 20 == 0) PostMessageA(window, WM_NULL, 0, 0);
        Sleep(1);
        closed = !IsWindow(dialog);
    }
    Check(closed, "the open dialog did not close");
    LARGE_INTEGER gone, idle;
    DWORD_PTR result = 0;
    QueryPerformanceCounter(&gone);
    Check(SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result) != 0,
          "File > Open did not return");
    // A second round trip waits for what the editor posted itself (the scroll bar's redraw).
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result);
    QueryPerformanceCounter(&idle);
    return Milliseconds(gone, idle);
}

// The time Open of the largest file and a paste of 32,000 units take, from the command (for
// Open: from the moment its dialog has gone) until the window is idle again. With
// NIVRANO_BASE_EXE (the Windows path of another build's exe), that exe opens the same file
// in the same run, the two in turn, the one that goes first changing every round.
void FilesSpeed(const ScenarioContext& context) {
    std::string folder = FreshFolder(context, "speed");
    std::string path = folder + "\\largest.txt";
    std::wstring largest = SampleText(32767) + std::wstring(1, 0);
    WriteFileBytes(path, Utf16File(largest));
    StartedEditor editor(context.exePath);
    const char* baseExe = std::getenv("NIVRANO_BASE_EXE");
    std::unique_ptr<StartedEditor> base;
    if (baseExe != nullptr && *baseExe != 0) base = std::make_unique<StartedEditor>(baseExe);

    std::vector<double> opens;
    std::vector<double> baseOpens;
    for (int round = 0; round < (base ? 8 : 3); ++round) {
        const bool baseFirst = round % 2 == 1;
        if (base && baseFirst) baseOpens.push_back(TimeOpen(base->window, base->ProcessId(), path));
        opens.push_back(TimeOpen(editor.window, editor.ProcessId(), path));
        ExpectNoMessageBox(editor.ProcessId(), "after opening the largest file");
        if (base && !baseFirst)
            baseOpens.push_back(TimeOpen(base->window, base->ProcessId(), path));
    }
    ExpectTitle(editor.window, "largest.txt");
    if (base) {
        Log("Open of the largest file by the base exe, in the same run: " + Spread(baseOpens));
        base.reset();
    }
    // The same text in UTF-8 with LF line ends, through the system's converter.
    std::wstring lf = largest.substr(0, largest.size() - 1);
    lf.erase(std::remove(lf.begin(), lf.end(), L'\r'), lf.end());
    std::string utf8Path = folder + "\\largest-utf8.txt";
    WriteFileBytes(utf8Path, Utf8Of(lf));
    std::vector<double> utf8Opens;
    for (int round = 0; round < 3; ++round) {
        utf8Opens.push_back(TimeOpen(editor.window, editor.ProcessId(), utf8Path));
        ExpectNoMessageBox(editor.ProcessId(), "after opening the largest UTF-8 file");
    }
    ExpectTitle(editor.window, "largest-utf8.txt");

    TimeCommand(editor.window, 40000);  // New: the opened file is unchanged, nothing is asked
    std::wstring paste = SampleText(32000);
    SetClipboardUnicode(paste);
    std::vector<double> pastes;
    for (int round = 0; round < 5; ++round) {
        if (round > 0) {
            TimeCommand(editor.window, 41004);  // Select All
            TimeCommand(editor.window, 41003);  // Delete
        }
        pastes.push_back(TimeCommand(editor.window, 41002));
        ExpectNoMessageBox(editor.ProcessId(), "after pasting 32,000 units");
    }
    SaveBmp(CaptureClient(editor.window), Artifact(context, "files_speed.bmp"));
    EmptyClipboardNow();
    TimeCommand(editor.window, 41004);
    TimeCommand(editor.window, 41001);  // Copy
    Check(ClipboardUnicode() == paste, "Select All and Copy did not give back the pasted text");

    Log("Open of " + std::to_string(largest.size() * 2 + 2) +
        " bytes, from the dialog's end to idle: " + Spread(opens));
    Log("Open of the same text in UTF-8 with LF: " + Spread(utf8Opens));
    Log("Paste of " + std::to_string(paste.size()) +
        " units into an empty document: " + Spread(pastes));
    CloseAnsweringNo(editor);
}

}  // namespace

const std::vector<Scenario> FileScenarios = {
    {"file_save_typed_hebrew", SaveTypedHebrew, ""},
    {"file_open_foreign_and_save_as", OpenForeignFileAndSaveAs, ""},
    {"clipboard_copy_to_linux", CopyToLinux, ""},
    {"clipboard_paste_from_linux", PasteFromLinux, ""},
    {"file_failed_save_keeps_old_file", FailedSaveKeepsOldFile, ""},
    {"close_prompt_yes_then_cancel", ClosePromptYesThenCancel, ""},
    {"files_speed", FilesSpeed, ""},
    {"file_utf8_note_keeps_its_format", Utf8NoteKeepsItsFormat, ""},
    {"file_windows1255_saved_back", Windows1255FileSavedBack, ""},
};

}  // namespace e2e
