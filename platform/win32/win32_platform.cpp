// The editor's platform header comes first: its constants carry the names that <windows.h>
// defines as macros. Their values are captured here and checked against the system's below.
#include "platform/win32/win32_platform.h"

namespace nv_values {
constexpr auto wmCreate = nv::WM_CREATE, wmDestroy = nv::WM_DESTROY, wmSize = nv::WM_SIZE,
               wmPaint = nv::WM_PAINT, wmClose = nv::WM_CLOSE, wmQuit = nv::WM_QUIT,
               wmQueryEndSession = nv::WM_QUERYENDSESSION, wmKeyDown = nv::WM_KEYDOWN,
               wmChar = nv::WM_CHAR, wmSysKeyDown = nv::WM_SYSKEYDOWN, wmCommand = nv::WM_COMMAND,
               wmTimer = nv::WM_TIMER, wmVScroll = nv::WM_VSCROLL,
               wmInitMenuPopup = nv::WM_INITMENUPOPUP, wmMouseMove = nv::WM_MOUSEMOVE,
               wmLButtonDown = nv::WM_LBUTTONDOWN, wmLButtonUp = nv::WM_LBUTTONUP;
constexpr auto wmKeyUp = nv::WM_KEYUP;
constexpr auto mbOk = nv::MB_OK, mbYesNoCancel = nv::MB_YESNOCANCEL, mbYesNo = nv::MB_YESNO,
               mbIconQuestion = nv::MB_ICONQUESTION, mbIconWarning = nv::MB_ICONWARNING,
               mbIconInformation = nv::MB_ICONINFORMATION, mbDefButton2 = nv::MB_DEFBUTTON2;
constexpr auto idOk = nv::IDOK, idCancel = nv::IDCANCEL, idYes = nv::IDYES, idNo = nv::IDNO;
constexpr auto vkBack = nv::VK_BACK, vkTab = nv::VK_TAB, vkReturn = nv::VK_RETURN,
               vkShift = nv::VK_SHIFT, vkControl = nv::VK_CONTROL, vkEscape = nv::VK_ESCAPE,
               vkSpace = nv::VK_SPACE, vkPrior = nv::VK_PRIOR, vkNext = nv::VK_NEXT,
               vkEnd = nv::VK_END, vkHome = nv::VK_HOME, vkLeft = nv::VK_LEFT, vkUp = nv::VK_UP,
               vkRight = nv::VK_RIGHT, vkDown = nv::VK_DOWN, vkDelete = nv::VK_DELETE;
constexpr auto sbVert = nv::SB_VERT;
constexpr auto sbLineUp = nv::SB_LINEUP, sbLineDown = nv::SB_LINEDOWN, sbPageUp = nv::SB_PAGEUP,
               sbPageDown = nv::SB_PAGEDOWN, sbThumbPosition = nv::SB_THUMBPOSITION,
               sbThumbTrack = nv::SB_THUMBTRACK, sbTop = nv::SB_TOP, sbBottom = nv::SB_BOTTOM,
               sbEndScroll = nv::SB_ENDSCROLL;
constexpr auto logPixelsX = nv::LOGPIXELSX, logPixelsY = nv::LOGPIXELSY,
               transparent = nv::TRANSPARENT, opaque = nv::OPAQUE;
constexpr auto taLeft = nv::TA_LEFT, taTop = nv::TA_TOP, taCenter = nv::TA_CENTER;
constexpr auto dstInvert = nv::DSTINVERT;
constexpr auto ansiCharset = nv::ANSI_CHARSET, hebrewCharset = nv::HEBREW_CHARSET,
               tmpfTrueType = nv::TMPF_TRUETYPE;
constexpr auto mfByCommand = nv::MF_BYCOMMAND, mfEnabled = nv::MF_ENABLED, mfGrayed = nv::MF_GRAYED,
               mfUnchecked = nv::MF_UNCHECKED, mfChecked = nv::MF_CHECKED,
               cfUnicodeText = nv::CF_UNICODETEXT;
constexpr auto heapZeroMemory = nv::HEAP_ZERO_MEMORY;
constexpr auto lfFaceSize = nv::LF_FACESIZE;
// Printing.
constexpr auto technology = nv::TECHNOLOGY, dtRasDisplay = nv::DT_RASDISPLAY,
               dtRasPrinter = nv::DT_RASPRINTER, physicalWidth = nv::PHYSICALWIDTH,
               physicalHeight = nv::PHYSICALHEIGHT, physicalOffsetX = nv::PHYSICALOFFSETX,
               physicalOffsetY = nv::PHYSICALOFFSETY;
constexpr auto pdNoSelection = nv::PD_NOSELECTION, pdNoPageNums = nv::PD_NOPAGENUMS,
               pdReturnDc = nv::PD_RETURNDC,
               pdUseDevModeCopiesAndCollate = nv::PD_USEDEVMODECOPIESANDCOLLATE,
               pdHidePrintToFile = nv::PD_HIDEPRINTTOFILE;
// Glyphs.
constexpr auto etoGlyphIndex = nv::ETO_GLYPH_INDEX,
               ggiMarkNonexistingGlyphs = nv::GGI_MARK_NONEXISTING_GLYPHS, gdiError = nv::GDI_ERROR;
// Clipboard and global memory; files; common file dialogs.
constexpr auto gmemMoveable = nv::GMEM_MOVEABLE, gmemZeroInit = nv::GMEM_ZEROINIT,
               gmemDdeShare = nv::GMEM_DDESHARE;
constexpr auto maxPath = nv::MAX_PATH;
constexpr auto genericRead = nv::GENERIC_READ, genericWrite = nv::GENERIC_WRITE,
               fileShareRead = nv::FILE_SHARE_READ, createAlways = nv::CREATE_ALWAYS,
               openExisting = nv::OPEN_EXISTING, invalidFileSize = nv::INVALID_FILE_SIZE,
               invalidFileAttributes = nv::INVALID_FILE_ATTRIBUTES;
constexpr auto fileShareWrite = nv::FILE_SHARE_WRITE, fileShareDelete = nv::FILE_SHARE_DELETE,
               fileBegin = nv::FILE_BEGIN, invalidSetFilePointer = nv::INVALID_SET_FILE_POINTER;
constexpr auto vkMenu = nv::VK_MENU;
constexpr auto moveFileReplaceExisting = nv::MOVEFILE_REPLACE_EXISTING,
               moveFileWriteThrough = nv::MOVEFILE_WRITE_THROUGH,
               errorAlreadyExists = nv::ERROR_ALREADY_EXISTS;
constexpr auto createNew = nv::CREATE_NEW, openAlways = nv::OPEN_ALWAYS,
               fileAttributeDirectory = nv::FILE_ATTRIBUTE_DIRECTORY;
constexpr auto wmDropFiles = nv::WM_DROPFILES;
constexpr auto ofnOverwritePrompt = nv::OFN_OVERWRITEPROMPT,
               ofnPathMustExist = nv::OFN_PATHMUSTEXIST, ofnFileMustExist = nv::OFN_FILEMUSTEXIST;
constexpr auto frDown = nv::FR_DOWN, frWholeWord = nv::FR_WHOLEWORD, frMatchCase = nv::FR_MATCHCASE,
               frFindNext = nv::FR_FINDNEXT, frReplace = nv::FR_REPLACE,
               frReplaceAll = nv::FR_REPLACEALL, frDialogTerm = nv::FR_DIALOGTERM;
constexpr const char16_t* findMessageName = nv::FINDMSGSTRINGW;
constexpr auto cpUtf8 = nv::CP_UTF8, mbErrInvalidChars = nv::MB_ERR_INVALID_CHARS,
               wcNoBestFitChars = nv::WC_NO_BEST_FIT_CHARS;
constexpr auto wmGetText = nv::WM_GETTEXT, wmLButtonDblClk = nv::WM_LBUTTONDBLCLK,
               wmMouseWheel = nv::WM_MOUSEWHEEL,
               spiGetWheelScrollLines = nv::SPI_GETWHEELSCROLLLINES,
               wheelPageScroll = nv::WHEEL_PAGESCROLL, wsChild = nv::WS_CHILD,
               wsVisible = nv::WS_VISIBLE, sbarsSizeGrip = nv::SBARS_SIZEGRIP,
               sbSetTextA = nv::SB_SETTEXTA, sbSetParts = nv::SB_SETPARTS;
constexpr auto wheelDelta = nv::WHEEL_DELTA, swHide = nv::SW_HIDE, swShow = nv::SW_SHOW;
constexpr const char* statusClassName = nv::STATUSCLASSNAMEA;
constexpr auto sOk = nv::S_OK, eInvalidArg = nv::E_INVALIDARG, eOutOfMemory = nv::E_OUTOFMEMORY;
constexpr auto wmInitDialog = nv::WM_INITDIALOG, emSetSel = nv::EM_SETSEL,
               emLimitText = nv::EM_LIMITTEXT, mfString = nv::MF_STRING,
               mfSeparator = nv::MF_SEPARATOR, swShowNormal = nv::SW_SHOWNORMAL,
               swShowMinimized = nv::SW_SHOWMINIMIZED, swShowMaximized = nv::SW_SHOWMAXIMIZED,
               swShowDefault = nv::SW_SHOWDEFAULT,
               wpfRestoreToMaximized = nv::WPF_RESTORETOMAXIMIZED,
               monitorDefaultToNull = nv::MONITOR_DEFAULTTONULL,
               monitorDefaultToNearest = nv::MONITOR_DEFAULTTONEAREST;
}  // namespace nv_values

// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <usp10.h>
// clang-format on

#include <cstddef>
#include <cstring>

namespace nv_values {
static_assert(wmCreate == WM_CREATE && wmDestroy == WM_DESTROY && wmSize == WM_SIZE &&
              wmPaint == WM_PAINT && wmClose == WM_CLOSE && wmQuit == WM_QUIT &&
              wmKeyDown == WM_KEYDOWN && wmChar == WM_CHAR && wmSysKeyDown == WM_SYSKEYDOWN &&
              wmCommand == WM_COMMAND && wmTimer == WM_TIMER && wmVScroll == WM_VSCROLL &&
              wmInitMenuPopup == WM_INITMENUPOPUP && wmMouseMove == WM_MOUSEMOVE &&
              wmLButtonDown == WM_LBUTTONDOWN && wmLButtonUp == WM_LBUTTONUP);
static_assert(wmKeyUp == WM_KEYUP);
static_assert(mbOk == MB_OK && mbYesNoCancel == MB_YESNOCANCEL && mbYesNo == MB_YESNO &&
              mbIconQuestion == MB_ICONQUESTION && mbIconWarning == MB_ICONWARNING &&
              mbIconInformation == MB_ICONINFORMATION && mbDefButton2 == MB_DEFBUTTON2);
static_assert(idOk == IDOK && idCancel == IDCANCEL && idYes == IDYES && idNo == IDNO);
static_assert(vkBack == VK_BACK && vkTab == VK_TAB && vkReturn == VK_RETURN &&
              vkShift == VK_SHIFT && vkControl == VK_CONTROL && vkEscape == VK_ESCAPE &&
              vkSpace == VK_SPACE && vkPrior == VK_PRIOR && vkNext == VK_NEXT && vkEnd == VK_END &&
              vkHome == VK_HOME && vkLeft == VK_LEFT && vkUp == VK_UP && vkRight == VK_RIGHT &&
              vkDown == VK_DOWN && vkDelete == VK_DELETE);
static_assert(sbVert == SB_VERT && sbLineUp == SB_LINEUP && sbLineDown == SB_LINEDOWN &&
              sbPageUp == SB_PAGEUP && sbPageDown == SB_PAGEDOWN &&
              sbThumbPosition == SB_THUMBPOSITION && sbThumbTrack == SB_THUMBTRACK &&
              sbTop == SB_TOP && sbBottom == SB_BOTTOM && sbEndScroll == SB_ENDSCROLL);
static_assert(logPixelsX == LOGPIXELSX && logPixelsY == LOGPIXELSY && transparent == TRANSPARENT &&
              opaque == OPAQUE);
static_assert(taLeft == TA_LEFT && taTop == TA_TOP && taCenter == TA_CENTER);
static_assert(dstInvert == DSTINVERT);
static_assert(ansiCharset == ANSI_CHARSET && hebrewCharset == HEBREW_CHARSET &&
              tmpfTrueType == TMPF_TRUETYPE);
static_assert(mfByCommand == MF_BYCOMMAND && mfEnabled == MF_ENABLED && mfGrayed == MF_GRAYED &&
              mfUnchecked == MF_UNCHECKED && mfChecked == MF_CHECKED &&
              cfUnicodeText == CF_UNICODETEXT);
static_assert(heapZeroMemory == HEAP_ZERO_MEMORY);
static_assert(lfFaceSize == LF_FACESIZE);
// Printing.
static_assert(technology == TECHNOLOGY && dtRasDisplay == DT_RASDISPLAY &&
              dtRasPrinter == DT_RASPRINTER && physicalWidth == PHYSICALWIDTH &&
              physicalHeight == PHYSICALHEIGHT && physicalOffsetX == PHYSICALOFFSETX &&
              physicalOffsetY == PHYSICALOFFSETY);
static_assert(pdNoSelection == PD_NOSELECTION && pdNoPageNums == PD_NOPAGENUMS &&
              pdReturnDc == PD_RETURNDC &&
              pdUseDevModeCopiesAndCollate == PD_USEDEVMODECOPIESANDCOLLATE &&
              pdHidePrintToFile == PD_HIDEPRINTTOFILE);
// Glyphs.
static_assert(etoGlyphIndex == ETO_GLYPH_INDEX &&
              ggiMarkNonexistingGlyphs == GGI_MARK_NONEXISTING_GLYPHS && gdiError == GDI_ERROR);
static_assert(sizeof(wchar_t) == sizeof(nv::WORD), "glyph indices travel as wide characters");
static_assert(wmQueryEndSession == WM_QUERYENDSESSION);
static_assert(gmemMoveable == GMEM_MOVEABLE && gmemZeroInit == GMEM_ZEROINIT &&
              gmemDdeShare == GMEM_DDESHARE);
static_assert(maxPath == MAX_PATH);
static_assert(cpUtf8 == CP_UTF8 && mbErrInvalidChars == MB_ERR_INVALID_CHARS &&
              wcNoBestFitChars == WC_NO_BEST_FIT_CHARS);
static_assert(genericRead == GENERIC_READ && genericWrite == GENERIC_WRITE &&
              fileShareRead == FILE_SHARE_READ && createAlways == CREATE_ALWAYS &&
              openExisting == OPEN_EXISTING && invalidFileSize == INVALID_FILE_SIZE &&
              invalidFileAttributes == INVALID_FILE_ATTRIBUTES);
static_assert(moveFileReplaceExisting == MOVEFILE_REPLACE_EXISTING &&
              moveFileWriteThrough == MOVEFILE_WRITE_THROUGH &&
              errorAlreadyExists == ERROR_ALREADY_EXISTS);
static_assert(fileShareWrite == FILE_SHARE_WRITE && fileShareDelete == FILE_SHARE_DELETE &&
              fileBegin == FILE_BEGIN && invalidSetFilePointer == INVALID_SET_FILE_POINTER);
static_assert(vkMenu == VK_MENU);
static_assert(createNew == CREATE_NEW && openAlways == OPEN_ALWAYS &&
              fileAttributeDirectory == FILE_ATTRIBUTE_DIRECTORY);
static_assert(wmDropFiles == WM_DROPFILES);
static_assert(ofnOverwritePrompt == OFN_OVERWRITEPROMPT && ofnPathMustExist == OFN_PATHMUSTEXIST &&
              ofnFileMustExist == OFN_FILEMUSTEXIST);
static_assert(frDown == FR_DOWN && frWholeWord == FR_WHOLEWORD && frMatchCase == FR_MATCHCASE &&
              frFindNext == FR_FINDNEXT && frReplace == FR_REPLACE &&
              frReplaceAll == FR_REPLACEALL && frDialogTerm == FR_DIALOGTERM);
static_assert(sizeof(WCHAR) == sizeof(char16_t), "dialog texts travel as UTF-16 units");
static_assert(wmGetText == WM_GETTEXT && wmLButtonDblClk == WM_LBUTTONDBLCLK &&
              wmMouseWheel == WM_MOUSEWHEEL && wheelDelta == WHEEL_DELTA &&
              spiGetWheelScrollLines == SPI_GETWHEELSCROLLLINES &&
              wheelPageScroll == WHEEL_PAGESCROLL && wsChild == WS_CHILD &&
              wsVisible == WS_VISIBLE && sbarsSizeGrip == SBARS_SIZEGRIP &&
              sbSetTextA == SB_SETTEXTA && sbSetParts == SB_SETPARTS && swHide == SW_HIDE &&
              swShow == SW_SHOW);
static_assert(sizeof(nv::POINT) == sizeof(::POINT) && sizeof(nv::RECT) == sizeof(::RECT));
static_assert(sOk == S_OK && eInvalidArg == E_INVALIDARG && eOutOfMemory == E_OUTOFMEMORY);
static_assert(wmInitDialog == WM_INITDIALOG && emSetSel == EM_SETSEL &&
              emLimitText == EM_LIMITTEXT && mfString == MF_STRING && mfSeparator == MF_SEPARATOR &&
              swShowNormal == SW_SHOWNORMAL && swShowMinimized == SW_SHOWMINIMIZED &&
              swShowMaximized == SW_SHOWMAXIMIZED && swShowDefault == SW_SHOWDEFAULT &&
              wpfRestoreToMaximized == WPF_RESTORETOMAXIMIZED &&
              monitorDefaultToNull == MONITOR_DEFAULTTONULL &&
              monitorDefaultToNearest == MONITOR_DEFAULTTONEAREST);
// The Uniscribe records are declared as the system declares them, so they are the same
// records: the forwarders pass them through.
static_assert(sizeof(nv::SCRIPT_CONTROL) == sizeof(::SCRIPT_CONTROL) &&
              sizeof(nv::SCRIPT_STATE) == sizeof(::SCRIPT_STATE) &&
              sizeof(nv::SCRIPT_ANALYSIS) == sizeof(::SCRIPT_ANALYSIS) &&
              sizeof(nv::SCRIPT_ITEM) == sizeof(::SCRIPT_ITEM) &&
              offsetof(nv::SCRIPT_ITEM, a) == offsetof(::SCRIPT_ITEM, a) &&
              offsetof(nv::SCRIPT_ANALYSIS, s) == offsetof(::SCRIPT_ANALYSIS, s));
}  // namespace nv_values

