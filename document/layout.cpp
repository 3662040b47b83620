#include "document/layout.h"

#include "document/store.h"

namespace nv {

bool MeasureRun(HDC dc, const std::uint8_t* bytes, int count, std::int32_t* width,
                std::int32_t* height) {
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    *width = 0;
    *height = metrics.tmHeight;
    bool trueType = (metrics.tmPitchAndFamily & TMPF_TRUETYPE) != 0;
    for (int k = 0; k < count; ++k) {
        UINT code = bytes[k];
        bool ok;
        std::int32_t advance;
        if (trueType) {
            ABC abc;
            ok = GetCharABCWidthsA(dc, code, code, &abc) != 0;
            advance = abc.abcA + static_cast<std::int32_t>(abc.abcB) + abc.abcC;
        } else {
            int charWidth = 0;
            ok = GetCharWidthA(dc, code, code, &charWidth) != 0;
            advance = charWidth;
        }
        if (!ok) {
            *width = 0;
            *height = 0;
            return false;
        }
        *width += advance;
    }
    return true;
}

std::int32_t LineOfPosition(std::int32_t pos) {
    for (std::int32_t i = 0; i < Doc.LineCount; ++i) {
        if (Doc.LineTable[i].End >= pos) return i;
    }
    return Doc.LineCount - 1;
}

void LayoutDocument() {
    // Filled in with the line layout.
}

}  // namespace nv
