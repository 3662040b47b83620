// The fake platform: a small, honest simulation of the Win32 services the editor uses, so
// that native tests can drive the editor by its messages and look at every pixel.
//
// * One window with a 32-bit framebuffer for its client area, an invalid region kept as a
//   per-pixel mask, erase to white at BeginPaint, clipping of every drawing call to the
//   paint region, and UpdateWindow that sends WM_PAINT synchronously.
// * ScrollWindow moves pixels (and any pending invalid area) and invalidates the band it
//   uncovers.
// * Fonts with deterministic metrics per face, height and character set: ABC widths with
//   negative overhangs for italic faces and zero-advance Hebrew points, a TrueType flag,
//   tmDefaultChar 31, and glyphs drawn as a pattern unique to each glyph index. Each font
//   maps the byte codes to glyph indices of its own; a few codes have no glyph (and some
//   fonts lack more), and TextOutA draws those with the default character's glyph.
// * Printer device contexts from a scripted print dialog, with a chosen resolution, paper
//   size and printable-area offsets, that record print jobs page by page.
// * Scripted message box answers with a log, key state, timers, capture, and injection of
//   heap and width-query failures.
// * Uniscribe's itemizing and layout answered by FriBidi, an independent implementation of
//   the Unicode bidirectional algorithm.
// * A clipboard of real global-memory blocks, files in a real folder of the test's own,
//   scripted open and save dialogs, and failure injection for these and the print calls
//   by name.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace nv::fake {

constexpr std::uint32_t White = 0xFFFFFF;
constexpr std::uint32_t Black = 0x000000;

using WindowProc = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

struct MessageBoxRecord {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
};

// One character drawn by TextOutA or ExtTextOutW: where its pen stood, in which font.
struct TextOutRecord {
    int x;
    int y;
    std::string text;
    std::string face;
    LONG height;
};

struct DeviceContext {
    bool printer = false;  // from the print dialog: draws onto the job's pages
    int job = -1;          // printer contexts: the open job in printJobs
    bool pageOpen = false;
    bool memory = false;             // from CreateCompatibleDC: nothing drawn shows
    bool paint = false;              // from BeginPaint: clipped to the invalid region
    std::vector<std::uint8_t> clip;  // paint contexts only: 1 where drawing is allowed
    RECT clipBox;                    // paint contexts only: the bounds of clip
    HGDIOBJ font = nullptr;
    int bkMode = OPAQUE;
    UINT textAlign = TA_LEFT | TA_TOP;
    int penX = 0;
    int penY = 0;
};

// Glyph 0 is the font's "no glyph" shape; the codes' glyphs are 1 to 256.
constexpr int GlyphCount = 257;

// The metrics a fake font has; computed from its LOGFONTA.
struct FontMetrics {
    TEXTMETRICA text;
    ABC abc[256];  // a code without a glyph has the default character's widths
    bool trueType;
    bool missing[256];                     // the code has no glyph in this font
    WORD glyph[256];                       // its glyph, or the default character's when missing
    std::uint8_t codeOfGlyph[GlyphCount];  // the code a glyph stands for
};

// The printer the print dialog hands out, in its device units.
struct PrinterSetup {
    int logPixelsX = 600;
    int logPixelsY = 600;
    int physicalWidth = 5100;  // Letter, 8.5 x 11 inches
    int physicalHeight = 6600;
    int offsetX = 0;
    int offsetY = 0;
};

struct PrintJob {
    std::string docName;
    std::vector<std::vector<TextOutRecord>> pages;  // what each page received
    bool ended = false;
    bool aborted = false;
};

enum class PrintDialogAnswer { Printer, Cancel, NoDeviceContext };

struct FontRecord {
    LOGFONTA logFont;
    FontMetrics metrics;  // fixed when the font is created
};

// A global memory block: its bytes, its lock count, and whether the clipboard owns it.
struct GlobalBlock {
    std::vector<std::uint8_t> bytes;
    UINT flags = 0;
    int locks = 0;
    bool onClipboard = false;
};

// An open file handle on a real file.
struct OpenFile {
    int descriptor = -1;
    std::string path;
    DWORD access = 0;
    DWORD share = 0;
};

// One call of GetOpenFileNameA or GetSaveFileNameA, as the dialog saw it.
struct FileDialogCall {
    bool save;
    bool refused;           // a record of the wrong size: no dialog was shown
    std::string startName;  // the file name the dialog started with
    DWORD startType;        // the "Save as type" it started with (nFilterIndex)
};

