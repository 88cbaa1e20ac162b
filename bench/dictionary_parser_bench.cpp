// How fast dic.txt is read: MB/s of the parser on a 100,000-line dictionary,
// whole (text-mode lines, then records and events) and in its two parts, in
// Shift-JIS and in UTF-8 (utf8:1), and of the encoding guess that comes first.
// The dictionary is written at start into a temporary folder by the shared
// generator when it is there, else by a small generator of our own; its
// UTF-8 form is converted from it here.
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "dictionary/Dictionary.h"
#include "text/Encoding.h"
#include "text/Mbcs.h"
#include "text/TextMode.h"

namespace {

constexpr int kLines = 100000;
constexpr int kCategories = 300;

std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The shared generator's output, or "" when it is not available.
std::string FromSharedGenerator() {
    const std::filesystem::path script =
        std::filesystem::path(PELO_SHARED_TESTDATA) / "make_big_dic.py";
    if (!std::filesystem::exists(script)) {
        return {};
    }
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("pelo-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path out = folder / "dic.txt";
    const std::string command =
        "python3 '" + script.string() + "' --lines " + std::to_string(kLines) + " --categories " +
        std::to_string(kCategories) + " --seed 1 --out '" + out.string() + "'";
    std::string bytes;
    if (std::system(command.c_str()) == 0) {
        bytes = ReadWholeFile(out);
    }
    std::filesystem::remove_all(folder);
    return bytes;
}

// Similar in shape: CP932 names and kaomoji, categories in runs, CR LF.
std::string FromBuiltInGenerator() {
    const char* stems[] = {"\x82\xa0\x82\xa2", "\x82\xa4\x82\xea", "\x83\x5c\x83\x8f",
                           "\x95\x5c\x8f\xee", "\x83\x6c\x83\x52"};
    const char* faces[] = {"(^_^)/", "(\x81\x45\x81\xcd\x81\x45)", "\x81\x5f(^o^)\x81\x5e",
                           "(\xdf\x83\x66\xdf)", "(*\x81\x4c\x83\xd6\x81\x4d*)"};
    std::mt19937 random(1);
    std::string bytes;
    for (int c = 0; c < kCategories; ++c) {
        const std::string name = std::string(stems[c % 5]) + std::to_string(c);
        for (int i = 0; i < kLines / kCategories; ++i) {
            bytes += name + "\t" + faces[random() % 5] + faces[random() % 5] + "\r\n";
        }
    }
    return bytes;
}

const std::string& ShiftJisDictionary() {
    static const std::string bytes = [] {
        std::string shared = FromSharedGenerator();
        return shared.empty() ? FromBuiltInGenerator() : shared;
    }();
    return bytes;
}

// The same text in UTF-8, by the C library's converter.
std::string ToUtf8(const std::string& cp932) {
    const iconv_t convert = ::iconv_open("UTF-8", "CP932");
    if (convert == reinterpret_cast<iconv_t>(-1)) {
        std::fprintf(stderr, "dictionary_parser_bench: no CP932 converter\n");
        std::exit(1);
    }
    std::string utf8(cp932.size() * 3, '\0');
    char* in = const_cast<char*>(cp932.data());
    std::size_t inLeft = cp932.size();
    char* out = utf8.data();
    std::size_t outLeft = utf8.size();
    if (::iconv(convert, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) {
        std::fprintf(stderr, "dictionary_parser_bench: the dictionary is not CP932\n");
        std::exit(1);
    }
    ::iconv_close(convert);
    utf8.resize(utf8.size() - outLeft);
    return utf8;
}

const std::string& Utf8Dictionary() {
    static const std::string bytes = ToUtf8(ShiftJisDictionary());
    return bytes;
}

const std::string& BigDictionary(const benchmark::State& state) {
    return state.range(0) ? Utf8Dictionary() : ShiftJisDictionary();
}

text::Encoding EncodingOf(const benchmark::State& state) {
    return state.range(0) ? text::Encoding::Utf8 : text::Encoding::ShiftJis;
}

// Parser events only: trimming, splitting, grouping.
class NoEvents final : public dictionary::DictionaryEvents {
public:
    void InsertGroup(std::string_view key) override { benchmark::DoNotOptimize(key.data()); }
    void InsertCategory(std::string_view name) override { benchmark::DoNotOptimize(name.data()); }
    void StoreList(std::string_view, dictionary::KaomojiList list) override {
        benchmark::DoNotOptimize(list.bytes());
    }
};

void BM_ParseEvents(benchmark::State& state) {
    const std::string& bytes = BigDictionary(state);
    for (auto _ : state) {
        text::MemorySource source(bytes);
        NoEvents events;
        dictionary::ParseDictionary(source, text::Cp932LeadByte, events, EncodingOf(state));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
    state.counters["lines"] = kLines;
}
BENCHMARK(BM_ParseEvents)->ArgName("utf8")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The text-mode line reader alone, lending views as the parser reads them.
void BM_ReadLines(benchmark::State& state) {
    const std::string& bytes = BigDictionary(state);
    for (auto _ : state) {
        text::MemorySource source(bytes);
        text::LineReader reader(source);
        std::string_view line;
        while (reader.ReadLine(line)) {
            benchmark::DoNotOptimize(line.data());
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ReadLines)->ArgName("utf8")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The parser alone, on lines already in memory.
void BM_ParseLines(benchmark::State& state) {
    const std::string& bytes = BigDictionary(state);
    const std::vector<std::string> lines = text::SplitTextModeLines(bytes);
    for (auto _ : state) {
        NoEvents events;
        dictionary::DictionaryParser parser(events, text::Cp932LeadByte, EncodingOf(state));
        for (const std::string& line : lines) {
            parser.AddLine(line);
        }
        parser.Finish();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ParseLines)->ArgName("utf8")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The encoding guess over the whole file, which comes before the parse.
void BM_DetectEncoding(benchmark::State& state) {
    const std::string& bytes = BigDictionary(state);
    for (auto _ : state) {
        benchmark::DoNotOptimize(text::DetectEncoding(bytes));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_DetectEncoding)->ArgName("utf8")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// What the dictionary page does before it fills the tree: the guess, then the
// whole Dictionary with its index.
void BM_ReadDictionary(benchmark::State& state) {
    const std::string& bytes = BigDictionary(state);
    for (auto _ : state) {
        dictionary::Dictionary dictionary =
            dictionary::ReadDictionaryBytes(bytes, text::Cp932LeadByte);
        benchmark::DoNotOptimize(dictionary.categories.Size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ReadDictionary)->ArgName("utf8")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
