// A change of face or size on a full document (32,767 bytes), and printing it on the fake
// printer, fit included. "editorOnly" 1 gives the editor's own work (see bench_editor.h).
#include <benchmark/benchmark.h>

#include "bench/bench_editor.h"
#include "commands/command_ids.h"

namespace {

using bench::Editor;
using bench::HebrewText;
using nv::Doc;

// Arguments: 0 for the face, 1 for the size, alternating between two choices already
// measured once; and 1 for the editor's own time. Counts the width and glyph queries made
// while switching: returning to a measured font makes none.
void BM_FontChangeOnFullDocument(benchmark::State& state) {
    Editor editor(HebrewText(nv::TextLimit - 2, 9), state.range(1) != 0);
    const nv::WPARAM choices[2][2] = {{IDM_FACE_FIRST + 8, IDM_FACE_FIRST + 4},
                                      {IDM_SIZE_BASE + 14, IDM_SIZE_BASE + 12}};
    const nv::WPARAM* pair = choices[state.range(0)];
    editor.Send(nv::WM_COMMAND, pair[0]);
    editor.Send(nv::WM_COMMAND, pair[1]);
    const long queries = editor.fake().widthQueries + editor.fake().glyphQueries;
    int turn = 0;
    for (auto _ : state) {
        state.SetIterationTime(editor.Timed(nv::WM_COMMAND, pair[turn]));
        turn = 1 - turn;
    }
    state.counters["queries"] =
        static_cast<double>(editor.fake().widthQueries + editor.fake().glyphQueries - queries);
    state.counters["lines"] = Doc.LineCount;
}

// Arguments: the printer's horizontal resolution (600: the document fits at once on Letter;
// 500: the font shrinks from 100 to 83 dots first), and 1 for the editor's own time.
void BM_PrintFullDocument(benchmark::State& state) {
    Editor editor(HebrewText(nv::TextLimit - 2, 9), state.range(1) != 0);
    editor.fake().printer.logPixelsX = static_cast<int>(state.range(0));
    std::size_t sheets = 0;
    nv::LONG printedHeight = 0;  // of the document's lines, after the fit
    for (auto _ : state) {
        state.SetIterationTime(editor.Timed(nv::WM_COMMAND, IDM_FILE_PRINT));
        const nv::fake::PrintJob& job = editor.fake().printJobs.back();
        sheets = job.pages.size();
        // The footer "(1)" comes first, then the first line.
        if (job.pages[0].size() > 3) printedHeight = job.pages[0][3].height;
        editor.fake().printJobs.clear();
    }
    state.counters["sheets"] = static_cast<double>(sheets);
    // The editor-only platform records nothing it is asked to draw.
    if (state.range(1) == 0) state.counters["height"] = printedHeight;
}

}  // namespace

BENCHMARK(BM_FontChangeOnFullDocument)
    ->ArgNames({"size", "editorOnly"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PrintFullDocument)
    ->ArgNames({"xdpi", "editorOnly"})
    ->Args({600, 0})
    ->Args({500, 0})
    ->Args({600, 1})
    ->Args({500, 1})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