// One Find or Replace dialog as it was opened.
struct FindDialogCall {
    bool replace;
    std::u16string startText;  // what its find box showed at first
    DWORD startFlags;
};

// A press in a modal dialog: the text typed into its number box (the box takes no more
// than the editor's limit), then a button (IDOK or IDCANCEL).
struct DialogPress {
    std::string typed;
    int button;
};

// One modal dialog as it was opened: its template, and its box's text once it was set up.
struct DialogCall {
    std::string templateName;
    std::string startText;
};

// A menu item the editor added while running, in menu order.
struct AddedMenuItem {
    UINT id;
    std::string text;  // "" for a separator
};

// UTF-16 text as UTF-8, as tests write their expectations.
std::string Utf8(const std::u16string& units);

// The whole contents of a real file ("" when it cannot be read), and a file written anew.
std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);

class FakePlatform : public Platform {
public:
    FakePlatform();
    ~FakePlatform() override;

    // --- Set-up and driving -------------------------------------------------------
    WindowProc windowProc = nullptr;
    int logPixelsX = 96;
    int logPixelsY = 96;

    // Simulates CreateWindowExA: WM_CREATE, and when it succeeds WM_SIZE with the given
    // client size followed by the first paint. Returns nullptr when WM_CREATE fails.
    HWND CreateMainWindow(int clientWidth, int clientHeight);
    // A size change: WM_SIZE, then the whole client area repainted (CS_HREDRAW|CS_VREDRAW).
    void Resize(int clientWidth, int clientHeight);
    // A message from the message loop; the messages the window posted meanwhile follow it,
    // as posted messages come before the input behind them.
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    bool inputWaiting = false;  // keys and clicks in the queue, for GetQueueStatus
    RECT lastPaintBounds{};     // the bounds of the area the last BeginPaint painted

    HWND window() const { return window_; }
    bool windowDestroyed() const { return destroyed_; }
    bool quitPosted() const { return quitPosted_; }
    int quitCode() const { return quitCode_; }

    // Message boxes: answers are taken in order; an OK-only box needs none.
    void AnswerNextMessageBox(int answer) { answers_.push_back(answer); }
    const std::vector<MessageBoxRecord>& messageBoxes() const { return messageBoxes_; }
    void ClearMessageBoxes() { messageBoxes_.clear(); }

    // Keys held down, read by GetKeyState.
    void SetKeyDown(int virtualKey, bool down);

    // The clipboard, as another program would fill and read it.
    void PutOnClipboard(UINT format, const std::string& bytes);
    bool ClipboardHolds(UINT format, std::string* bytes = nullptr) const;
    bool clipboardOpen() const { return clipboardOpen_; }

    // Files: a real folder of this platform's own, removed with it.
    std::string Folder();
    std::string PathOf(const std::string& name) { return Folder() + "/" + name; }
    std::vector<std::string> FolderEntries();
    // The folder %LOCALAPPDATA% names: a real folder of its own, made with the platform and
    // removed with it. `environment` holds the variables GetEnvironmentVariableA gives; erase
    // LOCALAPPDATA from it to take the variable away.
    std::string AppDataFolder();
    std::map<std::string, std::string> environment;
    DWORD processId = 4242;
    // Another program at work: called with the host path of each CreateFileA just before the
    // file is opened.
    std::function<void(const std::string& path)> beforeCreateFile;

    // Drag and drop: whether the window accepts dropped files, and a drop of these paths as
    // the shell hands it over (the window must DragFinish it).
    bool acceptsFiles = false;
    HDROP MakeDrop(const std::vector<std::string>& paths);
    int liveDrops() const { return static_cast<int>(drops_.size()); }

    // The open and save dialogs: answers are taken in order, a path (the dialog adds the
    // default extension to a name without one) or a cancel.
    void AnswerNextFileDialog(const std::string& path) { fileAnswers_.push_back(path); }
    void CancelNextFileDialog() { fileAnswers_.push_back(std::string()); }
    std::vector<FileDialogCall> fileDialogs;
    // The type the next answered dialog chooses (nFilterIndex); 0 leaves the one it got.
    DWORD nextFileType = 0;

