// Unicode text files: the file dialog record, the change test, New, Open and Save.
#pragma once

#include "platform/platform.h"

namespace nv {

constexpr int FilePathSize = 260;

struct FileState {
    char FileName[FilePathSize];
    char FileTitle[FilePathSize];
    OPENFILENAMEA FileDialogRecord;
};

extern FileState Files;

void ResetFileState();

// Fills the dialog record shared by Open and Save; called once at window creation.
void SetupFileDialog();

// True when the text differs from the text last created, opened or saved.
bool IsDocumentChanged();

void FileNew();
void FileOpen();
void FileSave();

}  // namespace nv
