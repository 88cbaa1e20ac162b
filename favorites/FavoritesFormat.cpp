#include "favorites/FavoritesFormat.h"

#include "text/Encoding.h"
#include "text/TextMode.h"

namespace favorites {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

bool IsAsciiUpper(char c) {
    return c >= 'A' && c <= 'Z';
}

char FoldAsciiLetter(char c) {
    return IsAsciiUpper(c) ? static_cast<char>(c - 'A' + 'a') : c;
}

// `entry` and its line end, preceded by a line end when `before` (the data
// the entry follows) is not empty and its last line is still open. A CR at
// the very end stays part of that last entry, so CR LF is added after it.
std::string EntryAfter(std::string_view before, std::string_view entry) {
    std::string bytes;
    if (!before.empty() && before.back() != '\n') {
        bytes += kLineEnd;
    }
    bytes += entry;
    bytes += kLineEnd;
    return bytes;
}

// The byte-order mark `bytes` begins with, or nothing.
std::string_view ByteOrderMarkOf(std::string_view bytes) {
    return bytes.starts_with(text::kUtf8ByteOrderMark) ? text::kUtf8ByteOrderMark
                                                       : std::string_view();
}

// Everything from the first Ctrl-Z on; nothing when there is none.
std::string_view TailFromCtrlZ(std::string_view bytes) {
    const std::size_t ctrlZ = bytes.find(text::kCtrlZ);
    return ctrlZ == std::string_view::npos ? std::string_view() : bytes.substr(ctrlZ);
}

}  // namespace

std::vector<std::string> ParseFavorites(std::string_view bytes) {
    return text::SplitTextModeLines(bytes.substr(ByteOrderMarkOf(bytes).size()));
}

std::string FormatFavorites(std::span<const std::string> entries) {
    std::size_t size = 0;
    for (const std::string& entry : entries) {
        size += entry.size() + kLineEnd.size();
    }
    std::string bytes;
    bytes.reserve(size);
    for (const std::string& entry : entries) {
        bytes += entry;
        bytes += kLineEnd;
    }
    return bytes;
}

std::string PlanRewrite(std::string_view current, std::span<const std::string> entries) {
    std::string bytes(ByteOrderMarkOf(current));
    bytes += FormatFavorites(entries);
    bytes += TailFromCtrlZ(current);
    return bytes;
}

std::string PlanConversionToUtf8(std::string_view current,
                                 std::span<const std::string> utf8Entries) {
    std::string bytes(text::kUtf8ByteOrderMark);
    bytes += FormatFavorites(utf8Entries);
    bytes += TailFromCtrlZ(current);
    return bytes;
}

bool IsSameFavorite(std::string_view a, std::string_view b, text::LeadByteTest isLead) {
    if (a.size() != b.size()) {
        return false;
    }
    // Both strings are stepped by the characters of `a`: wherever they still
    // agree, they have the same character boundaries.
    std::size_t pos = 0;
    while (pos < a.size()) {
        const std::size_t length = text::CharLength(a, pos, isLead);
        if (length == 1) {
            if (FoldAsciiLetter(a[pos]) != FoldAsciiLetter(b[pos])) {
                return false;
            }
        } else if (a.substr(pos, length) != b.substr(pos, length)) {
            return false;
        }
        pos += length;
    }
    return true;
}

bool ContainsFavorite(std::span<const std::string> entries, std::string_view candidate,
                      text::LeadByteTest isLead) {
    for (const std::string& entry : entries) {
        if (IsSameFavorite(entry, candidate, isLead)) {
            return true;
        }
    }
    return false;
}

FavoriteAddition PlanAddition(std::string_view current, std::string_view entry) {
    const std::string_view mark = ByteOrderMarkOf(current);
    const std::string_view text = current.substr(mark.size());
    const std::string_view tail = TailFromCtrlZ(text);
    if (tail.empty()) {
        return {FavoriteAddition::Kind::Append, EntryAfter(text, entry)};
    }
    const std::string_view loaded = text.substr(0, text.size() - tail.size());
    std::string bytes(mark);
    bytes += loaded;
    bytes += EntryAfter(loaded, entry);
    bytes += tail;
    return {FavoriteAddition::Kind::Rewrite, std::move(bytes)};
}

}  // namespace favorites
