// Fuzzes the search: whatever the dictionary and the query hold (any bytes,
// valid UTF-8 or not), the index finds exactly what a plain scan of every
// entry finds, and folding gives valid UTF-8 that folds to itself.
//
// Input: the first line is the query, every further line an entry
// "category TAB kaomoji TAB keywords"; a new category starts where the
// category field changes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "text/Fold.h"
#include "text/Search.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos) {
            return parts;
        }
        start = end + 1;
    }
}

bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if ((lead >= 0x80 && lead < 0xC2) || lead > 0xF4 || i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

struct Entry {
    std::string_view category;
    std::string_view kaomoji;
    std::string_view keywords;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string_view> lines = Split(input, '\n');
    const std::string_view queryText = lines[0];

    const std::string folded = text::Folded(input);
    Check(IsValidUtf8(folded));
    Check(text::Folded(folded) == folded);

    std::vector<Entry> entries;
    text::SearchIndex index;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string_view> fields = Split(lines[i], '\t');
        const Entry entry{fields[0], fields.size() > 1 ? fields[1] : "",
                          fields.size() > 2 ? fields[2] : ""};
        if (entries.empty() || entries.back().category != entry.category) {
            index.AddCategory(entry.category);
        }
        index.AddEntry(entry.kaomoji, entry.keywords);
        entries.push_back(entry);
    }
    index.FinishAdding();

    const text::SearchQuery query(queryText);
    std::vector<text::SearchIndex::Entry> expected;
    std::unordered_set<std::string_view> shown;
    for (std::size_t e = 0; e < entries.size(); ++e) {
        const std::string fields[] = {text::SearchKey(entries[e].kaomoji),
                                      text::SearchKey(entries[e].keywords),
                                      text::SearchKey(entries[e].category)};
        bool all = true;
        for (const std::string& word : query.Words()) {
            all = all && (fields[0].find(word) != std::string::npos ||
                          fields[1].find(word) != std::string::npos ||
                          fields[2].find(word) != std::string::npos);
        }
        if (all && shown.insert(entries[e].kaomoji).second) {
            expected.push_back(static_cast<text::SearchIndex::Entry>(e));
        }
    }
    Check(index.Find(query) == expected);
    return 0;
}
