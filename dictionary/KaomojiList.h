// The kaomoji of one category, in file order, kept in one block of memory
// rather than one allocation each: a large dictionary loads without a
// hundred thousand small allocations. Every entry is followed by a zero byte,
// so entry(i).data() can be handed to the system as a C string.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

class KaomojiList {
public:
    class const_iterator {
    public:
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        const_iterator() = default;
        const_iterator(const KaomojiList* list, std::size_t index) : m_list(list), m_index(index) {}
        std::string_view operator*() const { return (*m_list)[m_index]; }
        const_iterator& operator++() {
            ++m_index;
            return *this;
        }
        const_iterator operator++(int) { return {m_list, m_index++}; }
        bool operator==(const const_iterator&) const = default;

    private:
        const KaomojiList* m_list = nullptr;
        std::size_t m_index = 0;
    };

    KaomojiList() = default;
    KaomojiList(std::initializer_list<std::string_view> entries);

    // Inline: the parser calls it for every line of the dictionary.
    void push_back(std::string_view kaomoji, std::string_view keywords = {}) {
        m_starts.push_back(m_bytes.size());
        m_bytes.append(kaomoji);
        m_bytes.push_back('\0');
        if (!keywords.empty() || !m_keywordStarts.empty()) {
            PushKeywords(keywords);
        }
    }
    // Appends every entry of `other`, in its order.
    void append(const KaomojiList& other);

    std::size_t size() const { return m_starts.size(); }
    bool empty() const { return m_starts.empty(); }
    // Entry `index`; its data() is followed by a zero byte.
    std::string_view operator[](std::size_t index) const;
    // The keywords of entry `index`, as the file holds them ("" for none).
    std::string_view keywords(std::size_t index) const;
    // Bytes of all entries with their zero bytes (what a list box stores).
    std::size_t bytes() const { return m_bytes.size(); }

    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    bool operator==(const KaomojiList& other) const = default;

private:
    void PushKeywords(std::string_view keywords);

    std::string m_bytes;
    std::vector<std::size_t> m_starts;
    // Only once an entry has keywords: a dictionary without them costs
    // nothing more. Then one start for every entry, as for the kaomoji.
    std::string m_keywordBytes;
    std::vector<std::size_t> m_keywordStarts;
};
