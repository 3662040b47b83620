// How Save writes a file without ever costing either text.
//
// The target is written in place (opened, written from its start, ended there), so that it
// stays the same file: a link still leads to it, and it keeps its other names, permissions,
// owner and the case of its name. Before the target is changed, its current bytes are read
// into memory, always: a write that fails puts them back from there. For a save cut short
// by the end of the editor, the texts are also written in full and flushed to files of the
// editor's own in %LOCALAPPDATA%\Nivrano\Saving:
//
//   <process id>-<n> target.txt   the name of the file being saved
//   <process id>-<n> new.txt      the file image being saved
//   <process id>-<n> old.txt      the target's bytes before the save (when it existed)
//
// The editor holds them open for the whole save and deletes them once the target is
// written, so files there that no editor holds are what a save cut short left behind. When
// that folder cannot take them (missing, read-only, full), the save goes on without them.
#pragma once

#include "platform/platform.h"

namespace nv {

enum class SaveResult {
    Saved,
    NotWritten,  // the target was not changed, or has its old bytes back
    NoMemory,    // the target's old bytes do not fit in memory: the target was not touched
    Damaged,     // the write failed, and so did putting the old bytes back
};

struct SaveOutcome {
    SaveResult result = SaveResult::NotWritten;
    // When the target is damaged: the secured files that hold its old bytes and the new
    // text, kept; empty when there were none.
    char keptOldText[MAX_PATH] = {};
    char keptNewText[MAX_PATH] = {};
};

// Writes `bytes` bytes of `image` over `target` as above.
SaveOutcome WriteFileSafely(const char* target, const void* image, DWORD bytes);

// At start: the saves cut short that no running editor holds. One whose target holds the
// whole new text ended well enough: its files are deleted. The others are named in a
// message, with the text each target holds now.
void ReportInterruptedSaves();

}  // namespace nv
