#include "commands/recovery.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "commands/app_folder.h"
#include "commands/file_commands.h"
#include "commands/named_file.h"
#include "commands/unicode_text.h"
#include "document/store.h"

namespace nv {

namespace {

constexpr const char* HeaderFirstLine = "Nivrano recovery copy";
constexpr DWORD LargestHeaderSize = 1024;
// The size a header gives when it does not know the file's (written by an earlier editor):
// no file of a document is that large, so Save Again always shows its dialog for it.
constexpr DWORD UnknownSourceSize = 0xFFFFFFFF;
// Files left in the folder longer than this go at start: 30 days of 100-nanosecond steps.
constexpr std::uint64_t LeftoverAge = 30ull * 24 * 60 * 60 * 10000000;

struct RecoveryState {
    char Base[MAX_PATH];  // folder and base name of this editor's files; "" until claimed
    HANDLE Lock;          // INVALID_HANDLE_VALUE until claimed
    char Slot;            // 'a' or 'b': the copy the header names; 0 when there is none
    bool TimerRunning;
    std::uint32_t SeenEdits;
    bool FailureTold;      // the one message of a run about a copy that cannot be written
    bool SourceUnchecked;  // a recovered text whose file Save Again checks before writing
};

const RecoveryState InitialRecovery{{}, INVALID_HANDLE_VALUE, 0, false, 0, false, false};
RecoveryState Recovery = InitialRecovery;

// A copy passes through here whole: the mark and up to 32,768 units.
std::uint8_t CopyBuffer[LargestFileSize];

// "<base><suffix>" into `path` (MAX_PATH); false when it does not fit.
bool PathOf(const char* base, const char* suffix, char* path) {
    const int length = std::snprintf(path, MAX_PATH, "%s%s", base, suffix);
    return length > 0 && length < MAX_PATH;
}

// The name of a slot's copy without its folder: "4242-a.txt".
void SlotName(const char* base, char slot, char* name) {
    std::snprintf(name, MAX_PATH, "%s-%c.txt", LastPathComponent(base), slot);
}

bool SlotPath(const char* base, char slot, char* path) {
    const char suffix[] = {'-', slot, '.', 't', 'x', 't', '\0'};
    return PathOf(base, suffix, path);
}

bool Exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

// Writes a whole new file and flushes it; on failure nothing is left under that name.
bool WriteNewFile(const char* path, const void* bytes, DWORD count) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, CREATE_ALWAYS, 0);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool done =
        WriteFile(file, bytes, count, &written) && written == count && FlushFileBuffers(file);
    done = CloseHandle(file) && done;
    if (!done) DeleteFileA(path);
    return done;
}

// Reads a whole file of at most `limit` bytes; -1 when it cannot or is larger.
long ReadSmallFile(const char* path, void* buffer, DWORD limit) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0);
    if (file == INVALID_HANDLE_VALUE) return -1;
    DWORD high = 0;
    const DWORD size = GetFileSize(file, &high);
    DWORD read = 0;
    const bool done = size != INVALID_FILE_SIZE && high == 0 && size <= limit &&
                      (size == 0 || (ReadFile(file, buffer, size, &read) && read == size));
    CloseHandle(file);
    return done ? static_cast<long>(size) : -1;
}

// Deletes a copy's header first, so that no half-deleted copy is ever offered, then both
// slots. False when the header stays.
bool DeleteCopyFiles(const char* base) {
    char path[MAX_PATH];
    if (PathOf(base, ".ini", path) && Exists(path) && !DeleteFileA(path)) return false;
    for (char slot : {'a', 'b'}) {
        if (SlotPath(base, slot, path)) DeleteFileA(path);
    }
    if (PathOf(base, ".new", path)) DeleteFileA(path);  // a header cut short by a crash
    return true;
}

