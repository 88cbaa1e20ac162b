// Piece paths, titles of listed files, and which titles may name a piece.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "aa/AATitle.h"

namespace {

constexpr auto kLead = &text::Cp932LeadByte;

TEST(AAPiecePath, TitleIsInsertedAsItIs) {
    EXPECT_EQ(aa::FormatPiecePath("AA\\%s.txt", " 100%s%d "), "AA\\ 100%s%d .txt");
    EXPECT_EQ(aa::FormatPiecePath("%%%s", "t"), "%t");
    EXPECT_EQ(aa::JoinFolderPath("C:\\work", "AA", kLead), "C:\\work\\AA");
    EXPECT_EQ(aa::JoinFolderPath("C:\\", "AA", kLead), "C:\\AA");
    // The folder ends in ソ, whose trail byte is 0x5C: a separator is still needed.
    EXPECT_EQ(aa::JoinFolderPath("C:\\\x83\x5C", "AA", kLead), "C:\\\x83\x5C\\AA");
}

TEST(AATitleFromFileName, OnlyNamesEndingInTxt) {
    EXPECT_EQ(aa::TitleFromFileName("x.txt"), "x");
    EXPECT_EQ(aa::TitleFromFileName("a..TXT"), "a.");
    EXPECT_EQ(aa::TitleFromFileName("\x83\x5C.Txt"), "\x83\x5C");
    EXPECT_EQ(aa::TitleFromFileName(".txt"), "");
    for (const char* name : {"x.txt1", "txt", "x.tx", "x_txt"}) {
        EXPECT_EQ(aa::TitleFromFileName(name), std::nullopt) << name;
    }
}

TEST(AATitle, UsableTitles) {
    // Trail bytes 0x5C and 0x7C (ソ 表 能 十 －) are no separators; dots and
    // spaces are kept, as the name always ends in ".txt".
    for (const char* title :
         {"x", " a ", "\x81\x40", "\x83\x5C", "\x95\x5C", "\x94\x5C", "\x8F\x5C", "\x81\x7C", "a.",
          "..", "CONSOLE", "COM10", "LPT", "com0", "xCON"}) {
        EXPECT_TRUE(aa::IsUsableTitle(title, 40, kLead)) << title;
    }
    // Leaving the folder, characters the file system refuses, a lone lead
    // byte, device names with or without extension.
    for (const char* title :
         {"..\\dic", "../dic",   "a\\b",  "C:",     "\\\\server\\x", "\x83\x5C\\..\\dic",
          "a<b",     "a>b",      "a:b",   "a\"b",   "a|b",           "a?",
          "*",       "\t",       "a\x01", "\x1F",   "\x83",          "CON",
          "con",     "PRN",      "AUX",   "nul.x",  "COM1",          "com9",
          "LPT1",    "lpt9.abc", "CON ",  "CONIN$", "conout$"}) {
        EXPECT_FALSE(aa::IsUsableTitle(title, 40, kLead)) << title;
    }
    EXPECT_TRUE(aa::IsUsableTitle("x", aa::kMaxPath - 1, kLead));
    EXPECT_FALSE(aa::IsUsableTitle("x", aa::kMaxPath, kLead));
}

// A UTF-16 title: the same rules by unit, and every other character accepted.
TEST(AATitle, UsableWideTitles) {
    const std::wstring bear = {wchar_t(0xD83D), wchar_t(0xDC3B)};  // U+1F43B as a pair
    const struct {
        std::wstring title;
        bool usable;
    } kCases[] = {
        {L"\x2665", true},
        {bear, true},
        {L"e\x0301", true},
        {L"\x0628", true},
        {L" \x2665. ", true},
        {L"\xFF23\xFF2F\xFF2E", true},  // full-width CON is no device
        {L"\x2665\\x", false},
        {L"\x2665/x", false},
        {L"a:\x2665", false},
        {L"\x2665?", false},
        {L"\x01\x2665", false},
        {L"con.\x2665", false},
        {L"COM1", false},
        {L"CONOUT$", false},
        {std::wstring(1, bear[0]), false},  // a half without its partner
        {std::wstring(1, bear[1]) + L"x", false},
        {{bear[1], bear[0]}, false},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(aa::IsUsableTitle(c.title, 40), c.usable) << c.title.size();
    }
    EXPECT_TRUE(aa::IsUsableTitle(L"x", aa::kMaxPath - 1));
    EXPECT_FALSE(aa::IsUsableTitle(L"x", aa::kMaxPath));
}

TEST(AAPiecePath, WideTitlesAndNames) {
    EXPECT_EQ(aa::FormatPiecePath(L"AA\\%s.txt", L"\x2665%s"), L"AA\\\x2665%s.txt");
    EXPECT_EQ(aa::TitleFromFileName(L"\x2665.TxT"), L"\x2665");
    EXPECT_EQ(aa::TitleFromFileName(L"\x2665.txt1"), std::nullopt);
    EXPECT_EQ(aa::JoinFolderPath(L"C:\\\x2665", L"AA"), L"C:\\\x2665\\AA");
    EXPECT_EQ(aa::JoinFolderPath(L"C:\\", L"AA"), L"C:\\AA");
}

}  // namespace
