// The platform layer: the Win32 services Nivrano uses, under their Win32 names and with
// their Win32 argument meanings. The editor calls only these; app/win32/ forwards them to
// the real system and tests/support/ implements them over a software framebuffer.
//
// Win32 translation units must include this header before <windows.h>: the constants
// below carry the same names as the system's macros.
#pragma once

#include <cstddef>
#include <cstdint>

namespace nv {

using BOOL = int;
using UINT = std::uint32_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using WORD = std::uint16_t;
using WCHAR = char16_t;  // a UTF-16 code unit
using HRESULT = std::int32_t;

// Opaque handles. Each world maps them to its own objects.
struct WindowObject;
struct DeviceContextObject;
struct GdiObject;
struct MenuObject;
struct KernelObject;
struct GlobalMemoryObject;
using HWND = WindowObject*;
using HDC = DeviceContextObject*;
using HGDIOBJ = GdiObject*;
using HFONT = GdiObject*;
using HMENU = MenuObject*;
using HANDLE = KernelObject*;  // an open file
using HGLOBAL = GlobalMemoryObject*;
struct DropObject;
using HDROP = DropObject*;  // the files of one drag and drop

struct RECT {
    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;
};

struct PAINTSTRUCT {
    HDC hdc = nullptr;
    BOOL fErase = 0;
    RECT rcPaint;
};

constexpr int LF_FACESIZE = 32;

struct LOGFONTA {
    LONG lfHeight = 0;
    LONG lfWidth = 0;
    LONG lfEscapement = 0;
    LONG lfOrientation = 0;
    LONG lfWeight = 0;
    std::uint8_t lfItalic = 0;
    std::uint8_t lfUnderline = 0;
    std::uint8_t lfStrikeOut = 0;
    std::uint8_t lfCharSet = 0;
    std::uint8_t lfOutPrecision = 0;
    std::uint8_t lfClipPrecision = 0;
    std::uint8_t lfQuality = 0;
    std::uint8_t lfPitchAndFamily = 0;
    char lfFaceName[LF_FACESIZE] = {};
};

struct TEXTMETRICA {
    LONG tmHeight = 0;
    LONG tmAscent = 0;
    LONG tmDescent = 0;
    LONG tmInternalLeading = 0;
    LONG tmExternalLeading = 0;
    LONG tmAveCharWidth = 0;
    LONG tmMaxCharWidth = 0;
    LONG tmWeight = 0;
    LONG tmOverhang = 0;
    LONG tmDigitizedAspectX = 0;
    LONG tmDigitizedAspectY = 0;
    std::uint8_t tmFirstChar = 0;
    std::uint8_t tmLastChar = 0;
    std::uint8_t tmDefaultChar = 0;
    std::uint8_t tmBreakChar = 0;
    std::uint8_t tmItalic = 0;
    std::uint8_t tmUnderlined = 0;
    std::uint8_t tmStruckOut = 0;
    std::uint8_t tmPitchAndFamily = 0;
    std::uint8_t tmCharSet = 0;
};

// The fields of the common file dialog record the editor fills.
struct OPENFILENAMEA {
    DWORD lStructSize = 0;
    HWND hwndOwner = nullptr;
    const char* lpstrFilter = nullptr;
    DWORD nFilterIndex = 0;
    char* lpstrFile = nullptr;
    DWORD nMaxFile = 0;
    char* lpstrFileTitle = nullptr;
    DWORD nMaxFileTitle = 0;
    DWORD Flags = 0;
    const char* lpstrDefExt = nullptr;
};

// Printing: the fields of the print dialog record the editor uses, and a print job's name.
struct PRINTDLGA {
    DWORD lStructSize = 0;
    HWND hwndOwner = nullptr;
    HGLOBAL hDevMode = nullptr;
    HGLOBAL hDevNames = nullptr;
    HDC hDC = nullptr;
    DWORD Flags = 0;
};

struct DOCINFOA {
    int cbSize = 0;
    const char* lpszDocName = nullptr;
    const char* lpszOutput = nullptr;
    const char* lpszDatatype = nullptr;
    DWORD fwType = 0;
};

struct FILETIME {
    DWORD dwLowDateTime = 0;
    DWORD dwHighDateTime = 0;
};

// What FindFirstFileA and FindNextFileA tell of a file: the fields the editor reads.
struct WIN32_FIND_DATAA {
    DWORD dwFileAttributes = 0;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh = 0;
    DWORD nFileSizeLow = 0;
    char cFileName[260] = {};
};

// The Find and Replace dialogs' record. It stays alive while its modeless dialog is open:
// the dialog writes the texts and Flags into it before each registered message it sends.
struct FINDREPLACEW {
    DWORD lStructSize = 0;
    HWND hwndOwner = nullptr;
    DWORD Flags = 0;
    WCHAR* lpstrFindWhat = nullptr;
    WCHAR* lpstrReplaceWith = nullptr;
    WORD wFindWhatLen = 0;
    WORD wReplaceWithLen = 0;
};

struct ABC {
    int abcA = 0;
    UINT abcB = 0;
    int abcC = 0;
};

// Uniscribe's records for the bidirectional levels of a paragraph, declared field for field
// as the system declares them.
struct SCRIPT_CONTROL {
    DWORD uDefaultLanguage : 16;
    DWORD fContextDigits : 1;
    DWORD fInvertPreBoundDir : 1;
    DWORD fInvertPostBoundDir : 1;
    DWORD fLinkStringBefore : 1;
    DWORD fLinkStringAfter : 1;
    DWORD fNeutralOverride : 1;
    DWORD fNumericOverride : 1;
    DWORD fLegacyBidiClass : 1;
    DWORD fMergeNeutralItems : 1;
    DWORD fUseStandardBidi : 1;
    DWORD fReserved : 6;
};

struct SCRIPT_STATE {
    WORD uBidiLevel : 5;
    WORD fOverrideDirection : 1;
    WORD fInhibitSymSwap : 1;
    WORD fCharShape : 1;
    WORD fDigitSubstitute : 1;
    WORD fInhibitLigate : 1;
    WORD fDisplayZWG : 1;
    WORD fArabicNumContext : 1;
    WORD fGcpClusters : 1;
    WORD fReserved : 1;
    WORD fEngineReserved : 2;
};

struct SCRIPT_ANALYSIS {
    WORD eScript : 10;
    WORD fRTL : 1;
    WORD fLayoutRTL : 1;
    WORD fLinkBefore : 1;
    WORD fLinkAfter : 1;
    WORD fLogicalOrder : 1;
    WORD fNoGlyphIndex : 1;
    SCRIPT_STATE s;
};

struct SCRIPT_ITEM {
    int iCharPos;
    SCRIPT_ANALYSIS a;
};

constexpr HRESULT S_OK = 0;
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);

