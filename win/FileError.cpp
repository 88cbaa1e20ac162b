#include "win/FileError.h"

#include <algorithm>
#include <initializer_list>

#include "win/MessageBox.h"
#include "win/ResourceIds.h"
#include "win/Strings.h"

namespace win {

namespace {

using C = FileErrorCause;

// The system errors of each cause a file operation can meet; any other is
// Generic. An existing file in the way of a create or a rename is refused
// access.
const struct {
    FileErrorCause cause;
    std::initializer_list<DWORD> errors;
} kCauses[] = {
    // clang-format off
    {C::None, {NO_ERROR}},
    {C::FileNotFound, {ERROR_FILE_NOT_FOUND, ERROR_NO_MORE_FILES, ERROR_DISK_CHANGE}},
    {C::BadPath,
     {ERROR_PATH_NOT_FOUND, ERROR_INVALID_DRIVE, ERROR_NOT_SAME_DEVICE, ERROR_WRONG_DISK,
      ERROR_DUP_NAME, ERROR_BAD_NETPATH, ERROR_DEV_NOT_EXIST, ERROR_BAD_NET_NAME,
      ERROR_SHARING_PAUSED, ERROR_ALREADY_ASSIGNED, ERROR_BUFFER_OVERFLOW, ERROR_INVALID_NAME,
      ERROR_INVALID_LEVEL, ERROR_NO_VOLUME_LABEL, ERROR_DIR_NOT_ROOT, ERROR_LABEL_TOO_LONG,
      ERROR_BAD_PATHNAME, ERROR_FILENAME_EXCED_RANGE, ERROR_META_EXPANSION_TOO_LONG,
      ERROR_DIRECTORY}},
    {C::TooManyOpenFiles,
     {ERROR_TOO_MANY_OPEN_FILES, ERROR_SHARING_BUFFER_EXCEEDED, ERROR_TOO_MANY_NAMES,
      ERROR_NO_MORE_SEARCH_HANDLES}},
    {C::AccessDenied,
     {ERROR_ALREADY_EXISTS, ERROR_FILE_EXISTS, ERROR_ACCESS_DENIED, ERROR_INVALID_ACCESS,
      ERROR_WRITE_PROTECT, ERROR_WRITE_FAULT, ERROR_NETWORK_BUSY, ERROR_BAD_NET_RESP,
      ERROR_NETNAME_DELETED, ERROR_NETWORK_ACCESS_DENIED, ERROR_REQ_NOT_ACCEP, ERROR_CANNOT_MAKE,
      ERROR_INVALID_PASSWORD, ERROR_BUSY, ERROR_SWAPERROR}},
    {C::InvalidFile,
     {ERROR_INVALID_HANDLE, ERROR_BAD_FORMAT, ERROR_NOT_DOS_DISK, ERROR_BAD_REM_ADAP,
      ERROR_BAD_DEV_TYPE, ERROR_INVALID_TARGET_HANDLE, ERROR_INVALID_ORDINAL,
      ERROR_INVALID_EXE_SIGNATURE, ERROR_BAD_EXE_FORMAT}},
    {C::RemoveCurrentDir, {ERROR_CURRENT_DIRECTORY, ERROR_DIR_NOT_EMPTY}},
    {C::DirectoryFull, {ERROR_NO_SPOOL_SPACE}},
    {C::BadSeek,
     {ERROR_BAD_LENGTH, ERROR_SEEK, ERROR_SECTOR_NOT_FOUND, ERROR_READ_FAULT, ERROR_NEGATIVE_SEEK,
      ERROR_SEEK_ON_DEVICE}},
    {C::HardIO,
     {ERROR_BAD_UNIT, ERROR_NOT_READY, ERROR_BAD_COMMAND, ERROR_CRC, ERROR_ADAP_HDW_ERR,
      ERROR_UNEXP_NET_ERR, ERROR_NET_WRITE_FAULT, ERROR_INVALID_CATEGORY, ERROR_OPERATION_ABORTED,
      ERROR_IO_INCOMPLETE, ERROR_IO_PENDING}},
    {C::SharingViolation, {ERROR_SHARING_VIOLATION}},
    {C::LockViolation, {ERROR_LOCK_VIOLATION, ERROR_DRIVE_LOCKED, ERROR_LOCK_FAILED}},
    {C::DiskFull, {ERROR_DISK_FULL, ERROR_HANDLE_DISK_FULL}},
    {C::EndOfFile, {ERROR_HANDLE_EOF}},
    // clang-format on
};

}  // namespace

FileErrorCause CauseFromSystemError(DWORD error) noexcept {
    for (const auto& row : kCauses) {
        if (std::find(row.errors.begin(), row.errors.end(), error) != row.errors.end()) {
            return row.cause;
        }
    }
    return C::Generic;
}

namespace {

// The exception's own what(): a short English summary for logs and debuggers;
// the user sees WideMessage().
std::string Describe(FileErrorCause cause, const std::wstring& path, DWORD systemError) {
    return "file error " + std::to_string(static_cast<int>(cause)) + " (system error " +
           std::to_string(systemError) + ") on \"" + WideToUtf8(path) + "\"";
}

}  // namespace

FileError::FileError(FileErrorCause cause, std::wstring path, DWORD systemError)
    : std::runtime_error(Describe(cause, path, systemError)),
      m_cause(cause),
      m_path(std::move(path)) {}

FileError FileError::FromSystemError(DWORD error, std::wstring path) {
    return FileError(CauseFromSystemError(error), std::move(path), error);
}

std::wstring FileError::WideMessage() const {
    const std::wstring name = m_path.empty() ? AnsiToWide(LoadString(IDS_UNNAMED_FILE)) : m_path;
    const UINT id = IDS_FILE_ERROR_BASE + static_cast<UINT>(m_cause);
    return FormatWithArgument(AnsiToWide(LoadString(id)), name);
}

void FileError::Report() const {
    ShowMessageText(WideMessage(), MB_OK | MB_ICONHAND);
}

}  // namespace win
