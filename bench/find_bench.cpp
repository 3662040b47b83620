// Find and Replace All on a full document (32,767 bytes and the terminator), driven through
// the Find and Replace dialogs of the fake platform: a search that finds nothing, in both
// worlds of bench/bench_editor.h, and a Replace All of every space, whose one edit lays out
// and repaints the whole window.
#include <benchmark/benchmark.h>

#include "bench/bench_editor.h"
#include "commands/command_ids.h"

namespace {

using nv::Doc;
using nv::bench::Clock;
using nv::bench::Editor;
using nv::bench::EditorOnlyPlatform;
using nv::bench::HebrewText;

// Seconds one button of the open dialog takes, less the fake's pixel work in the editor's
// world.
double TimedPress(Editor& editor, nv::DWORD button, const std::u16string& find,
                  const std::u16string& with) {
    auto* editorOnly = dynamic_cast<EditorOnlyPlatform*>(&editor.fake());
    const double scanBefore = editorOnly ? editorOnly->paintScanSeconds : 0;
    const auto start = Clock::now();
    editor.fake().PressFindDialogButton(button, find, nv::FR_DOWN, with);
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (editorOnly) seconds -= editorOnly->paintScanSeconds - scanBefore;
    return seconds;
}

// Arguments: 1 for a bare search text (the points in the text are passed over), 0 for a
// pointed one; 1 for the editor's own time.
void BM_FindNothingInFullDocument(benchmark::State& state) {
    Editor editor(HebrewText(nv::TextLimit - 1, 9), state.range(1) != 0);
    editor.Send(nv::WM_COMMAND, IDM_EDIT_FIND);
    // Its first letter begins many words of the text; the whole word is in none.
    const std::u16string find = state.range(0) ? u"\u05D0\u05D0\u05D0" : u"\u05D0\u05B8\u05D0";
    for (auto _ : state) {
        state.SetIterationTime(TimedPress(editor, nv::FR_FINDNEXT, find, u""));
        if (Doc.SelectionActive != 0) state.SkipWithError("something was found");
        editor.fake().ClearMessageBoxes();
    }
}

void BM_ReplaceEverySpaceInFullDocument(benchmark::State& state) {
    Editor editor(HebrewText(nv::TextLimit - 1, 9), state.range(0) != 0);
    editor.Send(nv::WM_COMMAND, IDM_EDIT_REPLACE);
    for (auto _ : state) {
        state.SetIterationTime(TimedPress(editor, nv::FR_REPLACEALL, u" ", u"-"));
        if (Doc.TextBuffer[Doc.Caret - 1] != '-') state.SkipWithError("nothing was replaced");
        editor.fake().PressFindDialogButton(nv::FR_REPLACEALL, u"-", 0, u" ");
    }
}

}  // namespace

BENCHMARK(BM_FindNothingInFullDocument)
    ->ArgNames({"bare", "editorOnly"})
    ->Args({1, 0})
    ->Args({0, 0})
    ->Args({1, 1})
    ->Args({0, 1})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReplaceEverySpaceInFullDocument)
    ->ArgName("editorOnly")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
