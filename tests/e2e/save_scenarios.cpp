// End-to-end saves that keep the file what it was: through a symbolic link, a private file,
// a second hard link, a name typed in other case, a folder that takes no new files; a save
// that fails on a full disk with no Saving folder to use, the old text whole; a save cut
// short by the end of the editor, named at the next start; and Ctrl with a letter under a
// Hebrew keyboard layout, which types nothing.
#include <string>
#include <vector>

#include "file_steps.h"
#include "scenarios.h"

namespace e2e {

namespace {

const wchar_t NewText[] = L"\x05E9\x05DC\x05D5\x05DD, new text";

// The Linux path of a path on Wine's Z: drive.
std::string UnixPath(const std::string& windowsPath) {
    Check(windowsPath.size() > 2 && (windowsPath[0] == 'Z' || windowsPath[0] == 'z') &&
              windowsPath[1] == ':',
          "not on the Z: drive: " + windowsPath);
    std::string path = windowsPath.substr(2);
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

// A word for the shell.
std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string Sh(const ScenarioContext& context, const std::string& script) {
    return AskHost(context, "sh", "set -e\n" + script);
}

// Where the editor secures both texts of a save (the driver runs as the same user).
std::string SavingFolder() {
    char base[MAX_PATH] = {};
    GetEnvironmentVariableA("LOCALAPPDATA", base, sizeof base);
    return std::string(base) + "\\Nivrano\\Saving";
}
// The same folder for the host's scripts.
const char SavingForHost[] = "\"$WINEPREFIX\"/drive_c/users/*/AppData/Local/Nivrano/Saving";
// The Linux path of the Saving folder, which may not exist yet.
std::string SavingPathForHost() {
    std::string path = SavingFolder();
    Check(path.size() > 3 && (path[0] == 'C' || path[0] == 'c') && path[1] == ':',
          "the Saving folder is not on drive C: " + path);
    for (char& c : path)
        if (c == '\\') c = '/';
    return "\"$WINEPREFIX\"/drive_c/" + Quoted(path.substr(3));
}

// The save runs on in the editor a moment after its dialog has gone.
void ExpectNoSecuredFiles(const std::string& when) {
    std::vector<std::string> names = FilesIn(SavingFolder());
    for (int wait = 0; wait < 50 && !names.empty(); ++wait) {
        Sleep(100);
        names = FilesIn(SavingFolder());
    }
    Check(names.empty(),
          when + ": the editor's folder Saving still holds " + (names.empty() ? "" : names[0]));
}

void TypeText(HWND window, const std::wstring& text) {
    BringToFront(window);
    TypeUnicode(text);
    Settle(window, 100);
}

void SaveThroughDialog(const ScenarioContext& context, StartedEditor& editor,
                       const std::string& path) {
    ChooseThroughDialog(context, editor.window, editor.ProcessId(), FileSaveCommand, path,
                        "save_same_file_dialog.bmp");
    ExpectNoMessageBox(editor.ProcessId(), "after saving " + path);
    ExpectNoSecuredFiles("after saving " + path);
}

// Each kind of file a writer may save over stays that file, with the new text.
void SaveKeepsTheFile(const ScenarioContext& context) {
    std::string shut = Artifact(context, "files\\save_no_new_files");
    CreateDirectoryA(Artifact(context, "files").c_str(), nullptr);
    CreateDirectoryA(shut.c_str(), nullptr);
    Sh(context, "chattr -i " + Quoted(UnixPath(shut)));
    shut = FreshFolder(context, "save_no_new_files");
    const std::string folder = FreshFolder(context, "save_same_file");
    const std::string old = Utf16File(L"old\r\n" + std::wstring(1, 0));
    for (const char* name : {"real.txt", "private.txt", "one.txt", "lower.txt"})
        WriteFileBytes(folder + "\\" + name, old);
    WriteFileBytes(shut + "\\kept.txt", old);
    const std::string here = "cd " + Quoted(UnixPath(folder)) + "\n";
    const std::string before = Sh(context, here +
                                               "ln -sf real.txt link.txt\n"
                                               "chmod 600 private.txt\n"
                                               "ln -f one.txt two.txt\n"
                                               "chattr +i " +
                                               Quoted(UnixPath(shut)) +
                                               "\n"
                                               "stat -c %i private.txt\n");
    ClearSecuredSaves();

    StartedEditor editor(context.exePath);
    TypeText(editor.window, NewText);
    const std::string saved = Utf16File(std::wstring(NewText) + std::wstring(1, 0));

    SaveThroughDialog(context, editor, folder + "\\link.txt");
    ExpectTitle(editor.window, "link.txt");
    Check(Sh(context, here + "readlink link.txt") == "real.txt\n",
          "the symbolic link did not stay a link to real.txt");
    ExpectFileBytes(folder + "\\real.txt", saved, "the file the link leads to");

    SaveThroughDialog(context, editor, folder + "\\private.txt");
    ExpectFileBytes(folder + "\\private.txt", saved, "the private file");
    const std::string after = Sh(context, here + "stat -c '%i %a' private.txt");
    Check(after == before.substr(0, before.size() - 1) + " 600\n",
          "the private file became another file or mode: inode and mode " + after +
              " (inode before " + before + ")");

    SaveThroughDialog(context, editor, folder + "\\one.txt");
    ExpectFileBytes(folder + "\\two.txt", saved, "the file's other name");

    SaveThroughDialog(context, editor, folder + "\\LOWER.TXT");
    ExpectFileBytes(folder + "\\lower.txt", saved, "the file saved under a name in capitals");
    Check(Sh(context, here + "ls") ==
              "link.txt\nlower.txt\none.txt\nprivate.txt\nreal.txt\ntwo.txt\n",
          "the folder changed: " + Sh(context, here + "ls | tr '\\n' ' '"));

    SaveThroughDialog(context, editor, shut + "\\kept.txt");
    ExpectFileBytes(shut + "\\kept.txt", saved, "the file in a folder that takes no new files");
    Sh(context, "chattr -i " + Quoted(UnixPath(shut)));
}

// The editor's Linux process (not the driver, whose arguments name the exe too).
const char FindEditor[] =
    "pid=\n"
    "for p in $(pgrep -f 'nivrano\\.exe'); do\n"
    "  first=$(tr '\\0' '\\n' </proc/$p/cmdline | head -n 1)\n"
    "  case $first in *nivrano.exe|*NIVRANO.EXE) ;; *) continue ;; esac\n"
    "  [ \"$(tr '\\0' '\\n' </proc/$p/environ | sed -n 's/^WINEPREFIX=//p')\" = \"$WINEPREFIX\" ] "
    "&& pid=$p\n"
    "done\n"
    "[ -n \"$pid\" ] || { echo 'no editor process' >&2; exit 1; }\n";

// Killed after the texts were secured, as the file itself was about to be written: both
// texts are whole on disk, another editor started meanwhile says nothing of them, and the
// next start names them and says that the file still holds its old text. (A save killed
// once the file held the whole new text leaves nothing to say: the native tests show that.)
void InterruptedSave(const ScenarioContext& context) {
    const std::string folder = FreshFolder(context, "save_interrupted");
    const std::string path = folder + "\\cut.txt";
    const std::string old = Utf16File(L"old" + std::wstring(1, 0));
    const std::string saved = Utf16File(std::wstring(NewText) + std::wstring(1, 0));
    WriteFileBytes(path, old);
    WriteFileBytes(Artifact(context, "expected-old.bin"), old);
    WriteFileBytes(Artifact(context, "expected-new.bin"), saved);
    ClearSecuredSaves();

    StartedEditor first(context.exePath);
    TypeText(first.window, NewText);
    // The first write of the file itself waits 25 s: time to kill the editor. Only the file's
    // own writes count: the secured texts and the recovery copy are written too.
    Sh(context, std::string(FindEditor) +
                    "echo $pid >editor.pid\n"
                    "strace -f -p $pid -P " +
                    Quoted(UnixPath(path)) +
                    " -e trace=write,pwrite64 "
                    "-e inject=write,pwrite64:delay_enter=25000000:when=1 "
                    "-o /dev/null >/dev/null 2>&1 &\n"
                    "echo $! >strace.pid\n"
                    "sleep 1\n");
    ChooseThroughDialog(context, first.window, first.ProcessId(), FileSaveCommand, path,
                        "save_interrupted_dialog.bmp");
    const std::string secured = std::string("cd ") + SavingForHost +
                                "\n"
                                "for i in $(seq 50); do [ -e *new.txt ] && [ -e *old.txt ] && "
                                "break; sleep 0.1; done\n"
                                "cmp *new.txt \"$OLDPWD/expected-new.bin\"\n"
                                "cmp *old.txt \"$OLDPWD/expected-old.bin\"\n"
                                "ls\n";
    Sh(context, secured + "cmp " + Quoted(UnixPath(path)) + " \"$OLDPWD/expected-old.bin\"\n");

    {
        StartedEditor second(context.exePath);
        Settle(second.window, 300);
        ExpectNoMessageBox(second.ProcessId(), "at the start of a second editor during a save");
    }

    Sh(context, "kill -9 $(cat editor.pid)\nsleep 0.2\nkill $(cat strace.pid) || true\n");
    Check(WaitForExit(first.editor, 10000) != -1, "the killed editor did not end");
    const std::string left = Sh(context, secured);

    StartedEditor next(context.exePath);
    MessageBoxSeen notice = WaitForMessageBox(next.ProcessId(), 10000);
    CaptureWindowTo(notice.box, Artifact(context, "interrupted_save_notice.bmp"));
    Check(notice.caption == "Interrupted Save", "the next start showed \"" + notice.caption + "\"");
    std::vector<std::string> names = FilesIn(SavingFolder());
    Check(names.size() == 3, "the editor's folder holds " + left);
    Check(notice.text.find("\n" + SavingFolder() + "\n") != std::string::npos,
          "the notice does not name the folder: " + notice.text);
    for (const std::string& name : names)
        Check(name.find(" target.txt") != std::string::npos ||
                  notice.text.find("\n" + name + ": ") != std::string::npos,
              "the notice does not name " + name + ": " + notice.text);
    Check(notice.text.find("\nThe file saved, " + path +
                           ", still holds its text from before that save.\n") != std::string::npos,
          "the notice does not say that the file holds its old text: " + notice.text);
    ExpectFileBytes(path, old, "the file whose save was cut short");
    AnswerMessageBox(notice.box, IDOK);
    ClearSecuredSaves();
}

// Saving over a file on a full disk while the Saving folder is read-only: the save goes on
// without secured texts, the write fails part way, and the file gets its old bytes back from
// the editor's memory, whole.
void FullDiskWithoutSavingFolder(const ScenarioContext& context) {
    CreateDirectoryA(Artifact(context, "files").c_str(), nullptr);
    const std::string disk = Artifact(context, "files\\save_full_disk");
    CreateDirectoryA(disk.c_str(), nullptr);
    const std::string unmount = "set -- " + SavingPathForHost() + " " + Quoted(UnixPath(disk)) +
                                "\n"
                                "for d; do if mountpoint -q \"$d\"; then umount \"$d\"; fi; done\n";
    Sh(context, unmount);
    ClearSecuredSaves();
    // 2,102 bytes, over which a text of 6,004 bytes finds room for its first page only.
    const std::string old = Utf16File(std::wstring(1049, L'\x05D0') + std::wstring(1, 0));
    std::wstring longer;
    for (int k = 0; k < 3000; ++k) longer += static_cast<wchar_t>(0x05D0 + k % 27);
    const std::string source = FreshFolder(context, "save_full_disk_source") + "\\long.txt";
    WriteFileBytes(source, Utf16File(longer + std::wstring(1, 0)));
    const std::string target = disk + "\\kept.txt";
    Sh(context, "set -- " + SavingPathForHost() +
                    "\n"
                    "mkdir -p \"$1\"\n"
                    "mount -t tmpfs -o ro,size=4k tmpfs \"$1\"\n"
                    "mount -t tmpfs -o size=16k tmpfs " +
                    Quoted(UnixPath(disk)) + "\n");
    try {
        WriteFileBytes(target, old);
        Sh(context, "dd if=/dev/zero of=" + Quoted(UnixPath(disk) + "/filler") +
                        " bs=1024 2>/dev/null || true\n"
                        "df -k " +
                        Quoted(UnixPath(disk)) + " >save_full_disk_df.txt\n");
        StartedEditor editor(context.exePath);
        ChooseThroughDialog(context, editor.window, editor.ProcessId(), FileOpenCommand, source,
                            "save_full_disk_open.bmp");
        ExpectTitle(editor.window, "long.txt");
        ChooseThroughDialog(context, editor.window, editor.ProcessId(), FileSaveCommand, target,
                            "save_full_disk_dialog.bmp");
        MessageBoxSeen refusal = WaitForMessageBox(editor.ProcessId(), 10000);
        CaptureWindowTo(refusal.box, Artifact(context, "save_full_disk_message.bmp"));
        Check(refusal.caption == "Can Not Save File" &&
                  refusal.text == "Can not write to the selected file",
              "the save on a full disk showed \"" + refusal.caption + "\": " + refusal.text);
        AnswerMessageBox(refusal.box, IDOK);
        ExpectFileBytes(target, old, "the file on the full disk");
        ExpectTitle(editor.window, "long.txt");
    } catch (...) {
        Sh(context, unmount);
        throw;
    }
    Sh(context, unmount);
}

// With a Hebrew layout Wine makes Ctrl with a letter key that key's letter: nothing of it may
// reach the text, while the letter key alone still types.
void ControlLetterTypesNothing(const ScenarioContext& context) {
    // The layout holds only while a client stays connected.
    Sh(context,
       "(xev -root >/dev/null 2>&1 & echo $! >xev.pid)\nsleep 0.3\nsetxkbmap -layout il\n");
    try {
        StartedEditor editor(context.exePath);
        BringToFront(editor.window);
        Settle(editor.window, 200);
        const Capture before = CaptureClient(editor.window);
        Sh(context,
           "xdotool key --delay 60 ctrl+hebrew_shin ctrl+hebrew_nun ctrl+hebrew_qoph "
           "ctrl+hebrew_resh ctrl+hebrew_aleph\n");
        Settle(editor.window, 300);
        const Capture after = CaptureClient(editor.window);
        SaveBmp(after, Artifact(context, "control_letters.bmp"));
        Check(after.pixels == before.pixels, "Ctrl with a letter typed into the document");
        Sh(context, "xdotool key hebrew_shin\n");
        Settle(editor.window, 300);
        Check(CaptureClient(editor.window).pixels != before.pixels,
              "the letter key alone typed nothing under the Hebrew layout");
    } catch (...) {
        Sh(context, "setxkbmap -layout us\nkill $(cat xev.pid) || true\n");
        throw;
    }
    Sh(context, "setxkbmap -layout us\nkill $(cat xev.pid) || true\n");
}

}  // namespace

void ClearSecuredSaves() {
    for (const std::string& name : FilesIn(SavingFolder()))
        DeleteFileA((SavingFolder() + "\\" + name).c_str());
}

const std::vector<Scenario> SaveScenarios = {
    {"save_keeps_the_file", SaveKeepsTheFile, ""},
    {"save_full_disk_without_saving_folder", FullDiskWithoutSavingFolder, ""},
    {"save_interrupted_named_at_next_start", InterruptedSave, ""},
    {"typing_control_letter_types_nothing", ControlLetterTypesNothing, ""},
};

}  // namespace e2e
