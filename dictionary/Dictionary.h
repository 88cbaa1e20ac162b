// A whole dic.txt read into memory: the outline of the category tree and the
// index of kaomoji. The page shows it only once it has been read completely,
// so a read error never leaves a half-read dictionary on screen.
#pragma once

#include <string>
#include <string_view>
#include <type_traits>
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
    // What the names and kaomoji are in, as the file was.
    text::Encoding encoding = text::Encoding::ShiftJis;
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

// A line source that can lend its lines as views, copying nothing.
template <typename LineSource>
concept LendsLineViews = requires(LineSource& source, std::string_view line) {
    source.ReadLine(line);
};

// Reads a dictionary from `lines`, anything with bool ReadLine(std::string&)
// (text::LineReader, win::TextFile), by views where it lends them. Read
// errors propagate.
template <typename LineSource>
Dictionary ReadDictionary(LineSource& lines, text::LeadByteTest isLead,
                          text::Encoding encoding = text::Encoding::ShiftJis) {
    DictionaryBuilder builder;
    DictionaryParser parser(builder, isLead, encoding);
    using Line = std::conditional_t<LendsLineViews<LineSource>, std::string_view, std::string>;
    Line line;
    while (lines.ReadLine(line)) {
        parser.AddLine(line);
    }
    parser.Finish();
    Dictionary dictionary = builder.Take();
    dictionary.encoding = encoding;
    return dictionary;
}

// Reads a dictionary from a whole file's bytes, in the encoding that
// text::DetectEncoding finds for them (a byte-order mark is not text).
Dictionary ReadDictionaryBytes(std::string_view bytes, text::LeadByteTest isLead);

}  // namespace dictionary