    // The modeless Find and Replace dialogs. The test works the open one as a user would:
    // the texts typed into its boxes, its check boxes and direction (`options`: FR_DOWN,
    // FR_MATCHCASE, FR_WHOLEWORD; the Replace dialog has no direction) and a button
    // (FR_FINDNEXT, FR_REPLACE, FR_REPLACEALL), sent to the owner as the registered message.
    // Closing it sends FR_DIALOGTERM, after which its window is gone.
    std::vector<FindDialogCall> findDialogs;
    HWND findDialog() const { return findDialog_; }
    HWND activeWindow() const { return activeWindow_; }
    void PressFindDialogButton(DWORD button, const std::u16string& findWhat, DWORD options = 0,
                               const std::u16string& replaceWith = u"");
    void CloseFindDialog();
    std::string windowText = "Nivrano";

    // Modal dialogs: each answer is the presses of one dialog, in order. A dialog still open
    // after its last press fails the test and is cancelled.
    void AnswerNextDialog(const std::vector<DialogPress>& presses) {
        dialogAnswers_.push_back(presses);
    }
    std::vector<DialogCall> dialogs;

    // Menu items added by InsertMenuA before an item of the menu resource (kept in the order
    // they stand) and not yet deleted.
    std::vector<AddedMenuItem> addedMenuItems;

    // The window's place as GetWindowPlacement gives it and SetWindowPlacement leaves it, and
    // the screens' rectangles with their work areas.
    WINDOWPLACEMENT placement;
    int placementsSet = 0;
    std::vector<MONITORINFO> monitors;
    // The folder %APPDATA% names, inside the app data folder.
    std::string RoamingFolder() { return appDataFolder_ + "/Roaming"; }
    // The status bar: the one child window, of the status bar class, along the foot of the
    // client area while it shows, drawn in StatusBarColour. The main window's drawing and
    // erasing leave it out (WS_CLIPCHILDREN); hiding it invalidates the band it covered.
    static constexpr int StatusBarHeight = 22;
    static constexpr std::uint32_t StatusBarColour = 0xD4D0C8;
    HWND statusBar() const { return statusBar_; }
    bool statusBarShown() const { return statusBar_ != nullptr && statusShown_; }
    std::string statusText(int part) const;
    std::vector<int> statusParts;  // the right edges SB_SETPARTS set
    long statusTextSets = 0;       // SB_SETTEXTA calls
    UINT wheelScrollLines = 3;     // what SPI_GETWHEELSCROLLLINES gives

    // Failure injection by the name of the call (OpenClipboard, GlobalAlloc, ReadFile,
    // SetEndOfFile, StartPage...): it fails after `after` more successful calls (0: the next
    // one). "ReadFile short" and "WriteFile short" move one byte fewer than asked and report
    // success; a failing WriteFile writes half of its bytes first.
    void FailCall(const std::string& call, int after = 0) { failingCalls_[call] = after; }
    int pendingFailures() const { return static_cast<int>(failingCalls_.size()); }

    // Timers by identifier with their interval, and the capture.
    const std::map<std::uintptr_t, UINT>& timers() const { return timers_; }
    // Lets time pass: each timer that falls due meanwhile is sent its WM_TIMER, in order,
    // and runs on as a window timer does until it is killed.
    void PassTime(UINT milliseconds);
    HWND capture() const { return capture_; }

    // Menu state by command identifier: MF_GRAYED and MF_CHECKED bits.
    UINT menuState(UINT id) const;
    int drawMenuBarCount = 0;

    // Failure injection. The heap fails the allocation after `heapAllocationsBeforeFailure`
    // more successful ones (0: the next one fails; negative: never).
    int heapAllocationsBeforeFailure = -1;
    // Width queries fail for these codes in fonts whose face name is listed.
    std::map<std::string, std::set<UINT>> failingWidthCodes;
    // GetTextMetricsA fails and leaves the record untouched.
    bool textMetricsFail = false;
    // GetGlyphIndicesA fails (GDI_ERROR).
    bool glyphIndicesFail = false;
    // Another program holds the clipboard through this many more OpenClipboard calls.
    int clipboardHeldElsewhere = 0;
    // Sleep adds here instead of waiting.
    DWORD sleptMs = 0;
    // Faces that behave as raster fonts: no TrueType bit and no ABC widths.
    std::set<std::string> rasterFaces;

    // Printing. The dialog answers with printDialogAnswer; it keeps the device mode and
    // names it was given, or hands out new ones the first time.
    PrinterSetup printer;
    PrintDialogAnswer printDialogAnswer = PrintDialogAnswer::Printer;
    std::vector<PRINTDLGA> printDialogs;  // each record as the dialog received it
    std::vector<PrintJob> printJobs;

