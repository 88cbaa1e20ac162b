#include "win/TextFile.h"

#include <algorithm>
#include <atomic>
#include <cwchar>

#include "win/FileError.h"
#include "win/Strings.h"

namespace win {

namespace {

// Why the last Open on this thread failed (see TextFile::OpenError).
thread_local DWORD t_lastOpenError = NO_ERROR;

DWORD AccessFlags(FileAccess access) {
    return access == FileAccess::Read ? GENERIC_READ : GENERIC_WRITE;
}

DWORD CreationDisposition(FileCreation creation) {
    switch (creation) {
        case FileCreation::CreateNoTruncate:
            return OPEN_ALWAYS;
        case FileCreation::OpenExisting:
        default:
            return OPEN_EXISTING;
    }
}

DWORD ShareFlags(FileSharing sharing) {
    return sharing == FileSharing::Exclusive ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE;
}

// Another program (a virus scanner, an editor) may hold a file for a moment:
// repeats `attempt` a few times while it fails that way. On failure the last
// error is the attempt's. A move onto a held file may report a denied access
// rather than a sharing violation: `deniedMeansHeld` counts that too.
template <typename Attempt>
bool RetryWhileHeld(Attempt attempt, bool deniedMeansHeld) {
    constexpr int kAttempts = 10;
    constexpr DWORD kPauseMs = 50;
    for (int tries = 1;; ++tries) {
        if (attempt()) {
            return true;
        }
        const DWORD error = ::GetLastError();
        const bool held = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
                          (deniedMeansHeld && error == ERROR_ACCESS_DENIED);
        if (!held || tries == kAttempts) {
            ::SetLastError(error);
            return false;
        }
        ::Sleep(kPauseMs);
    }
}

// A read-only file is never changed. Checked before trying, because a file
// system may let a write or a move through anyway (Wine's does for root).
template <typename Path>
void RefuseReadOnly(DWORD attributes, const Path& fullPath) {
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        throw FileError::FromSystemError(ERROR_ACCESS_DENIED, fullPath);
    }
}

}  // namespace

[[noreturn]] void ThrowLastError(const std::wstring& fullPath) {
    throw FileError::FromSystemError(::GetLastError(), fullPath);
}

std::wstring FullPathOf(const std::wstring& path) {
    return GrowUntilFits<wchar_t>(
        [&](wchar_t* buffer, int capacity) {
            return ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(capacity), buffer, nullptr);
        },
        MAX_PATH);
}

std::wstring FullPathOrGiven(const std::wstring& path) {
    std::wstring full = FullPathOf(path);
    return full.empty() ? path : full;
}

std::optional<TextFile> TextFile::Open(const std::wstring& path, OpenOptions options) {
    UniqueFile file(::CreateFileW(
        path.c_str(), AccessFlags(options.access), ShareFlags(options.sharing), nullptr,
        CreationDisposition(options.creation), FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        t_lastOpenError = ::GetLastError();
        return std::nullopt;
    }
    t_lastOpenError = NO_ERROR;
    return TextFile(std::move(file), FullPathOrGiven(path));
}

FileError TextFile::OpenError(const std::wstring& path) {
    return FileError::FromSystemError(t_lastOpenError, FullPathOrGiven(path));
}

TextFile::TextFile(UniqueFile file, std::wstring fullPath)
    : m_file(std::move(file)), m_fullPath(std::move(fullPath)) {}

TextFile::TextFile(TextFile&&) noexcept = default;
TextFile& TextFile::operator=(TextFile&&) noexcept = default;
TextFile::~TextFile() = default;

std::string TextFile::ReadAll() {
    return ReadToEnd(m_file.get(), m_fullPath);
}

void TextFile::Close() {
    if (m_file && !::CloseHandle(m_file.release())) {
        ThrowLastError(m_fullPath);
    }
}

UniqueFile OpenForUpdate(const std::wstring& path, const std::wstring& fullPath) {
    RefuseReadOnly(::GetFileAttributesW(path.c_str()), fullPath);
    UniqueFile file;
    const bool opened = RetryWhileHeld(
        [&] {
            file.reset(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                     OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
            return static_cast<bool>(file);
        },
        false);
    if (!opened) {
        ThrowLastError(fullPath);
    }
    return file;
}

std::string ReadToEnd(HANDLE file, const std::wstring& fullPath) {
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

void WriteAll(HANDLE file, std::string_view bytes, const std::wstring& fullPath) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr)) {
            ThrowLastError(fullPath);
        }
        if (written == 0) {
            throw FileError(FileErrorCause::DiskFull, fullPath, ERROR_DISK_FULL);
        }
        bytes.remove_prefix(written);
    }
}

