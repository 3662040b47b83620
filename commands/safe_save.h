// How Save writes a file without ever costing either text.
//
// The target is written in place (opened, written from its start, ended there), so that it
// stays the same file: a link still leads to it, and it keeps its other names, permissions,
// owner and the case of its name. Before it is touched, the new text and the target's
// current bytes are each written in full and flushed to files of the editor's own in
// %LOCALAPPDATA%\Nivrano\Saving:
//
//   <process id>-<n> new.txt   the file image being saved
//   <process id>-<n> old.txt   the target's bytes before the save (when it existed)
//
// The editor holds both open for the whole save and deletes them once the target is
// written, so files there that no editor holds are what a save cut short left behind.
#pragma once

#include <cstddef>

#include "platform/platform.h"

namespace nv {

struct SaveOutcome {
    bool saved = false;
    // When a failed write could not give the target its old bytes back: the file that
    // holds them, kept. Empty otherwise.
    char keptOldText[MAX_PATH] = {};
};

// Writes `bytes` bytes of `image` over `target` as above. When the editor's folder cannot
// take the secured files, the target is still written in place, without them.
SaveOutcome WriteFileSafely(const char* target, const void* image, DWORD bytes);

// The secured files that no running editor holds: `folder` (MAX_PATH characters) gets their
// folder, `list` a line for each (its name and what it holds, as many as fit in `size`);
// gives how many there are.
int FindInterruptedSaves(char* folder, char* list, std::size_t size);

// At start: names in a message the files a save cut short left behind, if any.
void ReportInterruptedSaves();

}  // namespace nv
