// The dic.txt rules: trimming, splitting, grouping and the index, from bytes
// to the parser's events and to the dictionary the page shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "dictionary/Dictionary.h"
#include "dictionary/DictionaryParser.h"
#include "text/Mbcs.h"
#include "text/TextMode.h"

namespace {

using dictionary::Dictionary;
using dictionary::DictionaryParser;
using dictionary::KaomojiList;
using dictionary::ParseRecord;

// CP932 bytes of the characters the cases use.
#define A_ "\x82\xa0"     // あ
#define I_ "\x82\xa2"     // い
#define U_ "\x82\xa4"     // う
#define O_ "\x82\xa8"     // お
#define KA_ "\x82\xa9"    // か
#define KI_ "\x82\xab"    // き
#define SO_ "\x83\x5c"    // ソ (trail byte '\')
#define DASH_ "\x81\x7c"  // － (trail byte '|')
#define HYO_ "\x95\x5c"   // 表 (trail byte '\')
#define IDSP_ "\x81\x40"  // ideographic space

// Every event as one line of text, in the order the parser gives them.
class EventLog final : public dictionary::DictionaryEvents {
public:
    void InsertGroup(std::string_view key) override {
        events.push_back("group " + std::string(key));
    }
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
    std::vector<std::string> events;
};

std::vector<std::string> Events(std::string_view bytes) {
    text::MemorySource source(bytes);
    EventLog log;
    dictionary::ParseDictionary(source, text::Cp932LeadByte, log);
    return log.events;
}

Dictionary Read(std::string_view bytes) {
    text::MemorySource source(bytes);
    text::LineReader reader(source);
    return dictionary::ReadDictionary(reader, text::Cp932LeadByte);
}

std::pair<std::string, std::string> Split(std::string_view line) {
    auto record = ParseRecord(line, text::Cp932LeadByte);
    EXPECT_TRUE(record.has_value()) << line;
    if (!record) {
        return {};
    }
    return {std::string(record->category), std::string(record->kaomoji)};
}

using Fields = std::pair<std::string, std::string>;

TEST(DictionaryRecord, TrimsSingleByteSpaceOnlyAtBothEnds) {
    EXPECT_EQ(Split("  a \t b  "), (Fields{"a ", " b"}));
    EXPECT_EQ(Split("\t\x0b\x0c a\tb\r\n\t "), (Fields{"a", "b"}));
    // The ideographic space is a double-byte character and stays.
    EXPECT_EQ(Split(IDSP_ "a\tb" IDSP_), (Fields{IDSP_ "a", "b" IDSP_}));
    EXPECT_EQ(Split(IDSP_), (Fields{IDSP_, ""}));
    EXPECT_FALSE(ParseRecord("", text::Cp932LeadByte));
    EXPECT_FALSE(ParseRecord(" \t\r\n\x0b\x0c", text::Cp932LeadByte));
}

TEST(DictionaryRecord, SplitsAtTabsOnly) {
    EXPECT_EQ(Split("a\tb"), (Fields{"a", "b"}));
    EXPECT_EQ(Split("a\t\t\tb"), (Fields{"a", "b"}));
    EXPECT_EQ(Split("a\tb\tc"), (Fields{"a", "b"}));
    EXPECT_EQ(Split("a\t\tb c\t\td"), (Fields{"a", "b c"}));
    EXPECT_EQ(Split("x"), (Fields{"x", ""}));
    EXPECT_EQ(Split("a b"), (Fields{"a b", ""}));
    // Trail bytes equal to '\' and '|' are part of their characters.
    EXPECT_EQ(Split(SO_ HYO_ "\t(" DASH_ "|" SO_ ")"), (Fields{SO_ HYO_, "(" DASH_ "|" SO_ ")"}));
}

TEST(DictionaryRecord, ScansWithTheInjectedLeadByteTest) {
    // With 0xA0 as a lead byte, "\xA0\t" is one character: no TAB to split
    // at, and no white space to trim after the name.
    auto leads = [](unsigned char byte) { return byte == 0xA0; };
    auto record = ParseRecord("a\xA0\tb\tc", leads);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->category, "a\xA0\tb");
    EXPECT_EQ(record->kaomoji, "c");
    EXPECT_EQ(ParseRecord("a\xA0\t", leads)->category, "a\xA0\t");
    EXPECT_EQ(ParseRecord("a\xA0\t", text::Cp932LeadByte)->category, "a\xA0");
}

