#include "commands/recovery.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "commands/app_folder.h"
#include "commands/file_commands.h"
#include "commands/named_file.h"
#include "commands/unicode_text.h"
#include "document/store.h"

namespace nv {

namespace {

constexpr const char* HeaderFirstLine = "Nivrano recovery copy";
constexpr DWORD LargestHeaderSize = 1024;
constexpr int MostCandidates = 64;

struct RecoveryState {
    char Base[MAX_PATH];  // folder and base name of this editor's files; "" until claimed
    HANDLE Lock;          // INVALID_HANDLE_VALUE until claimed
    char Slot;            // 'a' or 'b': the copy the header names; 0 when there is none
    bool TimerRunning;
    std::uint32_t SeenEdits;
};

RecoveryState Recovery{{}, INVALID_HANDLE_VALUE, 0, false, 0};

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

bool ParseNumber(const char* text, int base, unsigned long* number) {
    if (*text == '\0') return false;
    char* end = nullptr;
    *number = std::strtoul(text, &end, base);
    return *end == '\0';
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
        !ParseNumber(size, 10, &sizeValue) || !ParseNumber(sum, 16, &sumValue)) {
        return false;
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
    TakeFormatOfFile(copy.Source);  // Save Again writes the file in its own format
    if (copy.Source[0] != '\0') {
        std::memcpy(Files.FileName, Files.DocumentPath, sizeof Files.FileName);
        std::memcpy(Files.FileTitle, Files.DocumentTitle, sizeof Files.FileTitle);
    }
    SetWindowTextA(Doc.MainWindow, "Nivrano (Recovered)");
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

struct Candidate {
    char Name[MAX_PATH];
    std::uint64_t Time;
};

// The headers in the folder, newest first.
int FindCandidates(const char* folder, Candidate* candidates) {
    char pattern[MAX_PATH];
    if (!PathOf(folder, "\\*.ini", pattern)) return 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int count = 0;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
        const std::size_t length = std::strlen(found.cFileName);
        if (length <= 4 || std::strcmp(found.cFileName + length - 4, ".ini") != 0) continue;
        Candidate& c = candidates[count++];
        std::memcpy(c.Name, found.cFileName, length - 4);
        c.Name[length - 4] = '\0';
        c.Time = (std::uint64_t{found.ftLastWriteTime.dwHighDateTime} << 32) |
                 found.ftLastWriteTime.dwLowDateTime;
    } while (count < MostCandidates && FindNextFileA(search, &found));
    FindClose(search);
    std::stable_sort(candidates, candidates + count,
                     [](const Candidate& a, const Candidate& b) { return a.Time > b.Time; });
    return count;
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
    if (Doc.EditCount != Recovery.SeenEdits) {
        Recovery.SeenEdits = Doc.EditCount;
        if (IsDocumentChanged()) {
            SetTimer(Doc.MainWindow, RecoveryTimer, RecoveryDelay);  // restarts a running one
            Recovery.TimerRunning = true;
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
    if (!ClaimBase()) return;

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
        return;
    }
    SlotName(Recovery.Base, slot, name);
    char header[LargestHeaderSize];
    const int headerLength = std::snprintf(
        header, sizeof header, "%s\r\ncopy=%s\r\nsize=%lu\r\nsum=%08lx\r\nsource=%s\r\n",
        HeaderFirstLine, name, static_cast<unsigned long>(size),
        static_cast<unsigned long>(RecoveryChecksum(CopyBuffer, size)), Files.DocumentPath);
    if (headerLength <= 0 || headerLength >= static_cast<int>(sizeof header)) return;

    if (!WriteNewFile(copyPath, CopyBuffer, size)) return;
    if (!WriteNewFile(newHeader, header, static_cast<DWORD>(headerLength)) ||
        !MoveFileExA(newHeader, headerPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(newHeader);
        DeleteFileA(copyPath);
        return;
    }
    const char old = Recovery.Slot;
    Recovery.Slot = slot;
    if (old != 0 && SlotPath(Recovery.Base, old, copyPath)) DeleteFileA(copyPath);
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
    static Candidate candidates[MostCandidates];
    const int count = FindCandidates(folder, candidates);
    for (int k = 0; k < count; ++k) {
        char base[MAX_PATH], lockPath[MAX_PATH];
        const int length = std::snprintf(base, sizeof base, "%s\\%s", folder, candidates[k].Name);
        if (length <= 0 || length >= MAX_PATH || !PathOf(base, ".lock", lockPath)) continue;
        if (std::strcmp(base, Recovery.Base) == 0) continue;  // this editor's own
        // A running editor holds its lock open without sharing: then this open fails.
        HANDLE lock = CreateFileA(lockPath, GENERIC_WRITE, 0, OPEN_ALWAYS, 0);
        if (lock == INVALID_HANDLE_VALUE) continue;
        LeftCopy copy;
        if (!ReadLeftCopy(base, &copy)) {
            CloseHandle(lock);
            continue;
        }
        const int answer = MessageBoxA(Doc.MainWindow,
                                       "Nivrano ended before these changes were saved.\n"
                                       "Do you wish to recover them?",
                                       "Recover Changes?", MB_ICONQUESTION | MB_YESNO);
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

void CloseRecoveryLock() {
    if (Recovery.Lock == INVALID_HANDLE_VALUE) return;
    CloseHandle(Recovery.Lock);
    Recovery.Lock = INVALID_HANDLE_VALUE;
}

void ResetRecoveryState() { Recovery = RecoveryState{{}, INVALID_HANDLE_VALUE, 0, false, 0}; }

}  // namespace nv
