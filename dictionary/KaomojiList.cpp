#include "dictionary/KaomojiList.h"

KaomojiList::KaomojiList(std::initializer_list<std::string_view> entries) {
    for (std::string_view entry : entries) {
        push_back(entry);
    }
}

void KaomojiList::append(const KaomojiList& other) {
    const std::size_t offset = m_bytes.size();
    m_bytes += other.m_bytes;
    for (const std::size_t start : other.m_starts) {
        m_starts.push_back(offset + start);
    }
}

std::string_view KaomojiList::operator[](std::size_t index) const {
    const std::size_t start = m_starts[index];
    const std::size_t end = index + 1 < m_starts.size() ? m_starts[index + 1] : m_bytes.size();
    return std::string_view(m_bytes).substr(start, end - start - 1);
}
