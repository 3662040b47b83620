// Prints what the system gives for each of the editor's twelve faces at 12 points in the
// Hebrew character set: the face it chose, weight, italic flag, height and alef's advance.
// Used to check the Wine prefix's font set-up; see README.md.
#include <windows.h>

#include <cstdio>

int main() {
    static const char* const faces[] = {"Arial",
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
                                        "Times New Roman Bold Italic"};
    HDC dc = GetDC(nullptr);
    int logPixelsY = GetDeviceCaps(dc, LOGPIXELSY);
    std::printf("LOGPIXELSY %d, ANSI code page %u\n", logPixelsY, GetACP());
    for (const char* face : faces) {
        LOGFONTA font{};
        font.lfHeight = -12 * logPixelsY / 72;
        font.lfCharSet = HEBREW_CHARSET;
        lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
        HFONT created = CreateFontIndirectA(&font);
        HGDIOBJ old = SelectObject(dc, created);
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc, &metrics);
        char chosen[LF_FACESIZE] = {};
        GetTextFaceA(dc, LF_FACESIZE, chosen);
        ABC alef{};
        GetCharABCWidthsA(dc, 0xE0, 0xE0, &alef);
        // The real face behind a replacement: its full name from the name table.
        char full[256] = {};
        DWORD size = GetOutlineTextMetricsA(dc, 0, nullptr);
        if (size > 0 && size < 65536) {
            static char buffer[65536];
            auto* outline = reinterpret_cast<OUTLINETEXTMETRICA*>(buffer);
            if (GetOutlineTextMetricsA(dc, size, outline))
                lstrcpynA(full, buffer + reinterpret_cast<UINT_PTR>(outline->otmpFullName),
                          sizeof full);
        }
        std::printf(
            "%-28s -> face \"%s\" full \"%s\" weight %ld italic %d height %ld "
            "charset %d alef %d\n",
            face, chosen, full, metrics.tmWeight, metrics.tmItalic, metrics.tmHeight,
            metrics.tmCharSet, alef.abcA + static_cast<int>(alef.abcB) + alef.abcC);
        SelectObject(dc, old);
        DeleteObject(created);
    }
    ReleaseDC(nullptr, dc);
    return 0;
}
