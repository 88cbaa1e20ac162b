// A text file in Pelo's text mode (see text/TextMode.h) over a Win32 file
// handle. Opening reports failure by its result only; reading, writing,
// seeking and closing throw FileError naming the file's full path.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "text/TextMode.h"
#include "win/UniqueHandle.h"

namespace win {

enum class FileAccess { Read, Write };

// What happens to a missing or present file when opening it.
enum class FileCreation {
    OpenExisting,      // missing: the open fails
    CreateNoTruncate,  // missing: created empty; present: left as it is
    CreateTruncate,    // missing: created; present: truncated to zero length
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

class TextFile {
public:
    // Opens `path` (ANSI code page, relative to the current directory).
    // On failure returns nothing; LastOpenError() then holds GetLastError().
    static std::optional<TextFile> Open(const std::string& path, OpenOptions options);
    static DWORD LastOpenError() noexcept;

    TextFile(TextFile&&) noexcept;
    TextFile& operator=(TextFile&&) noexcept;
    ~TextFile();  // closes without reporting; call Close() to see errors

    // The next line without its line end; false when no data was left.
    bool ReadLine(std::string& line);

    // Writes `text` with every LF as CR LF.
    void Write(std::string_view text);
    // Writes bytes exactly as given.
    void WriteRaw(std::string_view bytes);

    void SeekToEnd();
    ULONGLONG Length() const;
    void SetLength(ULONGLONG length);  // truncates or extends; position moves to the end
    void Flush();                      // FlushFileBuffers
    void Close();

    const std::string& FullPath() const noexcept { return m_fullPath; }
    HANDLE Handle() const noexcept { return m_file.get(); }

private:
    class HandleSource;
    TextFile(UniqueFile file, std::string fullPath);

    UniqueFile m_file;
    std::string m_fullPath;
    std::unique_ptr<HandleSource> m_source;
    std::unique_ptr<text::LineReader> m_reader;
};

// Whole-file helpers used by the atomic rewrites of favourites and AA pieces.
// Writes `bytes` to a temporary file in the folder of `path`, flushes it and
// moves it over `path` (MoveFileEx with MOVEFILE_REPLACE_EXISTING), retrying
// briefly on sharing and access violations. On failure the old file is left
// whole, the temporary file is removed and FileError (naming `path`'s full
// path) is thrown. The temporary name never matches "*.txt", not even by its
// 8.3 short name.
void ReplaceFileContents(const std::string& path, std::string_view bytes);

// The full path of `path` as GetFullPathNameA gives it ("" when it fails).
std::string FullPathOf(const std::string& path);

}  // namespace win