    // Counters and logs.
    std::vector<UINT> defaultProcMessages;  // messages passed to DefWindowProcA
    long widthQueries = 0;
    long glyphQueries = 0;
    long extTextOutCalls = 0;
    long itemizeCalls = 0;
    long paintCount = 0;
    long invalidateCount = 0;
    long scrollCount = 0;
    long scrollBarRedraws = 0;           // SetScrollPos calls that asked for a redraw
    std::vector<RECT> invalidatedRects;  // every non-empty InvalidateRect, clipped
    std::vector<TextOutRecord> textOuts;
    bool recordTextOuts = false;

    // Live resources, to find leaks.
    int liveDeviceContexts() const { return static_cast<int>(dcs_.size()); }
    int liveFonts() const { return static_cast<int>(fonts_.size()); }
    int liveHeapBlocks() const { return static_cast<int>(heapBlocks_.size()); }
    int liveFileHandles() const { return static_cast<int>(files_.size()); }
    int liveGlobalBlocks() const;  // not handed to the clipboard

    // --- The framebuffer ----------------------------------------------------------
    int width() const { return width_; }
    int height() const { return height_; }
    std::uint32_t Pixel(int x, int y) const;
    const std::vector<std::uint32_t>& pixels() const { return pixels_; }
    bool HasInvalidArea() const;

    // The metrics of a font as the fake defines them (also for tests' expectations).
    FontMetrics MetricsFor(const LOGFONTA& font) const;

    // --- The platform -------------------------------------------------------------
    LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostQuitMessage(int exitCode) override;
    BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    DWORD GetQueueStatus(UINT flags) override;
    int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) override;
    HMENU GetMenu(HWND window) override;
    int EnableMenuItem(HMENU menu, UINT item, UINT flags) override;
    DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags) override;
    BOOL DrawMenuBar(HWND window) override;
    BOOL IsClipboardFormatAvailable(UINT format) override;
    short GetKeyState(int virtualKey) override;
    std::uintptr_t SetTimer(HWND window, std::uintptr_t id, UINT milliseconds) override;
    BOOL KillTimer(HWND window, std::uintptr_t id) override;
    void Sleep(DWORD milliseconds) override { sleptMs += milliseconds; }
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
    BOOL PrintDlgA(PRINTDLGA* record) override;
    int StartDocA(HDC dc, const DOCINFOA* info) override;
    int StartPage(HDC dc) override;
    int EndPage(HDC dc) override;
    int EndDoc(HDC dc) override;
    int AbortDoc(HDC dc) override;
    BOOL DeleteDC(HDC dc) override;
    DWORD GetGlyphIndicesA(HDC dc, const char* text, int count, WORD* indices,
                           DWORD flags) override;
    BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, const WORD* text,
                     UINT count, const int* dx) override;
    HRESULT ScriptItemize(const WORD* text, int count, int maxItems, const SCRIPT_CONTROL* control,
                          const SCRIPT_STATE* state, SCRIPT_ITEM* items, int* itemCount) override;
    HRESULT ScriptLayout(int runs, const std::uint8_t* levels, int* visualToLogical,
                         int* logicalToVisual) override;
    BOOL SetWindowTextA(HWND window, const char* text) override;
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
    DWORD GetLastError() override { return lastError_; }
    DWORD GetFullPathNameA(const char* name, DWORD size, char* buffer) override;
    void GetSystemTimeAsFileTime(FILETIME* now) override;
    void DragAcceptFiles(HWND window, BOOL accept) override;
    UINT DragQueryFileA(HDROP drop, UINT index, char* buffer, UINT size) override;
    void DragFinish(HDROP drop) override;
    BOOL GetOpenFileNameA(OPENFILENAMEA* record) override;
    BOOL GetSaveFileNameA(OPENFILENAMEA* record) override;
    int MessageBoxW(HWND owner, const WCHAR* text, const WCHAR* caption, UINT type) override;
    // UTF-8 (strict, as Windows decodes it) and, from UTF-16, code page 1255 through iconv.
    int MultiByteToWideChar(UINT codePage, DWORD flags, const char* text, int count, WCHAR* units,
                            int size) override;
    int WideCharToMultiByte(UINT codePage, DWORD flags, const WCHAR* units, int count, char* text,
                            int size, const char* defaultChar, BOOL* usedDefault) override;
    UINT RegisterWindowMessageW(const WCHAR* name) override;
    HWND SetActiveWindow(HWND window) override;
    HWND CreateWindowExA(DWORD exStyle, const char* className, const char* text, DWORD style, int x,
                         int y, int width, int height, HWND parent, std::uintptr_t id) override;
    BOOL ShowWindow(HWND window, int command) override;
    BOOL GetWindowRect(HWND window, RECT* rect) override;
    BOOL ScreenToClient(HWND window, POINT* point) override;
    BOOL SystemParametersInfoA(UINT action, UINT param, void* value, UINT winIni) override;
    HWND FindTextW(FINDREPLACEW* record) override;
    HWND ReplaceTextW(FINDREPLACEW* record) override;
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

    int scrollMin() const { return scrollMin_; }
    int scrollMax() const { return scrollMax_; }

