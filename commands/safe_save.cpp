#include "commands/safe_save.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "commands/app_folder.h"
#include "document/store.h"

namespace nv {

namespace {

constexpr const char* TargetSuffix = " target.txt";
constexpr const char* NewSuffix = " new.txt";
constexpr const char* OldSuffix = " old.txt";

// The number in the names of the next save; names a stale file of an earlier editor with
// the same process id holds are skipped.
unsigned NextSaveNumber = 1;

struct SecuredFile {
    HANDLE handle = INVALID_HANDLE_VALUE;
    char path[MAX_PATH] = {};
};

// The files of one save in the Saving folder.
struct SecuredSave {
    SecuredFile target;  // the target's name
    SecuredFile newText;
    SecuredFile oldText;
};

// The target's bytes before the save, from the heap.
struct OldBytes {
    std::uint8_t* data = nullptr;
    DWORD size = 0;
};

bool Exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

bool WriteAll(HANDLE file, const void* data, DWORD bytes) {
    DWORD written = 0;
    return WriteFile(file, data, bytes, &written) && written == bytes;
}

// Held with only deleting shared: no other program (nor another editor's start) can open
// it while this save runs, and it can still be deleted before it is closed.
bool CreateSecured(SecuredFile* file) {
    file->handle =
        CreateFileA(file->path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_DELETE, CREATE_NEW, 0);
    return file->handle != INVALID_HANDLE_VALUE;
}

bool WriteSecured(SecuredFile* file, const void* data, DWORD bytes) {
    return CreateSecured(file) && WriteAll(file->handle, data, bytes) &&
           FlushFileBuffers(file->handle);
}

// Deleted while still held, so that no other editor ever sees it unheld.
void Discard(SecuredFile* file) {
    if (file->handle == INVALID_HANDLE_VALUE) return;
    DeleteFileA(file->path);
    CloseHandle(file->handle);
    file->handle = INVALID_HANDLE_VALUE;
}

void DiscardAll(SecuredSave* save) {
    Discard(&save->oldText);
    Discard(&save->newText);
    Discard(&save->target);
}

// Closed and left in the folder; gives the path, or "" when the file was never made.
const char* Keep(SecuredFile* file) {
    if (file->handle == INVALID_HANDLE_VALUE) return "";
    CloseHandle(file->handle);
    file->handle = INVALID_HANDLE_VALUE;
    return file->path;
}

// Names the save's files with a number free for all three, and writes the target's name
// and the new text there. False, with nothing left behind, when the folder cannot be had
// or takes no file.
bool SecureNewText(SecuredSave* save, const char* target, const void* image, DWORD bytes) {
    char folder[MAX_PATH];
    if (!EnsureNivranoFolder("Saving", folder)) return false;
    const DWORD process = GetCurrentProcessId();
    for (int tries = 0; tries < 100; ++tries) {
        const unsigned number = NextSaveNumber++;
        auto name = [&](SecuredFile* file, const char* suffix) {
            const int n = std::snprintf(file->path, MAX_PATH, "%s\\%lu-%u%s", folder,
                                        static_cast<unsigned long>(process), number, suffix);
            return n > 0 && n < MAX_PATH;
        };
        if (!name(&save->target, TargetSuffix) || !name(&save->newText, NewSuffix) ||
            !name(&save->oldText, OldSuffix)) {
            return false;
        }
        if (Exists(save->target.path) || Exists(save->newText.path) || Exists(save->oldText.path)) {
            continue;
        }
        if (WriteSecured(&save->target, target, static_cast<DWORD>(std::strlen(target))) &&
            WriteSecured(&save->newText, image, bytes)) {
            return true;
        }
        break;
    }
    DiscardAll(save);
    return false;
}

// Reads the whole of the just opened target into memory.
SaveResult HoldOldBytes(HANDLE file, OldBytes* old) {
    DWORD high = 0;
    const DWORD size = GetFileSize(file, &high);
    if (size == INVALID_FILE_SIZE) return SaveResult::NotWritten;
    if (high != 0) return SaveResult::NoMemory;
    old->data = static_cast<std::uint8_t*>(HeapAlloc(0, size > 0 ? size : 1));
    if (old->data == nullptr) return SaveResult::NoMemory;
    while (old->size < size) {
        DWORD read = 0;
        if (!ReadFile(file, old->data + old->size, size - old->size, &read) || read == 0) {
            return SaveResult::NotWritten;
        }
        old->size += read;
    }
    return SaveResult::Saved;
}

// `bytes` bytes over the file from its start, the file ended there and flushed.
bool WriteInPlace(HANDLE file, const void* image, DWORD bytes) {
    return SetFilePointer(file, 0, FILE_BEGIN) == 0 && WriteAll(file, image, bytes) &&
           SetEndOfFile(file) && FlushFileBuffers(file);
}

}  // namespace

SaveOutcome WriteFileSafely(const char* target, const void* image, DWORD bytes) {
    SaveOutcome outcome;
    SecuredSave secured;
    bool isSecured = SecureNewText(&secured, target, image, bytes);

    HANDLE file = CreateFileA(target, GENERIC_READ | GENERIC_WRITE, 0, OPEN_ALWAYS, 0);
    if (file == INVALID_HANDLE_VALUE) {
        DiscardAll(&secured);
        return outcome;
    }
    // Asked of the open itself: a file another program made a moment ago is not this save's.
    const bool created = GetLastError() != ERROR_ALREADY_EXISTS;
    OldBytes old;
    outcome.result = created ? SaveResult::Saved : HoldOldBytes(file, &old);
    if (outcome.result == SaveResult::Saved) {
        if (isSecured && !created && !WriteSecured(&secured.oldText, old.data, old.size)) {
            DiscardAll(&secured);
            isSecured = false;
        }
        // Only now is the target itself changed.
        if (!WriteInPlace(file, image, bytes)) {
            outcome.result = created || WriteInPlace(file, old.data, old.size)
                                 ? SaveResult::NotWritten
                                 : SaveResult::Damaged;
        }
    }
    CloseHandle(file);
    if (old.data != nullptr) HeapFree(old.data);
    // A file made by this save goes again when the save fails: the folder stays as it was.
    if (created && outcome.result != SaveResult::Saved && !DeleteFileA(target)) {
        outcome.result = SaveResult::Damaged;
    }

    if (outcome.result == SaveResult::Damaged && isSecured) {
        // The texts are now only there: keep them, and say where.
        std::snprintf(outcome.keptOldText, MAX_PATH, "%s", Keep(&secured.oldText));
        std::snprintf(outcome.keptNewText, MAX_PATH, "%s", Keep(&secured.newText));
        Keep(&secured.target);
    }
    DiscardAll(&secured);
    return outcome;
}

// --- At start ------------------------------------------------------------------------------

namespace {

// The files one save cut short left: the part of their names before the space, their
// paths, and which of the three there are.
struct LeftSave {
    char stem[32] = {};
    char targetPath[MAX_PATH] = {}, newPath[MAX_PATH] = {}, oldPath[MAX_PATH] = {};
    bool target = false, newText = false, oldText = false;
};
constexpr int MostLeftSaves = 32;
LeftSave LeftSaves[MostLeftSaves];

// Files are compared through these.
constexpr DWORD ChunkSize = 8192;
std::uint8_t ChunkA[ChunkSize];
std::uint8_t ChunkB[ChunkSize];

// "<digits>-<digits>" and one of the three suffixes: the names a save gives. Gives the
// suffix, or nullptr.
const char* SecuredSuffix(const char* name) {
    const char* c = name;
    auto digits = [&c] {
        const char* start = c;
        while (*c >= '0' && *c <= '9') ++c;
        return c > start;
    };
    if (!digits() || *c++ != '-' || !digits()) return nullptr;
    for (const char* suffix : {TargetSuffix, NewSuffix, OldSuffix}) {
        if (std::strcmp(c, suffix) == 0) return suffix;
    }
    return nullptr;
}

// The unheld files of the folder, grouped by save; gives the number of saves.
int FindLeftSaves(const char* folder) {
    char pattern[MAX_PATH];
    if (std::snprintf(pattern, sizeof pattern, "%s\\*.txt", folder) >= MAX_PATH) return 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int count = 0;
    do {
        const char* suffix = SecuredSuffix(found.cFileName);
        char path[MAX_PATH];
        if (suffix == nullptr ||
            std::snprintf(path, sizeof path, "%s\\%s", folder, found.cFileName) >= MAX_PATH) {
            continue;
        }
        // A file another running editor holds belongs to a save still under way.
        HANDLE probe = CreateFileA(path, GENERIC_READ, 0, OPEN_EXISTING, 0);
        if (probe == INVALID_HANDLE_VALUE) continue;
        CloseHandle(probe);
        const std::size_t stemLength =
            static_cast<std::size_t>(std::strchr(found.cFileName, ' ') - found.cFileName);
        if (stemLength >= sizeof LeftSave::stem) continue;
        int k = 0;
        while (k < count && (std::strncmp(LeftSaves[k].stem, found.cFileName, stemLength) != 0 ||
                             LeftSaves[k].stem[stemLength] != '\0')) {
            ++k;
        }
        if (k == count) {
            if (count == MostLeftSaves) continue;  // the rest are named at a later start
            LeftSave& save = LeftSaves[count];
            save = LeftSave{};
            std::memcpy(save.stem, found.cFileName, stemLength);
            auto name = [&](char* named, const char* end) {
                const int n = std::snprintf(named, MAX_PATH, "%s\\%.*s%s", folder,
                                            static_cast<int>(stemLength), found.cFileName, end);
                return n > 0 && n < MAX_PATH;
            };
            if (!name(save.targetPath, TargetSuffix) || !name(save.newPath, NewSuffix) ||
                !name(save.oldPath, OldSuffix)) {
                continue;
            }
            ++count;
        }
        LeftSave& save = LeftSaves[k];
        (suffix == TargetSuffix ? save.target
         : suffix == NewSuffix  ? save.newText
                                : save.oldText) = true;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

// The name a save's target file holds, or false.
bool ReadTargetName(const char* path, char* name) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD read = 0;
    const bool done = ReadFile(file, name, MAX_PATH - 1, &read) && read > 0;
    CloseHandle(file);
    name[done ? read : 0] = '\0';
    return done && std::strlen(name) == read;
}

enum class Comparison { Same, Different, Unreadable };

Comparison CompareFiles(const char* a, const char* b) {
    HANDLE fileA = CreateFileA(a, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0);
    HANDLE fileB = CreateFileA(b, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0);
    Comparison result = Comparison::Unreadable;
    DWORD highA = 0, highB = 0;
    if (fileA != INVALID_HANDLE_VALUE && fileB != INVALID_HANDLE_VALUE) {
        const DWORD sizeA = GetFileSize(fileA, &highA);
        const DWORD sizeB = GetFileSize(fileB, &highB);
        if (sizeA != INVALID_FILE_SIZE && sizeB != INVALID_FILE_SIZE) {
            result = sizeA == sizeB && highA == highB ? Comparison::Same : Comparison::Different;
        }
        while (result == Comparison::Same) {
            DWORD readA = 0, readB = 0;
            if (!ReadFile(fileA, ChunkA, ChunkSize, &readA) ||
                !ReadFile(fileB, ChunkB, ChunkSize, &readB)) {
                result = Comparison::Unreadable;
            } else if (readA != readB || std::memcmp(ChunkA, ChunkB, readA) != 0) {
                result = Comparison::Different;
            } else if (readA == 0) {
                break;
            }
        }
    }
    if (fileA != INVALID_HANDLE_VALUE) CloseHandle(fileA);
    if (fileB != INVALID_HANDLE_VALUE) CloseHandle(fileB);
    return result;
}

// What the target of a save cut short holds now, as a line of the notice; nullptr when it
// holds the whole new text.
const char* TargetState(const LeftSave& save, const char* target) {
    if (!Exists(target)) return "no longer exists";
    const Comparison withNew = CompareFiles(target, save.newPath);
    if (withNew == Comparison::Same) return nullptr;
    if (withNew == Comparison::Unreadable) return "can not be read";
    if (!save.oldText) return "does not hold the whole text";
    return CompareFiles(target, save.oldPath) == Comparison::Same
               ? "still holds its text from before that save"
               : "holds neither text whole";
}

void DeleteLeftSave(const LeftSave& save) {
    for (const char* path : {save.newPath, save.oldPath, save.targetPath}) DeleteFileA(path);
}

// Appends to a text of `size` bytes, as much as fits.
void Append(char* text, std::size_t size, const char* format, const char* a, const char* b) {
    const std::size_t used = std::strlen(text);
    if (std::snprintf(text + used, size - used, format, a, b) < 0) text[used] = '\0';
}

}  // namespace

void ReportInterruptedSaves() {
    static char folder[MAX_PATH];
    static char list[2048];
    static char text[sizeof folder + sizeof list + 160];
    if (!EnsureNivranoFolder("Saving", folder)) return;
    const int count = FindLeftSaves(folder);
    list[0] = '\0';
    for (int k = 0; k < count; ++k) {
        const LeftSave& save = LeftSaves[k];
        char target[MAX_PATH];
        const char* state = "";
        if (save.target) {
            if (ReadTargetName(save.targetPath, target) && save.newText) {
                state = TargetState(save, target);
                // The target holds what was being saved: nothing was lost.
                if (state == nullptr) {
                    DeleteLeftSave(save);
                    continue;
                }
            }
        }
        if (!save.newText && !save.oldText) {  // a name alone keeps nothing
            DeleteLeftSave(save);
            continue;
        }
        if (save.newText) {
            Append(list, sizeof list, "%s%s: the text that was being saved\n", save.stem,
                   NewSuffix);
        }
        if (save.oldText) {
            Append(list, sizeof list, "%s%s: the file's text before that save\n", save.stem,
                   OldSuffix);
        }
        if (*state != '\0') Append(list, sizeof list, "The file saved, %s, %s.\n", target, state);
    }
    if (list[0] == '\0') return;
    std::snprintf(text, sizeof text,
                  "A save was cut short before it finished. The texts it kept are in the "
                  "folder\n%s\n%sOpen them to take back either text, then delete them.",
                  folder, list);
    MessageBoxA(Doc.MainWindow, text, "Interrupted Save", MB_ICONWARNING);
}

}  // namespace nv
