// Text files: the file dialog record, the change test, the save prompt, New, Open and Save.
//
// Open finds a file's format from its bytes: FF FE is UTF-16 little-endian, FE FF UTF-16
// big-endian, EF BB BF UTF-8 with its mark, a file that is valid UTF-8 throughout UTF-8
// without one, and any other file Windows-1255, whose bytes are the document's own. Save
// writes the format the document came in, with its line ends.
//
// The UTF-16 formats hold one unit per document byte in the files' own mapping
// (commands/unicode_text.h). A little-endian file ends with the terminator, "abc" being
// FF FE 61 00 62 00 63 00 00 00; on Open the final U+0000 may be missing. The other formats
// are written without a final NUL; in UTF-8 and Windows-1255 files a NUL ends the text.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace nv {

constexpr int FilePathSize = 260;
// The mark and one unit for each byte of a full TextBuffer: the largest UTF-16 file.
constexpr DWORD LargestFileSize = 2 + 2 * 32768;
// The largest UTF-8 file that can fit: the mark, three bytes for each character of a full
// text, and a final NUL.
constexpr DWORD LargestUtf8FileSize = 3 + 3 * 32767 + 1;

enum class FileFormat : std::uint8_t {
    Utf16LittleEndian,  // what a new document is saved as
    Utf16BigEndian,
    Utf8WithMark,
    Utf8,
    Windows1255,
};
// The format's name as the editor shows it: "UTF-16 LE", "UTF-8", "Windows-1255", ...
const char* FileFormatName(FileFormat format);
// Names compared as Windows compares file names: capital and small Latin letters alike.
bool SameTextIgnoringCase(const char* a, const char* b);
// The document's format with its line ends, as the status bar tells it: "UTF-8, Unix (LF)".
const char* DocumentFormatText();

// The document's line end is CR LF. A file whose first line end is LF alone has each lone LF
// read as CR LF, and each CR LF written as LF.
enum class LineEnds : std::uint8_t { CrLf, Lf };

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
    // The format the document came in, or was last saved in, with its line ends.
    FileFormat Format;
    LineEnds Ends;
    // Characters of the file opened last that had no document byte, and that file: saving
    // over it asks first. Cleared by New, another Open and a save over that file.
    std::int32_t ReplacedCount;
    char ReplacedPath[FilePathSize];
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
// What Save does once its dialog has named the file: the question before a save over a file
// whose characters were replaced, the write in the document's format
// (commands/safe_save.h), its message on failure, then the saved text and the title.
void SaveDocumentFile();
// The same in `format`, which the document takes when the save succeeds.
void SaveDocumentFileAs(FileFormat format);

// The format, line ends and replaced characters of the file at `path`, as Open would find
// them, become the document's (a recovered text saved back to the file it came from). A
// file that cannot be read leaves a new document's format.
void TakeFormatOfFile(const char* path);

// Shows a text that has just replaced the document, as Open shows it: from the top, with no
// selection, painted afresh.
void ShowReplacedText();

// The checks of a UTF-16 little-endian file, each giving the message of the refusal or
// nullptr. The size as GetFileSize gives it:
const char* CheckFileSize(DWORD low, DWORD high);
// The first two bytes and the size, once the size passed:
const char* CheckFileMark(const std::uint8_t* mark, DWORD size);
// The document length of a file of `size` bytes that passed both checks, whose bytes are in
// `image`: the units after the mark, and a terminator added when the last is not U+0000.
// -1 when the text would not fit.
std::int32_t DocumentLengthOfFile(const std::uint8_t* image, DWORD size);

}  // namespace nv
