#include "commands/file_commands.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "commands/named_file.h"
#include "commands/recent_files.h"
#include "commands/recovery.h"
#include "commands/safe_save.h"
#include "commands/unicode_text.h"
#include "document/edit_history.h"
#include "document/store.h"
#include "view/geometry.h"
#include "view/screen_layout.h"

namespace nv {

FileState Files;

namespace {

// Four types, each a name and a pattern ended by a NUL, and a second NUL after the last. The
// Save dialog's type chooses the format written; Open's only filters what it shows.
const char FileFilter[] =
    "Unicode Text Files (*.txt)\0*.txt\0UTF-8 Text Files (*.txt)\0*.txt\0"
    "Windows-1255 Text Files (*.txt)\0*.txt\0All Files (*.*)\0*.*\0";
constexpr DWORD Utf16Type = 1, Utf8Type = 2, Windows1255Type = 3;

constexpr const char* OpenCaption = "Can Not Open File";
constexpr const char* SaveCaption = "Can Not Save File";
constexpr const char* NoHandleMessage = "Can not obtain a file handle to the selected file";
constexpr const char* NoSizeMessage = "Can not obtain the size of the selected file";
constexpr const char* TooLargeMessage = "The selected file is too large to open";
constexpr const char* NotUnicodeMessage = "The selected file is not a Unicode text file";
constexpr const char* ReadMessage = "Can not read the selected file";
constexpr const char* WriteMessage = "Can not write to the selected file";
constexpr const char* NoMemoryMessage = "Can not allocate memory";
constexpr const char* DamagedMessage =
    "Can not write to the selected file, and its old text could not be put back: the file is "
    "damaged.\nThe text is still here in Nivrano. Save it again, or save it to another file.";

// The most text bytes a document holds before its terminator.
constexpr std::int32_t TextBytesLimit = TextLimit - 1;

// Files pass through here whole, in either direction.
std::uint8_t FileBuffer[LargestUtf8FileSize];
// A file's text as UTF-16 units, on the way in and out.
WCHAR UnitBuffer[TextBytesLimit];
// A file's text as document bytes before (and, in LoadedText, after) its line ends are made
// CR LF; on the way out, with the terminator a little-endian file ends with.
std::uint8_t FileBytes[TextLimit];
std::uint8_t LoadedText[TextBytesLimit];

struct LoadedFile {
    FileFormat format = FileFormat::Utf16LittleEndian;
    LineEnds ends = LineEnds::CrLf;
    std::int32_t length = 0;    // text bytes in LoadedText, the terminator not counted
    std::int32_t replaced = 0;  // units that had no document byte
    DWORD fileSize = 0;         // the bytes the file holds
};

void PointDialogAtFileName(DWORD flags) {
    OPENFILENAMEA& record = Files.FileDialogRecord;
    record.lpstrFile = Files.FileName;
    record.lpstrFileTitle = Files.FileTitle;
    record.Flags = flags;
}

bool StartsWith(const std::uint8_t* bytes, DWORD size, std::initializer_list<std::uint8_t> mark) {
    return size >= mark.size() && std::equal(mark.begin(), mark.end(), bytes);
}

std::int32_t LengthBeforeNul(const std::uint8_t* bytes, std::int32_t size) {
    const auto* nul = static_cast<const std::uint8_t*>(std::memchr(bytes, 0, size));
    return nul != nullptr ? static_cast<std::int32_t>(nul - bytes) : size;
}

// Units to document bytes in FileBytes; a unit without a byte becomes the font's default
// character and is counted.
void BytesOfUnits(std::int32_t count, LoadedFile* file) {
    for (std::int32_t k = 0; k < count; ++k) {
        const int byte = DocumentByteOfUnit(UnitBuffer[k]);
        if (byte < 0) ++file->replaced;
        FileBytes[k] =
            byte < 0 ? Doc.ScreenFontMetrics.tmDefaultChar : static_cast<std::uint8_t>(byte);
    }
}

// The UTF-16 formats: the checks of today's little-endian files, for both byte orders.
const char* DecodeUtf16(DWORD size, bool bigEndian, std::int32_t* count, LoadedFile* file) {
    if (size % 2 != 0) return NotUnicodeMessage;
    if (size > LargestFileSize) return TooLargeMessage;
    auto units = static_cast<std::int32_t>((size - 2) / 2);
    const int low = bigEndian ? 1 : 0;
    auto unitAt = [&](std::int32_t k) {
        return static_cast<WCHAR>(FileBuffer[2 + 2 * k + low] | FileBuffer[3 + 2 * k - low] << 8);
    };
    if (units > 0 && unitAt(units - 1) == 0) --units;  // the terminator, when it is there
    if (units > TextBytesLimit) return TooLargeMessage;
    for (std::int32_t k = 0; k < units; ++k) UnitBuffer[k] = unitAt(k);
    BytesOfUnits(units, file);
    *count = units;
    return nullptr;
}

// UTF-8 text of `size` bytes at `text`, up to its first NUL. With its mark a file is UTF-8
// whatever it holds, and a sequence that is not UTF-8 comes in as U+FFFD, counted as
// replaced; without, only valid UTF-8 is, and false says the file is not.
bool DecodeUtf8(const std::uint8_t* text, std::int32_t size, bool marked, std::int32_t* count,
                const char** problem) {
    size = LengthBeforeNul(text, size);
    *count = 0;
    if (size == 0) return true;
    const auto* chars = reinterpret_cast<const char*>(text);
    const DWORD flags = marked ? 0 : MB_ERR_INVALID_CHARS;
    // The first call finds whether the text is UTF-8 and how many units it needs; only the
    // second can fail for any other reason.
    const int needed = MultiByteToWideChar(CP_UTF8, flags, chars, size, nullptr, 0);
    if (needed <= 0) {
        if (!marked) return false;
        *problem = ReadMessage;
    } else if (needed > TextBytesLimit) {
        *problem = TooLargeMessage;  // every unit takes a byte at least
    } else if (MultiByteToWideChar(CP_UTF8, flags, chars, size, UnitBuffer, needed) != needed) {
        *problem = ReadMessage;
    } else {
        *count = needed;
    }
    return true;
}

// Makes the text in FileBytes the document's text in LoadedText, its line ends CR LF.
const char* TakeLineEnds(std::int32_t count, LoadedFile* file) {
    const auto* firstLf = static_cast<const std::uint8_t*>(std::memchr(FileBytes, '\n', count));
    file->ends = firstLf != nullptr && (firstLf == FileBytes || firstLf[-1] != '\r')
                     ? LineEnds::Lf
                     : LineEnds::CrLf;
    std::int32_t length = 0;
    for (std::int32_t k = 0; k < count; ++k) {
        const bool addCr = file->ends == LineEnds::Lf && FileBytes[k] == '\n' &&
                           (k == 0 || FileBytes[k - 1] != '\r');
        if (length + (addCr ? 2 : 1) > TextBytesLimit) return TooLargeMessage;
        if (addCr) LoadedText[length++] = '\r';
        LoadedText[length++] = FileBytes[k];
    }
    file->length = length;
    return nullptr;
}

// The checks of Open in their order, reading the file whole and finding its format; the
// message of the first that fails, or nullptr with the text in LoadedText.
const char* ReadDocumentFile(HANDLE file, LoadedFile* loaded) {
    DWORD high = 0;
    const DWORD size = GetFileSize(file, &high);
    if (size == INVALID_FILE_SIZE) return NoSizeMessage;
    loaded->fileSize = size;
    if (high != 0 || size > LargestUtf8FileSize) return TooLargeMessage;
    DWORD read = 0;
    if (size > 0 && (!ReadFile(file, FileBuffer, size, &read) || read != size)) {
        return ReadMessage;
    }
    std::int32_t count = 0;
    const char* problem = nullptr;
    const bool bigEndian = StartsWith(FileBuffer, size, {0xFE, 0xFF});
    if (bigEndian || StartsWith(FileBuffer, size, {0xFF, 0xFE})) {
        loaded->format = bigEndian ? FileFormat::Utf16BigEndian : FileFormat::Utf16LittleEndian;
        problem = DecodeUtf16(size, bigEndian, &count, loaded);
    } else {
        const bool marked = StartsWith(FileBuffer, size, {0xEF, 0xBB, 0xBF});
        const std::int32_t skip = marked ? 3 : 0;
        const auto textSize = static_cast<std::int32_t>(size) - skip;
        if (DecodeUtf8(FileBuffer + skip, textSize, marked, &count, &problem)) {
            loaded->format = marked ? FileFormat::Utf8WithMark : FileFormat::Utf8;
            if (problem == nullptr) BytesOfUnits(count, loaded);
        } else {
            // Every byte is a character of the code page, and the document's own byte.
            loaded->format = FileFormat::Windows1255;
            count = LengthBeforeNul(FileBuffer, textSize);
            if (count > TextBytesLimit) return TooLargeMessage;
            std::memcpy(FileBytes, FileBuffer, static_cast<std::size_t>(count));
        }
    }
    return problem != nullptr ? problem : TakeLineEnds(count, loaded);
}

// The document's text in `format` with `ends`, in FileBuffer: its size, or -1 when a
// conversion failed.
std::int64_t EncodeDocument(FileFormat format, LineEnds ends) {
    const bool littleEndian = format == FileFormat::Utf16LittleEndian;
    // The little-endian files keep the terminator; no other format writes it.
    const std::int32_t last = littleEndian ? Doc.TextLength : Doc.TextLength - 1;
    std::int32_t count = 0;
    for (std::int32_t k = 0; k < last; ++k) {
        const std::uint8_t byte = Doc.TextBuffer[k];
        if (ends == LineEnds::Lf && byte == '\r' && k + 1 < last && Doc.TextBuffer[k + 1] == '\n') {
            continue;
        }
        FileBytes[count++] = byte;
    }
    std::int64_t size = 0;
    switch (format) {
        case FileFormat::Utf16LittleEndian:
        case FileFormat::Utf16BigEndian: {
            const int low = littleEndian ? 0 : 1;
            FileBuffer[low] = 0xFF;
            FileBuffer[1 - low] = 0xFE;
            for (std::int32_t k = 0; k < count; ++k) {
                const std::uint16_t unit = ToUtf16(FileBytes[k]);
                FileBuffer[2 + 2 * k + low] = static_cast<std::uint8_t>(unit & 0xFF);
                FileBuffer[3 + 2 * k - low] = static_cast<std::uint8_t>(unit >> 8);
            }
            size = 2 + 2 * static_cast<std::int64_t>(count);
            break;
        }
        case FileFormat::Utf8WithMark:
        case FileFormat::Utf8: {
            std::int32_t mark = 0;
            if (format == FileFormat::Utf8WithMark) {
                for (std::uint8_t b : {0xEF, 0xBB, 0xBF}) FileBuffer[mark++] = b;
            }
            for (std::int32_t k = 0; k < count; ++k) UnitBuffer[k] = CharacterOfByte(FileBytes[k]);
            int written = 0;
            if (count > 0) {
                written = WideCharToMultiByte(
                    CP_UTF8, 0, UnitBuffer, count, reinterpret_cast<char*>(FileBuffer + mark),
                    static_cast<int>(sizeof FileBuffer) - mark, nullptr, nullptr);
                if (written <= 0) return -1;
            }
            size = mark + written;
            break;
        }
        case FileFormat::Windows1255:
            std::memcpy(FileBuffer, FileBytes, static_cast<std::size_t>(count));
            size = count;
            break;
    }
    return size;
}

// Before a save over the file whose characters were replaced: true when it may go on.
bool MaySaveOverReplacedCharacters() {
    if (Files.ReplacedCount == 0 || !SameTextIgnoringCase(Files.FileName, Files.ReplacedPath))
        return true;
    char question[FilePathSize + 128];
    std::snprintf(question, sizeof question,
                  "Saving will replace %d characters of %s for good.\nDo you wish to save anyway?",
                  static_cast<int>(Files.ReplacedCount), LastPathComponent(Files.ReplacedPath));
    return MessageBoxA(Doc.MainWindow, question, "Save Current File?",
                       MB_ICONQUESTION | MB_YESNO | MB_DEFBUTTON2) == IDYES;
}

void SetTitle(const char* title) { SetWindowTextA(Doc.MainWindow, title); }

// `fileSize` bytes of FileBuffer are what the file now holds.
void RememberSavedText(DWORD fileSize) {
    std::memset(Doc.SavedText, 0, sizeof Doc.SavedText);
    std::memcpy(Doc.SavedText, Doc.TextBuffer, static_cast<std::size_t>(Doc.TextLength));
    Doc.SavedLength = Doc.TextLength;
    // Only a successful Open or Save gets here: the file named last now holds this text.
    std::memcpy(Files.DocumentPath, Files.FileName, sizeof Files.DocumentPath);
    std::memcpy(Files.DocumentTitle, Files.FileTitle, sizeof Files.DocumentTitle);
    Files.DocumentFileSize = fileSize;
    Files.DocumentFileSum = RecoveryChecksum(FileBuffer, fileSize);
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

bool SameTextIgnoringCase(const char* a, const char* b) {
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (std::tolower(static_cast<unsigned char>(*a)) !=
            std::tolower(static_cast<unsigned char>(*b))) {
            return false;
        }
    }
    return *a == *b;
}

const char* DocumentFormatText() {
    static char text[64];
    std::snprintf(text, sizeof text, "%s, %s", FileFormatName(Files.Format),
                  Files.Ends == LineEnds::Lf ? "Unix (LF)" : "Windows (CR LF)");
    return text;
}

const char* FileFormatName(FileFormat format) {
    switch (format) {
        case FileFormat::Utf16LittleEndian:
            return "UTF-16 LE";
        case FileFormat::Utf16BigEndian:
            return "UTF-16 BE";
        case FileFormat::Utf8WithMark:
            return "UTF-8 with BOM";
        case FileFormat::Utf8:
            return "UTF-8";
        case FileFormat::Windows1255:
            return "Windows-1255";
    }
    return "";
}

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
    Files.Format = FileFormat::Utf16LittleEndian;
    Files.Ends = LineEnds::CrLf;
    Files.ReplacedCount = 0;
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
    LoadedFile loaded;
    const char* problem = ReadDocumentFile(file, &loaded);
    CloseHandle(file);
    if (problem != nullptr) {
        ShowWarning(problem, OpenCaption);
        return;
    }

