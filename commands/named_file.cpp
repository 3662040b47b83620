#include "commands/named_file.h"

#include <cstring>

#include "commands/file_commands.h"
#include "commands/recovery.h"
#include "document/store.h"

namespace nv {

namespace {

// One character more than FileName holds, so that a path too long for it shows as such.
char StartPath[FilePathSize + 1];

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A path to no file, in a folder that exists: a file to be written by the first save.
bool IsNewFileInFolder(const char* path) {
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) return false;
    const char* name = LastPathComponent(path);
    if (*name == '\0') return false;
    if (name == path) return true;  // in the current folder
    char folder[FilePathSize];
    const auto length = static_cast<std::size_t>(name - path);  // the separator included
    std::memcpy(folder, path, length);
    folder[length] = '\0';
    const DWORD attributes = GetFileAttributesA(folder);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

void SetStartArgument(const char* commandLine) {
    ResetStartArgument();
    if (commandLine == nullptr) return;
    const char* at = commandLine;
    while (IsBlank(*at)) ++at;
    const bool quoted = *at == '"';
    if (quoted) ++at;
    std::size_t length = 0;
    while (at[length] != '\0' && (quoted ? at[length] != '"' : !IsBlank(at[length]))) ++length;
    if (length > FilePathSize) length = FilePathSize;
    std::memcpy(StartPath, at, length);
    StartPath[length] = '\0';
}

const char* StartArgument() { return StartPath; }

void ResetStartArgument() { std::memset(StartPath, 0, sizeof StartPath); }

void OpenStartFile() {
    if (StartPath[0] == '\0') return;
    const std::size_t length = std::strlen(StartPath);
    if (length < FilePathSize && IsNewFileInFolder(StartPath)) {
        // As after an Open of an empty file: the name is the title, and Save Again writes it.
        std::memcpy(Files.FileName, StartPath, length + 1);
        std::strcpy(Files.FileTitle, LastPathComponent(Files.FileName));
        std::memcpy(Files.DocumentPath, Files.FileName, sizeof Files.DocumentPath);
        std::memcpy(Files.DocumentTitle, Files.FileTitle, sizeof Files.DocumentTitle);
        SetWindowTextA(Doc.MainWindow, Files.FileTitle);
        return;
    }
    OpenNamedFile(StartPath, length);
}

const char* LastPathComponent(const char* path) {
    const char* last = path;
    for (const char* c = path; *c != '\0'; ++c) {
        if (*c == '\\' || *c == '/' || *c == ':') last = c + 1;
    }
    return last;
}

void OpenNamedFile(const char* path, std::size_t length) {
    if (length >= FilePathSize) {
        // No file has an empty name: Open's first check refuses it with its message.
        Files.FileName[0] = '\0';
        Files.FileTitle[0] = '\0';
    } else {
        std::memcpy(Files.FileName, path, length);
        Files.FileName[length] = '\0';
        std::strcpy(Files.FileTitle, LastPathComponent(Files.FileName));
    }
    OpenDocumentFile();
}

void OpenDroppedFile(HDROP drop) {
    char path[FilePathSize] = {};
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    const UINT length = count > 0 ? DragQueryFileA(drop, 0, nullptr, 0) : 0;
    const bool fits =
        length > 0 && length < sizeof path && DragQueryFileA(drop, 0, path, sizeof path) == length;
    // The shell's copy of the names goes before the save prompt can hold the drop up.
    DragFinish(drop);
    if (length == 0 || (!fits && length < sizeof path)) return;
    if (!AskToSave()) return;
    OpenNamedFile(path, fits ? length : FilePathSize);
}

void FileSaveAgain() {
    // A recovered text names a file that may have changed since: only the dialog writes then.
    if (Files.DocumentPath[0] == '\0' || !RecoveredSourceUnchanged()) {
        FileSave();
        return;
    }
    std::memcpy(Files.FileName, Files.DocumentPath, sizeof Files.FileName);
    std::memcpy(Files.FileTitle, Files.DocumentTitle, sizeof Files.FileTitle);
    SaveDocumentFile();
}

}  // namespace nv
