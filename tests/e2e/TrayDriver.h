// Driving Pelo's notification-area icon from another process: the shell's
// part (mouse messages on the icon, the "TaskbarCreated" broadcast) is played
// by posting what the shell would post, and the icon is probed in the shell.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <chrono>

#include "tests/support/E2e.h"

namespace traydriver {

using namespace std::chrono_literals;

inline constexpr UINT kIconMessage = WM_USER + 1;

// Whether the shell holds Pelo's icon (window `pelo`, id 0): a modification
// succeeds only for an icon that exists. Also true for an icon left behind by
// a window that is gone.
inline bool IconPresent(HWND pelo) {
    NOTIFYICONDATAA record{};
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = pelo;
    record.uID = 0;
    return ::Shell_NotifyIconA(NIM_MODIFY, &record) != FALSE;
}

// Removes Pelo's icon the way a dying taskbar loses it.
inline bool DeleteIcon(HWND pelo) {
    NOTIFYICONDATAA record{};
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = pelo;
    record.uID = 0;
    return ::Shell_NotifyIconA(NIM_DELETE, &record) != FALSE;
}

// What the shell posts when the user presses a mouse button on the icon.
inline void PressOnIcon(HWND pelo, UINT mouseMessage) {
    ::PostMessageW(pelo, kIconMessage, 0, static_cast<LPARAM>(mouseMessage));
}

// The minimise box.
inline void Minimize(HWND window) { ::PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0); }

// What the shell sends to every top-level window when it has made a new taskbar.
inline void BroadcastTaskbarCreated() {
    const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(HWND_BROADCAST, message, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
}

// Returns once `window`'s thread has finished what it was doing and is back
// in its message loop (a sent message is handled only there).
inline bool Settle(HWND window) {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

inline bool HasToolWindowStyle(HWND window) {
    return (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
}

// In the tray: hidden, off the taskbar, the icon there.
inline bool InTray(HWND pelo) {
    return !::IsWindowVisible(pelo) && HasToolWindowStyle(pelo) && IconPresent(pelo);
}

// Shown after a restore: visible, not minimised, on the taskbar, no icon.
inline bool ShownWithoutIcon(HWND pelo) {
    return ::IsWindowVisible(pelo) && !::IsIconic(pelo) && !HasToolWindowStyle(pelo) &&
           !IconPresent(pelo);
}

// The popup menu window Pelo has open, if any.
inline HWND OpenMenu(DWORD pid) {
    for (HWND window : e2e::TopLevelWindows(pid)) {
        if (e2e::ClassNameOf(window) == L"#32768" && ::IsWindowVisible(window)) {
            return window;
        }
    }
    return nullptr;
}

inline HWND WaitForMenu(DWORD pid) {
    HWND menu = nullptr;
    e2e::WaitUntil([&] { return (menu = OpenMenu(pid)) != nullptr; });
    return menu;
}

// Minimises Pelo and waits until it sits in the tray.
inline bool MinimizeToTray(HWND pelo) {
    Minimize(pelo);
    return e2e::WaitUntil([&] { return InTray(pelo); });
}

}  // namespace traydriver
