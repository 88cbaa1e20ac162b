// The global hotkey: one system-wide key combination that brings Pelo
// forward from any program (and sends it back to the notification area when
// it is in front already). Which combination comes from the command line
// (ui/HotkeyChoice.h); nothing is stored anywhere.
#pragma once

#include <windows.h>

#include <string>

#include "ui/HotkeyChoice.h"
#include "win/UniqueHandle.h"

namespace hotkey {

// Pelo registers one hotkey, under this id, for its main window.
inline constexpr int kHotkeyId = 1;

struct RegistrationTraits {
    using type = HWND;
    static constexpr HWND Invalid() noexcept { return nullptr; }
    static void Close(HWND window) noexcept { ::UnregisterHotKey(window, kHotkeyId); }
};
// The hotkey kHotkeyId of a window, unregistered when the owner goes.
using UniqueRegistration = win::UniqueHandle<RegistrationTraits>;

// Registers `combination` for `window`, which then receives WM_HOTKEY with
// kHotkeyId; empty when another program holds the combination.
UniqueRegistration Register(HWND window, const Combination& combination);

// What this process's command line asks for.
Choice FromCommandLine();

// The notification icon's tip (at most 63 bytes, ANSI): the product name and
// the hotkey, or why there is none.
std::string TrayTip(const Choice& choice, bool registered);

}  // namespace hotkey
