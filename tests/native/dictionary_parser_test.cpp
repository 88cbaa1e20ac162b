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
#include "text/Encoding.h"
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

// UTF-8 forms of the characters above, and some Shift-JIS lacks.
#define U_A_ "\xE3\x81\x82"         // あ
#define U_I_ "\xE3\x81\x84"         // い
#define U_SO_ "\xE3\x82\xBD"        // ソ
#define U_SMALL_A_ "\xE3\x81\x81"   // ぁ: its last byte is a Shift-JIS lead byte
#define U_HEART_ "\xE2\x99\xA5"     // ♥
#define U_BEAR_ "\xF0\x9F\x90\xBB"  // a character beyond the BMP
#define U_E_ACUTE_ "\xC3\xA9"       // é
#define U_ARABIC_ "\xD9\x84"        // an Arabic letter
#define U_COMBINING_ "\xCC\x81"     // a combining acute accent

TEST(DictionaryParser, Utf8EventsInFileOrder) {
    const std::pair<std::string_view, Strings> kCases[] = {
        // The group key is the first two bytes when both are single-byte
        // characters, else the first character whole.
        {"AB\t1\nA" U_A_ "\t2\n" U_A_ U_I_ "\t3\n" U_BEAR_ "x\t4\n" U_E_ACUTE_ "\t5\n",
         {"group AB", "category AB", "group A", "store AB [1]", "category A" U_A_, "group " U_A_,
          "store A" U_A_ " [2]", "category " U_A_ U_I_, "group " U_BEAR_, "store " U_A_ U_I_ " [3]",
          "category " U_BEAR_ "x", "group " U_E_ACUTE_, "store " U_BEAR_ "x [4]",
          "category " U_E_ACUTE_, "store " U_E_ACUTE_ " [5]"}},
        // A TAB after a byte that Shift-JIS takes for a lead byte still splits.
        {U_SMALL_A_ "\t(" U_HEART_ U_COMBINING_ ")\t" U_SMALL_A_ "\n",
         {"group " U_SMALL_A_, "category " U_SMALL_A_,
          "store " U_SMALL_A_ " [(" U_HEART_ U_COMBINING_ ")]"}},
        // An invalid byte (possible after a byte-order mark) is a character of its own.
        {"\xE3\x81\t1\n" U_ARABIC_ "\t2\n",
         {"group \xE3", "category \xE3\x81", "group " U_ARABIC_, "store \xE3\x81 [1]",
          "category " U_ARABIC_, "store " U_ARABIC_ " [2]"}},
    };
    for (const auto& [bytes, events] : kCases) {
        text::MemorySource source(bytes);
        EventLog log;
        dictionary::ParseDictionary(source, text::Cp932LeadByte, log, text::Encoding::Utf8);
        EXPECT_EQ(log.events, events) << bytes;
    }
}

// One dictionary written in both encodings reads as the same records, groups
// and tree, character for character.
TEST(Dictionary, BothEncodingsGiveTheSameDictionary) {
    const auto dic = [](bool utf8) {
        const std::string a = utf8 ? U_A_ : A_, i = utf8 ? U_I_ : I_, so = utf8 ? U_SO_ : SO_;
        return "  " + a + i + "\t(" + so + ")\t" + a + "\r\n" + a + "x\t1\n" + a + i +
               "\t2\nab\t3\n" + so + "\t\t4 \r\n" + a + i + "\t5\n";
    };
    const Dictionary shiftJis = dictionary::ReadDictionaryBytes(dic(false), text::Cp932LeadByte);
    const Dictionary utf8 = dictionary::ReadDictionaryBytes(dic(true), text::Cp932LeadByte);
    EXPECT_EQ(shiftJis.encoding, text::Encoding::ShiftJis);
    EXPECT_EQ(utf8.encoding, text::Encoding::Utf8);
    ASSERT_EQ(utf8.groups.size(), shiftJis.groups.size());
    for (std::size_t g = 0; g < utf8.groups.size(); ++g) {
        EXPECT_EQ(utf8.groups[g].categories, shiftJis.groups[g].categories) << g;
    }
    ASSERT_EQ(utf8.categories.Size(), shiftJis.categories.Size());
    for (std::size_t c = 0; c < utf8.categories.Size(); ++c) {
        EXPECT_EQ(utf8.categories.ListAt(c).size(), shiftJis.categories.ListAt(c).size()) << c;
    }
    const KaomojiList& list = *utf8.categories.Find(U_A_ U_I_);
    EXPECT_EQ(Strings(list.begin(), list.end()), (Strings{"(" U_SO_ ")", "2", "5"}));
    EXPECT_EQ(utf8.categories.Find(U_A_ U_I_)->keywords(0), U_A_);
}

TEST(Dictionary, TheFileSaysItsEncoding) {
    const struct {
        const char* what;
        std::string bytes;
        text::Encoding encoding;
        std::string firstCategory;
    } kCases[] = {
        {"the mark is no part of the first name", "\xEF\xBB\xBF" U_A_ "\t1\r\n",
         text::Encoding::Utf8, U_A_},
        {"the mark alone", "\xEF\xBB\xBF", text::Encoding::Utf8, ""},
        {"UTF-8 without the mark", U_HEART_ "\t1\n", text::Encoding::Utf8, U_HEART_},
        // One invalid byte: all of it is Shift-JIS, as before UTF-8 was known.
        // Here あ reads as two Shift-JIS characters and a lead byte that
        // takes the TAB as its trail byte, so the line is one category.
        {"one invalid byte", U_A_ "\t\x82\n", text::Encoding::ShiftJis, U_A_ "\t\x82"},
        {"Shift-JIS", A_ "\t1\n", text::Encoding::ShiftJis, A_},
    };
    for (const auto& c : kCases) {
        const Dictionary dictionary = dictionary::ReadDictionaryBytes(c.bytes, text::Cp932LeadByte);
        EXPECT_EQ(dictionary.encoding, c.encoding) << c.what;
        EXPECT_EQ(dictionary.categories.NameAt(0), c.firstCategory) << c.what;
    }
}

// (Runs not merged and one list per name across them: main_dialog_test's tree.)
TEST(Dictionary, ALineLongerThanAReadChunkIsKeptWhole) {
    const std::string big(1 << 20, 'k');
    EXPECT_EQ(*Read("a\t1\n" A_ I_ "\t" + big + "\r\n").categories.Find(A_ I_), (KaomojiList{big}));
}

// The starter dictionary shipped with Pelo: UTF-8 with its mark, CR LF line
// ends, a kaomoji on every line.
TEST(Dictionary, StarterDictionaryIsWellFormed) {
    std::ifstream in(std::string(PELO_SOURCE_DIR) + "/sample/dic.txt", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text::DetectEncoding(bytes), (text::FileEncoding{text::Encoding::Utf8, true}));
    EXPECT_TRUE(text::IsValidUtf8(bytes));
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'),
              std::count(bytes.begin(), bytes.end(), '\r'));
    const Strings lines =
        text::SplitTextModeLines(text::WithoutByteOrderMark(bytes, {text::Encoding::Utf8, true}));
    EXPECT_GE(lines.size(), 300u);
    for (const std::string& line : lines) {
        const auto record = dictionary::ParseRecord(line, text::NoLeadByte);
        EXPECT_TRUE(record && !record->kaomoji.empty()) << line;
    }
}

}  // namespace