// Messages.
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUERYENDSESSION = 0x0011;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP =
    0x0101;  // lParam bits 16-23: the scan code (Shift: 0x2A left, 0x36 right)
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_VSCROLL = 0x0115;
constexpr UINT WM_INITMENUPOPUP = 0x0117;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_CAPTURECHANGED = 0x0215;
constexpr UINT WM_DROPFILES = 0x0233;
constexpr UINT WM_NCLBUTTONDOWN = 0x00A1;
constexpr UINT WM_APP = 0x8000;
// GetQueueStatus: keys and mouse clicks waiting in the thread's input queue.
constexpr UINT QS_KEY = 0x0001;
constexpr UINT QS_MOUSEBUTTON = 0x0004;

// Message boxes and their answers.
constexpr UINT MB_OK = 0x0000;
constexpr UINT MB_YESNOCANCEL = 0x0003;
constexpr UINT MB_YESNO = 0x0004;
constexpr UINT MB_ICONQUESTION = 0x0020;
constexpr UINT MB_ICONWARNING = 0x0030;
constexpr UINT MB_ICONINFORMATION = 0x0040;
constexpr UINT MB_DEFBUTTON2 = 0x0100;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Virtual keys.
constexpr UINT VK_BACK = 0x08;
constexpr UINT VK_TAB = 0x09;
constexpr UINT VK_RETURN = 0x0D;
constexpr UINT VK_SHIFT = 0x10;
constexpr UINT VK_CONTROL = 0x11;
constexpr UINT VK_MENU = 0x12;  // Alt
constexpr UINT VK_ESCAPE = 0x1B;
constexpr UINT VK_SPACE = 0x20;
constexpr UINT VK_PRIOR = 0x21;
constexpr UINT VK_NEXT = 0x22;
constexpr UINT VK_END = 0x23;
constexpr UINT VK_HOME = 0x24;
constexpr UINT VK_LEFT = 0x25;
constexpr UINT VK_UP = 0x26;
constexpr UINT VK_RIGHT = 0x27;
constexpr UINT VK_DOWN = 0x28;
constexpr UINT VK_DELETE = 0x2E;

// Scroll bar.
constexpr int SB_VERT = 1;
constexpr UINT SB_LINEUP = 0;
constexpr UINT SB_LINEDOWN = 1;
constexpr UINT SB_PAGEUP = 2;
constexpr UINT SB_PAGEDOWN = 3;
constexpr UINT SB_THUMBPOSITION = 4;
constexpr UINT SB_THUMBTRACK = 5;
constexpr UINT SB_TOP = 6;
constexpr UINT SB_BOTTOM = 7;
constexpr UINT SB_ENDSCROLL = 8;

// GDI.
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
constexpr UINT TA_LEFT = 0;
constexpr UINT TA_TOP = 0;
constexpr UINT TA_CENTER = 6;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr std::uint8_t ANSI_CHARSET = 0;
constexpr std::uint8_t HEBREW_CHARSET = 177;
constexpr std::uint8_t TMPF_TRUETYPE = 0x04;

// Printing.
constexpr int TECHNOLOGY = 2;
constexpr int DT_RASDISPLAY = 1;
constexpr int DT_RASPRINTER = 2;
constexpr int PHYSICALWIDTH = 110;
constexpr int PHYSICALHEIGHT = 111;
constexpr int PHYSICALOFFSETX = 112;
constexpr int PHYSICALOFFSETY = 113;
constexpr DWORD PD_NOSELECTION = 0x00000004;
constexpr DWORD PD_NOPAGENUMS = 0x00000008;
constexpr DWORD PD_RETURNDC = 0x00000100;
constexpr DWORD PD_USEDEVMODECOPIESANDCOLLATE = 0x00040000;
constexpr DWORD PD_HIDEPRINTTOFILE = 0x00100000;

// Glyphs.
constexpr UINT ETO_GLYPH_INDEX = 0x0010;
constexpr DWORD GGI_MARK_NONEXISTING_GLYPHS = 0x0001;
constexpr WORD NonexistingGlyph = 0xFFFF;  // what GGI_MARK_NONEXISTING_GLYPHS marks with
constexpr DWORD GDI_ERROR = 0xFFFFFFFF;

// Menus and clipboard.
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT CF_UNICODETEXT = 13;

// Memory.
constexpr DWORD HEAP_ZERO_MEMORY = 0x00000008;

// Clipboard and global memory.
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GMEM_DDESHARE = 0x2000;

