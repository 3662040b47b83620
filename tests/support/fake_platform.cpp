#include "tests/support/fake_platform.h"

#include <fcntl.h>
#include <fnmatch.h>
#include <fribidi.h>
#include <gtest/gtest.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <utility>

namespace nv::fake {

namespace {

constexpr std::uintptr_t StockFontHandle = 0x10;
constexpr std::uintptr_t MenuHandle = 0x20;

template <typename Handle>
std::uintptr_t Id(Handle handle) {
    return reinterpret_cast<std::uintptr_t>(handle);
}

template <typename Handle>
Handle MakeHandle(std::uintptr_t id) {
    return reinterpret_cast<Handle>(id);
}

bool Contains(const char* text, const char* part) { return std::strstr(text, part) != nullptr; }

// A small deterministic hash that gives each glyph its own pattern.
std::uint32_t GlyphBits(WORD glyph, int column, int row) {
    std::uint32_t h = glyph * 0x9E3779B1u ^ static_cast<std::uint32_t>(column) * 0x85EBCA77u ^
                      static_cast<std::uint32_t>(row) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    return h;
}

bool IsEmpty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

void Unite(RECT& into, const RECT& r) {
    if (IsEmpty(r)) return;
    if (IsEmpty(into)) {
        into = r;
        return;
    }
    into.left = std::min(into.left, r.left);
    into.top = std::min(into.top, r.top);
    into.right = std::max(into.right, r.right);
    into.bottom = std::max(into.bottom, r.bottom);
}

bool IsHebrewPoint(unsigned code) { return code >= 0xC0 && code <= 0xD2; }

// The codes that stand for no character in code page 1255 have a glyph in no font; the
// Times faces also lack the Yiddish digraphs and the geresh marks.
bool HasNoGlyph(const char* face, unsigned code) {
    static const unsigned none[] = {0x81, 0x8A, 0x8C, 0x8D, 0x8E, 0x8F, 0x90, 0x9A,
                                    0x9C, 0x9D, 0x9E, 0x9F, 0xCA, 0xFB, 0xFC, 0xFF};
    if (std::find(std::begin(none), std::end(none), code) != std::end(none)) return true;
    if (code >= 0xD9 && code <= 0xDF) return true;
    return Contains(face, "Times") && code >= 0xD4 && code <= 0xD8;
}

// Each face orders its glyphs its own way, so that a code drawn as a glyph index of
// another font, or as itself, shows the wrong shape.
WORD GlyphOfCode(const char* face, unsigned code) {
    unsigned salt = 0;
    for (const char* c = face; *c; ++c) salt = salt * 31 + static_cast<unsigned char>(*c);
    return static_cast<WORD>(1 + ((code * 167 + salt) & 0xFF));
}

}  // namespace

namespace {

std::string MakeTemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "nivrano-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "no temporary folder";
    return pattern;
}

// The editor builds paths with backslashes, as on Windows; the files live on Linux.
std::string HostPath(const char* path) {
    std::string host = path;
    std::replace(host.begin(), host.end(), '\\', '/');
    return host;
}

}  // namespace

FakePlatform::FakePlatform() {
    stockFont_.logFont.lfHeight = 16;
    std::strcpy(stockFont_.logFont.lfFaceName, "System");
    stockFont_.metrics = MetricsFor(stockFont_.logFont);
    appDataFolder_ = MakeTemporaryFolder();
    environment["LOCALAPPDATA"] = appDataFolder_;
    std::filesystem::create_directory(RoamingFolder());
    environment["APPDATA"] = RoamingFolder();
    placement.length = sizeof(WINDOWPLACEMENT);
    placement.showCmd = SW_SHOWNORMAL;
    placement.rcNormalPosition = RECT{100, 80, 916, 1040};
    monitors.push_back(
        MONITORINFO{sizeof(MONITORINFO), RECT{0, 0, 1280, 1024}, RECT{0, 0, 1280, 984}, 1});
}

FakePlatform::~FakePlatform() {
    for (void* block : heapBlocks_) std::free(block);
    for (auto& entry : files_) close(entry.second.descriptor);
    for (const std::string* folder : {&folder_, &appDataFolder_}) {
        if (folder->empty()) continue;
        std::error_code ignored;
        std::filesystem::remove_all(*folder, ignored);
    }
    if (!searches_.empty()) ADD_FAILURE() << "a file search was left open";
}

// --- Driving ----------------------------------------------------------------------------

HWND FakePlatform::CreateMainWindow(int clientWidth, int clientHeight) {
    // Each window gets its menu afresh from the resource, with its check marks.
    menu_.clear();
    menu_[42001] = MF_CHECKED;
    menu_[43004] = MF_CHECKED;
    menu_[44012] = MF_CHECKED;
    menu_[46000] = MF_CHECKED;
    menu_[47000] = MF_CHECKED;
    addedMenuItems.clear();
    window_ = MakeHandle<HWND>(0x100);
    destroyed_ = false;
    statusBar_ = nullptr;  // a new window makes its own
    statusTexts_.clear();
    if (windowProc(window_, WM_CREATE, 0, 0) == -1) {
        // The system destroys a window whose creation failed.
        Destroy();
        window_ = nullptr;
        return nullptr;
    }
    Resize(clientWidth, clientHeight);
    return window_;
}

void FakePlatform::SetSize(int clientWidth, int clientHeight) {
    width_ = clientWidth;
    height_ = clientHeight;
    pixels_.assign(static_cast<std::size_t>(width_) * height_, White);
    invalid_.assign(static_cast<std::size_t>(width_) * height_, 0);
    invalidBounds_ = RECT{};
}

void FakePlatform::Resize(int clientWidth, int clientHeight) {
    SetSize(clientWidth, clientHeight);
    LPARAM size = static_cast<LPARAM>((static_cast<std::uint32_t>(clientHeight) << 16) |
                                      static_cast<std::uint32_t>(clientWidth));
    windowProc(window_, WM_SIZE, 0, size);
    InvalidateRect(window_, nullptr, 1);
    UpdateWindow(window_);
}

LRESULT FakePlatform::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = windowProc(window_, message, wParam, lParam);
    while (!posted_.empty()) {
        const PostedMessage next = posted_.front();
        posted_.erase(posted_.begin());
        windowProc(window_, next.message, next.wParam, next.lParam);
    }
    return result;
}

void FakePlatform::Destroy() {
    if (destroyed_) return;
    destroyed_ = true;
    windowProc(window_, WM_DESTROY, 0, 0);
}

void FakePlatform::SetKeyDown(int virtualKey, bool down) { keysDown_[virtualKey] = down; }

UINT FakePlatform::menuState(UINT id) const {
    auto found = menu_.find(id);
    return found == menu_.end() ? 0 : found->second;
}

std::uint32_t FakePlatform::Pixel(int x, int y) const {
    return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

bool FakePlatform::HasInvalidArea() const {
    for (int y = invalidBounds_.top; y < invalidBounds_.bottom; ++y) {
        auto row = invalid_.begin() + static_cast<std::ptrdiff_t>(y) * width_;
        if (std::find(row + invalidBounds_.left, row + invalidBounds_.right, 1) !=
            row + invalidBounds_.right) {
            return true;
        }
    }
    return false;
}

// --- Fonts ------------------------------------------------------------------------------

FontMetrics FakePlatform::MetricsFor(const LOGFONTA& font) const {
    const char* face = font.lfFaceName;
    bool mono = Contains(face, "Courier") || Contains(face, "System");
    bool serif = Contains(face, "Times");
    bool bold = Contains(face, "Bold");
    bool italic = Contains(face, "Italic");

    LONG em = font.lfHeight < 0 ? -font.lfHeight : (font.lfHeight > 0 ? font.lfHeight * 8 / 9 : 16);
    if (em < 1) em = 1;

    FontMetrics m{};
    m.trueType = rasterFaces.count(face) == 0 && !Contains(face, "System");
    TEXTMETRICA& tm = m.text;
    tm.tmHeight = font.lfHeight > 0 ? font.lfHeight : em + (em + 4) / 8;
    tm.tmExternalLeading = serif ? em / 10 : (mono ? 0 : em / 16);
    tm.tmAscent = tm.tmHeight * 4 / 5;
    tm.tmDescent = tm.tmHeight - tm.tmAscent;
    tm.tmInternalLeading = tm.tmHeight - em;
    tm.tmWeight = bold ? 700 : 400;
    tm.tmItalic = italic ? 1 : 0;
    tm.tmFirstChar = 0;
    tm.tmLastChar = 255;
    tm.tmDefaultChar = 31;
    tm.tmBreakChar = 32;
    tm.tmPitchAndFamily = static_cast<std::uint8_t>(m.trueType ? TMPF_TRUETYPE : 0);
    tm.tmCharSet = font.lfCharSet;

    LONG widest = 0;
    LONG total = 0;
    for (unsigned code = 0; code < 256; ++code) {
        ABC& abc = m.abc[code];
        if (IsHebrewPoint(code)) {
            // Points take no room: their ink hangs to the left of the pen.
            int ink = std::max<LONG>(1, em / 3);
            abc = ABC{-ink, static_cast<UINT>(ink), 0};
            continue;
        }
        LONG advance;
        if (mono) {
            advance = (em * 5 + 4) / 8;
        } else if (serif) {
            advance = em * static_cast<LONG>(3 + (code * 7) % 6) / 10;
        } else {
            advance = em * static_cast<LONG>(4 + code % 5) / 10;
        }
        if (bold) advance += 1 + em / 16;
        if (advance < 1) advance = 1;
        int before = advance > 2 ? 1 : 0;
        int after = 0;
        if (italic && code > 32 && code % 3 != 0) after = -std::max<LONG>(1, em / 6);
        abc.abcA = before;
        abc.abcC = after;
        abc.abcB = static_cast<UINT>(advance - before - after);
        widest = std::max(widest, advance);
        total += advance;
    }
    tm.tmMaxCharWidth = widest;
    tm.tmAveCharWidth = total / 256;

    // A code without a glyph is drawn, and measured, as the default character.
    const unsigned defaultChar = tm.tmDefaultChar;
    for (unsigned code = 0; code < 256; ++code) {
        m.missing[code] = HasNoGlyph(face, code);
        m.glyph[code] = GlyphOfCode(face, code);
        m.codeOfGlyph[m.glyph[code]] = static_cast<std::uint8_t>(code);
    }
    m.codeOfGlyph[0] = static_cast<std::uint8_t>(defaultChar);
    for (unsigned code = 0; code < 256; ++code) {
        if (!m.missing[code]) continue;
        m.glyph[code] = m.glyph[defaultChar];
        m.abc[code] = m.abc[defaultChar];
    }
    return m;
}

const FontRecord* FakePlatform::SelectedFontRecord(HDC dc) const {
    const DeviceContext& context = dcs_.at(Id(dc));
    auto found = fonts_.find(Id(context.font));
    return found == fonts_.end() ? &stockFont_ : &found->second;
}

const FontMetrics& FakePlatform::SelectedMetrics(HDC dc) const {
    return SelectedFontRecord(dc)->metrics;
}

bool FakePlatform::WidthQueryFails(HDC dc, UINT code) const {
    auto found = failingWidthCodes.find(SelectedFontRecord(dc)->logFont.lfFaceName);
    return found != failingWidthCodes.end() && found->second.count(code) != 0;
}

HFONT FakePlatform::CreateFontIndirectA(const LOGFONTA* font) {
    std::uintptr_t id = nextHandle_++;
    fonts_[id] = FontRecord{*font, MetricsFor(*font)};
    return MakeHandle<HFONT>(id);
}

HGDIOBJ FakePlatform::SelectObject(HDC dc, HGDIOBJ object) {
    DeviceContext& context = Context(dc);
    HGDIOBJ previous = context.font;
    if (Id(object) != StockFontHandle && fonts_.count(Id(object)) == 0) {
        ADD_FAILURE() << "SelectObject with an object that does not exist";
        return nullptr;
    }
    context.font = object;
    return previous;
}

BOOL FakePlatform::DeleteObject(HGDIOBJ object) {
    if (Id(object) == StockFontHandle) return 1;
    for (const auto& entry : dcs_) {
        if (entry.second.font == object) {
            ADD_FAILURE() << "DeleteObject on a font still selected into a device context";
        }
    }
    return fonts_.erase(Id(object)) != 0;
}

BOOL FakePlatform::GetTextMetricsA(HDC dc, TEXTMETRICA* metrics) {
    if (textMetricsFail) return 0;
    *metrics = SelectedMetrics(dc).text;
    return 1;
}

BOOL FakePlatform::GetCharABCWidthsA(HDC dc, UINT first, UINT last, ABC* widths) {
    ++widthQueries;
    const FontMetrics& m = SelectedMetrics(dc);
    if (!m.trueType || first > last || last > 255) return 0;
    for (UINT code = first; code <= last; ++code) {
        if (WidthQueryFails(dc, code)) return 0;
        widths[code - first] = m.abc[code];
    }
    return 1;
}

BOOL FakePlatform::GetCharWidthA(HDC dc, UINT first, UINT last, int* widths) {
    ++widthQueries;
    const FontMetrics& m = SelectedMetrics(dc);
    if (first > last || last > 255) return 0;
    for (UINT code = first; code <= last; ++code) {
        if (WidthQueryFails(dc, code)) return 0;
        const ABC& abc = m.abc[code];
        widths[code - first] = abc.abcA + static_cast<int>(abc.abcB) + abc.abcC;
    }
    return 1;
}

// --- Windows, messages, menus, input ----------------------------------------------------

LRESULT FakePlatform::DefWindowProcA(HWND, UINT message, WPARAM, LPARAM) {
    defaultProcMessages.push_back(message);
    if (message == WM_CLOSE) Destroy();
    return 0;
}

LRESULT FakePlatform::SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window != nullptr && window == statusBar_) return StatusBarMessage(message, wParam, lParam);
    return windowProc(window, message, wParam, lParam);
}

