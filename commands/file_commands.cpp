#include "commands/file_commands.h"

#include <cstdio>
#include <cstring>

#include "commands/recent_files.h"
#include "commands/safe_save.h"
#include "commands/unicode_text.h"
#include "document/edit_history.h"
#include "document/store.h"
#include "view/geometry.h"
#include "view/screen_layout.h"

namespace nv {

FileState Files;

namespace {

// Four strings, each ended by a NUL, and a second NUL after the last.
const char FileFilter[] = "Unicode Text Files (*.txt)\0*.txt\0All Files (*.*)\0*.*\0";

constexpr const char* OpenCaption = "Can Not Open File";
constexpr const char* SaveCaption = "Can Not Save File";
constexpr const char* NoHandleMessage = "Can not obtain a file handle to the selected file";
constexpr const char* NoSizeMessage = "Can not obtain the size of the selected file";
constexpr const char* TooLargeMessage = "The selected file is too large to open";
constexpr const char* NotUnicodeMessage = "The selected file is not a Unicode text file";
constexpr const char* ReadMessage = "Can not read the selected file";
constexpr const char* WriteMessage = "Can not write to the selected file";

// Files pass through here whole: the mark and up to 32,768 units.
std::uint8_t UnicodeFileBuffer[LargestFileSize];

void PointDialogAtFileName(DWORD flags) {
    OPENFILENAMEA& record = Files.FileDialogRecord;
    record.lpstrFile = Files.FileName;
    record.lpstrFileTitle = Files.FileTitle;
    record.Flags = flags;
}

// The checks of Open in their order, reading the file into UnicodeFileBuffer; the message of
// the first that fails, or nullptr with the document length.
const char* ReadDocumentFile(HANDLE file, std::int32_t* length) {
    DWORD high = 0;
    const DWORD size = GetFileSize(file, &high);
    if (const char* problem = CheckFileSize(size, high)) return problem;
    std::memset(UnicodeFileBuffer, 0, sizeof UnicodeFileBuffer);
    DWORD read = 0;
    if (!ReadFile(file, UnicodeFileBuffer, 2, &read) || read != 2) return ReadMessage;
    if (const char* problem = CheckFileMark(UnicodeFileBuffer, size)) return problem;
    const DWORD rest = size - 2;
    if (rest > 0 && (!ReadFile(file, UnicodeFileBuffer + 2, rest, &read) || read != rest)) {
        return ReadMessage;
    }
    *length = DocumentLengthOfFile(UnicodeFileBuffer, size);
    return *length < 0 ? TooLargeMessage : nullptr;
}

void SetTitle(const char* title) { SetWindowTextA(Doc.MainWindow, title); }

void RememberSavedText() {
    std::memset(Doc.SavedText, 0, sizeof Doc.SavedText);
    std::memcpy(Doc.SavedText, Doc.TextBuffer, static_cast<std::size_t>(Doc.TextLength));
    Doc.SavedLength = Doc.TextLength;
    // Only a successful Open or Save gets here: the file named last now holds this text.
    std::memcpy(Files.DocumentPath, Files.FileName, sizeof Files.DocumentPath);
    std::memcpy(Files.DocumentTitle, Files.FileTitle, sizeof Files.DocumentTitle);
    RememberRecentFile(Files.FileName);
}

// A new text from the top: no selection, the caret and the view at the start, and the text
// area painted afresh.
void ShowNewText() {
    Doc.Caret = 0;
    Doc.SelectionActive = 0;
    Doc.SelectionStart = 0;
    Doc.SelectionEnd = 0;
    Doc.ViewTop = 0;
    LayoutDocument();
    RECT textArea{0, Geo.TextTop, Geo.ClientWidth, Geo.ClientHeight};
    InvalidateRect(Doc.MainWindow, &textArea, 1);
}

}  // namespace

void ResetFileState() { Files = FileState{}; }

void SetupFileDialog() {
    OPENFILENAMEA& record = Files.FileDialogRecord;
    record = OPENFILENAMEA{};
    // The size of the record this program was built with: a 64-bit program's dialog refuses
    // the 32-bit size.
    record.lStructSize = sizeof(OPENFILENAMEA);
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

bool AskToSave() {
    if (!IsDocumentChanged()) return true;
    int answer = MessageBoxA(Doc.MainWindow,
                             "The current file has changed since the last save.\n"
                             "Do you wish to save the current file?",
                             "Save Current File?", MB_ICONQUESTION | MB_YESNOCANCEL);
    if (answer == IDNO) return true;
    if (answer == IDYES) FileSave();
    return false;
}

const char* CheckFileSize(DWORD low, DWORD high) {
    if (low == INVALID_FILE_SIZE) return NoSizeMessage;
    if (high != 0) return TooLargeMessage;
    if (low < 2) return NotUnicodeMessage;
    return nullptr;
}

const char* CheckFileMark(const std::uint8_t* mark, DWORD size) {
    if (mark[0] != 0xFF || mark[1] != 0xFE || size % 2 != 0) return NotUnicodeMessage;
    if (size > LargestFileSize) return TooLargeMessage;
    return nullptr;
}

std::int32_t DocumentLengthOfFile(const std::uint8_t* image, DWORD size) {
    const auto units = static_cast<std::int32_t>((size - 2) / 2);
    if (units > 0 && UnitAt(image, static_cast<std::size_t>(units)) == 0) return units;
    return units >= TextLimit ? -1 : units + 1;
}

void FileNew() {
    if (!AskToSave()) return;
    std::memset(Doc.TextBuffer, 0, sizeof Doc.TextBuffer);
    std::memset(Doc.SavedText, 0, sizeof Doc.SavedText);
    Doc.TextLength = 1;
    Doc.SavedLength = 1;
    Files.DocumentPath[0] = '\0';
    Files.DocumentTitle[0] = '\0';
    ClearEditHistory();
    SetTitle("Nivrano");
    ShowNewText();
}

void ShowReplacedText() { ShowNewText(); }

void FileOpen() {
    if (!AskToSave()) return;
    PointDialogAtFileName(OFN_FILEMUSTEXIST);
    if (!GetOpenFileNameA(&Files.FileDialogRecord)) return;
    OpenDocumentFile();
}

void OpenDocumentFile() {
    HANDLE file = CreateFileA(Files.FileName, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0);
    if (file == INVALID_HANDLE_VALUE) {
        ShowWarning(NoHandleMessage, OpenCaption);
        return;
    }
    std::int32_t length = 0;
    const char* problem = ReadDocumentFile(file, &length);
    CloseHandle(file);
    if (problem != nullptr) {
        ShowWarning(problem, OpenCaption);
        return;
    }

    // Every check has passed: only now is the document replaced. Unit k + 1 becomes byte k;
    // an added terminator is the zero already in the buffer.
    std::memset(Doc.TextBuffer, 0, sizeof Doc.TextBuffer);
    Doc.TextLength = length;
    for (std::int32_t k = 0; k < length; ++k) {
        Doc.TextBuffer[k] = FromUtf16(UnitAt(UnicodeFileBuffer, static_cast<std::size_t>(k) + 1));
    }
    RememberSavedText();
    ClearEditHistory();
    SetTitle(Files.FileTitle);
    ShowNewText();
}

void FileSave() {
    PointDialogAtFileName(OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST);
    Files.FileDialogRecord.lpstrFilter = FileFilter;
    if (!GetSaveFileNameA(&Files.FileDialogRecord)) return;
    SaveDocumentFile();
}

void SaveDocumentFile() {
    std::memset(UnicodeFileBuffer, 0, sizeof UnicodeFileBuffer);
    PutUnit(UnicodeFileBuffer, 0, 0xFEFF);
    for (std::int32_t k = 0; k < Doc.TextLength; ++k) {
        PutUnit(UnicodeFileBuffer, static_cast<std::size_t>(k) + 1, ToUtf16(Doc.TextBuffer[k]));
    }
    const SaveOutcome outcome = WriteFileSafely(Files.FileName, UnicodeFileBuffer,
                                                static_cast<DWORD>(2 * Doc.TextLength + 2));
    if (!outcome.saved) {
        // A file whose old bytes could not be written back: name where they are.
        static char message[sizeof outcome.keptOldText + 96];
        std::snprintf(
            message, sizeof message,
            outcome.keptOldText[0] ? "%s\nThe file's text before this save is kept in %s" : "%s",
            WriteMessage, outcome.keptOldText);
        ShowWarning(message, SaveCaption);
        return;
    }
    RememberSavedText();
    SetTitle(Files.FileTitle);
}

}  // namespace nv
