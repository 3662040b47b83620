// The layout after one typed character at the start of a full document (32,767 bytes)
// against the layout of the whole text, both on the document's own records: the line
// breaking alone, and the editor's layout step around it (the font, the scroll range).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>

#include "bench/bench_editor.h"
#include "document/document_font.h"
#include "document/layout.h"

namespace {

using nv::Doc;
using nv::bench::Clock;
using nv::bench::Editor;
using nv::bench::HebrewText;

double Micro(Clock::time_point start) {
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

// Puts one character in at 0 or takes it out again, as typing and Backspace do.
void TypeOrErase(bool type) {
    std::uint8_t* text = Doc.TextBuffer;
    if (type) {
        std::memmove(text + 1, text, static_cast<std::size_t>(Doc.TextLength));
        text[0] = 0xE9;
        ++Doc.TextLength;
    } else {
        std::memmove(text, text + 1, static_cast<std::size_t>(Doc.TextLength - 1));
        --Doc.TextLength;
        text[Doc.TextLength] = 0;
    }
}

// Argument: words per line (0: one paragraph wrapped at the column). Breaking only.
void BM_BreakLinesAfterTypedCharacter(benchmark::State& state) {
    Editor editor(HebrewText(nv::TextLimit - 2, static_cast<int>(state.range(0))), true);
    nv::HDC dc = nv::GetDC(Doc.MainWindow);
    double incremental = 0;
    double whole = 0;
    long rounds = 0;
    {
        nv::MeasuredDocumentFont font(dc);
        const std::int32_t column = Doc.TextWidthInches * font.LogPixelsX();
        nv::BreakIntoLines(font.Advances(), column, nv::LineLimit);
        bool type = true;
        for (auto _ : state) {
            TypeOrErase(type);
            auto start = Clock::now();
            nv::BreakLinesAfterEdit(font.Advances(), column, nv::LineLimit, 0, type ? 0 : 1,
                                    type ? 1 : 0);
            const double us = Micro(start);
            state.SetIterationTime(us / 1e6);
            incremental += us;
            if (type) {
                // The whole layout of the same text, for the ratio; then the table it leaves.
                start = Clock::now();
                nv::BreakIntoLines(font.Advances(), column, nv::LineLimit);
                whole += Micro(start);
                ++rounds;
            }
            type = !type;
        }
    }
    nv::ReleaseDC(Doc.MainWindow, dc);
    state.counters["whole_us"] = whole / static_cast<double>(rounds);
    state.counters["ratio"] = (whole / static_cast<double>(rounds)) /
                              (incremental / static_cast<double>(state.iterations()));
    state.counters["lines"] = Doc.LineCount;
}
BENCHMARK(BM_BreakLinesAfterTypedCharacter)
    ->ArgName("wordsPerLine")
    ->Arg(9)
    ->Arg(0)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

// The editor's layout step: LayoutAfterEdit against LayoutDocument.
void BM_LayoutStepAfterTypedCharacter(benchmark::State& state) {
    Editor editor(HebrewText(nv::TextLimit - 2, static_cast<int>(state.range(0))), true);
    double whole = 0;
    double incremental = 0;
    long rounds = 0;
    for (auto _ : state) {
        TypeOrErase(true);
        auto start = Clock::now();
        nv::LayoutAfterEdit(0, 0, 1);
        const double us = Micro(start);
        state.SetIterationTime(us / 1e6);
        incremental += us;
        TypeOrErase(false);
        start = Clock::now();
        nv::LayoutDocument();
        whole += Micro(start);
        ++rounds;
    }
    state.counters["whole_us"] = whole / static_cast<double>(rounds);
    state.counters["ratio"] = whole / incremental;
}
BENCHMARK(BM_LayoutStepAfterTypedCharacter)
    ->ArgName("wordsPerLine")
    ->Arg(9)
    ->Arg(0)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace
