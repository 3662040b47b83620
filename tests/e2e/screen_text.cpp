#include "screen_text.h"

#include <algorithm>
#include <cstdio>

namespace e2e {

TextGeometry MeasureGeometry(HWND window, const char* face, int pointSize) {
    TextGeometry g;
    RECT client{};
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    g.logPixelsX = GetDeviceCaps(dc, LOGPIXELSX);
    g.logPixelsY = GetDeviceCaps(dc, LOGPIXELSY);
    g.textLeft = (client.right - 6 * g.logPixelsX) / 2;
    g.textRight = g.textLeft + 6 * g.logPixelsX;
    g.textTop = 3 * g.logPixelsY / 2;
    g.font.lfHeight = -pointSize * g.logPixelsY / 72;
    g.font.lfCharSet = HEBREW_CHARSET;
    std::snprintf(g.font.lfFaceName, LF_FACESIZE, "%s", face);
    HFONT font = CreateFontIndirectA(&g.font);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    g.lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    g.linesPerPage = g.lineHeight > 0 ? 8 * g.logPixelsY / g.lineHeight : 1;
    if (g.linesPerPage < 1) g.linesPerPage = 1;
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(window, dc);
    return g;
}

int LineTop(const TextGeometry& g, int line) { return g.textTop + line * g.lineHeight; }

int TextWidth(HDC dc, const std::string& bytes) {
    int width = 0;
    for (unsigned char byte : bytes) {
        ABC abc{};
        GetCharABCWidthsA(dc, byte, byte, &abc);
        width += abc.abcA + static_cast<int>(abc.abcB) + abc.abcC;
    }
    return width;
}

Capture ExpectedLine(HWND window, const TextGeometry& g, const std::string& bytes, int width) {
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
    int x = g.textRight - TextWidth(dc, bytes);
    // The first byte stands at the right end: draw the reversed line from its left end.
    for (auto it = bytes.rbegin(); it != bytes.rend(); ++it) {
        TextOutA(dc, x, 0, &*it, 1);
        x += TextWidth(dc, std::string(1, *it));
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

int TextWidth(HWND window, const TextGeometry& g, const std::string& bytes) {
    HDC dc = GetDC(window);
    HFONT font = CreateFontIndirectA(&g.font);
    HGDIOBJ old = SelectObject(dc, font);
    int width = TextWidth(dc, bytes);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(window, dc);
    return width;
}

bool IsDarkPixel(DWORD pixel) {
    int r = (pixel >> 16) & 0xFF, gr = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    return r + gr + b < 3 * 96;
}

int DarkRows(const Capture& shot, const TextGeometry& g, int line, int x) {
    int count = 0;
    for (int row = 0; row < g.lineHeight; ++row)
        count += IsDarkPixel(shot.At(x, LineTop(g, line) + row));
    return count;
}

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

void TypeBytes(HWND window, const std::string& bytes) {
    for (unsigned char byte : bytes) {
        if (byte == '\n')
            SendMessageA(window, WM_KEYDOWN, VK_RETURN, 1);
        else
            SendMessageA(window, WM_CHAR, byte, 1);
    }
}

void FillDocument(HWND window, int count, bool lineBreaks) {
    int at = 0;
    int letter = 0;
    while (at < count) {
        if (lineBreaks && letter % 5 == 4 && at + 2 <= count) {
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

double TimeCommand(HWND window, WORD id) {
    LARGE_INTEGER start, end;
    DWORD_PTR result = 0;
    QueryPerformanceCounter(&start);
    bool answered = SendMessageTimeoutA(window, WM_COMMAND, id, 0, SMTO_NORMAL, 30000, &result) &&
                    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
    QueryPerformanceCounter(&end);
    Check(answered, "command " + std::to_string(id) + " did not return");
    return Milliseconds(start, end);
}

double TimeMessage(HWND window, UINT message, WPARAM wParam) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    SendMessageA(window, message, wParam, 1);
    QueryPerformanceCounter(&end);
    return Milliseconds(start, end);
}

double Percentile(std::vector<double> values, int percent) {
    std::sort(values.begin(), values.end());
    std::size_t at = values.size() * static_cast<std::size_t>(percent) / 100;
    return values[std::min(at, values.size() - 1)];
}

std::string Spread(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    char text[80];
    std::snprintf(text, sizeof text, "median %.1f ms (%.1f to %.1f)", times[times.size() / 2],
                  times.front(), times.back());
    return text;
}

}  // namespace e2e
