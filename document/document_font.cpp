#include "document/document_font.h"

#include <algorithm>
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

void MeasureScreenFont(HDC dc, int logPixelsY) {
    GetTextMetricsA(dc, &Doc.ScreenFontMetrics);
    // A font the system could not measure would leave a zero height, and every page and
    // scroll formula divides by it; one pixel keeps the window usable.
    Doc.LineHeight =
        std::max(1, Doc.ScreenFontMetrics.tmHeight + Doc.ScreenFontMetrics.tmExternalLeading);
    Doc.LinesPerPage = std::max(1, Doc.PageHeightInches * logPixelsY / Doc.LineHeight);
}

SelectedFont::SelectedFont(HDC dc, const LOGFONTA& font)
    : dc_(dc), font_(CreateFontIndirectA(&font)), previous_(SelectObject(dc, font_)) {}

SelectedFont::~SelectedFont() {
    SelectObject(dc_, previous_);
    DeleteObject(font_);
}

MemoryDeviceContext::MemoryDeviceContext() : dc_(CreateCompatibleDC(nullptr)) {}

MemoryDeviceContext::~MemoryDeviceContext() { DeleteDC(dc_); }

const ScreenTextContext::Parts* ScreenTextContext::held_ = nullptr;

ScreenTextContext::ScreenTextContext() : parts_(held_) {
    if (parts_ == nullptr) parts_ = &own_.emplace();
}

HeldScreenTextContext::HeldScreenTextContext() : outermost_(ScreenTextContext::held_ == nullptr) {
    if (outermost_) ScreenTextContext::held_ = context_.parts_;
}

HeldScreenTextContext::~HeldScreenTextContext() {
    if (outermost_) ScreenTextContext::held_ = nullptr;
}

}  // namespace nv
