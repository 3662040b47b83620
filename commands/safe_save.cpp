#include "commands/safe_save.h"

#include <cstdio>
#include <cstring>

#include "commands/app_folder.h"
#include "document/store.h"

namespace nv {

namespace {

constexpr const char* NewSuffix = " new.txt";
constexpr const char* OldSuffix = " old.txt";

// Old bytes pass through here: a target can be of any size.
constexpr DWORD ChunkSize = 16384;
std::uint8_t CopyChunk[ChunkSize];

// The number in the names of the next save; names a stale file of an earlier editor with
// the same process id holds are skipped.
unsigned NextSaveNumber = 1;

struct SecuredFile {
    HANDLE handle = INVALID_HANDLE_VALUE;
    char path[MAX_PATH] = {};
};

bool Exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

bool WriteAll(HANDLE file, const void* data, DWORD bytes) {
    DWORD written = 0;
    return WriteFile(file, data, bytes, &written) && written == bytes;
}

// Everything from `from`'s position to its end, written at `to`'s position.
bool CopyRest(HANDLE from, HANDLE to) {
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(from, CopyChunk, ChunkSize, &read)) return false;
        if (read == 0) return true;
        if (!WriteAll(to, CopyChunk, read)) return false;
    }
}

// Held with only deleting shared: no other program (nor another editor's start) can open
// it while this save runs, and it can still be deleted before it is closed.
bool CreateSecured(SecuredFile* file) {
    file->handle =
        CreateFileA(file->path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_DELETE, CREATE_NEW, 0);
    return file->handle != INVALID_HANDLE_VALUE;
}

// Names both files with a number free for both, and creates the one for the new text.
// False when the folder cannot be had or takes no file.
bool CreateNewTextFile(SecuredFile* newText, SecuredFile* oldText) {
    char folder[MAX_PATH];
    if (!EnsureNivranoFolder("Saving", folder)) return false;
    const DWORD process = GetCurrentProcessId();
    for (int tries = 0; tries < 100; ++tries) {
        const unsigned number = NextSaveNumber++;
        auto name = [&](char* path, const char* suffix) {
            const int n = std::snprintf(path, MAX_PATH, "%s\\%lu-%u%s", folder,
                                        static_cast<unsigned long>(process), number, suffix);
            return n > 0 && n < MAX_PATH;
        };
        if (!name(newText->path, NewSuffix) || !name(oldText->path, OldSuffix)) return false;
        if (Exists(newText->path) || Exists(oldText->path)) continue;
        return CreateSecured(newText);
    }
    return false;
}

// Deleted while still held, so that no other editor ever sees it unheld.
void Discard(SecuredFile* file) {
    if (file->handle == INVALID_HANDLE_VALUE) return;
    DeleteFileA(file->path);
    CloseHandle(file->handle);
    file->handle = INVALID_HANDLE_VALUE;
}

// The image over the file from its start, the file ended there and flushed.
bool WriteInPlace(HANDLE file, const void* image, DWORD bytes) {
    return SetFilePointer(file, 0, FILE_BEGIN) == 0 && WriteAll(file, image, bytes) &&
           SetEndOfFile(file) && FlushFileBuffers(file);
}

// The secured old bytes written back over the file in the same way.
bool PutBack(HANDLE file, HANDLE oldText) {
    return SetFilePointer(file, 0, FILE_BEGIN) == 0 &&
           SetFilePointer(oldText, 0, FILE_BEGIN) == 0 && CopyRest(oldText, file) &&
           SetEndOfFile(file) && FlushFileBuffers(file);
}

// "<digits>-<digits> new.txt" or the same with " old.txt": the names a save gives.
bool IsSecuredName(const char* name) {
    const char* c = name;
    auto digits = [&c] {
        const char* start = c;
        while (*c >= '0' && *c <= '9') ++c;
        return c > start;
    };
    if (!digits() || *c++ != '-' || !digits()) return false;
    return std::strcmp(c, NewSuffix) == 0 || std::strcmp(c, OldSuffix) == 0;
}

}  // namespace

SaveOutcome WriteFileSafely(const char* target, const void* image, DWORD bytes) {
    SaveOutcome outcome;
    SecuredFile newText;
    SecuredFile oldText;
    const bool secured = CreateNewTextFile(&newText, &oldText);
    if (secured && !(WriteAll(newText.handle, image, bytes) && FlushFileBuffers(newText.handle))) {
        Discard(&newText);
        return outcome;
    }

    const bool existed = Exists(target);
    HANDLE file = CreateFileA(target, GENERIC_READ | GENERIC_WRITE, 0, OPEN_ALWAYS, 0);
    if (file == INVALID_HANDLE_VALUE) {
        Discard(&newText);
        return outcome;
    }
    // A file made just now goes again when the save fails: the folder stays as it was.
    auto giveUp = [&] {
        CloseHandle(file);
        if (!existed) DeleteFileA(target);
        Discard(&newText);
        Discard(&oldText);
    };
    if (secured && existed &&
        !(CreateSecured(&oldText) && CopyRest(file, oldText.handle) &&
          FlushFileBuffers(oldText.handle))) {
        giveUp();
        return outcome;
    }

    // Only now is the target itself changed.
    if (WriteInPlace(file, image, bytes)) {
        CloseHandle(file);
        Discard(&newText);
        Discard(&oldText);
        outcome.saved = true;
        return outcome;
    }
    if (oldText.handle != INVALID_HANDLE_VALUE && !PutBack(file, oldText.handle)) {
        // The old text is now only there: keep it, and say where.
        CloseHandle(oldText.handle);
        oldText.handle = INVALID_HANDLE_VALUE;
        std::memcpy(outcome.keptOldText, oldText.path, sizeof outcome.keptOldText);
    }
    giveUp();
    return outcome;
}

int FindInterruptedSaves(char* folder, char* list, std::size_t size) {
    list[0] = '\0';
    if (!EnsureNivranoFolder("Saving", folder)) return 0;
    char pattern[MAX_PATH];
    if (std::snprintf(pattern, sizeof pattern, "%s\\*.txt", folder) >= MAX_PATH) return 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int count = 0;
    std::size_t used = 0;
    do {
        if (!IsSecuredName(found.cFileName)) continue;
        char path[MAX_PATH];
        if (std::snprintf(path, sizeof path, "%s\\%s", folder, found.cFileName) >= MAX_PATH) {
            continue;
        }
        // A file another running editor holds belongs to a save still under way.
        HANDLE probe = CreateFileA(path, GENERIC_READ, 0, OPEN_EXISTING, 0);
        if (probe == INVALID_HANDLE_VALUE) continue;
        CloseHandle(probe);
        ++count;
        const bool isNew = std::strstr(found.cFileName, NewSuffix) != nullptr;
        const int n = std::snprintf(
            list + used, size - used, "%s: %s\n", found.cFileName,
            isNew ? "the text that was being saved" : "the file's text before that save");
        if (n > 0 && used + static_cast<std::size_t>(n) < size) used += static_cast<std::size_t>(n);
        list[used] = '\0';
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

void ReportInterruptedSaves() {
    static char folder[MAX_PATH];
    static char list[2048];
    if (FindInterruptedSaves(folder, list, sizeof list) == 0) return;
    static char text[sizeof folder + sizeof list + 160];
    std::snprintf(text, sizeof text,
                  "A save was cut short before it finished. The texts it kept are in the "
                  "folder\n%s\n%sOpen them to take back either text, then delete them.",
                  folder, list);
    MessageBoxA(Doc.MainWindow, text, "Interrupted Save", MB_ICONWARNING);
}

}  // namespace nv
