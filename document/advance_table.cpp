#include "document/advance_table.h"

#include <cstring>
#include <memory>
#include <vector>

#include "document/document_font.h"
#include "document/layout.h"

namespace nv {

namespace {

struct FontKey {
    char Face[LF_FACESIZE];
    LONG Height;
    std::uint8_t CharSet;
    int Technology;  // the kind of device: a display's fonts are not a printer's
    int LogPixelsX;
    int LogPixelsY;

    bool operator==(const FontKey& other) const {
        return std::strncmp(Face, other.Face, LF_FACESIZE) == 0 && Height == other.Height &&
               CharSet == other.CharSet && Technology == other.Technology &&
               LogPixelsX == other.LogPixelsX && LogPixelsY == other.LogPixelsY;
    }
};

struct KeptFont {
    FontKey Key;
    std::unique_ptr<AdvanceTable> Table;
};

struct Registration {
    HDC Dc;
    const AdvanceTable* Table;
};

std::vector<KeptFont>& KeptFonts() {
    static std::vector<KeptFont> fonts;
    return fonts;
}

std::vector<Registration>& Registrations() {
    static std::vector<Registration> registrations;
    return registrations;
}

// The glyphs of all 256 codes in one query. A code the font lacks is drawn by the system as
// the font's default character, or as the "no glyph" shape 0 when that is missing too.
void FindGlyphs(HDC dc, std::uint8_t defaultChar, AdvanceTable* table) {
    char codes[256];
    for (int code = 0; code < 256; ++code) codes[code] = static_cast<char>(code);
    if (GetGlyphIndicesA(dc, codes, 256, table->Glyph, GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR) {
        return;
    }
    WORD fallback = 0;
    const char defaultCode = static_cast<char>(defaultChar);
    if (GetGlyphIndicesA(dc, &defaultCode, 1, &fallback, GGI_MARK_NONEXISTING_GLYPHS) ==
            GDI_ERROR ||
        fallback == NonexistingGlyph) {
        fallback = 0;
    }
    for (WORD& glyph : table->Glyph) {
        if (glyph == NonexistingGlyph) glyph = fallback;
    }
    table->GlyphsKnown = true;
}

// Asks the system for the widths of all 256 codes of the font selected into dc, one code
// per query, exactly as MeasureRun would ask for each of them, and for their glyphs.
std::unique_ptr<AdvanceTable> MeasureSelectedFont(HDC dc) {
    auto table = std::make_unique<AdvanceTable>();
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    FindGlyphs(dc, metrics.tmDefaultChar, table.get());
    table->Height = metrics.tmHeight;
    table->TrueType = (metrics.tmPitchAndFamily & TMPF_TRUETYPE) != 0;

    bool overhangDone = false;
    for (UINT code = 0; code < 256; ++code) {
        if (table->TrueType) {
            ABC abc;
            bool ok = GetCharABCWidthsA(dc, code, code, &abc) != 0;
            table->Fails[code] = !ok;
            if (ok)
                table->Advance[code] = abc.abcA + static_cast<std::int32_t>(abc.abcB) + abc.abcC;
            // The overhang looks at the codes in turn up to the first one that fails.
            if (!ok) overhangDone = true;
            if (!overhangDone && abc.abcC < table->Overhang) table->Overhang = abc.abcC;
        } else {
            int width = 0;
            bool ok = GetCharWidthA(dc, code, code, &width) != 0;
            table->Fails[code] = !ok;
            if (ok) table->Advance[code] = width;
        }
    }
    // A font without the TrueType bit may still answer ABC queries; ask as the overhang
    // rule does, stopping at the first failure (for a raster font, the first query).
    if (!table->TrueType) {
        for (UINT code = 0; code < 256; ++code) {
            ABC abc;
            if (!GetCharABCWidthsA(dc, code, code, &abc)) break;
            if (abc.abcC < table->Overhang) table->Overhang = abc.abcC;
        }
    }
    return table;
}

const AdvanceTable& KeptAdvancesFor(HDC dc, const LOGFONTA& font) {
    FontKey key{};
    std::memcpy(key.Face, font.lfFaceName, LF_FACESIZE);
    key.Face[LF_FACESIZE - 1] = 0;
    key.Height = font.lfHeight;
    key.CharSet = font.lfCharSet;
    key.Technology = GetDeviceCaps(dc, TECHNOLOGY);
    key.LogPixelsX = GetDeviceCaps(dc, LOGPIXELSX);
    key.LogPixelsY = GetDeviceCaps(dc, LOGPIXELSY);
    for (const KeptFont& known : KeptFonts()) {
        if (known.Key == key) return *known.Table;
    }
    KeptFonts().push_back(KeptFont{key, MeasureSelectedFont(dc)});
    return *KeptFonts().back().Table;
}

}  // namespace

bool MeasureWithTable(const AdvanceTable& table, const std::uint8_t* bytes, int count,
                      std::int32_t* width, std::int32_t* height) {
    std::int32_t sum = 0;
    for (int k = 0; k < count; ++k) {
        std::uint8_t code = bytes[k];
        if (table.Fails[code]) {
            *width = 0;
            *height = 0;
            return false;
        }
        sum += table.Advance[code];
    }
    *width = sum;
    *height = table.Height;
    return true;
}

MeasuredFont::MeasuredFont(HDC dc, const LOGFONTA& font, Reuse reuse)
    : dc_(dc), font_(CreateFontIndirectA(&font)), previous_(SelectObject(dc, font_)) {
    if (reuse == Reuse::Keep) {
        table_ = &KeptAdvancesFor(dc_, font);
    } else {
        own_ = MeasureSelectedFont(dc_);
        table_ = own_.get();
    }
    Registrations().push_back(Registration{dc_, table_});
}

MeasuredFont::~MeasuredFont() {
    std::vector<Registration>& registrations = Registrations();
    for (auto it = registrations.rbegin(); it != registrations.rend(); ++it) {
        if (it->Dc == dc_ && it->Table == table_) {
            registrations.erase(std::next(it).base());
            break;
        }
    }
    SelectObject(dc_, previous_);
    DeleteObject(font_);
}

MeasuredDocumentFont::MeasuredDocumentFont(HDC dc)
    : logPixelsX_(GetDeviceCaps(dc, LOGPIXELSX)),
      logPixelsY_(GetDeviceCaps(dc, LOGPIXELSY)),
      font_(dc, DocumentLogFont(logPixelsY_), MeasuredFont::Reuse::Keep) {}

const AdvanceTable* AdvancesSelectedInto(HDC dc) {
    const std::vector<Registration>& registrations = Registrations();
    for (auto it = registrations.rbegin(); it != registrations.rend(); ++it) {
        if (it->Dc == dc) return it->Table;
    }
    return nullptr;
}

bool MeasureOn(HDC dc, const std::uint8_t* bytes, int count, std::int32_t* width,
               std::int32_t* height) {
    if (const AdvanceTable* table = AdvancesSelectedInto(dc)) {
        return MeasureWithTable(*table, bytes, count, width, height);
    }
    return MeasureRun(dc, bytes, count, width, height);
}

void ForgetAdvanceTables() {
    Registrations().clear();
    KeptFonts().clear();
}

}  // namespace nv
