#include "dictionary/DictionaryParser.h"

#include <cstring>

namespace dictionary {
namespace {

constexpr char kTab = '\t';

// text::IsSingleByteSpace, inline: TAB, LF, VT, FF, CR and space.
bool IsSpace(char byte) {
    return byte == ' ' || (byte >= '\t' && byte <= '\r');
}

// Whether the byte at `pos` is the second byte of a double-byte character.
// A byte that is not a lead byte always ends a character, so the run of lead
// bytes just before `pos` starts a character: from there they pair up, and
// an odd count leaves the last one paired with the byte at `pos`. This lets
// the scans below look for TAB and white space with memchr and a glance back
// rather than step through every character.
bool IsTrailByte(std::string_view line, std::size_t pos, const LeadBytes& leads) {
    std::size_t leadsBefore = 0;
    while (leadsBefore < pos && leads.IsLead(line[pos - leadsBefore - 1])) {
        ++leadsBefore;
    }
    return leadsBefore % 2 == 1;
}

// Position of the first TAB byte in [from, to), or `to`.
std::size_t FindTabByte(std::string_view line, std::size_t from, std::size_t to) {
    const void* tab = std::memchr(line.data() + from, kTab, to - from);
    return tab == nullptr ? to
                          : static_cast<std::size_t>(static_cast<const char*>(tab) - line.data());
}

// Position of the first TAB in [from, to) that starts a character, or `to`.
std::size_t FindTab(std::string_view line, std::size_t from, std::size_t to,
                    const LeadBytes& leads) {
    for (;; ++from) {
        from = FindTabByte(line, from, to);
        if (from == to || !IsTrailByte(line, from, leads)) {
            return from;
        }
    }
}

// ParseRecord, here where AddLine can have it inline: false for a blank line.
// `known` is a category whose end is a character boundary (or empty): most
// lines repeat the category of the line before, and when the line starts
// with it and a TAB, that TAB is the first one and needs no search.
bool SplitRecord(std::string_view line, const LeadBytes& leads, Record& record,
                 std::string_view known = {}) {
    std::size_t begin = 0;
    while (begin < line.size() && IsSpace(line[begin])) {
        ++begin;
    }
    if (begin == line.size()) {
        return false;
    }
    // Just past the last character that is not white space: a white-space
    // byte at the end is trimmed unless it ends a double-byte character.
    std::size_t end = line.size();
    while (IsSpace(line[end - 1]) && !IsTrailByte(line, end - 1, leads)) {
        --end;
    }
    const std::size_t afterKnown = begin + known.size();
    const bool startsWithKnown = !known.empty() && afterKnown < end && line[afterKnown] == kTab &&
                                 line.substr(begin, known.size()) == known;
    const std::size_t firstTab = startsWithKnown ? afterKnown : FindTab(line, begin, end, leads);
    record.category = line.substr(begin, firstTab - begin);
    record.kaomoji = {};
    record.keywords = {};
    if (firstTab == end) {
        return true;
    }
    // The trimmed line ends in a character that is not white space, so a
    // TAB inside it is followed by the second token.
    std::size_t second = firstTab + 1;
    while (line[second] == kTab) {
        ++second;
    }
    const std::size_t kaomojiEnd = FindTab(line, second, end, leads);
    record.kaomoji = line.substr(second, kaomojiEnd - second);
    record.keywords = {};
    if (kaomojiEnd == end) {
        return true;
    }
    std::size_t third = kaomojiEnd + 1;
    while (line[third] == kTab) {
        ++third;
    }
    record.keywords = line.substr(third, FindTab(line, third, end, leads) - third);
    return true;
}

}  // namespace

LeadBytes::LeadBytes(text::LeadByteTest isLead, text::Encoding encoding) {
    if (encoding == text::Encoding::Utf8) {
        return;
    }
    // Lead bytes of the ANSI code pages are all 0x80 or more.
    for (unsigned byte = 0x80; byte < 0x100; ++byte) {
        m_isLead[byte] = isLead(static_cast<unsigned char>(byte));
    }
}

std::optional<Record> ParseRecord(std::string_view line, const LeadBytes& leads) {
    Record record;
    if (!SplitRecord(line, leads, record)) {
        return std::nullopt;
    }
    return record;
}

std::optional<Record> ParseRecord(std::string_view line, text::LeadByteTest isLead) {
    return ParseRecord(line, LeadBytes(isLead));
}

std::string_view GroupKey(std::string_view category, text::Encoding encoding) {
    const auto isAscii = [&](std::size_t pos) {
        return pos < category.size() && static_cast<unsigned char>(category[pos]) < 0x80;
    };
    if (encoding == text::Encoding::ShiftJis || (isAscii(0) && isAscii(1))) {
        return category.substr(0, 2);
    }
    return category.empty() ? category : category.substr(0, text::Utf8CharLength(category, 0));
}

void DictionaryParser::AddLine(std::string_view line) {
    Record record;
    const std::string_view known = m_categoryEndsCharacter ? m_category : std::string_view();
    if (!SplitRecord(line, m_leads, record, known)) {
        return;
    }
    // Most lines go on the run of the line before.
    if (record.category == m_category && !m_list.empty()) {
        m_list.push_back(record.kaomoji, record.keywords);
        return;
    }
    const std::string_view key = GroupKey(record.category, m_encoding);
    if (key != m_groupKey) {
        m_groupKey = key;
        m_events.InsertGroup(m_groupKey);
    }
    if (record.category != m_category) {
        // The very first record has no previous run to store.
        if (!m_list.empty()) {
            m_events.StoreList(m_category, std::move(m_list));
            m_list = KaomojiList();
        }
        m_category = record.category;
        m_categoryEndsCharacter = !IsTrailByte(m_category, m_category.size(), m_leads);
        m_events.InsertCategory(m_category);
    }
    m_list.push_back(record.kaomoji, record.keywords);
}

void DictionaryParser::Finish() {
    m_events.StoreList(m_category, std::move(m_list));
    m_list = KaomojiList();
}

void ParseDictionary(text::ByteSource& source, text::LeadByteTest isLead, DictionaryEvents& events,
                     text::Encoding encoding) {
    text::LineReader reader(source);
    DictionaryParser parser(events, isLead, encoding);
    std::string_view line;
    while (reader.ReadLine(line)) {
        parser.AddLine(line);
    }
    parser.Finish();
}

}  // namespace dictionary
