// The editor on the fake platform for the benchmarks, in two worlds:
// * fake: the fake platform as the tests use it. Its software rasteriser recomputes a font's
//   metrics on every query, scans the whole framebuffer at each BeginPaint and plots every
//   glyph pixel by pixel, so it costs far more than the editor itself.
// * editor: the same fake with each font's answers computed once (the same answers), drawing
//   calls that touch no pixels, and the time spent inside BeginPaint, UpdateWindow's look for
//   an invalid pixel and ScrollWindow (the fake's pixel moves, which the system does in a
//   blit) and CreateFontIndirectA (the fake works out a font's whole metrics there, which the
//   system keeps ready) left out. What remains is the editor's own work: the edit, the layout
//   of the whole text, measuring, deciding what to repaint, and the paint code with all its
//   calls.
#pragma once

#include <chrono>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "app/window_proc.h"
#include "document/layout.h"
#include "document/store.h"
#include "tests/support/editor_fixture.h"
#include "tests/support/fake_platform.h"
#include "view/screen_layout.h"

namespace nv::bench {

using nv::Doc;
using Clock = std::chrono::steady_clock;

// Hebrew words of four to six letters; a line break after every `wordsPerLine` words, or
// none at all when it is 0 (one paragraph, wrapped at the column). With `others`, every
// fourth word is the next of those four instead.
inline std::string HebrewText(int length, int wordsPerLine,
                              const char* const (*others)[4] = nullptr) {
    std::string text;
    int word = 0;
    while (static_cast<int>(text.size()) < length) {
        if (others != nullptr && word % 4 == 3) {
            text += (*others)[(word / 4) % 4];
        } else {
            for (int k = 0; k < 4 + word % 3; ++k) {
                text += static_cast<char>(0xE0 + (word * 7 + k) % 27);
            }
        }
        ++word;
        text += (wordsPerLine > 0 && word % wordsPerLine == 0) ? "\r\n" : " ";
    }
    text.resize(static_cast<std::size_t>(length));
    if (text.back() == '\r') text.back() = ' ';
    return text;
}

class EditorOnlyPlatform : public nv::fake::FakePlatform {
public:
    double paintScanSeconds = 0;

    long fontsCreated = 0;

