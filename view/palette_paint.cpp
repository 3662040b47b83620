#include "view/palette_paint.h"

#include <cstdio>
#include <cstring>

#include "document/store.h"
#include "view/geometry.h"

namespace nv {

namespace {

// Each outline is stretched by a pixel right and/or down where it meets a neighbour, so that
// neighbours share one line and the frame's last column and row stay inside the frame.
struct OutlineStretch {
    int right;
    int bottom;
};

OutlineStretch ItemOutlineStretch(int item) {
    if (item == PaletteUp) return {1, 1};
    if (item == PaletteDown || item == PaletteIndicator) return {1, 0};
    if (item >= PaletteFirstHeader && item < PaletteFirstCell - 1) return {1, 1};
    if (item == PaletteFirstCell - 1) return {0, 1};  // digit header 9
    if (item >= PaletteFirstCell && item < PaletteLastCell) return {1, 0};
    return {0, 0};  // character cell 9
}

void DrawOutlines(HDC dc) {
    const RECT& frame = Geo.PaletteFrame;
    Rectangle(dc, frame.left, frame.top, frame.right, frame.bottom);
    for (int item = 0; item < PaletteItemCount; ++item) {
        const RECT& r = Geo.PaletteItemRects[item];
        OutlineStretch stretch = ItemOutlineStretch(item);
        Rectangle(dc, r.left, r.top, r.right + stretch.right, r.bottom + stretch.bottom);
    }
}

// Centred horizontally and vertically in the item's own rectangle; the text alignment must
// be TA_CENTER | TA_TOP.
void DrawCentred(HDC dc, const RECT& r, LONG textHeight, const char* text, int length) {
    int x = (r.left + r.right) / 2;
    int y = r.top + (r.bottom - textHeight - r.top) / 2;
    TextOutA(dc, x, y, text, length);
}

void DrawLabels(HDC dc, LONG textHeight) {
    const RECT* items = Geo.PaletteItemRects;
    DrawCentred(dc, items[PaletteUp], textHeight, "Up", 2);
    DrawCentred(dc, items[PaletteDown], textHeight, "Down", 4);
    char text[32];
    int length = std::snprintf(text, sizeof text, "%i%s", Doc.PaletteBank, "_");
    DrawCentred(dc, items[PaletteIndicator], textHeight, text, length);
    for (int d = 0; d < 10; ++d) {
        length = std::snprintf(text, sizeof text, "%i", d);
        DrawCentred(dc, items[PaletteFirstHeader + d], textHeight, text, length);
    }
}

void DrawCells(HDC dc, LONG textHeight) {
    for (int d = 0; d < 10; ++d) {
        const RECT& r = Geo.PaletteItemRects[PaletteFirstCell + d];
        int code = Doc.PaletteBank * 10 + d;
        if (code < 32 || code > 255) {
            // No single-byte character can be entered for this code.
            MoveToEx(dc, r.left, r.top);
            LineTo(dc, r.right, r.bottom);
            MoveToEx(dc, r.left, r.bottom - 1);
            LineTo(dc, r.right, r.top - 1);
            continue;
        }
        char glyph = static_cast<char>(static_cast<unsigned char>(code));
        DrawCentred(dc, r, textHeight, &glyph, 1);
    }
}

// Two pixels thick: rows t - 1, t, b - 1, b and columns l - 1, l, r - 1, r. It stays within
// the item grown by one pixel, which is what a focus move repaints.
void DrawFocusFrame(HDC dc, const RECT& r) {
    auto line = [dc](int x0, int y0, int x1, int y1) {
        MoveToEx(dc, x0, y0);
        LineTo(dc, x1, y1);
    };
    line(r.left, r.top, r.right, r.top);
    line(r.left, r.top - 1, r.right, r.top - 1);
    line(r.left, r.top, r.left, r.bottom);
    line(r.left - 1, r.top, r.left - 1, r.bottom);
    line(r.right - 1, r.top, r.right - 1, r.bottom);
    line(r.right, r.top, r.right, r.bottom);
    line(r.left, r.bottom - 1, r.right, r.bottom - 1);
    line(r.left, r.bottom, r.right, r.bottom);
}

}  // namespace

LONG PaletteLabelHeight() {
    const RECT& up = Geo.PaletteItemRects[PaletteUp];
    return (up.top - up.bottom) * 4 / 7;
}

void PaintPalette(HDC dc) {
    // Everything of the palette, focus frame included, lies within one pixel of its frame's
    // rows; a paint below or above them draws nothing here.
    RECT paintArea;
    GetClipBox(dc, &paintArea);
    if (paintArea.top >= Geo.PaletteFrame.bottom + 1 ||
        paintArea.bottom <= Geo.PaletteFrame.top - 1) {
        return;
    }
    DrawOutlines(dc);
    SetBkMode(dc, TRANSPARENT);

    // Labels always in Courier New; the cells in the document's face at the same height, so
    // the palette keeps its size whatever the document's point size.
    LOGFONTA font;
    font.lfHeight = PaletteLabelHeight();
    font.lfCharSet = ANSI_CHARSET;
    std::strncpy(font.lfFaceName, "Courier New", LF_FACESIZE - 1);
    HFONT labelFont = CreateFontIndirectA(&font);
    HGDIOBJ previous = SelectObject(dc, labelFont);
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    SetTextAlign(dc, TA_CENTER | TA_TOP);
    DrawLabels(dc, metrics.tmHeight);
    SelectObject(dc, previous);
    DeleteObject(labelFont);

    std::memset(font.lfFaceName, 0, sizeof font.lfFaceName);
    std::strncpy(font.lfFaceName, Doc.FaceName, LF_FACESIZE - 1);
    font.lfCharSet = Doc.CharacterSet;
    HFONT cellFont = CreateFontIndirectA(&font);
    previous = SelectObject(dc, cellFont);
    metrics = TEXTMETRICA{};
    GetTextMetricsA(dc, &metrics);
    SetTextAlign(dc, TA_CENTER | TA_TOP);
    DrawCells(dc, metrics.tmHeight);
    SetTextAlign(dc, TA_LEFT | TA_TOP);

    if (Doc.PaletteMode == 1 && Doc.PaletteFocus >= 0 && Doc.PaletteFocus < PaletteItemCount) {
        DrawFocusFrame(dc, Geo.PaletteItemRects[Doc.PaletteFocus]);
    }

    SetTextAlign(dc, TA_LEFT | TA_TOP);
    SelectObject(dc, previous);
    DeleteObject(cellFont);
}

}  // namespace nv