// Takes a base name of this editor's own: the first "<pid>" or "<pid>-<n>" whose lock it can
// create anew, and that no left copy uses.
bool ClaimBase() {
    if (Recovery.Lock != INVALID_HANDLE_VALUE) return true;
    char folder[MAX_PATH];
    if (!EnsureNivranoFolder("Recovery", folder)) return false;
    const unsigned long id = GetCurrentProcessId();
    for (int n = 0; n < 100; ++n) {
        char base[MAX_PATH];
        const int length = n == 0 ? std::snprintf(base, sizeof base, "%s\\%lu", folder, id)
                                  : std::snprintf(base, sizeof base, "%s\\%lu-%d", folder, id, n);
        char lock[MAX_PATH];
        char header[MAX_PATH];
        if (length <= 0 || length >= MAX_PATH || !PathOf(base, ".lock", lock) ||
            !PathOf(base, ".ini", header)) {
            return false;
        }
        HANDLE file = CreateFileA(lock, GENERIC_WRITE, 0, CREATE_NEW, 0);
        if (file == INVALID_HANDLE_VALUE) continue;
        if (Exists(header)) {  // a left copy whose lock has gone: not ours to overwrite
            CloseHandle(file);
            DeleteFileA(lock);
            continue;
        }
        std::memcpy(Recovery.Base, base, static_cast<std::size_t>(length) + 1);
        Recovery.Lock = file;
        return true;
    }
    return false;
}

void StopTimer() {
    if (!Recovery.TimerRunning) return;
    KillTimer(Doc.MainWindow, RecoveryTimer);
    Recovery.TimerRunning = false;
}

void RemoveCopy() {
    StopTimer();
    if (Recovery.Slot == 0) return;
    if (DeleteCopyFiles(Recovery.Base)) Recovery.Slot = 0;  // otherwise tried again later
}

// --- Reading a left copy --------------------------------------------------------------

struct LeftCopy {
    char Slot;
    DWORD Size;
    char Source[FilePathSize];
    DWORD SourceSize;  // of the source as the document last matched it
    std::uint32_t SourceSum;
};

// The value of "key=" on its own line of the header, or nullptr. Lines end with CR LF.
const char* HeaderValue(char* header, const char* key, char* value, std::size_t size) {
    const std::size_t keyLength = std::strlen(key);
    for (char* line = header; *line != '\0';) {
        char* end = std::strstr(line, "\r\n");
        if (end == nullptr) return nullptr;
        const std::size_t length = static_cast<std::size_t>(end - line);
        if (length > keyLength && std::strncmp(line, key, keyLength) == 0 &&
            line[keyLength] == '=') {
            const std::size_t valueLength = length - keyLength - 1;
            if (valueLength >= size) return nullptr;
            std::memcpy(value, line + keyLength + 1, valueLength);
            value[valueLength] = '\0';
            return value;
        }
        line = end + 2;
    }
    return nullptr;
}

// A 32-bit number in decimal (base 10) or hexadecimal (16) digits only: no sign, blank or
// "0x", so that a header reads one way.
bool ParseNumber(const char* text, int base, unsigned long* number) {
    const std::size_t length = std::strlen(text);
    if (length == 0 || length > (base == 16 ? 8u : 10u)) return false;
    for (const char* c = text; *c != '\0'; ++c) {
        const bool digit = *c >= '0' && *c <= '9';
        const bool hex = (*c >= 'a' && *c <= 'f') || (*c >= 'A' && *c <= 'F');
        if (!digit && !(base == 16 && hex)) return false;
    }
    *number = std::strtoul(text, nullptr, base);
    return *number <= 0xFFFFFFFFul;
}

// A full path of a file as the system itself writes it ("C:\folder\name.txt", or
// "\\server\share\name.txt"): nothing relative, no "." or ".." or empty parts, no
// device name and no character that no file name holds. A header may name nothing else,
// since Save Again writes there.
bool IsWellFormedFullPath(const char* path) {
    const std::size_t length = std::strlen(path);
    if (length == 0 || length >= FilePathSize) return false;
    for (std::size_t k = 0; k < length; ++k) {
        const auto c = static_cast<unsigned char>(path[k]);
        if (c < 32 || std::strchr("<>\"|?*", c) != nullptr || (c == ':' && k != 1)) return false;
    }
    const std::size_t first = path[0] == '\\' && path[1] == '\\' ? 2 : 0;
    for (std::size_t k = first, part = first; k <= length; ++k) {
        if (k < length && path[k] != '\\' && path[k] != '/') continue;
        const std::size_t partLength = k - part;
        if (partLength == 0 && k != 0) return false;  // only a root may stand before a '\\'
        const bool dots = (partLength == 1 || partLength == 2) && path[part] == '.' &&
                          path[part + partLength - 1] == '.';
        if (dots) return false;
        part = k + 1;
    }
    char full[FilePathSize];
    const DWORD fullLength = GetFullPathNameA(path, sizeof full, full);
    return fullLength == length && std::memcmp(full, path, length) == 0;
}

