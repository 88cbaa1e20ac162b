// Multibyte text rules shared by every part of Pelo.
//
// All text in Pelo is a byte string in the ANSI code page (Shift-JIS on a
// Japanese system). Scans step a character at a time so that a trail byte is
// never mistaken for a single-byte character: in CP932 the trail byte of
// many ordinary characters (ソ = 83 5C, － = 81 7C) equals '\' or '|'.
//
// The lead-byte test is injected so that this code needs no <windows.h>:
// the product passes the system's own test, native tests pass Cp932LeadByte.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace text {

using LeadByteTest = bool (*)(unsigned char);

// The lead-byte ranges of code page 932 (0x81-0x9F and 0xE0-0xFC).
bool Cp932LeadByte(unsigned char byte);

// No byte is a lead byte: the rule for UTF-8 wherever only single-byte
// characters matter (TAB, space, ASCII letters), as no byte of a longer
// UTF-8 character is below 0x80.
bool NoLeadByte(unsigned char byte);

// Length in bytes of the character that starts at `pos`: 2 for a lead byte
// followed by a trail byte, else 1. A lead byte at the very end counts as 1.
std::size_t CharLength(std::string_view s, std::size_t pos, LeadByteTest isLead);

// Single-byte white space as the C library's isspace sees it below 0x80:
// TAB, LF, VT, FF, CR and space. No byte of 0x80 or more is white space.
bool IsSingleByteSpace(unsigned char byte);

// Removes single-byte white space from both ends. Trailing white space is
// found by a forward scan, so a trail byte is never taken for a space.
std::string_view TrimSingleByteSpace(std::string_view s, LeadByteTest isLead);

}  // namespace text
