// The layout of a full document against the literal per-byte layout, and one full paint
// of a tall window, on the fake platform.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <random>
#include <string>

#include "app/window_proc.h"
#include "document/layout.h"
#include "document/store.h"
#include "tests/support/editor_fixture.h"
#include "tests/support/fake_platform.h"
#include "tests/support/reference_layout.h"
#include "view/screen_layout.h"

namespace {

// Hebrew prose: words of two to seven letters, now and then a point, paragraphs of a few
// hundred bytes, 32,767 bytes in all.
std::string HebrewProse() {
    std::mt19937 random(5785);
    std::string text;
    int paragraph = 0;
    while (text.size() < 32767) {
        int letters = 2 + static_cast<int>(random() % 6);
        for (int k = 0; k < letters; ++k) {
            text += static_cast<char>(0xE0 + random() % 27);
            if (random() % 9 == 0) text += static_cast<char>(0xC0 + random() % 19);
        }
        paragraph += letters + 1;
        if (paragraph > 300 + static_cast<int>(random() % 400)) {
            text += "\r\n";
            paragraph = 0;
        } else {
            text += ' ';
        }
    }
    text.resize(32767);
    return text;
}

// The editor on a fresh fake platform, its window 1024 pixels tall, holding the prose.
class Editor {
public:
    Editor() {
        nv::test::ResetEditorState();
        fake_.windowProc = &nv::MainWindowProc;
        nv::SetCurrentPlatform(&fake_);
        fake_.AnswerNextMessageBox(nv::IDYES);
        fake_.CreateMainWindow(1280, 1024);
        std::string text = HebrewProse();
        std::memcpy(nv::Doc.TextBuffer, text.data(), text.size());
        nv::Doc.TextBuffer[text.size()] = 0;
        nv::Doc.TextLength = static_cast<std::int32_t>(text.size()) + 1;
        nv::LayoutDocument();
    }
    ~Editor() { nv::SetCurrentPlatform(nullptr); }
    nv::fake::FakePlatform& fake() { return fake_; }

private:
    nv::fake::FakePlatform fake_;
};

void BM_LayoutDocument(benchmark::State& state) {
    Editor editor;
    for (auto _ : state) {
        nv::LayoutDocument();
        benchmark::DoNotOptimize(nv::Doc.LineCount);
    }
    state.counters["lines"] = nv::Doc.LineCount;
}
BENCHMARK(BM_LayoutDocument)->Unit(benchmark::kMicrosecond);

void BM_LiteralLayout(benchmark::State& state) {
    Editor editor;
    for (auto _ : state) {
        nv::test::ReferenceLayout layout = nv::test::LayOutLiterally();
        benchmark::DoNotOptimize(layout.Lines.size());
    }
}
BENCHMARK(BM_LiteralLayout)->Unit(benchmark::kMillisecond)->Iterations(2);

// Both layouts timed in one run, so that their ratio comes out as a counter.
void BM_LayoutSpeedup(benchmark::State& state) {
    Editor editor;
    using Clock = std::chrono::steady_clock;
    double fast = 0;
    double literal = 0;
    for (auto _ : state) {
        const int repeats = 200;
        auto start = Clock::now();
        for (int k = 0; k < repeats; ++k) nv::LayoutDocument();
        fast = std::chrono::duration<double, std::micro>(Clock::now() - start).count() / repeats;
        start = Clock::now();
        nv::test::ReferenceLayout layout = nv::test::LayOutLiterally();
        literal = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
        benchmark::DoNotOptimize(layout.Lines.size());
    }
    state.counters["fast_us"] = fast;
    state.counters["literal_us"] = literal;
    state.counters["ratio"] = literal / fast;
}
BENCHMARK(BM_LayoutSpeedup)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_FullPaint(benchmark::State& state) {
    Editor editor;
    for (auto _ : state) {
        editor.fake().InvalidateRect(editor.fake().window(), nullptr, 1);
        editor.fake().UpdateWindow(editor.fake().window());
    }
    state.counters["widthQueries"] = static_cast<double>(editor.fake().widthQueries);
}
BENCHMARK(BM_FullPaint)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