BOOL FakePlatform::PostMessageA(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
    posted_.push_back(PostedMessage{message, wParam, lParam});
    return 1;
}

DWORD FakePlatform::GetQueueStatus(UINT flags) {
    return inputWaiting ? (flags & (QS_KEY | QS_MOUSEBUTTON)) << 16 : 0;
}

void FakePlatform::PostQuitMessage(int exitCode) {
    quitPosted_ = true;
    quitCode_ = exitCode;
}

int FakePlatform::MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) {
    messageBoxes_.push_back(MessageBoxRecord{owner, text, caption, type});
    if (!answers_.empty()) {
        int answer = answers_.front();
        answers_.erase(answers_.begin());
        return answer;
    }
    if ((type & 0xF) == MB_OK) return IDOK;
    ADD_FAILURE() << "unanswered message box: " << caption;
    return IDCANCEL;
}

HMENU FakePlatform::GetMenu(HWND) { return MakeHandle<HMENU>(MenuHandle); }

int FakePlatform::EnableMenuItem(HMENU, UINT item, UINT flags) {
    UINT& state = menu_[item];
    int previous = static_cast<int>(state & MF_GRAYED);
    state = (state & ~MF_GRAYED) | (flags & MF_GRAYED);
    return previous;
}

DWORD FakePlatform::CheckMenuItem(HMENU, UINT item, UINT flags) {
    UINT& state = menu_[item];
    DWORD previous = state & MF_CHECKED;
    state = (state & ~MF_CHECKED) | (flags & MF_CHECKED);
    return previous;
}

BOOL FakePlatform::DrawMenuBar(HWND) {
    ++drawMenuBarCount;
    return 1;
}

BOOL FakePlatform::IsClipboardFormatAvailable(UINT format) { return clipboard_.count(format) != 0; }

short FakePlatform::GetKeyState(int virtualKey) {
    auto found = keysDown_.find(virtualKey);
    return found != keysDown_.end() && found->second ? static_cast<short>(-128) : 0;
}

std::uintptr_t FakePlatform::SetTimer(HWND, std::uintptr_t id, UINT milliseconds) {
    timers_[id] = milliseconds;
    timersDue_[id] = clock_ + milliseconds;  // setting a running timer again restarts it
    return id;
}

BOOL FakePlatform::KillTimer(HWND, std::uintptr_t id) {
    timersDue_.erase(id);
    return timers_.erase(id) != 0;
}

void FakePlatform::PassTime(UINT milliseconds) {
    const std::uint64_t end = clock_ + milliseconds;
    for (;;) {
        auto next =
            std::min_element(timersDue_.begin(), timersDue_.end(),
                             [](const auto& a, const auto& b) { return a.second < b.second; });
        if (next == timersDue_.end() || next->second > end) break;
        const std::uintptr_t id = next->first;
        clock_ = next->second;
        next->second += std::max<UINT>(timers_[id], 1);
        Send(WM_TIMER, id, 0);
    }
    clock_ = end;
}

HWND FakePlatform::SetCapture(HWND window) {
    HWND previous = capture_;
    capture_ = window;
    return previous;
}

BOOL FakePlatform::ReleaseCapture() {
    HWND previous = capture_;
    capture_ = nullptr;
    // The window that loses the capture hears of it, as on Windows.
    if (previous != nullptr && windowProc != nullptr) {
        windowProc(previous, WM_CAPTURECHANGED, 0, 0);
    }
    return 1;
}

// --- Device contexts, invalidation and painting -----------------------------------------

DeviceContext& FakePlatform::Context(HDC dc) {
    auto found = dcs_.find(Id(dc));
    if (found == dcs_.end()) {
        ADD_FAILURE() << "use of a device context that does not exist";
        static DeviceContext nowhere;
        return nowhere;
    }
    return found->second;
}

HDC FakePlatform::GetDC(HWND) {
    std::uintptr_t id = nextHandle_++;
    DeviceContext context;
    context.font = MakeHandle<HGDIOBJ>(StockFontHandle);
    dcs_[id] = context;
    return MakeHandle<HDC>(id);
}

HDC FakePlatform::CreateCompatibleDC(HDC) {
    HDC dc = GetDC(window_);
    Context(dc).memory = true;
    return dc;
}

int FakePlatform::ReleaseDC(HWND, HDC dc) {
    auto found = dcs_.find(Id(dc));
    if (found == dcs_.end()) return 0;
    if (found->second.printer || found->second.memory) {
        ADD_FAILURE() << "ReleaseDC on a printer or memory context";
        return 0;
    }
    if (found->second.font != MakeHandle<HGDIOBJ>(StockFontHandle)) {
        ADD_FAILURE() << "device context released with a created font still selected";
    }
    dcs_.erase(found);
    return 1;
}

int FakePlatform::GetDeviceCaps(HDC dc, int index) {
    if (Context(dc).printer) {
        const std::pair<int, int> caps[] = {{LOGPIXELSX, printer.logPixelsX},
                                            {LOGPIXELSY, printer.logPixelsY},
                                            {PHYSICALWIDTH, printer.physicalWidth},
                                            {PHYSICALHEIGHT, printer.physicalHeight},
                                            {PHYSICALOFFSETX, printer.offsetX},
                                            {PHYSICALOFFSETY, printer.offsetY},
                                            {TECHNOLOGY, DT_RASPRINTER}};
        for (const auto& cap : caps) {
            if (cap.first == index) return cap.second;
        }
        return 0;
    }
    if (index == LOGPIXELSX) return logPixelsX;
    if (index == LOGPIXELSY) return logPixelsY;
    if (index == TECHNOLOGY) return DT_RASDISPLAY;
    return 0;
}

BOOL FakePlatform::InvalidateRect(HWND, const RECT* rect, BOOL erase) {
    ++invalidateCount;
    RECT area = rect ? *rect : RECT{0, 0, width_, height_};
    area.left = std::max<LONG>(area.left, 0);
    area.top = std::max<LONG>(area.top, 0);
    area.right = std::min<LONG>(area.right, width_);
    area.bottom = std::min<LONG>(area.bottom, height_);
    if (area.left >= area.right || area.top >= area.bottom) return 1;
    invalidatedRects.push_back(area);
    Unite(invalidBounds_, area);
    for (int y = area.top; y < area.bottom; ++y) {
        std::fill_n(invalid_.begin() + static_cast<std::ptrdiff_t>(y) * width_ + area.left,
                    area.right - area.left, 1);
    }
    if (erase) erasePending_ = true;
    return 1;
}

BOOL FakePlatform::UpdateWindow(HWND window) {
    if (window != nullptr && window == statusBar_) return 1;  // it draws itself at once
    if (!HasInvalidArea()) return 1;
    windowProc(window, WM_PAINT, 0, 0);
    return 1;
}

