#include "view/status_bar.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "document/layout.h"
#include "document/store.h"
#include "document/words.h"
#include "view/geometry.h"

namespace nv {

namespace {

constexpr std::uintptr_t StatusBarId = 1;

struct StatusBarState {
    HWND Window = nullptr;
    char Shown[StatusPartCount][64] = {};  // what each part holds
};

StatusBarState Bar;

int LogPixelsX() {
    HDC dc = GetDC(Doc.MainWindow);
    const int value = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(Doc.MainWindow, dc);
    return value;
}

// Line and column, page, words, and the rest for the format. The control takes no text for
// a part it does not have, so the parts come before any text.
void SetStatusParts() {
    const int inch = LogPixelsX();
    const int edges[StatusPartCount] = {2 * inch, 3 * inch + inch / 2, 5 * inch, -1};
    SendMessageA(Bar.Window, SB_SETPARTS, StatusPartCount, reinterpret_cast<LPARAM>(edges));
}

}  // namespace

void CreateStatusBar() {
    Bar = StatusBarState{};
    const DWORD visible = Doc.StatusBarShown != 0 ? WS_VISIBLE : 0;
    Bar.Window = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | visible | SBARS_SIZEGRIP, 0, 0,
                                 0, 0, Doc.MainWindow, StatusBarId);
    if (Bar.Window != nullptr) SetStatusParts();
}

std::int32_t PlaceStatusBar() {
    if (Bar.Window == nullptr) return 0;
    // The control takes its place and height from its parent when told of a new size.
    SendMessageA(Bar.Window, WM_SIZE, 0, 0);
    SetStatusParts();
    if (Doc.StatusBarShown == 0) return 0;
    RECT rect;
    if (!GetWindowRect(Bar.Window, &rect)) return 0;
    return std::max<std::int32_t>(rect.bottom - rect.top, 0);
}

void ShowStatusBar(bool shown) {
    Doc.StatusBarShown = shown ? 1 : 0;
    if (Bar.Window == nullptr) return;
    ShowWindow(Bar.Window, shown ? SW_SHOW : SW_HIDE);
    const std::int32_t fullHeight = Geo.ClientHeight + Geo.StatusBarHeight;
    const std::int32_t oldBottom = Geo.ClientHeight;
    Geo.StatusBarHeight = PlaceStatusBar();
    Geo.ClientHeight = fullHeight - Geo.StatusBarHeight;
    const std::int32_t oldTop = Doc.ViewTop;
    Doc.ViewTop = std::clamp(Doc.ViewTop, 0, ScrollMax());
    SetScrollBar(ScrollMax(), Doc.ViewTop);
    if (Doc.ViewTop != oldTop) {
        RECT area{0, Geo.TextTop, Geo.ClientWidth, Geo.ClientHeight};
        InvalidateRect(Doc.MainWindow, &area, 1);
    } else if (Geo.ClientHeight > oldBottom) {
        RECT band{0, oldBottom, Geo.ClientWidth, Geo.ClientHeight};  // where the bar was
        InvalidateRect(Doc.MainWindow, &band, 1);
    }
}

void StatusBarTexts(char (*texts)[64], const char* format) {
    const std::int32_t line = LineOfPosition(Doc.Caret);
    std::snprintf(texts[0], 64, "Line %d, Column %d", line + 1,
                  Doc.Caret - Doc.LineTable[line].Start + 1);
    std::snprintf(texts[1], 64, "Page %d of %d", line / Doc.LinesPerPage + 1, PageCount());
    const std::int32_t total = DocumentWordCount();
    const char* unit = total == 1 ? "word" : "words";
    if (Doc.SelectionActive != 0 && Doc.SelectionStart != Doc.SelectionEnd) {
        const std::int32_t chosen =
            CountWords(Doc.TextBuffer, Doc.TextLength - 1, Doc.SelectionStart, Doc.SelectionEnd);
        std::snprintf(texts[2], 64, "%d of %d %s", chosen, total, unit);
    } else {
        std::snprintf(texts[2], 64, "%d %s", total, unit);
    }
    std::snprintf(texts[3], 64, "%s", format);
}

void PaintStatusBar() {
    if (Bar.Window != nullptr && Doc.StatusBarShown != 0) UpdateWindow(Bar.Window);
}

void UpdateStatusBar(const char* format) {
    if (Bar.Window == nullptr || Doc.StatusBarShown == 0 || Doc.LinesPerPage <= 0) return;
    char texts[StatusPartCount][64];
    StatusBarTexts(texts, format);
    for (int part = 0; part < StatusPartCount; ++part) {
        if (std::strcmp(texts[part], Bar.Shown[part]) == 0) continue;
        std::memcpy(Bar.Shown[part], texts[part], sizeof texts[part]);
        SendMessageA(Bar.Window, SB_SETTEXTA, static_cast<WPARAM>(part),
                     reinterpret_cast<LPARAM>(Bar.Shown[part]));
    }
}

}  // namespace nv
