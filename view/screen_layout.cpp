#include "view/screen_layout.h"

#include <algorithm>
#include <cstring>

#include "document/document_font.h"
#include "document/layout.h"
#include "document/store.h"
#include "view/geometry.h"

namespace nv {

void LayoutDocument() { LayoutDocumentWithLineLimit(LineLimit); }

void LayoutDocumentWithLineLimit(std::int32_t lineLimit) {
    lineLimit = std::clamp(lineLimit, 1, LineLimit);
    HDC dc = GetDC(Doc.MainWindow);
    bool complete;
    {
        MeasuredDocumentFont font(dc);
        std::int32_t columnWidth = Doc.TextWidthInches * font.LogPixelsX();
        std::memset(Doc.ReversedLineBuffer, 0, sizeof Doc.ReversedLineBuffer);
        complete = BreakIntoLines(font.Advances(), columnWidth, lineLimit);
    }
    ReleaseDC(Doc.MainWindow, dc);
    // A full line table leaves the scroll range and the view as they were.
    if (!complete) return;

    std::int32_t scrollMax = ScrollMax();
    Doc.ViewTop = std::clamp(Doc.ViewTop, 0, scrollMax);
    SetScrollBar(scrollMax, Doc.ViewTop);
}

}  // namespace nv
