#include "text/Mbcs.h"

namespace text {

bool Cp932LeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool NoLeadByte(unsigned char) {
    return false;
}

std::size_t CharLength(std::string_view s, std::size_t pos, LeadByteTest isLead) {
    if (pos + 1 < s.size() && isLead(static_cast<unsigned char>(s[pos]))) {
        return 2;
    }
    return 1;
}

bool IsSingleByteSpace(unsigned char byte) {
    return byte == ' ' || (byte >= '\t' && byte <= '\r');
}

std::string_view TrimSingleByteSpace(std::string_view s, LeadByteTest isLead) {
    std::size_t begin = 0;
    while (begin < s.size() && IsSingleByteSpace(static_cast<unsigned char>(s[begin]))) {
        ++begin;
    }
    // Walk forward remembering where the last non-space character ends.
    std::size_t end = begin;
    for (std::size_t pos = begin; pos < s.size();) {
        const std::size_t len = CharLength(s, pos, isLead);
        if (len == 2 || !IsSingleByteSpace(static_cast<unsigned char>(s[pos]))) {
            end = pos + len;
        }
        pos += len;
    }
    return s.substr(begin, end - begin);
}

}  // namespace text
