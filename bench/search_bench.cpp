// How fast typing finds kaomoji: one query over a 100,000-line dictionary
// with the search index, beside a plain scan that folds and compares every
// entry as it goes (what a search without an index does), and the index's
// memory beside the size of the file it stands for.
//
// The dictionary comes from the shared generator when it is there (CP932),
// else from a small generator of our own; every line gets two readings as
// keywords, and everything is converted to UTF-8 (glibc's iconv), as the
// page converts the dictionary it loaded.
#include <benchmark/benchmark.h>
#include <iconv.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "text/Fold.h"
#include "text/Search.h"
#include "text/TextMode.h"

namespace {

constexpr int kLines = 100000;
constexpr int kCategories = 300;

std::string Convert(std::string_view bytes, const char* to, const char* from) {
    iconv_t conversion = ::iconv_open(to, from);
    if (conversion == reinterpret_cast<iconv_t>(-1)) {
        throw std::runtime_error("no iconv conversion");
    }
    std::string out(bytes.size() * 3 + 16, '\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* next = out.data();
    std::size_t outLeft = out.size();
    const std::size_t done = ::iconv(conversion, &in, &inLeft, &next, &outLeft);
    ::iconv_close(conversion);
    if (done == static_cast<std::size_t>(-1)) {
        throw std::runtime_error("not convertible");
    }
    out.resize(out.size() - outLeft);
    return out;
}

std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string FromSharedGenerator() {
    const std::filesystem::path script =
        std::filesystem::path(PELO_SHARED_TESTDATA) / "make_big_dic.py";
    if (!std::filesystem::exists(script)) {
        return {};
    }
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("pelo-search-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path out = folder / "dic.txt";
    const std::string command = "python3 '" + script.string() + "' --lines " +
                                std::to_string(kLines) + " --categories " +
                                std::to_string(kCategories) + " --seed 1 --out '" +
                                out.string() + "' >/dev/null";
    std::string bytes;
    if (std::system(command.c_str()) == 0) {
        bytes = ReadWholeFile(out);
    }
    std::filesystem::remove_all(folder);
    return bytes;
}

std::string FromBuiltInGenerator() {
    const char* stems[] = {"あいさつ", "うれしい", "ソワソワ", "表情", "ネコ"};
    const char* faces[] = {"(^_^)/", "(・ω・)", "＼(^o^)／", "(ﾟДﾟ)", "(*´ω｀*)"};
    std::mt19937 random(1);
    std::string utf8;
    for (int c = 0; c < kCategories; ++c) {
        const std::string name = std::string(stems[c % 5]) + std::to_string(c);
        for (int i = 0; i < kLines / kCategories; ++i) {
            utf8 += name + "\t" + faces[random() % 5] + faces[random() % 5] + "\r\n";
        }
    }
    return Convert(utf8, "CP932", "UTF-8");
}

struct Entry {
    std::string kaomoji;
    std::string keywords;
};
struct Category {
    std::string name;
    std::vector<Entry> entries;
};

struct Data {
    std::vector<Category> categories;  // UTF-8, in file order
    std::size_t fileBytes = 0;         // CP932, keywords included
};

// Readings spread over the entries as their keywords.
const char* const kReadings[] = {"にこにこ", "しょぼーん", "びっくり", "わーい", "ぽかーん",
                                 "てれ",     "なみだ",     "おじぎ",   "きらきら", "くま"};

const Data& BigDictionary() {
    static const Data data = [] {
        std::string cp932 = FromSharedGenerator();
        if (cp932.empty()) {
            cp932 = FromBuiltInGenerator();
        }
        Data result;
        std::mt19937 random(2);
        for (const std::string& line : text::SplitTextModeLines(cp932)) {
            const std::size_t tab = line.find('\t');
            const std::string keywords = std::string(kReadings[random() % 10]) + " " +
                                         kReadings[random() % 10];
            const std::string name = Convert(line.substr(0, tab), "UTF-8", "CP932");
            if (result.categories.empty() || result.categories.back().name != name) {
                result.categories.push_back({name, {}});
            }
            result.categories.back().entries.push_back(
                {Convert(line.substr(tab + 1), "UTF-8", "CP932"), keywords});
            result.fileBytes += line.size() + 1 + Convert(keywords, "CP932", "UTF-8").size() + 2;
        }
        return result;
    }();
    return data;
}

const text::SearchIndex& BigIndex() {
    static const text::SearchIndex index = [] {
        text::SearchIndex built;
        for (const Category& category : BigDictionary().categories) {
            built.AddCategory(category.name);
            for (const Entry& entry : category.entries) {
                built.AddEntry(entry.kaomoji, entry.keywords);
            }
        }
        built.FinishAdding();
        return built;
    }();
    return index;
}

// What a user might type: a common mouth, a keyword, two words, half-width
// text against full-width, a word nothing holds.
const char* const kQueries[] = {"ω", "しょぼーん", "(´ ω", "ｼｮﾎﾞｰﾝ", "orz", "ぬ"};

void SetQueryCounters(benchmark::State& state, std::size_t found) {
    state.SetLabel(kQueries[state.range(0)]);
    state.counters["found"] = static_cast<double>(found);
}

void BM_SearchIndex(benchmark::State& state) {
    const text::SearchIndex& index = BigIndex();
    std::size_t found = 0;
    for (auto _ : state) {
        const text::SearchQuery query(kQueries[state.range(0)]);
        found = index.Find(query).size();
        benchmark::DoNotOptimize(found);
    }
    SetQueryCounters(state, found);
    state.counters["index_MB"] = static_cast<double>(index.MemoryBytes()) / 1e6;
    state.counters["file_MB"] = static_cast<double>(BigDictionary().fileBytes) / 1e6;
}
BENCHMARK(BM_SearchIndex)->DenseRange(0, std::size(kQueries) - 1)->Unit(benchmark::kMillisecond);

// The baseline: every entry folded and compared while searching.
void BM_PlainScan(benchmark::State& state) {
    const Data& data = BigDictionary();
    std::size_t found = 0;
    for (auto _ : state) {
        const text::SearchQuery query(kQueries[state.range(0)]);
        found = 0;
        for (const Category& category : data.categories) {
            const std::string name = text::Folded(category.name);
            for (const Entry& entry : category.entries) {
                const std::string kaomoji = text::Folded(entry.kaomoji);
                const std::string keywords = text::Folded(entry.keywords);
                bool all = true;
                for (const std::string& word : query.Words()) {
                    all = all && (kaomoji.find(word) != std::string::npos ||
                                  keywords.find(word) != std::string::npos ||
                                  name.find(word) != std::string::npos);
                }
                found += all;
            }
        }
        benchmark::DoNotOptimize(found);
    }
    SetQueryCounters(state, found);
}
BENCHMARK(BM_PlainScan)->DenseRange(0, std::size(kQueries) - 1)->Unit(benchmark::kMillisecond);

// Building the index, which the page does once, when the field first opens.
void BM_BuildIndex(benchmark::State& state) {
    const Data& data = BigDictionary();
    for (auto _ : state) {
        text::SearchIndex index;
        for (const Category& category : data.categories) {
            index.AddCategory(category.name);
            for (const Entry& entry : category.entries) {
                index.AddEntry(entry.kaomoji, entry.keywords);
            }
        }
        index.FinishAdding();
        benchmark::DoNotOptimize(index.Size());
    }
}
BENCHMARK(BM_BuildIndex)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
