// The status bar at the foot of the window, the system's own control: where the caret is,
// the page it is on and the words of the text or of the selection. The text area ends above
// it while it shows.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace nv {

// Its parts, left to right; the last one is for the file's format.
constexpr int StatusPartCount = 4;

// Creates it as the main window's child, shown or not as Doc.StatusBarShown says.
void CreateStatusBar();

// After the main window took a new client size: the bar moves to its foot and its parts
// are laid out again. Gives the height it takes from the client area (0 while hidden).
std::int32_t PlaceStatusBar();

// Shows or hides it; the text area grows or shrinks to meet it.
void ShowStatusBar(bool shown);

// Sets the texts that changed: at start, and once no input waits after operations, as the
// control may paint a part the moment it takes its text (Wine's does). `format` is what the
// last part tells of the document's file format.
void UpdateStatusBar(const char* format);
// Paints the parts whose texts changed, at once (at start).
void PaintStatusBar();

// The texts as they would read now (for tests and the benchmark).
void StatusBarTexts(char (*texts)[64], const char* format = "");

}  // namespace nv
