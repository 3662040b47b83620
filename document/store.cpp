#include "document/store.h"

#include <cstring>
#include <new>

#include "document/words.h"

namespace nv {

const char* const FontNameTable[FaceCount] = {
    "Arial",
    "Arial Bold",
    "Arial Italic",
    "Arial Bold Italic",
    "Courier New",
    "Courier New Bold",
    "Courier New Italic",
    "Courier New Bold Italic",
    "Times New Roman",
    "Times New Roman Bold",
    "Times New Roman Italic",
    "Times New Roman Bold Italic",
    "Symbol",
};

DocumentStore Doc;

void ResetDocumentStore() {
    Doc.~DocumentStore();
    new (&Doc) DocumentStore{};
}

void SetEmptyDocument() {
    Doc.TextBuffer[0] = 0;
    Doc.TextLength = 1;
    Doc.LineCount = 1;
    Doc.LineTable[0] = LineRecord{0, 0, 0, 0, 0};
    Doc.SavedText[0] = 0;
    Doc.SavedLength = 1;
    ForgetWordCount();
}

bool EndsWithLineBreak(const LineRecord& line) {
    return line.End >= 1 && Doc.TextBuffer[line.End] == LineFeed &&
           Doc.TextBuffer[line.End - 1] == CarriageReturn;
}

std::int32_t VisibleEnd(const LineRecord& line) {
    if (EndsWithLineBreak(line)) return line.End - 2;
    if (line.End == Doc.TextLength - 1 && Doc.TextBuffer[line.End] == 0) return line.End - 1;
    return line.End;
}

void ShowWarning(const char* text, const char* caption) {
    MessageBoxA(Doc.WarningOwner != nullptr ? Doc.WarningOwner : Doc.MainWindow, text, caption,
                MB_ICONWARNING);
}

}  // namespace nv
