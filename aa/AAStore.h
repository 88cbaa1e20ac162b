// The AA folder: one text file per piece, named after the piece's title.
// Paths are relative to the current folder. Opening for reading reports
// failure by its result; writing, renaming and removing throw win::FileError.
#pragma once

#include <optional>
#include <string>
#include <vector>

class AAStore {
public:
    // Uses string 504 of the string table as the path format.
    AAStore();
    explicit AAStore(std::string pathFormat);

    std::string PathForTitle(const std::string& title) const;

    // The titles of every entry of the AA folder whose name ends in ".txt"
    // in any letter case (files and folders, hidden ones too), in the
    // system's search order.
    std::vector<std::string> ListTitles() const;

    // True when a piece of that title could be created: its name is one the
    // file system accepts and the file lies inside the AA folder.
    bool IsUsableTitle(const std::string& title) const;

    // The piece's text (every line followed by CR LF), or nothing when the
    // file cannot be opened.
    static std::optional<std::string> ReadPiece(const std::string& path);

    // Creates the AA folder when nothing of that name exists, then replaces
    // the file's contents as a whole: a failed write leaves the old piece
    // intact.
    static void WritePiece(const std::string& path, const std::string& text);

    // Fails when `from` is missing or `to` exists; the error names `from`.
    static void RenamePiece(const std::string& from, const std::string& to);
    static void RemovePiece(const std::string& path);

private:
    std::string m_pathFormat;
};
