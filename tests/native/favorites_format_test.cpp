#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "favorites/FavoritesFormat.h"
#include "text/Mbcs.h"

namespace {

using favorites::FavoriteAddition;
using Entries = std::vector<std::string>;

// A move or delete: CR LF after every entry, and what follows the first
// Ctrl-Z kept as it is.
TEST(FavoritesRewrite, CrLfAfterEveryEntryAndTheBytesAfterCtrlZKept) {
    const struct {
        std::string current;
        Entries entries;
        std::string bytes;
    } kCases[] = {
        {"x\n", {}, ""},
        {"", {""}, "\r\n"},
        {"a\nb", {"(^^)", "", "a\r"}, "(^^)\r\n\r\na\r\r\n"},
        {"a\r\nb\r\n\x1A" "c\r\n\x1A", {"b"}, "b\r\n\x1A" "c\r\n\x1A"},
        {"\x1A", {}, "\x1A"},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(favorites::PlanRewrite(c.current, c.entries), c.bytes) << c.current;
    }
}

TEST(FavoritesDuplicate, OnlyAsciiLettersIgnoreCase) {
    const struct {
        const char *a, *b;
        bool same;
    } kCases[] = {
        {"(^O^)v", "(^o^)V", true},
        {"", "", true},
        {"@[", "`{", false},  // differ by the case bit, but are no letters
        {"(^o^)", "(^o^)v", false},
        {"(^o^)v", "(^o^)", false},
        {"\x83\x41", "\x83\x61", false},  // trail bytes 'A' and 'a' of two katakana
        {"(\x83\x41)x", "(\x83\x41)X", true},
        {"\x82\x60", "\x82\x81", false},      // full-width A and a
        {"(\x83\xB6)", "(\x83\xD6)", false},  // Omega and omega
        {"A\x83", "a\x83", true},             // a lead byte at the end stands alone
        {"A\x83", "a\x84", false},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(favorites::IsSameFavorite(c.a, c.b, text::Cp932LeadByte), c.same)
            << c.a << " / " << c.b;
    }
    const Entries entries{"OK!", "", "(\x83\x41)"};
    EXPECT_TRUE(favorites::ContainsFavorite(entries, "ok!", text::Cp932LeadByte));
    EXPECT_TRUE(favorites::ContainsFavorite(entries, "(\x83\x41)", text::Cp932LeadByte));
    EXPECT_FALSE(favorites::ContainsFavorite(entries, "(\x83\x61)", text::Cp932LeadByte));
}

TEST(FavoritesAddition, AppendsAfterAClosedLastLineOrRewritesAroundCtrlZ) {
    const struct {
        std::string current;
        FavoriteAddition::Kind kind;
        std::string bytes;
    } kCases[] = {
        {"", FavoriteAddition::Kind::Append, "x\r\n"},
        {"a\n", FavoriteAddition::Kind::Append, "x\r\n"},
        {"a\r\nb", FavoriteAddition::Kind::Append, "\r\nx\r\n"},
        {"a\r", FavoriteAddition::Kind::Append, "\r\nx\r\n"},  // the CR stays in "a\r"
        {"a\r\n\x1A" "tail", FavoriteAddition::Kind::Rewrite, "a\r\nx\r\n\x1A" "tail"},
        {"a\x1A\x1A", FavoriteAddition::Kind::Rewrite, "a\r\nx\r\n\x1A\x1A"},
        {"\x1A", FavoriteAddition::Kind::Rewrite, "x\r\n\x1A"},
    };
    for (const auto& c : kCases) {
        const FavoriteAddition addition = favorites::PlanAddition(c.current, "x");
        EXPECT_EQ(addition.kind, c.kind) << c.current;
        EXPECT_EQ(addition.bytes, c.bytes) << c.current;
    }
}

TEST(FavoritesAddition, NewEntryLoadsLastAndNoByteIsLost) {
    for (std::string_view current : {"", "a", "a\n\nb", "\r", "a\x1A\r\nb\r\n", "a\r\x1A",
                                     "\n\x1A\x1A\n", "\x83\x5C"}) {
        for (std::string_view entry : {"", "\r", "(\x83\x41)"}) {
            const FavoriteAddition addition = favorites::PlanAddition(current, entry);
            const std::string after = addition.kind == FavoriteAddition::Kind::Append
                                          ? std::string(current) + addition.bytes
                                          : addition.bytes;
            Entries expected = favorites::ParseFavorites(current);
            expected.emplace_back(entry);
            EXPECT_EQ(favorites::ParseFavorites(after), expected) << current;
            // Every byte of the old file is still there, in order.
            auto pos = after.begin();
            for (char c : current) {
                pos = std::find(pos, after.end(), c);
                ASSERT_NE(pos, after.end()) << current;
                ++pos;
            }
        }
    }
}

}  // namespace
