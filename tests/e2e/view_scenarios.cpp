// End-to-end view settings: faces and sizes chosen from the menus redraw the text in the new
// font, checked pixel for pixel on the screen; the check marks, read from the pixels of the
// opened menus; the time a face or size change takes on a full document; and what the next
// start remembers.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "e2e_steps.h"
#include "scenarios.h"
#include "screen_text.h"

namespace e2e {

namespace {

// The Font Name menu: twelve faces in three groups of four, with separators between.
const char* const Faces[12] = {"Arial",
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

// The item of an opened popup menu that bears the check mark, read from its pixels; -1 for
// none. `layout` has an entry for each row from the top, true for a separator; the result
// counts only items. The menu was opened from the keyboard, so its first item is
// highlighted: the rows mostly of the highlight colour give the items' height and the
// frame, and the separators share the height that is left. A row's ink is whatever differs
// from its most common colour; a check mark is ink well left of where the other rows' texts
// begin.
int CheckedItem(const Capture& menu, const std::vector<bool>& layout) {
    DWORD highlight = GetSysColor(COLOR_HIGHLIGHT);
    DWORD highlightRgb =
        (GetRValue(highlight) << 16) | (GetGValue(highlight) << 8) | GetBValue(highlight);
    int top = -1, height = 0;
    for (int y = 0; y < menu.height; ++y) {
        int highlighted = 0;
        for (int x = 0; x < menu.width; ++x) highlighted += menu.At(x, y) == highlightRgb;
        if (highlighted * 2 < menu.width) continue;
        if (top < 0) top = y;
        ++height;
    }
    Check(top >= 0 && height > 4, "no highlighted first row in the opened menu");
    int items = static_cast<int>(std::count(layout.begin(), layout.end(), false));
    int separators = static_cast<int>(layout.size()) - items;
    int separatorHeight = separators ? (menu.height - 2 * top - items * height) / separators : 0;
    std::vector<int> inkLeft;  // per item
    int y = top;
    for (bool separator : layout) {
        if (separator) {
            y += separatorHeight;
            continue;
        }
        std::map<DWORD, int> colours;
        for (int row = y; row < y + height; ++row)
            for (int x = top + 1; x < menu.width - top - 1; ++x) ++colours[menu.At(x, row)];
        DWORD background = std::max_element(colours.begin(), colours.end(), [](auto& a, auto& b) {
                               return a.second < b.second;
                           })->first;
        int left = menu.width;
        for (int row = y + 1; row < y + height - 1; ++row)
            for (int x = top + 1; x < left; ++x)
                if (menu.At(x, row) != background) left = x;
        inkLeft.push_back(left);
        y += height;
    }
    std::vector<int> sorted = inkLeft;
    std::sort(sorted.begin(), sorted.end());
    int textStart = sorted[sorted.size() / 2];
    int checked = -1;
    for (int item = 0; item < items; ++item) {
        if (inkLeft[item] >= textStart - 6) continue;
        Check(checked < 0, "two items of the menu bear a check mark");
        checked = item;
    }
    return checked;
}

// Opens a menu of the menu bar with Alt and its letter; with submenu >= 0, also opens that
// item's submenu with Down and Right. Returns the capture of the innermost popup.
Capture OpenMenu(const ScenarioContext& context, RunningEditor& running, char letter, int submenu,
                 const std::string& artifact) {
    HWND window = running.editor.mainWindow;
    BringToFront(window);
    PressKey(static_cast<WORD>(letter), false, true);
    HWND popup = WaitForProcessWindow(running.ProcessId(), "#32768", "", 5000);
    Check(popup != nullptr, std::string("Alt+") + letter + " opened no menu");
    std::vector<HWND> opened{popup};
    if (submenu >= 0) {
        Settle(window, 100);
        for (int k = 0; k < submenu; ++k) PressKey(VK_DOWN);
        PressKey(VK_RIGHT);
        DWORD start = GetTickCount();
        HWND inner = nullptr;
        while (inner == nullptr && GetTickCount() - start < 5000) {
            for (HWND candidate : ProcessWindows(running.ProcessId(), "#32768"))
                if (candidate != popup) inner = candidate;
            if (inner == nullptr) Sleep(50);
        }
        Check(inner != nullptr, "the submenu did not open");
        opened.push_back(inner);
        popup = inner;
    }
    Settle(window, 300);
    RECT rect{};
    GetWindowRect(popup, &rect);
    Capture menu = CaptureScreenRect(rect);
    SaveBmp(menu, Artifact(context, artifact));
    for (size_t k = 0; k <= opened.size(); ++k) PressKey(VK_ESCAPE);
    for (HWND shown : opened)
        Check(WaitUntilGone(shown, 3000) || !IsWindowVisible(shown), "the menu did not close");
    Settle(window, 100);
    return menu;
}

// Rows of the Font Point Size submenu that holds `size`, and the item index of `size` there.
std::vector<bool> SizeSubmenuLayout(int size, int* item) {
    int first = size < 20 ? 8 : size / 10 * 10;
    int last = size < 20 ? 19 : size >= 60 ? 72 : first + 9;
    std::vector<bool> layout;
    for (int n = first; n <= last; ++n) {
        if (n == 10 || n == 70) layout.push_back(true);
        layout.push_back(false);
    }
    *item = size - first;
    return layout;
}

void ExpectCheckMarks(const ScenarioContext& context, RunningEditor& running, int face, int size,
                      bool wrap, const std::string& step) {
    std::vector<bool> faceRows;
    for (int k = 0; k < 12; ++k) {
        if (k == 4 || k == 8) faceRows.push_back(true);
        faceRows.push_back(false);
    }
    auto expect = [&](char letter, int submenu, const std::vector<bool>& rows, int item,
                      const std::string& menu) {
        int checked = CheckedItem(
            OpenMenu(context, running, letter, submenu, menu + "_" + step + ".bmp"), rows);
        Check(checked == item, step + ": the menu " + menu + " checks item " +
                                   std::to_string(checked) + ", expected " + std::to_string(item));
    };
    expect('N', -1, faceRows, face, "view_font_name");
    int sizeItem = 0;
    std::vector<bool> sizeRows = SizeSubmenuLayout(size, &sizeItem);
    expect('P', size < 20 ? 0 : std::min(size / 10 - 1, 5), sizeRows, sizeItem, "view_point_size");
    expect('W', -1, {false, false}, wrap ? 1 : 0, "view_word_wrap");
}

// The palette's two rows of ten cells: 6 inches wide and centred, from 3/8 to 9/8 inch down;
// the cells take the right 30 of its 48 eighths of an inch.
Capture CapturePaletteCells(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    int eighthX = GetDeviceCaps(dc, LOGPIXELSX) / 8, eighthY = GetDeviceCaps(dc, LOGPIXELSY) / 8;
    ReleaseDC(window, dc);
    POINT corner{(client.right - 48 * eighthX) / 2 + 18 * eighthX, 3 * eighthY};
    ClientToScreen(window, &corner);
    return CaptureScreenRect(
        RECT{corner.x, corner.y, corner.x + 30 * eighthX, corner.y + 6 * eighthY});
}

// Three short lines of Hebrew and Latin (code page 1255): shalom olam abc; sefer tov 123;
// letters that rise and fall below the line, and codes no font has a glyph for.
const std::string ViewLines[3] = {"\xF9\xEC\xE5\xED \xF2\xE5\xEC\xED abc",
                                  "\xF1\xF4\xF8 \xE8\xE5\xE1 123",
                                  "\xEC\xEA \xEF\xF3 \xF5\xF7 \xDB\xDC\xFB"};

// A paragraph longer than the column at the larger sizes: it wraps only with word wrap on.
const std::string LongLine = [] {
    std::string line;
    // sefer yerushalayim tov malkhut yom shamayim
    for (int k = 0; k < 4; ++k)
        line +=
            "\xF1\xF4\xF8 \xE9\xF8\xE5\xF9\xEC\xE9\xED \xE8\xE5\xE1 "
            "\xEE\xEC\xEB\xE5\xFA \xE9\xE5\xED \xF9\xEE\xE9\xED ";
    return line;
}();

// The display lines of a paragraph as the editor breaks it at the column's width: before
// the first byte that does not fit, a space staying on its line; with word wrap on, after
// the last space of the line when it holds one.
std::vector<std::string> BreakParagraph(HWND window, const TextGeometry& g, const std::string& text,
                                        bool wrap) {
    const int available = 6 * g.logPixelsX;
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        int width = 0;
        size_t i = start;
        size_t lastSpace = std::string::npos;
        for (; i < text.size(); ++i) {
            width += TextWidth(window, g, text.substr(i, 1));
            if (width > available) break;
            if (text[i] == ' ') lastSpace = i;
        }
        size_t end = text.size() - 1;  // inclusive
        if (i < text.size()) {
            if (i == start || text[i] == ' ')
                end = i;
            else if (wrap && lastSpace != std::string::npos)
                end = lastSpace;
            else
                end = i - 1;
        }
        lines.push_back(text.substr(start, end - start + 1));
        start = end + 1;
    }
    return lines;
}

// Checks the short lines and the long paragraph after them pixel for pixel; returns the
// paragraph's display lines.
std::vector<std::string> ExpectText(const ScenarioContext& context, RunningEditor& running,
                                    int face, int size, bool wrap, const std::string& step) {
    HWND window = running.editor.mainWindow;
    const TextGeometry g = MeasureGeometry(window, Faces[face], size);
    Capture shot = CaptureClient(window);
    SaveBmp(shot, Artifact(context, "view_text_" + step + ".bmp"));
    // The caret is back at the start of the document: a bar at the column's right edge.
    for (int line = 0; line < 3; ++line)
        ExpectLine(shot, window, g, line, ViewLines[line], line == 0 ? g.textRight - 1 : -1,
                   step + ", line " + std::to_string(line));
    Log(step + ": " + Faces[face] + " " + std::to_string(size) + " points, line height " +
        std::to_string(g.lineHeight) + " px, first line " +
        std::to_string(TextWidth(window, g, ViewLines[0])) + " px wide");
    std::vector<std::string> paragraph = BreakParagraph(window, g, LongLine, wrap);
    for (size_t k = 0; k < paragraph.size(); ++k)
        ExpectLine(shot, window, g, static_cast<int>(3 + k), paragraph[k], -1,
                   step + ", paragraph line " + std::to_string(k));
    return paragraph;
}

void ViewFacesAndSizes(const ScenarioContext& context) {
    StartedEditor running(context.exePath);
    HWND window = running.window;
    TypeBytes(window, ViewLines[0] + "\n" + ViewLines[1] + "\n" + ViewLines[2] + "\n" + LongLine);
    Settle(window, 100);
    ExpectCheckMarks(context, running, 4, 12, true, "start");

    // Each step is a command posted to the window, or keys of the real menus: Alt and the
    // menu's letter, then the letters of the items.
    struct Step {
        WORD command;
        const char* keys;
        int face;
        int size;
        const char* name;
    };
    const Step steps[] = {
        {0, "NT", 8, 12, "times"},      // Font Name, Times New Roman
        {0, "PT0", 8, 20, "times_20"},  // Font Point Size, Twenty to Twenty-Nine, 20 Point
        {43001, nullptr, 1, 20, "arial_bold_20"},
        {44009, nullptr, 1, 9, "arial_bold_9"},
        {43010, nullptr, 10, 9, "times_italic_9"},
        {44016, nullptr, 10, 16, "times_italic_16"},
        {43007, nullptr, 7, 16, "courier_bold_it"},
    };
    int face = 4;
    for (const Step& step : steps) {
        Capture cells = CapturePaletteCells(window);
        if (step.keys != nullptr) {
            BringToFront(window);
            PressKey(static_cast<WORD>(step.keys[0]), false, true);
            for (const char* key = step.keys + 1; *key != '\0'; ++key) {
                Settle(window, 100);
                PressKey(static_cast<WORD>(*key));
            }
            // Choosing the item closes the menus, then the command arrives.
            DWORD start = GetTickCount();
            while (!ProcessWindows(running.ProcessId(), "#32768").empty() &&
                   GetTickCount() - start < 3000)
                Sleep(25);
        } else {
            PostCommand(window, step.command);
        }
        Settle(window, 100);
        ExpectText(context, running, step.face, step.size, true, step.name);
        // The palette's cells show the face, not the size.
        bool redrawn = CapturePaletteCells(window).pixels != cells.pixels;
        Check(redrawn == (step.face != face),
              std::string(step.name) + (redrawn ? ": a size change changed the palette's cells"
                                                : ": the palette's cells kept the old face"));
        face = step.face;
    }
    ExpectCheckMarks(context, running, 7, 16, true, "courier_bold_it");

    // Word wrap off: the paragraph breaks inside words, the caret stays where it was.
    std::vector<std::string> wrapped = ExpectText(context, running, 7, 16, true, "wrap_yes");
    PostCommand(window, 42000);
    Settle(window, 100);
    std::vector<std::string> unwrapped = ExpectText(context, running, 7, 16, false, "wrap_no");
    Check(wrapped != unwrapped, "the paragraph breaks alike with and without word wrap");
    ExpectCheckMarks(context, running, 7, 16, false, "wrap_no");
    // The item already checked changes nothing.
    Capture before = CaptureClient(window);
    PostCommand(window, 43007);
    PostCommand(window, 44016);
    PostCommand(window, 42000);
    Settle(window, 100);
    Check(CaptureClient(window).pixels == before.pixels,
          "choosing the checked items changed the screen");
}

// The time a face or size change takes on a full document, from sending the command until
// the window has handled it and everything it posted.
void ViewChangeSpeed(const ScenarioContext& context) {
    StartedEditor running(context.exePath);
    HWND window = running.window;
    const int size = 32767;
    FillDocument(window, size);
    ExpectNoMessageBox(running.ProcessId(), "while filling the document");
    Settle(window, 100);
    // The spread of the times of a series of commands.
    auto time = [&](const std::vector<WORD>& commands) {
        std::vector<double> times;
        for (WORD command : commands) times.push_back(TimeCommand(window, command));
        return Spread(times);
    };
    auto alternate = [](WORD a, WORD b) {
        std::vector<WORD> commands;
        for (int round = 0; round < 20; ++round) commands.push_back(round % 2 ? b : a);
        return commands;
    };
    SendMessageA(window, WM_COMMAND, 44014, 0);
    Capture larger = CaptureClient(window);
    SendMessageA(window, WM_COMMAND, 44012, 0);
    Check(CaptureClient(window).pixels != larger.pixels, "a size change left the screen as it was");
    // Sizes and faces not chosen before (the editor measures them), then ones it has seen.
    std::string newSizes = time({44020, 44030, 44040, 44050, 44060, 44072, 44008});
    std::string knownSizes = time(alternate(44014, 44012));
    std::string newFaces = time({43000, 43001, 43005, 43009, 43010});
    std::string knownFaces = time(alternate(43008, 43004));
    SaveBmp(CaptureClient(window), Artifact(context, "view_change_speed.bmp"));
    Log(std::to_string(size) + "-byte document, from the command until the window is idle: " +
        "a new size " + newSizes + "; a size seen before " + knownSizes + "; a new face " +
        newFaces + "; a face seen before " + knownFaces);
}

// A face, a size, word wrap and the window's place chosen before the editor closed come
// back at the next start: the same paragraph typed then looks the same pixel for pixel, in a
// window of the same place and size, with the menus' check marks where they were left.
void SettingsRememberedAcrossStarts(const ScenarioContext& context) {
    ClearSettings();
    Capture before;
    RECT place{};
    {
        StartedEditor running(context.exePath);
        running.keepSettings = true;
        HWND window = running.window;
        PostCommand(window, 43009);  // Times New Roman Bold
        PostCommand(window, 44020);  // 20 points
        PostCommand(window, 42000);  // word wrap off
        SetWindowPos(window, nullptr, 40, 30, 860, 640, SWP_NOZORDER | SWP_NOACTIVATE);
        Settle(window, 200);
        TypeBytes(window, LongLine);
        Settle(window, 200);
        before = CaptureClient(window);
        SaveBmp(before, Artifact(context, "settings_first_start.bmp"));
        GetWindowRect(window, &place);
        PostMessageA(window, WM_CLOSE, 0, 0);
        MessageBoxSeen question = WaitForMessageBox(running.ProcessId(), 5000);
        Check(question.caption == "Save Current File?", "closing asked no save question");
        AnswerMessageBox(question.box, IDNO);
        Check(WaitForExit(running.editor, 10000) == 0, "closing after No did not end");
    }
    StartedEditor running(context.exePath);
    HWND window = running.window;
    RECT again{};
    GetWindowRect(window, &again);
    Check(EqualRect(&place, &again) != 0,
          "the window came back at (" + std::to_string(again.left) + ", " +
              std::to_string(again.top) + ") " + std::to_string(again.right - again.left) + "x" +
              std::to_string(again.bottom - again.top) + ", not where it was left");
    TypeBytes(window, LongLine);
    Settle(window, 200);
    Capture after = CaptureClient(window);
    SaveBmp(after, Artifact(context, "settings_next_start.bmp"));
    Check(after.width == before.width && after.height == before.height &&
              after.pixels == before.pixels,
          "the paragraph looks otherwise at the next start");
    ExpectCheckMarks(context, running, 9, 20, false, "next_start");
}

}  // namespace

void ClearSettings() {
    char folder[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("APPDATA", folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) return;
    DeleteFileA((std::string(folder) + "\\Nivrano\\Settings.ini").c_str());
}

const std::vector<Scenario> ViewScenarios = {
    {"view_faces_and_sizes", ViewFacesAndSizes, ""},
    {"view_change_speed", ViewChangeSpeed, ""},
    {"settings_remembered_across_starts", SettingsRememberedAcrossStarts, ""},
};

}  // namespace e2e
