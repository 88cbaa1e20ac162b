// The text of an AA piece and the bytes of its file.
//
// The editor holds a piece's lines separated by CR LF. On disk a piece is a
// text-mode file: every CR LF of the text stays CR LF, a lone LF becomes
// CR LF and a lone CR is written as it is; nothing is added at the end, so an
// empty text is a 0-byte file. Reading gives every line followed by CR LF,
// the last line included, so a piece whose last line lacks its line end
// gains one the next time it is saved.
//
// A piece is in Shift-JIS or in UTF-8 (text/Encoding.h guesses which); the
// text-mode rules are the same in both. A UTF-8 piece is written with the
// byte-order mark, which is no part of its text.
#pragma once

#include <string>
#include <string_view>

#include "text/Encoding.h"

namespace aa {

// The bytes of the piece file for an editor text.
std::string PieceFileBytes(std::string_view editorText);

// The editor text of a piece, built from its lines as `readLine(line)`
// delivers them (true while a line was read, text-mode rules).
template <typename ReadLine>
std::string ReadPieceText(ReadLine&& readLine) {
    std::string text;
    std::string line;
    while (readLine(line)) {
        text += line;
        text += "\r\n";
    }
    return text;
}

// The editor text of a piece whose file holds `fileBytes`.
std::string PieceTextFromFileBytes(std::string_view fileBytes);

// The bytes of the piece file for an editor text in its encoding.
std::string PieceFileBytes(const text::EncodedText& editorText);

// The editor text of a piece file in the encoding guessed for it, without
// the byte-order mark.
text::EncodedText PieceFromFileBytes(std::string_view fileBytes);

}  // namespace aa
