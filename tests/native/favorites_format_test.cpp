#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "favorites/FavoritesFormat.h"
#include "text/Mbcs.h"

namespace {

using favorites::FavoriteAddition;
using Entries = std::vector<std::string>;

bool Same(std::string_view a, std::string_view b) {
    return favorites::IsSameFavorite(a, b, text::Cp932LeadByte);
}

// The file after carrying out `addition` on `current`.
std::string Apply(std::string_view current, const FavoriteAddition& addition) {
    if (addition.kind == FavoriteAddition::Kind::Append) {
        return std::string(current) + addition.bytes;
    }
    return addition.bytes;
}

TEST(FavoritesParse, LineEndsAsTextModeReadsThem) {
    EXPECT_EQ(favorites::ParseFavorites(""), Entries{});
    EXPECT_EQ(favorites::ParseFavorites("a\r\nb\r\n"), (Entries{"a", "b"}));
    EXPECT_EQ(favorites::ParseFavorites("a\nb\n"), (Entries{"a", "b"}));
    EXPECT_EQ(favorites::ParseFavorites("a\r\nb\nc"), (Entries{"a", "b", "c"}));
    // A CR not followed by LF belongs to the entry.
    EXPECT_EQ(favorites::ParseFavorites("a\rb\r\nc\r"), (Entries{"a\rb", "c\r"}));
    EXPECT_EQ(favorites::ParseFavorites("\r\n\na\r\n\r\n"), (Entries{"", "", "a", ""}));
}

TEST(FavoritesParse, CtrlZEndsTheData) {
    EXPECT_EQ(favorites::ParseFavorites("a\r\n\032b\r\n"), Entries{"a"});
    EXPECT_EQ(favorites::ParseFavorites("a\032b"), Entries{"a"});
    EXPECT_EQ(favorites::ParseFavorites("\032a\r\n"), Entries{});
}

TEST(FavoritesFormat, CrLfAfterEveryEntry) {
    EXPECT_EQ(favorites::FormatFavorites(Entries{}), "");
    EXPECT_EQ(favorites::FormatFavorites(Entries{""}), "\r\n");
    EXPECT_EQ(favorites::FormatFavorites(Entries{"(^^)", "", "x"}), "(^^)\r\n\r\nx\r\n");
}

TEST(FavoritesFormat, WrittenEntriesLoadBackUnchanged) {
    // ソ (83 5C) and － (81 7C) have trail bytes that look like '\' and '|';
    // a CR at the end of an entry must survive the CR LF written after it.
    const Entries entries{"(\x83\x5C\x81\x7C)", "", "a\r", "\rb", "  spaced  ", "\x83\x41"};
    EXPECT_EQ(favorites::ParseFavorites(favorites::FormatFavorites(entries)), entries);
}

TEST(FavoritesDuplicate, AsciiLettersIgnoreCaseOnly) {
    EXPECT_TRUE(Same("(^o^)", "(^o^)"));
    EXPECT_TRUE(Same("(^O^)v", "(^o^)V"));
    EXPECT_TRUE(Same("", ""));
    // '@' and '`', '[' and '{' differ by the case bit but are not letters.
    EXPECT_FALSE(Same("@[", "`{"));
    // Only whole texts match: a beginning or a part is a different kaomoji.
    EXPECT_FALSE(Same("(^o^)", "(^o^)v"));
    EXPECT_FALSE(Same("(^o^)v", "(^o^)"));
    EXPECT_FALSE(Same("^o^", "(^o^)"));
}

TEST(FavoritesDuplicate, DoubleByteCharactersCompareExactly) {
    // Trail bytes 0x41 and 0x61 ('A' and 'a') of two different katakana.
    EXPECT_FALSE(Same("\x83\x41", "\x83\x61"));
    EXPECT_FALSE(Same("(\x83\x41)x", "(\x83\x61)X"));
    EXPECT_TRUE(Same("(\x83\x41)x", "(\x83\x41)X"));
    // Full-width A and a.
    EXPECT_FALSE(Same("\x82\x60", "\x82\x81"));
    // Greek Omega and omega, Cyrillic De and de.
    EXPECT_FALSE(Same("(\x83\xB6)", "(\x83\xD6)"));
    EXPECT_FALSE(Same("\x84\x44", "\x84\x74"));
    // A lead byte at the very end stands alone and compares as itself.
    EXPECT_TRUE(Same("A\x83", "a\x83"));
    EXPECT_FALSE(Same("A\x83", "a\x84"));
}

TEST(FavoritesDuplicate, ContainsSearchesTheWholeList) {
    const Entries entries{"(^^)", "", "(\x83\x41)", "OK!"};
    EXPECT_TRUE(favorites::ContainsFavorite(entries, "ok!", text::Cp932LeadByte));
    EXPECT_TRUE(favorites::ContainsFavorite(entries, "", text::Cp932LeadByte));
    EXPECT_FALSE(favorites::ContainsFavorite(entries, "(\x83\x61)", text::Cp932LeadByte));
    EXPECT_FALSE(favorites::ContainsFavorite(Entries{}, "", text::Cp932LeadByte));
}

TEST(FavoritesAddition, AppendsAfterCompleteLines) {
    for (const char* current : {"", "a\r\n", "a\n", "\r\n"}) {
        const FavoriteAddition addition = favorites::PlanAddition(current, "(^^)");
        EXPECT_EQ(addition.kind, FavoriteAddition::Kind::Append) << current;
        EXPECT_EQ(addition.bytes, "(^^)\r\n") << current;
    }
}

TEST(FavoritesAddition, ClosesAnOpenLastLineFirst) {
    FavoriteAddition addition = favorites::PlanAddition("a\r\nb", "x");
    EXPECT_EQ(addition.kind, FavoriteAddition::Kind::Append);
    EXPECT_EQ(addition.bytes, "\r\nx\r\n");
    // A final lone CR is part of the last entry and stays so.
    addition = favorites::PlanAddition("a\r", "x");
    EXPECT_EQ(favorites::ParseFavorites(Apply("a\r", addition)), (Entries{"a\r", "x"}));
}

TEST(FavoritesAddition, InsertsBeforeCtrlZKeepingTheRest) {
    FavoriteAddition addition = favorites::PlanAddition("a\r\n\032tail", "x");
    EXPECT_EQ(addition.kind, FavoriteAddition::Kind::Rewrite);
    EXPECT_EQ(addition.bytes, "a\r\nx\r\n\032tail");

    addition = favorites::PlanAddition("a\x1A\x1A", "x");
    EXPECT_EQ(addition.bytes, "a\r\nx\r\n\x1A\x1A");

    addition = favorites::PlanAddition("\x1A", "x");
    EXPECT_EQ(addition.bytes, "x\r\n\x1A");
}

TEST(FavoritesAddition, NewEntryLoadsLastAndNoByteIsLost) {
    const char* files[] = {"",        "a",    "a\r\n",          "a\n\nb",  "a\r",
                           "\r",      "\x1A", "a\x1A\r\nb\r\n", "a\r\x1A", "\n\x1A\x1A\n",
                           "\x83\x5C"};
    for (std::string_view current : files) {
        for (std::string_view entry : {"", "x", "\r", "(\x83\x41)"}) {
            const std::string after = Apply(current, favorites::PlanAddition(current, entry));
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