namespace nv {

namespace {

// The editor's handles are the system's handles under another type.
::HWND Sys(HWND window) { return reinterpret_cast<::HWND>(window); }
::HDC Sys(HDC dc) { return reinterpret_cast<::HDC>(dc); }
::HGDIOBJ Sys(HGDIOBJ object) { return reinterpret_cast<::HGDIOBJ>(object); }
::HMENU Sys(HMENU menu) { return reinterpret_cast<::HMENU>(menu); }
HWND Nv(::HWND window) { return reinterpret_cast<HWND>(window); }
HDC Nv(::HDC dc) { return reinterpret_cast<HDC>(dc); }
HGDIOBJ Nv(::HGDIOBJ object) { return reinterpret_cast<HGDIOBJ>(object); }
HMENU Nv(::HMENU menu) { return reinterpret_cast<HMENU>(menu); }
::HANDLE Sys(HANDLE file) { return reinterpret_cast<::HANDLE>(file); }
HANDLE NvFile(::HANDLE file) { return reinterpret_cast<HANDLE>(file); }
::HGLOBAL Sys(HGLOBAL block) { return reinterpret_cast<::HGLOBAL>(block); }
HGLOBAL NvGlobal(::HANDLE block) { return reinterpret_cast<HGLOBAL>(block); }

::RECT Sys(const RECT& r) { return ::RECT{r.left, r.top, r.right, r.bottom}; }
RECT Nv(const ::RECT& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

::LOGFONTA Sys(const LOGFONTA& f) {
    ::LOGFONTA sys{};
    sys.lfHeight = f.lfHeight;
    sys.lfWidth = f.lfWidth;
    sys.lfEscapement = f.lfEscapement;
    sys.lfOrientation = f.lfOrientation;
    sys.lfWeight = f.lfWeight;
    sys.lfItalic = f.lfItalic;
    sys.lfUnderline = f.lfUnderline;
    sys.lfStrikeOut = f.lfStrikeOut;
    sys.lfCharSet = f.lfCharSet;
    sys.lfOutPrecision = f.lfOutPrecision;
    sys.lfClipPrecision = f.lfClipPrecision;
    sys.lfQuality = f.lfQuality;
    sys.lfPitchAndFamily = f.lfPitchAndFamily;
    std::memcpy(sys.lfFaceName, f.lfFaceName, sizeof sys.lfFaceName);
    sys.lfFaceName[LF_FACESIZE - 1] = '\0';
    return sys;
}

TEXTMETRICA Nv(const ::TEXTMETRICA& t) {
    TEXTMETRICA nv;
    nv.tmHeight = t.tmHeight;
    nv.tmAscent = t.tmAscent;
    nv.tmDescent = t.tmDescent;
    nv.tmInternalLeading = t.tmInternalLeading;
    nv.tmExternalLeading = t.tmExternalLeading;
    nv.tmAveCharWidth = t.tmAveCharWidth;
    nv.tmMaxCharWidth = t.tmMaxCharWidth;
    nv.tmWeight = t.tmWeight;
    nv.tmOverhang = t.tmOverhang;
    nv.tmDigitizedAspectX = t.tmDigitizedAspectX;
    nv.tmDigitizedAspectY = t.tmDigitizedAspectY;
    nv.tmFirstChar = static_cast<std::uint8_t>(t.tmFirstChar);
    nv.tmLastChar = static_cast<std::uint8_t>(t.tmLastChar);
    nv.tmDefaultChar = static_cast<std::uint8_t>(t.tmDefaultChar);
    nv.tmBreakChar = static_cast<std::uint8_t>(t.tmBreakChar);
    nv.tmItalic = t.tmItalic;
    nv.tmUnderlined = t.tmUnderlined;
    nv.tmStruckOut = t.tmStruckOut;
    nv.tmPitchAndFamily = t.tmPitchAndFamily;
    nv.tmCharSet = t.tmCharSet;
    return nv;
}

// The editor's dialog record holds the fields it fills and declares its own size; the
// system's record gets the system's size, and what the dialog writes back is copied back.
using FileDialog = BOOL(WINAPI*)(::LPOPENFILENAMEA);
BOOL RunFileDialog(OPENFILENAMEA* record, FileDialog dialog) {
    // A record of another size is refused as the system refuses one.
    if (record->lStructSize != sizeof(OPENFILENAMEA)) return FALSE;
    ::OPENFILENAMEA sys{};
    sys.lStructSize = sizeof(::OPENFILENAMEA);
    sys.hwndOwner = Sys(record->hwndOwner);
    sys.lpstrFilter = record->lpstrFilter;
    sys.nFilterIndex = record->nFilterIndex;
    sys.lpstrFile = record->lpstrFile;
    sys.nMaxFile = record->nMaxFile;
    sys.lpstrFileTitle = record->lpstrFileTitle;
    sys.nMaxFileTitle = record->nMaxFileTitle;
    sys.Flags = record->Flags;
    sys.lpstrDefExt = record->lpstrDefExt;
    BOOL chosen = dialog(&sys);
    record->nFilterIndex = sys.nFilterIndex;
    record->Flags = sys.Flags;
    return chosen;
}

// The open Find or Replace dialog writes into the system's record, which must live as long
// as the dialog; the editor's record shares its text buffers and gets its Flags back with
// each message (EditorFindRecord). One dialog is open at a time.
::FINDREPLACEW findRecord{};
FINDREPLACEW* editorFindRecord = nullptr;

using FindDialog = ::HWND(WINAPI*)(::LPFINDREPLACEW);
HWND RunFindDialog(FINDREPLACEW* record, FindDialog dialog) {
    if (record->lStructSize != sizeof(FINDREPLACEW)) return nullptr;
    findRecord = ::FINDREPLACEW{};
    findRecord.lStructSize = sizeof(::FINDREPLACEW);
    findRecord.hwndOwner = Sys(record->hwndOwner);
    findRecord.Flags = record->Flags;
    findRecord.lpstrFindWhat = reinterpret_cast<LPWSTR>(record->lpstrFindWhat);
    findRecord.lpstrReplaceWith = reinterpret_cast<LPWSTR>(record->lpstrReplaceWith);
    findRecord.wFindWhatLen = record->wFindWhatLen;
    findRecord.wReplaceWithLen = record->wReplaceWithLen;
    editorFindRecord = record;
    return Nv(dialog(&findRecord));
}

// EndPaint needs the system's whole record, of which the editor keeps only a part. Paints
// do not nest on the one thread, so the open one is kept here.
::PAINTSTRUCT openPaint{};

}  // namespace

LRESULT Win32Platform::DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(Sys(window), message, wParam, lParam);
}

LRESULT Win32Platform::SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageA(Sys(window), message, wParam, lParam);
}