// Reads and checks a left copy: its header and its bytes must agree in every point, and
// the bytes must be a document file Open would take. The copy's bytes stay in CopyBuffer.
bool ReadLeftCopy(const char* base, LeftCopy* copy) {
    char header[LargestHeaderSize + 1] = {};
    char path[MAX_PATH];
    if (!PathOf(base, ".ini", path)) return false;
    const long headerSize = ReadSmallFile(path, header, LargestHeaderSize);
    if (headerSize <= 0 || std::memchr(header, '\0', static_cast<std::size_t>(headerSize))) {
        return false;
    }
    const std::size_t firstLength = std::strlen(HeaderFirstLine);
    if (std::strncmp(header, HeaderFirstLine, firstLength) != 0 ||
        std::strncmp(header + firstLength, "\r\n", 2) != 0) {
        return false;
    }
    char name[MAX_PATH], size[16], sum[16];
    unsigned long sizeValue = 0, sumValue = 0;
    if (!HeaderValue(header, "copy", name, sizeof name) ||
        !HeaderValue(header, "size", size, sizeof size) ||
        !HeaderValue(header, "sum", sum, sizeof sum) ||
        !HeaderValue(header, "source", copy->Source, sizeof copy->Source) ||
        !ParseNumber(size, 10, &sizeValue) || !ParseNumber(sum, 16, &sumValue) ||
        (copy->Source[0] != '\0' && !IsWellFormedFullPath(copy->Source))) {
        return false;
    }
    // A header of an earlier editor knows nothing of the source's bytes; when it does, they
    // must read as numbers.
    copy->SourceSize = UnknownSourceSize;
    copy->SourceSum = 0;
    char sourceSize[16], sourceSum[16];
    unsigned long sourceSizeValue = 0, sourceSumValue = 0;
    const bool hasSize = HeaderValue(header, "sourcesize", sourceSize, sizeof sourceSize);
    const bool hasSum = HeaderValue(header, "sourcesum", sourceSum, sizeof sourceSum);
    if (hasSize != hasSum) return false;
    if (hasSize) {
        if (!ParseNumber(sourceSize, 10, &sourceSizeValue) ||
            !ParseNumber(sourceSum, 16, &sourceSumValue)) {
            return false;
        }
        copy->SourceSize = static_cast<DWORD>(sourceSizeValue);
        copy->SourceSum = static_cast<std::uint32_t>(sourceSumValue);
    }
    // The copy must be one of this base's two slots: a header never points elsewhere.
    copy->Slot = 0;
    for (char slot : {'a', 'b'}) {
        char expected[MAX_PATH];
        SlotName(base, slot, expected);
        if (std::strcmp(name, expected) == 0) copy->Slot = slot;
    }
    if (copy->Slot == 0 || sizeValue > LargestFileSize || !SlotPath(base, copy->Slot, path)) {
        return false;
    }
    const long read = ReadSmallFile(path, CopyBuffer, LargestFileSize);
    if (read < 0 || static_cast<unsigned long>(read) != sizeValue) return false;
    copy->Size = static_cast<DWORD>(read);
    return RecoveryChecksum(CopyBuffer, copy->Size) == sumValue &&
           CheckFileSize(copy->Size, 0) == nullptr &&
           CheckFileMark(CopyBuffer, copy->Size) == nullptr &&
           DocumentLengthOfFile(CopyBuffer, copy->Size) >= 0;
}

// The copy's text becomes the document. No text counts as the saved one: the file it came
// from may hold anything, so the document counts as changed whatever it holds.
void RestoreCopy(const LeftCopy& copy) {
    const std::int32_t length = DocumentLengthOfFile(CopyBuffer, copy.Size);
    std::memset(Doc.TextBuffer, 0, sizeof Doc.TextBuffer);
    for (std::int32_t k = 0; k < length; ++k) {
        Doc.TextBuffer[k] = FromUtf16(UnitAt(CopyBuffer, static_cast<std::size_t>(k) + 1));
    }
    Doc.TextLength = length;
    std::memset(Doc.SavedText, 0, sizeof Doc.SavedText);
    Doc.SavedLength = 0;
    std::memcpy(Files.DocumentPath, copy.Source, sizeof Files.DocumentPath);
    std::strcpy(Files.DocumentTitle, LastPathComponent(copy.Source));
    Files.DocumentFileSize = copy.SourceSize;
    Files.DocumentFileSum = copy.SourceSum;
    Recovery.SourceUnchecked = copy.Source[0] != '\0';
    TakeFormatOfFile(copy.Source);  // Save Again writes the file in its own format
    if (copy.Source[0] != '\0') {
        std::memcpy(Files.FileName, Files.DocumentPath, sizeof Files.FileName);
        std::memcpy(Files.FileTitle, Files.DocumentTitle, sizeof Files.FileTitle);
    }
    char title[FilePathSize + 16];
    std::snprintf(title, sizeof title, "%s (Recovered)",
                  copy.Source[0] != '\0' ? Files.DocumentTitle : "Nivrano");
    SetWindowTextA(Doc.MainWindow, title);
    ShowReplacedText();
}

