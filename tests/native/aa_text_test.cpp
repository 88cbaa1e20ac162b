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

// Which encoding a piece file is read in, and the text without the mark.
TEST(AAPieceText, Utf8WithTheMarkOrValidWithoutItElseShiftJis) {
    using text::Encoding;
    const std::string mark = "\xEF\xBB\xBF";
    const std::string heart = "\xE2\x99\xA5";
    const struct {
        std::string bytes;
        text::EncodedText text;
    } kCases[] = {
        {mark, {"", Encoding::Utf8}},
        {mark + "a\nb", {"a\r\nb\r\n", Encoding::Utf8}},
        {mark + "\xFF\r\n", {"\xFF\r\n", Encoding::Utf8}},  // shown as U+FFFD
        {mark + mark, {mark + "\r\n", Encoding::Utf8}},     // only the first is the mark
        {heart + "\r\n" + heart, {heart + "\r\n" + heart + "\r\n", Encoding::Utf8}},
        {heart + "\x1A\xFF", {heart + "\r\n", Encoding::Utf8}},  // after Ctrl-Z: no text
        {heart + "\xFF", {heart + "\xFF\r\n", Encoding::ShiftJis}},
        {"\x83\x5C\r\n", {"\x83\x5C\r\n", Encoding::ShiftJis}},
        {"ascii", {"ascii\r\n", Encoding::ShiftJis}},
        {"", {"", Encoding::ShiftJis}},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(aa::PieceFromFileBytes(c.bytes), c.text) << c.bytes;
    }
}

TEST(AAPieceFile, AUtf8PieceBeginsWithTheMark) {
    const std::pair<text::EncodedText, std::string> kCases[] = {
        {{"a\nb", text::Encoding::Utf8},
         "\xEF\xBB\xBF"
         "a\r\nb"},
        {{"", text::Encoding::Utf8}, "\xEF\xBB\xBF"},
        {{"a\nb", text::Encoding::ShiftJis}, "a\r\nb"},
        {{"", text::Encoding::ShiftJis}, ""},
    };
    for (const auto& [text, bytes] : kCases) {
        EXPECT_EQ(aa::PieceFileBytes(text), bytes) << text.bytes;
    }
}

}  // namespace