HDC FakePlatform::BeginPaint(HWND window, PAINTSTRUCT* paint) {
    ++paintCount;
    HDC dc = GetDC(window);
    DeviceContext& context = Context(dc);
    context.paint = true;
    context.clip = invalid_;
    RECT bounds{width_, height_, 0, 0};
    for (int y = invalidBounds_.top; y < invalidBounds_.bottom; ++y) {
        std::uint8_t* invalidRow = invalid_.data() + static_cast<std::size_t>(y) * width_;
        std::uint32_t* pixelRow = pixels_.data() + static_cast<std::size_t>(y) * width_;
        int first = -1;
        int last = -1;
        for (int x = invalidBounds_.left; x < invalidBounds_.right; ++x) {
            if (!invalidRow[x]) continue;
            if (first < 0) first = x;
            last = x;
            if (erasePending_ && !UnderStatusBar(y)) pixelRow[x] = White;
            invalidRow[x] = 0;
        }
        if (first < 0) continue;
        bounds.left = std::min<LONG>(bounds.left, first);
        bounds.right = std::max<LONG>(bounds.right, last + 1);
        bounds.top = std::min<LONG>(bounds.top, y);
        bounds.bottom = y + 1;
    }
    paint->hdc = dc;
    paint->fErase = erasePending_ ? 0 : 1;
    paint->rcPaint = IsEmpty(bounds) ? RECT{} : bounds;
    lastPaintBounds = paint->rcPaint;
    context.clipBox = paint->rcPaint;
    erasePending_ = false;
    invalidBounds_ = RECT{};
    return dc;
}

BOOL FakePlatform::EndPaint(HWND window, const PAINTSTRUCT* paint) {
    return ReleaseDC(window, paint->hdc);
}

BOOL FakePlatform::ScrollWindow(HWND, int dx, int dy, const RECT* scroll, const RECT* clip) {
    ++scrollCount;
    RECT whole{0, 0, width_, height_};
    RECT source = scroll ? *scroll : whole;
    RECT target = clip ? *clip : whole;
    auto inside = [](const RECT& r, int x, int y) {
        return r.left <= x && x < r.right && r.top <= y && y < r.bottom;
    };
    std::vector<std::uint32_t> oldPixels = pixels_;
    std::vector<std::uint8_t> oldInvalid = invalid_;
    Unite(invalidBounds_,
          RECT{std::max<LONG>(target.left, 0), std::max<LONG>(target.top, 0),
               std::min<LONG>(target.right, width_), std::min<LONG>(target.bottom, height_)});
    for (int y = std::max<LONG>(target.top, 0); y < std::min<LONG>(target.bottom, height_); ++y) {
        for (int x = std::max<LONG>(target.left, 0); x < std::min<LONG>(target.right, width_);
             ++x) {
            std::size_t at = static_cast<std::size_t>(y) * width_ + x;
            int sx = x - dx;
            int sy = y - dy;
            if (inside(source, sx, sy) && inside(whole, sx, sy)) {
                std::size_t from = static_cast<std::size_t>(sy) * width_ + sx;
                pixels_[at] = oldPixels[from];
                invalid_[at] = oldInvalid[from];
            } else {
                invalid_[at] = 1;
                erasePending_ = true;
            }
        }
    }
    return 1;
}

// --- Drawing ----------------------------------------------------------------------------

bool FakePlatform::Allowed(const DeviceContext& dc, int x, int y) const {
    if (dc.memory || x < 0 || y < 0 || x >= width_ || y >= height_) return false;
    if (!dc.printer && UnderStatusBar(y)) return false;
    return !dc.paint || dc.clip[static_cast<std::size_t>(y) * width_ + x] != 0;
}

void FakePlatform::Plot(const DeviceContext& dc, int x, int y, std::uint32_t colour) {
    if (Allowed(dc, x, y)) pixels_[static_cast<std::size_t>(y) * width_ + x] = colour;
}

void FakePlatform::InvertPixel(const DeviceContext& dc, int x, int y) {
    if (!Allowed(dc, x, y)) return;
    std::uint32_t& pixel = pixels_[static_cast<std::size_t>(y) * width_ + x];
    pixel = ~pixel & 0xFFFFFF;
}

int FakePlatform::SetBkMode(HDC dc, int mode) {
    DeviceContext& context = Context(dc);
    int previous = context.bkMode;
    context.bkMode = mode;
    return previous;
}

UINT FakePlatform::SetTextAlign(HDC dc, UINT align) {
    DeviceContext& context = Context(dc);
    UINT previous = context.textAlign;
    context.textAlign = align;
    return previous;
}

void FakePlatform::DrawGlyph(const DeviceContext& dc, int x, int y, WORD glyph,
                             const FontMetrics& m) {
    const std::uint8_t code = m.codeOfGlyph[glyph < GlyphCount ? glyph : 0];
    const ABC& abc = m.abc[code];
    int advance = abc.abcA + static_cast<int>(abc.abcB) + abc.abcC;
    if (dc.bkMode == OPAQUE) {
        for (int row = 0; row < m.text.tmHeight; ++row) {
            for (int column = 0; column < advance; ++column) Plot(dc, x + column, y + row, White);
        }
    }
    if (code == ' ' && glyph != 0) return;
    int inkLeft = x + abc.abcA;
    for (int row = 0; row < m.text.tmHeight; ++row) {
        for (int column = 0; column < static_cast<int>(abc.abcB); ++column) {
            if ((GlyphBits(glyph, column, row) & 3) == 0)
                Plot(dc, inkLeft + column, y + row, Black);
        }
    }
}

BOOL FakePlatform::TextOutA(HDC dc, int x, int y, const char* text, int count) {
    // The system looks up each code's glyph: the default character's for a code without one.
    // The direction marks (0xFD, 0xFE) order the text and leave no ink, but keep their own
    // advance.
    const FontMetrics& m = SelectedMetrics(dc);
    std::vector<WORD> glyphs;
    std::vector<int> advances;
    for (int k = 0; k < count; ++k) {
        auto code = static_cast<std::uint8_t>(text[k]);
        glyphs.push_back(m.glyph[code == 0xFD || code == 0xFE ? ' ' : code]);
        const ABC& abc = m.abc[code];
        advances.push_back(abc.abcA + static_cast<int>(abc.abcB) + abc.abcC);
    }
    DrawGlyphs(dc, x, y, glyphs.data(), count, advances.data());
    return 1;
}

BOOL FakePlatform::ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect,
                               const WORD* text, UINT count, const int* dx) {
    if (options != ETO_GLYPH_INDEX || rect != nullptr) {
        ADD_FAILURE() << "ExtTextOutW with options the fake does not know";
        return 0;
    }
    for (UINT k = 0; k < count; ++k) {
        if (text[k] >= GlyphCount) {
            ADD_FAILURE() << "ExtTextOutW with glyph " << text[k] << ", which no font has";
            return 0;
        }
    }
    DrawGlyphs(dc, x, y, text, static_cast<int>(count), dx);
    ++extTextOutCalls;
    return 1;
}

int FakePlatform::GetClipBox(HDC dc, RECT* rect) {
    const DeviceContext& context = Context(dc);
    *rect = context.paint ? context.clipBox : RECT{0, 0, width_, height_};
    return IsEmpty(*rect) ? 1 : 2;  // NULLREGION, SIMPLEREGION
}

// Draws the glyphs from x, each at the previous one's advance, or at dx when given. On a
// printer the characters are recorded on the open page instead of drawn.
void FakePlatform::DrawGlyphs(HDC dc, int x, int y, const WORD* glyphs, int count, const int* dx) {
    DeviceContext& context = Context(dc);
    const FontRecord* font = SelectedFontRecord(dc);
    const FontMetrics& m = font->metrics;
    auto advance = [&](int k) {
        if (dx) return dx[k];
        const ABC& abc = m.abc[m.codeOfGlyph[glyphs[k]]];
        return abc.abcA + static_cast<int>(abc.abcB) + abc.abcC;
    };
    int total = 0;
    for (int k = 0; k < count; ++k) total += advance(k);
    int left = x;
    if ((context.textAlign & TA_CENTER) == TA_CENTER) {
        left = x - total / 2;
    } else if (context.textAlign & 2) {  // TA_RIGHT
        left = x - total;
    }
    std::vector<TextOutRecord>* page = nullptr;
    if (context.printer) {
        PrintJob* job = OpenJob(dc);
        if (job == nullptr || !context.pageOpen) {
            ADD_FAILURE() << "text drawn on a printer outside a page";
            return;
        }
        page = &job->pages.back();
    }
    for (int k = 0; k < count; ++k) {
        TextOutRecord record{left, y, std::string(1, static_cast<char>(m.codeOfGlyph[glyphs[k]])),
                             font->logFont.lfFaceName, font->logFont.lfHeight};
        if (page) {
            page->push_back(record);
        } else {
            if (recordTextOuts) textOuts.push_back(record);
            DrawGlyph(context, left, y, glyphs[k], m);
        }
        left += advance(k);
    }
}

BOOL FakePlatform::MoveToEx(HDC dc, int x, int y) {
    DeviceContext& context = Context(dc);
    context.penX = x;
    context.penY = y;
    return 1;
}

BOOL FakePlatform::LineTo(HDC dc, int x, int y) {
    DeviceContext& context = Context(dc);
    // Bresenham from the pen position, leaving out the end point.
    int x0 = context.penX;
    int y0 = context.penY;
    int deltaX = std::abs(x - x0);
    int deltaY = -std::abs(y - y0);
    int stepX = x0 < x ? 1 : -1;
    int stepY = y0 < y ? 1 : -1;
    int error = deltaX + deltaY;
    while (!(x0 == x && y0 == y)) {
        Plot(context, x0, y0, Black);
        int twice = 2 * error;
        if (twice >= deltaY) {
            error += deltaY;
            x0 += stepX;
        }
        if (twice <= deltaX) {
            error += deltaX;
            y0 += stepY;
        }
    }
    context.penX = x;
    context.penY = y;
    return 1;
}

BOOL FakePlatform::Rectangle(HDC dc, int left, int top, int right, int bottom) {
    DeviceContext& context = Context(dc);
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            bool edge = x == left || x == right - 1 || y == top || y == bottom - 1;
            Plot(context, x, y, edge ? Black : White);
        }
    }
    return 1;
}

