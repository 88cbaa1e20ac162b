// Fuzzes the favourites file rules: whatever a file holds, loading, writing
// back and adding behave as the favourites page relies on.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "favorites/FavoritesFormat.h"
#include "text/Encoding.h"
#include "text/Mbcs.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// An entry as the dictionary list can hold it: no LF and no Ctrl-Z.
std::string AsEntry(std::string_view bytes) {
    std::string entry;
    for (char c : bytes) {
        if (c != '\n' && c != '\x1A') {
            entry.push_back(c);
        }
    }
    return entry;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // The first byte says where the file ends and the new entry begins.
    const std::size_t split = size == 0 ? 0 : std::min<std::size_t>(data[0], size - 1);
    const std::string_view file = input.substr(size == 0 ? 0 : 1, split);
    const std::string entry = AsEntry(input.substr(std::min(size, 1 + split)));

    // A loaded list writes back to bytes that load as the same list and end
    // in every byte the file held from its first Ctrl-Z on.
    const auto entries = favorites::ParseFavorites(file);
    const std::string rewritten = favorites::PlanRewrite(file, entries);
    Check(favorites::ParseFavorites(rewritten) == entries);
    const std::size_t ctrlZ = file.find('\x1A');
    Check(ctrlZ == std::string_view::npos || rewritten.ends_with(file.substr(ctrlZ)));

    // A file turned into UTF-8 loads as the entries it is given, behind its
    // byte-order mark, and keeps every byte from the first Ctrl-Z on.
    auto converted = entries;
    converted.push_back(entry);
    const std::string utf8 = favorites::PlanConversionToUtf8(file, converted);
    Check(utf8.starts_with(text::kUtf8ByteOrderMark));
    Check(favorites::ParseFavorites(utf8) == converted);
    Check(ctrlZ == std::string_view::npos || utf8.ends_with(file.substr(ctrlZ)));

    // The first bytes of a file say its encoding: an entry that would begin
    // the file (nothing before its first Ctrl-Z) with the UTF-8 byte-order
    // mark makes it UTF-8 with a mark. Only unmapped Shift-JIS bytes look so.
    const bool entryBeginsTheFile = file.substr(0, file.find('\x1A')).empty();
    if (entryBeginsTheFile && entry.starts_with(text::kUtf8ByteOrderMark)) {
        return 0;
    }

    // An addition keeps every entry and every byte, and loads the new entry last.
    const favorites::FavoriteAddition addition = favorites::PlanAddition(file, entry);
    const std::string after = addition.kind == favorites::FavoriteAddition::Kind::Append
                                  ? std::string(file) + addition.bytes
                                  : addition.bytes;
    auto expected = entries;
    expected.push_back(entry);
    Check(favorites::ParseFavorites(after) == expected);
    Check(after.size() >= file.size() + entry.size());

    // The duplicate test is symmetric and every text is its own duplicate.
    for (const auto& other : entries) {
        Check(favorites::IsSameFavorite(other, entry, text::Cp932LeadByte) ==
              favorites::IsSameFavorite(entry, other, text::Cp932LeadByte));
        Check(favorites::IsSameFavorite(other, other, text::Cp932LeadByte));
        Check(favorites::IsSameFavorite(other, entry, text::NoLeadByte) ==
              favorites::IsSameFavorite(entry, other, text::NoLeadByte));
    }
    return 0;
}
