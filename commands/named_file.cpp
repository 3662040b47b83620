#include "commands/named_file.h"

#include <cstring>

#include "commands/file_commands.h"
#include "commands/recovery.h"

namespace nv {

namespace {

// One character more than FileName holds, so that a path too long for it shows as such.
char StartPath[FilePathSize + 1];

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

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
    OpenNamedFile(StartPath, std::strlen(StartPath));
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
