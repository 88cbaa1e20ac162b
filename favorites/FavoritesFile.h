// Reading and writing Favorite.txt. The file is opened without sharing and
// closed before each function returns; failures other than a load's open
// are thrown as win::FileError naming the file's full path.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "text/Encoding.h"

namespace favorites {

// Appends the entries of the file at `path` to `entries`, creating the file
// empty when it is missing, and returns the file's encoding. Nothing when the
// file can neither be opened nor created (another program holds it, no
// rights). A read error throws and leaves `entries` as it was.
std::optional<text::FileEncoding> LoadFavoritesFile(const std::wstring& path,
                                                    std::vector<std::string>& entries);

// Replaces the file with `entries` (in the file's encoding), keeping its
// byte-order mark and everything from its first Ctrl-Z on
// (favorites::PlanRewrite). The new contents are written beside it and
// moved over it, so on failure the old file is left whole.
void SaveFavoritesFile(const std::wstring& path, std::span<const std::string> entries);

// The bytes `entry` takes in a favourites file in `encoding`: a UTF-8 file
// holds every character (an NEC or IBM duplicate code as the character it
// shows); a Shift-JIS file holds a text only when it reads back as exactly
// that text. Nothing when a Shift-JIS file cannot hold it.
std::optional<std::string> FavoriteBytes(const text::EncodedText& entry, text::Encoding encoding);

// Why AddToFavoritesFile refused an entry: the file is in Shift-JIS, the new
// entry has no Shift-JIS form, and `entry`, already in the file, has no
// UTF-8 form that reads back as its bytes (an NEC or IBM duplicate code, an
// unmapped byte), so the file cannot become UTF-8 without changing it.
struct EntryCannotMove {
    std::string entry;  // its bytes, as the file holds them
};

// Adds `entry` (no LF, no Ctrl-Z) so that it loads as the last entry, as
// favorites::PlanAddition describes, in the file's encoding. A Shift-JIS
// file that cannot hold the entry becomes UTF-8 with a byte-order mark,
// written whole, when every entry it holds moves there exactly; otherwise
// EntryCannotMove is thrown and nothing is written. On any failure the file
// is left exactly as it was.
void AddToFavoritesFile(const std::wstring& path, const text::EncodedText& entry);

}  // namespace favorites