void Win32Platform::PostQuitMessage(int exitCode) { ::PostQuitMessage(exitCode); }

BOOL Win32Platform::PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageA(Sys(window), message, wParam, lParam);
}

DWORD Win32Platform::GetQueueStatus(UINT flags) { return ::GetQueueStatus(flags); }

int Win32Platform::MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) {
    return ::MessageBoxA(Sys(owner), text, caption, type);
}

int Win32Platform::MessageBoxW(HWND owner, const WCHAR* text, const WCHAR* caption, UINT type) {
    return ::MessageBoxW(Sys(owner), reinterpret_cast<LPCWSTR>(text),
                         reinterpret_cast<LPCWSTR>(caption), type);
}

UINT Win32Platform::RegisterWindowMessageW(const WCHAR* name) {
    return ::RegisterWindowMessageW(reinterpret_cast<LPCWSTR>(name));
}

HWND Win32Platform::SetActiveWindow(HWND window) { return Nv(::SetActiveWindow(Sys(window))); }

HWND Win32Platform::CreateWindowExA(DWORD exStyle, const char* className, const char* text,
                                    DWORD style, int x, int y, int width, int height, HWND parent,
                                    std::uintptr_t id) {
    return Nv(::CreateWindowExA(exStyle, className, text, style, x, y, width, height, Sys(parent),
                                reinterpret_cast<::HMENU>(id), ::GetModuleHandleA(nullptr),
                                nullptr));
}