BOOL FakePlatform::PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop) {
    DeviceContext& context = Context(dc);
    if (rop != DSTINVERT) {
        ADD_FAILURE() << "PatBlt with a raster operation the fake does not know";
        return 0;
    }
    int left = std::min(x, x + width);
    int right = std::max(x, x + width);
    int top = std::min(y, y + height);
    int bottom = std::max(y, y + height);
    for (int row = top; row < bottom; ++row) {
        for (int column = left; column < right; ++column) InvertPixel(context, column, row);
    }
    return 1;
}

// --- Scroll bar and heap ----------------------------------------------------------------

int FakePlatform::SetScrollRange(HWND, int, int minPos, int maxPos, BOOL) {
    scrollMin_ = minPos;
    scrollMax_ = maxPos;
    scrollPos_ = std::clamp(scrollPos_, scrollMin_, std::max(scrollMin_, scrollMax_));
    return 1;
}

int FakePlatform::SetScrollPos(HWND, int, int pos, BOOL redraw) {
    if (redraw) ++scrollBarRedraws;
    int previous = scrollPos_;
    scrollPos_ = std::clamp(pos, scrollMin_, std::max(scrollMin_, scrollMax_));
    return previous;
}

int FakePlatform::GetScrollPos(HWND, int) { return scrollPos_; }

BOOL FakePlatform::GetScrollRange(HWND, int, int* minPos, int* maxPos) {
    *minPos = scrollMin_;
    *maxPos = scrollMax_;
    return 1;
}

void* FakePlatform::HeapAlloc(DWORD flags, std::size_t bytes) {
    if (heapAllocationsBeforeFailure == 0) {
        heapAllocationsBeforeFailure = -1;
        return nullptr;
    }
    if (heapAllocationsBeforeFailure > 0) --heapAllocationsBeforeFailure;
    void* block = (flags & HEAP_ZERO_MEMORY) ? std::calloc(1, bytes ? bytes : 1)
                                             : std::malloc(bytes ? bytes : 1);
    heapBlocks_.insert(block);
    return block;
}

BOOL FakePlatform::HeapFree(void* block) {
    if (heapBlocks_.erase(block) == 0) {
        ADD_FAILURE() << "HeapFree of a block the heap did not give";
        return 0;
    }
    std::free(block);
    return 1;
}

// --- Glyphs -----------------------------------------------------------------------------

DWORD FakePlatform::GetGlyphIndicesA(HDC dc, const char* text, int count, WORD* indices,
                                     DWORD flags) {
    ++glyphQueries;
    if (glyphIndicesFail) return GDI_ERROR;
    const FontMetrics& m = SelectedMetrics(dc);
    for (int k = 0; k < count; ++k) {
        auto code = static_cast<std::uint8_t>(text[k]);
        bool mark = m.missing[code] && (flags & GGI_MARK_NONEXISTING_GLYPHS) != 0;
        indices[k] = mark ? NonexistingGlyph : m.glyph[code];
    }
    return static_cast<DWORD>(count);
}

// --- Uniscribe ---------------------------------------------------------------------------

HRESULT FakePlatform::ScriptItemize(const WORD* text, int count, int maxItems,
                                    const SCRIPT_CONTROL*, const SCRIPT_STATE* state,
                                    SCRIPT_ITEM* items, int* itemCount) {
    ++itemizeCalls;
    if (text == nullptr || count <= 0 || maxItems < 2 || items == nullptr || itemCount == nullptr) {
        return E_INVALIDARG;
    }
    if (Fails("ScriptItemize")) return E_OUTOFMEMORY;
    // The buffer holds maxItems + 1 records and the system may use the last one, so a caller
    // passing the whole buffer's size overruns it. The record is always written here, for the
    // address checker to see that.
    items[maxItems] = SCRIPT_ITEM{};
    const auto length = static_cast<FriBidiStrIndex>(count);
    // Kept between calls, as a system keeps its working memory.
    static std::vector<FriBidiChar> chars;
    static std::vector<FriBidiCharType> types;
    static std::vector<FriBidiBracketType> brackets;
    static std::vector<FriBidiLevel> levels;
    chars.assign(text, text + count);
    types.resize(chars.size());
    brackets.resize(chars.size());
    levels.resize(chars.size());
    fribidi_get_bidi_types(chars.data(), length, types.data());
    fribidi_get_bracket_types(chars.data(), length, types.data(), brackets.data());
    FriBidiParType direction =
        state != nullptr && (state->uBidiLevel & 1) ? FRIBIDI_PAR_RTL : FRIBIDI_PAR_LTR;
    if (fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), length, &direction,
                                            levels.data()) == 0) {
        return E_OUTOFMEMORY;
    }
    // One item per run of equal levels, and the record that closes the last.
    int n = 0;
    for (int i = 0; i < count; ++i) {
        if (i > 0 && levels[i] == levels[i - 1]) continue;
        if (n >= maxItems) return E_OUTOFMEMORY;
        items[n] = SCRIPT_ITEM{};
        items[n].iCharPos = i;
        items[n].a.fRTL = levels[i] & 1;
        items[n].a.s.uBidiLevel = static_cast<WORD>(levels[i] & 0x1F);
        ++n;
    }
    items[n] = SCRIPT_ITEM{};
    items[n].iCharPos = count;
    *itemCount = n;
    return S_OK;
}

HRESULT FakePlatform::ScriptLayout(int runs, const std::uint8_t* levels, int* visualToLogical,
                                   int* logicalToVisual) {
    if (runs <= 0 || levels == nullptr) return E_INVALIDARG;
    if (Fails("ScriptLayout")) return E_OUTOFMEMORY;
    const auto length = static_cast<FriBidiStrIndex>(runs);
    // Neutral classes: the levels are final, so reordering changes none of them.
    static std::vector<FriBidiCharType> types;
    static std::vector<FriBidiLevel> own;
    static std::vector<FriBidiStrIndex> map;
    types.assign(static_cast<std::size_t>(runs), FRIBIDI_TYPE_ON);
    own.assign(levels, levels + runs);
    map.resize(static_cast<std::size_t>(runs));
    for (int i = 0; i < runs; ++i) map[static_cast<std::size_t>(i)] = i;
    if (fribidi_reorder_line(0, types.data(), length, 0, FRIBIDI_PAR_RTL, own.data(), nullptr,
                             map.data()) == 0) {
        return E_OUTOFMEMORY;
    }
    for (int k = 0; k < runs; ++k) {
        const int logical = map[static_cast<std::size_t>(k)];
        if (visualToLogical != nullptr) visualToLogical[k] = logical;
        if (logicalToVisual != nullptr) logicalToVisual[logical] = k;
    }
    return S_OK;
}

// --- Printing ---------------------------------------------------------------------------

BOOL FakePlatform::PrintDlgA(PRINTDLGA* record) {
    printDialogs.push_back(*record);
    // The system refuses a record of any other size, before it shows anything.
    if (record->lStructSize != sizeof(PRINTDLGA)) return 0;
    if (printDialogAnswer == PrintDialogAnswer::Cancel) return 0;
    if (record->hDevMode == nullptr) {
        devMode_ = MakeHandle<HGLOBAL>(nextHandle_++);
        devNames_ = MakeHandle<HGLOBAL>(nextHandle_++);
        record->hDevMode = devMode_;
        record->hDevNames = devNames_;
    }
    record->hDC = nullptr;
    if (printDialogAnswer == PrintDialogAnswer::NoDeviceContext ||
        (record->Flags & PD_RETURNDC) == 0) {
        return 1;
    }
    std::uintptr_t id = nextHandle_++;
    DeviceContext context;
    context.printer = true;
    context.font = MakeHandle<HGDIOBJ>(StockFontHandle);
    dcs_[id] = context;
    record->hDC = MakeHandle<HDC>(id);
    return 1;
}

PrintJob* FakePlatform::OpenJob(HDC dc) {
    const DeviceContext& context = Context(dc);
    if (!context.printer || context.job < 0) return nullptr;
    PrintJob& job = printJobs[static_cast<std::size_t>(context.job)];
    return job.ended || job.aborted ? nullptr : &job;
}

int FakePlatform::StartDocA(HDC dc, const DOCINFOA* info) {
    DeviceContext& context = Context(dc);
    if (!context.printer || info->cbSize != sizeof(DOCINFOA) || Fails("StartDocA")) return -1;
    printJobs.push_back(PrintJob{info->lpszDocName ? info->lpszDocName : "", {}, false, false});
    context.job = static_cast<int>(printJobs.size()) - 1;
    return context.job + 1;
}

int FakePlatform::StartPage(HDC dc) {
    DeviceContext& context = Context(dc);
    PrintJob* job = OpenJob(dc);
    if (job == nullptr || context.pageOpen) {
        ADD_FAILURE() << "StartPage outside a job or inside a page";
        return -1;
    }
    if (Fails("StartPage")) return -1;
    job->pages.emplace_back();
    context.pageOpen = true;
    return 1;
}

int FakePlatform::EndPage(HDC dc) {
    DeviceContext& context = Context(dc);
    if (OpenJob(dc) == nullptr || !context.pageOpen) {
        ADD_FAILURE() << "EndPage without an open page";
        return -1;
    }
    context.pageOpen = false;
    return Fails("EndPage") ? -1 : 1;
}

int FakePlatform::EndDoc(HDC dc) {
    PrintJob* job = OpenJob(dc);
    if (job == nullptr || Context(dc).pageOpen) {
        ADD_FAILURE() << "EndDoc without an open job, or with a page open";
        return -1;
    }
    job->ended = true;
    return 1;
}

int FakePlatform::AbortDoc(HDC dc) {
    PrintJob* job = OpenJob(dc);
    if (job == nullptr) return -1;
    job->aborted = true;
    Context(dc).pageOpen = false;
    return 1;
}

BOOL FakePlatform::DeleteDC(HDC dc) {
    auto found = dcs_.find(Id(dc));
    if (found == dcs_.end() || !(found->second.printer || found->second.memory)) {
        ADD_FAILURE() << "DeleteDC of a context that is not a printer's or a memory one";
        return 0;
    }
    if (found->second.font != MakeHandle<HGDIOBJ>(StockFontHandle)) {
        ADD_FAILURE() << "context deleted with a created font still selected";
    }
    if (OpenJob(dc) != nullptr) ADD_FAILURE() << "printer context deleted with its job open";
    dcs_.erase(found);
    return 1;
}

// --- Failure injection, window text ----------------------------------------------------

