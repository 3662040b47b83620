// The time of one keystroke at the start of a full document against the least a window can
// do for one: a window of its own process (this driver started again with --least-window)
// that adds the character to one line and repaints that line once. Both are timed in the
// same run, one after the other, so that the machine's load falls on both alike.
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

void KeystrokeSpeed(const ScenarioContext& context) {
    StartedEditor editor(context.exePath);
    const int size = 32700;
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

    std::vector<double> editorTimes;
    std::vector<double> leastTimes;
    std::vector<double> scrollBar;
    for (int round = 0; round < 400; ++round) {
        editorTimes.push_back(TimeMessage(editor.window, WM_CHAR, 0xE9));
        SendMessageA(editor.window, WM_KEYDOWN, VK_BACK, 1);
        leastTimes.push_back(TimeMessage(leastWindow, WM_CHAR, 0xE9));
        if (round % 10 == 0) {
            scrollBar.push_back(
                static_cast<double>(SendMessageA(leastWindow, TimeScrollBarRedraw, 0, 0)) / 1000);
        }
    }
    ExpectNoMessageBox(editor.ProcessId(), "after typing: a character was refused");

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

    const double editorMedian = Percentile(editorTimes, 50);
    const double editorTail = Percentile(editorTimes, 99);
    const double leastMedian = Percentile(leastTimes, 50);
    const double leastTail = Percentile(leastTimes, 99);
    char line[480];
    std::snprintf(line, sizeof line,
                  "%d-byte document, %zu keystrokes at its start: median %.3f ms, 99th percentile "
                  "%.3f ms, max %.3f ms; least window: median %.3f ms, 99th percentile %.3f ms; "
                  "ratios %.2f and %.2f; a scroll bar redraw: median %.3f ms; Enter at the "
                  "end, scrolling a line: median %.3f ms",
                  size, editorTimes.size(), editorMedian, editorTail, Percentile(editorTimes, 100),
                  leastMedian, leastTail, editorMedian / leastMedian, editorTail / leastTail,
                  Percentile(scrollBar, 50), Percentile(enters, 50));
    Log(line);
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
