// Character advances and glyphs per font, measured once and reused by every operation that
// measures or draws document text. A screen font is known by what defines it: face name,
// height, character set, and the kind and resolution of the device it is made for; the same
// font on the same screen always gives the same widths and glyphs, so the queries are made
// once per font. A printer's fonts are measured on that printer for each font created:
// another printer of the same resolution may size its fonts differently.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/platform.h"

namespace nv {

struct AdvanceTable {
    std::int32_t Height = 0;  // tmHeight
    bool TrueType = false;
    std::int32_t Advance[256] = {};  // abcA + abcB + abcC, or the plain width of a raster font
    bool Fails[256] = {};            // the width query for this code failed
    std::int32_t Overhang = 0;       // smallest abcC up to the first failing code, at most 0
    // The glyph each code is drawn with, when the system could tell: a code the font has no
    // glyph for gets the glyph that drawing the code by itself shows, the default character's.
    bool GlyphsKnown = false;
    WORD Glyph[256] = {};
};

// The sum of the advances of count bytes and the font's tmHeight. Like MeasureRun, a run
// holding a code whose query failed measures width 0 and height 0 and gives false.
bool MeasureWithTable(const AdvanceTable& table, const std::uint8_t* bytes, int count,
                      std::int32_t* width, std::int32_t* height);

// A font created and selected into a device context, with its advances and glyphs known;
// the previous font is selected back and the created one deleted on destruction. While it
// lives, its table is registered for the context, so that ordering a line and placing the
// caret on that context sum the table instead of querying per byte.
class MeasuredFont {
public:
    // Keep: measured once per font and device kind and resolution, and kept (the screen).
    // MeasureNow: measured for this font alone (a printer).
    enum class Reuse { Keep, MeasureNow };

    MeasuredFont(HDC dc, const LOGFONTA& font, Reuse reuse);
    ~MeasuredFont();
    MeasuredFont(const MeasuredFont&) = delete;
    MeasuredFont& operator=(const MeasuredFont&) = delete;

    const AdvanceTable& Advances() const { return *table_; }
    HFONT Handle() const { return font_; }

private:
    HDC dc_;
    HFONT font_;
    HGDIOBJ previous_;
    std::unique_ptr<AdvanceTable> own_;
    const AdvanceTable* table_;
};

// The document font, created for a screen device context at the context's resolution.
class MeasuredDocumentFont {
public:
    explicit MeasuredDocumentFont(HDC dc);

    const AdvanceTable& Advances() const { return font_.Advances(); }
    int LogPixelsX() const { return logPixelsX_; }
    int LogPixelsY() const { return logPixelsY_; }

private:
    int logPixelsX_;
    int logPixelsY_;
    MeasuredFont font_;
};

// The advances registered for a device context, or null when its font is not known.
const AdvanceTable* AdvancesSelectedInto(HDC dc);

// Measures a run in the font selected into dc: from the registered table when there is
// one, else by MeasureRun's queries. Both give the same result.
bool MeasureOn(HDC dc, const std::uint8_t* bytes, int count, std::int32_t* width,
               std::int32_t* height);

// Drops every measured font. The fonts of a real system never change; a test that changes
// how its fake fonts answer forgets the old measurements with this.
void ForgetAdvanceTables();

}  // namespace nv