private:
    DeviceContext& Context(HDC dc);
    const FontRecord* SelectedFontRecord(HDC dc) const;
    const FontMetrics& SelectedMetrics(HDC dc) const;
    bool WidthQueryFails(HDC dc, UINT code) const;
    void SetSize(int clientWidth, int clientHeight);
    void Plot(const DeviceContext& dc, int x, int y, std::uint32_t colour);
    void InvertPixel(const DeviceContext& dc, int x, int y);
    bool Allowed(const DeviceContext& dc, int x, int y) const;
    void DrawGlyphs(HDC dc, int x, int y, const WORD* glyphs, int count, const int* dx);
    void DrawGlyph(const DeviceContext& dc, int x, int y, WORD glyph, const FontMetrics& m);
    PrintJob* OpenJob(HDC dc);
    void Destroy();
    bool Fails(const char* call);
    GlobalBlock* Block(HGLOBAL block);
    OpenFile* File(HANDLE file);
    BOOL FileDialog(OPENFILENAMEA* record, bool save);
    bool HeldWithoutDeleteSharing(const std::string& path) const;
    HWND OpenFindDialog(FINDREPLACEW* record, bool replace);
    void SendFindMessage(DWORD flags, const std::u16string& findWhat,
                         const std::u16string& replaceWith);

    HWND window_ = nullptr;
    bool destroyed_ = false;
    bool quitPosted_ = false;
    struct PostedMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<PostedMessage> posted_;
    int quitCode_ = 0;
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
    std::vector<std::uint8_t> invalid_;
    bool erasePending_ = false;
    std::vector<int> answers_;
    std::vector<MessageBoxRecord> messageBoxes_;
    std::map<int, bool> keysDown_;
    std::map<std::uintptr_t, UINT> timers_;
    std::map<std::uintptr_t, std::uint64_t> timersDue_;  // on the clock below, in ms
    std::uint64_t clock_ = 0;
    HWND capture_ = nullptr;
    std::map<UINT, UINT> menu_;
    std::map<std::uintptr_t, DeviceContext> dcs_;
    std::map<std::uintptr_t, FontRecord> fonts_;
    HGLOBAL devMode_ = nullptr;
    HGLOBAL devNames_ = nullptr;
    FontRecord stockFont_;
    RECT invalidBounds_;  // holds every invalid pixel; empty when none
    std::set<void*> heapBlocks_;
    std::uintptr_t nextHandle_ = 0x1000;
    int scrollMin_ = 0;
    int scrollMax_ = 0;
    int scrollPos_ = 0;
    std::map<std::string, int> failingCalls_;
    std::map<std::uintptr_t, GlobalBlock> globals_;
    std::map<UINT, HGLOBAL> clipboard_;
    bool clipboardOpen_ = false;
    std::map<std::uintptr_t, OpenFile> files_;
    DWORD lastError_ = 0;
    std::string folder_;
    std::string appDataFolder_;
    // Open FindFirstFileA searches: the names still to give.
    std::map<std::uintptr_t, std::vector<std::string>> searches_;
    std::vector<std::string> fileAnswers_;
    std::map<std::uintptr_t, std::vector<std::string>> drops_;
    std::map<std::u16string, UINT> registeredMessages_;
    HWND findDialog_ = nullptr;
    bool findDialogIsReplace_ = false;
    FINDREPLACEW* findRecord_ = nullptr;
    HWND activeWindow_ = nullptr;
    std::vector<std::vector<DialogPress>> dialogAnswers_;
    std::map<int, std::string> dialogItems_;  // the open dialog's control texts
    std::map<int, std::size_t> dialogLimits_;
    bool dialogEnded_ = false;
    INT_PTR dialogResult_ = 0;
    HWND statusBar_ = nullptr;
    bool statusShown_ = false;
    std::map<int, std::string> statusTexts_;
    bool UnderStatusBar(int y) const { return statusBarShown() && y >= height_ - StatusBarHeight; }
    void DrawStatusBar();
    LRESULT StatusBarMessage(UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace nv::fake
