// File search and the few file-system operations Pelo uses directly.
#pragma once

#include <string>
#include <vector>

namespace win {

// Names (without folder) of every entry matching a pattern such as
// "AA\*.txt": files and folders, hidden ones too, in the system's order.
// Empty when nothing matches or the folder does not exist; any other failure
// throws FileError naming the pattern's full path.
std::vector<std::string> FindFileNames(const std::string& pattern);

// True when anything matches the pattern (the system's search: letter case
// ignored, folders count, '*' and '?' are wildcards).
bool AnythingMatches(const std::string& pattern);

// MoveFileA; throws FileError naming `from` on failure.
void RenameFile(const std::string& from, const std::string& to);
// DeleteFileA; throws FileError naming `path` on failure.
void RemoveFile(const std::string& path);
// CreateDirectoryA; the result is returned, not thrown.
bool CreateFolder(const std::string& path);

}  // namespace win
