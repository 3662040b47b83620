// Window and page geometry: the palette band, the 6-inch text column and 8-inch pages, in
// screen pixels of the logical inch. Every division truncates toward zero.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace nv {

constexpr int PaletteItemCount = 23;
constexpr int PaletteUp = 0;
constexpr int PaletteDown = 1;
constexpr int PaletteIndicator = 2;
constexpr int PaletteFirstHeader = 3;
constexpr int PaletteFirstCell = 13;
constexpr int PaletteLastCell = 22;

struct Geometry {
    std::int32_t ClientWidth = 0;
    std::int32_t ClientHeight =
        0;  // down to the status bar, when it shows: the text area ends there
    std::int32_t StatusBarHeight = 0;  // 0 while it is hidden
    std::int32_t TextLeft = 0;
    std::int32_t TextRight = 0;
    std::int32_t TextTop = 0;
    RECT PaletteFrame;
    RECT PaletteItemRects[PaletteItemCount];
    bool ScrollBarStale = false;      // set without a redraw during the operation
    std::int32_t WheelRemainder = 0;  // of a wheel delta that has not made a notch yet
};

extern Geometry Geo;

void ResetGeometry();

// Derived values, computed where needed.
std::int32_t PageGap(int logPixelsY);
std::int32_t PageCount();
std::int32_t LineY(std::int32_t line, std::int32_t pageGap);
bool IsOnScreen(std::int32_t y);
std::int32_t VisibleLines();
std::int32_t ScrollMax();

LRESULT HandleSize(LPARAM lParam);
LRESULT HandleVScroll(WPARAM wParam);
// The scroll bar's way of scrolling: the view to first line `top` (kept in range), the
// pixels moved and the caret left where it is.
void ScrollViewTo(std::int32_t top);
// Adds a wheel delta to what is left of the ones before and gives the whole notches it
// makes (forward positive); the rest waits for the next delta.
std::int32_t WheelNotches(std::int32_t delta);
// Scrolls the system's lines per notch (a screenful when it says so), forward upward.
void ScrollByWheel(std::int32_t notches);
void LayoutPalette();
void LayoutTextArea();
void KeepCaretInView();

// Sets the scroll bar's range and position, unless both already stand so, without drawing
// it: a redraw of the bar costs milliseconds under Wine, so it waits for RedrawScrollBar.
void SetScrollBar(std::int32_t scrollMax, std::int32_t position);
// The same for the position alone.
void SetScrollBarPosition(std::int32_t position);
// Draws the scroll bar now if an operation changed it.
void RedrawScrollBar();

// Moves the text area's pixels from first line oldTop to newTop, page gaps included; the
// uncovered band is left to be painted (what was waiting to be painted moves with the
// pixels). The palette band never moves.
void ScrollTextArea(std::int32_t oldTop, std::int32_t newTop);

}  // namespace nv
