// Undo of Select All and Delete on a full document (32,767 bytes back in one step), through
// the window procedure on the fake platform, in both worlds of bench/bench_editor.h.
#include <benchmark/benchmark.h>

#include "bench/bench_editor.h"
#include "commands/command_ids.h"

namespace {

using nv::Doc;
using nv::bench::Editor;
using nv::bench::HebrewText;

void BM_UndoSelectAllDeleteOnFullDocument(benchmark::State& state) {
    Editor editor(HebrewText(nv::TextLimit - 1, 9), state.range(0) != 0);
    long paints = 0;
    for (auto _ : state) {
        editor.Send(nv::WM_COMMAND, IDM_EDIT_SELECT_ALL);
        editor.Send(nv::WM_COMMAND, IDM_EDIT_DELETE);
        if (Doc.TextLength != 1) state.SkipWithError("nothing was deleted");
        const long before = editor.paints();
        state.SetIterationTime(editor.Timed(nv::WM_COMMAND, IDM_EDIT_UNDO));
        paints += editor.paints() - before;
        if (Doc.TextLength != nv::TextLimit) state.SkipWithError("the undo did not restore it");
    }
    state.counters["paints"] =
        benchmark::Counter(static_cast<double>(paints), benchmark::Counter::kAvgIterations);
}

}  // namespace

BENCHMARK(BM_UndoSelectAllDeleteOnFullDocument)
    ->ArgName("editorOnly")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
