// A whole dic.txt read into memory: the outline of the category tree and the
// index of kaomoji. The page shows it only once it has been read completely,
// so a read error never leaves a half-read dictionary on screen.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "dictionary/CategoryMap.h"
#include "dictionary/DictionaryParser.h"

namespace dictionary {

struct Dictionary {
    struct Group {
        std::string key;
        // One entry per category item, in file order. Separate runs of the
        // same category give several items with the same index.
        std::vector<CategoryMap::Index> categories;
    };

    std::vector<Group> groups;
    CategoryMap categories;
};

// Collects the parser's events into a Dictionary.
class DictionaryBuilder final : public DictionaryEvents {
public:
    void InsertGroup(std::string_view key) override;
    void InsertCategory(std::string_view name) override;
    void StoreList(std::string_view name, KaomojiList list) override;

    Dictionary Take() { return std::move(m_dictionary); }

private:
    Dictionary m_dictionary;
};

// Reads a dictionary from `lines`, anything with bool ReadLine(std::string&)
// (text::LineReader, win::TextFile). Read errors propagate.
template <typename LineSource>
Dictionary ReadDictionary(LineSource& lines, text::LeadByteTest isLead) {
    DictionaryBuilder builder;
    DictionaryParser parser(builder, isLead);
    std::string line;
    while (lines.ReadLine(line)) {
        parser.AddLine(line);
    }
    parser.Finish();
    return builder.Take();
}

}  // namespace dictionary
