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
    int LogPixelsX;
    int LogPixelsY;

    bool operator==(const FontKey& other) const {
        return std::strncmp(Face, other.Face, LF_FACESIZE) == 0 && Height == other.Height &&
               CharSet == other.CharSet && LogPixelsX == other.LogPixelsX &&
               LogPixelsY == other.LogPixelsY;
    }
};

struct MeasuredFont {
    FontKey Key;
    std::unique_ptr<AdvanceTable> Table;
};

struct Registration {
    HDC Dc;
    const AdvanceTable* Table;
};

std::vector<MeasuredFont>& MeasuredFonts() {
    static std::vector<MeasuredFont> fonts;
    return fonts;
}

std::vector<Registration>& Registrations() {
    static std::vector<Registration> registrations;
    return registrations;
}

// Asks the system for the widths of all 256 codes of the font selected into dc, one code
// per query, exactly as MeasureRun would ask for each of them.
std::unique_ptr<AdvanceTable> MeasureSelectedFont(HDC dc) {
    auto table = std::make_unique<AdvanceTable>();
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
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

const AdvanceTable& AdvancesFor(HDC dc, const LOGFONTA& font, int logPixelsX, int logPixelsY) {
    FontKey key{};
    std::memcpy(key.Face, font.lfFaceName, LF_FACESIZE);
    key.Face[LF_FACESIZE - 1] = 0;
    key.Height = font.lfHeight;
    key.CharSet = font.lfCharSet;
    key.LogPixelsX = logPixelsX;
    key.LogPixelsY = logPixelsY;
    for (const MeasuredFont& known : MeasuredFonts()) {
        if (known.Key == key) return *known.Table;
    }
    MeasuredFonts().push_back(MeasuredFont{key, MeasureSelectedFont(dc)});
    return *MeasuredFonts().back().Table;
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

MeasuredDocumentFont::MeasuredDocumentFont(HDC dc)
    : dc_(dc),
      logPixelsX_(GetDeviceCaps(dc, LOGPIXELSX)),
      logPixelsY_(GetDeviceCaps(dc, LOGPIXELSY)) {
    LOGFONTA font = DocumentLogFont(logPixelsY_);
    font_ = CreateFontIndirectA(&font);
    previous_ = SelectObject(dc_, font_);
    table_ = &AdvancesFor(dc_, font, logPixelsX_, logPixelsY_);
    Registrations().push_back(Registration{dc_, table_});
}

MeasuredDocumentFont::~MeasuredDocumentFont() {
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
    MeasuredFonts().clear();
}

}  // namespace nv
