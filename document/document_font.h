// The document font: chosen by character height, character set and face name only, so
// that bold and italic come from the face name alone. Every operation that measures or
// draws document text creates its own instance and deletes it before it returns.
#pragma once

#include "app/platform.h"

namespace nv {

// PointSize x logPixelsY / 72 (negative: a character height), CharacterSet, FaceName.
LOGFONTA DocumentLogFont(int logPixelsY);

// Creates a font and selects it into a device context; selects the old font back and
// deletes the created one when it goes out of scope.
class SelectedFont {
public:
    SelectedFont(HDC dc, const LOGFONTA& font);
    ~SelectedFont();
    SelectedFont(const SelectedFont&) = delete;
    SelectedFont& operator=(const SelectedFont&) = delete;

private:
    HDC dc_;
    HFONT font_;
    HGDIOBJ previous_;
};

// A device context of the main window with the document font selected, released on exit.
class ScreenTextContext {
public:
    ScreenTextContext();
    ~ScreenTextContext();
    ScreenTextContext(const ScreenTextContext&) = delete;
    ScreenTextContext& operator=(const ScreenTextContext&) = delete;

    HDC dc() const { return dc_; }
    int logPixelsX() const { return logPixelsX_; }
    int logPixelsY() const { return logPixelsY_; }

private:
    HDC dc_;
    int logPixelsX_;
    int logPixelsY_;
    HFONT font_;
    HGDIOBJ previous_;
};

}  // namespace nv
