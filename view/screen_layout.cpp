#include "view/screen_layout.h"

#include <algorithm>
#include <cstring>

#include "document/document_font.h"
#include "document/layout.h"
#include "document/store.h"
#include "document/words.h"
#include "view/geometry.h"
#include "view/line_order.h"

namespace nv {

namespace {

// Breaks the lines with the document font at the screen's column, then brings the scroll
// range and the view in line with them.
template <typename BreakLines>
void LayOut(BreakLines breakLines) {
    bool complete;
    {
        ScreenTextContext screen;
        std::int32_t columnWidth = Doc.TextWidthInches * screen.logPixelsX();
        std::memset(Doc.DrawnLineBytes, 0, sizeof Doc.DrawnLineBytes);
        complete = breakLines(screen.advances(), columnWidth);
    }
    // A full line table leaves the scroll range and the view as they were.
    if (!complete) return;

    std::int32_t scrollMax = ScrollMax();
    Doc.ViewTop = std::clamp(Doc.ViewTop, 0, scrollMax);
    SetScrollBar(scrollMax, Doc.ViewTop);
}

}  // namespace

void LayoutDocument() { LayoutDocumentWithLineLimit(LineLimit); }

void LayoutDocumentWithLineLimit(std::int32_t lineLimit) {
    lineLimit = std::clamp(lineLimit, 1, LineLimit);
    NoteTextReplaced();
    ForgetWordCount();
    LayOut([lineLimit](const AdvanceTable& advances, std::int32_t columnWidth) {
        return BreakIntoLines(advances, columnWidth, lineLimit);
    });
}

void LayoutAfterEdit(std::int32_t p, std::int32_t removed, std::int32_t inserted) {
    LayOut([=](const AdvanceTable& advances, std::int32_t columnWidth) {
        return BreakLinesAfterEdit(advances, columnWidth, LineLimit, p, removed, inserted);
    });
}

}  // namespace nv
