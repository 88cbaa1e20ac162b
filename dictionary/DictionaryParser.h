// Reading dic.txt: lines in; group items, category items and lists out.
//
// Each line is trimmed of single-byte white space at both ends; a blank line
// is skipped. A record line is "category TAB+ kaomoji [TAB+ keywords [TAB
// anything]]"; a line without TAB is a category with an empty kaomoji. The
// keywords (space-separated words to find the kaomoji by) are never shown. Every run of lines with
// the same category is one category item; every run of categories whose
// names share their group key (GroupKey) is one group item. Kaomoji keep
// file order.
//
// A dictionary is in Shift-JIS or in UTF-8. In UTF-8 no byte of a character
// of two or more bytes is below 0x80, so TABs and white space are found as in
// ASCII; in Shift-JIS the byte after a lead byte is part of its character.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/KaomojiList.h"
#include "text/Encoding.h"
#include "text/Mbcs.h"
#include "text/TextMode.h"

namespace dictionary {

using ::KaomojiList;

// What the parser produces, in file order.
class DictionaryEvents {
public:
    virtual ~DictionaryEvents() = default;
    // A new top-level group item whose text is `key`.
    virtual void InsertGroup(std::string_view key) = 0;
    // A category item named `name` under the group inserted last.
    virtual void InsertCategory(std::string_view name) = 0;
    // The kaomoji of one run of `name`'s lines, in file order. Comes after
    // that run's InsertCategory, when the next run begins or at the end.
    virtual void StoreList(std::string_view name, KaomojiList list) = 0;
};

// One record line split into its fields. All views point into the line.
struct Record {
    std::string_view category;
    std::string_view kaomoji;
    std::string_view keywords;  // empty when the line has no third field
};

// The lead bytes of a code page, looked up in a table. UTF-8 has none: no
// byte of its characters needs the byte after it to be read.
class LeadBytes {
public:
    explicit LeadBytes(text::LeadByteTest isLead,
                       text::Encoding encoding = text::Encoding::ShiftJis);
    bool IsLead(char byte) const { return m_isLead[static_cast<unsigned char>(byte)]; }

private:
    bool m_isLead[256] = {};
};

// Trims `line` and splits it at TABs; nothing when the trimmed line is blank.
// Scanning is multibyte-aware: the byte after a lead byte belongs to its
// character (even a TAB or a space), and a lead byte at the very end stands
// alone.
std::optional<Record> ParseRecord(std::string_view line, const LeadBytes& leads);
std::optional<Record> ParseRecord(std::string_view line, text::LeadByteTest isLead);

// The text of the group item a category belongs to. In Shift-JIS: the first
// two bytes of its name, or the whole name when it is shorter. In UTF-8: the
// first two bytes when both are single-byte characters, otherwise the first
// character, never a part of one.
std::string_view GroupKey(std::string_view category,
                          text::Encoding encoding = text::Encoding::ShiftJis);

// Turns lines into events. Feed every line with AddLine, then call Finish
// once.
class DictionaryParser {
public:
    // `isLead` is the Shift-JIS lead-byte test, for a dictionary in Shift-JIS.
    DictionaryParser(DictionaryEvents& events, text::LeadByteTest isLead,
                     text::Encoding encoding = text::Encoding::ShiftJis)
        : m_events(events), m_encoding(encoding), m_leads(isLead, encoding) {}

    void AddLine(std::string_view line);
    // Stores the list of the last run (for a file without records: an empty
    // list under the empty name).
    void Finish();

private:
    DictionaryEvents& m_events;
    text::Encoding m_encoding;
    LeadBytes m_leads;
    std::string m_groupKey;
    std::string m_category;
    // Whether a byte after m_category starts a character (no lead byte at
    // its end is left without its second byte).
    bool m_categoryEndsCharacter = false;
    KaomojiList m_list;
};

// Reads every line of `source` with the text-mode rules and parses it.
// A read error thrown by `source` propagates; Finish is then not reached.
void ParseDictionary(text::ByteSource& source, text::LeadByteTest isLead, DictionaryEvents& events,
                     text::Encoding encoding = text::Encoding::ShiftJis);

}  // namespace dictionary
