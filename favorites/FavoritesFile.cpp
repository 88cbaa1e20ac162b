#include "favorites/FavoritesFile.h"

#include <windows.h>

#include "favorites/FavoritesFormat.h"
#include "win/FileError.h"
#include "win/Strings.h"
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
                 const std::wstring& fullPath) {
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

// The bytes that turn the Shift-JIS file holding `current` into UTF-8 with
// `entry` (UTF-8) added; EntryCannotMove for the first entry that would not
// read back as its old bytes.
std::string ConvertedToUtf8(std::string_view current, const std::string& entry) {
    std::vector<std::string> entries = ParseFavorites(current);
    for (std::string& old : entries) {
        std::optional<std::string> converted = win::AnsiToUtf8Exactly(old);
        if (!converted) {
            throw EntryCannotMove{old};
        }
        old = std::move(*converted);
    }
    entries.push_back(entry);
    return PlanConversionToUtf8(current, entries);
}

}  // namespace

std::optional<std::string> FavoriteBytes(const text::EncodedText& entry, text::Encoding encoding) {
    if (encoding == text::Encoding::Utf8) {
        return win::ToUtf8(entry.bytes, entry.encoding);
    }
    if (entry.encoding == text::Encoding::ShiftJis) {
        return entry.bytes;
    }
    return win::WideToAnsiExactly(win::ToWide(entry.bytes, entry.encoding));
}

std::optional<text::FileEncoding> LoadFavoritesFile(const std::wstring& path,
                                                    std::vector<std::string>& entries) {
    auto file = win::TextFile::Open(
        path,
        {win::FileAccess::Read, win::FileCreation::CreateNoTruncate, win::FileSharing::Exclusive});
    if (!file) {
        return std::nullopt;
    }
    // The whole file first: its encoding is known only once all of it is seen.
    const std::string bytes = file->ReadAll();
    file->Close();
    for (std::string& entry : ParseFavorites(bytes)) {
        entries.push_back(std::move(entry));
    }
    return text::DetectEncoding(bytes);
}

void SaveFavoritesFile(const std::wstring& path, std::span<const std::string> entries) {
    const std::wstring fullPath = win::FullPathOrGiven(path);
    // What follows a Ctrl-Z is kept, so the file is read first; the
    // replacement needs it closed again.
    const std::string current = win::ReadToEnd(win::OpenForUpdate(path, fullPath).get(), fullPath);
    win::ReplaceFileContents(path, PlanRewrite(current, entries));
}

void AddToFavoritesFile(const std::wstring& path, const text::EncodedText& entry) {
    const std::wstring fullPath = win::FullPathOrGiven(path);
    // One open for reading and writing: the end of the file decides what is
    // written there, and its encoding in what; nobody may change it in between.
    win::UniqueFile file = win::OpenForUpdate(path, fullPath);
    const std::string current = win::ReadToEnd(file.get(), fullPath);
    const text::Encoding encoding = text::DetectEncoding(current).encoding;
    const std::optional<std::string> inFileEncoding = FavoriteBytes(entry, encoding);
    if (!inFileEncoding) {
        // Only a Shift-JIS file lacks a form for some text: it becomes UTF-8.
        const std::string converted =
            ConvertedToUtf8(current, win::ToUtf8(entry.bytes, entry.encoding));
        file.reset();
        win::ReplaceFileContents(path, converted);
        return;
    }
    const FavoriteAddition addition = PlanAddition(current, *inFileEncoding);
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
