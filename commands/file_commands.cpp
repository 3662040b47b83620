#include "commands/file_commands.h"

#include <cstring>

#include "document/store.h"

namespace nv {

FileState Files;

namespace {
// Four strings, each ended by a NUL, and a second NUL after the last.
const char FileFilter[] = "Unicode Text Files (*.txt)\0*.txt\0All Files (*.*)\0*.*\0";
}  // namespace

void ResetFileState() { Files = FileState{}; }

void SetupFileDialog() {
    OPENFILENAMEA& record = Files.FileDialogRecord;
    record = OPENFILENAMEA{};
    record.lStructSize = 76;
    record.hwndOwner = Doc.MainWindow;
    record.lpstrFilter = FileFilter;
    record.nFilterIndex = 1;
    record.nMaxFile = FilePathSize;
    record.nMaxFileTitle = FilePathSize;
    record.lpstrDefExt = "txt";
}

bool IsDocumentChanged() {
    if (Doc.TextLength != Doc.SavedLength) return true;
    return std::memcmp(Doc.TextBuffer, Doc.SavedText, static_cast<std::size_t>(Doc.TextLength)) !=
           0;
}

void FileNew() {}
void FileOpen() {}
void FileSave() {}

}  // namespace nv