BOOL Win32Platform::ShowWindow(HWND window, int command) {
    return ::ShowWindow(Sys(window), command);
}

BOOL Win32Platform::GetWindowRect(HWND window, RECT* rect) {
    ::RECT sys{};
    const BOOL done = ::GetWindowRect(Sys(window), &sys);
    *rect = Nv(sys);
    return done;
}

BOOL Win32Platform::ScreenToClient(HWND window, POINT* point) {
    ::POINT sys{point->x, point->y};
    const BOOL done = ::ScreenToClient(Sys(window), &sys);
    *point = POINT{sys.x, sys.y};
    return done;
}

BOOL Win32Platform::SystemParametersInfoA(UINT action, UINT param, void* value, UINT winIni) {
    return ::SystemParametersInfoA(action, param, value, winIni);
}

BOOL Win32Platform::SetWindowTextA(HWND window, const char* text) {
    return ::SetWindowTextA(Sys(window), text);
}

HMENU Win32Platform::GetMenu(HWND window) { return Nv(::GetMenu(Sys(window))); }

int Win32Platform::EnableMenuItem(HMENU menu, UINT item, UINT flags) {
    return ::EnableMenuItem(Sys(menu), item, flags);
}

DWORD Win32Platform::CheckMenuItem(HMENU menu, UINT item, UINT flags) {
    return ::CheckMenuItem(Sys(menu), item, flags);
}

BOOL Win32Platform::DrawMenuBar(HWND window) { return ::DrawMenuBar(Sys(window)); }

BOOL Win32Platform::IsClipboardFormatAvailable(UINT format) {
    return ::IsClipboardFormatAvailable(format);
}

short Win32Platform::GetKeyState(int virtualKey) { return ::GetKeyState(virtualKey); }

std::uintptr_t Win32Platform::SetTimer(HWND window, std::uintptr_t id, UINT milliseconds) {
    return ::SetTimer(Sys(window), id, milliseconds, nullptr);
}

BOOL Win32Platform::KillTimer(HWND window, std::uintptr_t id) {
    return ::KillTimer(Sys(window), id);
}

void Win32Platform::Sleep(DWORD milliseconds) { ::Sleep(milliseconds); }

HWND Win32Platform::SetCapture(HWND window) { return Nv(::SetCapture(Sys(window))); }

BOOL Win32Platform::ReleaseCapture() { return ::ReleaseCapture(); }

HDC Win32Platform::GetDC(HWND window) { return Nv(::GetDC(Sys(window))); }

int Win32Platform::ReleaseDC(HWND window, HDC dc) { return ::ReleaseDC(Sys(window), Sys(dc)); }

HDC Win32Platform::CreateCompatibleDC(HDC dc) { return Nv(::CreateCompatibleDC(Sys(dc))); }

int Win32Platform::GetDeviceCaps(HDC dc, int index) { return ::GetDeviceCaps(Sys(dc), index); }

HDC Win32Platform::BeginPaint(HWND window, PAINTSTRUCT* paint) {
    openPaint = ::PAINTSTRUCT{};
    ::HDC dc = ::BeginPaint(Sys(window), &openPaint);
    paint->hdc = Nv(dc);
    paint->fErase = openPaint.fErase;
    paint->rcPaint = Nv(openPaint.rcPaint);
    return paint->hdc;
}

BOOL Win32Platform::EndPaint(HWND window, const PAINTSTRUCT* paint) {
    ::PAINTSTRUCT sys = openPaint;
    if (sys.hdc != Sys(paint->hdc)) {
        sys = ::PAINTSTRUCT{};
        sys.hdc = Sys(paint->hdc);
        sys.fErase = paint->fErase;
        sys.rcPaint = Sys(paint->rcPaint);
    }
    openPaint = ::PAINTSTRUCT{};
    return ::EndPaint(Sys(window), &sys);
}

BOOL Win32Platform::InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
    if (rect == nullptr) return ::InvalidateRect(Sys(window), nullptr, erase);
    ::RECT sys = Sys(*rect);
    return ::InvalidateRect(Sys(window), &sys, erase);
}

BOOL Win32Platform::UpdateWindow(HWND window) { return ::UpdateWindow(Sys(window)); }

BOOL Win32Platform::ScrollWindow(HWND window, int dx, int dy, const RECT* scroll,
                                 const RECT* clip) {
    ::RECT scrollRect{}, clipRect{};
    if (scroll != nullptr) scrollRect = Sys(*scroll);
    if (clip != nullptr) clipRect = Sys(*clip);
    return ::ScrollWindow(Sys(window), dx, dy, scroll != nullptr ? &scrollRect : nullptr,
                          clip != nullptr ? &clipRect : nullptr);
}

HFONT Win32Platform::CreateFontIndirectA(const LOGFONTA* font) {
    ::LOGFONTA sys = Sys(*font);
    return Nv(reinterpret_cast<::HGDIOBJ>(::CreateFontIndirectA(&sys)));
}

HGDIOBJ Win32Platform::SelectObject(HDC dc, HGDIOBJ object) {
    return Nv(::SelectObject(Sys(dc), Sys(object)));
}

BOOL Win32Platform::DeleteObject(HGDIOBJ object) { return ::DeleteObject(Sys(object)); }

BOOL Win32Platform::GetTextMetricsA(HDC dc, TEXTMETRICA* metrics) {
    ::TEXTMETRICA sys{};
    if (!::GetTextMetricsA(Sys(dc), &sys)) return FALSE;
    *metrics = Nv(sys);
    return TRUE;
}