    // Every check has passed: only now is the document replaced.
    std::memset(Doc.TextBuffer, 0, sizeof Doc.TextBuffer);
    std::memcpy(Doc.TextBuffer, LoadedText, static_cast<std::size_t>(loaded.length));
    Doc.TextLength = loaded.length + 1;
    RememberSavedText(loaded.fileSize);
    Files.Format = loaded.format;
    Files.Ends = loaded.ends;
    Files.ReplacedCount = loaded.replaced;
    std::memcpy(Files.ReplacedPath, Files.FileName, sizeof Files.ReplacedPath);
    ClearEditHistory();
    SetTitle(Files.FileTitle);
    ShowNewText();
    if (loaded.replaced > 0) {
        ShowCharactersReplaced(loaded.replaced, u"this file",
                               u"\nSaving over the file would lose them.");
    }
}

void TakeFormatOfFile(const char* path) {
    Files.Format = FileFormat::Utf16LittleEndian;
    Files.Ends = LineEnds::CrLf;
    Files.ReplacedCount = 0;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0);
    if (file == INVALID_HANDLE_VALUE) return;
    LoadedFile loaded;
    if (ReadDocumentFile(file, &loaded) == nullptr) {
        Files.Format = loaded.format;
        Files.Ends = loaded.ends;
        Files.ReplacedCount = loaded.replaced;
        std::snprintf(Files.ReplacedPath, sizeof Files.ReplacedPath, "%s", path);
    }
    CloseHandle(file);
}

