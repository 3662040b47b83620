// Character advances per font, measured once and reused by every operation that measures
// or draws document text. A font is known by what defines it: face name, height, character
// set and the resolution of the device it is made for; the same font on the same device
// always gives the same widths, so the 256 queries are made once per font.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace nv {

struct AdvanceTable {
    std::int32_t Height = 0;  // tmHeight
    bool TrueType = false;
    std::int32_t Advance[256] = {};  // abcA + abcB + abcC, or the plain width of a raster font
    bool Fails[256] = {};            // the width query for this code failed
    std::int32_t Overhang = 0;       // smallest abcC up to the first failing code, at most 0
};

// The sum of the advances of count bytes and the font's tmHeight. Like MeasureRun, a run
// holding a code whose query failed measures width 0 and height 0 and gives false.
bool MeasureWithTable(const AdvanceTable& table, const std::uint8_t* bytes, int count,
                      std::int32_t* width, std::int32_t* height);

// The document font, created for a device context at the context's resolution and selected
// into it; the previous font is selected back and the created one deleted on destruction.
// While it lives, the font's advances are registered for the context, so that line
// reversal and RightEdge on that context sum the table instead of querying per byte.
class MeasuredDocumentFont {
public:
    explicit MeasuredDocumentFont(HDC dc);
    ~MeasuredDocumentFont();
    MeasuredDocumentFont(const MeasuredDocumentFont&) = delete;
    MeasuredDocumentFont& operator=(const MeasuredDocumentFont&) = delete;

    const AdvanceTable& Advances() const { return *table_; }
    int LogPixelsX() const { return logPixelsX_; }
    int LogPixelsY() const { return logPixelsY_; }

private:
    HDC dc_;
    int logPixelsX_;
    int logPixelsY_;
    HFONT font_;
    HGDIOBJ previous_;
    const AdvanceTable* table_;
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
