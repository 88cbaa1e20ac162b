#include "favorites/FavoritesFile.h"

#include <windows.h>

#include "favorites/FavoritesFormat.h"
#include "win/FileError.h"
#include "win/TextFile.h"
#include "win/UniqueHandle.h"

namespace favorites {

namespace {

bool MoveTo(HANDLE file, LONGLONG position) {
    LARGE_INTEGER distance{};
    distance.QuadPart = position;
    return ::SetFilePointerEx(file, distance, nullptr, FILE_BEGIN) != FALSE;
}

// Writes `bytes` at the end of the file, which holds `oldLength` bytes, and
// flushes them. A failed write or flush cuts the file back, so a
// half-written entry never remains.
void AppendAtEnd(HANDLE file, std::string_view bytes, LONGLONG oldLength,
                 const std::string& fullPath) {
    if (!MoveTo(file, oldLength)) {
        win::ThrowLastError(fullPath);
    }
    try {
        win::WriteAll(file, bytes, fullPath);
        if (!::FlushFileBuffers(file)) {
            win::ThrowLastError(fullPath);
        }
    } catch (const win::FileError&) {
        // Best effort: the write's own error is the one to report.
        if (MoveTo(file, oldLength)) {
            ::SetEndOfFile(file);
        }
        throw;
    }
}

}  // namespace

bool LoadFavoritesFile(const std::string& path, std::vector<std::string>& entries) {
    auto file = win::TextFile::Open(
        path,
        {win::FileAccess::Read, win::FileCreation::CreateNoTruncate, win::FileSharing::Exclusive});
    if (!file) {
        return false;
    }
    std::string line;
    while (file->ReadLine(line)) {
        entries.push_back(line);
    }
    file->Close();
    return true;
}

void SaveFavoritesFile(const std::string& path, std::span<const std::string> entries) {
    const std::string fullPath = win::FullPathOrGiven(path);
    // What follows a Ctrl-Z is kept, so the file is read first; the
    // replacement needs it closed again.
    const std::string current = win::ReadToEnd(win::OpenForUpdate(path, fullPath).get(), fullPath);
    win::ReplaceFileContents(path, PlanRewrite(current, entries));
}

void AddToFavoritesFile(const std::string& path, std::string_view entry) {
    const std::string fullPath = win::FullPathOrGiven(path);
    // One open for reading and writing: the end of the file decides what is
    // written there, and nobody may change it in between.
    win::UniqueFile file = win::OpenForUpdate(path, fullPath);
    const std::string current = win::ReadToEnd(file.get(), fullPath);
    const FavoriteAddition addition = PlanAddition(current, entry);
    if (addition.kind == FavoriteAddition::Kind::Rewrite) {
        // The replacement needs the file closed; it leaves the old one whole
        // if it fails.
        file.reset();
        win::ReplaceFileContents(path, addition.bytes);
        return;
    }
    AppendAtEnd(file.get(), addition.bytes, static_cast<LONGLONG>(current.size()), fullPath);
    if (!::CloseHandle(file.release())) {
        win::ThrowLastError(fullPath);
    }
}

}  // namespace favorites
