// Multibyte scanning: trail bytes that equal ASCII characters must never be
// taken for them.
#include "text/Mbcs.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using text::Cp932LeadByte;

// CP932 characters whose trail byte is '\' (0x5C) or '|' (0x7C).
const std::string kSo = "\x83\x5C";         // ソ
const std::string kMinus = "\x81\x7C";      // －
const std::string kIdeoSpace = "\x81\x40";  // the ideographic space

std::string Trim(const std::string& s) {
    return std::string(text::TrimSingleByteSpace(s, Cp932LeadByte));
}

TEST(Mbcs, LeadByteRanges) {
    for (int b = 0; b < 256; ++b) {
        const bool expected = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        EXPECT_EQ(Cp932LeadByte(static_cast<unsigned char>(b)), expected) << "byte " << b;
    }
}

TEST(Mbcs, CharLength) {
    const std::string s = "a" + kSo + "\x82";
    EXPECT_EQ(text::CharLength(s, 0, Cp932LeadByte), 1u);
    EXPECT_EQ(text::CharLength(s, 1, Cp932LeadByte), 2u);
    EXPECT_EQ(text::CharLength(s, 3, Cp932LeadByte), 1u) << "a lead byte at the very end";
    EXPECT_EQ(text::CharLength("\xB1", 0, Cp932LeadByte), 1u) << "half-width katakana";
}

TEST(Mbcs, SingleByteSpace) {
    for (int b = 0; b < 256; ++b) {
        const bool expected = b == ' ' || (b >= '\t' && b <= '\r');
        EXPECT_EQ(text::IsSingleByteSpace(static_cast<unsigned char>(b)), expected) << b;
    }
}

TEST(Mbcs, TrimRemovesOnlySingleByteSpace) {
    EXPECT_EQ(Trim(" \t\n\v\f\rabc \t\r\n"), "abc");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Trim(""), "");
    EXPECT_EQ(Trim("a b"), "a b");
    EXPECT_EQ(Trim(kIdeoSpace), kIdeoSpace) << "the ideographic space is never trimmed";
    EXPECT_EQ(Trim(" " + kIdeoSpace + "x" + kIdeoSpace + " "), kIdeoSpace + "x" + kIdeoSpace);
}

TEST(Mbcs, TrimKeepsTrailBytes) {
    EXPECT_EQ(Trim(kSo + " "), kSo);
    EXPECT_EQ(Trim("  " + kMinus + "\t"), kMinus);
    EXPECT_EQ(Trim(" a\x82"), "a\x82") << "a lone lead byte at the end stays";
}

}  // namespace
