// File search and the few file-system operations Pelo uses directly. Paths
// are UTF-16, so that a name may hold characters the ANSI code page lacks.
#pragma once

#include <string>
#include <vector>

namespace win {

// Names (without folder) of every entry matching a pattern such as
// "AA\*.txt": files and folders, hidden ones too, in the system's order.
// Empty when nothing matches or the folder does not exist; any other failure
// throws FileError naming the pattern's full path.
std::vector<std::wstring> FindFileNames(const std::wstring& pattern);

// True when anything matches the pattern (the system's search: letter case
// ignored, folders count, '*' and '?' are wildcards).
bool AnythingMatches(const std::wstring& pattern);

// MoveFileW; throws FileError naming `from` on failure.
void RenameFile(const std::wstring& from, const std::wstring& to);
// DeleteFileW; throws FileError naming `path` on failure.
void RemoveFile(const std::wstring& path);
// CreateDirectoryW; the result is returned, not thrown.
bool CreateFolder(const std::wstring& path);

}  // namespace win
