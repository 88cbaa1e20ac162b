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

constexpr char kFolder[] = "AA";

// True when both paths name one existing file, as two spellings of a name
// that differ only in letter case do.
bool NameTheSameFile(const std::string& a, const std::string& b) {
    const auto identify = [](const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
        win::UniqueFile file(
            ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
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

std::string CurrentFolder() {
    const DWORD size = ::GetCurrentDirectoryA(0, nullptr);
    std::string folder(size, '\0');
    const DWORD length = ::GetCurrentDirectoryA(size, folder.data());
    folder.resize(length < size ? length : 0);
    return folder;
}

}  // namespace

AAStore::AAStore() : AAStore(win::LoadString(IDS_AA_PATH)) {}

AAStore::AAStore(std::string pathFormat) : m_pathFormat(std::move(pathFormat)) {}

std::string AAStore::PathForTitle(const std::string& title) const {
    return aa::FormatPiecePath(m_pathFormat, title);
}

std::vector<std::string> AAStore::ListTitles() const {
    std::vector<std::string> titles;
    for (const std::string& name : win::FindFileNames(PathForTitle("*"))) {
        if (std::optional<std::string> title = aa::TitleFromFileName(name)) {
            titles.push_back(std::move(*title));
        }
    }
    return titles;
}

bool AAStore::IsUsableTitle(const std::string& title) const {
    const std::string fullPath =
        aa::JoinFolderPath(CurrentFolder(), PathForTitle(title), &win::SystemLeadByte);
    return aa::IsUsableTitle(title, fullPath.size(), &win::SystemLeadByte);
}

std::optional<std::string> AAStore::ReadPiece(const std::string& path) {
    std::optional<win::TextFile> file = win::TextFile::Open(path, {});
    if (!file) {
        return std::nullopt;
    }
    std::string text =
        aa::ReadPieceText([&file](std::string& line) { return file->ReadLine(line); });
    file->Close();
    return text;
}

void AAStore::WritePiece(const std::string& path, const std::string& text) {
    // A failed creation shows up as the write's own error.
    if (!win::AnythingMatches(kFolder)) {
        win::CreateFolder(kFolder);
    }
    win::ReplaceFileContents(path, aa::PieceFileBytes(text));
}

void AAStore::RenamePiece(const std::string& from, const std::string& to) {
    if (!NameTheSameFile(from, to)) {
        win::RenameFile(from, to);
        return;
    }
    // A change of letter case only. Some file systems take a move onto the
    // same file as done and keep the old spelling, so go through a name that
    // no "*.txt" search matches, not even by its short name.
    const std::string temporary = from + ".case";
    win::RenameFile(from, temporary);
    if (!::MoveFileA(temporary.c_str(), to.c_str())) {
        const DWORD error = ::GetLastError();
        ::MoveFileA(temporary.c_str(), from.c_str());
        throw win::FileError::FromSystemError(error, from);
    }
}

void AAStore::RemovePiece(const std::string& path) {
    win::RemoveFile(path);
}
