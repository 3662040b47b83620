// Files named without Open's dialog: the file named on the command line, a file dropped on
// the window, and Save Again to the file the document came from.
#pragma once

#include <cstddef>

#include "platform/platform.h"

namespace nv {

// The command line as WinMain receives it (the program's name left out): its first argument
// is a path, in double quotes or up to the first blank; the rest is ignored.
void SetStartArgument(const char* commandLine);
// The path, or "" when the command line names none.
const char* StartArgument();
void ResetStartArgument();

// Opens the start argument as Open opens a file its dialog named; nothing without one. A
// file that does not exist, in a folder that does, starts an empty document of its name,
// which Save Again writes there.
void OpenStartFile();

// What Open does once its dialog has returned `path` (`length` characters): FileName and
// FileTitle (its last component) are set, then every check runs with its message. A path
// too long for FileName cannot be opened, and fails as a file without a handle does.
void OpenNamedFile(const char* path, std::size_t length);

// WM_DROPFILES: the first dropped file opens as by Open, after the save prompt. The drop is
// finished before anything is asked.
void OpenDroppedFile(HDROP drop);

// Save Again: writes the file the document was last opened from or saved to, as Save writes,
// without a dialog; with nothing of the kind (since start or New), or when a recovered text's
// file is gone or has changed since the copy was made, it is Save with its dialog.
void FileSaveAgain();

// The last component of a path: what follows its last '\\', '/' or ':'.
const char* LastPathComponent(const char* path);

}  // namespace nv
