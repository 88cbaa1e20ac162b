#include "aa/AATitle.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace aa {

namespace {

constexpr std::size_t kExtensionLength = 4;  // ".txt"

bool IsRefusedSingleByte(unsigned char byte) {
    constexpr std::string_view kRefused = "\\/<>:\"|?*";
    return byte < 0x20 || kRefused.find(static_cast<char>(byte)) != std::string_view::npos;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) ==
               std::toupper(static_cast<unsigned char>(y));
    });
}

// The system opens a device for any name whose part before the first dot,
// trailing spaces dropped, is a device name.
bool IsDeviceName(std::string_view fileName) {
    std::string_view stem = fileName.substr(0, fileName.find('.'));
    while (!stem.empty() && stem.back() == ' ') {
        stem.remove_suffix(1);
    }
    static constexpr std::array<std::string_view, 6> kDevices = {"CON", "PRN",    "AUX",
                                                                 "NUL", "CONIN$", "CONOUT$"};
    for (std::string_view device : kDevices) {
        if (EqualsIgnoringAsciiCase(stem, device)) {
            return true;
        }
    }
    if (stem.size() == 4 && stem[3] >= '1' && stem[3] <= '9') {
        const std::string_view port = stem.substr(0, 3);
        return EqualsIgnoringAsciiCase(port, "COM") || EqualsIgnoringAsciiCase(port, "LPT");
    }
    return false;
}

bool HasRefusedCharacter(std::string_view title, text::LeadByteTest isLead) {
    for (std::size_t pos = 0; pos < title.size();) {
        const unsigned char byte = static_cast<unsigned char>(title[pos]);
        const std::size_t length = text::CharLength(title, pos, isLead);
        if (length == 1 && (IsRefusedSingleByte(byte) || isLead(byte))) {
            return true;  // a lead byte counted alone has lost its trail byte
        }
        pos += length;
    }
    return false;
}

}  // namespace

std::string FormatPiecePath(std::string_view format, std::string_view title) {
    std::string path;
    path.reserve(format.size() + title.size());
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            const char conversion = format[i + 1];
            if (conversion == 's' || conversion == '%') {
                path.append(conversion == 's' ? title : std::string_view("%"));
                ++i;
                continue;
            }
        }
        path.push_back(format[i]);
    }
    return path;
}

std::optional<std::string> TitleFromFileName(std::string_view fileName) {
    // '.' is never a trail byte, so the last four bytes are four characters.
    if (fileName.size() < kExtensionLength ||
        !EqualsIgnoringAsciiCase(fileName.substr(fileName.size() - kExtensionLength), ".txt")) {
        return std::nullopt;
    }
    return std::string(fileName.substr(0, fileName.size() - kExtensionLength));
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

bool IsUsableTitle(std::string_view title, std::size_t fullPathLength, text::LeadByteTest isLead) {
    if (HasRefusedCharacter(title, isLead)) {
        return false;
    }
    if (IsDeviceName(std::string(title) + ".txt")) {
        return false;
    }
    return fullPathLength < kMaxPath;
}

}  // namespace aa
