#include "e2e_steps.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace e2e {

void Check(bool condition, const std::string& what) {
    if (!condition) throw Failure{what};
}

void Log(const std::string& line) {
    std::printf("  %s\n", line.c_str());
    std::fflush(stdout);
}

Editor StartEditor(const std::string& exePath, const std::vector<std::string>& extraEnvironment,
                   const std::string& arguments) {
    // The environment block: the driver's own, then the extra entries.
    std::string environment;
    if (!extraEnvironment.empty()) {
        char* own = GetEnvironmentStringsA();
        for (const char* entry = own; *entry != '\0'; entry += std::strlen(entry) + 1) {
            environment.append(entry);
            environment.push_back('\0');
        }
        FreeEnvironmentStringsA(own);
        for (const std::string& entry : extraEnvironment) {
            environment.append(entry);
            environment.push_back('\0');
        }
        environment.push_back('\0');
    }
    Editor editor;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + exePath + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    BOOL started = CreateProcessA(exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                                  environment.empty() ? nullptr : &environment[0], nullptr,
                                  &startup, &editor.process);
    Check(started != 0, "CreateProcess failed for " + exePath + " (error " +
                            std::to_string(GetLastError()) + ")");
    return editor;
}

int WaitForExit(const Editor& editor, DWORD timeoutMs) {
    if (WaitForSingleObject(editor.process.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(editor.process.hProcess, &code);
    return static_cast<int>(code);
}

void KillEditor(Editor& editor) {
    if (editor.process.hProcess == nullptr) return;
    if (WaitForSingleObject(editor.process.hProcess, 0) != WAIT_OBJECT_0) {
        TerminateProcess(editor.process.hProcess, 99);
        WaitForSingleObject(editor.process.hProcess, 5000);
    }
    CloseHandle(editor.process.hProcess);
    CloseHandle(editor.process.hThread);
    editor.process = PROCESS_INFORMATION{};
}

std::string WindowText(HWND window) {
    char text[4096] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

namespace {

struct WindowSearch {
    DWORD processId;
    const std::string* className;
    const std::string* title;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId) return TRUE;
    if (search->visibleOnly && !IsWindowVisible(window)) return TRUE;
    if (!search->className->empty() && ClassOf(window) != *search->className) return TRUE;
    if (!search->title->empty() && WindowText(window) != *search->title) return TRUE;
    search->found = window;
    return FALSE;
}

BOOL CALLBACK FindStaticText(HWND child, LPARAM param) {
    auto* text = reinterpret_cast<std::string*>(param);
    if (ClassOf(child) == "Static") {
        std::string own = WindowText(child);
        if (!own.empty()) {
            *text = own;
            return FALSE;
        }
    }
    return TRUE;
}

}  // namespace

HWND FindProcessWindow(DWORD processId, const std::string& className, const std::string& title,
                       bool visibleOnly) {
    WindowSearch search{processId, &className, &title, visibleOnly, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForProcessWindow(DWORD processId, const std::string& className, const std::string& title,
                          DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        HWND window = FindProcessWindow(processId, className, title, true);
        if (window != nullptr) return window;
        if (GetTickCount() - start > timeoutMs) return nullptr;
        Sleep(50);
    }
}

std::vector<HWND> ProcessWindows(DWORD processId, const std::string& className) {
    struct Search {
        DWORD processId;
        const std::string& className;
        std::vector<HWND> found;
    } search{processId, className, {}};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->processId && IsWindowVisible(window) && ClassOf(window) == s->className)
                s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

MessageBoxSeen WaitForMessageBox(DWORD processId, DWORD timeoutMs) {
    MessageBoxSeen seen;
    seen.box = WaitForProcessWindow(processId, "#32770", "", timeoutMs);
    Check(seen.box != nullptr, "no message box appeared");
    // The box fills in its children right after it appears.
    for (int tries = 0; tries < 40 && seen.text.empty(); ++tries) {
        EnumChildWindows(seen.box, FindStaticText, reinterpret_cast<LPARAM>(&seen.text));
        if (seen.text.empty()) Sleep(25);
    }
    seen.caption = WindowText(seen.box);
    return seen;
}

void AnswerMessageBox(HWND box, int buttonId) {
    PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(buttonId), 0);
}

bool WaitUntilGone(HWND window, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (IsWindow(window)) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(25);
    }
    return true;
}

void ExpectNoMessageBox(DWORD processId, const std::string& when) {
    if (FindProcessWindow(processId, "#32770", "", true) == nullptr) return;
    MessageBoxSeen seen = WaitForMessageBox(processId, 1000);
    Check(false, "a message box " + when + ": \"" + seen.caption + "\": \"" + seen.text + "\"");
}

void StartPastAgreement(Editor& editor) {
    MessageBoxSeen agreement = WaitForMessageBox(editor.process.dwProcessId, 15000);
    Check(agreement.caption == "Nivrano User Agreement",
          "first box is \"" + agreement.caption + "\", not the agreement");
    AnswerMessageBox(agreement.box, IDYES);
    editor.mainWindow = WaitForProcessWindow(editor.process.dwProcessId, "Nivrano", "", 15000);
    Check(editor.mainWindow != nullptr, "no visible main window after answering Yes");
    Settle(editor.mainWindow, 200);
}

void BringToFront(HWND window) {
    SetForegroundWindow(window);
    SetActiveWindow(window);
    Settle(window, 100);
}

namespace {

INPUT KeyInput(WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

}  // namespace

void PressKey(WORD virtualKey, bool control, bool alt, bool shift) {
    std::vector<INPUT> inputs;
    if (control) inputs.push_back(KeyInput(VK_CONTROL, false));
    if (alt) inputs.push_back(KeyInput(VK_MENU, false));
    if (shift) inputs.push_back(KeyInput(VK_SHIFT, false));
    inputs.push_back(KeyInput(virtualKey, false));
    inputs.push_back(KeyInput(virtualKey, true));
    if (shift) inputs.push_back(KeyInput(VK_SHIFT, true));
    if (alt) inputs.push_back(KeyInput(VK_MENU, true));
    if (control) inputs.push_back(KeyInput(VK_CONTROL, true));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void TypeUnicode(const std::wstring& text) {
    for (wchar_t unit : text) {
        INPUT inputs[2] = {};
        for (int i = 0; i < 2; ++i) {
            inputs[i].type = INPUT_KEYBOARD;
            inputs[i].ki.wScan = unit;
            inputs[i].ki.dwFlags = KEYEVENTF_UNICODE | (i == 1 ? KEYEVENTF_KEYUP : 0);
        }
        SendInput(2, inputs, sizeof(INPUT));
    }
}

void ClickClient(HWND window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    SetCursorPos(point.x, point.y);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

void PostCommand(HWND window, WORD id) { PostMessageA(window, WM_COMMAND, id, 0); }

void Settle(HWND window, DWORD extraMs) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
    Sleep(extraMs);
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
}

namespace {

bool OpenClipboardRetrying() {
    for (int tries = 0; tries < 50; ++tries) {
        if (OpenClipboard(nullptr)) return true;
        Sleep(20);
    }
    return false;
}

}  // namespace

void SetClipboardUnicode(const std::wstring& text) {
    Check(OpenClipboardRetrying(), "cannot open the clipboard");
    EmptyClipboard();
    size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    void* locked = GlobalLock(memory);
    std::memcpy(locked, text.c_str(), bytes);
    GlobalUnlock(memory);
    bool placed = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    Check(placed, "SetClipboardData failed");
}

void EmptyClipboardNow() {
    Check(OpenClipboardRetrying(), "cannot open the clipboard");
    EmptyClipboard();
    CloseClipboard();
}

std::wstring ClipboardUnicode() {
    Check(OpenClipboardRetrying(), "cannot open the clipboard");
    std::wstring text;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (data != nullptr) {
        const auto* units = static_cast<const wchar_t*>(GlobalLock(data));
        if (units != nullptr) text = units;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

namespace {

Capture CaptureFrom(HDC source, int x, int y, int width, int height) {
    Capture capture;
    capture.width = width;
    capture.height = height;
    capture.pixels.assign(static_cast<size_t>(width) * height, 0);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
    GdiFlush();
    const auto* from = static_cast<const DWORD*>(bits);
    for (size_t i = 0; i < capture.pixels.size(); ++i) capture.pixels[i] = from[i] & 0xFFFFFF;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return capture;
}

}  // namespace

Capture CaptureClient(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    Capture capture = CaptureFrom(dc, 0, 0, client.right, client.bottom);
    ReleaseDC(window, dc);
    return capture;
}

Capture CaptureScreenRect(const RECT& screenRect) {
    HDC dc = GetDC(nullptr);
    Capture capture =
        CaptureFrom(dc, screenRect.left, screenRect.top, screenRect.right - screenRect.left,
                    screenRect.bottom - screenRect.top);
    ReleaseDC(nullptr, dc);
    return capture;
}

void SaveBmp(const Capture& capture, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = capture.width;
    header.biHeight = -capture.height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    DWORD pixelBytes = static_cast<DWORD>(capture.pixels.size() * sizeof(DWORD));
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + pixelBytes;
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(reinterpret_cast<const char*>(capture.pixels.data()), pixelBytes);
    Check(out.good(), "cannot write " + path);
}

namespace {

std::vector<MenuItemSeen> ReadMenu(HMENU menu) {
    std::vector<MenuItemSeen> items;
    int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        char text[256] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        Check(GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info) != 0,
              "GetMenuItemInfo failed");
        MenuItemSeen item;
        item.separator = (info.fType & MFT_SEPARATOR) != 0;
        item.text = item.separator ? "" : text;
        item.id = info.hSubMenu != nullptr ? 0 : info.wID;
        item.checked = (info.fState & MFS_CHECKED) != 0;
        item.grayed = (info.fState & MFS_GRAYED) != 0;
        if (info.hSubMenu != nullptr) item.submenu = ReadMenu(info.hSubMenu);
        items.push_back(item);
    }
    return items;
}

}  // namespace

std::vector<MenuItemSeen> ReadMenuResource(const std::string& exePath, const char* name) {
    HMODULE module = LoadLibraryExA(exePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    Check(module != nullptr, "cannot load " + exePath + " as a data file");
    HMENU menu = LoadMenuA(module, name);
    Check(menu != nullptr, std::string("no menu resource ") + name);
    std::vector<MenuItemSeen> items = ReadMenu(menu);
    DestroyMenu(menu);
    FreeLibrary(module);
    return items;
}

std::vector<ACCEL> ReadAcceleratorResource(const std::string& exePath, const char* name) {
    HMODULE module = LoadLibraryExA(exePath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    Check(module != nullptr, "cannot load " + exePath + " as a data file");
    HACCEL table = LoadAcceleratorsA(module, name);
    Check(table != nullptr, std::string("no accelerator resource ") + name);
    std::vector<ACCEL> entries(static_cast<size_t>(CopyAcceleratorTableA(table, nullptr, 0)));
    CopyAcceleratorTableA(table, entries.data(), static_cast<int>(entries.size()));
    DestroyAcceleratorTable(table);
    FreeLibrary(module);
    return entries;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace e2e
