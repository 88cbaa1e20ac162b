// The encoding guess: a Shift-JIS file must never be taken for UTF-8, and a
// file saved by today's editors as UTF-8 must be.
#include "text/Encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using text::Encoding;
using text::FileEncoding;

constexpr FileEncoding kShiftJis{Encoding::ShiftJis, false};
constexpr FileEncoding kUtf8{Encoding::Utf8, false};
constexpr FileEncoding kUtf8Bom{Encoding::Utf8, true};

TEST(Encoding, Guess) {
    const struct {
        const char* what;
        std::string bytes;
        FileEncoding expected;
    } kCases[] = {
        {"empty", "", kShiftJis},
        {"ASCII only", "smile\t(^_^)\r\n", kShiftJis},
        {"Shift-JIS kana", "\x82\xA0\x82\xA2\t(^_^)\r\n", kShiftJis},
        {"Shift-JIS half-width kana", "\xB6\xDE\x83\x5C", kShiftJis},
        {"UTF-8 without the mark", "\xE3\x81\x82\t(^_^)\r\n", kUtf8},
        {"UTF-8 heart", "\xE2\x99\xA5", kUtf8},
        {"four-byte character", "\xF0\x9F\x98\x80", kUtf8},
        {"the mark alone", "\xEF\xBB\xBF", kUtf8Bom},
        {"the mark then ASCII",
         "\xEF\xBB\xBF"
         "a\r\n",
         kUtf8Bom},
        {"the mark then invalid bytes", "\xEF\xBB\xBF\x82\xA0", kUtf8Bom},
        {"UTF-8 with one invalid byte", "\xE3\x81\x82\x82", kShiftJis},
        {"UTF-8 cut short at the end", "\xE3\x81\x82\xE3\x81", kShiftJis},
        {"overlong form", "\xC0\xAF", kShiftJis},
        {"overlong three-byte form", "\xE0\x80\xAF", kShiftJis},
        {"surrogate half", "\xED\xA0\x80", kShiftJis},
        {"above U+10FFFF", "\xF4\x90\x80\x80", kShiftJis},
        {"the mark not at the start", "a\xEF\xBB\xBF", kUtf8},
        {"UTF-8 before a Ctrl-Z, anything after it", "\xE3\x81\x82\x1A\x82", kUtf8},
        {"ASCII before a Ctrl-Z", "abc\x1A\xE3\x81\x82", kShiftJis},
        // Long ASCII runs are skipped eight bytes at a time: a byte past them counts.
        {"UTF-8 after a long ASCII run", std::string(17, 'a') + "\xC3\xA9", kUtf8},
        {"invalid after a long ASCII run", std::string(17, 'a') + "\xC3", kShiftJis},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(text::DetectEncoding(c.bytes), c.expected) << c.what;
    }
}

// The shortest Shift-JIS texts that are also valid UTF-8: two half-width
// kana, the first of ﾂ..ﾟ (0xC2-0xDF) and the second of ｡..ｿ (0xA1-0xBF), with
// nothing else of 0x80 or more in the file. Any other Japanese character
// beside them makes the file invalid UTF-8 again.
TEST(Encoding, ShortestShiftJisTakenForUtf8) {
    EXPECT_EQ(text::DetectEncoding("\xC3\xBD"), kUtf8);              // ﾃｽ, or ý
    EXPECT_EQ(text::DetectEncoding("\xC3\xBD\x82\xA0"), kShiftJis);  // ﾃｽあ
    EXPECT_EQ(text::DetectEncoding("\xB1\xB2"), kShiftJis);          // ｱｲ
}

TEST(Encoding, WithoutByteOrderMark) {
    EXPECT_EQ(text::WithoutByteOrderMark("\xEF\xBB\xBF"
                                         "a",
                                         kUtf8Bom),
              "a");
    EXPECT_EQ(text::WithoutByteOrderMark("\xEF\xBB\xBF", kUtf8Bom), "");
    EXPECT_EQ(text::WithoutByteOrderMark("\xE3\x81\x82", kUtf8), "\xE3\x81\x82");
}

TEST(Encoding, Utf8CharacterLength) {
    const std::string s = "a\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80\x80\xE3\x81";
    const std::size_t kLengths[][2] = {{0, 1}, {1, 2}, {3, 3}, {6, 4}, {10, 1}, {11, 1}, {12, 1}};
    for (const auto& [pos, length] : kLengths) {
        EXPECT_EQ(text::Utf8CharLength(s, pos), length) << pos;
    }
}

}  // namespace
