#include "view/geometry.h"

#include <algorithm>

#include "document/advance_table.h"
#include "document/layout.h"
#include "document/store.h"
#include "view/line_order.h"
#include "view/status_bar.h"

namespace nv {

Geometry Geo;

void ResetGeometry() {
    Geo = Geometry{};
    // The widths measured per font belong to the screen they were measured on.
    ForgetAdvanceTables();
    ForgetParagraphLevels();
}

std::int32_t PageGap(int logPixelsY) {
    return Doc.PageHeightInches * logPixelsY - Doc.LinesPerPage * Doc.LineHeight;
}

std::int32_t PageCount() { return (Doc.LineCount - 1) / Doc.LinesPerPage + 1; }

std::int32_t LineY(std::int32_t line, std::int32_t pageGap) {
    return Geo.TextTop + (line - Doc.ViewTop) * Doc.LineHeight +
           (line / Doc.LinesPerPage - Doc.ViewTop / Doc.LinesPerPage) * pageGap;
}

bool IsOnScreen(std::int32_t y) { return Geo.TextTop <= y && y < Geo.ClientHeight; }

std::int32_t VisibleLines() {
    return std::max(0, (Geo.ClientHeight - Geo.TextTop) / Doc.LineHeight - 1);
}

std::int32_t ScrollMax() {
    return std::max(0, PageCount() * Doc.LinesPerPage - VisibleLines() + 1);
}

namespace {

int ScreenLogPixels(int index) {
    HDC dc = GetDC(Doc.MainWindow);
    int value = GetDeviceCaps(dc, index);
    ReleaseDC(Doc.MainWindow, dc);
    return value;
}

void ClampViewTop(std::int32_t scrollMax) { Doc.ViewTop = std::clamp(Doc.ViewTop, 0, scrollMax); }

// The scroll distance in pixels between two first lines, page gaps crossed included.
int ScrollDistance(std::int32_t oldTop, std::int32_t newTop, std::int32_t pageGap) {
    return (oldTop - newTop) * Doc.LineHeight +
           (oldTop / Doc.LinesPerPage - newTop / Doc.LinesPerPage) * pageGap;
}

}  // namespace

void ScrollTextArea(std::int32_t oldTop, std::int32_t newTop) {
    int dy = ScrollDistance(oldTop, newTop, PageGap(ScreenLogPixels(LOGPIXELSY)));
    RECT area{0, Geo.TextTop, Geo.ClientWidth, Geo.ClientHeight};
    ScrollWindow(Doc.MainWindow, 0, dy, &area, &area);
}

LRESULT HandleSize(LPARAM lParam) {
    Geo.ClientWidth = static_cast<std::int32_t>(LOWORD(static_cast<std::uintptr_t>(lParam)));
    Geo.ClientHeight = static_cast<std::int32_t>(HIWORD(static_cast<std::uintptr_t>(lParam)));
    Geo.StatusBarHeight = std::min(PlaceStatusBar(), Geo.ClientHeight);
    Geo.ClientHeight -= Geo.StatusBarHeight;
    std::int32_t scrollMax = ScrollMax();
    SetScrollRange(Doc.MainWindow, SB_VERT, 0, scrollMax, 0);
    ClampViewTop(scrollMax);
    SetScrollPos(Doc.MainWindow, SB_VERT, Doc.ViewTop, 1);
    LayoutPalette();
    LayoutTextArea();
    return 0;
}

LRESULT HandleVScroll(WPARAM wParam) {
    std::int32_t step = std::max(VisibleLines() - 1, 1);
    std::int32_t top = Doc.ViewTop;
    switch (LOWORD(wParam)) {
        case SB_LINEUP:
            top -= 1;
            break;
        case SB_LINEDOWN:
            top += 1;
            break;
        case SB_PAGEUP:
            top -= step;
            break;
        case SB_PAGEDOWN:
            top += step;
            break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            top = static_cast<std::int32_t>(HIWORD(wParam));
            break;
        case SB_TOP:
            top = 0;
            break;
        case SB_BOTTOM:
            top = ScrollMax();
            break;
        default:
            break;
    }
    ScrollViewTo(top);
    return 0;
}

void ScrollViewTo(std::int32_t top) {
    top = std::clamp(top, 0, ScrollMax());
    std::int32_t old = GetScrollPos(Doc.MainWindow, SB_VERT);
    if (old == top) return;
    Doc.ViewTop = top;
    SetScrollBarPosition(top);
    ScrollTextArea(old, top);
}

std::int32_t WheelNotches(std::int32_t delta) {
    Geo.WheelRemainder += delta;
    const std::int32_t notches = Geo.WheelRemainder / WHEEL_DELTA;
    Geo.WheelRemainder -= notches * WHEEL_DELTA;
    return notches;
}

void ScrollByWheel(std::int32_t notches) {
    UINT linesPerNotch = 3;
    if (!SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &linesPerNotch, 0)) linesPerNotch = 3;
    if (linesPerNotch == 0) return;
    // A forward notch (away from the user) shows the text above.
    const std::int32_t lines = linesPerNotch == WHEEL_PAGESCROLL
                                   ? std::max(VisibleLines() - 1, 1)
                                   : static_cast<std::int32_t>(std::min<UINT>(linesPerNotch, 1000));
    ScrollViewTo(Doc.ViewTop - notches * lines);
}

