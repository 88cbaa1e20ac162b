#include "text/Search.h"

#include <algorithm>
#include <cstring>

#include "text/Fold.h"

namespace text {
namespace {

constexpr char kKeywordSeparator = '\t';

bool IsWordSeparator(char byte) {
    return byte == ' ' || byte == '\t';
}

}  // namespace

SearchQuery::SearchQuery(std::string_view utf8) {
    // Folding turns the ideographic space into a space first.
    const std::string folded = text::SearchKey(utf8);
    std::size_t pos = 0;
    while (pos < folded.size()) {
        while (pos < folded.size() && IsWordSeparator(folded[pos])) {
            ++pos;
        }
        const std::size_t begin = pos;
        while (pos < folded.size() && !IsWordSeparator(folded[pos])) {
            ++pos;
        }
        if (pos > begin) {
            m_words.emplace_back(folded, begin, pos - begin);
        }
    }
}

void SearchIndex::AddCategory(std::string_view name) {
    m_categoryNameStarts.push_back(static_cast<std::uint32_t>(m_categoryNames.size()));
    text::AppendSearchKey(name, m_categoryNames);
    m_categoryFirstEntry.push_back(static_cast<std::uint32_t>(m_entryStarts.size()));
}

void SearchIndex::AddEntry(std::string_view kaomoji, std::string_view keywords) {
    const std::size_t start = m_text.size();
    const auto entry = static_cast<Entry>(m_entryStarts.size());
    const auto [first, isNew] = m_firstOfText.try_emplace(std::string(kaomoji), entry);
    if (!isNew) {
        m_repeats.emplace_back(entry, first->second);
    }
    m_entryStarts.push_back(static_cast<std::uint32_t>(start));
    text::AppendSearchKey(kaomoji, m_text);
    if (!keywords.empty()) {
        m_text.push_back(kKeywordSeparator);
        text::AppendSearchKey(keywords, m_text);
    }
    for (std::size_t i = start; i < m_text.size(); ++i) {
        ++m_byteCounts[static_cast<unsigned char>(m_text[i])];
    }
}

void SearchIndex::FinishAdding() {
    m_firstOfText = {};
    m_repeats.shrink_to_fit();
    m_text.shrink_to_fit();
    m_entryStarts.shrink_to_fit();
    m_categoryNames.shrink_to_fit();
    m_categoryNameStarts.shrink_to_fit();
    m_categoryFirstEntry.shrink_to_fit();
}

std::string_view SearchIndex::EntryText(std::size_t entry) const {
    const std::size_t end = entry + 1 < m_entryStarts.size() ? m_entryStarts[entry + 1] : m_text.size();
    return std::string_view(m_text).substr(m_entryStarts[entry], end - m_entryStarts[entry]);
}

std::string_view SearchIndex::CategoryName(std::size_t category) const {
    const std::size_t end = category + 1 < m_categoryNameStarts.size()
                                ? m_categoryNameStarts[category + 1]
                                : m_categoryNames.size();
    return std::string_view(m_categoryNames)
        .substr(m_categoryNameStarts[category], end - m_categoryNameStarts[category]);
}

// One past the last entry of `category`.
std::size_t SearchIndex::CategoryEnd(std::size_t category) const {
    return category + 1 < m_categoryFirstEntry.size() ? m_categoryFirstEntry[category + 1]
                                                      : m_entryStarts.size();
}

SearchIndex::Location SearchIndex::Locate(Entry entry) const {
    const auto after =
        std::upper_bound(m_categoryFirstEntry.begin(), m_categoryFirstEntry.end(), entry);
    const std::size_t category = static_cast<std::size_t>(after - m_categoryFirstEntry.begin()) - 1;
    return {category, entry - m_categoryFirstEntry[category]};
}

std::size_t SearchIndex::RarestByteAt(std::string_view word) const {
    std::size_t rarest = 0;
    for (std::size_t i = 1; i < word.size(); ++i) {
        if (m_byteCounts[static_cast<unsigned char>(word[i])] <
            m_byteCounts[static_cast<unsigned char>(word[rarest])]) {
            rarest = i;
        }
    }
    return rarest;
}

// Adds to `found` every entry of `category` whose text contains `word` and
// that `accept` takes. The scan looks for the word's rarest byte with memchr
// and compares the word around each one; a match that runs past the end of
// its entry is none, as entries stand without separators.
template <typename Accept>
void SearchIndex::ScanCategory(std::size_t category, std::string_view word,
                               std::vector<Entry>& found, Accept accept) const {
    std::size_t entry = m_categoryFirstEntry[category];
    const std::size_t entryEnd = CategoryEnd(category);
    if (entry == entryEnd) {
        return;
    }
    const std::size_t rangeBegin = m_entryStarts[entry];
    const std::size_t rangeEnd = entryEnd < m_entryStarts.size() ? m_entryStarts[entryEnd] : m_text.size();
    const std::size_t anchor = RarestByteAt(word);
    const char anchorByte = word[anchor];
    const char* const text = m_text.data();
    std::size_t from = rangeBegin;  // where a match may start
    while (from + word.size() <= rangeEnd) {
        const void* hit = std::memchr(text + from + anchor, anchorByte,
                                      rangeEnd - word.size() + 1 - from);
        if (hit == nullptr) {
            return;
        }
        const std::size_t start = static_cast<std::size_t>(static_cast<const char*>(hit) - text) - anchor;
        if (std::memcmp(text + start, word.data(), word.size()) != 0) {
            from = start + 1;
            continue;
        }
        // The entry holding `start`: the last one that begins at or before it.
        entry = static_cast<std::size_t>(
                    std::upper_bound(m_entryStarts.begin() + static_cast<std::ptrdiff_t>(entry),
                                     m_entryStarts.begin() + static_cast<std::ptrdiff_t>(entryEnd),
                                     start) -
                    m_entryStarts.begin()) -
                1;
        const std::size_t end = entry + 1 < m_entryStarts.size() ? m_entryStarts[entry + 1] : m_text.size();
        if (start + word.size() > end) {
            from = start + 1;
            continue;
        }
        if (accept(entry)) {
            found.push_back(static_cast<Entry>(entry));
        }
        // Each entry once: the next match is looked for in the next entry.
        from = end;
        ++entry;
        if (entry == entryEnd) {
            return;
        }
    }
}

std::vector<SearchIndex::Entry> SearchIndex::Find(const SearchQuery& query) const {
    std::vector<Entry> found;
    if (query.empty()) {
        found.resize(Size());
        for (std::size_t entry = 0; entry < found.size(); ++entry) {
            found[entry] = static_cast<Entry>(entry);
        }
        DropRepeats(found);
        return found;
    }
    // The longest word is looked for first: it leaves the fewest entries for
    // the other words.
    std::vector<std::string_view> words(query.Words().begin(), query.Words().end());
    std::stable_sort(words.begin(), words.end(),
                     [](std::string_view a, std::string_view b) { return a.size() > b.size(); });
    // Which categories' names hold which words: those words then hold for
    // every entry of the category.
    std::vector<std::vector<char>> inName(words.size(), std::vector<char>(CategoryCount()));
    for (std::size_t w = 0; w < words.size(); ++w) {
        for (std::size_t c = 0; c < CategoryCount(); ++c) {
            inName[w][c] = CategoryName(c).find(words[w]) != std::string_view::npos;
        }
    }
    for (std::size_t c = 0; c < CategoryCount(); ++c) {
        const auto otherWordsMatch = [&](std::size_t entry) {
            for (std::size_t w = 1; w < words.size(); ++w) {
                if (!inName[w][c] && EntryText(entry).find(words[w]) == std::string_view::npos) {
                    return false;
                }
            }
            return true;
        };
        if (inName[0][c]) {
            for (std::size_t entry = m_categoryFirstEntry[c]; entry < CategoryEnd(c); ++entry) {
                if (otherWordsMatch(entry)) {
                    found.push_back(static_cast<Entry>(entry));
                }
            }
        } else {
            ScanCategory(c, words[0], found, otherWordsMatch);
        }
    }
    DropRepeats(found);
    return found;
}

void SearchIndex::DropRepeats(std::vector<Entry>& found) const {
    if (m_repeats.empty()) {
        return;
    }
    std::vector<bool> shown(Size());
    auto repeat = m_repeats.begin();
    std::erase_if(found, [&](Entry entry) {
        // `found` ascends, and so does m_repeats.
        while (repeat != m_repeats.end() && repeat->first < entry) {
            ++repeat;
        }
        const Entry first = repeat != m_repeats.end() && repeat->first == entry ? repeat->second : entry;
        if (shown[first]) {
            return true;
        }
        shown[first] = true;
        return false;
    });
}

std::size_t SearchIndex::MemoryBytes() const {
    constexpr std::size_t kOffset = sizeof(std::uint32_t);
    return m_text.capacity() + m_categoryNames.capacity() +
           sizeof(std::pair<Entry, Entry>) * m_repeats.capacity() +
           kOffset * (m_entryStarts.capacity() + m_categoryNameStarts.capacity() +
                      m_categoryFirstEntry.capacity());
}

}  // namespace text
