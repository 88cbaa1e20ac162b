// The favourites file, Favorite.txt, and the favourites' duplicate test,
// independent of any file or window API.
//
// The file holds one entry per line in list order, with no header and no
// escaping, in Shift-JIS (the ANSI code page) or in UTF-8, as
// text::DetectEncoding tells; a byte-order mark at its start is not part of
// the first entry, and a rewrite keeps it. It is read in text mode (text/TextMode.h):
// CR LF and a lone LF end a line, a CR before anything else stays in the
// entry, Ctrl-Z ends the data, and the last line needs no line end. It is
// written with CR LF after every entry, the last one included, so an empty
// list is an empty file.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "text/Mbcs.h"

namespace favorites {

// The file's name, resolved against the current directory.
inline constexpr wchar_t kFileName[] = L"Favorite.txt";

// The entries a file holding `bytes` loads as: the text-mode lines of its
// text, after the byte-order mark where it has one.
std::vector<std::string> ParseFavorites(std::string_view bytes);

// The bytes a list of `entries` is written as. No entry may hold an LF.
std::string FormatFavorites(std::span<const std::string> entries);

// The bytes a move or delete writes over a file that holds `current`:
// its byte-order mark if it has one, `entries` formatted, then everything
// from the first Ctrl-Z of `current` on, unchanged. Those bytes are not
// entries, but they are the user's.
std::string PlanRewrite(std::string_view current, std::span<const std::string> entries);

// The bytes that turn a Shift-JIS file holding `current` into UTF-8: the
// byte-order mark (so that no later guess can take it for anything else),
// `utf8Entries` (its entries converted, then the new one) formatted, then
// everything from its first Ctrl-Z on, unchanged.
std::string PlanConversionToUtf8(std::string_view current,
                                 std::span<const std::string> utf8Entries);

// True when `a` and `b` (in one encoding) are the same kaomoji for the
// duplicate test: equal byte for byte, except that single-byte ASCII letters
// match whatever their case. The trail byte of a double-byte character is
// never folded (0x83 0x41 and 0x83 0x61 are different characters), and
// double-byte letters (full-width Latin, Greek, Cyrillic) compare exactly: ω
// and Ω make different kaomoji. UTF-8 texts compare with text::NoLeadByte:
// their letters beyond ASCII are bytes of 0x80 or more, compared exactly.
bool IsSameFavorite(std::string_view a, std::string_view b, text::LeadByteTest isLead);

// True when some entry of `entries` is the same kaomoji as `candidate`.
bool ContainsFavorite(std::span<const std::string> entries, std::string_view candidate,
                      text::LeadByteTest isLead);

// How to add `entry` to a file that holds `current`, so that the file then
// loads as before plus `entry` as the last entry and no byte of it is lost:
//  - Append: write `bytes` at the end of the file. When the last line lacks
//    its line end, `bytes` starts with CR LF, so the new entry is not glued
//    onto it.
//  - Rewrite: replace the whole file with `bytes`. Used when the file holds
//    a Ctrl-Z, after which an appended entry would never load: the entry is
//    inserted before the first Ctrl-Z and everything from there on is kept.
// `entry` holds neither LF nor Ctrl-Z, and is in the file's encoding. A file
// that is nothing but a byte-order mark has no open last line. An entry that
// begins the file and with the bytes of the UTF-8 mark (unmapped in
// Shift-JIS) makes the file read as UTF-8, that mark no part of it.
struct FavoriteAddition {
    enum class Kind { Append, Rewrite };
    Kind kind;
    std::string bytes;
};
FavoriteAddition PlanAddition(std::string_view current, std::string_view entry);

}  // namespace favorites
