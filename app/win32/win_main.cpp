// The entry point: registers the window class, creates and shows the main window and runs
// the message loop with the editing accelerators.
// The editor's headers come before <windows.h>, whose macros carry the names of their
// constants.
// clang-format off
#include "platform/win32/win32_platform.h"
#include "app/startup.h"
#include "app/window_proc.h"
#include "commands/named_file.h"
#include "commands/find_commands.h"
#include "commands/settings.h"

#include <windows.h>
#include <commctrl.h>
// clang-format on

namespace {

LRESULT CALLBACK MainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    static const UINT findMessage = RegisterWindowMessageW(FINDMSGSTRINGW);
    if (message == findMessage) lParam = nv::EditorFindRecord(lParam);
    return nv::MainWindowProc(reinterpret_cast<nv::HWND>(window), message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR commandLine, int showCommand) {
    static nv::Win32Platform platform;
    nv::SetCurrentPlatform(&platform);
    nv::SetStartArgument(commandLine);

    // The status bar's class comes from comctl32.
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = MainWindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, "Nivrano");
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszMenuName = "Nivrano";
    windowClass.lpszClassName = "Nivrano";
    if (RegisterClassA(&windowClass) == 0) {
        MessageBoxA(nullptr, "Can not register class", "Nivrano", MB_ICONWARNING);
        return 0;
    }

    HWND window = CreateWindowExA(
        0, "Nivrano", "Nivrano", WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_CLIPCHILDREN, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    // Declining the agreement fails the creation. Not every system sends WM_DESTROY for the
    // half-made window, and without it no quit message would ever end the loop below.
    if (window == nullptr) return 0;

    // Where the user left the window last time, or where the system puts a new one.
    if (!nv::PlaceMainWindow(static_cast<nv::UINT>(showCommand))) ShowWindow(window, showCommand);
    UpdateWindow(window);
    nv::FinishStartUp();

    HACCEL accelerators = LoadAcceleratorsA(instance, "Nivrano");
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0)) {
        // The open Find or Replace dialog takes its own keys (Tab, Enter, Esc). The message
        // came in ANSI, so it goes on as ANSI and the system converts it for the dialog.
        HWND dialog = reinterpret_cast<HWND>(nv::FindReplaceDialog());
        if (dialog != nullptr && IsDialogMessageA(dialog, &message)) continue;
        if (!TranslateAcceleratorA(window, accelerators, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
