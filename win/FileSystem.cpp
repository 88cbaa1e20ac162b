#include "win/FileSystem.h"

#include <windows.h>

#include <cstring>

#include "win/FileError.h"
#include "win/TextFile.h"
#include "win/UniqueHandle.h"

namespace win {

namespace {

bool IsDotEntry(const char* name) {
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

}  // namespace

std::vector<std::string> FindFileNames(const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    UniqueFind find(::FindFirstFileA(pattern.c_str(), &data));
    if (!find) {
        // No match and no folder both mean nothing to list; anything else (a
        // file where the folder should be, a name too long) is the user's to know.
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return names;
        }
        throw FileError::FromSystemError(error, FullPathOrGiven(pattern));
    }
    do {
        // "." and ".." name the folder itself and its parent, not entries.
        if (!IsDotEntry(data.cFileName)) {
            names.emplace_back(data.cFileName);
        }
    } while (::FindNextFileA(find.get(), &data));
    return names;
}

bool AnythingMatches(const std::string& pattern) {
    WIN32_FIND_DATAA data;
    UniqueFind find(::FindFirstFileA(pattern.c_str(), &data));
    return static_cast<bool>(find);
}

void RenameFile(const std::string& from, const std::string& to) {
    if (!::MoveFileA(from.c_str(), to.c_str())) {
        throw FileError::FromSystemError(::GetLastError(), from);
    }
}

void RemoveFile(const std::string& path) {
    if (!::DeleteFileA(path.c_str())) {
        throw FileError::FromSystemError(::GetLastError(), path);
    }
}

bool CreateFolder(const std::string& path) {
    return ::CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

}  // namespace win
