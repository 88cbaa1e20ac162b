#include "win/Strings.h"

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
    return GrowUntilFits<char>([id](char* buffer, int capacity) {
        return ::LoadStringA(ResourceInstance(), id, buffer, capacity);
    });
}

namespace {

template <typename Char>
std::basic_string<Char> ReplaceArgumentMarkers(std::basic_string_view<Char> format,
                                               std::basic_string_view<Char> argument) {
    constexpr Char kMarker[] = {Char('%'), Char('1'), Char()};
    std::basic_string<Char> result;
    result.reserve(format.size() + argument.size());
    std::size_t pos = 0;
    for (std::size_t found; (found = format.find(kMarker, pos)) != format.npos;) {
        result.append(format.substr(pos, found - pos));
        result.append(argument);
        pos = found + 2;
    }
    result.append(format.substr(pos));
    return result;
}

}  // namespace

std::string FormatWithArgument(std::string_view format, std::string_view argument) {
    // A plain search is safe: CP932 trail bytes start at 0x40, so neither '%'
    // nor '1' can be the second half of a double-byte character.
    return ReplaceArgumentMarkers(format, argument);
}

std::wstring FormatWithArgument(std::wstring_view format, std::wstring_view argument) {
    return ReplaceArgumentMarkers(format, argument);
}

namespace {

UINT CodePageOf(text::Encoding encoding) {
    return encoding == text::Encoding::Utf8 ? CP_UTF8 : CP_ACP;
}

std::wstring CodePageToWide(UINT codePage, std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length = ::MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string WideToCodePage(UINT codePage, std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length =
        ::WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, 0, text.data(), size, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

}  // namespace

std::wstring AnsiToWide(std::string_view text) {
    return CodePageToWide(CP_ACP, text);
}

std::string WideToAnsi(std::wstring_view text) {
    return WideToCodePage(CP_ACP, text);
}

std::string WideToUtf8(std::wstring_view text) {
    return WideToCodePage(CP_UTF8, text);
}

std::wstring ToWide(std::string_view bytes, text::Encoding encoding) {
    return CodePageToWide(CodePageOf(encoding), bytes);
}

std::string ToUtf8(std::string_view bytes, text::Encoding encoding) {
    return encoding == text::Encoding::Utf8 ? std::string(bytes) : WideToUtf8(AnsiToWide(bytes));
}

std::string FromWide(std::wstring_view text, text::Encoding encoding) {
    return WideToCodePage(CodePageOf(encoding), text);
}

std::optional<std::string> WideToAnsiExactly(std::wstring_view text) {
    std::string ansi = WideToAnsi(text);
    // A character without a form of its own comes back as another one.
    if (AnsiToWide(ansi) != text) {
        return std::nullopt;
    }
    return ansi;
}

std::optional<std::string> AnsiToUtf8Exactly(std::string_view bytes) {
    const std::wstring wide = AnsiToWide(bytes);
    if (WideToAnsi(wide) != bytes) {
        return std::nullopt;
    }
    return WideToUtf8(wide);
}

std::string ApplicationName() {
    // The wide form sidesteps trail bytes equal to '\' in an ANSI path.
    std::wstring path = GrowUntilFits<wchar_t>(
        [](wchar_t* buffer, int capacity) {
            return ::GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(capacity));
        },
        MAX_PATH);
    if (path.empty()) {
        return {};
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
