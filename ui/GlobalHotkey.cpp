#include "ui/GlobalHotkey.h"

#include <shellapi.h>

#include <vector>

#include "text/Mbcs.h"
#include "win/Strings.h"

namespace hotkey {

namespace {

// The tip field of the first-version icon record holds 64 bytes with the zero.
constexpr std::size_t kTipBytes = 63;

using UniqueArgv = win::UniqueHandle<win::NullHandleTraits<LPWSTR*, &::LocalFree>>;

// `text` cut at a character boundary to at most `bytes` bytes.
std::string CutToFit(const std::string& text, std::size_t bytes) {
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + text::CharLength(text, end, &win::SystemLeadByte);
        if (next > bytes) {
            break;
        }
        end = next;
    }
    return text.substr(0, end);
}

}  // namespace

UniqueRegistration Register(HWND window, const Combination& combination) {
    // Held down, the combination would repeat and make Pelo flicker in and out.
    if (::RegisterHotKey(window, kHotkeyId, combination.modifiers | MOD_NOREPEAT,
                         combination.virtualKey)) {
        return UniqueRegistration(window);
    }
    return {};
}

Choice FromCommandLine() {
    int count = 0;
    const UniqueArgv argv(::CommandLineToArgvW(::GetCommandLineW(), &count));
    std::vector<std::string> arguments;
    for (int i = 1; argv && i < count; ++i) {  // argv[0] names the program
        arguments.push_back(win::WideToAnsi(argv.get()[i]));
    }
    return ChooseHotkey(arguments);
}

std::string TrayTip(const Choice& choice, bool registered) {
    switch (choice.kind) {
        case Choice::Kind::Combination:
            if (registered) {
                return CutToFit("Pelo (" + choice.combination.name + ")", kTipBytes);
            }
            return CutToFit(win::WideToAnsi(L"Pelo (ホットキー ") + choice.combination.name +
                                win::WideToAnsi(L" は他のプログラムが使用中)"),
                            kTipBytes);
        case Choice::Kind::Bad: {
            const std::string head = win::WideToAnsi(L"Pelo (ホットキーの指定が不正: ");
            return head + CutToFit(choice.argument, kTipBytes - head.size() - 1) + ")";
        }
        case Choice::Kind::None:
            break;
    }
    return "Pelo";
}

}  // namespace hotkey
