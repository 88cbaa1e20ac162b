#include "win/TextFile.h"

#include <algorithm>
#include <atomic>

#include "win/FileError.h"
#include "win/Strings.h"

namespace win {

namespace {

thread_local DWORD t_lastOpenError = NO_ERROR;

DWORD AccessFlags(FileAccess access) {
    return access == FileAccess::Read ? GENERIC_READ : GENERIC_WRITE;
}

DWORD CreationDisposition(FileCreation creation) {
    switch (creation) {
        case FileCreation::CreateNoTruncate:
            return OPEN_ALWAYS;
        case FileCreation::CreateTruncate:
            return CREATE_ALWAYS;
        case FileCreation::OpenExisting:
        default:
            return OPEN_EXISTING;
    }
}

DWORD ShareFlags(FileSharing sharing) {
    return sharing == FileSharing::Exclusive ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE;
}

[[noreturn]] void ThrowLastError(const std::string& path) {
    throw FileError::FromSystemError(::GetLastError(), path);
}

// Writes every byte or throws; a short write without an error means the
// disk is full.
void WriteAll(HANDLE file, std::string_view bytes, const std::string& path) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr)) {
            ThrowLastError(path);
        }
        if (written == 0) {
            throw FileError(FileErrorCause::DiskFull, path, ERROR_DISK_FULL);
        }
        bytes.remove_prefix(written);
    }
}

}  // namespace

std::string FullPathOf(const std::string& path) {
    return GrowUntilFits<char>(
        [&](char* buffer, int capacity) {
            return ::GetFullPathNameA(path.c_str(), static_cast<DWORD>(capacity), buffer, nullptr);
        },
        MAX_PATH);
}

// Feeds the line reader from the file handle; a failed read throws.
class TextFile::HandleSource final : public text::ByteSource {
public:
    HandleSource(HANDLE file, std::string path) : m_file(file), m_path(std::move(path)) {}

    std::size_t Read(char* buffer, std::size_t size) override {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        if (!::ReadFile(m_file, buffer, want, &got, nullptr)) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_HANDLE_EOF || error == ERROR_BROKEN_PIPE) {
                return 0;
            }
            throw FileError::FromSystemError(error, m_path);
        }
        return got;
    }

private:
    HANDLE m_file;
    std::string m_path;
};

std::optional<TextFile> TextFile::Open(const std::string& path, OpenOptions options) {
    UniqueFile file(::CreateFileA(
        path.c_str(), AccessFlags(options.access), ShareFlags(options.sharing), nullptr,
        CreationDisposition(options.creation), FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        t_lastOpenError = ::GetLastError();
        return std::nullopt;
    }
    t_lastOpenError = NO_ERROR;
    std::string fullPath = FullPathOf(path);
    return TextFile(std::move(file), fullPath.empty() ? path : std::move(fullPath));
}

DWORD TextFile::LastOpenError() noexcept {
    return t_lastOpenError;
}

TextFile::TextFile(UniqueFile file, std::string fullPath)
    : m_file(std::move(file)), m_fullPath(std::move(fullPath)) {}

TextFile::TextFile(TextFile&&) noexcept = default;
TextFile& TextFile::operator=(TextFile&&) noexcept = default;
TextFile::~TextFile() = default;

bool TextFile::ReadLine(std::string& line) {
    if (!m_reader) {
        m_source = std::make_unique<HandleSource>(m_file.get(), m_fullPath);
        m_reader = std::make_unique<text::LineReader>(*m_source);
    }
    return m_reader->ReadLine(line);
}

void TextFile::Write(std::string_view text) {
    WriteRaw(text::ToTextModeBytes(text));
}

void TextFile::WriteRaw(std::string_view bytes) {
    WriteAll(m_file.get(), bytes, m_fullPath);
}

void TextFile::SeekToEnd() {
    // Bytes the reader has buffered belong to the old position.
    m_reader.reset();
    m_source.reset();
    LARGE_INTEGER zero{};
    if (!::SetFilePointerEx(m_file.get(), zero, nullptr, FILE_END)) {
        ThrowLastError(m_fullPath);
    }
}

ULONGLONG TextFile::Length() const {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(m_file.get(), &size)) {
        ThrowLastError(m_fullPath);
    }
    return static_cast<ULONGLONG>(size.QuadPart);
}

void TextFile::SetLength(ULONGLONG length) {
    m_reader.reset();
    m_source.reset();
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(length);
    if (!::SetFilePointerEx(m_file.get(), position, nullptr, FILE_BEGIN) ||
        !::SetEndOfFile(m_file.get())) {
        ThrowLastError(m_fullPath);
    }
}

void TextFile::Flush() {
    if (!::FlushFileBuffers(m_file.get())) {
        ThrowLastError(m_fullPath);
    }
}

void TextFile::Close() {
    m_reader.reset();
    m_source.reset();
    if (m_file && !::CloseHandle(m_file.release())) {
        ThrowLastError(m_fullPath);
    }
}

namespace {

// The wide folder part of a full path, with its final backslash.
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

// A name that no "*.txt" search can match, by long or by 8.3 name: the
// extension is ".tmp" and the short name keeps it.
std::wstring TemporaryName() {
    static std::atomic<unsigned> counter{0};
    LARGE_INTEGER ticks{};
    ::QueryPerformanceCounter(&ticks);
    const unsigned long long mix =
        static_cast<unsigned long long>(ticks.QuadPart) * 2654435761u ^
        (static_cast<unsigned long long>(::GetCurrentProcessId()) << 20) ^ counter.fetch_add(1);
    wchar_t name[40];
    swprintf(name, 40, L"~pelo%08x.tmp", static_cast<unsigned>(mix ^ (mix >> 32)));
    return name;
}

// Creates a new temporary file in `folder`, trying a few names.
std::pair<UniqueFile, std::wstring> CreateTemporaryIn(const std::wstring& folder,
                                                      const std::string& target) {
    for (int attempt = 0;; ++attempt) {
        std::wstring path = folder + TemporaryName();
        UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) {
            return {std::move(file), std::move(path)};
        }
        const DWORD error = ::GetLastError();
        if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || attempt >= 16) {
            throw FileError::FromSystemError(error, target);
        }
    }
}

bool IsTransientMoveError(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
           error == ERROR_LOCK_VIOLATION;
}

}  // namespace

void ReplaceFileContents(const std::string& path, std::string_view bytes) {
    std::string fullPath = FullPathOf(path);
    if (fullPath.empty()) {
        throw FileError::FromSystemError(::GetLastError(), path);
    }
    const std::wstring target = AnsiToWide(fullPath);

    auto created = CreateTemporaryIn(FolderOf(target), fullPath);
    // Declared before the handle so that the handle is closed first and the
    // file can then be deleted.
    TemporaryFile temporary(std::move(created.second));
    UniqueFile file = std::move(created.first);
    WriteAll(file.get(), bytes, fullPath);
    if (!::FlushFileBuffers(file.get()) || !::CloseHandle(file.release())) {
        ThrowLastError(fullPath);
    }

    // Another program (a virus scanner, an editor) may hold the target for a
    // moment: retry a few times before giving up.
    constexpr int kAttempts = 10;
    constexpr DWORD kPauseMs = 50;
    for (int attempt = 1;; ++attempt) {
        if (::MoveFileExW(temporary.Path().c_str(), target.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            temporary.Keep();
            return;
        }
        const DWORD error = ::GetLastError();
        if (!IsTransientMoveError(error) || attempt == kAttempts) {
            throw FileError::FromSystemError(error, fullPath);
        }
        ::Sleep(kPauseMs);
    }
}

}  // namespace win
