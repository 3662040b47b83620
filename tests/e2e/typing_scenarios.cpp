// End-to-end typing: real keyboard input into nivrano.exe, checked on the captured screen,
// and the time one typed character takes on a full document.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "e2e_steps.h"
#include "scenarios.h"
#include "screen_text.h"

namespace e2e {

// The editor's geometry and document font, measured here the way the editor measures them.
TextGeometry MeasureGeometry(HWND window) {
    TextGeometry g;
    RECT client{};
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    g.logPixelsX = GetDeviceCaps(dc, LOGPIXELSX);
    g.logPixelsY = GetDeviceCaps(dc, LOGPIXELSY);
    g.textLeft = (client.right - 6 * g.logPixelsX) / 2;
    g.textRight = g.textLeft + 6 * g.logPixelsX;
    g.textTop = 3 * g.logPixelsY / 2;
    g.font.lfHeight = -12 * g.logPixelsY / 72;
    g.font.lfCharSet = HEBREW_CHARSET;
    std::snprintf(g.font.lfFaceName, LF_FACESIZE, "%s", "Courier New");
    HFONT font = CreateFontIndirectA(&g.font);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    g.lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(window, dc);
    return g;
}

// What a display line holding `bytes` (code page 1255, logical order) must look like: drawn
// right to left from the column's right edge, one character at a time, on white.
static Capture ExpectedLine(HWND window, const TextGeometry& g, const std::string& bytes,
                            int width) {
    HDC screen = GetDC(window);
    HDC dc = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -g.lineHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    PatBlt(dc, 0, 0, width, g.lineHeight, WHITENESS);
    HFONT font = CreateFontIndirectA(&g.font);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    int x = g.textRight;
    for (unsigned char byte : bytes) {
        ABC abc{};
        GetCharABCWidthsA(dc, byte, byte, &abc);
        x -= abc.abcA + static_cast<int>(abc.abcB) + abc.abcC;
    }
    // The first byte stands at the right end: draw the reversed line from its left end.
    for (auto it = bytes.rbegin(); it != bytes.rend(); ++it) {
        ABC abc{};
        GetCharABCWidthsA(dc, static_cast<unsigned char>(*it), static_cast<unsigned char>(*it),
                          &abc);
        TextOutA(dc, x, 0, &*it, 1);
        x += abc.abcA + static_cast<int>(abc.abcB) + abc.abcC;
    }
    GdiFlush();
    Capture capture;
    capture.width = width;
    capture.height = g.lineHeight;
    capture.pixels.resize(static_cast<size_t>(width) * g.lineHeight);
    const DWORD* source = static_cast<const DWORD*>(bits);
    for (size_t k = 0; k < capture.pixels.size(); ++k) capture.pixels[k] = source[k] & 0xFFFFFF;
    SelectObject(dc, oldFont);
    DeleteObject(font);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(window, screen);
    return capture;
}

static int LineTop(const TextGeometry& g, int line) { return g.textTop + line * g.lineHeight; }

static bool IsDark(DWORD pixel) {
    int r = (pixel >> 16) & 0xFF, gr = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    return r + gr + b < 3 * 96;
}

// Rows of a line's band at column x that are dark.
static int DarkRows(const Capture& shot, const TextGeometry& g, int line, int x) {
    int count = 0;
    for (int row = 0; row < g.lineHeight; ++row)
        count += IsDark(shot.At(x, LineTop(g, line) + row));
    return count;
}

// The left end of the ink of a line's text, between the column's edges; -1 if there is none.
static int InkLeft(const Capture& shot, const TextGeometry& g, int line, int skipColumn) {
    for (int x = g.textLeft; x < g.textRight; ++x) {
        if (x == skipColumn) continue;
        for (int row = 0; row < g.lineHeight; ++row) {
            if (shot.At(x, LineTop(g, line) + row) != 0xFFFFFF) return x;
        }
    }
    return -1;
}

int TextWidth(HWND window, const TextGeometry& g, const std::string& bytes) {
    HDC dc = GetDC(window);
    HFONT font = CreateFontIndirectA(&g.font);
    HGDIOBJ old = SelectObject(dc, font);
    int width = 0;
    for (unsigned char byte : bytes) {
        ABC abc{};
        GetCharABCWidthsA(dc, byte, byte, &abc);
        width += abc.abcA + static_cast<int>(abc.abcB) + abc.abcC;
    }
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(window, dc);
    return width;
}

// The line on the screen equals the expected drawing of its bytes, apart from the caret
// column; the caret bar stands one pixel left of the character after it.
void ExpectLine(const Capture& shot, HWND window, const TextGeometry& g, int line,
                const std::string& bytes, int caretX, const std::string& what) {
    Capture expected = ExpectedLine(window, g, bytes, shot.width);
    int differing = 0;
    for (int row = 0; row < g.lineHeight; ++row) {
        for (int x = 0; x < shot.width; ++x) {
            if (x == caretX) continue;
            if (shot.At(x, LineTop(g, line) + row) != expected.At(x, row)) ++differing;
        }
    }
    Check(differing == 0, what + ": " + std::to_string(differing) +
                              " pixels of the line differ from right-aligned, reversed text");
    if (caretX >= 0) {
        Check(DarkRows(shot, g, line, caretX) == g.lineHeight,
              what + ": no full-height caret bar at x " + std::to_string(caretX));
    }
}

namespace {

void TypingLatinAndHebrew(const ScenarioContext& context) {
    RunningEditor running(context.exePath);
    StartPastAgreement(running.editor);
    HWND window = running.editor.mainWindow;
    const TextGeometry g = MeasureGeometry(window);
    BringToFront(window);

    // Latin letters, then shalom typed as Unicode characters: code page 1255 turns them into
    // the bytes 0xF9 0xEC 0xE5 0xED.
    TypeUnicode(L"abc");
    TypeUnicode(L"\x05E9\x05DC\x05D5\x05DD");
    Settle(window, 150);
    const std::string line0 = "abc\xF9\xEC\xE5\xED";
    const int width0 = TextWidth(window, g, line0);
    Capture typed = CaptureClient(window);
    SaveBmp(typed, Artifact(context, "typing_latin_hebrew.bmp"));
    ExpectLine(typed, window, g, 0, line0, g.textRight - width0 - 1, "after typing");
    Check(InkLeft(typed, g, 1, -1) == -1, "ink on the second line after typing one line");

    // Enter: the caret goes to the start of a new line, at the column's right edge.
    PressKey(VK_RETURN);
    Settle(window, 100);
    Capture entered = CaptureClient(window);
    SaveBmp(entered, Artifact(context, "typing_enter.bmp"));
    ExpectLine(entered, window, g, 0, line0, -1, "after Enter");
    Check(DarkRows(entered, g, 1, g.textRight - 1) == g.lineHeight,
          "no caret bar at the right edge of the new line");

    // Backspace takes the whole line break: back to one line with the caret at its end.
    PressKey(VK_BACK);
    Settle(window, 100);
    Capture joined = CaptureClient(window);
    ExpectLine(joined, window, g, 0, line0, g.textRight - width0 - 1, "after Backspace");
    Check(DarkRows(joined, g, 1, g.textRight - 1) == 0, "the second line's caret stayed");

    // Shift+Right twice selects the last two letters (rightward is backward in the text):
    // their cells are inverted.
    PressKey(VK_RIGHT, false, false, true);
    PressKey(VK_RIGHT, false, false, true);
    Settle(window, 100);
    Capture selected = CaptureClient(window);
    SaveBmp(selected, Artifact(context, "typing_shift_select.bmp"));
    const int width5 = TextWidth(window, g, line0.substr(0, 5));
    int dark = 0;
    int cells = 0;
    for (int x = g.textRight - width0; x < g.textRight - width5; ++x) {
        for (int row = 0; row < g.lineHeight; ++row) {
            dark += IsDark(selected.At(x, LineTop(g, 0) + row));
            ++cells;
        }
    }
    Check(dark * 2 > cells, "the two selected letters are not shown inverted");
    PressKey(VK_LEFT, false, false, true);
    PressKey(VK_LEFT, false, false, true);
    Settle(window, 100);
    Capture unselected = CaptureClient(window);
    ExpectLine(unselected, window, g, 0, line0, g.textRight - width0 - 1,
               "after Shift+Left back to the end");
    Log("typed line width " + std::to_string(width0) + " px, line height " +
        std::to_string(g.lineHeight) + " px");
}

// Fills the document with `count` bytes, Latin and Hebrew letters each followed by two
// Tabs (four spaces each) and a line break after every fifth letter, sent one by one so
// that each is handled before the next. The Tabs keep the number of keystrokes to about a
// third of the bytes, so that even a full document fills in seconds.
void FillDocument(HWND window, int count) {
    int at = 0;
    int letter = 0;
    while (at < count) {
        if (letter % 5 == 4 && at + 2 <= count) {
            SendMessageA(window, WM_KEYDOWN, VK_RETURN, 1);
            at += 2;
            ++letter;
            continue;
        }
        WPARAM code = (letter % 2) ? 0xE0 + letter % 27 : 'a' + letter % 26;
        SendMessageA(window, WM_CHAR, code, 1);
        ++at;
        ++letter;
        for (int tab = 0; tab < 2 && at + 4 <= count; ++tab, at += 4) {
            SendMessageA(window, WM_KEYDOWN, VK_TAB, 1);
        }
    }
}

double Milliseconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// The time one typed character takes, round trip from this process, at the start of a
// nearly full document (room is left for the character typed).
void TypingSpeed(const ScenarioContext& context) {
    RunningEditor running(context.exePath);
    StartPastAgreement(running.editor);
    HWND window = running.editor.mainWindow;
    const int size = 32700;
    LARGE_INTEGER fillStart, fillEnd;
    QueryPerformanceCounter(&fillStart);
    FillDocument(window, size);
    QueryPerformanceCounter(&fillEnd);
    Check(FindProcessWindow(running.ProcessId(), "#32770", "", true) == nullptr,
          "a message box while filling the document");
    BringToFront(window);
    PressKey(VK_HOME, true);
    Settle(window, 100);

    std::vector<double> typed;
    std::vector<double> arrows;
    for (int round = 0; round < 20; ++round) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        SendMessageA(window, WM_CHAR, 0xE9, 1);
        QueryPerformanceCounter(&end);
        typed.push_back(Milliseconds(start, end));
        QueryPerformanceCounter(&start);
        SendMessageA(window, WM_KEYDOWN, VK_RIGHT, 1);
        QueryPerformanceCounter(&end);
        arrows.push_back(Milliseconds(start, end));
        SendMessageA(window, WM_KEYDOWN, VK_DELETE, 1);
    }
    Check(FindProcessWindow(running.ProcessId(), "#32770", "", true) == nullptr,
          "a typed character was refused");
    std::sort(typed.begin(), typed.end());
    std::sort(arrows.begin(), arrows.end());
    char line[240];
    std::snprintf(line, sizeof line,
                  "%d-byte document: filling %.2f ms per byte; typed character at its start: "
                  "median %.2f ms, 90th percentile %.2f ms; Right arrow: median %.2f ms",
                  size, Milliseconds(fillStart, fillEnd) / size, typed[typed.size() / 2],
                  typed[typed.size() * 9 / 10], arrows[arrows.size() / 2]);
    Log(line);
    Capture shot = CaptureClient(window);
    SaveBmp(shot, Artifact(context, "typing_speed.bmp"));
}

}  // namespace

const std::vector<Scenario>& TypingScenarios() {
    static const std::vector<Scenario> scenarios = {
        {"typing_latin_hebrew", TypingLatinAndHebrew, ""},
        {"typing_speed", TypingSpeed, ""},
    };
    return scenarios;
}

}  // namespace e2e
