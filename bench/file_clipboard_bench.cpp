// Open of the largest UTF-16 file Nivrano takes (65,538 bytes: the mark and 32,768 units),
// Open of the largest UTF-8 file (the same text, with LF line ends read as CR LF), and a
// paste of 32,000 units into the empty document, through the window procedure on the fake
// platform, in both worlds of bench/bench_editor.h. The file is read from a real file.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_editor.h"
#include "commands/command_ids.h"

namespace {

using nv::Doc;
using nv::bench::Editor;

// Hebrew words of three to six letters with a line break now and then, as UTF-16 units.
std::string HebrewUnits(int count) {
    std::string units;
    for (int k = 0; k < count; ++k) {
        int unit = k % 50 == 49 ? 10 : k % 50 == 48 ? 13 : k % 5 == 4 ? ' ' : 0x05D0 + k * 7 % 27;
        units += static_cast<char>(unit & 0xFF);
        units += static_cast<char>(unit >> 8);
    }
    return units;
}

void BM_OpenLargestFile(benchmark::State& state) {
    Editor editor("", state.range(0) != 0);
    const std::string path = editor.fake().PathOf("largest.txt");
    nv::fake::WriteWholeFile(path, "\xFF\xFE" + HebrewUnits(32767) + std::string(2, '\0'));
    for (auto _ : state) {
        editor.fake().AnswerNextFileDialog(path);
        state.SetIterationTime(editor.Timed(nv::WM_COMMAND, IDM_FILE_OPEN));
        if (Doc.TextLength != nv::TextLimit) state.SkipWithError("the file was refused");
    }
}

void BM_OpenLargestUtf8File(benchmark::State& state) {
    Editor editor("", state.range(0) != 0);
    const std::string path = editor.fake().PathOf("largest-utf8.txt");
    const std::string units = HebrewUnits(32767);
    std::u16string text;
    for (std::size_t k = 0; k < units.size(); k += 2) {
        const auto unit = static_cast<char16_t>(static_cast<unsigned char>(units[k]) |
                                                static_cast<unsigned char>(units[k + 1]) << 8);
        if (unit != 13) text += unit;
    }
    nv::fake::WriteWholeFile(path, nv::fake::Utf8(text));
    for (auto _ : state) {
        editor.fake().AnswerNextFileDialog(path);
        state.SetIterationTime(editor.Timed(nv::WM_COMMAND, IDM_FILE_OPEN));
        if (Doc.TextLength != nv::TextLimit) state.SkipWithError("the file was refused");
    }
    // Of that time, the simulated UTF-8 converter's (the system's work on Windows).
    state.counters["converter_us"] =
        benchmark::Counter(editor.converterSeconds() * 1e6, benchmark::Counter::kAvgIterations);
}

void BM_PasteIntoEmptyDocument(benchmark::State& state) {
    Editor editor("", state.range(0) != 0);
    const std::string units = HebrewUnits(32000) + std::string(2, '\0');
    for (auto _ : state) {
        editor.fake().PutOnClipboard(nv::CF_UNICODETEXT, units);
        state.SetIterationTime(editor.Timed(nv::WM_COMMAND, IDM_EDIT_PASTE));
        if (Doc.TextLength != 32001) state.SkipWithError("the paste was refused");
        editor.fake().AnswerNextMessageBox(nv::IDNO);
        editor.Send(nv::WM_COMMAND, IDM_FILE_NEW);
    }
}

}  // namespace

BENCHMARK(BM_OpenLargestFile)
    ->ArgName("editorOnly")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenLargestUtf8File)
    ->ArgName("editorOnly")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PasteIntoEmptyDocument)
    ->ArgName("editorOnly")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
