// Driving Pelo's notification-area icon from another process: the shell's
// part (mouse messages on the icon, the "TaskbarCreated" broadcast) is played
// by posting what the shell would post, and the icon is probed in the shell.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <chrono>

#include "E2e.h"

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
inline void Minimize(HWND window) {
    ::PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

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

// Waits for Pelo's menu, and for Pelo to hold the foreground (so that keys
// reach the menu); null when either did not come.
inline HWND WaitForMenu(DWORD pid) {
    HWND menu = nullptr;
    const bool ready = e2e::WaitUntil([&] {
        menu = OpenMenu(pid);
        return menu != nullptr && e2e::ProcessIdOf(::GetForegroundWindow()) == pid;
    });
    return ready ? menu : nullptr;
}

// Waits until Pelo's modal loop has first run out of messages: the dialog
// manager shows the dialog normally at that moment, which would undo a
// minimise made before it. Input idle alone may come earlier (any empty look
// at the queue counts); a sent message is handled in the loop's own look at
// the queue, so after two of them the loop has found it empty at least once.
inline bool WaitUntilIdle(e2e::PeloProcess& pelo) {
    return ::WaitForInputIdle(pelo.Proc().Handle(), 10000) == 0 && Settle(pelo.MainWindow()) &&
           Settle(pelo.MainWindow());
}

// Keeps an icon of the test's own in the notification area. Wine shows its
// notification area as a window of its own when the first icon arrives, and
// that window takes the foreground a moment later: with an icon there from
// the start, Pelo's icon neither opens it nor loses the foreground to it.
class NotificationAreaInUse {
public:
    NotificationAreaInUse() {
        m_owner = ::CreateWindowExW(0, L"STATIC", L"tray test icon", WS_POPUP, 0, 0, 1, 1, nullptr,
                                    nullptr, nullptr, nullptr);
        NOTIFYICONDATAW record{};
        record.cbSize = NOTIFYICONDATAW_V1_SIZE;
        record.hWnd = m_owner;
        record.uFlags = NIF_ICON;
        record.hIcon = ::LoadIconA(nullptr, IDI_APPLICATION);
        m_added = ::Shell_NotifyIconW(NIM_ADD, &record) != FALSE;
        // Wine's own notification-area window, where there is one, settles first.
        if (HWND area = ::FindWindowW(L"__winex11_standalone_tray", nullptr)) {
            e2e::WaitUntil([&] { return ::GetForegroundWindow() == area; }, 2s);
        }
    }
    ~NotificationAreaInUse() {
        NOTIFYICONDATAW record{};
        record.cbSize = NOTIFYICONDATAW_V1_SIZE;
        record.hWnd = m_owner;
        ::Shell_NotifyIconW(NIM_DELETE, &record);
        ::DestroyWindow(m_owner);
    }
    NotificationAreaInUse(const NotificationAreaInUse&) = delete;
    NotificationAreaInUse& operator=(const NotificationAreaInUse&) = delete;

    bool Added() const { return m_added; }

private:
    HWND m_owner = nullptr;
    bool m_added = false;
};

// Minimises Pelo and waits until it sits in the tray.
inline bool MinimizeToTray(HWND pelo) {
    Minimize(pelo);
    return e2e::WaitUntil([&] { return InTray(pelo); });
}

}  // namespace traydriver