BOOL Win32Platform::GetCharABCWidthsA(HDC dc, UINT first, UINT last, ABC* widths) {
    // In chunks on the stack: the editor asks for up to 256 codes at once.
    constexpr UINT Chunk = 64;
    ::ABC sys[Chunk];
    for (UINT start = first; start <= last; start += Chunk) {
        UINT end = last - start >= Chunk ? start + Chunk - 1 : last;
        if (!::GetCharABCWidthsA(Sys(dc), start, end, sys)) return FALSE;
        for (UINT code = start; code <= end; ++code) {
            const ::ABC& from = sys[code - start];
            ABC& to = widths[code - first];
            to.abcA = from.abcA;
            to.abcB = from.abcB;
            to.abcC = from.abcC;
        }
        if (end == last) break;
    }
    return TRUE;
}

BOOL Win32Platform::GetCharWidthA(HDC dc, UINT first, UINT last, int* widths) {
    return ::GetCharWidthA(Sys(dc), first, last, widths);
}

int Win32Platform::SetBkMode(HDC dc, int mode) { return ::SetBkMode(Sys(dc), mode); }

UINT Win32Platform::SetTextAlign(HDC dc, UINT align) { return ::SetTextAlign(Sys(dc), align); }

BOOL Win32Platform::TextOutA(HDC dc, int x, int y, const char* text, int count) {
    return ::TextOutA(Sys(dc), x, y, text, count);
}

int Win32Platform::GetClipBox(HDC dc, RECT* rect) {
    ::RECT box{};
    int kind = ::GetClipBox(Sys(dc), &box);
    *rect = RECT{box.left, box.top, box.right, box.bottom};
    return kind;
}

BOOL Win32Platform::MoveToEx(HDC dc, int x, int y) { return ::MoveToEx(Sys(dc), x, y, nullptr); }

BOOL Win32Platform::LineTo(HDC dc, int x, int y) { return ::LineTo(Sys(dc), x, y); }

BOOL Win32Platform::Rectangle(HDC dc, int left, int top, int right, int bottom) {
    return ::Rectangle(Sys(dc), left, top, right, bottom);
}

BOOL Win32Platform::PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop) {
    return ::PatBlt(Sys(dc), x, y, width, height, rop);
}

int Win32Platform::SetScrollRange(HWND window, int bar, int minPos, int maxPos, BOOL redraw) {
    return ::SetScrollRange(Sys(window), bar, minPos, maxPos, redraw);
}

int Win32Platform::SetScrollPos(HWND window, int bar, int pos, BOOL redraw) {
    return ::SetScrollPos(Sys(window), bar, pos, redraw);
}

int Win32Platform::GetScrollPos(HWND window, int bar) { return ::GetScrollPos(Sys(window), bar); }

BOOL Win32Platform::GetScrollRange(HWND window, int bar, int* minPos, int* maxPos) {
    return ::GetScrollRange(Sys(window), bar, minPos, maxPos);
}

void* Win32Platform::HeapAlloc(DWORD flags, std::size_t bytes) {
    return ::HeapAlloc(::GetProcessHeap(), flags, bytes);
}

BOOL Win32Platform::HeapFree(void* block) { return ::HeapFree(::GetProcessHeap(), 0, block); }

// --- Printing ---------------------------------------------------------------------------

// The editor's records are its own types: the system's are filled with their own sizes (a
// 64-bit program's PRINTDLGA and DOCINFOA are larger than the 32-bit ones), and what the
// dialog returns is copied back. A record of another declared size is refused, as the
// system refuses one.
BOOL Win32Platform::PrintDlgA(PRINTDLGA* record) {
    if (record->lStructSize != sizeof(PRINTDLGA)) return FALSE;
    ::PRINTDLGA sys{};
    sys.lStructSize = sizeof(::PRINTDLGA);
    sys.hwndOwner = Sys(record->hwndOwner);
    sys.hDevMode = Sys(record->hDevMode);
    sys.hDevNames = Sys(record->hDevNames);
    sys.hDC = Sys(record->hDC);
    sys.Flags = record->Flags;
    BOOL chosen = ::PrintDlgA(&sys);
    record->hDevMode = NvGlobal(sys.hDevMode);
    record->hDevNames = NvGlobal(sys.hDevNames);
    record->hDC = Nv(sys.hDC);
    record->Flags = sys.Flags;
    return chosen;
}

int Win32Platform::StartDocA(HDC dc, const DOCINFOA* info) {
    if (info->cbSize != sizeof(DOCINFOA)) return 0;
    ::DOCINFOA sys{};
    sys.cbSize = sizeof(::DOCINFOA);
    sys.lpszDocName = info->lpszDocName;
    sys.lpszOutput = info->lpszOutput;
    sys.lpszDatatype = info->lpszDatatype;
    sys.fwType = info->fwType;
    return ::StartDocA(Sys(dc), &sys);
}

int Win32Platform::StartPage(HDC dc) { return ::StartPage(Sys(dc)); }

int Win32Platform::EndPage(HDC dc) { return ::EndPage(Sys(dc)); }

int Win32Platform::EndDoc(HDC dc) { return ::EndDoc(Sys(dc)); }

int Win32Platform::AbortDoc(HDC dc) { return ::AbortDoc(Sys(dc)); }

BOOL Win32Platform::DeleteDC(HDC dc) { return ::DeleteDC(Sys(dc)); }

// --- Glyphs -----------------------------------------------------------------------------

DWORD Win32Platform::GetGlyphIndicesA(HDC dc, const char* text, int count, WORD* indices,
                                      DWORD flags) {
    return ::GetGlyphIndicesA(Sys(dc), text, count, indices, flags);
}

BOOL Win32Platform::ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect,
                                const WORD* text, UINT count, const int* dx) {
    ::RECT area{};
    if (rect != nullptr) area = Sys(*rect);
    return ::ExtTextOutW(Sys(dc), x, y, options, rect != nullptr ? &area : nullptr,
                         reinterpret_cast<const wchar_t*>(text), count, dx);
}

// Uniscribe.

HRESULT Win32Platform::ScriptItemize(const WORD* text, int count, int maxItems,
                                     const SCRIPT_CONTROL* control, const SCRIPT_STATE* state,
                                     SCRIPT_ITEM* items, int* itemCount) {
    return ::ScriptItemize(reinterpret_cast<const ::WCHAR*>(text), count, maxItems,
                           reinterpret_cast<const ::SCRIPT_CONTROL*>(control),
                           reinterpret_cast<const ::SCRIPT_STATE*>(state),
                           reinterpret_cast<::SCRIPT_ITEM*>(items), itemCount);
}

