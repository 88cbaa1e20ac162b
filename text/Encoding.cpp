#include "text/Encoding.h"

#include <cstdint>
#include <cstring>

#include "text/TextMode.h"

namespace text {
namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Eight bytes at a time while they are all ASCII: most of a kaomoji file is.
std::size_t SkipAscii(const unsigned char* bytes, std::size_t pos, std::size_t size) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    while (pos + 8 <= size) {
        std::uint64_t word;
        std::memcpy(&word, bytes + pos, sizeof word);
        if ((word & kHighBits) != 0) {
            break;
        }
        pos += 8;
    }
    while (pos < size && bytes[pos] < 0x80) {
        ++pos;
    }
    return pos;
}

// Length of the well-formed sequence at `pos` (Unicode's table 3-7), or 0.
std::size_t WellFormedLength(const unsigned char* s, std::size_t pos, std::size_t size) {
    const unsigned char first = s[pos];
    const std::size_t left = size - pos;
    // The range the second byte must lie in, by the first.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    std::size_t length;
    if (first >= 0xC2 && first <= 0xDF) {
        length = 2;
    } else if (first >= 0xE0 && first <= 0xEF) {
        length = 3;
        if (first == 0xE0) {
            low = 0xA0;  // no overlong form
        } else if (first == 0xED) {
            high = 0x9F;  // no surrogate half
        }
    } else if (first >= 0xF0 && first <= 0xF4) {
        length = 4;
        if (first == 0xF0) {
            low = 0x90;
        } else if (first == 0xF4) {
            high = 0x8F;  // nothing above U+10FFFF
        }
    } else {
        return 0;
    }
    if (left < length || s[pos + 1] < low || s[pos + 1] > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (!IsContinuation(s[pos + i])) {
            return 0;
        }
    }
    return length;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    std::size_t pos = SkipAscii(bytes, 0, size);
    while (pos < size) {
        const unsigned char first = bytes[pos];
        if (first < 0x80) {
            ++pos;
            continue;
        }
        // Kana and kanji first, inline: three bytes whose second may be any
        // continuation byte (all of E1-EF but E0 and ED), both tested at once.
        if (first >= 0xE1 && first <= 0xEF && first != 0xED && pos + 2 < size) {
            std::uint16_t next;
            std::memcpy(&next, bytes + pos + 1, sizeof next);
            if ((next & 0xC0C0) != 0x8080) {  // the same in either byte order
                return false;
            }
            pos += 3;
            continue;
        }
        const std::size_t length = WellFormedLength(bytes, pos, size);
        if (length == 0) {
            return false;
        }
        pos += length;
    }
    return true;
}

FileEncoding DetectEncoding(std::string_view bytes) {
    if (bytes.starts_with(kUtf8ByteOrderMark)) {
        return {Encoding::Utf8, true};
    }
    const std::string_view data = bytes.substr(0, bytes.find(kCtrlZ));
    const auto* begin = reinterpret_cast<const unsigned char*>(data.data());
    const bool allAscii = SkipAscii(begin, 0, data.size()) == data.size();
    if (!allAscii && IsValidUtf8(data)) {
        return {Encoding::Utf8, false};
    }
    return {Encoding::ShiftJis, false};
}

std::string_view WithoutByteOrderMark(std::string_view bytes, FileEncoding encoding) {
    if (encoding.byteOrderMark && bytes.starts_with(kUtf8ByteOrderMark)) {
        bytes.remove_prefix(kUtf8ByteOrderMark.size());
    }
    return bytes;
}

std::size_t Utf8CharLength(std::string_view s, std::size_t pos) {
    const std::size_t length =
        WellFormedLength(reinterpret_cast<const unsigned char*>(s.data()), pos, s.size());
    return length == 0 ? 1 : length;
}

}  // namespace text
