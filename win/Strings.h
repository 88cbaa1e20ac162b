// String resources and conversions between the ANSI code page and UTF-16.
#pragma once

#include <windows.h>

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

// Replaces every "%1" in `format` with `argument`.
std::string FormatWithArgument(std::string_view format, std::string_view argument);

std::wstring AnsiToWide(std::string_view text);
std::string WideToAnsi(std::wstring_view text);

// The application name: the executable's file name without its extension.
std::string ApplicationName();

// The system's lead-byte test for the ANSI code page (IsDBCSLeadByte),
// in the form the portable text code takes it.
bool SystemLeadByte(unsigned char byte);

}  // namespace win
