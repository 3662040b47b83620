// The document font: chosen by character height, character set and face name only, so
// that bold and italic come from the face name alone. Every operation that measures or
// draws document text creates its own instance and deletes it before it returns.
#pragma once

#include <optional>

#include "document/advance_table.h"
#include "platform/platform.h"

namespace nv {

// PointSize x logPixelsY / 72 (negative: a character height), CharacterSet, FaceName.
LOGFONTA DocumentLogFont(int logPixelsY);

// With the document font selected into a screen device context: takes its metrics into
// ScreenFontMetrics and sets LineHeight and LinesPerPage from them, each at least 1.
void MeasureScreenFont(HDC dc, int logPixelsY);

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

// A memory device context compatible with the screen, deleted when it goes out of scope:
// it measures as the window's own would, without Wine's GetDC call to the display server
// for the window's visible region.
class MemoryDeviceContext {
public:
    MemoryDeviceContext();
    ~MemoryDeviceContext();
    MemoryDeviceContext(const MemoryDeviceContext&) = delete;
    MemoryDeviceContext& operator=(const MemoryDeviceContext&) = delete;

    HDC dc() const { return dc_; }

private:
    HDC dc_;
};

// A screen device context with the document font selected and its advances known, to
// measure and order lines with (nothing is drawn on it); the font goes before the context.
// While a HeldScreenTextContext lives, every one is that one's.
class ScreenTextContext {
public:
    ScreenTextContext();

    HDC dc() const { return parts_->memory.dc(); }
    int logPixelsX() const { return parts_->font.LogPixelsX(); }
    int logPixelsY() const { return parts_->font.LogPixelsY(); }
    const AdvanceTable& advances() const { return parts_->font.Advances(); }

private:
    friend class HeldScreenTextContext;
    struct Parts {
        Parts() : font(memory.dc()) {}
        MemoryDeviceContext memory;
        MeasuredDocumentFont font;
    };
    static const Parts* held_;  // the held context's, while one is
    std::optional<Parts> own_;
    const Parts* parts_;
};

// One screen text context for all that an edit measures and refreshes while it lasts: under
// Wine every GetDC, ReleaseDC and font selection is a call to the display server, a good
// part of a keystroke's time. Nothing may change the document font while one is held.
class HeldScreenTextContext {
public:
    HeldScreenTextContext();
    ~HeldScreenTextContext();
    HeldScreenTextContext(const HeldScreenTextContext&) = delete;
    HeldScreenTextContext& operator=(const HeldScreenTextContext&) = delete;

private:
    ScreenTextContext context_;
    bool outermost_;
};

}  // namespace nv