// Deletes the locks of editors that ended without a copy left (killed after a save, say).
// A running editor's lock is open without sharing, so its deletion fails.
void SweepLeftLocks(const char* folder) {
    char pattern[MAX_PATH];
    if (!PathOf(folder, "\\*.lock", pattern)) return;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        char lock[MAX_PATH], header[MAX_PATH];
        const int length = std::snprintf(lock, sizeof lock, "%s\\%s", folder, found.cFileName);
        if (length <= 5 || length >= MAX_PATH) continue;
        std::snprintf(header, sizeof header, "%.*s.ini", length - 5, lock);
        if (!Exists(header)) DeleteFileA(lock);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

std::uint64_t StepsOf(const FILETIME& time) {
    return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

// True when a running editor holds the lock of `base`: it keeps it open without sharing.
bool IsHeld(const char* base) {
    char lock[MAX_PATH];
    if (!PathOf(base, ".lock", lock)) return true;
    HANDLE file = CreateFileA(lock, GENERIC_WRITE, 0, OPEN_EXISTING, 0);
    if (file == INVALID_HANDLE_VALUE) return Exists(lock);
    CloseHandle(file);
    return false;
}

// Deletes the files older than LeftoverAge whose editor has ended: damaged copies, stray
// locks and headers cut short. A whole copy stays until it has been offered.
void DeleteOldFiles(const char* folder) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    if (StepsOf(now) < LeftoverAge) return;
    const std::uint64_t oldest = StepsOf(now) - LeftoverAge;
    char pattern[MAX_PATH];
    if (!PathOf(folder, "\\*", pattern)) return;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
            StepsOf(found.ftLastWriteTime) >= oldest) {
            continue;
        }
        // The base a file belongs to: "4242" of 4242.ini, 4242.lock and 4242-a.txt.
        const char* name = found.cFileName;
        std::size_t baseLength = std::strlen(name);
        const char* dot = std::strrchr(name, '.');
        if (dot != nullptr) baseLength = static_cast<std::size_t>(dot - name);
        if (dot != nullptr && baseLength > 2 && std::strcmp(dot, ".txt") == 0 &&
            name[baseLength - 2] == '-') {
            baseLength -= 2;
        }
        char path[MAX_PATH], base[MAX_PATH];
        const int length = std::snprintf(path, sizeof path, "%s\\%s", folder, name);
        const int baseEnd = std::snprintf(base, sizeof base, "%s\\%.*s", folder,
                                          static_cast<int>(baseLength), name);
        if (length <= 0 || length >= MAX_PATH || baseEnd <= 0 || baseEnd >= MAX_PATH) continue;
        LeftCopy copy;
        if (!IsHeld(base) && !ReadLeftCopy(base, &copy)) DeleteFileA(path);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

struct Candidate {
    std::string Name;  // the base name, without the folder
    std::uint64_t Time;
};

// Every header in the folder, newest first.
std::vector<Candidate> FindCandidates(const char* folder) {
    std::vector<Candidate> candidates;
    char pattern[MAX_PATH];
    if (!PathOf(folder, "\\*.ini", pattern)) return candidates;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return candidates;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
        const std::size_t length = std::strlen(found.cFileName);
        if (length <= 4 || std::strcmp(found.cFileName + length - 4, ".ini") != 0) continue;
        candidates.push_back(
            {std::string(found.cFileName, length - 4), StepsOf(found.ftLastWriteTime)});
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.Time > b.Time; });
    return candidates;
}

