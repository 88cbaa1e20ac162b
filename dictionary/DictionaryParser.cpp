#include "dictionary/DictionaryParser.h"

#include <algorithm>

namespace dictionary {
namespace {

constexpr char kTab = '\t';

// Length of the character at `pos`. Lead bytes of the ANSI code pages are
// all 0x80 or more, so plain ASCII needs no call to the lead-byte test.
std::size_t CharLengthAt(std::string_view line, std::size_t pos, text::LeadByteTest isLead) {
    const auto byte = static_cast<unsigned char>(line[pos]);
    return byte >= 0x80 && pos + 1 < line.size() && isLead(byte) ? 2 : 1;
}

}  // namespace

// One pass over the characters finds both ends of the trimmed line, the first
// TAB, and the second token: it starts at the first character after the
// first TAB that is not a TAB and runs to the next TAB.
std::optional<Record> ParseRecord(std::string_view line, text::LeadByteTest isLead) {
    constexpr std::size_t npos = std::string_view::npos;
    std::size_t begin = 0;
    while (begin < line.size() &&
           text::IsSingleByteSpace(static_cast<unsigned char>(line[begin]))) {
        ++begin;
    }
    std::size_t end = begin;  // just past the last character that is not white space
    std::size_t firstTab = npos;
    std::size_t secondBegin = npos;
    std::size_t secondEnd = npos;
    for (std::size_t pos = begin; pos < line.size();) {
        const std::size_t length = CharLengthAt(line, pos, isLead);
        const bool isTab = length == 1 && line[pos] == kTab;
        if (isTab && firstTab == npos) {
            firstTab = pos;
        } else if (isTab && secondBegin != npos && secondEnd == npos) {
            secondEnd = pos;
        } else if (!isTab && firstTab != npos && secondBegin == npos) {
            secondBegin = pos;
        }
        if (length == 2 || !text::IsSingleByteSpace(static_cast<unsigned char>(line[pos]))) {
            end = pos + length;
        }
        pos += length;
    }
    if (end == begin) {
        return std::nullopt;
    }
    Record record;
    if (firstTab == npos || firstTab >= end) {
        record.category = line.substr(begin, end - begin);
        return record;
    }
    // The trimmed line ends in a character that is not white space, so a
    // TAB inside it is followed by the second token.
    record.category = line.substr(begin, firstTab - begin);
    secondEnd = std::min(secondEnd, end);
    record.kaomoji = line.substr(secondBegin, secondEnd - secondBegin);
    return record;
}

std::string_view GroupKey(std::string_view category) {
    return category.substr(0, 2);
}

void DictionaryParser::AddLine(std::string_view line) {
    const std::optional<Record> record = ParseRecord(line, m_isLead);
    if (!record) {
        return;
    }
    const std::string_view key = GroupKey(record->category);
    if (key != m_groupKey) {
        m_groupKey = key;
        m_events.InsertGroup(m_groupKey);
    }
    if (record->category != m_category) {
        // The very first record has no previous run to store.
        if (!m_list.empty()) {
            m_events.StoreList(m_category, std::move(m_list));
            m_list = KaomojiList();
        }
        m_category = record->category;
        m_events.InsertCategory(m_category);
    }
    m_list.push_back(record->kaomoji);
}

void DictionaryParser::Finish() {
    m_events.StoreList(m_category, std::move(m_list));
    m_list = KaomojiList();
}

void ParseDictionary(text::ByteSource& source, text::LeadByteTest isLead,
                     DictionaryEvents& events) {
    text::LineReader reader(source);
    DictionaryParser parser(events, isLead);
    std::string line;
    while (reader.ReadLine(line)) {
        parser.AddLine(line);
    }
    parser.Finish();
}

}  // namespace dictionary
