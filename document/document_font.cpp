#include "document/document_font.h"

#include <cstring>

#include "document/store.h"

namespace nv {

LOGFONTA DocumentLogFont(int logPixelsY) {
    LOGFONTA font;
    font.lfHeight = Doc.PointSize * logPixelsY / 72;
    font.lfCharSet = Doc.CharacterSet;
    std::strncpy(font.lfFaceName, Doc.FaceName, LF_FACESIZE - 1);
    return font;
}

SelectedFont::SelectedFont(HDC dc, const LOGFONTA& font)
    : dc_(dc), font_(CreateFontIndirectA(&font)), previous_(SelectObject(dc, font_)) {}

SelectedFont::~SelectedFont() {
    SelectObject(dc_, previous_);
    DeleteObject(font_);
}

WindowDeviceContext::WindowDeviceContext() : dc_(GetDC(Doc.MainWindow)) {}

WindowDeviceContext::~WindowDeviceContext() { ReleaseDC(Doc.MainWindow, dc_); }

}  // namespace nv
