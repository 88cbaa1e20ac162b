#include "win/FileSystem.h"

#include <windows.h>

#include <cwchar>

#include "win/FileError.h"
#include "win/TextFile.h"
#include "win/UniqueHandle.h"

namespace win {

namespace {

bool IsDotEntry(const wchar_t* name) {
    return std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0;
}

}  // namespace

std::vector<std::wstring> FindFileNames(const std::wstring& pattern) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    UniqueFind find(::FindFirstFileW(pattern.c_str(), &data));
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
    } while (::FindNextFileW(find.get(), &data));
    return names;
}

bool AnythingMatches(const std::wstring& pattern) {
    WIN32_FIND_DATAW data;
    UniqueFind find(::FindFirstFileW(pattern.c_str(), &data));
    return static_cast<bool>(find);
}

void RenameFile(const std::wstring& from, const std::wstring& to) {
    if (!::MoveFileW(from.c_str(), to.c_str())) {
        throw FileError::FromSystemError(::GetLastError(), from);
    }
}

void RemoveFile(const std::wstring& path) {
    if (!::DeleteFileW(path.c_str())) {
        throw FileError::FromSystemError(::GetLastError(), path);
    }
}

bool CreateFolder(const std::wstring& path) {
    return ::CreateDirectoryW(path.c_str(), nullptr) != FALSE;
}

}  // namespace win