bool FakePlatform::Fails(const char* call) {
    if (failingCalls_.empty()) return false;
    auto found = failingCalls_.find(call);
    if (found == failingCalls_.end()) return false;
    if (found->second > 0) {
        --found->second;
        return false;
    }
    failingCalls_.erase(found);
    return true;
}

BOOL FakePlatform::SetWindowTextA(HWND, const char* text) {
    windowText = text;
    return 1;
}

// --- Global memory and the clipboard ----------------------------------------------------

GlobalBlock* FakePlatform::Block(HGLOBAL block) {
    auto found = globals_.find(Id(block));
    if (found == globals_.end()) {
        ADD_FAILURE() << "use of a global memory block that does not exist";
        return nullptr;
    }
    return &found->second;
}

int FakePlatform::liveGlobalBlocks() const {
    return static_cast<int>(std::count_if(globals_.begin(), globals_.end(), [](const auto& entry) {
        return !entry.second.onClipboard;
    }));
}

HGLOBAL FakePlatform::GlobalAlloc(UINT flags, std::size_t bytes) {
    if (Fails("GlobalAlloc")) return nullptr;
    std::uintptr_t id = nextHandle_++;
    GlobalBlock& block = globals_[id];
    // Memory that is not asked to be zeroed is not.
    block.bytes.assign(bytes, (flags & GMEM_ZEROINIT) ? 0 : 0xCD);
    block.flags = flags;
    return MakeHandle<HGLOBAL>(id);
}

void* FakePlatform::GlobalLock(HGLOBAL handle) {
    if (Fails("GlobalLock")) return nullptr;
    GlobalBlock* block = Block(handle);
    if (block == nullptr) return nullptr;
    if (block->onClipboard && !clipboardOpen_) {
        ADD_FAILURE() << "GlobalLock of a clipboard block with the clipboard closed";
    }
    if (block->bytes.empty()) return nullptr;  // a moveable block of 0 bytes is discarded
    ++block->locks;
    return block->bytes.data();
}

BOOL FakePlatform::GlobalUnlock(HGLOBAL handle) {
    GlobalBlock* block = Block(handle);
    if (block == nullptr) return 0;
    if (block->locks == 0) ADD_FAILURE() << "GlobalUnlock of a block that is not locked";
    block->locks = std::max(0, block->locks - 1);
    return block->locks > 0;
}

std::size_t FakePlatform::GlobalSize(HGLOBAL handle) {
    auto found = globals_.find(Id(handle));
    return found == globals_.end() ? 0 : found->second.bytes.size();
}

HGLOBAL FakePlatform::GlobalFree(HGLOBAL handle) {
    GlobalBlock* block = Block(handle);
    if (block == nullptr) return handle;
    if (block->onClipboard) {
        ADD_FAILURE() << "GlobalFree of a block the clipboard owns";
        return handle;
    }
    if (block->locks != 0) ADD_FAILURE() << "GlobalFree of a locked block";
    globals_.erase(Id(handle));
    return nullptr;
}

BOOL FakePlatform::OpenClipboard(HWND) {
    if (clipboardOpen_) ADD_FAILURE() << "OpenClipboard while the clipboard is open";
    if (clipboardHeldElsewhere > 0) {
        --clipboardHeldElsewhere;
        return 0;
    }
    if (Fails("OpenClipboard") || clipboardOpen_) return 0;
    clipboardOpen_ = true;
    return 1;
}

BOOL FakePlatform::EmptyClipboard() {
    if (!clipboardOpen_ || Fails("EmptyClipboard")) return 0;
    for (auto& entry : clipboard_) globals_.erase(Id(entry.second));
    clipboard_.clear();
    return 1;
}

HGLOBAL FakePlatform::SetClipboardData(UINT format, HGLOBAL handle) {
    if (!clipboardOpen_ || Fails("SetClipboardData")) return nullptr;
    GlobalBlock* block = Block(handle);
    if (block == nullptr) return nullptr;
    if (!(block->flags & GMEM_MOVEABLE)) ADD_FAILURE() << "clipboard data in a fixed block";
    auto old = clipboard_.find(format);
    if (old != clipboard_.end() && old->second != handle) globals_.erase(Id(old->second));
    block = Block(handle);
    block->onClipboard = true;
    clipboard_[format] = handle;
    return handle;
}

HGLOBAL FakePlatform::GetClipboardData(UINT format) {
    if (!clipboardOpen_ || Fails("GetClipboardData")) return nullptr;
    auto found = clipboard_.find(format);
    return found == clipboard_.end() ? nullptr : found->second;
}

BOOL FakePlatform::CloseClipboard() {
    if (!clipboardOpen_) {
        ADD_FAILURE() << "CloseClipboard without OpenClipboard";
        return 0;
    }
    clipboardOpen_ = false;
    return 1;
}

void FakePlatform::PutOnClipboard(UINT format, const std::string& bytes) {
    clipboardOpen_ = true;
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::copy(bytes.begin(), bytes.end(), globals_[Id(handle)].bytes.begin());
    SetClipboardData(format, handle);
    clipboardOpen_ = false;
}

bool FakePlatform::ClipboardHolds(UINT format, std::string* bytes) const {
    auto found = clipboard_.find(format);
    if (found == clipboard_.end()) return false;
    const std::vector<std::uint8_t>& data = globals_.at(Id(found->second)).bytes;
    if (bytes != nullptr) bytes->assign(data.begin(), data.end());
    return true;
}

// --- Files ------------------------------------------------------------------------------

std::string ReadWholeFile(const std::string& path) {
    std::string bytes;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        char chunk[65536];
        std::size_t got;
        while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
        std::fclose(file);
    }
    return bytes;
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    EXPECT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    std::fclose(file);
}

std::string FakePlatform::Folder() {
    if (folder_.empty()) folder_ = MakeTemporaryFolder();
    return folder_;
}

std::string FakePlatform::AppDataFolder() { return appDataFolder_; }

std::vector<std::string> FakePlatform::FolderEntries() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Folder())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

OpenFile* FakePlatform::File(HANDLE file) {
    auto found = files_.find(Id(file));
    if (found == files_.end()) {
        ADD_FAILURE() << "use of a file handle that is not open";
        return nullptr;
    }
    return &found->second;
}

namespace {

bool SharingAllows(const OpenFile& open, DWORD access, DWORD share) {
    const auto allows = [](DWORD sharing, DWORD wanted) {
        return (!(wanted & GENERIC_READ) || (sharing & FILE_SHARE_READ)) &&
               (!(wanted & GENERIC_WRITE) || (sharing & FILE_SHARE_WRITE));
    };
    return allows(open.share, access) && allows(share, open.access);
}

}  // namespace

HANDLE FakePlatform::CreateFileA(const char* windowsName, DWORD access, DWORD share, DWORD creation,
                                 DWORD) {
    if (Fails("CreateFileA")) return INVALID_HANDLE_VALUE;
    const std::string host = HostPath(windowsName);
    const char* name = host.c_str();
    if (beforeCreateFile) beforeCreateFile(host);
    // Sharing: each open handle must allow the access asked for, and the new handle's
    // sharing must allow every open handle's access.
    for (const auto& entry : files_) {
        if (entry.second.path == name && !SharingAllows(entry.second, access, share)) {
            return INVALID_HANDLE_VALUE;
        }
    }
    int flags = (access & GENERIC_WRITE) ? ((access & GENERIC_READ) ? O_RDWR : O_WRONLY) : O_RDONLY;
    if (creation == CREATE_ALWAYS) {
        flags |= O_CREAT | O_TRUNC;
    } else if (creation == CREATE_NEW) {
        flags |= O_CREAT | O_EXCL;
    } else if (creation == OPEN_ALWAYS) {
        flags |= O_CREAT;
    } else if (creation != OPEN_EXISTING) {
        ADD_FAILURE() << "CreateFileA with a creation the fake does not know";
        return INVALID_HANDLE_VALUE;
    }
    struct stat info;
    if (stat(name, &info) == 0 && S_ISDIR(info.st_mode)) return INVALID_HANDLE_VALUE;
    // OPEN_ALWAYS tells whether the file was there: made here, or opened as it was.
    lastError_ = 0;
    int descriptor = open(name, flags | (creation == OPEN_ALWAYS ? O_EXCL : 0) | O_CLOEXEC, 0644);
    if (descriptor < 0 && creation == OPEN_ALWAYS && errno == EEXIST) {
        lastError_ = ERROR_ALREADY_EXISTS;
        descriptor = open(name, (flags & ~O_CREAT) | O_CLOEXEC);
    }
    if (descriptor < 0) return INVALID_HANDLE_VALUE;
    std::uintptr_t id = nextHandle_++;
    files_[id] = OpenFile{descriptor, name, access, share};
    return MakeHandle<HANDLE>(id);
}

BOOL FakePlatform::ReadFile(HANDLE handle, void* buffer, DWORD bytes, DWORD* read) {
    *read = 0;
    OpenFile* file = File(handle);
    if (file == nullptr || !(file->access & GENERIC_READ) || Fails("ReadFile")) return 0;
    if (bytes > 0 && Fails("ReadFile short")) --bytes;
    auto* at = static_cast<char*>(buffer);
    while (*read < bytes) {
        ssize_t got = ::read(file->descriptor, at + *read, bytes - *read);
        if (got < 0) return 0;
        if (got == 0) break;  // the end of the file
        *read += static_cast<DWORD>(got);
    }
    return 1;
}

BOOL FakePlatform::WriteFile(HANDLE handle, const void* buffer, DWORD bytes, DWORD* written) {
    *written = 0;
    OpenFile* file = File(handle);
    if (file == nullptr || !(file->access & GENERIC_WRITE)) return 0;
    const bool fail = Fails("WriteFile");
    if (fail) bytes /= 2;
    if (!fail && bytes > 0 && Fails("WriteFile short")) --bytes;
    const auto* at = static_cast<const char*>(buffer);
    while (*written < bytes) {
        ssize_t put = ::write(file->descriptor, at + *written, bytes - *written);
        if (put <= 0) return 0;
        *written += static_cast<DWORD>(put);
    }
    if (fail) *written = 0;
    return fail ? 0 : 1;
}

DWORD FakePlatform::GetFileSize(HANDLE handle, DWORD* high) {
    OpenFile* file = File(handle);
    struct stat info;
    if (file == nullptr || Fails("GetFileSize") || fstat(file->descriptor, &info) != 0) {
        return INVALID_FILE_SIZE;
    }
    auto size = static_cast<std::uint64_t>(info.st_size);
    if (high != nullptr) *high = static_cast<DWORD>(size >> 32);
    return static_cast<DWORD>(size & 0xFFFFFFFF);
}

