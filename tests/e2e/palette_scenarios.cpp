// End-to-end palette scenarios: real mouse input on the cells and on a held Down button,
// and the palette worked from the keyboard. The bank is read from the screen by comparing
// the indicator's pixels with the label "N_" drawn here in the same font.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "e2e_steps.h"
#include "scenarios.h"

namespace e2e {

namespace {

constexpr int UpButton = 0;
constexpr int DownButton = 1;
constexpr int Indicator = 2;
constexpr int FirstCell = 13;

// The palette as the editor lays it out: 6 inches wide, centred, from 3/8 to 9/8 inch down.
struct PaletteGeometry {
    int eighthX = 12;
    int eighthY = 12;
    int left = 0;
    int textLeft = 0;
    int textRight = 0;
    int textTop = 0;

    RECT Item(int index) const {
        int cellWidth = 3 * eighthX;
        int top = 3 * eighthY, middle = 6 * eighthY, bottom = 9 * eighthY;
        int cellsLeft = left + 18 * eighthX;
        if (index == UpButton) return RECT{left, top, left + 9 * eighthX, middle};
        if (index == DownButton) return RECT{left, middle, left + 9 * eighthX, bottom};
        if (index == Indicator) return RECT{left + 9 * eighthX, top, cellsLeft, bottom};
        int d = index < FirstCell ? index - 3 : index - FirstCell;
        int cellLeft = cellsLeft + d * cellWidth;
        return index < FirstCell ? RECT{cellLeft, top, cellLeft + cellWidth, middle}
                                 : RECT{cellLeft, middle, cellLeft + cellWidth, bottom};
    }
    POINT Centre(int index) const {
        RECT r = Item(index);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
};

PaletteGeometry MeasurePalette(HWND window) {
    PaletteGeometry g;
    RECT client{};
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    int logPixelsX = GetDeviceCaps(dc, LOGPIXELSX);
    int logPixelsY = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(window, dc);
    g.eighthX = logPixelsX / 8;
    g.eighthY = logPixelsY / 8;
    g.left = (client.right - 16 * 3 * g.eighthX) / 2;
    g.textLeft = (client.right - 6 * logPixelsX) / 2;
    g.textRight = g.textLeft + 6 * logPixelsX;
    g.textTop = 3 * logPixelsY / 2;
    return g;
}

// --- Real mouse input -------------------------------------------------------------------

void MouseInput(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

// Moves the pointer as a mouse would, so that the window under it (or the one holding the
// capture) receives WM_MOUSEMOVE.
void MovePointer(HWND window, POINT client) {
    ClientToScreen(window, &client);
    INPUT input{};
    input.type = INPUT_MOUSE;
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    input.mi.dx = static_cast<LONG>((client.x * 65536LL + width / 2) / width);
    input.mi.dy = static_cast<LONG>((client.y * 65536LL + height / 2) / height);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

void PressButton() { MouseInput(MOUSEEVENTF_LEFTDOWN); }
void ReleaseButton() { MouseInput(MOUSEEVENTF_LEFTUP); }

// --- Reading the screen -----------------------------------------------------------------

Capture CaptureItem(HWND window, const PaletteGeometry& g, int index) {
    RECT r = g.Item(index);
    POINT topLeft{r.left, r.top};
    ClientToScreen(window, &topLeft);
    return CaptureScreenRect(
        RECT{topLeft.x, topLeft.y, topLeft.x + r.right - r.left, topLeft.y + r.bottom - r.top});
}

// The indicator for each bank, drawn in a bitmap the size of the indicator with the rule
// the editor uses: Courier New, ANSI, four sevenths of a button's height, centred.
struct IndicatorReader {
    std::vector<Capture> banks;  // index bank - 3

    explicit IndicatorReader(const PaletteGeometry& g) {
        RECT r = g.Item(Indicator);
        int width = r.right - r.left;
        int height = r.bottom - r.top;
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
        LOGFONTA font{};
        font.lfHeight = -(3 * g.eighthY) * 4 / 7;
        font.lfCharSet = ANSI_CHARSET;
        std::snprintf(font.lfFaceName, LF_FACESIZE, "%s", "Courier New");
        HFONT created = CreateFontIndirectA(&font);
        HGDIOBJ oldFont = SelectObject(memory, created);
        TEXTMETRICA metrics{};
        GetTextMetricsA(memory, &metrics);
        SetBkMode(memory, TRANSPARENT);
        SetTextAlign(memory, TA_CENTER | TA_TOP);
        for (int bank = 3; bank <= 25; ++bank) {
            PatBlt(memory, 0, 0, width, height, WHITENESS);
            char text[8];
            int length = std::snprintf(text, sizeof text, "%i_", bank);
            TextOutA(memory, (r.left + r.right) / 2 - r.left, (height - metrics.tmHeight) / 2, text,
                     length);
            GdiFlush();
            Capture picture;
            picture.width = width;
            picture.height = height;
            const auto* from = static_cast<const DWORD*>(bits);
            picture.pixels.assign(from, from + static_cast<size_t>(width) * height);
            for (DWORD& p : picture.pixels) p &= 0xFFFFFF;
            banks.push_back(picture);
        }
        SelectObject(memory, oldFont);
        DeleteObject(created);
        SelectObject(memory, oldBitmap);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
    }

    // Pixels that differ inside the outline (a focus frame may cover the outer two rows).
    static int Difference(const Capture& a, const Capture& b) {
        int differing = 0;
        for (int y = 2; y < a.height - 2; ++y)
            for (int x = 2; x < a.width - 2; ++x)
                if (a.At(x, y) != b.At(x, y)) ++differing;
        return differing;
    }

    // The bank whose label matches; fails when no label matches clearly.
    int Read(const Capture& indicator) const {
        int best = -1, bestDifference = 1 << 30, second = 1 << 30;
        for (size_t k = 0; k < banks.size(); ++k) {
            int difference = Difference(indicator, banks[k]);
            if (difference < bestDifference) {
                second = bestDifference;
                bestDifference = difference;
                best = static_cast<int>(k) + 3;
            } else if (difference < second) {
                second = difference;
            }
        }
        Check(bestDifference * 4 <= second, "the bank indicator matches no label clearly (best " +
                                                std::to_string(best) + " by " +
                                                std::to_string(bestDifference) +
                                                " pixels, next by " + std::to_string(second) + ")");
        return best;
    }
};

int ReadBank(HWND window, const PaletteGeometry& g, const IndicatorReader& reader) {
    return reader.Read(CaptureItem(window, g, Indicator));
}

bool IsDark(DWORD pixel) {
    return ((pixel >> 16) & 0xFF) < 96 && ((pixel >> 8) & 0xFF) < 96 && (pixel & 0xFF) < 96;
}

// The two-pixel focus frame: its rows just above and at the item's top edge are dark from
// its left to its right edge.
bool HasFocusFrame(const Capture& client, const PaletteGeometry& g, int index) {
    RECT r = g.Item(index);
    for (int x = r.left; x < r.right; ++x)
        if (!IsDark(client.At(x, r.top - 1)) || !IsDark(client.At(x, r.bottom))) return false;
    for (int y = r.top; y < r.bottom; ++y)
        if (!IsDark(client.At(r.left - 1, y)) || !IsDark(client.At(r.right, y))) return false;
    return true;
}

// Which of the buttons and cells carries the focus frame; -1 when none does.
int FocusedItem(const Capture& client, const PaletteGeometry& g) {
    int found = -1;
    for (int index : {UpButton, DownButton, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22}) {
        if (!HasFocusFrame(client, g, index)) continue;
        Check(found == -1, "two items carry a focus frame");
        found = index;
    }
    return found;
}

// The second rule above the text, drawn while the text has the keyboard.
bool TextHasFocusRule(const Capture& client, const PaletteGeometry& g) {
    int dark = 0;
    for (int x = g.textLeft; x < g.textRight; ++x) dark += IsDark(client.At(x, g.textTop - 2));
    return dark == g.textRight - g.textLeft;
}

// The first lines of the text area, with the column's rules left out.
Capture TextRows(const Capture& client, const PaletteGeometry& g, int rows) {
    Capture part;
    part.width = g.textRight - g.textLeft;
    part.height = rows;
    for (int y = g.textTop; y < g.textTop + rows; ++y)
        for (int x = g.textLeft; x < g.textRight; ++x) part.pixels.push_back(client.At(x, y));
    return part;
}

void PrepareEditor(RunningEditor& running) {
    StartPastAgreement(running.editor);
    BringToFront(running.editor.mainWindow);
}

// --- Scenarios --------------------------------------------------------------------------

// Clicking cells inserts their characters exactly as typing the same letters does.
void PaletteCellsInsert(const ScenarioContext& context) {
    Capture clicked;
    {
        RunningEditor running(context.exePath);
        PrepareEditor(running);
        HWND window = running.editor.mainWindow;
        PaletteGeometry g = MeasurePalette(window);
        IndicatorReader reader(g);
        Check(ReadBank(window, g, reader) == 22, "the palette does not start at bank 22");
        // Bank 22: cells 4, 5, 6 are alef, bet, gimel (0xE0 to 0xE2); bank 23 cell 0 is zayin.
        for (int cell : {4, 5, 6}) {
            POINT p = g.Centre(FirstCell + cell);
            ClickClient(window, p.x, p.y);
            Settle(window, 50);
        }
        POINT down = g.Centre(DownButton);
        ClickClient(window, down.x, down.y);
        Settle(window, 100);
        Check(ReadBank(window, g, reader) == 23, "a click on Down did not show bank 23");
        POINT vav = g.Centre(FirstCell);
        ClickClient(window, vav.x, vav.y);
        Settle(window, 100);
        Capture client = CaptureClient(window);
        SaveBmp(client, Artifact(context, "palette_cells_clicked.bmp"));
        Check(FocusedItem(client, g) == FirstCell, "the clicked cell does not carry the focus");
        Check(!TextHasFocusRule(client, g), "the text still shows the keyboard focus");
        clicked = TextRows(client, g, 40);
    }
    Capture typed;
    {
        RunningEditor running(context.exePath);
        PrepareEditor(running);
        HWND window = running.editor.mainWindow;
        PaletteGeometry g = MeasurePalette(window);
        TypeUnicode(L"\x05D0\x05D1\x05D2\x05D6");
        Settle(window, 150);
        Capture client = CaptureClient(window);
        SaveBmp(client, Artifact(context, "palette_cells_typed.bmp"));
        typed = TextRows(client, g, 40);
    }
    size_t dark = static_cast<size_t>(std::count_if(clicked.pixels.begin(), clicked.pixels.end(),
                                                    [](DWORD p) { return IsDark(p); }));
    Check(dark > 20, "nothing appeared in the text after clicking cells");
    Check(clicked.pixels == typed.pixels,
          "the clicked characters do not look like the typed alef, bet, gimel, zayin");
}

// Goes to the first bank by the keyboard, so that a repeat has room to run, and rests the
// pointer on the Down button.
void PointAtDownFromFirstBank(HWND window, const PaletteGeometry& g, IndicatorReader& reader) {
    PressKey(VK_TAB, false, false, true);
    PressKey(VK_HOME, true);
    Settle(window, 100);
    Check(ReadBank(window, g, reader) == 3, "Ctrl+Home in the palette did not show bank 3");
    MovePointer(window, g.Centre(DownButton));
    Settle(window, 100);
}

struct Step {
    double ms;
    int bank;
};

// Holding Down steps the bank at the press, after about 400 ms and then about every 100 ms;
// releasing the button stops it.
void PaletteHoldDown(const ScenarioContext& context) {
    RunningEditor running(context.exePath);
    PrepareEditor(running);
    HWND window = running.editor.mainWindow;
    PaletteGeometry g = MeasurePalette(window);
    IndicatorReader reader(g);
    PointAtDownFromFirstBank(window, g, reader);
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    std::vector<Step> steps;
    Capture last = CaptureItem(window, g, Indicator);
    QueryPerformanceCounter(&start);
    PressButton();
    auto elapsed = [&] {
        QueryPerformanceCounter(&now);
        return (now.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart;
    };
    while (elapsed() < 1300) {
        Capture seen = CaptureItem(window, g, Indicator);
        if (seen.pixels != last.pixels) {
            steps.push_back(Step{elapsed(), reader.Read(seen)});
            last = seen;
        }
        Sleep(2);
    }
    // Release before anything slow: a tick due while the screen is captured would step
    // the bank once more, still held.
    ReleaseButton();
    Settle(window, 100);
    int atRelease = ReadBank(window, g, reader);
    SaveBmp(CaptureClient(window), Artifact(context, "palette_hold_down_held.bmp"));
    Settle(window, 400);
    int afterRelease = ReadBank(window, g, reader);
    SaveBmp(CaptureClient(window), Artifact(context, "palette_hold_down_released.bmp"));

    std::string timeline;
    for (const Step& s : steps) {
        char entry[32];
        std::snprintf(entry, sizeof entry, " %d@%.0fms", s.bank, s.ms);
        timeline += entry;
    }
    Log("bank steps:" + timeline);
    Check(steps.size() >= 6, "too few steps while holding Down:" + timeline);
    for (size_t k = 0; k < steps.size(); ++k)
        Check(steps[k].bank == 4 + static_cast<int>(k), "the bank did not step by one:" + timeline);
    Check(steps[0].ms < 150, "the press did not step at once:" + timeline);
    double first = steps[1].ms - steps[0].ms;
    Check(first > 300 && first < 650,
          "the first repeat did not come after about 400 ms:" + timeline);
    std::vector<double> gaps;
    for (size_t k = 2; k < steps.size(); ++k) gaps.push_back(steps[k].ms - steps[k - 1].ms);
    std::sort(gaps.begin(), gaps.end());
    double median = gaps[gaps.size() / 2];
    Check(median > 70 && median < 160, "the repeats did not come about every 100 ms:" + timeline);
    Check(atRelease <= steps.back().bank + 1 && afterRelease == atRelease,
          "the bank moved after the button was released");
}

// Sliding off the held button stops the repeat, and sliding back does not restart it.
void PaletteSlideOff(const ScenarioContext& context) {
    RunningEditor running(context.exePath);
    PrepareEditor(running);
    HWND window = running.editor.mainWindow;
    PaletteGeometry g = MeasurePalette(window);
    IndicatorReader reader(g);
    PointAtDownFromFirstBank(window, g, reader);
    PressButton();
    Sleep(150);
    Check(ReadBank(window, g, reader) == 4, "the press on Down did not show bank 4");
    MovePointer(window, g.Centre(UpButton));  // off the button, still held
    Sleep(800);
    Check(ReadBank(window, g, reader) == 4, "the repeat went on after the pointer left Down");
    MovePointer(window, g.Centre(DownButton));
    Sleep(800);
    SaveBmp(CaptureClient(window), Artifact(context, "palette_slide_off.bmp"));
    Check(ReadBank(window, g, reader) == 4, "the repeat started again when the pointer came back");
    ReleaseButton();
    Settle(window, 100);
    Check(ReadBank(window, g, reader) == 4, "releasing the button moved the bank");
}

// Shift+Tab moves the keyboard to the palette and back; the arrows, Tab, End and Enter work
// the focus, the bank and the cells.
void PaletteKeyboard(const ScenarioContext& context) {
    RunningEditor running(context.exePath);
    PrepareEditor(running);
    HWND window = running.editor.mainWindow;
    PaletteGeometry g = MeasurePalette(window);
    IndicatorReader reader(g);
    auto look = [&](const char* artifact) {
        Settle(window, 80);
        Capture client = CaptureClient(window);
        SaveBmp(client, Artifact(context, artifact));
        return client;
    };

    Capture start = look("palette_keys_start.bmp");
    Check(TextHasFocusRule(start, g), "the text does not show the keyboard focus at start");
    Check(FocusedItem(start, g) == -1, "a palette item shows the focus at start");

    PressKey(VK_TAB, false, false, true);
    Capture entered = look("palette_keys_entered.bmp");
    Check(FocusedItem(entered, g) == UpButton, "Shift+Tab did not focus the Up button");
    Check(!TextHasFocusRule(entered, g), "the text still shows the keyboard focus");

    PressKey(VK_DOWN);
    Check(FocusedItem(look("palette_keys_down.bmp"), g) == DownButton,
          "Down on the Up button did not focus the Down button");
    PressKey(VK_RETURN);
    look("palette_keys_enter_down.bmp");
    Check(ReadBank(window, g, reader) == 23, "Enter on Down did not show bank 23");

    PressKey(VK_TAB);
    PressKey(VK_RIGHT);
    PressKey(VK_RIGHT);
    Check(FocusedItem(look("palette_keys_cell.bmp"), g) == 15,
          "Tab, Right, Right did not focus the third cell");
    PressKey(VK_UP);  // on a cell: the previous bank, the focus stays
    Capture up = look("palette_keys_up.bmp");
    Check(ReadBank(window, g, reader) == 22, "Up on a cell did not show bank 22");
    Check(FocusedItem(up, g) == 15, "Up on a cell moved the focus");

    Capture before = look("palette_keys_before_insert.bmp");
    PressKey(VK_RETURN);  // bank 22, cell 2: code 222
    Capture inserted = look("palette_keys_inserted.bmp");
    Check(TextRows(inserted, g, 40).pixels != TextRows(before, g, 40).pixels,
          "Enter on a cell inserted nothing");
    TypeUnicode(L"x");
    Check(TextRows(look("palette_keys_typed_x.bmp"), g, 40).pixels ==
              TextRows(inserted, g, 40).pixels,
          "a character typed in palette mode reached the text");

    PressKey(VK_TAB, false, false, true);
    Capture left = look("palette_keys_left.bmp");
    Check(TextHasFocusRule(left, g), "Shift+Tab did not give the keyboard back to the text");
    Check(FocusedItem(left, g) == -1, "the palette still shows a focus frame");
    TypeUnicode(L"\x05D0");
    Capture typed = look("palette_keys_typed.bmp");
    Check(TextRows(typed, g, 40).pixels != TextRows(left, g, 40).pixels,
          "typing after Shift+Tab did not reach the text");
}

}  // namespace

const std::vector<Scenario> PaletteScenarios = {
    {"palette_cells_insert", PaletteCellsInsert, ""},
    {"palette_hold_down", PaletteHoldDown, ""},
    {"palette_slide_off", PaletteSlideOff, ""},
    {"palette_keyboard", PaletteKeyboard, ""},
};

}  // namespace e2e