HRESULT Win32Platform::ScriptLayout(int runs, const std::uint8_t* levels, int* visualToLogical,
                                    int* logicalToVisual) {
    return ::ScriptLayout(runs, levels, visualToLogical, logicalToVisual);
}

// Clipboard and global memory.

BOOL Win32Platform::OpenClipboard(HWND owner) { return ::OpenClipboard(Sys(owner)); }

BOOL Win32Platform::EmptyClipboard() { return ::EmptyClipboard(); }

HGLOBAL Win32Platform::SetClipboardData(UINT format, HGLOBAL block) {
    return NvGlobal(::SetClipboardData(format, Sys(block)));
}

HGLOBAL Win32Platform::GetClipboardData(UINT format) {
    return NvGlobal(::GetClipboardData(format));
}

BOOL Win32Platform::CloseClipboard() { return ::CloseClipboard(); }

HGLOBAL Win32Platform::GlobalAlloc(UINT flags, std::size_t bytes) {
    return NvGlobal(::GlobalAlloc(flags, bytes));
}

void* Win32Platform::GlobalLock(HGLOBAL block) { return ::GlobalLock(Sys(block)); }

BOOL Win32Platform::GlobalUnlock(HGLOBAL block) { return ::GlobalUnlock(Sys(block)); }

std::size_t Win32Platform::GlobalSize(HGLOBAL block) { return ::GlobalSize(Sys(block)); }

HGLOBAL Win32Platform::GlobalFree(HGLOBAL block) { return NvGlobal(::GlobalFree(Sys(block))); }

// Code page conversions.

int Win32Platform::MultiByteToWideChar(UINT codePage, DWORD flags, const char* text, int count,
                                       WCHAR* units, int size) {
    return ::MultiByteToWideChar(codePage, flags, text, count, reinterpret_cast<LPWSTR>(units),
                                 size);
}

int Win32Platform::WideCharToMultiByte(UINT codePage, DWORD flags, const WCHAR* units, int count,
                                       char* text, int size, const char* defaultChar,
                                       BOOL* usedDefault) {
    return ::WideCharToMultiByte(codePage, flags, reinterpret_cast<LPCWCH>(units), count, text,
                                 size, defaultChar, usedDefault);
}

// Files.

HANDLE Win32Platform::CreateFileA(const char* name, DWORD access, DWORD share, DWORD creation,
                                  DWORD attributes) {
    return NvFile(::CreateFileA(name, access, share, nullptr, creation, attributes, nullptr));
}

BOOL Win32Platform::ReadFile(HANDLE file, void* buffer, DWORD bytes, DWORD* read) {
    ::DWORD count = 0;
    BOOL done = ::ReadFile(Sys(file), buffer, bytes, &count, nullptr);
    *read = count;
    return done;
}

BOOL Win32Platform::WriteFile(HANDLE file, const void* buffer, DWORD bytes, DWORD* written) {
    ::DWORD count = 0;
    BOOL done = ::WriteFile(Sys(file), buffer, bytes, &count, nullptr);
    *written = count;
    return done;
}

DWORD Win32Platform::GetFileSize(HANDLE file, DWORD* high) {
    ::DWORD sysHigh = 0;
    DWORD low = ::GetFileSize(Sys(file), &sysHigh);
    if (high != nullptr) *high = sysHigh;
    return low;
}

BOOL Win32Platform::FlushFileBuffers(HANDLE file) { return ::FlushFileBuffers(Sys(file)); }

BOOL Win32Platform::CloseHandle(HANDLE file) { return ::CloseHandle(Sys(file)); }

DWORD Win32Platform::GetFileAttributesA(const char* name) { return ::GetFileAttributesA(name); }

BOOL Win32Platform::MoveFileExA(const char* from, const char* to, DWORD flags) {
    return ::MoveFileExA(from, to, flags);
}

BOOL Win32Platform::DeleteFileA(const char* name) { return ::DeleteFileA(name); }

BOOL Win32Platform::SetEndOfFile(HANDLE file) { return ::SetEndOfFile(Sys(file)); }

DWORD Win32Platform::SetFilePointer(HANDLE file, LONG distance, DWORD method) {
    return ::SetFilePointer(Sys(file), distance, nullptr, method);
}

BOOL Win32Platform::CreateDirectoryA(const char* path) { return ::CreateDirectoryA(path, nullptr); }

namespace {

void CopyFindData(const ::WIN32_FIND_DATAA& from, WIN32_FIND_DATAA* to) {
    to->dwFileAttributes = from.dwFileAttributes;
    to->ftLastWriteTime =
        FILETIME{from.ftLastWriteTime.dwLowDateTime, from.ftLastWriteTime.dwHighDateTime};
    to->nFileSizeHigh = from.nFileSizeHigh;
    to->nFileSizeLow = from.nFileSizeLow;
    static_assert(sizeof to->cFileName == sizeof from.cFileName);
    std::memcpy(to->cFileName, from.cFileName, sizeof to->cFileName);
}

}  // namespace

HANDLE Win32Platform::FindFirstFileA(const char* pattern, WIN32_FIND_DATAA* found) {
    ::WIN32_FIND_DATAA data{};
    ::HANDLE search = ::FindFirstFileA(pattern, &data);
    if (search != INVALID_HANDLE_VALUE) CopyFindData(data, found);
    return NvFile(search);
}

BOOL Win32Platform::FindNextFileA(HANDLE search, WIN32_FIND_DATAA* found) {
    ::WIN32_FIND_DATAA data{};
    if (!::FindNextFileA(Sys(search), &data)) return 0;
    CopyFindData(data, found);
    return 1;
}

BOOL Win32Platform::FindClose(HANDLE search) { return ::FindClose(Sys(search)); }

DWORD Win32Platform::GetEnvironmentVariableA(const char* name, char* buffer, DWORD size) {
    return ::GetEnvironmentVariableA(name, buffer, size);
}

DWORD Win32Platform::GetCurrentProcessId() { return ::GetCurrentProcessId(); }

DWORD Win32Platform::GetLastError() { return ::GetLastError(); }
DWORD Win32Platform::GetFullPathNameA(const char* name, DWORD size, char* buffer) {
    return ::GetFullPathNameA(name, size, buffer, nullptr);
}

void Win32Platform::GetSystemTimeAsFileTime(FILETIME* now) {
    ::FILETIME time{};
    ::GetSystemTimeAsFileTime(&time);
    *now = FILETIME{time.dwLowDateTime, time.dwHighDateTime};
}

