// String resources and conversions between the ANSI code page and UTF-16.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

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

std::wstring AnsiToWide(std::string_view text);
std::string WideToAnsi(std::wstring_view text);
// UTF-8, the form the search takes its texts in.
std::string WideToUtf8(std::wstring_view text);
std::string AnsiToUtf8(std::string_view text);

// The application name: the executable's file name without its extension.
std::string ApplicationName();

// The system's lead-byte test for the ANSI code page (IsDBCSLeadByte),
// in the form the portable text code takes it.
bool SystemLeadByte(unsigned char byte);

}  // namespace win