TEST(DictionaryParser, GivesEventsInFileOrder) {
    EXPECT_EQ(Events(A_ I_ "\t(^_^)/\r\n" A_ I_ "\t("
                           "\x81\x45"
                           "\x81\xcd"
                           "\x81\x45"
                           ")\r\n" U_ "\t(*^_^*)\r\n"),
              (std::vector<std::string>{"group " A_, "category " A_ I_, "group " U_,
                                        "store " A_ I_ " [(^_^)/,("
                                        "\x81\x45"
                                        "\x81\xcd"
                                        "\x81\x45"
                                        ")]",
                                        "category " U_, "store " U_ " [(*^_^*)]"}));
    // A lead byte ending a name stands alone, yet pairs with a TAB after it
    // on the next line: that line names another category.
    EXPECT_EQ(Events("a\x82\na\x82\tb\n"),
              (std::vector<std::string>{"group a\x82", "category a\x82", "store a\x82 []",
                                        "category a\x82\tb", "store a\x82\tb []"}));
}

TEST(DictionaryParser, GroupKeyIsTheFirstTwoBytes) {
    EXPECT_EQ(Events("A\t1\nAB\t2\nABC\t3\n" A_ I_ "\t4\n" A_ O_ "\t5\nx" A_ "\t6\n" SO_ "\t7\n"),
              (std::vector<std::string>{
                  "group A", "category A",                                // one byte
                  "group AB", "store A [1]", "category AB",               // a new key
                  "store AB [2]", "category ABC",                         // same key
                  "group " A_, "store ABC [3]", "category " A_ I_,        // double-byte
                  "store " A_ I_ " [4]", "category " A_ O_,               // shares it
                  "group x\x82", "store " A_ O_ " [5]", "category x" A_,  // mixed
                  "group " SO_, "store x" A_ " [6]", "category " SO_, "store " SO_ " [7]"}));
}

TEST(DictionaryParser, ReadsTextModeLines) {
    // CR CR LF: the line keeps one CR, which trimming removes; an inner CR
    // stays; Ctrl-Z ends the data.
    EXPECT_EQ(
        Events("a\tb\r\r\nc\t1\r2\r\nd\te\x1a"
               "f\tg\r\n"),
        (std::vector<std::string>{"group a", "category a", "group c", "store a [b]", "category c",
                                  "group d", "store c [1\r2]", "category d", "store d [e]"}));
    // No line end after the last line.
    EXPECT_EQ(Events("a\tb"), (std::vector<std::string>{"group a", "category a", "store a [b]"}));
}

TEST(DictionaryParser, EmptyFileStoresAnEmptyListUnderTheEmptyName) {
    for (std::string_view bytes : {"", "\r\n \t\r\n\r\n",
                                   "\x1a"
                                   "a\tb"}) {
        EXPECT_EQ(Events(bytes), (std::vector<std::string>{"store  []"})) << bytes;
        const Dictionary dictionary = Read(bytes);
        EXPECT_TRUE(dictionary.groups.empty());
        EXPECT_EQ(dictionary.categories.Size(), 1u);
        ASSERT_NE(dictionary.categories.Find(""), nullptr);
        EXPECT_TRUE(dictionary.categories.Find("")->empty());
    }
}

TEST(DictionaryParser, KeepsAMegabyteLineWhole) {
    const std::string kaomoji(1 << 20, 'k');
    const Dictionary dictionary = Read("big\t" + kaomoji + "\r\nnext\tx\r\n");
    const KaomojiList* list = dictionary.categories.Find("big");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->size(), 1u);
    EXPECT_EQ((*list)[0], kaomoji);
    EXPECT_EQ(*dictionary.categories.Find("next"), (KaomojiList{"x"}));
}

