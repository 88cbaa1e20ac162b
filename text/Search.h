// Finding kaomoji by typing: an index of kaomoji grouped in categories,
// folded for search (text/Fold.h), and the query it answers. The dictionary
// page indexes the whole dictionary, the favourites page its list (one
// category without a name). All texts are UTF-8; the pages convert what their
// files hold.
//
// An entry matches a query when every word of the query is contained in its
// kaomoji, its keywords or the name of its category. Entries are numbered in
// the order they are added, which is dictionary order (categories as the tree
// orders them, each category's kaomoji in file order); results come in that
// order. A kaomoji listed under several categories is found once, where it
// first matches: a user looks for the kaomoji, not for its places.
//
// The index stores each entry's kaomoji and keywords as search keys in one block,
// with one 32-bit start per entry, and each category's folded name once:
// about the size of the kaomoji and keywords themselves, less than the file,
// which repeats the category name on every line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace text {

// The words of what the user typed, as search keys (text/Fold.h). Words are separated by spaces
// (ASCII or ideographic) and TABs.
class SearchQuery {
public:
    explicit SearchQuery(std::string_view utf8);
    // True when the text holds no word at all (empty, or only spaces).
    bool empty() const { return m_words.empty(); }
    const std::vector<std::string>& Words() const { return m_words; }

private:
    std::vector<std::string> m_words;
};

class SearchIndex {
public:
    using Entry = std::uint32_t;
    // Where an entry stands: the category (numbered in the order added) and
    // its place among that category's kaomoji.
    struct Location {
        std::size_t category;
        std::size_t position;
    };

    // Starts a category; the entries added next belong to it.
    void AddCategory(std::string_view name);
    // Adds a kaomoji of the category added last, with its keywords
    // (space-separated; may be empty).
    void AddEntry(std::string_view kaomoji, std::string_view keywords);
    // Ends the additions: gives back the memory kept for them.
    void FinishAdding();

    std::size_t Size() const { return m_entryStarts.size(); }
    std::size_t CategoryCount() const { return m_categoryFirstEntry.size(); }
    Location Locate(Entry entry) const;

    // Every entry that matches `query`, ascending; an empty query matches
    // every entry (each kaomoji once, as always).
    std::vector<Entry> Find(const SearchQuery& query) const;

    // Bytes the index holds on the heap.
    std::size_t MemoryBytes() const;

private:
    std::string_view EntryText(std::size_t entry) const;
    void DropRepeats(std::vector<Entry>& found) const;
    std::string_view CategoryName(std::size_t category) const;
    std::size_t CategoryEnd(std::size_t category) const;
    std::size_t RarestByteAt(std::string_view word) const;
    template <typename Accept>
    void ScanCategory(std::size_t category, std::string_view word, std::vector<Entry>& found,
                      Accept accept) const;

    // Folded kaomoji, then TAB and folded keywords when there are any; one
    // entry after the other, without separators.
    std::string m_text;
    std::vector<std::uint32_t> m_entryStarts;
    std::string m_categoryNames;
    std::vector<std::uint32_t> m_categoryNameStarts;
    std::vector<std::uint32_t> m_categoryFirstEntry;
    // How often each byte occurs in m_text: a scan looks for a word's
    // rarest byte, which stops it least often.
    std::uint32_t m_byteCounts[256] = {};
    // Each entry whose kaomoji an earlier entry has already, with that
    // earlier entry; ascending.
    std::vector<std::pair<Entry, Entry>> m_repeats;
    // While adding: the first entry of each kaomoji text.
    std::unordered_map<std::string, Entry> m_firstOfText;
};

}  // namespace text
