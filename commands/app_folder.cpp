#include "commands/app_folder.h"

#include <cstdio>
#include <cstring>

#include "platform/platform.h"

namespace nv {

namespace {

bool IsFolder(const char* path) {
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// A folder that exists already counts as made (another editor may have made it just now).
bool MakeFolder(const char* path) { return CreateDirectoryA(path) || IsFolder(path); }

}  // namespace

bool EnsureNivranoFolder(const char* subfolder, char* path) {
    char base[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA("LOCALAPPDATA", base, sizeof base);
    path[0] = '\0';
    if (length == 0 || length >= sizeof base) return false;
    char folder[MAX_PATH];
    const int nivranoLength = std::snprintf(folder, sizeof folder, "%s\\Nivrano", base);
    if (nivranoLength < 0 || nivranoLength >= MAX_PATH || !MakeFolder(folder)) return false;
    char full[MAX_PATH];
    const int fullLength = std::snprintf(full, sizeof full, "%s\\%s", folder, subfolder);
    if (fullLength < 0 || fullLength >= MAX_PATH || !MakeFolder(full)) return false;
    std::memcpy(path, full, static_cast<std::size_t>(fullLength) + 1);
    return true;
}

}  // namespace nv