    // The fake works a font's metrics out anew for each font created, as a system realises
    // a font; that time is left out like the pixel work.
    nv::HFONT CreateFontIndirectA(const nv::LOGFONTA* font) override {
        const auto start = Clock::now();
        nv::HFONT handle = FakePlatform::CreateFontIndirectA(font);
        metrics_[handle] = MetricsFor(*font);
        ++fontsCreated;
        paintScanSeconds += std::chrono::duration<double>(Clock::now() - start).count();
        return handle;
    }
    nv::BOOL DeleteObject(nv::HGDIOBJ object) override {
        metrics_.erase(static_cast<nv::HFONT>(object));
        return FakePlatform::DeleteObject(object);
    }
    nv::HGDIOBJ SelectObject(nv::HDC dc, nv::HGDIOBJ object) override {
        selected_[dc] = object;
        return FakePlatform::SelectObject(dc, object);
    }
    nv::BOOL GetTextMetricsA(nv::HDC dc, nv::TEXTMETRICA* metrics) override {
        const nv::fake::FontMetrics* m = Selected(dc);
        if (!m) return FakePlatform::GetTextMetricsA(dc, metrics);
        *metrics = m->text;
        return 1;
    }
    nv::BOOL GetCharABCWidthsA(nv::HDC dc, nv::UINT first, nv::UINT last,
                               nv::ABC* widths) override {
        const nv::fake::FontMetrics* m = Selected(dc);
        if (!m || !m->trueType || last > 255 || first > last) {
            return FakePlatform::GetCharABCWidthsA(dc, first, last, widths);
        }
        ++widthQueries;
        for (nv::UINT code = first; code <= last; ++code) widths[code - first] = m->abc[code];
        return 1;
    }
    nv::HDC BeginPaint(nv::HWND window, nv::PAINTSTRUCT* paint) override {
        const auto start = Clock::now();
        nv::HDC dc = FakePlatform::BeginPaint(window, paint);
        paintScanSeconds += std::chrono::duration<double>(Clock::now() - start).count();
        return dc;
    }
    // UpdateWindow's look for an invalid pixel scans the fake's mask, which after a scroll
    // covers the whole text area; the system keeps a region instead.
    nv::BOOL UpdateWindow(nv::HWND window) override {
        const auto start = Clock::now();
        const bool invalid = HasInvalidArea();
        paintScanSeconds += std::chrono::duration<double>(Clock::now() - start).count();
        if (invalid) windowProc(window, nv::WM_PAINT, 0, 0);
        return 1;
    }
    nv::BOOL ScrollWindow(nv::HWND window, int dx, int dy, const nv::RECT* scroll,
                          const nv::RECT* clip) override {
        const auto start = Clock::now();
        nv::BOOL done = FakePlatform::ScrollWindow(window, dx, dy, scroll, clip);
        paintScanSeconds += std::chrono::duration<double>(Clock::now() - start).count();
        return done;
    }
    // The system's bidirectional service stays in the editor's time; what it took is
    // counted apart.
    double bidiServiceSeconds = 0;
    nv::HRESULT ScriptItemize(const nv::WORD* text, int count, int maxItems,
                              const nv::SCRIPT_CONTROL* control, const nv::SCRIPT_STATE* state,
                              nv::SCRIPT_ITEM* items, int* itemCount) override {
        const auto start = Clock::now();
        nv::HRESULT result =
            FakePlatform::ScriptItemize(text, count, maxItems, control, state, items, itemCount);
        bidiServiceSeconds += std::chrono::duration<double>(Clock::now() - start).count();
        return result;
    }
    nv::HRESULT ScriptLayout(int runs, const std::uint8_t* levels, int* visualToLogical,
                             int* logicalToVisual) override {
        const auto start = Clock::now();
        nv::HRESULT result =
            FakePlatform::ScriptLayout(runs, levels, visualToLogical, logicalToVisual);
        bidiServiceSeconds += std::chrono::duration<double>(Clock::now() - start).count();
        return result;
    }
    // So does the system's code page converter, counted apart as well.
    double converterSeconds = 0;
    int MultiByteToWideChar(nv::UINT codePage, nv::DWORD flags, const char* text, int count,
                            nv::WCHAR* units, int size) override {
        const auto start = Clock::now();
        int result = FakePlatform::MultiByteToWideChar(codePage, flags, text, count, units, size);
        converterSeconds += std::chrono::duration<double>(Clock::now() - start).count();
        return result;
    }
    nv::BOOL TextOutA(nv::HDC, int, int, const char*, int) override { return 1; }
    nv::BOOL ExtTextOutW(nv::HDC, int, int, nv::UINT, const nv::RECT*, const nv::WORD*, nv::UINT,
                         const int*) override {
        return 1;
    }
    nv::BOOL LineTo(nv::HDC, int, int) override { return 1; }
    nv::BOOL Rectangle(nv::HDC, int, int, int, int) override { return 1; }
    nv::BOOL PatBlt(nv::HDC, int, int, int, int, nv::DWORD) override { return 1; }

private:
    const nv::fake::FontMetrics* Selected(nv::HDC dc) const {
        auto font = selected_.find(dc);
        if (font == selected_.end()) return nullptr;
        auto found = metrics_.find(static_cast<nv::HFONT>(font->second));
        return found == metrics_.end() ? nullptr : &found->second;
    }
    std::map<nv::HFONT, nv::fake::FontMetrics> metrics_;
    std::map<nv::HDC, nv::HGDIOBJ> selected_;
};

class Editor {
public:
    Editor(const std::string& text, bool editorOnly) {
        nv::test::ResetEditorState();
        if (editorOnly) {
            editorOnly_ = new EditorOnlyPlatform;
            fake_.reset(editorOnly_);
        } else {
            fake_ = std::make_unique<nv::fake::FakePlatform>();
        }
        fake_->windowProc = &nv::MainWindowProc;
        nv::SetCurrentPlatform(fake_.get());
        fake_->AnswerNextMessageBox(nv::IDYES);
        fake_->CreateMainWindow(800, 900);
        std::memcpy(Doc.TextBuffer, text.data(), text.size());
        Doc.TextLength = static_cast<std::int32_t>(text.size()) + 1;
        nv::LayoutDocument();
        fake_->InvalidateRect(fake_->window(), nullptr, 1);
        fake_->UpdateWindow(fake_->window());
    }
    ~Editor() { nv::SetCurrentPlatform(nullptr); }

    void Send(nv::UINT message, nv::WPARAM wParam) { fake_->Send(message, wParam, 1); }

    // Sends one message and gives the seconds it took in this editor's world.
    double Timed(nv::UINT message, nv::WPARAM wParam) {
        const double scanBefore = editorOnly_ ? editorOnly_->paintScanSeconds : 0;
        const auto start = Clock::now();
        Send(message, wParam);
        double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (editorOnly_) seconds -= editorOnly_->paintScanSeconds - scanBefore;
        return seconds;
    }
    long paints() const { return fake_->paintCount; }
    long fontsCreated() const { return editorOnly_ ? editorOnly_->fontsCreated : 0; }
    double bidiServiceSeconds() const { return editorOnly_ ? editorOnly_->bidiServiceSeconds : 0; }
    double converterSeconds() const { return editorOnly_ ? editorOnly_->converterSeconds : 0; }
    nv::fake::FakePlatform& fake() { return *fake_; }

private:
    std::unique_ptr<nv::fake::FakePlatform> fake_;
    EditorOnlyPlatform* editorOnly_ = nullptr;
};

}  // namespace nv::bench
