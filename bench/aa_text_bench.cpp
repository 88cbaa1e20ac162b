// How fast an AA piece's text turns into file bytes and back, and how fast a
// title is checked: a 1 MB piece of Shift-JIS art with short lines.
#include <benchmark/benchmark.h>

#include <string>

#include "aa/AAText.h"
#include "aa/AATitle.h"

namespace {

// Lines of ソ and － (trail bytes 0x5C and 0x7C) with full-width spaces.
std::string LargePieceText() {
    const std::string line = "\x81\x40\x81\x40\x83\x5C\x81\x7C(\x81\x4C\x81\x45\x83\xD6)\r\n";
    std::string text;
    while (text.size() < (1 << 20)) {
        text += line;
    }
    return text;
}

void BM_PieceFileBytes(benchmark::State& state) {
    const std::string text = LargePieceText();
    for (auto _ : state) {
        benchmark::DoNotOptimize(aa::PieceFileBytes(text));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_PieceFileBytes);

void BM_PieceTextFromFileBytes(benchmark::State& state) {
    const std::string bytes = aa::PieceFileBytes(LargePieceText());
    for (auto _ : state) {
        benchmark::DoNotOptimize(aa::PieceTextFromFileBytes(bytes));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_PieceTextFromFileBytes);

void BM_IsUsableTitle(benchmark::State& state) {
    const std::string title = "\x83\x5C\x95\x5C\x94\x5C\x8F\x5C\x81\x7C AA title";
    for (auto _ : state) {
        benchmark::DoNotOptimize(aa::IsUsableTitle(title, 80, &text::Cp932LeadByte));
    }
}
BENCHMARK(BM_IsUsableTitle);

}  // namespace

BENCHMARK_MAIN();