// The format the Save dialog's type stands for: the document's own when the type allows it.
FileFormat FormatOfType(DWORD type) {
    const FileFormat own = Files.Format;
    const bool utf16 = own == FileFormat::Utf16LittleEndian || own == FileFormat::Utf16BigEndian;
    const bool utf8 = own == FileFormat::Utf8WithMark || own == FileFormat::Utf8;
    if (type == Utf16Type) return utf16 ? own : FileFormat::Utf16LittleEndian;
    if (type == Utf8Type) return utf8 ? own : FileFormat::Utf8;
    if (type == Windows1255Type) return FileFormat::Windows1255;
    return own;  // All Files
}

DWORD TypeOfFormat(FileFormat format) {
    switch (format) {
        case FileFormat::Utf16LittleEndian:
        case FileFormat::Utf16BigEndian:
            return Utf16Type;
        case FileFormat::Utf8WithMark:
        case FileFormat::Utf8:
            return Utf8Type;
        case FileFormat::Windows1255:
            return Windows1255Type;
    }
    return Utf16Type;
}

void FileSave() {
    PointDialogAtFileName(OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST);
    Files.FileDialogRecord.lpstrFilter = FileFilter;
    Files.FileDialogRecord.nFilterIndex = TypeOfFormat(Files.Format);
    if (!GetSaveFileNameA(&Files.FileDialogRecord)) return;
    SaveDocumentFileAs(FormatOfType(Files.FileDialogRecord.nFilterIndex));
}

