// The dic.txt rules: trimming, splitting, grouping and the index, from bytes
// to the parser's events and to the dictionary the page shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "dictionary/Dictionary.h"
#include "dictionary/DictionaryParser.h"
#include "text/Mbcs.h"
#include "text/TextMode.h"

namespace {

using dictionary::Dictionary;
using dictionary::KaomojiList;
using Strings = std::vector<std::string>;

#define A_ "\x82\xa0"     // あ (CP932)
#define I_ "\x82\xa2"     // い
#define O_ "\x82\xa8"     // お
#define SO_ "\x83\x5c"    // ソ (trail byte '\')
#define DASH_ "\x81\x7c"  // － (trail byte '|')
#define IDSP_ "\x81\x40"  // ideographic space

// Every event as one line of text, in the order the parser gives them.
struct EventLog final : dictionary::DictionaryEvents {
    void InsertGroup(std::string_view key) override { events.push_back("group " + std::string(key)); }
    void InsertCategory(std::string_view name) override {
        events.push_back("category " + std::string(name));
    }
    void StoreList(std::string_view name, KaomojiList list) override {
        std::string text = "store " + std::string(name) + " [";
        for (std::size_t i = 0; i < list.size(); ++i) {
            text += (i ? "," : "") + std::string(list[i]);
        }
        events.push_back(text + "]");
    }
    Strings events;
};

Dictionary Read(std::string_view bytes) {
    text::MemorySource source(bytes);
    text::LineReader reader(source);
    return dictionary::ReadDictionary(reader, text::Cp932LeadByte);
}

TEST(DictionaryRecord, TrimsSingleByteSpaceAndSplitsAtTabsOnly) {
    using Fields = std::optional<std::pair<std::string, std::string>>;
    const std::pair<const char*, Fields> kCases[] = {
        {"  a \t b  ", {{"a ", " b"}}},
        {"\t\x0b\x0c a\tb\r\n\t ", {{"a", "b"}}},
        {IDSP_ "a\tb" IDSP_, {{IDSP_ "a", "b" IDSP_}}},  // a double-byte space stays
        {IDSP_, {{IDSP_, ""}}},
        {"", std::nullopt},
        {" \t\r\n\x0b\x0c", std::nullopt},
        {"a\t\t\tb c\t\td", {{"a", "b c"}}},  // TABs in a run split once; the third field is apart
        {"a b", {{"a b", ""}}},
        {SO_ "\t(" DASH_ "|" SO_ ")", {{SO_, "(" DASH_ "|" SO_ ")"}}},  // trail bytes '\' '|'
    };
    for (const auto& [line, fields] : kCases) {
        const auto record = dictionary::ParseRecord(line, text::Cp932LeadByte);
        Fields split;
        if (record) {
            split.emplace(record->category, record->kaomoji);
        }
        EXPECT_EQ(split, fields) << line;
    }
    // With 0xA0 as a lead byte, "\xA0\t" is one character: no TAB to split at.
    const auto leads = [](unsigned char byte) { return byte == 0xA0; };
    EXPECT_EQ(dictionary::ParseRecord("a\xA0\tb\tc", leads)->category, "a\xA0\tb");
    EXPECT_EQ(dictionary::ParseRecord("a\xA0\t", leads)->category, "a\xA0\t");  // nor to trim
    EXPECT_EQ(dictionary::ParseRecord("a\xA0\t", text::Cp932LeadByte)->category, "a\xA0");
}

TEST(DictionaryRecord, TheThirdFieldHoldsTheKeywords) {
    const std::pair<const char*, const char*> kCases[] = {
        {"a\tb", ""},
        {"a", ""},
        {"a\tb\t" A_ I_ " " O_, A_ I_ " " O_},  // a TAB-free third field, whole
        {"a\tb\t\t\tk1  k2\tfourth\tfifth", "k1  k2"},
        {"a\tb\tk \t ", "k"},                    // trimmed with the line
        {"a\t(\x83\t)\t" SO_ DASH_, SO_ DASH_},  // a TAB after a lead byte is no field end
    };
    for (const auto& [line, keywords] : kCases) {
        EXPECT_EQ(dictionary::ParseRecord(line, text::Cp932LeadByte)->keywords, keywords) << line;
    }
    EXPECT_EQ(dictionary::ParseRecord("a\t(\x83\t)\tk", text::Cp932LeadByte)->kaomoji, "(\x83\t)");
}

TEST(Dictionary, KeywordsStayWithTheirKaomojiAcrossRuns) {
    const Dictionary dictionary = Read("a\t1\na\t2\tx y\nb\t3\ta\na\t4\na\t5\tz\n");
    const KaomojiList& list = *dictionary.categories.Find("a");
    const Strings kaomoji(list.begin(), list.end());
    EXPECT_EQ(kaomoji, (Strings{"1", "2", "4", "5"}));
    Strings keywords;
    for (std::size_t i = 0; i < list.size(); ++i) {
        keywords.emplace_back(list.keywords(i));
    }
    EXPECT_EQ(keywords, (Strings{"", "x y", "", "z"}));
    const KaomojiList& b = *dictionary.categories.Find("b");
    EXPECT_EQ(b.keywords(0), "a");
    // Without keywords a list is what it always was.
    EXPECT_EQ(Read("c\t1\nc\t2\n").categories.Find("c")->keywords(1), "");
    EXPECT_EQ(*Read("c\t1\nc\t2\n").categories.Find("c"), (KaomojiList{"1", "2"}));
}

TEST(DictionaryParser, EventsInFileOrder) {
    const std::pair<std::string_view, Strings> kCases[] = {
        // The group key is the first two bytes.
        {"A\t1\nAB\t2\nABC\t3\n" A_ I_ "\t4\n" A_ O_ "\t5\nx" A_ "\t6\n" SO_ "\t7\n",
         {"group A", "category A", "group AB", "store A [1]", "category AB", "store AB [2]",
          "category ABC", "group " A_, "store ABC [3]", "category " A_ I_, "store " A_ I_ " [4]",
          "category " A_ O_, "group x\x82", "store " A_ O_ " [5]", "category x" A_, "group " SO_,
          "store x" A_ " [6]", "category " SO_, "store " SO_ " [7]"}},
        // Text-mode lines: CR CR LF keeps a CR that trimming removes, an inner CR stays,
        // Ctrl-Z ends the data; no line end after the last line.
        {"a\tb\r\r\nc\t1\r2\r\nd\te\x1a"
         "f\tg\r\n",
         {"group a", "category a", "group c", "store a [b]", "category c", "group d",
          "store c [1\r2]", "category d", "store d [e]"}},
        // A lead byte ending a name stands alone, yet pairs with a TAB after it on the
        // next line: that line names another category.
        {"a\x82\na\x82\tb\n",
         {"group a\x82", "category a\x82", "store a\x82 []", "category a\x82\tb",
          "store a\x82\tb []"}},
        // No record: an empty list under the empty name.
        {"", {"store  []"}},
    };
    for (const auto& [bytes, events] : kCases) {
        text::MemorySource source(bytes);
        EventLog log;
        dictionary::ParseDictionary(source, text::Cp932LeadByte, log);
        EXPECT_EQ(log.events, events) << bytes;
    }
    const Dictionary empty = Read("");
    EXPECT_TRUE(empty.groups.empty());
    EXPECT_EQ(empty.categories.Size(), 1u);
    ASSERT_NE(empty.categories.Find(""), nullptr);
    EXPECT_TRUE(empty.categories.Find("")->empty());
}

// (Runs not merged and one list per name across them: main_dialog_test's tree.)
TEST(Dictionary, ALineLongerThanAReadChunkIsKeptWhole) {
    const std::string big(1 << 20, 'k');
    EXPECT_EQ(*Read("a\t1\n" A_ I_ "\t" + big + "\r\n").categories.Find(A_ I_), (KaomojiList{big}));
}

// The starter dictionary shipped with Pelo: CR LF line ends, a kaomoji on every line.
TEST(Dictionary, StarterDictionaryIsWellFormed) {
    std::ifstream in(std::string(PELO_SOURCE_DIR) + "/sample/dic.txt", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'),
              std::count(bytes.begin(), bytes.end(), '\r'));
    const Strings lines = text::SplitTextModeLines(bytes);
    EXPECT_GE(lines.size(), 300u);
    for (const std::string& line : lines) {
        const auto record = dictionary::ParseRecord(line, text::Cp932LeadByte);
        EXPECT_TRUE(record && !record->kaomoji.empty()) << line;
    }
}

}  // namespace