void LayoutTextArea() {
    HDC dc = GetDC(Doc.MainWindow);
    int logPixelsX = GetDeviceCaps(dc, LOGPIXELSX);
    int logPixelsY = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(Doc.MainWindow, dc);
    Geo.TextLeft = (Geo.ClientWidth - Doc.TextWidthInches * logPixelsX) / 2;
    Geo.TextRight = Geo.TextLeft + Doc.TextWidthInches * logPixelsX;
    Geo.TextTop = 3 * logPixelsY / 2;
}

void LayoutPalette() {
    HDC dc = GetDC(Doc.MainWindow);
    int eighthX = GetDeviceCaps(dc, LOGPIXELSX) / 8;
    int eighthY = GetDeviceCaps(dc, LOGPIXELSY) / 8;
    ReleaseDC(Doc.MainWindow, dc);
    int cellWidth = 3 * eighthX;
    int left = (Geo.ClientWidth - 16 * cellWidth) / 2;
    int top = 3 * eighthY;
    int middle = 6 * eighthY;
    int bottom = 9 * eighthY;
    int cellsLeft = left + 18 * eighthX;

    Geo.PaletteFrame = RECT{left, top, left + 48 * eighthX, bottom};
    Geo.PaletteItemRects[PaletteUp] = RECT{left, top, left + 9 * eighthX, middle};
    Geo.PaletteItemRects[PaletteDown] = RECT{left, middle, left + 9 * eighthX, bottom};
    Geo.PaletteItemRects[PaletteIndicator] = RECT{left + 9 * eighthX, top, cellsLeft, bottom};
    for (int d = 0; d < 10; ++d) {
        int cellLeft = cellsLeft + d * cellWidth;
        int cellRight = cellsLeft + (d + 1) * cellWidth;
        Geo.PaletteItemRects[PaletteFirstHeader + d] = RECT{cellLeft, top, cellRight, middle};
        Geo.PaletteItemRects[PaletteFirstCell + d] = RECT{cellLeft, middle, cellRight, bottom};
    }
}

void SetScrollBar(std::int32_t scrollMax, std::int32_t position) {
    int low = 0;
    int high = 0;
    GetScrollRange(Doc.MainWindow, SB_VERT, &low, &high);
    if (low == 0 && high == scrollMax && GetScrollPos(Doc.MainWindow, SB_VERT) == position) return;
    SetScrollRange(Doc.MainWindow, SB_VERT, 0, scrollMax, 0);
    SetScrollPos(Doc.MainWindow, SB_VERT, position, 0);
    Geo.ScrollBarStale = true;
}

void SetScrollBarPosition(std::int32_t position) {
    if (GetScrollPos(Doc.MainWindow, SB_VERT) == position) return;
    SetScrollPos(Doc.MainWindow, SB_VERT, position, 0);
    Geo.ScrollBarStale = true;
}

void RedrawScrollBar() {
    if (!Geo.ScrollBarStale) return;
    Geo.ScrollBarStale = false;
    SetScrollPos(Doc.MainWindow, SB_VERT, GetScrollPos(Doc.MainWindow, SB_VERT), 1);
}

void KeepCaretInView() {
    std::int32_t caretLine = LineOfPosition(Doc.Caret);
    std::int32_t visible = VisibleLines();
    std::int32_t scrollMax = ScrollMax();
    if (caretLine < Doc.ViewTop) {
        Doc.ViewTop = caretLine;
    } else if (caretLine >= Doc.ViewTop + visible) {
        Doc.ViewTop = caretLine - visible + 1;
        if (Doc.ViewTop > caretLine) Doc.ViewTop = caretLine;
    }
    ClampViewTop(scrollMax);
    SetScrollBarPosition(Doc.ViewTop);
}

}  // namespace nv