BOOL FakePlatform::FlushFileBuffers(HANDLE handle) {
    OpenFile* file = File(handle);
    // Only a handle that may write can be flushed.
    return file != nullptr && (file->access & GENERIC_WRITE) && !Fails("FlushFileBuffers");
}

BOOL FakePlatform::CloseHandle(HANDLE handle) {
    OpenFile* file = File(handle);
    if (file == nullptr) return 0;
    close(file->descriptor);
    files_.erase(Id(handle));
    return 1;
}

DWORD FakePlatform::GetFileAttributesA(const char* name) {
    struct stat info;
    if (stat(HostPath(name).c_str(), &info) != 0) return INVALID_FILE_ATTRIBUTES;
    return S_ISDIR(info.st_mode) ? 0x10 : 0x80;  // FILE_ATTRIBUTE_DIRECTORY, _NORMAL
}

// A file open without FILE_SHARE_DELETE can be neither deleted nor renamed.
bool FakePlatform::HeldWithoutDeleteSharing(const std::string& path) const {
    return std::any_of(files_.begin(), files_.end(), [&](const auto& entry) {
        return entry.second.path == path && !(entry.second.share & FILE_SHARE_DELETE);
    });
}

BOOL FakePlatform::MoveFileExA(const char* windowsFrom, const char* windowsTo, DWORD flags) {
    const std::string fromHost = HostPath(windowsFrom);
    const std::string toHost = HostPath(windowsTo);
    const char* from = fromHost.c_str();
    const char* to = toHost.c_str();
    if (Fails("MoveFileExA") || HeldWithoutDeleteSharing(from) || HeldWithoutDeleteSharing(to)) {
        return 0;
    }
    struct stat info;
    if (stat(from, &info) != 0) return 0;
    if (!(flags & MOVEFILE_REPLACE_EXISTING) && stat(to, &info) == 0) return 0;
    return std::rename(from, to) == 0;
}

BOOL FakePlatform::DeleteFileA(const char* windowsName) {
    const std::string name = HostPath(windowsName);
    // An open file can be deleted only when every handle on it shares deleting. (Windows
    // keeps the name until the last handle closes; here it goes at once.)
    if (Fails("DeleteFileA") || HeldWithoutDeleteSharing(name)) return 0;
    return unlink(name.c_str()) == 0;
}

BOOL FakePlatform::SetEndOfFile(HANDLE handle) {
    OpenFile* file = File(handle);
    if (file == nullptr || !(file->access & GENERIC_WRITE) || Fails("SetEndOfFile")) return 0;
    const off_t at = lseek(file->descriptor, 0, SEEK_CUR);
    return at >= 0 && ftruncate(file->descriptor, at) == 0;
}

DWORD FakePlatform::SetFilePointer(HANDLE handle, LONG distance, DWORD method) {
    OpenFile* file = File(handle);
    if (method != FILE_BEGIN) ADD_FAILURE() << "SetFilePointer from a place the fake does not know";
    if (file == nullptr || method != FILE_BEGIN || distance < 0 || Fails("SetFilePointer")) {
        return INVALID_SET_FILE_POINTER;
    }
    const off_t at = lseek(file->descriptor, distance, SEEK_SET);
    return at < 0 ? INVALID_SET_FILE_POINTER : static_cast<DWORD>(at);
}

BOOL FakePlatform::CreateDirectoryA(const char* path) {
    if (Fails("CreateDirectoryA")) return 0;
    return mkdir(HostPath(path).c_str(), 0755) == 0;
}

namespace {

void FillFindData(const std::string& folder, const std::string& name, WIN32_FIND_DATAA* found) {
    *found = WIN32_FIND_DATAA{};
    struct stat info;
    if (stat((folder + "/" + name).c_str(), &info) == 0) {
        found->dwFileAttributes = S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : 0x80;
        // 100-nanosecond steps, as a FILETIME counts them (from another epoch: only the
        // order matters here).
        const std::uint64_t time = static_cast<std::uint64_t>(info.st_mtim.tv_sec) * 10000000u +
                                   static_cast<std::uint64_t>(info.st_mtim.tv_nsec) / 100u;
        found->ftLastWriteTime = FILETIME{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
        found->nFileSizeLow = static_cast<DWORD>(info.st_size);
    }
    std::snprintf(found->cFileName, sizeof found->cFileName, "%s", name.c_str());
}

}  // namespace

HANDLE FakePlatform::FindFirstFileA(const char* pattern, WIN32_FIND_DATAA* found) {
    if (Fails("FindFirstFileA")) return INVALID_HANDLE_VALUE;
    const std::string host = HostPath(pattern);
    const std::size_t slash = host.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : host.substr(0, slash);
    const std::string namePattern = host.substr(slash == std::string::npos ? 0 : slash + 1);
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        std::string name = entry.path().filename().string();
        if (fnmatch(namePattern.c_str(), name.c_str(), 0) == 0) names.push_back(name);
    }
    if (names.empty()) return INVALID_HANDLE_VALUE;
    std::sort(names.begin(), names.end());
    for (std::string& name : names) name = folder + "/" + name;
    std::uintptr_t id = nextHandle_++;
    searches_[id] = names;
    FindNextFileA(MakeHandle<HANDLE>(id), found);
    return MakeHandle<HANDLE>(id);
}

BOOL FakePlatform::FindNextFileA(HANDLE search, WIN32_FIND_DATAA* found) {
    auto open = searches_.find(Id(search));
    if (open == searches_.end()) {
        ADD_FAILURE() << "FindNextFileA on a search that is not open";
        return 0;
    }
    if (open->second.empty()) return 0;
    const std::string path = open->second.front();
    open->second.erase(open->second.begin());
    const std::size_t slash = path.find_last_of('/');
    FillFindData(path.substr(0, slash), path.substr(slash + 1), found);
    return 1;
}

BOOL FakePlatform::FindClose(HANDLE search) {
    if (searches_.erase(Id(search)) == 0) {
        ADD_FAILURE() << "FindClose of a search that is not open";
        return 0;
    }
    return 1;
}

DWORD FakePlatform::GetEnvironmentVariableA(const char* name, char* buffer, DWORD size) {
    auto found = environment.find(name);
    if (found == environment.end()) return 0;
    const auto length = static_cast<DWORD>(found->second.size());
    if (length + 1 > size) return length + 1;
    std::memcpy(buffer, found->second.c_str(), length + 1);
    return length;
}

DWORD FakePlatform::GetCurrentProcessId() { return processId; }

// Paths here are the host's: a full one starts with '/', a relative one is taken from the
// platform's folder, and "." and ".." parts are resolved as Windows resolves them.
DWORD FakePlatform::GetFullPathNameA(const char* name, DWORD size, char* buffer) {
    std::string path = HostPath(name);
    if (path.empty()) return 0;
    if (path[0] != '/') path = Folder() + "/" + path;
    const std::string full = std::filesystem::path(path).lexically_normal().string();
    const auto length = static_cast<DWORD>(full.size());
    if (length + 1 > size) return length + 1;
    std::memcpy(buffer, full.c_str(), length + 1);
    return length;
}

// The clock of the file times FindFirstFileA gives (from the Unix epoch).
void FakePlatform::GetSystemTimeAsFileTime(FILETIME* now) {
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    const auto steps = static_cast<std::uint64_t>(
                           std::chrono::duration_cast<std::chrono::nanoseconds>(since).count()) /
                       100u;
    *now = FILETIME{static_cast<DWORD>(steps), static_cast<DWORD>(steps >> 32)};
}

// --- Drag and drop ------------------------------------------------------------------------

HDROP FakePlatform::MakeDrop(const std::vector<std::string>& paths) {
    std::uintptr_t id = nextHandle_++;
    drops_[id] = paths;
    return MakeHandle<HDROP>(id);
}

void FakePlatform::DragAcceptFiles(HWND, BOOL accept) { acceptsFiles = accept != 0; }

UINT FakePlatform::DragQueryFileA(HDROP drop, UINT index, char* buffer, UINT size) {
    auto found = drops_.find(Id(drop));
    if (found == drops_.end()) {
        ADD_FAILURE() << "DragQueryFileA on a drop that is finished or unknown";
        return 0;
    }
    const std::vector<std::string>& paths = found->second;
    if (index == 0xFFFFFFFF) return static_cast<UINT>(paths.size());
    if (index >= paths.size() || Fails("DragQueryFileA")) return 0;
    const std::string& path = paths[index];
    if (buffer == nullptr) return static_cast<UINT>(path.size());
    if (size == 0) return 0;
    const std::size_t copied = std::min<std::size_t>(path.size(), size - 1);
    std::memcpy(buffer, path.data(), copied);
    buffer[copied] = '\0';
    return static_cast<UINT>(copied);
}

void FakePlatform::DragFinish(HDROP drop) {
    if (drops_.erase(Id(drop)) == 0) ADD_FAILURE() << "DragFinish of a drop that is not open";
}

// --- Common file dialogs ----------------------------------------------------------------

BOOL FakePlatform::FileDialog(OPENFILENAMEA* record, bool save) {
    const bool refused = record->lStructSize != sizeof(OPENFILENAMEA);
    fileDialogs.push_back(FileDialogCall{save, refused, record->lpstrFile ? record->lpstrFile : "",
                                         record->nFilterIndex});
    if (refused) return 0;
    if (fileAnswers_.empty()) {
        ADD_FAILURE() << "unanswered file dialog";
        return 0;
    }
    std::string path = fileAnswers_.front();
    fileAnswers_.erase(fileAnswers_.begin());
    if (path.empty()) return 0;  // cancelled
    std::string title = path.substr(path.find_last_of('/') + 1);
    if (title.find('.') == std::string::npos && record->lpstrDefExt != nullptr) {
        path += std::string(".") + record->lpstrDefExt;
        title += std::string(".") + record->lpstrDefExt;
    }
    if (path.size() >= record->nMaxFile || title.size() >= record->nMaxFileTitle) {
        ADD_FAILURE() << "file name longer than the dialog record allows";
        return 0;
    }
    std::strcpy(record->lpstrFile, path.c_str());
    std::strcpy(record->lpstrFileTitle, title.c_str());
    if (nextFileType != 0) record->nFilterIndex = nextFileType;
    nextFileType = 0;
    return 1;
}

