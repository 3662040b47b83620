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

namespace {

// The left end of the ink of a line's text, between the column's edges; -1 if there is none.
int InkLeft(const Capture& shot, const TextGeometry& g, int line, int skipColumn) {
    for (int x = g.textLeft; x < g.textRight; ++x) {
        if (x == skipColumn) continue;
        for (int row = 0; row < g.lineHeight; ++row) {
            if (shot.At(x, LineTop(g, line) + row) != 0xFFFFFF) return x;
        }
    }
    return -1;
}

// The status bar's first part: what WM_GETTEXT on the control gives (GetWindowText would
// give the window's own caption, across processes).
std::string StatusBarText(HWND window) {
    HWND bar = FindWindowExA(window, nullptr, "msctls_statusbar32", nullptr);
    Check(bar != nullptr && IsWindowVisible(bar), "no status bar shown");
    char text[128] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutA(bar, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                        5000, &length);
    return std::string(text, std::min<size_t>(length, sizeof text - 1));
}

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

    // The status bar's first part, which is what WM_GETTEXT on the control gives.
    TypeUnicode(L"\x05D0\x05D1");
    Settle(window, 100);
    const std::string status = StatusBarText(window);
    Check(status == "Line 2, Column 3", "status bar after typing on line 2: \"" + status + "\"");
    PressKey(VK_BACK);
    PressKey(VK_BACK);

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
            dark += IsDarkPixel(selected.At(x, LineTop(g, 0) + row));
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
    ExpectNoMessageBox(running.ProcessId(), "while filling the document");
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
    ExpectNoMessageBox(running.ProcessId(), "after typing: a character was refused");
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

// A double click chooses a pointed word, which Copy gives whole; a notch of the wheel then
// scrolls the system's lines per notch, with the caret left where it was.
void WheelAndDoubleClick(const ScenarioContext& context) {
    RunningEditor running(context.exePath);
    StartPastAgreement(running.editor);
    HWND window = running.editor.mainWindow;
    const TextGeometry g = MeasureGeometry(window);
    BringToFront(window);
    const std::string first = "abc \xF9\xC8\xD1\xEC\xE5\xC9\xED xyz";  // shalom, pointed
    std::string text = first;
    for (int line = 1; line < 60; ++line) text += "\nline " + std::to_string(line);
    TypeBytes(window, text);
    PressKey(VK_HOME, true);
    Settle(window, 100);

    // Both presses on the lamed, the middle of the word.
    const int right = g.textRight - TextWidth(window, g, first.substr(0, 7));
    const int left = g.textRight - TextWidth(window, g, first.substr(0, 8));
    ClickClient(window, (left + right) / 2, LineTop(g, 0) + g.lineHeight / 2);
    ClickClient(window, (left + right) / 2, LineTop(g, 0) + g.lineHeight / 2);
    Settle(window, 100);
    EmptyClipboardNow();
    PressKey('C', true);
    Settle(window, 100);
    const std::wstring copied = ClipboardUnicode();
    Check(copied == L"\x05E9\x05B8\x05C1\x05DC\x05D5\x05B9\x05DD",
          "a double click and Copy gave " + std::to_string(copied.size()) + " units");

    UINT lines = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    POINT over{(g.textLeft + g.textRight) / 2, LineTop(g, 5)};
    ClientToScreen(window, &over);
    SetCursorPos(over.x, over.y);
    INPUT wheel = {};
    wheel.type = INPUT_MOUSE;
    wheel.mi.dwFlags = MOUSEEVENTF_WHEEL;
    wheel.mi.mouseData = static_cast<DWORD>(-WHEEL_DELTA);  // toward the user: down the text
    SendInput(1, &wheel, sizeof(INPUT));
    Settle(window, 150);
    Capture scrolled = CaptureClient(window);
    SaveBmp(scrolled, Artifact(context, "wheel_scrolled.bmp"));
    const int top = static_cast<int>(lines);
    ExpectLine(scrolled, window, g, 0, "line " + std::to_string(top), -1,
               "the first line shown after a notch of the wheel");
    Check(StatusBarText(window) == "Line 1, Column 12",
          "the caret moved with the wheel, or the word was not chosen");
    Log("a notch scrolled " + std::to_string(lines) + " lines");
}

}  // namespace

const std::vector<Scenario> TypingScenarios = {
    {"wheel_and_double_click", WheelAndDoubleClick, ""},
    {"typing_latin_hebrew", TypingLatinAndHebrew, ""},
    {"typing_speed", TypingSpeed, ""},
};

}  // namespace e2e
