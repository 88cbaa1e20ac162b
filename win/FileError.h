// A failed file operation: what went wrong (one of the causes below) and the
// path it concerned. Handlers let it escape; the dialog layer catches it at
// the window-procedure boundary and shows WideMessage() with the stop icon.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

namespace win {

// The order is fixed: string kFileErrorStringBase + cause is the message.
enum class FileErrorCause : int {
    None = 0,
    Generic = 1,
    FileNotFound = 2,
    BadPath = 3,
    TooManyOpenFiles = 4,
    AccessDenied = 5,
    InvalidFile = 6,
    RemoveCurrentDir = 7,
    DirectoryFull = 8,
    BadSeek = 9,
    HardIO = 10,
    SharingViolation = 11,
    LockViolation = 12,
    DiskFull = 13,
    EndOfFile = 14,
};

// Maps a system error code (GetLastError) to a cause.
FileErrorCause CauseFromSystemError(DWORD error) noexcept;

class FileError : public std::runtime_error {
public:
    FileError(FileErrorCause cause, std::wstring path, DWORD systemError = 0);

    // From a system error code, mapped with CauseFromSystemError.
    static FileError FromSystemError(DWORD error, std::wstring path);

    FileErrorCause Cause() const noexcept { return m_cause; }
    const std::wstring& WidePath() const noexcept { return m_path; }

    // The user-facing text: string IDS_FILE_ERROR_BASE + cause with %1 replaced by the
    // path (string IDS_UNNAMED_FILE when the path is empty).
    std::wstring WideMessage() const;

    // Shows WideMessage() in a message box with MB_ICONHAND: the path exactly.
    void Report() const;

private:
    FileErrorCause m_cause;
    std::wstring m_path;
};

}  // namespace win
