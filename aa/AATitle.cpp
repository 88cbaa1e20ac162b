#include "aa/AATitle.h"

#include <algorithm>
#include <array>

namespace aa {

namespace {

constexpr std::size_t kExtensionLength = 4;  // ".txt"

// A byte, or a UTF-16 unit, as a number.
unsigned Code(char c) {
    return static_cast<unsigned char>(c);
}
unsigned Code(wchar_t c) {
    return static_cast<unsigned>(c);
}

bool IsRefusedSingleUnit(unsigned code) {
    constexpr std::string_view kRefused = "\\/<>:\"|?*";
    return code < 0x20 || (code < 0x80 && kRefused.find(static_cast<char>(code)) != kRefused.npos);
}

unsigned AsciiUpper(unsigned code) {
    return code >= 'a' && code <= 'z' ? code - ('a' - 'A') : code;
}

template <typename Char>
bool EqualsIgnoringAsciiCase(std::basic_string_view<Char> a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](Char x, char y) { return AsciiUpper(Code(x)) == AsciiUpper(Code(y)); });
}

// The system opens a device for any name whose part before the first dot,
// trailing spaces dropped, is a device name.
template <typename Char>
bool IsDeviceName(std::basic_string_view<Char> fileName) {
    std::basic_string_view<Char> stem = fileName.substr(0, fileName.find(Char('.')));
    while (!stem.empty() && stem.back() == Char(' ')) {
        stem.remove_suffix(1);
    }
    static constexpr std::array<std::string_view, 6> kDevices = {"CON", "PRN",    "AUX",
                                                                 "NUL", "CONIN$", "CONOUT$"};
    for (std::string_view device : kDevices) {
        if (EqualsIgnoringAsciiCase(stem, device)) {
            return true;
        }
    }
    if (stem.size() == 4 && stem[3] >= Char('1') && stem[3] <= Char('9')) {
        const std::basic_string_view<Char> port = stem.substr(0, 3);
        return EqualsIgnoringAsciiCase(port, "COM") || EqualsIgnoringAsciiCase(port, "LPT");
    }
    return false;
}

bool HasRefusedCharacter(std::string_view title, text::LeadByteTest isLead) {
    for (std::size_t pos = 0; pos < title.size();) {
        const unsigned char byte = static_cast<unsigned char>(title[pos]);
        const std::size_t length = text::CharLength(title, pos, isLead);
        if (length == 1 && (IsRefusedSingleUnit(byte) || isLead(byte))) {
            return true;  // a lead byte counted alone has lost its trail byte
        }
        pos += length;
    }
    return false;
}

bool IsHighSurrogate(unsigned code) {
    return code >= 0xD800 && code <= 0xDBFF;
}
bool IsLowSurrogate(unsigned code) {
    return code >= 0xDC00 && code <= 0xDFFF;
}

bool HasRefusedCharacter(std::wstring_view title) {
    for (std::size_t pos = 0; pos < title.size(); ++pos) {
        const unsigned code = Code(title[pos]);
        if (IsHighSurrogate(code) && pos + 1 < title.size() &&
            IsLowSurrogate(Code(title[pos + 1]))) {
            ++pos;  // a pair: one character beyond the BMP
            continue;
        }
        if (IsRefusedSingleUnit(code) || IsHighSurrogate(code) || IsLowSurrogate(code)) {
            return true;
        }
    }
    return false;
}

template <typename Char>
std::basic_string<Char> FormatPath(std::basic_string_view<Char> format,
                                   std::basic_string_view<Char> title) {
    std::basic_string<Char> path;
    path.reserve(format.size() + title.size());
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == Char('%') && i + 1 < format.size()) {
            const Char conversion = format[i + 1];
            if (conversion == Char('s') || conversion == Char('%')) {
                if (conversion == Char('s')) {
                    path.append(title);
                } else {
                    path.push_back(Char('%'));
                }
                ++i;
                continue;
            }
        }
        path.push_back(format[i]);
    }
    return path;
}

// '.' is never a trail byte, so the last four bytes are four characters.
template <typename Char>
std::optional<std::basic_string<Char>> TitleOf(std::basic_string_view<Char> fileName) {
    if (fileName.size() < kExtensionLength ||
        !EqualsIgnoringAsciiCase(fileName.substr(fileName.size() - kExtensionLength), ".txt")) {
        return std::nullopt;
    }
    return std::basic_string<Char>(fileName.substr(0, fileName.size() - kExtensionLength));
}

}  // namespace

std::string FormatPiecePath(std::string_view format, std::string_view title) {
    return FormatPath(format, title);
}

std::wstring FormatPiecePath(std::wstring_view format, std::wstring_view title) {
    return FormatPath(format, title);
}

std::optional<std::string> TitleFromFileName(std::string_view fileName) {
    return TitleOf(fileName);
}

std::optional<std::wstring> TitleFromFileName(std::wstring_view fileName) {
    return TitleOf(fileName);
}

std::string JoinFolderPath(std::string_view folder, std::string_view relative,
                           text::LeadByteTest isLead) {
    std::string path(folder);
    // Only a separator that is a character of its own ends the folder: the
    // last byte of "C:\ソ" is a trail byte.
    bool endsWithSeparator = false;
    for (std::size_t pos = 0; pos < folder.size();) {
        const std::size_t length = text::CharLength(folder, pos, isLead);
        endsWithSeparator = length == 1 && (folder[pos] == '\\' || folder[pos] == '/');
        pos += length;
    }
    if (!folder.empty() && !endsWithSeparator) {
        path.push_back('\\');
    }
    path.append(relative);
    return path;
}

std::wstring JoinFolderPath(std::wstring_view folder, std::wstring_view relative) {
    std::wstring path(folder);
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') {
        path.push_back(L'\\');
    }
    path.append(relative);
    return path;
}

bool IsUsableTitle(std::string_view title, std::size_t fullPathLength, text::LeadByteTest isLead) {
    if (HasRefusedCharacter(title, isLead)) {
        return false;
    }
    if (IsDeviceName(std::string_view(std::string(title) + ".txt"))) {
        return false;
    }
    return fullPathLength < kMaxPath;
}

bool IsUsableTitle(std::wstring_view title, std::size_t fullPathLength) {
    if (HasRefusedCharacter(title)) {
        return false;
    }
    if (IsDeviceName(std::wstring_view(std::wstring(title) + L".txt"))) {
        return false;
    }
    return fullPathLength < kMaxPath;
}

}  // namespace aa
