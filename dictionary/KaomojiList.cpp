#include "dictionary/KaomojiList.h"

KaomojiList::KaomojiList(std::initializer_list<std::string_view> entries) {
    for (std::string_view entry : entries) {
        push_back(entry);
    }
}

void KaomojiList::append(const KaomojiList& other) {
    if (!m_keywordStarts.empty() || !other.m_keywordStarts.empty()) {
        for (std::size_t i = 0; i < other.size(); ++i) {
            push_back(other[i], other.keywords(i));
        }
        return;
    }
    const std::size_t offset = m_bytes.size();
    m_bytes += other.m_bytes;
    for (const std::size_t start : other.m_starts) {
        m_starts.push_back(offset + start);
    }
}

// Called after the entry's kaomoji went in: the entries before it that had
// none get their empty keywords first.
void KaomojiList::PushKeywords(std::string_view keywords) {
    m_keywordStarts.resize(m_starts.size() - 1, m_keywordBytes.size());
    m_keywordStarts.push_back(m_keywordBytes.size());
    m_keywordBytes.append(keywords);
}

std::string_view KaomojiList::keywords(std::size_t index) const {
    if (index >= m_keywordStarts.size()) {
        return {};
    }
    const std::size_t start = m_keywordStarts[index];
    const std::size_t end =
        index + 1 < m_keywordStarts.size() ? m_keywordStarts[index + 1] : m_keywordBytes.size();
    return std::string_view(m_keywordBytes).substr(start, end - start);
}

std::string_view KaomojiList::operator[](std::size_t index) const {
    const std::size_t start = m_starts[index];
    const std::size_t end = index + 1 < m_starts.size() ? m_starts[index + 1] : m_bytes.size();
    return std::string_view(m_bytes).substr(start, end - start - 1);
}
