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

ScreenTextContext::ScreenTextContext()
    : dc_(GetDC(Doc.MainWindow)),
      logPixelsX_(GetDeviceCaps(dc_, LOGPIXELSX)),
      logPixelsY_(GetDeviceCaps(dc_, LOGPIXELSY)) {
    LOGFONTA font = DocumentLogFont(logPixelsY_);
    font_ = CreateFontIndirectA(&font);
    previous_ = SelectObject(dc_, font_);
}

ScreenTextContext::~ScreenTextContext() {
    SelectObject(dc_, previous_);
    DeleteObject(font_);
    ReleaseDC(Doc.MainWindow, dc_);
}

}  // namespace nv
