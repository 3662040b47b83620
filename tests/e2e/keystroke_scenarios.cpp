// The time of one keystroke in a full document, at its start and at its end (where a key
// now and then starts a new line and scrolls the view), against the least a window can do
// for one: a window of its own process (this driver started again with --least-window)
// that adds the character to one line and repaints that line once. Both are timed in the
// same run, in turn, the one that goes first changing every key, so that the machine's
// load falls on both alike.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "e2e_steps.h"
#include "scenarios.h"
#include "screen_text.h"

namespace e2e {

namespace {

constexpr const char* LeastWindowClass = "NivranoLeastWindow";
// Asks the least window to move its scroll bar's thumb with a redraw; answers the
// microseconds that took.
constexpr UINT TimeScrollBarRedraw = WM_APP + 1;

struct LeastWindowState {
    HFONT font = nullptr;
    char line[64] = {};
    int length = 0;
    int lineHeight = 18;
    int thumb = 0;
};
LeastWindowState least;

LRESULT CALLBACK LeastWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CHAR: {
            if (least.length == static_cast<int>(sizeof least.line)) least.length = 0;
            least.line[least.length++] = static_cast<char>(wParam);
            RECT client;
            GetClientRect(window, &client);
            RECT line{0, 0, client.right, least.lineHeight};
            InvalidateRect(window, &line, TRUE);
            UpdateWindow(window);
            return 0;
        }
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            HGDIOBJ old = SelectObject(dc, least.font);
            TextOutA(dc, 10, 0, least.line, least.length);
            SelectObject(dc, old);
            EndPaint(window, &paint);
            return 0;
        }
        case TimeScrollBarRedraw: {
            LARGE_INTEGER start, end;
            least.thumb = (least.thumb + 1) % 50;
            QueryPerformanceCounter(&start);
            SetScrollPos(window, SB_VERT, least.thumb, TRUE);
            QueryPerformanceCounter(&end);
            return static_cast<LRESULT>(Milliseconds(start, end) * 1000);
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

// The window's vertical scroll bar on the screen: right of the client area.
RECT ScrollBarRect(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    POINT topRight{client.right, 0};
    POINT bottomRight{client.right, client.bottom};
    ClientToScreen(window, &topRight);
    ClientToScreen(window, &bottomRight);
    RECT frame;
    GetWindowRect(window, &frame);
    return RECT{topRight.x, topRight.y, frame.right, bottomRight.y};
}

// The keystrokes of one place in the document, the editor's and the least window's.
struct KeystrokeTimes {
    std::vector<double> editor;
    std::vector<double> least;
};

void TimeKeystroke(HWND editor, HWND leastWindow, WPARAM code, KeystrokeTimes* times) {
    const bool leastFirst = times->editor.size() % 2 == 1;
    if (leastFirst) times->least.push_back(TimeMessage(leastWindow, WM_CHAR, code));
    times->editor.push_back(TimeMessage(editor, WM_CHAR, code));
    if (!leastFirst) times->least.push_back(TimeMessage(leastWindow, WM_CHAR, code));
    // The editor idle again, its scroll bar and status bar drawn, before the next key, as
    // between the keys of a writer: the pause lets it take its own posted message before the
    // second round trip of Settle, which then waits for it.
    Settle(editor, 2);
}

std::string Summary(const char* where, const KeystrokeTimes& times) {
    const double median = Percentile(times.editor, 50);
    const double tail = Percentile(times.editor, 99);
    const double leastMedian = Percentile(times.least, 50);
    const double leastTail = Percentile(times.least, 99);
    char text[320];
    std::snprintf(text, sizeof text,
                  "%zu keystrokes at its %s: median %.3f ms, 99th percentile %.3f ms, max %.3f "
                  "ms; least window: median %.3f ms, 99th percentile %.3f ms, max %.3f ms; "
                  "ratios %.2f and %.2f (goals 1.3 and 3: %s)",
                  times.editor.size(), where, median, tail, Percentile(times.editor, 100),
                  leastMedian, leastTail, Percentile(times.least, 100), median / leastMedian,
                  tail / leastTail,
                  median <= 1.3 * leastMedian && tail <= 3 * leastTail ? "met" : "missed");
    return text;
}

void KeystrokeSpeed(const ScenarioContext& context) {
    StartedEditor editor(context.exePath);
    // Room for a block typed at the end.
    const int size = 32600;
    FillDocument(editor.window, size);
    ExpectNoMessageBox(editor.ProcessId(), "while filling the document");
    BringToFront(editor.window);
    PressKey(VK_HOME, true);
    Settle(editor.window, 100);

    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string command = std::string("\"") + self + "\" --least-window";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    Check(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &startup, &process) != 0,
          "the least window's process did not start");
    struct Ender {
        PROCESS_INFORMATION& p;
        ~Ender() {
            TerminateProcess(p.hProcess, 0);
            CloseHandle(p.hThread);
            CloseHandle(p.hProcess);
        }
    } ender{process};
    HWND leastWindow = WaitForProcessWindow(process.dwProcessId, LeastWindowClass, "", 10000);
    Check(leastWindow != nullptr, "the least window did not appear");
    Settle(leastWindow, 100);
    // Out of the editor's way, so that captures of the editor show the editor.
    BringToFront(editor.window);

    // Blocks of 100 keys, at the start and at the end in turn. At the start each letter is
    // taken back at once; at the end a block is words of five letters, typed on from the
    // last line at the bottom of the view, then taken back with Backspace (not timed).
    KeystrokeTimes atStart;
    KeystrokeTimes atEnd;
    std::vector<double> scrollBar;
    const int block = 100;
    for (int round = 0; round < 4; ++round) {
        PressKey(VK_HOME, true);
        Settle(editor.window, 20);
        for (int key = 0; key < block; ++key) {
            TimeKeystroke(editor.window, leastWindow, 0xE9, &atStart);
            SendMessageA(editor.window, WM_KEYDOWN, VK_BACK, 1);
            Settle(editor.window, 2);  // its redraw done too before the next key
            if (key % 10 == 0) {
                scrollBar.push_back(
                    static_cast<double>(SendMessageA(leastWindow, TimeScrollBarRedraw, 0, 0)) /
                    1000);
            }
        }
        ExpectNoMessageBox(editor.ProcessId(),
                           "after typing at the start: a character was refused");
        PressKey(VK_END, true);
        Settle(editor.window, 20);
        for (int key = 0; key < block; ++key) {
            const WPARAM code = key % 6 == 5 ? ' ' : 0xE0 + (key * 7) % 27;
            TimeKeystroke(editor.window, leastWindow, code, &atEnd);
        }
        ExpectNoMessageBox(editor.ProcessId(), "after typing at the end: a character was refused");
        for (int key = 0; key < block; ++key) SendMessageA(editor.window, WM_KEYDOWN, VK_BACK, 1);
    }

    // Enter at the end of the text, on the last line in view: each one scrolls the view by a
    // line and so moves the scroll bar's thumb.
    BringToFront(editor.window);
    PressKey(VK_END, true);
    Settle(editor.window, 100);
    const Capture barBefore = CaptureScreenRect(ScrollBarRect(editor.window));
    std::vector<double> enters;
    for (int round = 0; round < 30; ++round) {
        enters.push_back(TimeMessage(editor.window, WM_KEYDOWN, VK_RETURN));
    }
    ExpectNoMessageBox(editor.ProcessId(), "after Enter at the end");
    Settle(editor.window, 100);
    const Capture barAfter = CaptureScreenRect(ScrollBarRect(editor.window));
    SaveBmp(barAfter, Artifact(context, "keystroke_scroll_bar.bmp"));
    Check(barBefore.pixels != barAfter.pixels, "the scroll bar's thumb did not move on the screen");

    const double slowest = std::max(Percentile(atStart.editor, 100), Percentile(atEnd.editor, 100));
    char line[240];
    std::snprintf(line, sizeof line,
                  "the slowest keystroke %.3f ms (goal: within a 60 Hz frame, 16.7 ms: %s); a "
                  "scroll bar redraw: median %.3f ms; Enter at the end, scrolling a line: "
                  "median %.3f ms",
                  slowest, slowest <= 16.7 ? "met" : "missed", Percentile(scrollBar, 50),
                  Percentile(enters, 50));
    Log(std::to_string(size) + "-byte document, " + Summary("start", atStart) + "; " +
        Summary("end", atEnd) + "; " + line);
    SaveBmp(CaptureClient(editor.window), Artifact(context, "keystroke_speed.bmp"));
}

}  // namespace

int RunLeastWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = LeastWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = LeastWindowClass;
    if (RegisterClassA(&windowClass) == 0) return 1;
    LOGFONTA font{};
    font.lfHeight = -16;
    font.lfCharSet = HEBREW_CHARSET;
    std::strcpy(font.lfFaceName, "Courier New");
    least.font = CreateFontIndirectA(&font);
    HWND window =
        CreateWindowExA(0, LeastWindowClass, "least window", WS_OVERLAPPEDWINDOW | WS_VSCROLL, 0,
                        860, 800, 120, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (window == nullptr) return 1;
    SetScrollRange(window, SB_VERT, 0, 100, FALSE);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

const std::vector<Scenario> KeystrokeScenarios = {
    {"keystroke_speed", KeystrokeSpeed, ""},
};

}  // namespace e2e
