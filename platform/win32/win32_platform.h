// The platform layer over the real system: every call goes to the Win32 function of the
// same name, with handles and records converted between the editor's types and the
// system's.
#pragma once

#include "platform/platform.h"

namespace nv {

class Win32Platform final : public Platform {
public:
    LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostQuitMessage(int exitCode) override;
    BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    DWORD GetQueueStatus(UINT flags) override;
    int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) override;
    BOOL SetWindowTextA(HWND window, const char* text) override;

    HWND CreateWindowExA(DWORD exStyle, const char* className, const char* text, DWORD style, int x,
                         int y, int width, int height, HWND parent, std::uintptr_t id) override;
    BOOL ShowWindow(HWND window, int command) override;
    BOOL GetWindowRect(HWND window, RECT* rect) override;
    BOOL ScreenToClient(HWND window, POINT* point) override;
    BOOL SystemParametersInfoA(UINT action, UINT param, void* value, UINT winIni) override;

    HMENU GetMenu(HWND window) override;
    int EnableMenuItem(HMENU menu, UINT item, UINT flags) override;
    DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags) override;
    BOOL DrawMenuBar(HWND window) override;

    BOOL IsClipboardFormatAvailable(UINT format) override;

    short GetKeyState(int virtualKey) override;
    std::uintptr_t SetTimer(HWND window, std::uintptr_t id, UINT milliseconds) override;
    BOOL KillTimer(HWND window, std::uintptr_t id) override;
    void Sleep(DWORD milliseconds) override;
    HWND SetCapture(HWND window) override;
    BOOL ReleaseCapture() override;

    HDC GetDC(HWND window) override;
    HDC CreateCompatibleDC(HDC dc) override;
    int ReleaseDC(HWND window, HDC dc) override;
    int GetDeviceCaps(HDC dc, int index) override;
    HDC BeginPaint(HWND window, PAINTSTRUCT* paint) override;
    BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) override;
    BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) override;
    BOOL UpdateWindow(HWND window) override;
    BOOL ScrollWindow(HWND window, int dx, int dy, const RECT* scroll, const RECT* clip) override;

    HFONT CreateFontIndirectA(const LOGFONTA* font) override;
    HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) override;
    BOOL DeleteObject(HGDIOBJ object) override;
    BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* metrics) override;
    BOOL GetCharABCWidthsA(HDC dc, UINT first, UINT last, ABC* widths) override;
    BOOL GetCharWidthA(HDC dc, UINT first, UINT last, int* widths) override;

    int SetBkMode(HDC dc, int mode) override;
    UINT SetTextAlign(HDC dc, UINT align) override;
    BOOL TextOutA(HDC dc, int x, int y, const char* text, int count) override;
    int GetClipBox(HDC dc, RECT* rect) override;
    BOOL MoveToEx(HDC dc, int x, int y) override;
    BOOL LineTo(HDC dc, int x, int y) override;
    BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) override;
    BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop) override;

    int SetScrollRange(HWND window, int bar, int minPos, int maxPos, BOOL redraw) override;
    int SetScrollPos(HWND window, int bar, int pos, BOOL redraw) override;
    int GetScrollPos(HWND window, int bar) override;
    BOOL GetScrollRange(HWND window, int bar, int* minPos, int* maxPos) override;

    void* HeapAlloc(DWORD flags, std::size_t bytes) override;
    BOOL HeapFree(void* block) override;

    // Printing.
    BOOL PrintDlgA(PRINTDLGA* record) override;
    int StartDocA(HDC dc, const DOCINFOA* info) override;
    int StartPage(HDC dc) override;
    int EndPage(HDC dc) override;
    int EndDoc(HDC dc) override;
    int AbortDoc(HDC dc) override;
    BOOL DeleteDC(HDC dc) override;

    // Glyphs.
    DWORD GetGlyphIndicesA(HDC dc, const char* text, int count, WORD* indices,
                           DWORD flags) override;
    BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, const WORD* text,
                     UINT count, const int* dx) override;

    // Uniscribe.
    HRESULT ScriptItemize(const WORD* text, int count, int maxItems, const SCRIPT_CONTROL* control,
                          const SCRIPT_STATE* state, SCRIPT_ITEM* items, int* itemCount) override;
    HRESULT ScriptLayout(int runs, const std::uint8_t* levels, int* visualToLogical,
                         int* logicalToVisual) override;
    // Clipboard and global memory.
    BOOL OpenClipboard(HWND owner) override;
    BOOL EmptyClipboard() override;
    HGLOBAL SetClipboardData(UINT format, HGLOBAL block) override;
    HGLOBAL GetClipboardData(UINT format) override;
    BOOL CloseClipboard() override;
    HGLOBAL GlobalAlloc(UINT flags, std::size_t bytes) override;
    void* GlobalLock(HGLOBAL block) override;
    BOOL GlobalUnlock(HGLOBAL block) override;
    std::size_t GlobalSize(HGLOBAL block) override;
    HGLOBAL GlobalFree(HGLOBAL block) override;

    // Files.
    HANDLE CreateFileA(const char* name, DWORD access, DWORD share, DWORD creation,
                       DWORD attributes) override;
    BOOL ReadFile(HANDLE file, void* buffer, DWORD bytes, DWORD* read) override;
    BOOL WriteFile(HANDLE file, const void* buffer, DWORD bytes, DWORD* written) override;
    DWORD GetFileSize(HANDLE file, DWORD* high) override;
    BOOL FlushFileBuffers(HANDLE file) override;
    BOOL CloseHandle(HANDLE file) override;
    DWORD GetFileAttributesA(const char* name) override;
    BOOL MoveFileExA(const char* from, const char* to, DWORD flags) override;
    BOOL DeleteFileA(const char* name) override;
    BOOL SetEndOfFile(HANDLE file) override;
    DWORD SetFilePointer(HANDLE file, LONG distance, DWORD method) override;
    BOOL CreateDirectoryA(const char* path) override;
    HANDLE FindFirstFileA(const char* pattern, WIN32_FIND_DATAA* found) override;
    BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* found) override;
    BOOL FindClose(HANDLE search) override;
    DWORD GetEnvironmentVariableA(const char* name, char* buffer, DWORD size) override;
    DWORD GetCurrentProcessId() override;
    DWORD GetLastError() override;
    DWORD GetFullPathNameA(const char* name, DWORD size, char* buffer) override;
    void GetSystemTimeAsFileTime(FILETIME* now) override;

    void DragAcceptFiles(HWND window, BOOL accept) override;
    UINT DragQueryFileA(HDROP drop, UINT index, char* buffer, UINT size) override;
    void DragFinish(HDROP drop) override;

    // Common file dialogs.
    int MultiByteToWideChar(UINT codePage, DWORD flags, const char* text, int count, WCHAR* units,
                            int size) override;
    int WideCharToMultiByte(UINT codePage, DWORD flags, const WCHAR* units, int count, char* text,
                            int size, const char* defaultChar, BOOL* usedDefault) override;
    BOOL GetOpenFileNameA(OPENFILENAMEA* record) override;
    BOOL GetSaveFileNameA(OPENFILENAMEA* record) override;

    // Messages and the Find and Replace dialogs.
    int MessageBoxW(HWND owner, const WCHAR* text, const WCHAR* caption, UINT type) override;
    UINT RegisterWindowMessageW(const WCHAR* name) override;
    HWND SetActiveWindow(HWND window) override;
    HWND FindTextW(FINDREPLACEW* record) override;
    HWND ReplaceTextW(FINDREPLACEW* record) override;

    // Dialogs, added menu items, the settings file and the window's place.
    INT_PTR DialogBoxParamA(const char* templateName, HWND owner, DLGPROC procedure,
                            LPARAM param) override;
    BOOL EndDialog(HWND dialog, INT_PTR result) override;
    UINT GetDlgItemInt(HWND dialog, int item, BOOL* translated, BOOL isSigned) override;
    BOOL SetDlgItemInt(HWND dialog, int item, UINT value, BOOL isSigned) override;
    LRESULT SendDlgItemMessageA(HWND dialog, int item, UINT message, WPARAM wParam,
                                LPARAM lParam) override;
    BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, std::uintptr_t id,
                     const char* text) override;
    BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) override;
    DWORD GetPrivateProfileStringA(const char* section, const char* key, const char* defaultValue,
                                   char* buffer, DWORD size, const char* fileName) override;
    BOOL WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                    const char* fileName) override;
    BOOL GetWindowPlacement(HWND window, WINDOWPLACEMENT* placement) override;
    BOOL SetWindowPlacement(HWND window, const WINDOWPLACEMENT* placement) override;
    HMONITOR MonitorFromRect(const RECT* rect, DWORD flags) override;
    BOOL GetMonitorInfoA(HMONITOR monitor, MONITORINFO* info) override;
};

// The registered Find and Replace message carries the system's record; the window procedure
// passes the editor's own on, with the Flags the dialog set.
LPARAM EditorFindRecord(LPARAM systemRecord);

}  // namespace nv
