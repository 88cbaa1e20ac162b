#include "favorites/FavoritesFile.h"

#include <windows.h>

#include <algorithm>

#include "favorites/FavoritesFormat.h"
#include "win/FileError.h"
#include "win/TextFile.h"
#include "win/UniqueHandle.h"

namespace favorites {

namespace {

std::string FullPathOr(const std::string& path) {
    std::string full = win::FullPathOf(path);
    return full.empty() ? path : full;
}

[[noreturn]] void ThrowLastError(const std::string& fullPath) {
    throw win::FileError::FromSystemError(::GetLastError(), fullPath);
}

// Every byte from the current position to the end of the file.
std::string ReadToEnd(HANDLE file, const std::string& fullPath) {
    constexpr DWORD kChunk = 64 * 1024;
    std::string bytes;
    for (;;) {
        const std::size_t old = bytes.size();
        bytes.resize(old + kChunk);
        DWORD got = 0;
        if (!::ReadFile(file, bytes.data() + old, kChunk, &got, nullptr)) {
            ThrowLastError(fullPath);
        }
        bytes.resize(old + got);
        if (got == 0) {
            return bytes;
        }
    }
}

void WriteAll(HANDLE file, std::string_view bytes, const std::string& fullPath) {
    while (!bytes.empty()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr)) {
            ThrowLastError(fullPath);
        }
        if (written == 0) {
            throw win::FileError(win::FileErrorCause::DiskFull, fullPath, ERROR_DISK_FULL);
        }
        bytes.remove_prefix(written);
    }
}

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
        ThrowLastError(fullPath);
    }
    try {
        WriteAll(file, bytes, fullPath);
        if (!::FlushFileBuffers(file)) {
            ThrowLastError(fullPath);
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
    win::ReplaceFileContents(path, FormatFavorites(entries));
}

void AddToFavoritesFile(const std::string& path, std::string_view entry) {
    const std::string fullPath = FullPathOr(path);
    // Read and write access under one exclusive open: the end of the file
    // decides what is written there, and nobody may change it in between.
    win::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        ThrowLastError(fullPath);
    }
    const std::string current = ReadToEnd(file.get(), fullPath);
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
        ThrowLastError(fullPath);
    }
}

}  // namespace favorites
