// Bidirectional order against Reversed order on a full document of Hebrew with numbers,
// Latin words and brackets: one keystroke at its start, and one full paint. Each iteration
// measures both orders, so that their ratio comes out as a counter.
#include <benchmark/benchmark.h>

#include <array>

#include "bench/bench_editor.h"
#include "commands/command_ids.h"
#include "view/line_order.h"

namespace {

using nv::Doc;
using nv::bench::Clock;
using nv::bench::Editor;

// Hebrew words with a year, a Latin name or a bracketed word now and then; a line break
// after every `wordsPerLine` words, or none (one paragraph wrapped at the column).
std::string MixedText(int length, int wordsPerLine) {
    static const char* const others[4] = {"1948", "Windows", "(\xF9\xEC\xE5\xED)", "3.14"};
    return nv::bench::HebrewText(length, wordsPerLine, &others);
}

// Each iteration chooses each order in turn and times what `timeOne(order)` measures in it;
// then the mean time per iteration in each order, and their ratio. Gives the seconds of each.
template <typename TimeOne>
std::array<double, 2> TimeBothOrders(benchmark::State& state, Editor& editor, TimeOne timeOne) {
    std::array<double, 2> seconds = {0, 0};
    for (auto _ : state) {
        double both = 0;
        for (int order = 0; order < 2; ++order) {
            editor.Send(nv::WM_COMMAND, order ? IDM_ORDER_BIDIRECTIONAL : IDM_ORDER_REVERSED);
            const double timed = timeOne(order);
            seconds[order] += timed;
            both += timed;
        }
        state.SetIterationTime(both);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["reversed_us"] = seconds[0] / n * 1e6;
    state.counters["bidi_us"] = seconds[1] / n * 1e6;
    state.counters["ratio"] = seconds[1] / seconds[0];
    return seconds;
}

double TimedPaint(Editor& editor, bool editorOnly) {
    auto& fake = editor.fake();
    const double scanBefore =
        editorOnly ? static_cast<nv::bench::EditorOnlyPlatform&>(fake).paintScanSeconds : 0;
    const auto start = Clock::now();
    fake.InvalidateRect(fake.window(), nullptr, 1);
    fake.UpdateWindow(fake.window());
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (editorOnly) {
        seconds -= static_cast<nv::bench::EditorOnlyPlatform&>(fake).paintScanSeconds - scanBefore;
    }
    return seconds;
}

// Arguments: words per line (0: one paragraph), and 1 for the editor's own time.
void BM_TypeAtStartInBothOrders(benchmark::State& state) {
    const bool editorOnly = state.range(1) != 0;
    Editor editor(MixedText(nv::TextLimit - 2, static_cast<int>(state.range(0))), editorOnly);
    long paints[2] = {0, 0};
    long itemized = 0;
    TimeBothOrders(state, editor, [&](int order) {
        // One keystroke first, so that the one timed finds the order as typing does, not
        // just after the order command; in Reversed order with no levels kept, as when
        // Bidirectional order was never chosen.
        if (order == 0) nv::ForgetParagraphLevels();
        editor.Send(nv::WM_CHAR, 0xE9);
        editor.Send(nv::WM_KEYDOWN, nv::VK_BACK);
        const long paintsBefore = editor.paints();
        const long itemizedBefore = editor.fake().itemizeCalls;
        const double typed = editor.Timed(nv::WM_CHAR, 0xE9);
        paints[order] += editor.paints() - paintsBefore;
        itemized += editor.fake().itemizeCalls - itemizedBefore;
        if (Doc.TextLength != nv::TextLimit) state.SkipWithError("the character was refused");
        editor.Send(nv::WM_KEYDOWN, nv::VK_BACK);
        return typed;
    });
    const double n = static_cast<double>(state.iterations());
    state.counters["paints_reversed"] = static_cast<double>(paints[0]) / n;
    state.counters["paints_bidi"] = static_cast<double>(paints[1]) / n;
    state.counters["itemized"] = static_cast<double>(itemized) / n;
}

// Arguments: 1 for the editor's own time, and 1 for a paint of lines whose levels are not
// known yet (as after Open), not a repaint of lines shown before.
void BM_FullPaintInBothOrders(benchmark::State& state) {
    const bool editorOnly = state.range(0) != 0;
    const bool unknown = state.range(1) != 0;
    Editor editor(MixedText(nv::TextLimit - 2, 9), editorOnly);
    TimeBothOrders(state, editor, [&](int) {
        if (unknown) nv::ForgetParagraphLevels();
        return TimedPaint(editor, editorOnly);
    });
}

// Page Down from the top through lines never ordered before, in each order, for the
// editor's own time. Argument: words per line (0: one paragraph).
void BM_PageDownToNewLinesInBothOrders(benchmark::State& state) {
    Editor editor(MixedText(nv::TextLimit - 2, static_cast<int>(state.range(0))), true);
    constexpr int Pages = 10;
    double service = 0;
    const std::array<double, 2> seconds = TimeBothOrders(state, editor, [&](int) {
        Doc.Caret = 0;
        Doc.ViewTop = 0;
        nv::ForgetParagraphLevels();
        const double serviceBefore = editor.bidiServiceSeconds();
        double paged = 0;
        for (int page = 0; page < Pages; ++page) paged += editor.Timed(nv::WM_KEYDOWN, nv::VK_NEXT);
        service += (editor.bidiServiceSeconds() - serviceBefore) / Pages;
        return paged / Pages;
    });
    // What the fake's bidirectional service (FriBidi) took of the Bidirectional time.
    state.counters["bidi_service_us"] = service / static_cast<double>(state.iterations()) * 1e6;
    state.counters["ratio_without_service"] = (seconds[1] - service) / seconds[0];
}

}  // namespace

BENCHMARK(BM_PageDownToNewLinesInBothOrders)
    ->ArgName("wordsPerLine")
    ->Arg(9)
    ->Arg(0)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TypeAtStartInBothOrders)
    ->ArgNames({"wordsPerLine", "editorOnly"})
    ->Args({9, 0})
    ->Args({0, 0})
    ->Args({9, 1})
    ->Args({0, 1})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullPaintInBothOrders)
    ->ArgNames({"editorOnly", "levelsUnknown"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({1, 1})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
