// Lines in bidirectional order under Wine: a mixed Hebrew line, and its digits selected,
// must look exactly like its visual order typed in Reversed order; and the Unicode
// conformance cases through the system's own Uniscribe, by the editor's own code.
// The editor's headers come before <windows.h>: their constants carry the system's names.
// clang-format off
#include "platform/win32/win32_platform.h"
#include "document/advance_table.h"
#include "tests/support/bidi_cases.h"
// clang-format on

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "e2e_steps.h"
#include "scenarios.h"
#include "screen_text.h"

namespace e2e {

namespace {

// "אב 1948 (גד) abc" in code page 1255, and its visual order "abc (דג) 1948 בא" typed
// backwards, which Reversed order shows as that visual order.
const std::string Mixed = "\xE0\xE1 1948 (\xE2\xE3) abc";
const std::string MixedVisualBackwards = "\xE0\xE1 8491 )\xE2\xE3( cba";

// The client area above the status bar: the arrows move the way they point in
// Bidirectional order, so the caret ends at the other end of the same selection there, and
// the column the bar tells differs.
Capture TextAreaOf(HWND window) {
    Capture capture = CaptureClient(window);
    RECT bar{};
    if (HWND statusBar = FindWindowExA(window, nullptr, "msctls_statusbar32", nullptr);
        statusBar != nullptr && IsWindowVisible(statusBar) && GetWindowRect(statusBar, &bar)) {
        capture.height = std::max(0, capture.height - static_cast<int>(bar.bottom - bar.top));
        capture.pixels.resize(static_cast<size_t>(capture.height) * capture.width);
    }
    return capture;
}

// Empties the document, chooses the order, types the text and puts the caret at its start.
Capture Shown(HWND window, WORD order, const std::string& bytes) {
    PostCommand(window, 41004);  // Select All
    PostCommand(window, 41003);  // Delete
    PostCommand(window, order);
    Settle(window, 100);
    TypeBytes(window, bytes);
    BringToFront(window);
    PressKey(VK_HOME);
    Settle(window, 150);
    return TextAreaOf(window);
}

// Selects the four digits: three characters on from the start, then four with Shift.
Capture DigitsSelected(HWND window) {
    for (int k = 0; k < 3; ++k) PressKey(VK_LEFT);
    for (int k = 0; k < 4; ++k) PressKey(VK_LEFT, false, false, true);
    Settle(window, 150);
    return TextAreaOf(window);
}

int DifferingPixels(const Capture& a, const Capture& b) {
    Check(a.width == b.width && a.height == b.height, "captures of different sizes");
    int differing = 0;
    for (size_t k = 0; k < a.pixels.size(); ++k) differing += a.pixels[k] != b.pixels[k];
    return differing;
}

void MixedLineInBidirectionalOrder(const ScenarioContext& context) {
    StartedEditor started(context.exePath);
    HWND window = started.window;
    const Capture reversedLogical = Shown(window, 46000, Mixed);
    const Capture expected = Shown(window, 46000, MixedVisualBackwards);
    const Capture expectedSelection = DigitsSelected(window);
    const Capture shown = Shown(window, 46001, Mixed);
    const Capture shownSelection = DigitsSelected(window);
    SaveBmp(expected, Artifact(context, "bidi_expected.bmp"));
    SaveBmp(shown, Artifact(context, "bidi_shown.bmp"));
    SaveBmp(reversedLogical, Artifact(context, "bidi_reversed.bmp"));
    SaveBmp(shownSelection, Artifact(context, "bidi_digits_selected.bmp"));
    ExpectNoMessageBox(started.ProcessId(), "after typing");
    Check(DifferingPixels(reversedLogical, shown) > 0,
          "Bidirectional order shows the line as Reversed order does");
    const int text = DifferingPixels(expected, shown);
    Check(text == 0,
          std::to_string(text) + " pixels differ from the visual order typed in Reversed order");
    Check(DifferingPixels(shown, shownSelection) > 0, "the digits' selection is not shown");
    const int selection = DifferingPixels(expectedSelection, shownSelection);
    Check(selection == 0, std::to_string(selection) +
                              " pixels of the selected digits differ from Reversed order's");
}

// Ctrl and the right Shift pressed, then both released, the Shift first, as a writer
// presses Ctrl+Right Shift.
void PressControlRightShift() {
    INPUT inputs[4] = {};
    const WORD keys[4] = {VK_CONTROL, VK_RSHIFT, VK_RSHIFT, VK_CONTROL};
    for (int k = 0; k < 4; ++k) {
        inputs[k].type = INPUT_KEYBOARD;
        inputs[k].ki.wVk = keys[k];
        inputs[k].ki.wScan = static_cast<WORD>(keys[k] == VK_RSHIFT ? 0x36 : 0x1D);
        inputs[k].ki.dwFlags = k >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(4, inputs, sizeof(INPUT));
}

// A Latin paragraph under a Hebrew one stands at the column's left edge, in its own
// direction; Ctrl+Right Shift, with the caret in it, makes it right to left, at the right
// edge: then it looks as Reversed order shows a right-to-left mark before its visual order.
void LatinParagraphUnderHebrew(const ScenarioContext& context) {
    StartedEditor started(context.exePath);
    HWND window = started.window;
    const TextGeometry g = MeasureGeometry(window);
    const Capture expected = Shown(window, 46000,
                                   "\xE0\xE1\n\xFE"
                                   "cba");
    const Capture shown = Shown(window, 46001, "\xE0\xE1\nabc");
    SaveBmp(shown, Artifact(context, "bidi_latin_paragraph.bmp"));
    const int width = TextWidth(window, g, "abc");
    int inside = 0;
    int outside = 0;
    for (int row = 0; row < g.lineHeight; ++row) {
        for (int x = 0; x < shown.width; ++x) {
            if (!IsDarkPixel(shown.At(x, LineTop(g, 1) + row))) continue;
            ++(x >= g.textLeft - 1 && x <= g.textLeft + width + 1 ? inside : outside);
        }
    }
    Check(
        inside > 0 && outside == 0,
        "the Latin paragraph is not drawn from the column's left edge: " + std::to_string(inside) +
            " dark pixels there, " + std::to_string(outside) + " elsewhere on its line");
    PressControlRightShift();
    PressKey(VK_HOME);
    Settle(window, 150);
    const Capture turned = TextAreaOf(window);
    SaveBmp(turned, Artifact(context, "bidi_latin_paragraph_turned.bmp"));
    ExpectNoMessageBox(started.ProcessId(), "after Ctrl+Right Shift");
    const int differing = DifferingPixels(expected, turned);
    Check(differing == 0, std::to_string(differing) +
                              " pixels differ from the paragraph made right to left in Reversed "
                              "order, after Ctrl+Right Shift");
}

// Every case of BidiCharacterTest.txt in code page 1255, of each paragraph direction, by the
// editor's own line order over the system's ScriptItemize and ScriptLayout.
void ConformanceThroughUniscribe(const ScenarioContext&) {
    std::ifstream file("Z:\\usr\\share\\unicode\\BidiCharacterTest.txt");
    Check(static_cast<bool>(file), "no BidiCharacterTest.txt (Debian package unicode-data)");
    const std::vector<nv::test::BidiCase> cases = nv::test::ReadCases(file);
    static nv::Win32Platform platform;
    nv::SetCurrentPlatform(&platform);
    nv::Doc.LineOrderChoice = nv::LineOrderBidirectional;
    HDC screen = GetDC(nullptr);
    auto* dc = reinterpret_cast<nv::HDC>(screen);
    int agree = 0;
    std::string examples;
    {
        nv::LOGFONTA font;
        font.lfHeight = -16;
        font.lfCharSet = HEBREW_CHARSET;
        std::snprintf(font.lfFaceName, sizeof font.lfFaceName, "%s", "Courier New");
        nv::MeasuredFont measured(dc, font, nv::MeasuredFont::Reuse::MeasureNow);
        int shown = 0;
        for (const nv::test::BidiCase& c : cases) {
            const std::string got = nv::test::OrderOfCase(dc, c);
            if (got == c.order) {
                ++agree;
            } else if (shown++ < 5) {
                examples += "\n  " + c.codes + ": " + got + ", expected " + c.order;
            }
        }
    }
    ReleaseDC(nullptr, screen);
    nv::SetCurrentPlatform(nullptr);
    Log("Uniscribe: " + std::to_string(agree) + " of " + std::to_string(cases.size()) +
        " cases in code page 1255 agree with BidiCharacterTest.txt" + examples);
    Check(cases.size() > 7000, "only " + std::to_string(cases.size()) + " cases read");
    // Wine 8's usp10 was measured at all but one: 63 nested bracket pairs, past the
    // algorithm's limit of the bracket stack.
    Check(agree * 100 >= static_cast<int>(cases.size()) * 99, "fewer than 99% agree");
}

// A keystroke at the start of a nearly full document and a full repaint of the text area
// (the order command's own), in each order: the times and their ratios, for a document of
// short paragraphs and for one that is a single paragraph.
void BidiSpeed(const ScenarioContext& context) {
    StartedEditor started(context.exePath);
    HWND window = started.window;
    for (const bool lineBreaks : {true, false}) {
        PostCommand(window, 41004);  // Select All
        PostCommand(window, 41003);  // Delete
        PostCommand(window, 46000);  // typed in Reversed order: no level is known yet
        Settle(window, 100);
        FillDocument(window, 32700, lineBreaks);
        ExpectNoMessageBox(started.ProcessId(), "while filling the document");
        BringToFront(window);
        PressKey(VK_HOME, true);
        Settle(window, 100);
        std::vector<double> typed[2];
        std::vector<double> painted[2];
        for (int round = 0; round < 40; ++round) {
            for (int order = 0; order < 2; ++order) {
                painted[order].push_back(TimeCommand(window, order ? 46001 : 46000));
                typed[order].push_back(TimeMessage(window, WM_CHAR, 0xE9));
                SendMessageA(window, WM_KEYDOWN, VK_DELETE, 1);
            }
        }
        ExpectNoMessageBox(started.ProcessId(), "after typing: a character was refused");
        auto median = [](const std::vector<double>& times) { return Percentile(times, 50); };
        // Page Down in each order in turn, each to lines never shown before; the order
        // command between them orders the page it leaves, untimed.
        std::vector<double> paged[2];
        TimeCommand(window, 46000);
        PressKey(VK_HOME, true);
        Settle(window, 100);
        SendMessageA(window, WM_KEYDOWN, VK_NEXT, 1);  // to the page's bottom, no scroll
        const int rounds = lineBreaks ? 10 : 5;        // as many as the document has pages for
        for (int round = 0; round < rounds; ++round) {
            for (int order = 0; order < 2; ++order) {
                TimeCommand(window, order ? 46001 : 46000);
                paged[order].push_back(TimeMessage(window, WM_KEYDOWN, VK_NEXT));
            }
        }
        auto both = [&](const char* what, const std::vector<double>(&times)[2]) {
            char text[200];
            std::snprintf(text, sizeof text,
                          "%s: Reversed %.2f ms, Bidirectional %.2f ms (ratio %.2f)", what,
                          median(times[0]), median(times[1]), median(times[1]) / median(times[0]));
            return std::string(text);
        };
        // The first repaint in Bidirectional order: a single sample, and in the first document
        // also the program's first use of the system's bidirectional service.
        char first[120];
        std::snprintf(first, sizeof first,
                      ", the first in Bidirectional order %.2f ms (ratio %.2f)", painted[1][0],
                      painted[1][0] / median(painted[0]));
        Log(std::string(lineBreaks ? "short paragraphs" : "one paragraph") + ": " +
            both("keystroke at the start", typed) + "; " +
            both("repaint of the text area", painted) + first + "; " +
            both("Page Down to lines not shown before", paged));
        SaveBmp(CaptureClient(window),
                Artifact(context, lineBreaks ? "bidi_speed.bmp" : "bidi_speed_paragraph.bmp"));
    }
}

}  // namespace

const std::vector<Scenario> BidiScenarios = {
    {"bidi_mixed_line", MixedLineInBidirectionalOrder, ""},
    {"bidi_latin_paragraph", LatinParagraphUnderHebrew, ""},
    {"bidi_conformance_uniscribe", ConformanceThroughUniscribe, ""},
    {"bidi_speed", BidiSpeed, ""},
};

}  // namespace e2e
