// One keystroke at the start of a document of 32,767 bytes (terminator included), or at the
// end of one a little shorter, through the window procedure on the fake platform: the edit,
// the layout, and the one paint it asks for.
#include <benchmark/benchmark.h>

#include "bench/bench_editor.h"
#include "commands/command_ids.h"

namespace {

using nv::Doc;
using nv::bench::Editor;
using nv::bench::HebrewText;

// Arguments: words per line (0: one paragraph wrapped at the column), 1 for the editor's
// own time, and 0 to hide the status bar, whose texts (the word count of the whole text
// among them) follow every keystroke.
void BM_TypeAtStartOfFullDocument(benchmark::State& state) {
    Editor editor(HebrewText(nv::TextLimit - 2, static_cast<int>(state.range(0))),
                  state.range(1) != 0);
    if (state.range(2) == 0) editor.Send(nv::WM_COMMAND, IDM_VIEW_STATUS_BAR);
    long paints = 0;
    long fonts = 0;
    for (auto _ : state) {
        const long before = editor.paints();
        const long fontsBefore = editor.fontsCreated();
        state.SetIterationTime(editor.Timed(nv::WM_CHAR, 0xE9));
        paints += editor.paints() - before;
        fonts += editor.fontsCreated() - fontsBefore;
        if (Doc.TextLength != nv::TextLimit) state.SkipWithError("the character was refused");
        editor.Send(nv::WM_KEYDOWN, nv::VK_BACK);
    }
    state.counters["paints"] =
        benchmark::Counter(static_cast<double>(paints), benchmark::Counter::kAvgIterations);
    state.counters["fonts"] =
        benchmark::Counter(static_cast<double>(fonts), benchmark::Counter::kAvgIterations);
}

// One keystroke at the end of a full paragraph whose last line is the last in view, the
// editor's own time. Argument 1: the key is the one that starts a new line, which scrolls
// the view by a line and moves the scroll bar; 0: the key before it.
void BM_TypeAtEndOfFullDocument(benchmark::State& state) {
    Editor editor(HebrewText(nv::TextLimit - 100, 0), true);
    editor.fake().SetKeyDown(nv::VK_CONTROL, true);
    editor.Send(nv::WM_KEYDOWN, nv::VK_END);
    editor.fake().SetKeyDown(nv::VK_CONTROL, false);
    const std::int32_t top = Doc.ViewTop;
    const std::int32_t lines = Doc.LineCount;
    while (Doc.LineCount == lines) editor.Send(nv::WM_CHAR, 0xE9);
    editor.Send(nv::WM_KEYDOWN, nv::VK_BACK);
    if (state.range(0) == 0) editor.Send(nv::WM_KEYDOWN, nv::VK_BACK);
    editor.Send(nv::WM_VSCROLL, nv::SB_THUMBPOSITION | (static_cast<unsigned>(top) << 16));
    long scrolls = 0;
    for (auto _ : state) {
        const long before = editor.fake().scrollCount;
        state.SetIterationTime(editor.Timed(nv::WM_CHAR, 0xE9));
        scrolls += editor.fake().scrollCount - before;
        editor.Send(nv::WM_KEYDOWN, nv::VK_BACK);
        if (Doc.ViewTop != top) editor.Send(nv::WM_VSCROLL, nv::SB_LINEUP);
    }
    state.counters["scrolls"] =
        benchmark::Counter(static_cast<double>(scrolls), benchmark::Counter::kAvgIterations);
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
    ->ArgNames({"wordsPerLine", "editorOnly", "statusBar"})
    ->Args({9, 0, 1})
    ->Args({0, 0, 1})
    ->Args({9, 1, 1})
    ->Args({0, 1, 1})
    ->Args({9, 1, 0})
    ->Args({0, 1, 0})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TypeAtEndOfFullDocument)
    ->ArgName("newLine")
    ->Arg(0)
    ->Arg(1)
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