// Files.
constexpr int MAX_PATH = 260;
constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;
constexpr DWORD FILE_SHARE_READ = 0x00000001;
constexpr DWORD FILE_SHARE_WRITE = 0x00000002;
constexpr DWORD FILE_SHARE_DELETE = 0x00000004;
constexpr DWORD CREATE_NEW = 1;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD OPEN_ALWAYS = 4;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x00000010;
constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFF;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
constexpr DWORD FILE_BEGIN = 0;
constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFF;
constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x00000001;
constexpr DWORD MOVEFILE_WRITE_THROUGH = 0x00000008;
constexpr DWORD ERROR_ALREADY_EXISTS = 183;
// Code page conversions.
constexpr UINT CP_UTF8 = 65001;
constexpr DWORD MB_ERR_INVALID_CHARS = 0x00000008;
constexpr DWORD WC_NO_BEST_FIT_CHARS = 0x00000400;
inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(~std::uintptr_t{0});

// Common file dialogs.
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;

// Find and Replace dialogs.
constexpr DWORD FR_DOWN = 0x00000001;
constexpr DWORD FR_WHOLEWORD = 0x00000002;
constexpr DWORD FR_MATCHCASE = 0x00000004;
constexpr DWORD FR_FINDNEXT = 0x00000008;
constexpr DWORD FR_REPLACE = 0x00000010;
constexpr DWORD FR_REPLACEALL = 0x00000020;
constexpr DWORD FR_DIALOGTERM = 0x00000040;
constexpr const WCHAR* FINDMSGSTRINGW = u"commdlg_FindReplace";

// Dialog boxes from the exe's resources, the menu items the editor adds, the settings file
// and the window's place on the screens.
using INT_PTR = std::intptr_t;
using DLGPROC = INT_PTR (*)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
struct MonitorObject;
using HMONITOR = MonitorObject*;

// The status bar control, the mouse wheel and double clicks.
struct POINT {
    LONG x = 0;
    LONG y = 0;
};

struct WINDOWPLACEMENT {
    UINT length = 0;
    UINT flags = 0;
    UINT showCmd = 0;
    POINT ptMinPosition;
    POINT ptMaxPosition;
    RECT rcNormalPosition;
};

struct MONITORINFO {
    DWORD cbSize = 0;
    RECT rcMonitor;
    RECT rcWork;
    DWORD dwFlags = 0;
};

constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT EM_SETSEL = 0x00B1;
constexpr UINT EM_LIMITTEXT = 0x00C5;
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT SW_SHOWNORMAL = 1;
constexpr UINT SW_SHOWMINIMIZED = 2;
constexpr UINT SW_SHOWMAXIMIZED = 3;
constexpr UINT SW_SHOWDEFAULT = 10;
constexpr UINT WPF_RESTORETOMAXIMIZED = 0x0002;
constexpr DWORD MONITOR_DEFAULTTONULL = 0;
constexpr DWORD MONITOR_DEFAULTTONEAREST = 2;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_MOUSEWHEEL = 0x020A;
constexpr int WHEEL_DELTA = 120;
constexpr UINT SPI_GETWHEELSCROLLLINES = 0x0068;
constexpr UINT WHEEL_PAGESCROLL = 0xFFFFFFFF;  // a notch scrolls a screenful
constexpr const char* STATUSCLASSNAMEA = "msctls_statusbar32";
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD SBARS_SIZEGRIP = 0x0100;
constexpr UINT SB_SETTEXTA = 0x0401;  // WM_USER + 1: wParam the part, lParam the text
constexpr UINT SB_SETPARTS = 0x0404;  // wParam the count, lParam the right edges (-1: to the end)
constexpr int SW_HIDE = 0;
constexpr int SW_SHOW = 5;

inline UINT LOWORD(std::uintptr_t v) { return static_cast<UINT>(v & 0xFFFF); }
inline UINT HIWORD(std::uintptr_t v) { return static_cast<UINT>((v >> 16) & 0xFFFF); }

// The services, one virtual per Win32 call. Each world provides one instance.
class Platform {
public:
    virtual ~Platform() = default;

