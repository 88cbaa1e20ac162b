// The AA folder: one text file per piece, named after the piece's title.
// Paths are UTF-16, relative to the current folder, so that a title may
// hold any character the file system allows. Opening for reading reports
// failure by its result; writing, renaming and removing throw win::FileError.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "text/Encoding.h"

class AAStore {
public:
    // Uses string 504 of the string table as the path format.
    AAStore();
    // `pathFormat` in the ANSI code page.
    explicit AAStore(const std::string& pathFormat);

    std::wstring PathForTitle(const std::wstring& title) const;

    // The titles of every entry of the AA folder whose name ends in ".txt"
    // in any letter case (files and folders, hidden ones too), in the
    // system's search order.
    std::vector<std::wstring> ListTitles() const;

    // True when a piece of that title could be created: its name is one the
    // file system accepts and the file lies inside the AA folder. A title
    // the ANSI code page holds exactly is measured in its bytes, any other
    // in UTF-16 units.
    bool IsUsableTitle(const std::wstring& title) const;

    // The piece's text (every line followed by CR LF) in its file's
    // encoding, or nothing when the file cannot be opened.
    static std::optional<text::EncodedText> ReadPiece(const std::wstring& path);

    // Creates the AA folder when nothing of that name exists, then replaces
    // the file's contents as a whole: a failed write leaves the old piece
    // intact.
    static void WritePiece(const std::wstring& path, const text::EncodedText& text);

    // Fails when `from` is missing or `to` exists; the error names `from`.
    static void RenamePiece(const std::wstring& from, const std::wstring& to);
    static void RemovePiece(const std::wstring& path);

private:
    std::wstring m_pathFormat;
};
