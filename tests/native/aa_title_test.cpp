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

}  // namespace
