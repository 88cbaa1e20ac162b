// How an AA piece's title becomes the path of its file, how a listed file
// name becomes a title again, and which titles may name a piece at all.
// Each comes in bytes of the ANSI code page and in UTF-16 (a title the code
// page cannot hold; wchar_t units, as the system's wide file functions
// take them).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "text/Mbcs.h"

namespace aa {

// The longest full path the system's file functions accept is one unit
// (a byte, or a UTF-16 unit for the wide functions) shorter than this.
constexpr std::size_t kMaxPath = 260;

// `format` (the path format of the string table, "AA\%s.txt") with its "%s"
// replaced by `title` and "%%" by "%". The title is inserted as it is.
std::string FormatPiecePath(std::string_view format, std::string_view title);
std::wstring FormatPiecePath(std::wstring_view format, std::wstring_view title);

// The title of a file found in the AA folder by a search for "*.txt": its
// name without the final ".txt", or nothing when the name does not end in
// ".txt" in any letter case. The search also matches 8.3 short names, so
// "x.txt1" (short name X~1.TXT) is found and is no piece.
std::optional<std::string> TitleFromFileName(std::string_view fileName);
std::optional<std::wstring> TitleFromFileName(std::wstring_view fileName);

// `relative` resolved against the full path of the current folder, as the
// system does for a path without drive or leading separator.
std::string JoinFolderPath(std::string_view folder, std::string_view relative,
                           text::LeadByteTest isLead);
std::wstring JoinFolderPath(std::wstring_view folder, std::wstring_view relative);

// True when `title` names a file inside the AA folder and nowhere else, and
// the file system accepts the name: no separator ('\' or '/'), none of
// < > : " | ? * (so no drive form and no wildcard), no control character,
// no lone lead byte at the end, no device name (CON, PRN, AUX, NUL, COM1-9,
// LPT1-9, CONIN$, CONOUT$, with or without extension), and a full path of
// `fullPathLength` bytes shorter than kMaxPath. The scan steps over
// double-byte characters whole: a trail byte 0x5C or 0x7C is no separator.
// Dots and spaces at either end are accepted: the file name always ends in
// ".txt", so the system strips nothing from it and the title reads back as
// it was written.
bool IsUsableTitle(std::string_view title, std::size_t fullPathLength, text::LeadByteTest isLead);

// The same rules for a UTF-16 title, whose full path is `fullPathLength`
// units long; a surrogate half without its partner is no character and is
// refused too. Any other character is accepted.
bool IsUsableTitle(std::wstring_view title, std::size_t fullPathLength);

}  // namespace aa
