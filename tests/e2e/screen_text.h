// The editor's text column as this process measures it, and lines of text compared pixel
// for pixel with how they must be drawn (defined in typing_scenarios.cpp).
#pragma once

#include <windows.h>

#include <string>

#include "e2e_steps.h"

namespace e2e {

// A 6-inch column centred in the client area, the text 1.5 inches down, Courier New at 12
// points in the Hebrew character set: the editor's layout at start.
struct TextGeometry {
    int logPixelsX = 96;
    int logPixelsY = 96;
    int textLeft = 0;
    int textRight = 0;
    int textTop = 0;
    int lineHeight = 0;
    LOGFONTA font{};
};

TextGeometry MeasureGeometry(HWND window);
// The width of `bytes` (code page 1255) in the document font.
int TextWidth(HWND window, const TextGeometry& g, const std::string& bytes);
// Display line `line` of the capture equals `bytes` drawn right-aligned and reversed, apart
// from the caret column caretX (-1: no caret on the line), which must hold a full-height bar.
void ExpectLine(const Capture& shot, HWND window, const TextGeometry& g, int line,
                const std::string& bytes, int caretX, const std::string& what);

}  // namespace e2e