    // Windows and messages.
    virtual LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual void PostQuitMessage(int exitCode) = 0;
    virtual BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual DWORD GetQueueStatus(UINT flags) = 0;
    virtual int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) = 0;
    virtual BOOL SetWindowTextA(HWND window, const char* text) = 0;
    virtual int MessageBoxW(HWND owner, const WCHAR* text, const WCHAR* caption, UINT type) = 0;
    virtual UINT RegisterWindowMessageW(const WCHAR* name) = 0;
    virtual HWND SetActiveWindow(HWND window) = 0;
    // A child window of the program's own module, without creation data.
    virtual HWND CreateWindowExA(DWORD exStyle, const char* className, const char* text,
                                 DWORD style, int x, int y, int width, int height, HWND parent,
                                 std::uintptr_t id) = 0;
    virtual BOOL ShowWindow(HWND window, int command) = 0;
    virtual BOOL GetWindowRect(HWND window, RECT* rect) = 0;
    virtual BOOL ScreenToClient(HWND window, POINT* point) = 0;
    virtual BOOL SystemParametersInfoA(UINT action, UINT param, void* value, UINT winIni) = 0;

    // Menus.
    virtual HMENU GetMenu(HWND window) = 0;
    virtual int EnableMenuItem(HMENU menu, UINT item, UINT flags) = 0;
    virtual DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags) = 0;
    virtual BOOL DrawMenuBar(HWND window) = 0;

    // Clipboard.
    virtual BOOL IsClipboardFormatAvailable(UINT format) = 0;

    // Input state, timer and capture.
    virtual short GetKeyState(int virtualKey) = 0;
    virtual std::uintptr_t SetTimer(HWND window, std::uintptr_t id, UINT milliseconds) = 0;
    virtual BOOL KillTimer(HWND window, std::uintptr_t id) = 0;
    virtual void Sleep(DWORD milliseconds) = 0;
    virtual HWND SetCapture(HWND window) = 0;
    virtual BOOL ReleaseCapture() = 0;

    // Device contexts and painting.
    virtual HDC GetDC(HWND window) = 0;
    virtual int ReleaseDC(HWND window, HDC dc) = 0;
    // A memory context (deleted with DeleteDC); of the screen when dc is null.
    virtual HDC CreateCompatibleDC(HDC dc) = 0;
    virtual int GetDeviceCaps(HDC dc, int index) = 0;
    virtual HDC BeginPaint(HWND window, PAINTSTRUCT* paint) = 0;
    virtual BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) = 0;
    virtual BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) = 0;
    virtual BOOL UpdateWindow(HWND window) = 0;
    virtual BOOL ScrollWindow(HWND window, int dx, int dy, const RECT* scroll,
                              const RECT* clip) = 0;

    // Fonts and measuring.
    virtual HFONT CreateFontIndirectA(const LOGFONTA* font) = 0;
    virtual HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) = 0;
    virtual BOOL DeleteObject(HGDIOBJ object) = 0;
    virtual BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* metrics) = 0;
    virtual BOOL GetCharABCWidthsA(HDC dc, UINT first, UINT last, ABC* widths) = 0;
    virtual BOOL GetCharWidthA(HDC dc, UINT first, UINT last, int* widths) = 0;

    // Drawing.
    virtual int SetBkMode(HDC dc, int mode) = 0;
    virtual UINT SetTextAlign(HDC dc, UINT align) = 0;
    virtual BOOL TextOutA(HDC dc, int x, int y, const char* text, int count) = 0;
    // The bounding rectangle of the area a device context may draw in.
    virtual int GetClipBox(HDC dc, RECT* rect) = 0;
    virtual BOOL MoveToEx(HDC dc, int x, int y) = 0;
    virtual BOOL LineTo(HDC dc, int x, int y) = 0;
    virtual BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) = 0;
    virtual BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop) = 0;

    // Scroll bar.
    virtual int SetScrollRange(HWND window, int bar, int minPos, int maxPos, BOOL redraw) = 0;
    virtual int SetScrollPos(HWND window, int bar, int pos, BOOL redraw) = 0;
    virtual int GetScrollPos(HWND window, int bar) = 0;
    virtual BOOL GetScrollRange(HWND window, int bar, int* minPos, int* maxPos) = 0;

    // Short-lived working memory from the process heap.
    virtual void* HeapAlloc(DWORD flags, std::size_t bytes) = 0;
    virtual BOOL HeapFree(void* block) = 0;

    // Printing.
    virtual BOOL PrintDlgA(PRINTDLGA* record) = 0;
    virtual int StartDocA(HDC dc, const DOCINFOA* info) = 0;
    virtual int StartPage(HDC dc) = 0;
    virtual int EndPage(HDC dc) = 0;
    virtual int EndDoc(HDC dc) = 0;
    virtual int AbortDoc(HDC dc) = 0;
    virtual BOOL DeleteDC(HDC dc) = 0;

    // Glyphs. With ETO_GLYPH_INDEX, text holds glyph indices, drawn with no language
    // processing, each dx[k] pixels after the one before.
    virtual DWORD GetGlyphIndicesA(HDC dc, const char* text, int count, WORD* indices,
                                   DWORD flags) = 0;
    virtual BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, const WORD* text,
                             UINT count, const int* dx) = 0;

    // Uniscribe. ScriptItemize splits UTF-16 text into items of one bidirectional level
    // each (at the paragraph level psState gives), writing count + 1 records, the last
    // one's iCharPos the text's length, into a buffer of maxItems + 1; ScriptLayout gives the
    // visual order of runs from their levels.
    virtual HRESULT ScriptItemize(const WORD* text, int count, int maxItems,
                                  const SCRIPT_CONTROL* control, const SCRIPT_STATE* state,
                                  SCRIPT_ITEM* items, int* itemCount) = 0;
    virtual HRESULT ScriptLayout(int runs, const std::uint8_t* levels, int* visualToLogical,
                                 int* logicalToVisual) = 0;
    // Clipboard and global memory.
    virtual BOOL OpenClipboard(HWND owner) = 0;
    virtual BOOL EmptyClipboard() = 0;
    virtual HGLOBAL SetClipboardData(UINT format, HGLOBAL block) = 0;
    virtual HGLOBAL GetClipboardData(UINT format) = 0;
    virtual BOOL CloseClipboard() = 0;
    virtual HGLOBAL GlobalAlloc(UINT flags, std::size_t bytes) = 0;
    virtual void* GlobalLock(HGLOBAL block) = 0;
    virtual BOOL GlobalUnlock(HGLOBAL block) = 0;
    virtual std::size_t GlobalSize(HGLOBAL block) = 0;
    virtual HGLOBAL GlobalFree(HGLOBAL block) = 0;

    // Files. No security attributes, template file, overlapped reads or backup file: the
    // editor never passes them.
    virtual HANDLE CreateFileA(const char* name, DWORD access, DWORD share, DWORD creation,
                               DWORD attributes) = 0;
    virtual BOOL ReadFile(HANDLE file, void* buffer, DWORD bytes, DWORD* read) = 0;
    virtual BOOL WriteFile(HANDLE file, const void* buffer, DWORD bytes, DWORD* written) = 0;
    virtual DWORD GetFileSize(HANDLE file, DWORD* high) = 0;
    virtual BOOL FlushFileBuffers(HANDLE file) = 0;
    virtual BOOL CloseHandle(HANDLE file) = 0;
    virtual DWORD GetFileAttributesA(const char* name) = 0;
    virtual BOOL MoveFileExA(const char* from, const char* to, DWORD flags) = 0;
    virtual BOOL DeleteFileA(const char* name) = 0;
    // Ends the file at the handle's position.
    virtual BOOL SetEndOfFile(HANDLE file) = 0;
    // Moves the handle's position; files here stay below 4 GiB, so no high part.
    virtual DWORD SetFilePointer(HANDLE file, LONG distance, DWORD method) = 0;
    virtual BOOL CreateDirectoryA(const char* path) = 0;
    // The files a pattern such as "C:\\folder\\*.txt" names, one at a time; the search
    // handle is INVALID_HANDLE_VALUE when there is none.
    virtual HANDLE FindFirstFileA(const char* pattern, WIN32_FIND_DATAA* found) = 0;
    virtual BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* found) = 0;
    virtual BOOL FindClose(HANDLE search) = 0;

    // The process.
    // The length of the value copied (without its NUL), the size needed when `size` is too
    // small, 0 when the variable does not exist.
    virtual DWORD GetEnvironmentVariableA(const char* name, char* buffer, DWORD size) = 0;
    virtual DWORD GetCurrentProcessId() = 0;
    // The calling thread's last error code: after CreateFileA with OPEN_ALWAYS,
    // ERROR_ALREADY_EXISTS when the file was there, 0 when the call created it.
    virtual DWORD GetLastError() = 0;
    // The full path the system makes of a file name (from the current folder when relative):
    // its length, the size needed when `size` is too small, 0 on failure.
    virtual DWORD GetFullPathNameA(const char* name, DWORD size, char* buffer) = 0;
    // Now, as file times count it (100-nanosecond steps).
    virtual void GetSystemTimeAsFileTime(FILETIME* now) = 0;

    // Files dropped on the window (shell32).
    virtual void DragAcceptFiles(HWND window, BOOL accept) = 0;
    // index 0xFFFFFFFF: the number of files; a null buffer: the length of file `index`'s
    // name; otherwise copies at most size - 1 characters and a NUL and gives their number.
    virtual UINT DragQueryFileA(HDROP drop, UINT index, char* buffer, UINT size) = 0;
    virtual void DragFinish(HDROP drop) = 0;

    // Common file dialogs.
    virtual BOOL GetOpenFileNameA(OPENFILENAMEA* record) = 0;
    virtual BOOL GetSaveFileNameA(OPENFILENAMEA* record) = 0;

    // Code page conversions. With a zero output size, the length the output needs; 0 on
    // failure (with MB_ERR_INVALID_CHARS, input that is not valid in the code page).
    virtual int MultiByteToWideChar(UINT codePage, DWORD flags, const char* text, int count,
                                    WCHAR* units, int size) = 0;
    virtual int WideCharToMultiByte(UINT codePage, DWORD flags, const WCHAR* units, int count,
                                    char* text, int size, const char* defaultChar,
                                    BOOL* usedDefault) = 0;

    // The modeless Find and Replace dialogs: the window of the dialog, or nullptr.
    virtual HWND FindTextW(FINDREPLACEW* record) = 0;
    virtual HWND ReplaceTextW(FINDREPLACEW* record) = 0;

    // Modal dialogs from the exe's resources and their controls.
    virtual INT_PTR DialogBoxParamA(const char* templateName, HWND owner, DLGPROC procedure,
                                    LPARAM param) = 0;
    virtual BOOL EndDialog(HWND dialog, INT_PTR result) = 0;
    virtual UINT GetDlgItemInt(HWND dialog, int item, BOOL* translated, BOOL isSigned) = 0;
    virtual BOOL SetDlgItemInt(HWND dialog, int item, UINT value, BOOL isSigned) = 0;
    virtual LRESULT SendDlgItemMessageA(HWND dialog, int item, UINT message, WPARAM wParam,
                                        LPARAM lParam) = 0;

    // Menu items added and taken away while the editor runs.
    virtual BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, std::uintptr_t id,
                             const char* text) = 0;
    virtual BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) = 0;

    // The settings file (an .ini file, through the profile functions). A null key deletes
    // the section, a null value the key.
    virtual DWORD GetPrivateProfileStringA(const char* section, const char* key,
                                           const char* defaultValue, char* buffer, DWORD size,
                                           const char* fileName) = 0;
    virtual BOOL WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                            const char* fileName) = 0;

    // The window's place, and the screens.
    virtual BOOL GetWindowPlacement(HWND window, WINDOWPLACEMENT* placement) = 0;
    virtual BOOL SetWindowPlacement(HWND window, const WINDOWPLACEMENT* placement) = 0;
    virtual HMONITOR MonitorFromRect(const RECT* rect, DWORD flags) = 0;
    virtual BOOL GetMonitorInfoA(HMONITOR monitor, MONITORINFO* info) = 0;
};

