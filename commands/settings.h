// What the editor remembers from one run to the next, in %APPDATA%\Nivrano\Settings.ini:
// the face, the point size, word wrap, the line order, whether the status bar shows, the
// window's place and size, and the recent files. The file is read once the user agreement
// is accepted, before the first paint, and written when the window closes. A value that is
// missing or damaged leaves that setting as the editor starts without the file; a file that
// cannot be written says nothing.
#pragma once

#include "platform/platform.h"

namespace nv {

struct EditorSettings {
    bool Read = false;  // the file was read: only then is it written at the end
    bool HasPlace = false;
    RECT Place;  // the window's normal place and size on the screen
    bool Maximized = false;
};

extern EditorSettings Settings;

void ResetSettings();

// Reads the file: the view settings go into the document store, with the menus' check marks
// moved to them, and the recent files into the File menu.
void ReadSettings();
void WriteSettings();

// Shows the main window at the place read, maximized when it was; `showCommand` as WinMain
// received it, which wins when it asks for something other than the normal window. False,
// with nothing done, when the file named no place.
bool PlaceMainWindow(UINT showCommand);

// A place that lies on no screen, moved (and shrunk when larger) into the work area of the
// nearest one; any other place as it is.
RECT PlaceOnScreen(const RECT& place);

}  // namespace nv
