// Which encoding a data file is in: Shift-JIS (the ANSI code page 932) or
// UTF-8. Text keeps the bytes of the file it came from, with that file's
// encoding beside it, so a Shift-JIS text is never converted on its way
// from a file to the clipboard or back to a file: NEC and IBM duplicate
// codes and unmapped bytes stay exactly what they were.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace text {

enum class Encoding { ShiftJis, Utf8 };

// A file's encoding, and whether it begins with the UTF-8 byte-order mark.
struct FileEncoding {
    Encoding encoding = Encoding::ShiftJis;
    bool byteOrderMark = false;
    bool operator==(const FileEncoding&) const = default;
};

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// A text in one encoding: what a page hands to the clipboard.
struct EncodedText {
    std::string bytes;
    Encoding encoding = Encoding::ShiftJis;
    bool operator==(const EncodedText&) const = default;
};

// True when `bytes` is well-formed UTF-8: shortest forms only, no UTF-16
// surrogate halves, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// The guess for a file holding `bytes`. A file that begins with the
// byte-order mark is UTF-8 whatever follows. A file without it is UTF-8 when
// its text (everything before the first Ctrl-Z, the end of the data) is
// valid UTF-8 and holds a byte of 0x80 or more; everything else is
// Shift-JIS, read exactly as before UTF-8 was known. Pure ASCII is Shift-JIS:
// the two read it alike, and Shift-JIS keeps it byte for byte.
FileEncoding DetectEncoding(std::string_view bytes);

// `bytes` without its byte-order mark, where `encoding` says it has one.
std::string_view WithoutByteOrderMark(std::string_view bytes, FileEncoding encoding);

// Length in bytes of the UTF-8 character that starts at `pos`: the length its
// first byte announces when the bytes after it continue it, else 1 (a byte of
// an invalid sequence stands alone, as it is shown: one U+FFFD each).
std::size_t Utf8CharLength(std::string_view s, std::size_t pos);

}  // namespace text