TEST(Dictionary, GroupsAreNotMergedAcrossTheFile) {
    const Dictionary dictionary = Read(A_ I_ "\t1\n" KA_ KI_ "\t2\n" A_ O_ "\t3\n");
    ASSERT_EQ(dictionary.groups.size(), 3u);
    EXPECT_EQ(dictionary.groups[0].key, A_);
    EXPECT_EQ(dictionary.groups[1].key, KA_);
    EXPECT_EQ(dictionary.groups[2].key, A_);
    const CategoryMap& map = dictionary.categories;
    EXPECT_EQ(map.NameAt(dictionary.groups[2].categories.at(0)), A_ O_);
}

TEST(Dictionary, SeparateRunsOfACategoryKeepAllTheirKaomojiInFileOrder) {
    const Dictionary dictionary = Read("abc\t1\nabc\t2\nabd\t3\nabc\t4\nx\t5\nabc\t6\nabc\n");
    // Tree items: abc, abd, abc in group "ab"; abc again under the second "ab".
    ASSERT_EQ(dictionary.groups.size(), 3u);
    const auto& first = dictionary.groups[0].categories;
    ASSERT_EQ(first.size(), 3u);
    EXPECT_EQ(first[0], first[2]);
    EXPECT_NE(first[0], first[1]);
    EXPECT_EQ(dictionary.groups[2].categories, (std::vector<CategoryMap::Index>{first[0]}));
    const CategoryMap& map = dictionary.categories;
    EXPECT_EQ(map.NameAt(first[0]), "abc");
    EXPECT_EQ(map.ListAt(first[0]), (KaomojiList{"1", "2", "4", "6", ""}));
    EXPECT_EQ(map.ListAt(first[1]), (KaomojiList{"3"}));
    EXPECT_EQ(map.Size(), 3u);
}

// Gives `good` bytes of data, then fails the way a disk does.
class FailingSource final : public text::ByteSource {
public:
    FailingSource(std::string data, std::size_t good) : m_data(std::move(data)), m_good(good) {}
    std::size_t Read(char* buffer, std::size_t size) override {
        if (m_pos >= m_good) {
            throw std::runtime_error("read failed");
        }
        const std::size_t n = std::min({size, m_good - m_pos, std::size_t{7}});
        m_data.copy(buffer, n, m_pos);
        m_pos += n;
        return n;
    }

private:
    std::string m_data;
    std::size_t m_good;
    std::size_t m_pos = 0;
};

TEST(Dictionary, ReadErrorPropagatesWithoutADictionary) {
    std::string data;
    for (int i = 0; i < 1000; ++i) {
        data += "cat" + std::to_string(i / 100) + "\tkaomoji" + std::to_string(i) + "\r\n";
    }
    FailingSource source(data, data.size() / 2);
    text::LineReader reader(source);
    EXPECT_THROW(dictionary::ReadDictionary(reader, text::Cp932LeadByte), std::runtime_error);

    FailingSource again(data, 0);
    EventLog log;
    EXPECT_THROW(dictionary::ParseDictionary(again, text::Cp932LeadByte, log), std::runtime_error);
    EXPECT_TRUE(log.events.empty());
}

}  // namespace

namespace {

// The starter dictionary shipped with Pelo: every line a record with a
// kaomoji, CR LF line ends, enough categories to be useful.
TEST(Dictionary, StarterDictionaryIsWellFormed) {
    std::ifstream in(std::string(PELO_SOURCE_DIR) + "/sample/dic.txt", std::ios::binary);
    ASSERT_TRUE(in) << "sample/dic.txt is missing";
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::vector<std::string> lines = text::SplitTextModeLines(bytes);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'),
              std::count(bytes.begin(), bytes.end(), '\r'));
    std::size_t kaomoji = 0;
    const Dictionary dictionary = Read(bytes);
    for (std::size_t i = 0; i < dictionary.categories.Size(); ++i) {
        for (std::string_view face : dictionary.categories.ListAt(i)) {
            EXPECT_FALSE(face.empty()) << dictionary.categories.NameAt(i);
            ++kaomoji;
        }
    }
    EXPECT_EQ(kaomoji, lines.size());
    EXPECT_GE(kaomoji, 300u);
    EXPECT_GE(dictionary.categories.Size(), 30u);
}

}  // namespace
