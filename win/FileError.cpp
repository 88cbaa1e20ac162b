#include "win/FileError.h"

#include "win/MessageBox.h"
#include "win/Strings.h"

namespace win {

FileErrorCause CauseFromSystemError(DWORD error) noexcept {
    using C = FileErrorCause;
    switch (error) {
        case NO_ERROR:
            return C::None;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_NO_MORE_FILES:
        case ERROR_DISK_CHANGE:
            return C::FileNotFound;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_NOT_SAME_DEVICE:
        case ERROR_WRONG_DISK:
        case ERROR_DUP_NAME:
        case ERROR_BAD_NETPATH:
        case ERROR_DEV_NOT_EXIST:
        case ERROR_BAD_NET_NAME:
        case ERROR_SHARING_PAUSED:
        case ERROR_ALREADY_ASSIGNED:
        case ERROR_BUFFER_OVERFLOW:
        case ERROR_INVALID_NAME:
        case ERROR_INVALID_LEVEL:
        case ERROR_NO_VOLUME_LABEL:
        case ERROR_DIR_NOT_ROOT:
        case ERROR_LABEL_TOO_LONG:
        case ERROR_BAD_PATHNAME:
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_META_EXPANSION_TOO_LONG:
        case ERROR_DIRECTORY:
            return C::BadPath;
        case ERROR_TOO_MANY_OPEN_FILES:
        case ERROR_SHARING_BUFFER_EXCEEDED:
        case ERROR_TOO_MANY_NAMES:
        case ERROR_NO_MORE_SEARCH_HANDLES:
            return C::TooManyOpenFiles;
        // An existing file in the way of a create or a rename is refused access.
        case ERROR_ALREADY_EXISTS:
        case ERROR_FILE_EXISTS:
        case ERROR_ACCESS_DENIED:
        case ERROR_INVALID_ACCESS:
        case ERROR_WRITE_PROTECT:
        case ERROR_WRITE_FAULT:
        case ERROR_NETWORK_BUSY:
        case ERROR_BAD_NET_RESP:
        case ERROR_NETNAME_DELETED:
        case ERROR_NETWORK_ACCESS_DENIED:
        case ERROR_REQ_NOT_ACCEP:
        case ERROR_CANNOT_MAKE:
        case ERROR_INVALID_PASSWORD:
        case ERROR_BUSY:
        case ERROR_SWAPERROR:
            return C::AccessDenied;
        case ERROR_INVALID_HANDLE:
        case ERROR_BAD_FORMAT:
        case ERROR_NOT_DOS_DISK:
        case ERROR_BAD_REM_ADAP:
        case ERROR_BAD_DEV_TYPE:
        case ERROR_INVALID_TARGET_HANDLE:
        case ERROR_INVALID_ORDINAL:
        case ERROR_INVALID_EXE_SIGNATURE:
        case ERROR_BAD_EXE_FORMAT:
            return C::InvalidFile;
        case ERROR_CURRENT_DIRECTORY:
        case ERROR_DIR_NOT_EMPTY:
            return C::RemoveCurrentDir;
        case ERROR_NO_SPOOL_SPACE:
            return C::DirectoryFull;
        case ERROR_BAD_LENGTH:
        case ERROR_SEEK:
        case ERROR_SECTOR_NOT_FOUND:
        case ERROR_READ_FAULT:
        case ERROR_NEGATIVE_SEEK:
        case ERROR_SEEK_ON_DEVICE:
            return C::BadSeek;
        case ERROR_BAD_UNIT:
        case ERROR_NOT_READY:
        case ERROR_BAD_COMMAND:
        case ERROR_CRC:
        case ERROR_ADAP_HDW_ERR:
        case ERROR_UNEXP_NET_ERR:
        case ERROR_NET_WRITE_FAULT:
        case ERROR_INVALID_CATEGORY:
        case ERROR_OPERATION_ABORTED:
        case ERROR_IO_INCOMPLETE:
        case ERROR_IO_PENDING:
            return C::HardIO;
        case ERROR_SHARING_VIOLATION:
            return C::SharingViolation;
        case ERROR_LOCK_VIOLATION:
        case ERROR_DRIVE_LOCKED:
        case ERROR_LOCK_FAILED:
            return C::LockViolation;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return C::DiskFull;
        case ERROR_HANDLE_EOF:
            return C::EndOfFile;
        default:
            return C::Generic;
    }
}

namespace {

// The exception's own what(): a short English summary for logs and debuggers;
// the user sees Message().
std::string Describe(FileErrorCause cause, const std::string& path, DWORD systemError) {
    return "file error " + std::to_string(static_cast<int>(cause)) + " (system error " +
           std::to_string(systemError) + ") on \"" + path + "\"";
}

}  // namespace

FileError::FileError(FileErrorCause cause, std::string path, DWORD systemError)
    : std::runtime_error(Describe(cause, path, systemError)),
      m_cause(cause),
      m_path(std::move(path)),
      m_systemError(systemError) {}

FileError FileError::FromSystemError(DWORD error, std::string path) {
    return FileError(CauseFromSystemError(error), std::move(path), error);
}

std::string FileError::Message() const {
    const std::string name = m_path.empty() ? LoadString(kUnnamedFileString) : m_path;
    const UINT id = kFileErrorStringBase + static_cast<UINT>(m_cause);
    return FormatWithArgument(LoadString(id), name);
}

void FileError::Report() const {
    ShowMessageText(Message(), MB_OK | MB_ICONHAND);
}

}  // namespace win
