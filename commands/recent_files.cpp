#include "commands/recent_files.h"

#include <cstring>

#include "commands/command_ids.h"
#include "commands/file_commands.h"
#include "commands/named_file.h"
#include "document/store.h"

namespace nv {

RecentFileList RecentFiles;

namespace {

int IndexOf(const char* path) {
    for (int k = 0; k < RecentFiles.Count; ++k) {
        if (SameTextIgnoringCase(RecentFiles.Paths[k], path)) return k;
    }
    return -1;
}

void RemoveAt(int index) {
    for (int k = index; k + 1 < RecentFiles.Count; ++k) {
        std::memcpy(RecentFiles.Paths[k], RecentFiles.Paths[k + 1], FilePathSize);
    }
    --RecentFiles.Count;
    std::memset(RecentFiles.Paths[RecentFiles.Count], 0, FilePathSize);
}

bool Fits(const char* path) { return path[0] != '\0' && std::strlen(path) < FilePathSize; }

// "&1 name": the file's name after its number, an ampersand in it doubled so that it shows
// as itself rather than marking a key.
void MenuText(int index, const char* path, char* text) {
    char* out = text;
    *out++ = '&';
    *out++ = static_cast<char>('1' + index);
    *out++ = ' ';
    for (const char* c = LastPathComponent(path); *c != '\0'; ++c) {
        if (*c == '&') *out++ = '&';
        *out++ = *c;
    }
    *out = '\0';
}

}  // namespace

void ResetRecentFiles() { RecentFiles = RecentFileList{}; }

void ShowRecentFiles() {
    HMENU menu = GetMenu(Doc.MainWindow);
    for (UINT id = IDM_RECENT_FIRST; id <= IDM_RECENT_SEPARATOR; ++id) {
        DeleteMenu(menu, id, MF_BYCOMMAND);
    }
    char text[4 + 2 * FilePathSize];
    for (int k = 0; k < RecentFiles.Count; ++k) {
        MenuText(k, RecentFiles.Paths[k], text);
        InsertMenuA(menu, IDM_FILE_EXIT, MF_BYCOMMAND | MF_STRING,
                    static_cast<std::uintptr_t>(IDM_RECENT_FIRST + k), text);
    }
    if (RecentFiles.Count > 0) {
        InsertMenuA(menu, IDM_FILE_EXIT, MF_BYCOMMAND | MF_SEPARATOR, IDM_RECENT_SEPARATOR,
                    nullptr);
    }
}

void RememberRecentFile(const char* path) {
    ++RecentFiles.Remembered;
    // A file named from the current folder is listed by its full path, which names it from
    // any other folder too (this also copies an entry of the list itself).
    char copy[FilePathSize];
    const DWORD length = GetFullPathNameA(path, sizeof copy, copy);
    if (length == 0 || length >= sizeof copy) return;
    const int found = IndexOf(copy);
    if (found >= 0) RemoveAt(found);
    if (RecentFiles.Count == RecentFileLimit) RemoveAt(RecentFileLimit - 1);
    std::memmove(RecentFiles.Paths[1], RecentFiles.Paths[0],
                 static_cast<std::size_t>(RecentFiles.Count) * FilePathSize);
    std::strcpy(RecentFiles.Paths[0], copy);
    ++RecentFiles.Count;
    ShowRecentFiles();
}

void ForgetRecentFile(const char* path) {
    const int found = IndexOf(path);
    if (found < 0) return;
    RemoveAt(found);
    ShowRecentFiles();
}

bool AppendRecentFile(const char* path) {
    if (RecentFiles.Count == RecentFileLimit || !Fits(path) || IndexOf(path) >= 0) return false;
    std::strcpy(RecentFiles.Paths[RecentFiles.Count++], path);
    return true;
}

void OpenRecentFile(UINT command) {
    const int index = static_cast<int>(command) - IDM_RECENT_FIRST;
    if (index < 0 || index >= RecentFiles.Count) return;
    char path[FilePathSize];
    std::strcpy(path, RecentFiles.Paths[index]);
    if (!AskToSave()) return;
    const std::uint32_t before = RecentFiles.Remembered;
    OpenNamedFile(path, std::strlen(path));
    if (RecentFiles.Remembered == before) ForgetRecentFile(path);
}

}  // namespace nv
