#include "win/Strings.h"

#include <vector>

namespace win {

namespace {

// The module whose string table LoadString reads: the executable unless a
// test points it elsewhere.
HINSTANCE g_resourceInstance = nullptr;

}  // namespace

HINSTANCE ResourceInstance() noexcept {
    return g_resourceInstance != nullptr ? g_resourceInstance : ::GetModuleHandleA(nullptr);
}

void SetResourceInstance(HINSTANCE instance) noexcept {
    g_resourceInstance = instance;
}

std::string LoadString(UINT id) {
    // LoadStringA truncates silently: grow the buffer until the text fits
    // with room to spare, so a double-byte character is never cut in two.
    std::vector<char> buffer(256);
    for (;;) {
        const int length =
            ::LoadStringA(ResourceInstance(), id, buffer.data(), static_cast<int>(buffer.size()));
        if (length <= 0) {
            return {};
        }
        if (static_cast<std::size_t>(length) + 2 < buffer.size()) {
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string FormatWithArgument(std::string_view format, std::string_view argument) {
    // A plain search is safe: CP932 trail bytes start at 0x40, so neither '%'
    // nor '1' can be the second half of a double-byte character.
    std::string result;
    result.reserve(format.size() + argument.size());
    std::size_t pos = 0;
    for (std::size_t found; (found = format.find("%1", pos)) != std::string_view::npos;) {
        result.append(format.substr(pos, found - pos));
        result.append(argument);
        pos = found + 2;
    }
    result.append(format.substr(pos));
    return result;
}

std::wstring AnsiToWide(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string WideToAnsi(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length =
        ::WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), size, ansi.data(), length, nullptr, nullptr);
    return ansi;
}

std::string ApplicationName() {
    // The wide form sidesteps trail bytes equal to '\' in an ANSI path.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos) {
        name.resize(dot);
    }
    return WideToAnsi(name);
}

bool SystemLeadByte(unsigned char byte) {
    return ::IsDBCSLeadByte(byte) != FALSE;
}

}  // namespace win
