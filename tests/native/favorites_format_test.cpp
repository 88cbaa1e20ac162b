#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "favorites/FavoritesFormat.h"
#include "text/Mbcs.h"

namespace {

using favorites::FavoriteAddition;
using Entries = std::vector<std::string>;
using Pair = std::pair<const char*, const char*>;

// A move or delete: CR LF after every entry, and what follows the first
// Ctrl-Z kept as it is.
TEST(FavoritesRewrite, CrLfAfterEveryEntryAndTheBytesAfterCtrlZKept) {
    const struct {
        std::string current;
        Entries entries;
        std::string bytes;
    } kCases[] = {{"x\n", {}, ""},
                  {"", {""}, "\r\n"},
                  {"a\nb", {"(^^)", "", "a\r"}, "(^^)\r\n\r\na\r\r\n"},
                  {"a\r\nb\r\n\x1Az\r\n\x1A", {"b"}, "b\r\n\x1Az\r\n\x1A"},
                  {"\x1A", {}, "\x1A"},
                  // A UTF-8 file keeps its byte-order mark.
                  {"\xEF\xBB\xBF"
                   "a\r\n",
                   {"b", "a"},
                   "\xEF\xBB\xBF"
                   "b\r\na\r\n"},
                  {"\xEF\xBB\xBF", {}, "\xEF\xBB\xBF"}};
    for (const auto& c : kCases) {
        EXPECT_EQ(favorites::PlanRewrite(c.current, c.entries), c.bytes) << c.current;
    }
}

// A Shift-JIS file that becomes UTF-8: the mark first, the converted entries,
// and what followed a Ctrl-Z, as it was.
TEST(FavoritesConversion, TheMarkThenTheEntriesThenTheBytesAfterCtrlZ) {
    const struct {
        std::string current;
        Entries utf8Entries;
        std::string bytes;
    } kCases[] = {{"", {"\xE2\x99\xA5"}, "\xEF\xBB\xBF\xE2\x99\xA5\r\n"},
                  {"\x82\xA0\r\n\x1A\x82",
                   {"\xE3\x81\x82", "x"},
                   "\xEF\xBB\xBF\xE3\x81\x82\r\nx\r\n\x1A\x82"}};
    for (const auto& c : kCases) {
        const std::string bytes = favorites::PlanConversionToUtf8(c.current, c.utf8Entries);
        EXPECT_EQ(bytes, c.bytes) << c.current;
        EXPECT_EQ(favorites::ParseFavorites(bytes), c.utf8Entries) << c.current;
    }
}

// Only ASCII letters ignore case: not other bytes that differ by the case bit,
// not full-width letters. A lead byte at the end stands alone.
TEST(FavoritesDuplicate, OnlyAsciiLettersIgnoreCase) {
    const Pair kSame[] = {
        {"(^O^)v", "(^o^)V"}, {"", ""}, {"(\x83\x41)x", "(\x83\x41)X"}, {"A\x83", "a\x83"}};
    const Pair kDifferent[] = {
        {"@[", "`{"}, {"(^o^)", "(^o^)v"}, {"\x82\x60", "\x82\x81"}, {"A\x83", "a\x84"}};
    for (const auto& [a, b] : kSame) {
        EXPECT_TRUE(favorites::IsSameFavorite(a, b, text::Cp932LeadByte)) << a << " / " << b;
    }
    for (const auto& [a, b] : kDifferent) {
        EXPECT_FALSE(favorites::IsSameFavorite(a, b, text::Cp932LeadByte)) << a << " / " << b;
    }
    const Entries entries{"OK!", "", "(\x83\x41)"};
    EXPECT_TRUE(favorites::ContainsFavorite(entries, "ok!", text::Cp932LeadByte));
    EXPECT_TRUE(favorites::ContainsFavorite(entries, "(\x83\x41)", text::Cp932LeadByte));
    EXPECT_FALSE(favorites::ContainsFavorite(entries, "(\x83\x61)", text::Cp932LeadByte));

    // UTF-8: ASCII letters ignore case, every other character is compared
    // exactly (ω and Ω; a 0x81 inside a character is no Shift-JIS lead byte).
    EXPECT_TRUE(favorites::IsSameFavorite("V(\xE2\x99\xA5)", "v(\xE2\x99\xA5)", text::NoLeadByte));
    EXPECT_FALSE(favorites::IsSameFavorite("(\xCF\x89)", "(\xCE\xA9)", text::NoLeadByte));
    EXPECT_TRUE(favorites::IsSameFavorite("\xE3\x81\x81" "A", "\xE3\x81\x81" "a", text::NoLeadByte));
}

// An add appends after the last line, closed first when it is open, or
// rewrites the file with the entry before the first Ctrl-Z. (That the entry
// then loads last and no byte is lost, whatever the file, is fuzzed.)
TEST(FavoritesAddition, AppendsAfterAClosedLastLineOrRewritesAroundCtrlZ) {
    const struct {
        std::string current;
        FavoriteAddition::Kind kind;
        std::string bytes;
    } kCases[] = {{"", FavoriteAddition::Kind::Append, "x\r\n"},
                  {"a\n", FavoriteAddition::Kind::Append, "x\r\n"},
                  {"a\r", FavoriteAddition::Kind::Append, "\r\nx\r\n"},  // the CR stays in "a\r"
                  {"a\x1A\x1A", FavoriteAddition::Kind::Rewrite, "a\r\nx\r\n\x1A\x1A"},
                  {"\x1A", FavoriteAddition::Kind::Rewrite, "x\r\n\x1A"},
                  // A byte-order mark alone leaves no last line open.
                  {"\xEF\xBB\xBF", FavoriteAddition::Kind::Append, "x\r\n"},
                  {"\xEF\xBB\xBF"
                   "a",
                   FavoriteAddition::Kind::Append, "\r\nx\r\n"},
                  {"\xEF\xBB\xBF\x1A", FavoriteAddition::Kind::Rewrite,
                   "\xEF\xBB\xBF"
                   "x\r\n\x1A"}};
    for (const auto& c : kCases) {
        const FavoriteAddition addition = favorites::PlanAddition(c.current, "x");
        EXPECT_EQ(addition.kind, c.kind) << c.current;
        EXPECT_EQ(addition.bytes, c.bytes) << c.current;
    }
}

}  // namespace