// The platform in use: the Win32 one in nivrano.exe, the fake one in native tests.
Platform& CurrentPlatform();
void SetCurrentPlatform(Platform* platform);

// The editor calls the services as free functions, so that its code reads like the
// Win32 calls it stands for.
inline LRESULT DefWindowProcA(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    return CurrentPlatform().DefWindowProcA(w, m, wp, lp);
}
inline LRESULT SendMessageA(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    return CurrentPlatform().SendMessageA(w, m, wp, lp);
}
inline void PostQuitMessage(int code) { CurrentPlatform().PostQuitMessage(code); }
inline BOOL PostMessageA(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    return CurrentPlatform().PostMessageA(w, m, wp, lp);
}
inline DWORD GetQueueStatus(UINT flags) { return CurrentPlatform().GetQueueStatus(flags); }
inline int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) {
    return CurrentPlatform().MessageBoxA(owner, text, caption, type);
}
inline BOOL SetWindowTextA(HWND w, const char* text) {
    return CurrentPlatform().SetWindowTextA(w, text);
}
inline int MessageBoxW(HWND owner, const WCHAR* text, const WCHAR* caption, UINT type) {
    return CurrentPlatform().MessageBoxW(owner, text, caption, type);
}
inline UINT RegisterWindowMessageW(const WCHAR* name) {
    return CurrentPlatform().RegisterWindowMessageW(name);
}
inline HWND SetActiveWindow(HWND w) { return CurrentPlatform().SetActiveWindow(w); }
inline HWND CreateWindowExA(DWORD exStyle, const char* className, const char* text, DWORD style,
                            int x, int y, int width, int height, HWND parent, std::uintptr_t id) {
    return CurrentPlatform().CreateWindowExA(exStyle, className, text, style, x, y, width, height,
                                             parent, id);
}
inline BOOL ShowWindow(HWND w, int command) { return CurrentPlatform().ShowWindow(w, command); }
inline BOOL GetWindowRect(HWND w, RECT* r) { return CurrentPlatform().GetWindowRect(w, r); }
inline BOOL ScreenToClient(HWND w, POINT* p) { return CurrentPlatform().ScreenToClient(w, p); }
inline BOOL SystemParametersInfoA(UINT action, UINT param, void* value, UINT winIni) {
    return CurrentPlatform().SystemParametersInfoA(action, param, value, winIni);
}
inline HMENU GetMenu(HWND w) { return CurrentPlatform().GetMenu(w); }
inline int EnableMenuItem(HMENU m, UINT item, UINT flags) {
    return CurrentPlatform().EnableMenuItem(m, item, flags);
}
inline DWORD CheckMenuItem(HMENU m, UINT item, UINT flags) {
    return CurrentPlatform().CheckMenuItem(m, item, flags);
}
inline BOOL DrawMenuBar(HWND w) { return CurrentPlatform().DrawMenuBar(w); }
inline BOOL IsClipboardFormatAvailable(UINT format) {
    return CurrentPlatform().IsClipboardFormatAvailable(format);
}
inline short GetKeyState(int vk) { return CurrentPlatform().GetKeyState(vk); }
inline std::uintptr_t SetTimer(HWND w, std::uintptr_t id, UINT ms) {
    return CurrentPlatform().SetTimer(w, id, ms);
}
inline BOOL KillTimer(HWND w, std::uintptr_t id) { return CurrentPlatform().KillTimer(w, id); }
inline void Sleep(DWORD ms) { CurrentPlatform().Sleep(ms); }
inline HWND SetCapture(HWND w) { return CurrentPlatform().SetCapture(w); }
inline BOOL ReleaseCapture() { return CurrentPlatform().ReleaseCapture(); }
inline HDC GetDC(HWND w) { return CurrentPlatform().GetDC(w); }
inline int ReleaseDC(HWND w, HDC dc) { return CurrentPlatform().ReleaseDC(w, dc); }
inline HDC CreateCompatibleDC(HDC dc) { return CurrentPlatform().CreateCompatibleDC(dc); }
inline int GetDeviceCaps(HDC dc, int index) { return CurrentPlatform().GetDeviceCaps(dc, index); }
inline HDC BeginPaint(HWND w, PAINTSTRUCT* ps) { return CurrentPlatform().BeginPaint(w, ps); }
inline BOOL EndPaint(HWND w, const PAINTSTRUCT* ps) { return CurrentPlatform().EndPaint(w, ps); }
inline BOOL InvalidateRect(HWND w, const RECT* r, BOOL erase) {
    return CurrentPlatform().InvalidateRect(w, r, erase);
}
inline BOOL UpdateWindow(HWND w) { return CurrentPlatform().UpdateWindow(w); }
inline BOOL ScrollWindow(HWND w, int dx, int dy, const RECT* scroll, const RECT* clip) {
    return CurrentPlatform().ScrollWindow(w, dx, dy, scroll, clip);
}
inline HFONT CreateFontIndirectA(const LOGFONTA* f) {
    return CurrentPlatform().CreateFontIndirectA(f);
}
inline HGDIOBJ SelectObject(HDC dc, HGDIOBJ o) { return CurrentPlatform().SelectObject(dc, o); }
inline BOOL DeleteObject(HGDIOBJ o) { return CurrentPlatform().DeleteObject(o); }
inline BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* tm) {
    return CurrentPlatform().GetTextMetricsA(dc, tm);
}
inline BOOL GetCharABCWidthsA(HDC dc, UINT first, UINT last, ABC* widths) {
    return CurrentPlatform().GetCharABCWidthsA(dc, first, last, widths);
}
inline BOOL GetCharWidthA(HDC dc, UINT first, UINT last, int* widths) {
    return CurrentPlatform().GetCharWidthA(dc, first, last, widths);
}
inline int SetBkMode(HDC dc, int mode) { return CurrentPlatform().SetBkMode(dc, mode); }
inline UINT SetTextAlign(HDC dc, UINT align) { return CurrentPlatform().SetTextAlign(dc, align); }
inline BOOL TextOutA(HDC dc, int x, int y, const char* text, int count) {
    return CurrentPlatform().TextOutA(dc, x, y, text, count);
}
inline int GetClipBox(HDC dc, RECT* rect) { return CurrentPlatform().GetClipBox(dc, rect); }
inline BOOL MoveToEx(HDC dc, int x, int y) { return CurrentPlatform().MoveToEx(dc, x, y); }
inline BOOL LineTo(HDC dc, int x, int y) { return CurrentPlatform().LineTo(dc, x, y); }
inline BOOL Rectangle(HDC dc, int l, int t, int r, int b) {
    return CurrentPlatform().Rectangle(dc, l, t, r, b);
}
inline BOOL PatBlt(HDC dc, int x, int y, int w, int h, DWORD rop) {
    return CurrentPlatform().PatBlt(dc, x, y, w, h, rop);
}
inline int SetScrollRange(HWND w, int bar, int lo, int hi, BOOL redraw) {
    return CurrentPlatform().SetScrollRange(w, bar, lo, hi, redraw);
}
inline int SetScrollPos(HWND w, int bar, int pos, BOOL redraw) {
    return CurrentPlatform().SetScrollPos(w, bar, pos, redraw);
}
inline int GetScrollPos(HWND w, int bar) { return CurrentPlatform().GetScrollPos(w, bar); }
inline BOOL GetScrollRange(HWND w, int bar, int* lo, int* hi) {
    return CurrentPlatform().GetScrollRange(w, bar, lo, hi);
}
inline void* HeapAlloc(DWORD flags, std::size_t bytes) {
    return CurrentPlatform().HeapAlloc(flags, bytes);
}
inline BOOL HeapFree(void* block) { return CurrentPlatform().HeapFree(block); }