// Takes the lock of a left copy before it is read: opens it, or makes it when it has gone
// (`made`). INVALID_HANDLE_VALUE when a running editor holds it.
HANDLE TakeLeftLock(const char* lockPath, bool* made) {
    *made = false;
    HANDLE lock = CreateFileA(lockPath, GENERIC_WRITE, 0, OPEN_EXISTING, 0);
    if (lock != INVALID_HANDLE_VALUE || Exists(lockPath)) return lock;
    lock = CreateFileA(lockPath, GENERIC_WRITE, 0, CREATE_NEW, 0);
    *made = lock != INVALID_HANDLE_VALUE;
    return lock;
}

// The source a header names: the document's file as a full path, or "" when there is none
// (or none that a header could name: the text is then offered as a new document).
void HeaderSource(char* source) {
    source[0] = '\0';
    if (Files.DocumentPath[0] == '\0') return;
    const DWORD length = GetFullPathNameA(Files.DocumentPath, FilePathSize, source);
    if (length == 0 || length >= FilePathSize || !IsWellFormedFullPath(source)) source[0] = '\0';
}

// Writes the document's copy and moves the header over to it. False when any step fails;
// the copy the header named before then stays as it was.
bool WriteCopy() {
    if (!ClaimBase()) return false;

    std::memset(CopyBuffer, 0, sizeof CopyBuffer);
    PutUnit(CopyBuffer, 0, 0xFEFF);
    for (std::int32_t k = 0; k < Doc.TextLength; ++k) {
        PutUnit(CopyBuffer, static_cast<std::size_t>(k) + 1, ToUtf16(Doc.TextBuffer[k]));
    }
    const auto size = static_cast<DWORD>(2 * Doc.TextLength + 2);

    // The new copy goes to the slot the header does not name, in full, before the header
    // moves over to it: a write cut short leaves the old copy and its header as they were.
    const char slot = Recovery.Slot == 'a' ? 'b' : 'a';
    char copyPath[MAX_PATH], newHeader[MAX_PATH], headerPath[MAX_PATH], name[MAX_PATH];
    if (!SlotPath(Recovery.Base, slot, copyPath) || !PathOf(Recovery.Base, ".new", newHeader) ||
        !PathOf(Recovery.Base, ".ini", headerPath)) {
        return false;
    }
    SlotName(Recovery.Base, slot, name);
    char source[FilePathSize];
    HeaderSource(source);
    char header[LargestHeaderSize];
    const int headerLength =
        std::snprintf(header, sizeof header,
                      "%s\r\ncopy=%s\r\nsize=%lu\r\nsum=%08lx\r\nsource=%s\r\nsourcesize=%lu\r\n"
                      "sourcesum=%08lx\r\n",
                      HeaderFirstLine, name, static_cast<unsigned long>(size),
                      static_cast<unsigned long>(RecoveryChecksum(CopyBuffer, size)), source,
                      static_cast<unsigned long>(Files.DocumentFileSize),
                      static_cast<unsigned long>(Files.DocumentFileSum));
    if (headerLength <= 0 || headerLength >= static_cast<int>(sizeof header)) return false;

    if (!WriteNewFile(copyPath, CopyBuffer, size)) return false;
    if (!WriteNewFile(newHeader, header, static_cast<DWORD>(headerLength)) ||
        !MoveFileExA(newHeader, headerPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(newHeader);
        DeleteFileA(copyPath);
        return false;
    }
    const char old = Recovery.Slot;
    Recovery.Slot = slot;
    if (old != 0 && SlotPath(Recovery.Base, old, copyPath)) DeleteFileA(copyPath);
    return true;
}

// A copy that cannot be written: the last one no longer holds the text, so it goes rather
// than be offered after a crash as if it were current; the writer hears of it once a run.
void CopyFailed() {
    RemoveCopy();
    if (Recovery.FailureTold) return;
    Recovery.FailureTold = true;
    char base[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("LOCALAPPDATA", base, sizeof base);
    if (length == 0 || length >= sizeof base) std::strcpy(base, "%LOCALAPPDATA%");
    char message[MAX_PATH + 192];
    std::snprintf(message, sizeof message,
                  "Nivrano can not keep a recovery copy of your changes in %s\\Nivrano\\Recovery.\n"
                  "If Nivrano ends unexpectedly, changes since the last save will be lost.",
                  base);
    ShowWarning(message, "Recovery Copy");
}

}  // namespace

std::uint32_t RecoveryChecksum(const std::uint8_t* bytes, std::size_t count) {
    std::uint32_t hash = 2166136261u;
    for (std::size_t k = 0; k < count; ++k) {
        hash = (hash ^ bytes[k]) * 16777619u;
    }
    return hash;
}

void TrackRecoveryCopy() {
    if (Recovery.SourceUnchecked && !IsDocumentChanged()) Recovery.SourceUnchecked = false;
    if (Doc.EditCount != Recovery.SeenEdits) {
        Recovery.SeenEdits = Doc.EditCount;
        if (IsDocumentChanged()) {
            // A running timer runs on: restarting it at each change would put the copy off
            // for as long as the writer kept typing.
            if (!Recovery.TimerRunning) {
                SetTimer(Doc.MainWindow, RecoveryTimer, RecoveryDelay);
                Recovery.TimerRunning = true;
            }
            return;
        }
        RemoveCopy();
        return;
    }
    if ((Recovery.Slot != 0 || Recovery.TimerRunning) && !IsDocumentChanged()) RemoveCopy();
}

void OnRecoveryTimer() {
    StopTimer();
    WriteRecoveryCopy();
}

void WriteRecoveryCopy() {
    if (!IsDocumentChanged()) {
        RemoveCopy();
        return;
    }
    if (!WriteCopy()) CopyFailed();
}

void DropRecoveryCopy() { RemoveCopy(); }

void EndRecovery() {
    RemoveCopy();
    if (Recovery.Lock == INVALID_HANDLE_VALUE) return;
    CloseRecoveryLock();
    char lock[MAX_PATH];
    if (PathOf(Recovery.Base, ".lock", lock)) DeleteFileA(lock);
}

bool OfferRecoveryCopy() {
    char folder[MAX_PATH];
    if (!EnsureNivranoFolder("Recovery", folder)) return false;
    SweepLeftLocks(folder);
    DeleteOldFiles(folder);
    for (const Candidate& candidate : FindCandidates(folder)) {
        char base[MAX_PATH], lockPath[MAX_PATH];
        const int length =
            std::snprintf(base, sizeof base, "%s\\%s", folder, candidate.Name.c_str());
        if (length <= 0 || length >= MAX_PATH || !PathOf(base, ".lock", lockPath)) continue;
        if (std::strcmp(base, Recovery.Base) == 0) continue;  // this editor's own
        bool made = false;
        HANDLE lock = TakeLeftLock(lockPath, &made);
        if (lock == INVALID_HANDLE_VALUE) continue;
        LeftCopy copy;
        if (!ReadLeftCopy(base, &copy)) {
            CloseHandle(lock);
            if (made) DeleteFileA(lockPath);  // a damaged copy is left exactly as it was
            continue;
        }
        char offer[FilePathSize + 128];
        std::snprintf(offer, sizeof offer,
                      "Nivrano ended before these changes to %s were saved.\n"
                      "Do you wish to recover them?",
                      copy.Source[0] != '\0' ? copy.Source : "a new document");
        const int answer =
            MessageBoxA(Doc.MainWindow, offer, "Recover Changes?", MB_ICONQUESTION | MB_YESNO);
        if (answer == IDYES) {
            // This editor takes the copy over, lock and all, and keeps it up to date.
            if (Recovery.Lock != INVALID_HANDLE_VALUE) EndRecovery();
            std::memcpy(Recovery.Base, base, static_cast<std::size_t>(length) + 1);
            Recovery.Lock = lock;
            Recovery.Slot = copy.Slot;
            Recovery.SeenEdits = Doc.EditCount;
            RestoreCopy(copy);
            return true;
        }
        DeleteCopyFiles(base);
        CloseHandle(lock);
        DeleteFileA(lockPath);
        return false;
    }
    return false;
}

bool RecoveredSourceUnchanged() {
    if (!Recovery.SourceUnchecked) return true;
    const long size = ReadSmallFile(Files.DocumentPath, CopyBuffer, LargestFileSize);
    return size >= 0 && static_cast<DWORD>(size) == Files.DocumentFileSize &&
           RecoveryChecksum(CopyBuffer, static_cast<std::size_t>(size)) == Files.DocumentFileSum;
}

void CloseRecoveryLock() {
    if (Recovery.Lock == INVALID_HANDLE_VALUE) return;
    CloseHandle(Recovery.Lock);
    Recovery.Lock = INVALID_HANDLE_VALUE;
}

void ResetRecoveryState() { Recovery = InitialRecovery; }

}  // namespace nv
