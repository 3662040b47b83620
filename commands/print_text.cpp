// The printed sheets: the footer and the lines, in printer device units.
#include <cstdio>
#include <optional>

#include "commands/print.h"
#include "document/advance_table.h"
#include "document/document_font.h"
#include "document/store.h"
#include "view/glyph_run.h"
#include "view/line_order.h"

namespace nv {

namespace {

// The sheet as the printer measures it. Drawing coordinates start at the printable area's
// corner, hence the offsets taken off.
struct Sheet {
    int Ydpi = 0;
    std::int32_t ColumnWidth = 0;
    std::int32_t ColumnLeft = 0;
    std::int32_t ColumnRight = 0;
    std::int32_t Top = 0;     // 1.5 inches below the sheet's top edge
    std::int32_t Bottom = 0;  // 1.5 inches above its bottom edge
    std::int32_t Pitch = 0;   // LinesPerPage lines in PageHeightInches
};

Sheet MeasureSheet(HDC printer) {
    Sheet sheet;
    const int xdpi = GetDeviceCaps(printer, LOGPIXELSX);
    sheet.Ydpi = GetDeviceCaps(printer, LOGPIXELSY);
    const int paperWidth = GetDeviceCaps(printer, PHYSICALWIDTH);
    const int paperHeight = GetDeviceCaps(printer, PHYSICALHEIGHT);
    const int offsetX = GetDeviceCaps(printer, PHYSICALOFFSETX);
    const int offsetY = GetDeviceCaps(printer, PHYSICALOFFSETY);
    sheet.ColumnWidth = Doc.TextWidthInches * xdpi;
    sheet.ColumnLeft = (paperWidth - sheet.ColumnWidth) / 2 - offsetX;
    sheet.ColumnRight = sheet.ColumnLeft + sheet.ColumnWidth;
    sheet.Top = 3 * sheet.Ydpi / 2 - offsetY;
    sheet.Bottom = paperHeight - 3 * sheet.Ydpi / 2 - offsetY;
    sheet.Pitch = Doc.PageHeightInches * sheet.Ydpi / Doc.LinesPerPage;
    return sheet;
}

// Creates and selects the print font, measured on this printer, and takes its metrics;
// returns its line height.
std::int32_t SelectPrintFont(HDC printer, const LOGFONTA& font,
                             std::optional<MeasuredFont>* selected) {
    selected->emplace(printer, font, MeasuredFont::Reuse::MeasureNow);
    GetTextMetricsA(printer, &Printing.PrinterFontMetrics);
    return Printing.PrinterFontMetrics.tmHeight + Printing.PrinterFontMetrics.tmExternalLeading;
}

// True when LinesPerPage lines of this height fit a page and every line's visible bytes fit
// the column. The width of a run does not depend on the order of its bytes, so each line is
// measured where it stands in the text.
bool DocumentFits(const AdvanceTable& font, std::int32_t lineHeight, const Sheet& sheet) {
    if (Doc.LinesPerPage * lineHeight > Doc.PageHeightInches * sheet.Ydpi) return false;
    for (std::int32_t i = 0; i < Doc.LineCount; ++i) {
        const LineRecord& line = Doc.LineTable[i];
        const std::int32_t count = VisibleEnd(line) - line.Start + 1;
        std::int32_t width = 0;
        std::int32_t height = 0;
        MeasureWithTable(font, Doc.TextBuffer + line.Start, count, &width, &height);
        if (width > sheet.ColumnWidth) return false;
    }
    return true;
}

}  // namespace

void PrintPageNumber(HDC printer) {
    const Sheet sheet = MeasureSheet(printer);
    SetBkMode(printer, TRANSPARENT);
    // Always 12 points, whatever the document's size.
    LOGFONTA footer = DocumentLogFont(sheet.Ydpi);
    footer.lfHeight = -12 * sheet.Ydpi / 72;
    MeasuredFont font(printer, footer, MeasuredFont::Reuse::MeasureNow);

    char text[32];
    const int length = std::snprintf(text, sizeof text, "%s%i%s", "(", Printing.PageNumber, ")");
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text);
    std::int32_t width = 0;
    std::int32_t height = 0;
    MeasureWithTable(font.Advances(), bytes, length, &width, &height);
    const std::int32_t x = sheet.ColumnLeft + (sheet.ColumnWidth - width) / 2;
    const std::int32_t y = sheet.Bottom + height;  // one text height below the bottom limit
    DrawRun(printer, font.Advances(), x, y, bytes, length);
    ++Printing.PageNumber;
}

bool PrintText(HDC printer) {
    const Sheet sheet = MeasureSheet(printer);
    SetBkMode(printer, TRANSPARENT);
    LOGFONTA request = DocumentLogFont(sheet.Ydpi);
    std::optional<MeasuredFont> font;
    std::int32_t lineHeight = SelectPrintFont(printer, request, &font);

    // One pixel smaller at a time until the whole document fits. A height of 0 would ask for
    // the system's default size, so the smallest height tried is 1 pixel, and a document that
    // fits at no size prints at that.
    while (!DocumentFits(font->Advances(), lineHeight, sheet) && request.lfHeight + 1 < 0) {
        ++request.lfHeight;
        font.reset();
        lineHeight = SelectPrintFont(printer, request, &font);
    }

    std::int32_t y = sheet.Top;
    for (std::int32_t i = 0; i < Doc.LineCount; ++i) {
        // The first line of a sheet is always printed, even on a sheet too short for it.
        if (y > sheet.Top && y + sheet.Pitch > sheet.Bottom) {
            if (EndPage(printer) <= 0 || StartPage(printer) <= 0) return false;
            PrintPageNumber(printer);
            // Some systems reset a printer context's attributes at a new page.
            SelectObject(printer, font->Handle());
            SetBkMode(printer, TRANSPARENT);
            y = sheet.Top;
        }
        const OrderedLine line = OrderLine(printer, i);
        const std::int32_t x = line.LeftToRight ? sheet.ColumnLeft : sheet.ColumnRight - line.Width;
        DrawRun(printer, font->Advances(), x, y, Doc.DrawnLineBytes, line.Count);
        y += sheet.Pitch;
    }
    return true;
}

}  // namespace nv
