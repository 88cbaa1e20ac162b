// Reading and writing Favorite.txt. The file is opened without sharing and
// closed before each function returns; failures other than a load's open
// are thrown as win::FileError naming the file's full path.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace favorites {

// The entries of the file at `path`, which is created empty when missing.
// Nothing when the file can neither be opened nor created (another program
// holds it, no rights). A read error throws.
std::optional<std::vector<std::string>> LoadFavoritesFile(const std::string& path);

// Replaces the file with `entries`. The new contents are written beside it
// and moved over it, so on failure the old file is left whole.
void SaveFavoritesFile(const std::string& path, std::span<const std::string> entries);

// Adds `entry` (no LF, no Ctrl-Z) so that it loads as the last entry, as
// favorites::PlanAddition describes. Only bytes are added: on failure the
// file is left exactly as it was.
void AddToFavoritesFile(const std::string& path, std::string_view entry);

}  // namespace favorites