void SaveDocumentFile() { SaveDocumentFileAs(Files.Format); }

void SaveDocumentFileAs(FileFormat format) {
    if (!MaySaveOverReplacedCharacters()) return;
    const std::int64_t size = EncodeDocument(format, Files.Ends);
    SaveOutcome outcome;
    if (size >= 0) outcome = WriteFileSafely(Files.FileName, FileBuffer, static_cast<DWORD>(size));
    switch (outcome.result) {
        case SaveResult::Saved:
            break;
        case SaveResult::NotWritten:
            ShowWarning(WriteMessage, SaveCaption);
            return;
        case SaveResult::NoMemory:
            ShowWarning(NoMemoryMessage, SaveCaption);
            return;
        case SaveResult::Damaged: {
            // The document stays changed: its text is now the only whole one, besides the
            // copies the save kept, if any.
            static char message[sizeof outcome.keptOldText + sizeof outcome.keptNewText + 320];
            std::snprintf(message, sizeof message, "%s", DamagedMessage);
            auto name = [](const char* what, const char* path) {
                if (path[0] == '\0') return;
                const std::size_t used = std::strlen(message);
                std::snprintf(message + used, sizeof message - used, "\n%s is kept in %s", what,
                              path);
            };
            name("The file's text before this save", outcome.keptOldText);
            name("The text being saved", outcome.keptNewText);
            ShowWarning(message, SaveCaption);
            return;
        }
    }
    // The file whose characters were replaced holds the replacements now.
    if (SameTextIgnoringCase(Files.FileName, Files.ReplacedPath)) Files.ReplacedCount = 0;
    Files.Format = format;
    RememberSavedText(static_cast<DWORD>(size));
    SetTitle(Files.FileTitle);
}

}  // namespace nv
