// End-to-end printing on a real printer: a print queue whose output is a file (set up by
// run_e2e.sh, which names the file in NIVRANO_E2E_PRINT_OUTPUT). The scenario types a
// three-sheet Hebrew document, prints it through the real print dialog and keeps the
// printer's output with what the sheets must show, worked out here from the printer's own
// measures; run_e2e.sh then renders the output and checks it (check_printout.py).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "e2e_steps.h"
#include "file_steps.h"
#include "scenarios.h"
#include "screen_text.h"

namespace e2e {

namespace {

// Hebrew words (code page 1255) that lines are made of.
const char* const Words[] = {"\xF1\xF4\xF8", "\xE8\xE5\xE1",     "\xE9\xE5\xED", "\xE0\xF8\xF5",
                             "\xEE\xE9\xED", "\xE1\xE9\xFA",     "\xF2\xE9\xF8", "\xEC\xE9\xEC\xE4",
                             "\xE3\xE1\xF8", "\xE7\xEB\xEE\xE4", "\xF7\xE5\xEC", "\xF6\xE1\xF2"};
const char Shin = '\xF9';

// The document: first three lines of one letter repeated (lamed rises above the others,
// final nun falls below them, alef does neither: a missing-glyph box would look the same
// in all three); then alefs before lameds, which must read right to left with the alefs on
// the right; then lines of words of varied lengths, each starting with shin so that their
// right ends are alike.
std::vector<std::string> PrintedLines(int count) {
    std::vector<std::string> lines = {std::string(12, '\xEC'), std::string(12, '\xE0'),
                                      std::string(12, '\xEF'),
                                      std::string(6, '\xE0') + " " + std::string(6, '\xEC')};
    for (int k = 4; k < count; ++k) {
        std::string line(1, Shin);
        size_t length = 6 + static_cast<size_t>(k * 13 % 34);
        for (int w = k; line.size() < length; ++w) {
            line += ' ';
            line += Words[w % 12];
        }
        lines.push_back(line);
    }
    return lines;
}

// Waits until the printer's output file is complete: it ends with the PostScript end of
// file comment and stops growing.
std::string WaitForPrintout(const std::string& path, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    std::string last;
    for (;;) {
        std::string now = ReadWholeFile(path);
        size_t tail = now.size() > 64 ? now.size() - 64 : 0;
        if (!now.empty() && now == last && now.find("%%EOF", tail) != std::string::npos) return now;
        last = now;
        Check(GetTickCount() - start < timeoutMs,
              "no complete printout in " + path + " (" + std::to_string(now.size()) + " bytes)");
        Sleep(300);
    }
}

// What the sheets must show, in the printer's device units from the sheet's top-left
// corner, worked out with the editor's rules from the default printer's measures.
std::string Expectations(const TextGeometry& screen, const std::vector<std::string>& lines) {
    char printer[256] = {};
    DWORD size = sizeof printer;
    Check(GetDefaultPrinterA(printer, &size) != 0, "no default printer");
    HDC dc = CreateDCA("WINSPOOL", printer, nullptr, nullptr);
    Check(dc != nullptr, std::string("cannot open the printer ") + printer);
    int xdpi = GetDeviceCaps(dc, LOGPIXELSX), ydpi = GetDeviceCaps(dc, LOGPIXELSY);
    int pw = GetDeviceCaps(dc, PHYSICALWIDTH), ph = GetDeviceCaps(dc, PHYSICALHEIGHT);
    int cw = 6 * xdpi;
    int cl = (pw - cw) / 2;  // from the sheet's edge, not the printable area's
    int t = 3 * ydpi / 2, b = ph - 3 * ydpi / 2;
    int pitch = 8 * ydpi / screen.linesPerPage;

    LOGFONTA font{};
    font.lfCharSet = HEBREW_CHARSET;
    std::snprintf(font.lfFaceName, LF_FACESIZE, "%s", "Courier New");
    // The lines and the footer are in the same font.
    font.lfHeight = -12 * ydpi / 72;
    HFONT created = CreateFontIndirectA(&font);
    HGDIOBJ old = SelectObject(dc, created);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    const int lineHeight = metrics.tmHeight;
    std::string widths;
    for (const std::string& line : lines) widths += " " + std::to_string(TextWidth(dc, line));
    SelectObject(dc, old);
    DeleteObject(created);
    DeleteDC(dc);

    // Lines a sheet: a new sheet when the next line would pass the bottom limit.
    std::string sheets;
    int onSheet = 0;
    for (int y = t, k = 0; k < static_cast<int>(lines.size()); ++k, y += pitch, ++onSheet) {
        if (y > t && y + pitch > b) {
            sheets += " " + std::to_string(onSheet);
            onSheet = 0;
            y = t;
        }
    }
    sheets += " " + std::to_string(onSheet);

    char text[512];
    std::snprintf(text, sizeof text,
                  "printer %s\ndpi %d %d\npage %d %d\ncolumn %d %d\ntop %d\nbottom %d\n"
                  "pitch %d\nline_height %d\nfooter %d %d\nsheets%s\n",
                  printer, xdpi, ydpi, pw, ph, cl, cl + cw, t, b, pitch, lineHeight, b + lineHeight,
                  b + 2 * lineHeight, sheets.c_str());
    return std::string(text) + "widths" + widths + "\n";
}

void PrintThreePages(const ScenarioContext& context) {
    const char* set = std::getenv("NIVRANO_E2E_PRINT_OUTPUT");
    const std::string output = set != nullptr ? set : "";
    Check(!output.empty(), "no print queue was set up (NIVRANO_E2E_PRINT_OUTPUT is empty)");
    StartedEditor running(context.exePath);
    HWND window = running.window;
    const TextGeometry screen = MeasureGeometry(window);

    // Two full pages and half of a third.
    std::vector<std::string> lines =
        PrintedLines(2 * screen.linesPerPage + screen.linesPerPage / 2);
    std::string document;
    for (const std::string& line : lines) document += (document.empty() ? "" : "\n") + line;
    TypeBytes(window, document);
    Settle(window, 100);
    SaveBmp(CaptureClient(window), Artifact(context, "print_document.bmp"));

    DeleteFileA(output.c_str());
    PostCommand(window, 40003);
    HWND dialog = WaitForProcessWindow(running.ProcessId(), "#32770", "", 10000);
    Check(dialog != nullptr, "File > Print showed no dialog");
    CaptureWindowTo(dialog, Artifact(context, "print_dialog.bmp"));
    // The print dialog lists the printers in its combo box 0x473 (cmb4).
    if (GetDlgItem(dialog, 0x473) == nullptr) {
        MessageBoxSeen seen = WaitForMessageBox(running.ProcessId(), 1000);
        Check(false, "File > Print showed \"" + seen.caption + "\": \"" + seen.text + "\"");
    }
    ClickDialogButton(dialog, IDOK);
    Check(WaitWaking(
              window, [&] { return !IsWindow(dialog); }, 5000),
          "the print dialog did not close");
    DWORD_PTR result = 0;
    Check(SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result) != 0,
          "the editor did not come back from printing");
    ExpectNoMessageBox(running.ProcessId(), "after printing");

    std::string printout = WaitForPrintout(output, 30000);
    WriteFileBytes(Artifact(context, "print_three_pages.ps"), printout);
    WriteFileBytes(Artifact(context, "print_three_pages.expect"), Expectations(screen, lines));
    Log(std::to_string(lines.size()) + " lines (" + std::to_string(screen.linesPerPage) +
        " a screen page) printed: " + std::to_string(printout.size()) + " bytes of PostScript");
}

}  // namespace

const std::vector<Scenario> PrintScenarios = {
    {"print_three_pages", PrintThreePages, ""},
};

}  // namespace e2e
