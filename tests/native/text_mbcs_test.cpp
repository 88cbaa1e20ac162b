// Multibyte scanning: trail bytes that equal ASCII characters must never be
// taken for them.
#include "text/Mbcs.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using text::Cp932LeadByte;

TEST(Mbcs, LeadBytesAndCharacterLength) {
    for (int b : {0x00, 0x5C, 0x7F, 0x80, 0xA0, 0xB1, 0xDF, 0xFD, 0xFF}) {
        EXPECT_FALSE(Cp932LeadByte(static_cast<unsigned char>(b))) << b;
    }
    for (int b : {0x81, 0x9F, 0xE0, 0xFC}) {
        EXPECT_TRUE(Cp932LeadByte(static_cast<unsigned char>(b))) << b;
    }
    const std::string s = "a\x83\x5C\x82";  // a, ソ, a lead byte at the very end
    EXPECT_EQ(text::CharLength(s, 0, Cp932LeadByte), 1u);
    EXPECT_EQ(text::CharLength(s, 1, Cp932LeadByte), 2u);
    EXPECT_EQ(text::CharLength(s, 3, Cp932LeadByte), 1u);
}

TEST(Mbcs, TrimRemovesOnlySingleByteSpace) {
    const struct {
        std::string in, out;
    } kCases[] = {
        {" \t\n\v\f\rabc \t\r\n", "abc"},
        {"a b", "a b"},
        {"\x83\x5C ", "\x83\x5C"},                     // a trail byte 0x5C
        {"\x82\x20", "\x82\x20"},    // a trail byte 0x20 is no space
        {" a\x82", "a\x82"},         // a lone lead byte at the end stays
        {"\xA0\x85", "\xA0\x85"},    // no byte of 0x80 or more is a space
        {"\x08x\x0E", "\x08x\x0E"},  // nor those just outside TAB..CR
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(text::TrimSingleByteSpace(c.in, Cp932LeadByte), c.out) << c.in;
    }
}

}  // namespace