// Printing.
inline BOOL PrintDlgA(PRINTDLGA* record) { return CurrentPlatform().PrintDlgA(record); }
inline int StartDocA(HDC dc, const DOCINFOA* info) { return CurrentPlatform().StartDocA(dc, info); }
inline int StartPage(HDC dc) { return CurrentPlatform().StartPage(dc); }
inline int EndPage(HDC dc) { return CurrentPlatform().EndPage(dc); }
inline int EndDoc(HDC dc) { return CurrentPlatform().EndDoc(dc); }
inline int AbortDoc(HDC dc) { return CurrentPlatform().AbortDoc(dc); }
inline BOOL DeleteDC(HDC dc) { return CurrentPlatform().DeleteDC(dc); }

// Glyphs.
inline DWORD GetGlyphIndicesA(HDC dc, const char* text, int count, WORD* indices, DWORD flags) {
    return CurrentPlatform().GetGlyphIndicesA(dc, text, count, indices, flags);
}
inline BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, const WORD* text,
                        UINT count, const int* dx) {
    return CurrentPlatform().ExtTextOutW(dc, x, y, options, rect, text, count, dx);
}

// Uniscribe.
inline HRESULT ScriptItemize(const WORD* text, int count, int maxItems,
                             const SCRIPT_CONTROL* control, const SCRIPT_STATE* state,
                             SCRIPT_ITEM* items, int* itemCount) {
    return CurrentPlatform().ScriptItemize(text, count, maxItems, control, state, items, itemCount);
}
inline HRESULT ScriptLayout(int runs, const std::uint8_t* levels, int* visualToLogical,
                            int* logicalToVisual) {
    return CurrentPlatform().ScriptLayout(runs, levels, visualToLogical, logicalToVisual);
}

