// Pelo's files over Win32 handles: a text file read in Pelo's text mode (see
// text/TextMode.h), and the whole-file helpers that change files. Opening a
// TextFile reports failure by its result only; everything else throws
// FileError naming the file's full path.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "text/TextMode.h"
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
// helpers below, never through this class.
class TextFile {
public:
    // Opens `path` (ANSI code page or UTF-16, relative to the current
    // directory). On failure returns nothing; OpenError(path) then says why.
    static std::optional<TextFile> Open(const std::string& path, OpenOptions options);
    static std::optional<TextFile> Open(const std::wstring& path, OpenOptions options);
    // Why the last Open of `path` on this thread failed, naming its full path.
    static FileError OpenError(const std::string& path);
    static FileError OpenError(const std::wstring& path);

    TextFile(TextFile&&) noexcept;
    TextFile& operator=(TextFile&&) noexcept;
    ~TextFile();  // closes without reporting; call Close() to see errors

    // The next line without its line end; false when no data was left.
    bool ReadLine(std::string& line);
    // The same as a view, valid until the next read (see text::LineReader).
    bool ReadLine(std::string_view& line);
    // Every byte of the file from where it stands, as it is: for a reader
    // that must see the whole file (its encoding) before its lines. Not
    // after ReadLine, which reads ahead.
    std::string ReadAll();

    void Close();

private:
    class HandleSource;
    text::LineReader& Reader();
    TextFile(UniqueFile file, std::wstring fullPath);

    UniqueFile m_file;
    std::wstring m_fullPath;
    std::unique_ptr<HandleSource> m_source;
    std::unique_ptr<text::LineReader> m_reader;
};

// The full path of `path` as GetFullPathName gives it ("" when it fails).
std::string FullPathOf(const std::string& path);
std::wstring FullPathOf(const std::wstring& path);
// The full path of `path`, else `path` as given: what an error names.
std::string FullPathOrGiven(const std::string& path);
std::wstring FullPathOrGiven(const std::wstring& path);

// The helpers below throw FileError naming `fullPath`.
[[noreturn]] void ThrowLastError(const std::string& fullPath);
[[noreturn]] void ThrowLastError(const std::wstring& fullPath);

// Opens `path` for reading and writing, letting nobody else in, and creates
// it empty when it is missing: for a change that depends on what the file
// holds. Waits a moment for another program that holds the file briefly.
UniqueFile OpenForUpdate(const std::string& path, const std::string& fullPath);

// Every byte from the file's position to its end.
std::string ReadToEnd(HANDLE file, const std::string& fullPath);
std::string ReadToEnd(HANDLE file, const std::wstring& fullPath);

// Writes every byte; a short write without an error means the disk is full.
void WriteAll(HANDLE file, std::string_view bytes, const std::string& fullPath);
void WriteAll(HANDLE file, std::string_view bytes, const std::wstring& fullPath);

// Replaces the file at `path` as a whole, so that a failure leaves the old
// file whole: writes `bytes` to a temporary file in the same folder, flushes
// it and moves it over `path`, waiting a moment for another program that
// holds the file briefly. The new file keeps the attributes the user set on
// the old one (hidden, system); a read-only file is refused. Works wherever
// the file itself could be written: the temporary name is no longer than
// needed and long-path forms are used. On failure no temporary file remains.
// The temporary name never matches "*.txt", not even by its 8.3 short name.
void ReplaceFileContents(const std::string& path, std::string_view bytes);
void ReplaceFileContents(const std::wstring& path, std::string_view bytes);

}  // namespace win
