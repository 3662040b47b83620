#include "tests/support/reference_layout.h"

#include <cstring>

#include "document/document_font.h"
#include "document/layout.h"

namespace nv::test {

namespace {

// Copies Start..End reversed into DrawnLineBytes and measures the copy.
void MeasureReversed(HDC dc, std::int32_t start, std::int32_t end, std::int32_t* width,
                     std::int32_t* height) {
    std::int32_t count = end - start + 1;
    for (std::int32_t k = 0; k < count; ++k) Doc.DrawnLineBytes[k] = Doc.TextBuffer[end - k];
    Doc.DrawnLineBytes[count] = 0;
    MeasureRun(dc, Doc.DrawnLineBytes, count, width, height);
}

}  // namespace

ReferenceLayout LayOutLiterally(std::int32_t lineLimit) {
    ReferenceLayout result;
    HDC dc = GetDC(Doc.MainWindow);
    std::int32_t available = Doc.TextWidthInches * GetDeviceCaps(dc, LOGPIXELSX);
    {
        SelectedFont font(dc, DocumentLogFont(GetDeviceCaps(dc, LOGPIXELSY)));
        std::memset(Doc.DrawnLineBytes, 0, sizeof Doc.DrawnLineBytes);
        const std::uint8_t* text = Doc.TextBuffer;
        std::int32_t start = 0;
        std::int32_t spaces = 0;
        std::int32_t lastSpace = -1;
        std::int32_t i = 0;
        auto append = [&](std::int32_t end) {
            if (static_cast<std::int32_t>(result.Lines.size()) == lineLimit) {
                result.LineTableFilled = true;
                return false;
            }
            LineRecord line{start, end, spaces, 0, 0};
            MeasureReversed(dc, start, end, &line.Width, &line.Height);
            result.Lines.push_back(line);
            start = end + 1;
            spaces = 0;
            lastSpace = -1;
            i = start;
            return true;
        };
        while (i < Doc.TextLength) {
            if (text[i] == 13 && text[i + 1] == 10) {
                if (!append(i + 1)) break;
                continue;
            }
            if (i == Doc.TextLength - 1 && text[i] == 0) {
                append(i);
                break;
            }
            std::int32_t width = 0;
            std::int32_t height = 0;
            MeasureReversed(dc, start, i, &width, &height);
            if (width <= available) {
                if (text[i] == ' ') {
                    lastSpace = i;
                    ++spaces;
                }
                ++i;
                continue;
            }
            std::int32_t end;
            if (i == start) {
                end = i;
                if (text[i] == ' ') ++spaces;
            } else if (Doc.WordWrapChoice == 42000) {
                end = i - 1;
                if (text[i] == ' ') {
                    end = i;
                    ++spaces;
                }
            } else {
                if (text[i] == ' ') {
                    lastSpace = i;
                    ++spaces;
                }
                end = spaces > 0 ? lastSpace : i - 1;
            }
            if (!append(end)) break;
        }
    }
    ReleaseDC(Doc.MainWindow, dc);
    return result;
}

}  // namespace nv::test
