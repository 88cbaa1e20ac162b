// String resources, and conversions between the ANSI code page, UTF-8 and
// UTF-16.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "text/Encoding.h"

namespace win {

// Loads string `id` of the executable's string table in the ANSI code page
// ("" when there is none).
std::string LoadString(UINT id);

// The module whose resources LoadString and Dialog::DoModal use: the
// executable, unless SetResourceInstance named another (a test may load the
// product's executable as a data file and read its resources).
HINSTANCE ResourceInstance() noexcept;
void SetResourceInstance(HINSTANCE instance) noexcept;

// A text from an API that fills a buffer: `fill(buffer, capacity)` writes
// it and returns its length (0 or less: none), or the size it needs when the
// buffer is too small. The buffer grows until the text leaves room to spare,
// as APIs that cut the text silently (a double-byte character dropped
// whole) give no other sign of it.
template <typename Char, typename Fill>
std::basic_string<Char> GrowUntilFits(Fill fill, std::size_t capacity = 256) {
    constexpr std::size_t kLimit = std::size_t{1} << 24;
    std::basic_string<Char> text;
    for (;; capacity *= 2) {
        text.assign(capacity, Char{});
        const auto length = static_cast<long long>(fill(text.data(), static_cast<int>(capacity)));
        if (length <= 0) {
            return {};
        }
        if (static_cast<std::size_t>(length) + 2 < capacity || capacity >= kLimit) {
            text.resize(std::min(static_cast<std::size_t>(length), capacity));
            return text;
        }
    }
}

// Replaces every "%1" in `format` with `argument`.
std::string FormatWithArgument(std::string_view format, std::string_view argument);
std::wstring FormatWithArgument(std::wstring_view format, std::wstring_view argument);

std::wstring AnsiToWide(std::string_view text);
std::string WideToAnsi(std::wstring_view text);
// UTF-8, the form the search takes its texts in.
std::string WideToUtf8(std::wstring_view text);

// The characters of `bytes` in `encoding` (Shift-JIS: the ANSI code page),
// as UTF-16 and as UTF-8. An invalid UTF-8 sequence becomes U+FFFD.
std::wstring ToWide(std::string_view bytes, text::Encoding encoding);
std::string ToUtf8(std::string_view bytes, text::Encoding encoding);
// The same text in `encoding`. Into Shift-JIS a character it lacks becomes
// the nearest one it has: for programs that read nothing else.
std::string FromWide(std::wstring_view text, text::Encoding encoding);
// `text` in the ANSI code page when each of its characters has a form there
// that reads back as exactly that character; nothing otherwise.
std::optional<std::string> WideToAnsiExactly(std::wstring_view text);
// `bytes` (Shift-JIS) as UTF-8 when that reads back as exactly the same
// bytes; nothing for an NEC or IBM duplicate code or an unmapped byte.
std::optional<std::string> AnsiToUtf8Exactly(std::string_view bytes);

// The application name: the executable's file name without its extension.
std::string ApplicationName();

// The system's lead-byte test for the ANSI code page (IsDBCSLeadByte),
// in the form the portable text code takes it.
bool SystemLeadByte(unsigned char byte);

}  // namespace win
