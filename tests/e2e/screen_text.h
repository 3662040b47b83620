// The editor's text area measured here with the editor's own rules, and what a display line
// must look like, so that scenarios can check the screen pixel for pixel; and quick ways to
// fill the document.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "e2e_steps.h"

namespace e2e {

// A 6-inch column centred in the client area, the text 1.5 inches down, the document font
// (the face by its full name, the Hebrew character set) and its line height.
struct TextGeometry {
    int logPixelsX = 96;
    int logPixelsY = 96;
    int textLeft = 0;
    int textRight = 0;
    int textTop = 0;
    int lineHeight = 0;
    int linesPerPage = 0;  // of the 8-inch screen page
    LOGFONTA font{};
};
TextGeometry MeasureGeometry(HWND window, const char* face = "Courier New", int pointSize = 12);
int LineTop(const TextGeometry& g, int line);

// A display line holding `bytes` (code page 1255, logical order), drawn here right to left
// from the column's right edge one character at a time on white, `width` pixels wide.
Capture ExpectedLine(HWND window, const TextGeometry& g, const std::string& bytes, int width);
int TextWidth(HWND window, const TextGeometry& g, const std::string& bytes);
// The advances of the bytes in the font selected into dc.
int TextWidth(HDC dc, const std::string& bytes);

bool IsDarkPixel(DWORD pixel);
// Rows of a line's band at column x that are dark.
int DarkRows(const Capture& shot, const TextGeometry& g, int line, int x);
// The line on the screen equals the expected drawing of its bytes, apart from the caret
// column (-1: none), where a full-height caret bar must stand.
void ExpectLine(const Capture& shot, HWND window, const TextGeometry& g, int line,
                const std::string& bytes, int caretX, const std::string& what);

// Types code page 1255 bytes as WM_CHAR messages, '\n' as the Enter key, each handled
// before the next is sent.
void TypeBytes(HWND window, const std::string& bytes);
// Fills the document with `count` bytes, Latin and Hebrew letters each followed by two
// Tabs (four spaces each) and, unless it is to be one paragraph, a line break after every
// fifth letter: about a third of the bytes as keystrokes, so that even a full document
// fills in seconds.
void FillDocument(HWND window, int count, bool lineBreaks = true);

double Milliseconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end);
// Sends a command and returns the milliseconds until the window is idle again.
double TimeCommand(HWND window, WORD id);
// Sends a message and returns the milliseconds it took (the editor paints before it returns).
double TimeMessage(HWND window, UINT message, WPARAM wParam);
// The value `percent` of the way up the sorted values (50: the median).
double Percentile(std::vector<double> values, int percent);
// "median m ms (low to high)" of a few measurements.
std::string Spread(std::vector<double> times);

}  // namespace e2e