BOOL FakePlatform::GetOpenFileNameA(OPENFILENAMEA* record) { return FileDialog(record, false); }

BOOL FakePlatform::GetSaveFileNameA(OPENFILENAMEA* record) { return FileDialog(record, true); }

}  // namespace nv::fake

namespace nv::fake {

std::string Utf8(const std::u16string& units) {
    std::string out;
    for (std::size_t k = 0; k < units.size(); ++k) {
        std::uint32_t c = units[k];
        if (c >= 0xD800 && c < 0xDC00 && k + 1 < units.size()) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[++k] - 0xDC00);
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

namespace {

// One character of strict UTF-8 at `at` (no overlong forms, no surrogates, nothing past
// U+10FFFF): its code point and length, or length 0 when the bytes are not one.
std::uint32_t DecodeUtf8(const unsigned char* at, std::size_t left, std::size_t* length) {
    *length = 0;
    const unsigned char lead = at[0];
    if (lead < 0x80) return *length = 1, lead;
    const std::size_t n = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (n == 0 || lead > 0xF4 || n > left) return 0;
    std::uint32_t c = lead & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k) {
        if ((at[k] & 0xC0) != 0x80) return 0;
        c = c << 6 | (at[k] & 0x3F);
    }
    const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < least[n] || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) return 0;
    *length = n;
    return c;
}

}  // namespace

int FakePlatform::MultiByteToWideChar(UINT codePage, DWORD flags, const char* text, int count,
                                      WCHAR* units, int size) {
    if (Fails("MultiByteToWideChar")) return 0;
    if (codePage != CP_UTF8 || count < 0) {
        ADD_FAILURE() << "MultiByteToWideChar: only counted UTF-8 is simulated";
        return 0;
    }
    std::u16string out;
    out.reserve(static_cast<std::size_t>(count));
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    for (std::size_t k = 0, n = 0; k < static_cast<std::size_t>(count); k += n) {
        std::uint32_t c = DecodeUtf8(bytes + k, static_cast<std::size_t>(count) - k, &n);
        if (n == 0) {
            if (flags & MB_ERR_INVALID_CHARS) return 0;
            c = 0xFFFD;
            n = 1;
        }
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    if (size == 0) return static_cast<int>(out.size());
    if (out.size() > static_cast<std::size_t>(size)) return 0;
    std::copy(out.begin(), out.end(), units);
    return static_cast<int>(out.size());
}

int FakePlatform::WideCharToMultiByte(UINT codePage, DWORD, const WCHAR* units, int count,
                                      char* text, int size, const char* defaultChar,
                                      BOOL* usedDefault) {
    if (Fails("WideCharToMultiByte")) return 0;
    if (count < 0) {
        ADD_FAILURE() << "WideCharToMultiByte: only counted text is simulated";
        return 0;
    }
    std::string out;
    if (usedDefault != nullptr) *usedDefault = 0;
    if (codePage == CP_UTF8) {
        out = Utf8(std::u16string(units, static_cast<std::size_t>(count)));
    } else if (codePage == 1255) {
        iconv_t convert = iconv_open("CP1255", "UTF-16LE");
        for (int k = 0; k < count; ++k) {
            char16_t unit = units[k];
            char* in = reinterpret_cast<char*>(&unit);
            std::size_t inLeft = 2;
            char byte = 0;
            char* at = &byte;
            std::size_t outLeft = 1;
            if (iconv(convert, &in, &inLeft, &at, &outLeft) == static_cast<std::size_t>(-1) ||
                outLeft != 0) {
                byte = defaultChar != nullptr ? *defaultChar : '?';
                if (usedDefault != nullptr) *usedDefault = 1;
            }
            out += byte;
        }
        iconv_close(convert);
    } else {
        ADD_FAILURE() << "WideCharToMultiByte: code page " << codePage << " is not simulated";
        return 0;
    }
    if (size == 0) return static_cast<int>(out.size());
    if (out.size() > static_cast<std::size_t>(size)) return 0;
    std::copy(out.begin(), out.end(), text);
    return static_cast<int>(out.size());
}

int FakePlatform::MessageBoxW(HWND owner, const WCHAR* text, const WCHAR* caption, UINT type) {
    return MessageBoxA(owner, Utf8(text).c_str(), Utf8(caption).c_str(), type);
}

UINT FakePlatform::RegisterWindowMessageW(const WCHAR* name) {
    if (Fails("RegisterWindowMessageW")) return 0;
    // The system hands out numbers from 0xC000 up, the same one for the same name.
    auto found =
        registeredMessages_.emplace(name, static_cast<UINT>(0xC000 + registeredMessages_.size()));
    return found.first->second;
}

HWND FakePlatform::SetActiveWindow(HWND window) {
    HWND previous = activeWindow_;
    activeWindow_ = window;
    return previous;
}

HWND FakePlatform::OpenFindDialog(FINDREPLACEW* record, bool replace) {
    // The system refuses a record of another size, without an owner or with a find buffer
    // shorter than 80 units (and, for Replace, the same for the replacement).
    if (record->lStructSize != sizeof(FINDREPLACEW) || record->hwndOwner == nullptr ||
        record->lpstrFindWhat == nullptr || record->wFindWhatLen < 80 ||
        (replace && (record->lpstrReplaceWith == nullptr || record->wReplaceWithLen < 80))) {
        return nullptr;
    }
    if (Fails(replace ? "ReplaceTextW" : "FindTextW")) return nullptr;
    EXPECT_EQ(findDialog_, nullptr) << "a second Find or Replace dialog";
    findDialogs.push_back(FindDialogCall{replace, record->lpstrFindWhat, record->Flags});
    findDialog_ = MakeHandle<HWND>(0x200 + findDialogs.size());
    findDialogIsReplace_ = replace;
    findRecord_ = record;
    activeWindow_ = findDialog_;
    return findDialog_;
}

HWND FakePlatform::FindTextW(FINDREPLACEW* record) { return OpenFindDialog(record, false); }

HWND FakePlatform::ReplaceTextW(FINDREPLACEW* record) { return OpenFindDialog(record, true); }

void FakePlatform::SendFindMessage(DWORD flags, const std::u16string& findWhat,
                                   const std::u16string& replaceWith) {
    ASSERT_NE(findDialog_, nullptr) << "no Find or Replace dialog is open";
    FINDREPLACEW* record = findRecord_;
    // The dialog copies its boxes into the record's buffers, cut to fit, before it sends.
    auto copy = [](WCHAR* to, WORD size, const std::u16string& from) {
        const std::size_t n = std::min<std::size_t>(from.size(), size - 1u);
        std::copy_n(from.begin(), n, to);
        to[n] = 0;
    };
    copy(record->lpstrFindWhat, record->wFindWhatLen, findWhat);
    if (findDialogIsReplace_) copy(record->lpstrReplaceWith, record->wReplaceWithLen, replaceWith);
    record->Flags = flags;
    const UINT message = RegisterWindowMessageW(FINDMSGSTRINGW);
    Send(message, 0, reinterpret_cast<LPARAM>(record));
}

void FakePlatform::PressFindDialogButton(DWORD button, const std::u16string& findWhat,
                                         DWORD options, const std::u16string& replaceWith) {
    if (findDialogIsReplace_) options &= ~FR_DOWN;
    SendFindMessage(button | options, findWhat, replaceWith);
}

void FakePlatform::CloseFindDialog() {
    ASSERT_NE(findDialog_, nullptr) << "no Find or Replace dialog is open";
    const std::u16string findWhat(findRecord_->lpstrFindWhat);
    const std::u16string replaceWith(findDialogIsReplace_ ? findRecord_->lpstrReplaceWith : u"");
    SendFindMessage((findRecord_->Flags & (FR_DOWN | FR_MATCHCASE | FR_WHOLEWORD)) | FR_DIALOGTERM,
                    findWhat, replaceWith);
    findDialog_ = nullptr;
    findRecord_ = nullptr;
    activeWindow_ = window_;
}

// --- The status bar ---------------------------------------------------------------------

HWND FakePlatform::CreateWindowExA(DWORD, const char* className, const char*, DWORD style, int, int,
                                   int, int, HWND parent, std::uintptr_t) {
    if (std::strcmp(className, STATUSCLASSNAMEA) != 0 || parent != window_) {
        ADD_FAILURE() << "unexpected window of class " << className;
        return nullptr;
    }
    statusBar_ = MakeHandle<HWND>(0x200);
    statusShown_ = (style & WS_VISIBLE) != 0;
    statusParts.clear();
    DrawStatusBar();
    return statusBar_;
}

BOOL FakePlatform::ShowWindow(HWND window, int command) {
    if (window == nullptr || window != statusBar_) return 0;
    const bool wasShown = statusShown_;
    if (command == SW_HIDE && wasShown) {
        statusShown_ = false;
        RECT band{0, height_ - StatusBarHeight, width_, height_};
        InvalidateRect(window_, &band, 1);
    } else if (command != SW_HIDE) {
        statusShown_ = true;
        DrawStatusBar();
    }
    return wasShown ? 1 : 0;
}

BOOL FakePlatform::GetWindowRect(HWND window, RECT* rect) {
    // Screen and client coordinates are the same here.
    *rect = window != nullptr && window == statusBar_
                ? RECT{0, height_ - StatusBarHeight, width_, height_}
                : RECT{0, 0, width_, height_};
    return 1;
}

BOOL FakePlatform::ScreenToClient(HWND, POINT*) { return 1; }

BOOL FakePlatform::SystemParametersInfoA(UINT action, UINT, void* value, UINT) {
    if (action != SPI_GETWHEELSCROLLLINES) return 0;
    *static_cast<UINT*>(value) = wheelScrollLines;
    return 1;
}

std::string FakePlatform::statusText(int part) const {
    auto found = statusTexts_.find(part);
    return found == statusTexts_.end() ? std::string() : found->second;
}

void FakePlatform::DrawStatusBar() {
    if (!statusBarShown()) return;
    for (int y = std::max(0, height_ - StatusBarHeight); y < height_; ++y) {
        std::fill_n(pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_, width_,
                    StatusBarColour);
    }
}

LRESULT FakePlatform::StatusBarMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            DrawStatusBar();
            return 0;
        case SB_SETPARTS: {
            const int* edges = reinterpret_cast<const int*>(lParam);
            statusParts.assign(edges, edges + wParam);
            return 1;
        }
        case SB_SETTEXTA:
            // The control starts with one part and takes no text for a part it lacks.
            if ((wParam & 0xFF) >= std::max<std::size_t>(statusParts.size(), 1)) return 0;
            ++statusTextSets;
            statusTexts_[static_cast<int>(wParam & 0xFF)] = reinterpret_cast<const char*>(lParam);
            return 1;
        case WM_GETTEXT: {
            // The first part's text, as much as the buffer holds with its NUL.
            const std::string text = statusText(0);
            if (wParam == 0) return 0;
            const std::size_t n = std::min<std::size_t>(text.size(), wParam - 1);
            std::memcpy(reinterpret_cast<char*>(lParam), text.data(), n);
            reinterpret_cast<char*>(lParam)[n] = 0;
            return static_cast<LRESULT>(n);
        }
        default:
            return 0;
    }
}

}  // namespace nv::fake

