// Piece paths, titles of listed files, and which titles may name a piece.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "aa/AATitle.h"

namespace {

constexpr auto kLead = &text::Cp932LeadByte;

TEST(AAPiecePath, TitleIsInsertedAsItIs) {
    EXPECT_EQ(aa::FormatPiecePath("AA\\%s.txt", " 100%s%d "), "AA\\ 100%s%d .txt");
    EXPECT_EQ(aa::FormatPiecePath("AA\\%s.txt", ""), "AA\\.txt");
    EXPECT_EQ(aa::FormatPiecePath("%%%s", "t"), "%t");
    EXPECT_EQ(aa::JoinFolderPath("C:\\work", "AA", kLead), "C:\\work\\AA");
    EXPECT_EQ(aa::JoinFolderPath("C:\\", "AA", kLead), "C:\\AA");
    // The folder ends in ソ, whose trail byte is 0x5C: a separator is still needed.
    EXPECT_EQ(aa::JoinFolderPath("C:\\\x83\x5C", "AA", kLead), "C:\\\x83\x5C\\AA");
}

TEST(AATitleFromFileName, OnlyNamesEndingInTxt) {
    const std::pair<const char*, std::optional<std::string>> kCases[] = {
        {"x.txt", "x"}, {"x.TXT", "x"},          {".txt", ""},         {"a..txt", "a."},
        {"\x83\x5C.Txt", "\x83\x5C"},            {"x.txt1", std::nullopt}, {"txt", std::nullopt},
        {"x.tx", std::nullopt}, {"x_txt", std::nullopt},
    };
    for (const auto& [name, title] : kCases) {
        EXPECT_EQ(aa::TitleFromFileName(name), title) << name;
    }
}

TEST(AATitle, UsableTitles) {
    const std::pair<const char*, bool> kCases[] = {
        // Ordinary titles; trail bytes 0x5C and 0x7C (ソ 表 能 十 －) are no separators.
        {"x", true}, {" a ", true}, {"\x81\x40", true}, {"\x83\x5C", true}, {"\x95\x5C", true},
        {"\x94\x5C", true}, {"\x8F\x5C", true}, {"\x81\x7C", true}, {"a.", true}, {"..", true},
        {"CONSOLE", true}, {"COM10", true}, {"LPT", true}, {"com0", true}, {"xCON", true},
        // Leaving the folder.
        {"..\\dic", false}, {"../dic", false}, {"a\\b", false}, {"C:", false},
        {"\\\\server\\x", false}, {"\x83\x5C\\..\\dic", false},
        // Characters the file system refuses, a lone lead byte at the end.
        {"a<b", false}, {"a>b", false}, {"a:b", false}, {"a\"b", false}, {"a|b", false},
        {"a?", false}, {"*", false}, {"\t", false}, {"a\x01", false}, {"\x1F", false},
        {"\x83", false},
        // Device names, with or without extension.
        {"CON", false}, {"con", false}, {"PRN", false}, {"AUX", false}, {"nul.x", false},
        {"COM1", false}, {"com9", false}, {"LPT1", false}, {"lpt9.abc", false}, {"CON ", false},
        {"CONIN$", false}, {"conout$", false},
    };
    for (const auto& [title, usable] : kCases) {
        EXPECT_EQ(aa::IsUsableTitle(title, 40, kLead), usable) << title;
    }
    EXPECT_TRUE(aa::IsUsableTitle("x", aa::kMaxPath - 1, kLead));
    EXPECT_FALSE(aa::IsUsableTitle("x", aa::kMaxPath, kLead));
}

}  // namespace