namespace {

// The attributes a user sets on a file and a replacement keeps.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// The \\?\ form of a full path, which the wide file functions take at any
// length: a temporary name longer than the file's own must not fail where
// the file itself fits.
std::wstring LongPathForm(const std::wstring& fullPath) {
    if (fullPath.starts_with(L"\\\\?\\")) {
        return fullPath;
    }
    if (fullPath.starts_with(L"\\\\")) {
        return L"\\\\?\\UNC\\" + fullPath.substr(2);
    }
    return L"\\\\?\\" + fullPath;
}

// The folder part of a full path, with its final backslash.
std::wstring FolderOf(const std::wstring& fullPath) {
    const std::size_t slash = fullPath.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : fullPath.substr(0, slash + 1);
}

// A temporary file that deletes itself unless Keep() is called.
class TemporaryFile {
public:
    explicit TemporaryFile(std::wstring path) : m_path(std::move(path)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!m_path.empty()) {
            ::DeleteFileW(m_path.c_str());
        }
    }
    const std::wstring& Path() const noexcept { return m_path; }
    void Keep() noexcept { m_path.clear(); }

private:
    std::wstring m_path;
};

// "~" and seven hex digits: no longer than "Favorite.txt" or most piece
// names, and a valid 8.3 name without extension, so that its short name is
// itself and no "*.txt" search matches it.
std::wstring TemporaryName() {
    static std::atomic<unsigned> counter{0};
    LARGE_INTEGER ticks{};
    ::QueryPerformanceCounter(&ticks);
    const unsigned long long mix =
        static_cast<unsigned long long>(ticks.QuadPart) * 2654435761u ^
        (static_cast<unsigned long long>(::GetCurrentProcessId()) << 20) ^ counter.fetch_add(1);
    wchar_t name[16];
    std::swprintf(name, 16, L"~%07x", static_cast<unsigned>(mix ^ (mix >> 32)) & 0xFFFFFFFu);
    return name;
}

// Creates a new temporary file in `folder`, trying a few names.
std::pair<UniqueFile, std::wstring> CreateTemporaryIn(const std::wstring& folder, DWORD attributes,
                                                      const std::wstring& target) {
    for (int attempt = 0;; ++attempt) {
        std::wstring path = folder + TemporaryName();
        UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      attributes, nullptr));
        if (file) {
            return {std::move(file), std::move(path)};
        }
        const DWORD error = ::GetLastError();
        if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || attempt >= 16) {
            throw FileError::FromSystemError(error, target);
        }
    }
}

}  // namespace

void ReplaceFileContents(const std::wstring& path, std::string_view bytes) {
    const std::wstring fullPath = FullPathOf(path);
    if (fullPath.empty()) {
        ThrowLastError(path);
    }
    const std::wstring target = LongPathForm(fullPath);
    const DWORD old = ::GetFileAttributesW(target.c_str());
    RefuseReadOnly(old, fullPath);
    const DWORD kept = old != INVALID_FILE_ATTRIBUTES ? old & kKeptAttributes : 0;

    auto created =
        CreateTemporaryIn(FolderOf(target), kept ? kept : FILE_ATTRIBUTE_NORMAL, fullPath);
    // Declared before the handle so that the handle is closed first and the
    // file can then be deleted.
    TemporaryFile temporary(std::move(created.second));
    UniqueFile file = std::move(created.first);
    WriteAll(file.get(), bytes, fullPath);
    if (!::FlushFileBuffers(file.get()) || !::CloseHandle(file.release())) {
        ThrowLastError(fullPath);
    }
    const bool moved = RetryWhileHeld(
        [&] {
            return ::MoveFileExW(temporary.Path().c_str(), target.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
        },
        true);
    if (!moved) {
        ThrowLastError(fullPath);
    }
    temporary.Keep();
}

}  // namespace win
