// The conversions between an AA piece's editor text and its file bytes.
#include <gtest/gtest.h>

#include <string>

#include "aa/AAText.h"

namespace {

TEST(AAPieceFile, LineEndsAreWrittenAsCrLf) {
    EXPECT_EQ(aa::PieceFileBytes("a\r\nb\r\n"), "a\r\nb\r\n");
    EXPECT_EQ(aa::PieceFileBytes("a\nb"), "a\r\nb");        // a lone LF
    EXPECT_EQ(aa::PieceFileBytes("a\rb\r"), "a\rb\r");      // a lone CR stays
    EXPECT_EQ(aa::PieceFileBytes("a\r\r\nb"), "a\r\r\nb");  // CR before a pair
    EXPECT_EQ(aa::PieceFileBytes("\n\r\n\n"), "\r\n\r\n\r\n");
}

TEST(AAPieceFile, NothingIsAddedAtTheEnd) {
    EXPECT_EQ(aa::PieceFileBytes(""), "");
    EXPECT_EQ(aa::PieceFileBytes("(´・ω・`)"), "(´・ω・`)");
}

TEST(AAPieceText, EveryLineGetsCrLf) {
    EXPECT_EQ(aa::PieceTextFromFileBytes("a\r\nb"), "a\r\nb\r\n");
    EXPECT_EQ(aa::PieceTextFromFileBytes("a\r\nb\r\n"), "a\r\nb\r\n");
    EXPECT_EQ(aa::PieceTextFromFileBytes("a\nb\n"), "a\r\nb\r\n");
    EXPECT_EQ(aa::PieceTextFromFileBytes("\r\n\r\nx\r\n\r\n"), "\r\n\r\nx\r\n\r\n");
    EXPECT_EQ(aa::PieceTextFromFileBytes("a\rb"), "a\rb\r\n");
}

TEST(AAPieceText, EmptyFileIsEmptyTextAndCtrlZEndsTheData) {
    EXPECT_EQ(aa::PieceTextFromFileBytes(""), "");
    EXPECT_EQ(aa::PieceTextFromFileBytes("a\r\nb\x1A"
                                         "c\r\n"),
              "a\r\nb\r\n");
}

// A file whose every line ends in CR LF survives open-and-save byte for byte;
// one without a final line end gains exactly one.
TEST(AAPieceRoundTrip, SavedBackUnchangedOrWithOneFinalLineEnd) {
    const std::string shiftJisArt =
        "\x81\x40\x81\x40\x83\x5C\r\n"  // full-width spaces and ソ (trail 0x5C)
        "\x81\x7C\x81\x7C\r\n"          // －－ (trail 0x7C)
        "\r\n";
    EXPECT_EQ(aa::PieceFileBytes(aa::PieceTextFromFileBytes(shiftJisArt)), shiftJisArt);
    EXPECT_EQ(aa::PieceFileBytes(aa::PieceTextFromFileBytes("a\r\nb")), "a\r\nb\r\n");
}

}  // namespace
