// The editor's own folders under %LOCALAPPDATA%\Nivrano: "Saving" for the texts a save
// secures first, "Recovery" for the copy kept of a changed document.
#pragma once

namespace nv {

// Puts "%LOCALAPPDATA%\Nivrano\<subfolder>" into `path` (MAX_PATH characters), making the
// folders that are missing. False, with `path` empty, when there is no such variable or a
// folder cannot be made.
bool EnsureNivranoFolder(const char* subfolder, char* path);

}  // namespace nv