// Files dropped on the window.

void Win32Platform::DragAcceptFiles(HWND window, BOOL accept) {
    ::DragAcceptFiles(Sys(window), accept);
}

UINT Win32Platform::DragQueryFileA(HDROP drop, UINT index, char* buffer, UINT size) {
    return ::DragQueryFileA(reinterpret_cast<::HDROP>(drop), index, buffer, size);
}

void Win32Platform::DragFinish(HDROP drop) { ::DragFinish(reinterpret_cast<::HDROP>(drop)); }

// Common file dialogs.

BOOL Win32Platform::GetOpenFileNameA(OPENFILENAMEA* record) {
    return RunFileDialog(record, ::GetOpenFileNameA);
}

BOOL Win32Platform::GetSaveFileNameA(OPENFILENAMEA* record) {
    return RunFileDialog(record, ::GetSaveFileNameA);
}

// Find and Replace dialogs.

HWND Win32Platform::FindTextW(FINDREPLACEW* record) { return RunFindDialog(record, ::FindTextW); }

HWND Win32Platform::ReplaceTextW(FINDREPLACEW* record) {
    return RunFindDialog(record, ::ReplaceTextW);
}

LPARAM EditorFindRecord(LPARAM systemRecord) {
    if (editorFindRecord == nullptr || systemRecord != reinterpret_cast<LPARAM>(&findRecord)) {
        return systemRecord;
    }
    editorFindRecord->Flags = findRecord.Flags;
    return reinterpret_cast<LPARAM>(editorFindRecord);
}

// Dialogs from the exe's resources. The editor's dialog procedure takes the editor's
// types, so a procedure of the system's kind forwards to it; modal dialogs run one at a time.

namespace {

DLGPROC editorDialogProcedure = nullptr;

INT_PTR CALLBACK ForwardDialogMessage(::HWND dialog, ::UINT message, ::WPARAM wParam,
                                      ::LPARAM lParam) {
    if (editorDialogProcedure == nullptr) return FALSE;
    return editorDialogProcedure(Nv(dialog), message, wParam, lParam);
}

}  // namespace

INT_PTR Win32Platform::DialogBoxParamA(const char* templateName, HWND owner, DLGPROC procedure,
                                       LPARAM param) {
    DLGPROC outer = editorDialogProcedure;
    editorDialogProcedure = procedure;
    const INT_PTR result = ::DialogBoxParamA(::GetModuleHandleA(nullptr), templateName, Sys(owner),
                                             ForwardDialogMessage, param);
    editorDialogProcedure = outer;
    return result;
}

BOOL Win32Platform::EndDialog(HWND dialog, INT_PTR result) {
    return ::EndDialog(Sys(dialog), result);
}

UINT Win32Platform::GetDlgItemInt(HWND dialog, int item, BOOL* translated, BOOL isSigned) {
    return ::GetDlgItemInt(Sys(dialog), item, translated, isSigned);
}

BOOL Win32Platform::SetDlgItemInt(HWND dialog, int item, UINT value, BOOL isSigned) {
    return ::SetDlgItemInt(Sys(dialog), item, value, isSigned);
}

LRESULT Win32Platform::SendDlgItemMessageA(HWND dialog, int item, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    return ::SendDlgItemMessageA(Sys(dialog), item, message, wParam, lParam);
}

// Menu items, the settings file and the window's place.

BOOL Win32Platform::InsertMenuA(HMENU menu, UINT position, UINT flags, std::uintptr_t id,
                                const char* text) {
    return ::InsertMenuA(Sys(menu), position, flags, id, text);
}

BOOL Win32Platform::DeleteMenu(HMENU menu, UINT position, UINT flags) {
    return ::DeleteMenu(Sys(menu), position, flags);
}

DWORD Win32Platform::GetPrivateProfileStringA(const char* section, const char* key,
                                              const char* defaultValue, char* buffer, DWORD size,
                                              const char* fileName) {
    return ::GetPrivateProfileStringA(section, key, defaultValue, buffer, size, fileName);
}

BOOL Win32Platform::WritePrivateProfileStringA(const char* section, const char* key,
                                               const char* value, const char* fileName) {
    return ::WritePrivateProfileStringA(section, key, value, fileName);
}

namespace {

POINT Nv(const ::POINT& p) { return POINT{p.x, p.y}; }
::POINT Sys(const POINT& p) { return ::POINT{p.x, p.y}; }

}  // namespace

BOOL Win32Platform::GetWindowPlacement(HWND window, WINDOWPLACEMENT* placement) {
    ::WINDOWPLACEMENT sys{};
    sys.length = sizeof(::WINDOWPLACEMENT);
    if (!::GetWindowPlacement(Sys(window), &sys)) return FALSE;
    placement->flags = sys.flags;
    placement->showCmd = sys.showCmd;
    placement->ptMinPosition = Nv(sys.ptMinPosition);
    placement->ptMaxPosition = Nv(sys.ptMaxPosition);
    placement->rcNormalPosition = Nv(sys.rcNormalPosition);
    return TRUE;
}

BOOL Win32Platform::SetWindowPlacement(HWND window, const WINDOWPLACEMENT* placement) {
    ::WINDOWPLACEMENT sys{};
    sys.length = sizeof(::WINDOWPLACEMENT);
    sys.flags = placement->flags;
    sys.showCmd = placement->showCmd;
    sys.ptMinPosition = Sys(placement->ptMinPosition);
    sys.ptMaxPosition = Sys(placement->ptMaxPosition);
    sys.rcNormalPosition = Sys(placement->rcNormalPosition);
    return ::SetWindowPlacement(Sys(window), &sys);
}

HMONITOR Win32Platform::MonitorFromRect(const RECT* rect, DWORD flags) {
    const ::RECT sys = Sys(*rect);
    return reinterpret_cast<HMONITOR>(::MonitorFromRect(&sys, flags));
}

BOOL Win32Platform::GetMonitorInfoA(HMONITOR monitor, MONITORINFO* info) {
    ::MONITORINFO sys{};
    sys.cbSize = sizeof(::MONITORINFO);
    if (!::GetMonitorInfoA(reinterpret_cast<::HMONITOR>(monitor), &sys)) return FALSE;
    info->rcMonitor = Nv(sys.rcMonitor);
    info->rcWork = Nv(sys.rcWork);
    info->dwFlags = sys.dwFlags;
    return TRUE;
}

}  // namespace nv