// Clipboard and global memory.
inline BOOL OpenClipboard(HWND owner) { return CurrentPlatform().OpenClipboard(owner); }
inline BOOL EmptyClipboard() { return CurrentPlatform().EmptyClipboard(); }
inline HGLOBAL SetClipboardData(UINT format, HGLOBAL block) {
    return CurrentPlatform().SetClipboardData(format, block);
}
inline HGLOBAL GetClipboardData(UINT format) { return CurrentPlatform().GetClipboardData(format); }
inline BOOL CloseClipboard() { return CurrentPlatform().CloseClipboard(); }
inline HGLOBAL GlobalAlloc(UINT flags, std::size_t bytes) {
    return CurrentPlatform().GlobalAlloc(flags, bytes);
}
inline void* GlobalLock(HGLOBAL block) { return CurrentPlatform().GlobalLock(block); }
inline BOOL GlobalUnlock(HGLOBAL block) { return CurrentPlatform().GlobalUnlock(block); }
inline std::size_t GlobalSize(HGLOBAL block) { return CurrentPlatform().GlobalSize(block); }
inline HGLOBAL GlobalFree(HGLOBAL block) { return CurrentPlatform().GlobalFree(block); }

// Files.
inline HANDLE CreateFileA(const char* name, DWORD access, DWORD share, DWORD creation,
                          DWORD attributes) {
    return CurrentPlatform().CreateFileA(name, access, share, creation, attributes);
}
inline BOOL ReadFile(HANDLE file, void* buffer, DWORD bytes, DWORD* read) {
    return CurrentPlatform().ReadFile(file, buffer, bytes, read);
}
inline BOOL WriteFile(HANDLE file, const void* buffer, DWORD bytes, DWORD* written) {
    return CurrentPlatform().WriteFile(file, buffer, bytes, written);
}
inline DWORD GetFileSize(HANDLE file, DWORD* high) {
    return CurrentPlatform().GetFileSize(file, high);
}
inline BOOL FlushFileBuffers(HANDLE file) { return CurrentPlatform().FlushFileBuffers(file); }
inline BOOL CloseHandle(HANDLE file) { return CurrentPlatform().CloseHandle(file); }
inline DWORD GetFileAttributesA(const char* name) {
    return CurrentPlatform().GetFileAttributesA(name);
}
inline BOOL MoveFileExA(const char* from, const char* to, DWORD flags) {
    return CurrentPlatform().MoveFileExA(from, to, flags);
}
inline BOOL DeleteFileA(const char* name) { return CurrentPlatform().DeleteFileA(name); }
inline BOOL SetEndOfFile(HANDLE file) { return CurrentPlatform().SetEndOfFile(file); }
inline DWORD SetFilePointer(HANDLE file, LONG distance, DWORD method) {
    return CurrentPlatform().SetFilePointer(file, distance, method);
}
inline BOOL CreateDirectoryA(const char* path) { return CurrentPlatform().CreateDirectoryA(path); }
inline HANDLE FindFirstFileA(const char* pattern, WIN32_FIND_DATAA* found) {
    return CurrentPlatform().FindFirstFileA(pattern, found);
}
inline BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* found) {
    return CurrentPlatform().FindNextFileA(search, found);
}
inline BOOL FindClose(HANDLE search) { return CurrentPlatform().FindClose(search); }

