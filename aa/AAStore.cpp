#include "aa/AAStore.h"

#include <windows.h>

#include "aa/AAText.h"
#include "aa/AATitle.h"
#include "aa/ResourceIds.h"
#include "win/FileError.h"
#include "win/FileSystem.h"
#include "win/Strings.h"
#include "win/TextFile.h"
#include "win/UniqueHandle.h"

namespace {

constexpr wchar_t kFolder[] = L"AA";

// True when both paths name one existing file, as two spellings of a name
// that differ only in letter case do.
bool NameTheSameFile(const std::wstring& a, const std::wstring& b) {
    const auto identify = [](const std::wstring& path, BY_HANDLE_FILE_INFORMATION& info) {
        win::UniqueFile file(
            ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        return file && ::GetFileInformationByHandle(file.get(), &info);
    };
    BY_HANDLE_FILE_INFORMATION first{};
    BY_HANDLE_FILE_INFORMATION second{};
    return identify(a, first) && identify(b, second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh &&
           first.nFileIndexLow == second.nFileIndexLow;
}

// The current folder as `get` (GetCurrentDirectoryA or W) gives it.
template <typename Char, typename Get>
std::basic_string<Char> CurrentFolder(Get get) {
    const DWORD size = get(0, nullptr);
    std::basic_string<Char> folder(size, Char());
    const DWORD length = get(size, folder.data());
    folder.resize(length < size ? length : 0);
    return folder;
}

}  // namespace

AAStore::AAStore() : AAStore(win::LoadString(IDS_AA_PATH)) {}

AAStore::AAStore(const std::string& pathFormat) : m_pathFormat(win::AnsiToWide(pathFormat)) {}

std::wstring AAStore::PathForTitle(const std::wstring& title) const {
    return aa::FormatPiecePath(m_pathFormat, title);
}

std::vector<std::wstring> AAStore::ListTitles() const {
    std::vector<std::wstring> titles;
    for (const std::wstring& name : win::FindFileNames(PathForTitle(L"*"))) {
        if (std::optional<std::wstring> title = aa::TitleFromFileName(name)) {
            titles.push_back(std::move(*title));
        }
    }
    return titles;
}

bool AAStore::IsUsableTitle(const std::wstring& title) const {
    const std::wstring fullPath =
        aa::JoinFolderPath(CurrentFolder<wchar_t>(&::GetCurrentDirectoryW), PathForTitle(title));
    const std::optional<std::string> ansiTitle = win::WideToAnsiExactly(title);
    if (!ansiTitle) {
        return aa::IsUsableTitle(title, fullPath.size());
    }
    // A title the code page holds keeps its rules in bytes; its path must fit
    // in units as well, where the folder's name holds what the code page lacks.
    const std::string ansiFullPath =
        aa::JoinFolderPath(CurrentFolder<char>(&::GetCurrentDirectoryA),
                           win::WideToAnsi(PathForTitle(title)), &win::SystemLeadByte);
    return aa::IsUsableTitle(*ansiTitle, ansiFullPath.size(), &win::SystemLeadByte) &&
           fullPath.size() < aa::kMaxPath;
}

std::optional<text::EncodedText> AAStore::ReadPiece(const std::wstring& path) {
    std::optional<win::TextFile> file = win::TextFile::Open(path, {});
    if (!file) {
        return std::nullopt;
    }
    // The whole file first: its encoding is known only once all of it is seen.
    const std::string bytes = file->ReadAll();
    file->Close();
    return aa::PieceFromFileBytes(bytes);
}

void AAStore::WritePiece(const std::wstring& path, const text::EncodedText& text) {
    // A failed creation shows up as the write's own error.
    if (!win::AnythingMatches(kFolder)) {
        win::CreateFolder(kFolder);
    }
    win::ReplaceFileContents(path, aa::PieceFileBytes(text));
}

void AAStore::RenamePiece(const std::wstring& from, const std::wstring& to) {
    if (!NameTheSameFile(from, to)) {
        win::RenameFile(from, to);
        return;
    }
    // A change of letter case only. Some file systems take a move onto the
    // same file as done and keep the old spelling, so go through a name that
    // no "*.txt" search matches, not even by its short name.
    const std::wstring temporary = from + L".case";
    win::RenameFile(from, temporary);
    if (!::MoveFileW(temporary.c_str(), to.c_str())) {
        const DWORD error = ::GetLastError();
        ::MoveFileW(temporary.c_str(), from.c_str());
        throw win::FileError::FromSystemError(error, from);
    }
}

void AAStore::RemovePiece(const std::wstring& path) {
    win::RemoveFile(path);
}
