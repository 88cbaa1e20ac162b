#include "text/Fold.h"

#include <cstdint>
#include <iterator>

namespace text {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The code point that starts at `pos`, and how many bytes it takes.
// Overlong forms, surrogates and values past U+10FFFF are not valid.
char32_t Decode(std::string_view s, std::size_t pos, std::size_t& length) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[pos + i]); };
    const unsigned char lead = byte(0);
    length = 1;
    if (lead < 0x80) {
        return lead;
    }
    std::size_t count;
    char32_t value;
    char32_t minimum;
    if (lead >= 0xC2 && lead <= 0xDF) {
        count = 2, value = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        count = 3, value = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        count = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        return kReplacement;
    }
    if (pos + count > s.size()) {
        return kReplacement;
    }
    for (std::size_t i = 1; i < count; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return kReplacement;
        }
        value = (value << 6) | (byte(i) & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return kReplacement;
    }
    length = count;
    return value;
}

void Encode(char32_t c, std::string& out) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Half-width katakana and punctuation U+FF61-FF9F, full-width. The two sound
// marks alone become the spacing marks ゛ and ゜, which is how a kaomoji's
// ﾟ eye reads.
constexpr char16_t kFullWidthOfHalfWidth[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9,
    0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB,
    0x30AD, 0x30AF, 0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1,
    0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5,
    0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9,
    0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C,
};
static_assert(std::size(kFullWidthOfHalfWidth) == 0xFF9F - 0xFF61 + 1);

// Small letter of a capital; anything else unchanged.
char32_t SmallLetter(char32_t c) {
    if (c < 0x80) {
        return c >= 'A' && c <= 'Z' ? c + 0x20 : c;
    }
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) {
        return c + 0x20;
    }
    if (c >= 0x100 && c <= 0x17F) {
        // Latin Extended-A pairs capital and small: even-odd, except the
        // runs that start one later.
        const bool oddCapitals = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) {
            return c;
        }
        if (c == 0x178) {
            return 0xFF;
        }
        return (c % 2 == 1) == oddCapitals ? c + 1 : c;
    }
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) {
        return c + 0x20;
    }
    if (c == 0x3C2) {  // final sigma
        return 0x3C3;
    }
    if (c >= 0x410 && c <= 0x42F) {
        return c + 0x20;
    }
    if (c >= 0x400 && c <= 0x40F) {
        return c + 0x50;
    }
    return c;
}

// The form every width and kana variant of `c` folds to, before case.
char32_t Canonical(char32_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E) {
        return c - 0xFEE0;
    }
    if (c == 0x3000) {
        return ' ';
    }
    if (c >= 0xFF61 && c <= 0xFF9F) {
        c = kFullWidthOfHalfWidth[c - 0xFF61];
    }
    if ((c >= 0x3041 && c <= 0x3096) || c == 0x309D || c == 0x309E) {
        return c + 0x60;
    }
    return c;
}

bool IsVoicedMark(char32_t c) {
    return c == 0xFF9E || c == 0x3099;
}
bool IsSemiVoicedMark(char32_t c) {
    return c == 0xFF9F || c == 0x309A;
}

// The katakana `kana` with the voiced (or semi-voiced) mark, or 0 when it
// has no such form.
char32_t WithMark(char32_t kana, bool semiVoiced) {
    const bool haToHo = kana >= 0x30CF && kana <= 0x30DB && (kana - 0x30CF) % 3 == 0;
    if (semiVoiced) {
        return haToHo ? kana + 2 : 0;
    }
    const bool kaToChi = kana >= 0x30AB && kana <= 0x30C1 && (kana - 0x30AB) % 2 == 0;
    const bool tsuToTo = kana == 0x30C4 || kana == 0x30C6 || kana == 0x30C8;
    if (kaToChi || tsuToTo || haToHo || kana == 0x30FD) {
        return kana + 1;
    }
    if (kana == 0x30A6) {
        return 0x30F4;
    }
    if (kana >= 0x30EF && kana <= 0x30F2) {
        return kana + 8;
    }
    return 0;
}

// The code point a search key stores for `c`.
char32_t KeyCodePoint(char32_t c) {
    if (c >= 0x3000 && c <= 0x30FF) {
        return c - 0x3000 + 0x700;
    }
    if (c >= 0x700 && c <= 0x7FF) {
        return c - 0x700 + 0x3000;
    }
    return c;
}

template <bool kKey>
void AppendFoldedAs(std::string_view utf8, std::string& out) {
    out.reserve(out.size() + utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const unsigned char byte = static_cast<unsigned char>(utf8[pos]);
        if (byte < 0x80) {  // most kaomoji are mostly ASCII
            out.push_back(static_cast<char>(SmallLetter(byte)));
            ++pos;
            continue;
        }
        std::size_t length;
        char32_t c = SmallLetter(Canonical(Decode(utf8, pos, length)));
        pos += length;
        if (pos < utf8.size()) {
            std::size_t markLength;
            const char32_t next = Decode(utf8, pos, markLength);
            if (IsVoicedMark(next) || IsSemiVoicedMark(next)) {
                if (const char32_t marked = WithMark(c, IsSemiVoicedMark(next))) {
                    c = marked;
                    pos += markLength;
                }
            }
        }
        Encode(kKey ? KeyCodePoint(c) : c, out);
    }
}

}  // namespace

void AppendFolded(std::string_view utf8, std::string& out) {
    AppendFoldedAs<false>(utf8, out);
}

void AppendSearchKey(std::string_view utf8, std::string& out) {
    AppendFoldedAs<true>(utf8, out);
}

}  // namespace text