// The process.
inline DWORD GetEnvironmentVariableA(const char* name, char* buffer, DWORD size) {
    return CurrentPlatform().GetEnvironmentVariableA(name, buffer, size);
}
inline DWORD GetCurrentProcessId() { return CurrentPlatform().GetCurrentProcessId(); }
inline DWORD GetLastError() { return CurrentPlatform().GetLastError(); }
inline DWORD GetFullPathNameA(const char* name, DWORD size, char* buffer) {
    return CurrentPlatform().GetFullPathNameA(name, size, buffer);
}
inline void GetSystemTimeAsFileTime(FILETIME* now) {
    CurrentPlatform().GetSystemTimeAsFileTime(now);
}

// Files dropped on the window.
inline void DragAcceptFiles(HWND w, BOOL accept) { CurrentPlatform().DragAcceptFiles(w, accept); }
inline UINT DragQueryFileA(HDROP drop, UINT index, char* buffer, UINT size) {
    return CurrentPlatform().DragQueryFileA(drop, index, buffer, size);
}
inline void DragFinish(HDROP drop) { CurrentPlatform().DragFinish(drop); }

// Common file dialogs.
inline BOOL GetOpenFileNameA(OPENFILENAMEA* record) {
    return CurrentPlatform().GetOpenFileNameA(record);
}
inline BOOL GetSaveFileNameA(OPENFILENAMEA* record) {
    return CurrentPlatform().GetSaveFileNameA(record);
}

// Code page conversions.
inline int MultiByteToWideChar(UINT codePage, DWORD flags, const char* text, int count,
                               WCHAR* units, int size) {
    return CurrentPlatform().MultiByteToWideChar(codePage, flags, text, count, units, size);
}
inline int WideCharToMultiByte(UINT codePage, DWORD flags, const WCHAR* units, int count,
                               char* text, int size, const char* defaultChar, BOOL* usedDefault) {
    return CurrentPlatform().WideCharToMultiByte(codePage, flags, units, count, text, size,
                                                 defaultChar, usedDefault);
}

// Find and Replace dialogs.
inline HWND FindTextW(FINDREPLACEW* record) { return CurrentPlatform().FindTextW(record); }
inline HWND ReplaceTextW(FINDREPLACEW* record) { return CurrentPlatform().ReplaceTextW(record); }

// Dialogs, added menu items, the settings file and the window's place.
inline INT_PTR DialogBoxParamA(const char* templateName, HWND owner, DLGPROC procedure,
                               LPARAM param) {
    return CurrentPlatform().DialogBoxParamA(templateName, owner, procedure, param);
}
inline BOOL EndDialog(HWND dialog, INT_PTR result) {
    return CurrentPlatform().EndDialog(dialog, result);
}
inline UINT GetDlgItemInt(HWND dialog, int item, BOOL* translated, BOOL isSigned) {
    return CurrentPlatform().GetDlgItemInt(dialog, item, translated, isSigned);
}
inline BOOL SetDlgItemInt(HWND dialog, int item, UINT value, BOOL isSigned) {
    return CurrentPlatform().SetDlgItemInt(dialog, item, value, isSigned);
}
inline LRESULT SendDlgItemMessageA(HWND dialog, int item, UINT message, WPARAM wParam,
                                   LPARAM lParam) {
    return CurrentPlatform().SendDlgItemMessageA(dialog, item, message, wParam, lParam);
}
inline BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, std::uintptr_t id,
                        const char* text) {
    return CurrentPlatform().InsertMenuA(menu, position, flags, id, text);
}
inline BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) {
    return CurrentPlatform().DeleteMenu(menu, position, flags);
}
inline DWORD GetPrivateProfileStringA(const char* section, const char* key,
                                      const char* defaultValue, char* buffer, DWORD size,
                                      const char* fileName) {
    return CurrentPlatform().GetPrivateProfileStringA(section, key, defaultValue, buffer, size,
                                                      fileName);
}
inline BOOL WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                       const char* fileName) {
    return CurrentPlatform().WritePrivateProfileStringA(section, key, value, fileName);
}
inline BOOL GetWindowPlacement(HWND window, WINDOWPLACEMENT* placement) {
    return CurrentPlatform().GetWindowPlacement(window, placement);
}
inline BOOL SetWindowPlacement(HWND window, const WINDOWPLACEMENT* placement) {
    return CurrentPlatform().SetWindowPlacement(window, placement);
}
inline HMONITOR MonitorFromRect(const RECT* rect, DWORD flags) {
    return CurrentPlatform().MonitorFromRect(rect, flags);
}
inline BOOL GetMonitorInfoA(HMONITOR monitor, MONITORINFO* info) {
    return CurrentPlatform().GetMonitorInfoA(monitor, info);
}

}  // namespace nv
