// Pelo's files over Win32 handles: a text file read in Pelo's text mode (see
// text/TextMode.h), and the whole-file helpers that change files. Opening a
// TextFile reports failure by its result only; everything else throws
// FileError naming the file's full path.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "win/FileError.h"
#include "win/UniqueHandle.h"

namespace win {

enum class FileAccess { Read, Write };

// What happens to a missing or present file when opening it.
enum class FileCreation {
    OpenExisting,      // missing: the open fails
    CreateNoTruncate,  // missing: created empty; present: left as it is
};

enum class FileSharing {
    Compatible,  // others may read and write meanwhile (the usual default)
    Exclusive,   // nobody else may open the file while it is open here
};

struct OpenOptions {
    FileAccess access = FileAccess::Read;
    FileCreation creation = FileCreation::OpenExisting;
    FileSharing sharing = FileSharing::Compatible;
};

// Opened for reading only: the product writes files through the whole-file
// helpers below, never through this class. A text file is read whole, as its
// encoding is known only once all of it is seen; text/TextMode.h splits it.
class TextFile {
public:
    // Opens `path` (relative to the current directory). On failure returns
    // nothing; OpenError(path) then says why.
    static std::optional<TextFile> Open(const std::wstring& path, OpenOptions options);
    // Why the last Open of `path` on this thread failed, naming its full path.
    static FileError OpenError(const std::wstring& path);

    TextFile(TextFile&&) noexcept;
    TextFile& operator=(TextFile&&) noexcept;
    ~TextFile();  // closes without reporting; call Close() to see errors

    // Every byte of the file from where it stands, as it is.
    std::string ReadAll();

    void Close();

private:
    TextFile(UniqueFile file, std::wstring fullPath);

    UniqueFile m_file;
    std::wstring m_fullPath;
};

// The full path of `path` as GetFullPathName gives it ("" when it fails).
std::wstring FullPathOf(const std::wstring& path);
// The full path of `path`, else `path` as given: what an error names.
std::wstring FullPathOrGiven(const std::wstring& path);

// The helpers below throw FileError naming `fullPath`.
[[noreturn]] void ThrowLastError(const std::wstring& fullPath);

// Opens `path` for reading and writing, letting nobody else in, and creates
// it empty when it is missing: for a change that depends on what the file
// holds. Waits a moment for another program that holds the file briefly.
UniqueFile OpenForUpdate(const std::wstring& path, const std::wstring& fullPath);

// Every byte from the file's position to its end.
std::string ReadToEnd(HANDLE file, const std::wstring& fullPath);

// Writes every byte; a short write without an error means the disk is full.
void WriteAll(HANDLE file, std::string_view bytes, const std::wstring& fullPath);

// Replaces the file at `path` as a whole, so that a failure leaves the old
// file whole: writes `bytes` to a temporary file in the same folder, flushes
// it and moves it over `path`, waiting a moment for another program that
// holds the file briefly. The new file keeps the attributes the user set on
// the old one (hidden, system); a read-only file is refused. Works wherever
// the file itself could be written: the temporary name is no longer than
// needed and long-path forms are used. On failure no temporary file remains.
// The temporary name never matches "*.txt", not even by its 8.3 short name.
void ReplaceFileContents(const std::wstring& path, std::string_view bytes);

}  // namespace win
