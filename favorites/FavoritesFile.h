// Reading and writing Favorite.txt. The file is opened without sharing and
// closed before each function returns; failures other than a load's open
// are thrown as win::FileError naming the file's full path.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace favorites {

// Appends the entries of the file at `path` to `entries`, creating the file
// empty when it is missing. False when the file can neither be opened nor
// created (another program holds it, no rights). A read error throws and
// leaves in `entries` the lines read before it.
bool LoadFavoritesFile(const std::string& path, std::vector<std::string>& entries);

// Replaces the file with `entries`, keeping everything from its first Ctrl-Z
// on (favorites::PlanRewrite). The new contents are written beside it and
// moved over it, so on failure the old file is left whole.
void SaveFavoritesFile(const std::string& path, std::span<const std::string> entries);

// Adds `entry` (no LF, no Ctrl-Z) so that it loads as the last entry, as
// favorites::PlanAddition describes. Only bytes are added: on failure the
// file is left exactly as it was.
void AddToFavoritesFile(const std::string& path, std::string_view entry);

}  // namespace favorites
