// Piece paths, titles of listed files, and which titles may name a piece.
#include <gtest/gtest.h>

#include <string>

#include "aa/AATitle.h"

namespace {

constexpr auto kLead = &text::Cp932LeadByte;
constexpr std::size_t kShortPath = 40;

bool Usable(const std::string& title) {
    return aa::IsUsableTitle(title, kShortPath, kLead);
}

TEST(AAPiecePath, TitleIsInsertedAsItIs) {
    EXPECT_EQ(aa::FormatPiecePath("AA\\%s.txt", "x"), "AA\\x.txt");
    EXPECT_EQ(aa::FormatPiecePath("AA\\%s.txt", " a b "), "AA\\ a b .txt");
    EXPECT_EQ(aa::FormatPiecePath("AA\\%s.txt", "100%s%d"), "AA\\100%s%d.txt");
    EXPECT_EQ(aa::FormatPiecePath("AA\\%s.txt", ""), "AA\\.txt");
    EXPECT_EQ(aa::FormatPiecePath("%%%s", "t"), "%t");
}

TEST(AATitleFromFileName, CutsTheLastFourBytes) {
    EXPECT_EQ(aa::TitleFromFileName("x.txt"), "x");
    EXPECT_EQ(aa::TitleFromFileName("x.TXT"), "x");
    EXPECT_EQ(aa::TitleFromFileName(".txt"), "");
    EXPECT_EQ(aa::TitleFromFileName("abc"), "");
    EXPECT_EQ(aa::TitleFromFileName("a..txt"), "a.");
}

TEST(AAFolderPath, JoinsWithOneSeparator) {
    EXPECT_EQ(aa::JoinFolderPath("C:\\work", "AA\\x.txt", kLead), "C:\\work\\AA\\x.txt");
    EXPECT_EQ(aa::JoinFolderPath("C:\\", "AA\\x.txt", kLead), "C:\\AA\\x.txt");
    // The folder ends in ソ, whose trail byte is 0x5C: a separator is still needed.
    EXPECT_EQ(aa::JoinFolderPath("C:\\\x83\x5C", "AA", kLead), "C:\\\x83\x5C\\AA");
}

TEST(AATitle, OrdinaryTitlesAreUsable) {
    for (const std::string title : {"x",
                                    " a ",
                                    "\t",
                                    "a b",
                                    "\x81\x40",  // full-width space
                                    "\x83\x5C",
                                    "\x95\x5C",
                                    "\x94\x5C",
                                    "\x8F\x5C",  // ソ 表 能 十: trail 0x5C
                                    "\x81\x7C",  // －: trail 0x7C
                                    "a.",
                                    "a ",
                                    ".",
                                    "..",
                                    "...",
                                    "CONSOLE",
                                    "COM10",
                                    "LPT",
                                    "com0",
                                    "xCON",
                                    "(\x81\x4C\x81\x45\x83\xD6\x81\x45`)"}) {
        EXPECT_EQ(Usable(title), title != "\t") << title;
    }
}

TEST(AATitle, TitlesLeavingTheFolderAreRefused) {
    for (const std::string title : {"..\\dic", "../dic", "a\\b", "a/b", "\\x", "C:", "C:x", "C:\\x",
                                    "\\\\server\\x", "\x83\x5C\\..\\dic"}) {
        EXPECT_FALSE(Usable(title)) << title;
    }
}

TEST(AATitle, CharactersTheFileSystemRefuses) {
    for (const std::string title :
         {"a<b", "a>b", "a:b", "a\"b", "a|b", "a?", "*", "a\x01", "a\nb", "a\rb", "\x1F", "\x83"}) {
        EXPECT_FALSE(Usable(title)) << title;
    }
}

TEST(AATitle, DeviceNamesWithOrWithoutExtension) {
    for (const std::string title : {"CON", "con", "PRN", "AUX", "NUL", "nul.x", "COM1", "com9",
                                    "LPT1", "lpt9.abc", "CON ", "CONIN$", "conout$"}) {
        EXPECT_FALSE(Usable(title)) << title;
    }
}

TEST(AATitle, FullPathMustStayBelowMaxPath) {
    EXPECT_TRUE(aa::IsUsableTitle("x", aa::kMaxPath - 1, kLead));
    EXPECT_FALSE(aa::IsUsableTitle("x", aa::kMaxPath, kLead));
    EXPECT_FALSE(aa::IsUsableTitle("x", aa::kMaxPath + 100, kLead));
}

}  // namespace
