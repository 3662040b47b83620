// One keystroke at the start of a document of 32,767 bytes (terminator included), through
// the window procedure on the fake platform: the edit, the layout of the whole text, and
// every synchronous repaint it asks for, painting included.
//
// Two worlds, reported side by side (bench/bench_editor.h): the fake as the tests use it,
// and the editor's own work alone.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "bench/bench_editor.h"
#include "document/store.h"

namespace {

using nv::Doc;
using nv::bench::Editor;

// Hebrew words of four to six letters; a line break after every `wordsPerLine` words, or
// none at all when it is 0 (one paragraph, wrapped at the column).
std::string HebrewText(int length, int wordsPerLine) {
    std::string text;
    int word = 0;
    while (static_cast<int>(text.size()) < length) {
        for (int k = 0; k < 4 + word % 3; ++k) {
            text += static_cast<char>(0xE0 + (word * 7 + k) % 27);
        }
        ++word;
        text += (wordsPerLine > 0 && word % wordsPerLine == 0) ? "\r\n" : " ";
    }
    text.resize(static_cast<std::size_t>(length));
    if (text.back() == '\r') text.back() = ' ';
    return text;
}

// Arguments: words per line (0: one paragraph wrapped at the column), and 1 for the
// editor's own time.
void BM_TypeAtStartOfFullDocument(benchmark::State& state) {
    Editor editor(HebrewText(nv::TextLimit - 2, static_cast<int>(state.range(0))),
                  state.range(1) != 0);
    long paints = 0;
    for (auto _ : state) {
        const long before = editor.paints();
        state.SetIterationTime(editor.Timed(nv::WM_CHAR, 0xE9));
        paints += editor.paints() - before;
        if (Doc.TextLength != nv::TextLimit) state.SkipWithError("the character was refused");
        editor.Send(nv::WM_KEYDOWN, nv::VK_BACK);
    }
    state.counters["paints"] =
        benchmark::Counter(static_cast<double>(paints), benchmark::Counter::kAvgIterations);
}

void BM_BackspaceAtStartOfFullDocument(benchmark::State& state) {
    Editor editor(HebrewText(nv::TextLimit - 2, 9), state.range(0) != 0);
    for (auto _ : state) {
        editor.Send(nv::WM_CHAR, 0xE9);
        state.SetIterationTime(editor.Timed(nv::WM_KEYDOWN, nv::VK_BACK));
    }
}

// One arrow key: no edit and no layout, only the two caret strips.
void BM_ArrowInFullDocument(benchmark::State& state) {
    Editor editor(HebrewText(nv::TextLimit - 2, 9), state.range(0) != 0);
    bool left = true;
    for (auto _ : state) {
        state.SetIterationTime(editor.Timed(nv::WM_KEYDOWN, left ? nv::VK_LEFT : nv::VK_RIGHT));
        left = !left;
    }
}

}  // namespace

BENCHMARK(BM_TypeAtStartOfFullDocument)
    ->ArgNames({"wordsPerLine", "editorOnly"})
    ->Args({9, 0})
    ->Args({0, 0})
    ->Args({9, 1})
    ->Args({0, 1})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BackspaceAtStartOfFullDocument)
    ->ArgName("editorOnly")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ArrowInFullDocument)
    ->ArgName("editorOnly")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
