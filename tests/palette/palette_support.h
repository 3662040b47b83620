// Helpers shared by the palette tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/editor_fixture.h"

namespace nv::test {

inline LRESULT BlankWindowProc(HWND, UINT, WPARAM, LPARAM) { return 0; }

// The pixels of a white client area of the given size on which only the given text was
// drawn, black and transparent, centred horizontally at centreX with its top at y, in a
// font of the face, character height and character set. Drawn on a platform of its own, so
// that it is an independent picture of what a label should look like.
inline std::vector<std::uint32_t> RenderCentredText(int width, int height, const std::string& face,
                                                    LONG fontHeight, std::uint8_t charset,
                                                    const std::string& text, int centreX, int y) {
    fake::FakePlatform scratch;
    scratch.windowProc = &BlankWindowProc;
    HWND window = scratch.CreateMainWindow(width, height);
    HDC dc = scratch.GetDC(window);
    LOGFONTA font;
    font.lfHeight = fontHeight;
    font.lfCharSet = charset;
    std::strncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    HFONT created = scratch.CreateFontIndirectA(&font);
    HGDIOBJ previous = scratch.SelectObject(dc, created);
    scratch.SetBkMode(dc, TRANSPARENT);
    scratch.SetTextAlign(dc, TA_CENTER | TA_TOP);
    scratch.TextOutA(dc, centreX, y, text.data(), static_cast<int>(text.size()));
    scratch.SelectObject(dc, previous);
    scratch.DeleteObject(created);
    scratch.ReleaseDC(window, dc);
    return scratch.pixels();
}

// A pointer position as WM_LBUTTONDOWN and WM_MOUSEMOVE carry it.
inline LPARAM PointerAt(int x, int y) {
    return static_cast<LPARAM>((static_cast<std::uint32_t>(y & 0xFFFF) << 16) |
                               static_cast<std::uint32_t>(x & 0xFFFF));
}

// The middle of a palette item.
inline int ItemCentreX(int item) {
    const RECT& r = Geo.PaletteItemRects[item];
    return (r.left + r.right) / 2;
}
inline int ItemCentreY(int item) {
    const RECT& r = Geo.PaletteItemRects[item];
    return (r.top + r.bottom) / 2;
}

}  // namespace nv::test
