// Unicode text files: the file dialog record, the change test, the save prompt, New, Open
// and Save.
//
// A document file is the mark FF FE and then one little-endian UTF-16 unit per document
// byte (commands/unicode_text.h), the terminator included: "abc" is saved as
// FF FE 61 00 62 00 63 00 00 00. On Open the final U+0000 may be missing.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace nv {

constexpr int FilePathSize = 260;
// The mark and one unit for each byte of a full TextBuffer: the largest file Open takes.
constexpr DWORD LargestFileSize = 2 + 2 * 32768;

struct FileState {
    char FileName[FilePathSize];
    char FileTitle[FilePathSize];
    OPENFILENAMEA FileDialogRecord;
    // The file the document was last opened from or saved to, and its title: empty at start
    // and after New. FileName holds whatever the last dialog returned, even a refused file.
    char DocumentPath[FilePathSize];
    char DocumentTitle[FilePathSize];
    // The size and checksum (RecoveryChecksum) of that file's bytes when the document last
    // matched it, for the recovery copy's header.
    DWORD DocumentFileSize;
    std::uint32_t DocumentFileSum;
};

extern FileState Files;

void ResetFileState();

// Fills the dialog record shared by Open and Save; called once at window creation.
void SetupFileDialog();

// True when the text differs from the text last created, opened or saved.
bool IsDocumentChanged();

// Asks to save a changed document. True when the caller may go on and drop the changes (no
// change, or the answer No); Yes runs Save and gives false, as does Cancel.
bool AskToSave();

void FileNew();
void FileOpen();
void FileSave();

// What Open does once its dialog has named the file Files.FileName (Files.FileTitle its
// title): every check in its order with its message, then the new text and the title.
void OpenDocumentFile();
// What Save does once its dialog has named the file: the write (commands/safe_save.h), its
// message on failure, then the saved text and the title.
void SaveDocumentFile();

// Shows a text that has just replaced the document, as Open shows it: from the top, with no
// selection, painted afresh.
void ShowReplacedText();

// Open's checks, each giving the message of the refusal or nullptr. The size as GetFileSize
// gives it:
const char* CheckFileSize(DWORD low, DWORD high);
// The first two bytes and the size, once the size passed:
const char* CheckFileMark(const std::uint8_t* mark, DWORD size);
// The document length of a file of `size` bytes that passed both checks, whose bytes are in
// `image`: the units after the mark, and a terminator added when the last is not U+0000.
// -1 when the text would not fit.
std::int32_t DocumentLengthOfFile(const std::uint8_t* image, DWORD size);

}  // namespace nv
