#include "view/glyph_run.h"

#include "document/store.h"

namespace nv {

namespace {
// A run is at most one line of the text.
WORD RunGlyphs[TextLimit];
int RunAdvances[TextLimit];
}  // namespace

void DrawRun(HDC dc, const AdvanceTable& font, int x, int y, const std::uint8_t* bytes, int count) {
    if (count <= 0) return;
    if (count > TextLimit) count = TextLimit;
    if (!font.GlyphsKnown) {
        for (int k = 0; k < count; ++k) {
            TextOutA(dc, x, y, reinterpret_cast<const char*>(bytes + k), 1);
            x += font.Fails[bytes[k]] ? 0 : font.Advance[bytes[k]];
        }
        return;
    }
    for (int k = 0; k < count; ++k) {
        RunGlyphs[k] = font.Glyph[bytes[k]];
        RunAdvances[k] = font.Fails[bytes[k]] ? 0 : font.Advance[bytes[k]];
    }
    ExtTextOutW(dc, x, y, ETO_GLYPH_INDEX, nullptr, RunGlyphs, static_cast<UINT>(count),
                RunAdvances);
}

}  // namespace nv
