#include "dictionary/DictionaryParser.h"

namespace dictionary {
namespace {

constexpr char kTab = '\t';

// Takes the next TAB-delimited token starting at `pos`: skips a run of TABs,
// then runs to the next TAB or the end. `pos` moves past the ending TAB, or
// to npos once the end has been reached.
std::string_view NextToken(std::string_view line, std::size_t& pos, text::LeadByteTest isLead) {
    while (pos < line.size() && line[pos] == kTab) {
        ++pos;
    }
    if (pos >= line.size()) {
        pos = std::string_view::npos;
        return {};
    }
    const std::size_t begin = pos;
    const std::size_t tab = text::FindSingleByteChar(line, kTab, begin, isLead);
    if (tab == std::string_view::npos) {
        pos = line.size() + 1;
        return line.substr(begin);
    }
    pos = tab + 1;
    return line.substr(begin, tab - begin);
}

}  // namespace

std::optional<Record> ParseRecord(std::string_view line, text::LeadByteTest isLead) {
    const std::string_view trimmed = text::TrimSingleByteSpace(line, isLead);
    if (trimmed.empty()) {
        return std::nullopt;
    }
    std::size_t pos = 0;
    Record record;
    record.category = NextToken(trimmed, pos, isLead);
    if (pos < trimmed.size()) {
        record.kaomoji = NextToken(trimmed, pos, isLead);
    }
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
    m_list.emplace_back(record->kaomoji);
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