namespace nv::fake {

// --- Modal dialogs ------------------------------------------------------------------------

namespace {
constexpr std::uintptr_t DialogHandle = 0x300;
}  // namespace

INT_PTR FakePlatform::DialogBoxParamA(const char* templateName, HWND, DLGPROC procedure,
                                      LPARAM param) {
    HWND dialog = MakeHandle<HWND>(DialogHandle);
    dialogItems_.clear();
    dialogLimits_.clear();
    dialogEnded_ = false;
    dialogResult_ = 0;
    procedure(dialog, WM_INITDIALOG, 0, param);
    dialogs.push_back(
        DialogCall{templateName, dialogItems_.empty() ? "" : dialogItems_.begin()->second});
    if (dialogAnswers_.empty()) {
        ADD_FAILURE() << "unanswered dialog " << templateName;
        return -1;
    }
    const std::vector<DialogPress> presses = dialogAnswers_.front();
    dialogAnswers_.erase(dialogAnswers_.begin());
    for (const DialogPress& press : presses) {
        if (dialogEnded_) break;
        // The number box is the dialog's one text control.
        const int box = dialogItems_.empty() ? 0 : dialogItems_.begin()->first;
        auto limit = dialogLimits_.find(box);
        dialogItems_[box] =
            limit == dialogLimits_.end() ? press.typed : press.typed.substr(0, limit->second);
        procedure(dialog, WM_COMMAND, static_cast<WPARAM>(press.button), 0);
    }
    if (!dialogEnded_) {
        ADD_FAILURE() << "the dialog " << templateName << " stayed open after its last press";
        procedure(dialog, WM_COMMAND, IDCANCEL, 0);
    }
    return dialogResult_;
}

BOOL FakePlatform::EndDialog(HWND dialog, INT_PTR result) {
    if (Id(dialog) != DialogHandle || dialogEnded_) return 0;
    dialogEnded_ = true;
    dialogResult_ = result;
    return 1;
}

UINT FakePlatform::GetDlgItemInt(HWND, int item, BOOL* translated, BOOL isSigned) {
    // As the system reads a number: blanks first, then decimal digits to the end of the text,
    // within the range of the type.
    if (translated != nullptr) *translated = 0;
    const std::string& text = dialogItems_[item];
    std::size_t at = text.find_first_not_of(' ');
    if (at == std::string::npos || isSigned) return 0;
    unsigned long long value = 0;
    for (; at < text.size(); ++at) {
        if (text[at] < '0' || text[at] > '9') return 0;
        value = value * 10 + static_cast<unsigned>(text[at] - '0');
        if (value > 0xFFFFFFFFull) return 0;
    }
    if (translated != nullptr) *translated = 1;
    return static_cast<UINT>(value);
}

BOOL FakePlatform::SetDlgItemInt(HWND, int item, UINT value, BOOL) {
    dialogItems_[item] = std::to_string(value);
    return 1;
}

LRESULT FakePlatform::SendDlgItemMessageA(HWND, int item, UINT message, WPARAM wParam, LPARAM) {
    if (message == EM_LIMITTEXT) dialogLimits_[item] = wParam;
    return 0;
}

// --- Menu items added while running -------------------------------------------------------

BOOL FakePlatform::InsertMenuA(HMENU, UINT position, UINT flags, std::uintptr_t id,
                               const char* text) {
    EXPECT_EQ(flags & 0x0400, 0u) << "menu items are inserted by command";  // MF_BYPOSITION
    const bool separator = (flags & MF_SEPARATOR) != 0;
    auto before = std::find_if(addedMenuItems.begin(), addedMenuItems.end(),
                               [&](const AddedMenuItem& item) { return item.id == position; });
    addedMenuItems.insert(before,
                          AddedMenuItem{static_cast<UINT>(id), separator ? "" : std::string(text)});
    return 1;
}

BOOL FakePlatform::DeleteMenu(HMENU, UINT position, UINT) {
    auto found = std::find_if(addedMenuItems.begin(), addedMenuItems.end(),
                              [&](const AddedMenuItem& item) { return item.id == position; });
    if (found == addedMenuItems.end()) return 0;
    addedMenuItems.erase(found);
    return 1;
}

// --- The settings file --------------------------------------------------------------------

namespace {

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The lines of an .ini file; each section's keys are found after its "[name]" line.
std::vector<std::string> IniLines(const std::string& path) {
    std::vector<std::string> lines;
    const std::string text = ReadWholeFile(path);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

bool IsSectionLine(const std::string& line, std::string* name) {
    const std::string trimmed = Trimmed(line);
    if (trimmed.size() < 2 || trimmed.front() != '[' || trimmed.back() != ']') return false;
    *name = trimmed.substr(1, trimmed.size() - 2);
    return true;
}

bool IsKeyLine(const std::string& line, const std::string& key, std::string* value) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos || !SameName(Trimmed(line.substr(0, equals)), key))
        return false;
    *value = Trimmed(line.substr(equals + 1));
    return true;
}

}  // namespace

DWORD FakePlatform::GetPrivateProfileStringA(const char* section, const char* key,
                                             const char* defaultValue, char* buffer, DWORD size,
                                             const char* fileName) {
    EXPECT_TRUE(section != nullptr && key != nullptr) << "listing sections or keys";
    if (size == 0) return 0;
    std::string value = defaultValue != nullptr ? defaultValue : "";
    if (!Fails("GetPrivateProfileStringA")) {
        std::string name;
        bool inSection = false;
        for (const std::string& line : IniLines(HostPath(fileName))) {
            if (IsSectionLine(line, &name)) {
                inSection = SameName(name, section);
            } else if (inSection && IsKeyLine(line, key, &value)) {
                break;
            }
        }
    }
    // Cut to the buffer: the length copied, size - 1 when it did not fit.
    const std::size_t copied = std::min<std::size_t>(value.size(), size - 1);
    std::memcpy(buffer, value.data(), copied);
    buffer[copied] = '\0';
    return static_cast<DWORD>(copied);
}

BOOL FakePlatform::WritePrivateProfileStringA(const char* section, const char* key,
                                              const char* value, const char* fileName) {
    if (Fails("WritePrivateProfileStringA")) return 0;
    const std::string path = HostPath(fileName);
    std::vector<std::string> lines = IniLines(path);
    std::string name;
    std::size_t sectionLine = lines.size();
    std::size_t sectionEnd = lines.size();
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (!IsSectionLine(lines[k], &name)) continue;
        if (sectionLine < lines.size()) {
            sectionEnd = k;
            break;
        }
        if (SameName(name, section)) sectionLine = k;
    }
    std::string old;
    if (key == nullptr) {
        if (sectionLine < lines.size()) {
            lines.erase(lines.begin() + static_cast<long>(sectionLine),
                        lines.begin() + static_cast<long>(sectionEnd));
        }
    } else {
        if (sectionLine == lines.size()) {
            lines.push_back(std::string("[") + section + "]");
            sectionEnd = lines.size();
        }
        std::size_t at = sectionLine + 1;
        while (at < sectionEnd && !IsKeyLine(lines[at], key, &old)) ++at;
        if (value == nullptr) {
            if (at < sectionEnd) lines.erase(lines.begin() + static_cast<long>(at));
        } else if (at < sectionEnd) {
            lines[at] = std::string(key) + "=" + value;
        } else {
            lines.insert(lines.begin() + static_cast<long>(sectionEnd),
                         std::string(key) + "=" + value);
        }
    }
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (descriptor < 0) return 0;
    const bool written =
        write(descriptor, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    close(descriptor);
    return written ? 1 : 0;
}

// --- The window's place and the screens ---------------------------------------------------

BOOL FakePlatform::GetWindowPlacement(HWND, WINDOWPLACEMENT* into) {
    if (into->length != sizeof(WINDOWPLACEMENT)) return 0;
    *into = placement;
    return 1;
}

BOOL FakePlatform::SetWindowPlacement(HWND, const WINDOWPLACEMENT* from) {
    if (from->length != sizeof(WINDOWPLACEMENT)) return 0;
    placement = *from;
    ++placementsSet;
    return 1;
}

HMONITOR FakePlatform::MonitorFromRect(const RECT* rect, DWORD flags) {
    std::size_t nearest = 0;
    long best = -1;
    for (std::size_t k = 0; k < monitors.size(); ++k) {
        const RECT& m = monitors[k].rcMonitor;
        if (rect->left < m.right && m.left < rect->right && rect->top < m.bottom &&
            m.top < rect->bottom) {
            return MakeHandle<HMONITOR>(k + 1);
        }
        const long dx = std::max(
            {0L, static_cast<long>(m.left) - rect->right, static_cast<long>(rect->left) - m.right});
        const long dy = std::max(
            {0L, static_cast<long>(m.top) - rect->bottom, static_cast<long>(rect->top) - m.bottom});
        if (best < 0 || dx + dy < best) {
            best = dx + dy;
            nearest = k;
        }
    }
    if (flags != MONITOR_DEFAULTTONEAREST || monitors.empty()) return nullptr;
    return MakeHandle<HMONITOR>(nearest + 1);
}

BOOL FakePlatform::GetMonitorInfoA(HMONITOR monitor, MONITORINFO* info) {
    const std::uintptr_t k = Id(monitor);
    if (info->cbSize != sizeof(MONITORINFO) || k == 0 || k > monitors.size()) return 0;
    *info = monitors[k - 1];
    return 1;
}

}  // namespace nv::fake
