// The recent files: the last eight files opened or saved, most recent first, shown in the
// File menu above Exit as "&1 name" with their full paths kept.
#pragma once

#include <cstdint>

#include "commands/file_commands.h"
#include "platform/platform.h"

namespace nv {

constexpr int RecentFileLimit = 8;

struct RecentFileList {
    char Paths[RecentFileLimit][FilePathSize];
    int Count = 0;
    std::uint32_t Remembered = 0;  // files put first so far: tells that an Open succeeded
};

extern RecentFileList RecentFiles;

void ResetRecentFiles();

// Puts a file first, by its full path, taking out an earlier entry of the same file (names
// compare without case, as Windows compares them), and keeps eight. Shows the list in the
// menu.
void RememberRecentFile(const char* path);
// Takes a file off the list and the menu.
void ForgetRecentFile(const char* path);
// Adds a file at the end of the list, as the settings name it; false for an empty or too
// long path or one already listed. The menu follows with ShowRecentFiles.
bool AppendRecentFile(const char* path);
// Puts the list into the File menu, in place of what it showed before.
void ShowRecentFiles();

// A recent file chosen from the menu opens as Open opens a file its dialog named, after the
// save question; a file that fails to open leaves the list after its message.
void OpenRecentFile(UINT command);

}  // namespace nv
