// The conversions between an AA piece's editor text and its file bytes.
#include <gtest/gtest.h>

#include <string>

#include "aa/AAText.h"

namespace {

TEST(AAPieceFile, EveryLineEndIsWrittenAsCrLfAndNothingAdded) {
    const std::pair<std::string, std::string> kCases[] = {
        {"a\r\nb\r\n", "a\r\nb\r\n"}, {"a\nb", "a\r\nb"},           {"a\rb\r", "a\rb\r"},
        {"a\r\r\nb", "a\r\r\nb"},     {"\n\r\n\n", "\r\n\r\n\r\n"}, {"", ""}};
    for (const auto& [text, bytes] : kCases) {
        EXPECT_EQ(aa::PieceFileBytes(text), bytes) << text;
    }
}

// Every line read gets CR LF, the last one too; Ctrl-Z ends the data.
TEST(AAPieceText, EveryLineGetsCrLfUpToCtrlZ) {
    const std::pair<std::string, std::string> kCases[] = {
        {"a\nb\n", "a\r\nb\r\n"},
        {"\r\n\r\nx\r\n\r\n", "\r\n\r\nx\r\n\r\n"},
        {"a\rb", "a\rb\r\n"},
        {"", ""},
        {"a\r\nb\x1Azc\r\n", "a\r\nb\r\n"},
        {"\x81\x40\x83\x5C\r\n\x81\x7C\r\n", "\x81\x40\x83\x5C\r\n\x81\x7C\r\n"}};
    for (const auto& [bytes, text] : kCases) {
        EXPECT_EQ(aa::PieceTextFromFileBytes(bytes), text) << bytes;
    }
}

}  // namespace
