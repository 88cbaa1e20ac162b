// Turning to Pelo through its notification-area icon gives the foreground to
// the shell and to Pelo's own menu for a moment; neither may become the place
// a later double-click pastes into.
#include <windows.h>

#include <chrono>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "E2e.h"
#include "TrayDriver.h"
#include "app/resource.h"

namespace {

using namespace traydriver;
using e2e::WaitUntil;

using namespace std::chrono_literals;

// How long the shell holds the foreground while the user presses on the icon:
// a press lasts about this long, and it spans a few of the hook library's
// looks at the foreground window (every 100 ms). This is input timing, not a
// wait for a result.
constexpr auto kPressOnIcon = 300ms;

// The user presses on the notification area: the shell's window takes the
// foreground until Pelo takes it.
bool PressOnNotificationArea(HWND shell) {
    if (!e2e::BringToForeground(shell)) {
        return false;
    }
    std::this_thread::sleep_for(kPressOnIcon);
    return ::GetForegroundWindow() == shell;
}

// The shell's window that a click on the notification area activates: Wine's
// own notification-area window where there is one, else the taskbar.
HWND NotificationAreaWindow() {
    if (HWND wine = ::FindWindowW(L"__winex11_standalone_tray", nullptr)) {
        return wine;
    }
    return ::FindWindowW(L"Shell_TrayWnd", nullptr);
}

TEST(TrayTargetTest, AfterTheShellAndTheTrayMenuHadTheForegroundThePasteGoesToTheEditor) {
    NotificationAreaInUse notificationArea;
    ASSERT_TRUE(notificationArea.Added());
    const std::string favorite = "(^o^)";
    e2e::PeloProcess pelo;
    ASSERT_TRUE(pelo.WriteFile("Favorite.txt", favorite + "\r\n"));
    e2e::TargetApp editor(L"tray editor", {0, 0});
    ASSERT_TRUE(editor.Window());
    ASSERT_TRUE(editor.Activate());

    // The user came from the editor; Pelo waits in the tray.
    ASSERT_TRUE(pelo.Start());
    ASSERT_TRUE(WaitUntilIdle(pelo));
    const HWND window = pelo.MainWindow();
    ASSERT_TRUE(MinimizeToTray(window));

    // A right click on the icon: the shell's window first, then Pelo's menu.
    const HWND shell = NotificationAreaWindow();
    ASSERT_TRUE(shell);
    ASSERT_TRUE(PressOnNotificationArea(shell));
    PressOnIcon(window, WM_RBUTTONDOWN);
    ASSERT_TRUE(WaitForMenu(pelo.Id()));
    e2e::PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return OpenMenu(pelo.Id()) == nullptr; }));

    // A left click: the shell's window again, then Pelo comes back.
    ASSERT_TRUE(PressOnNotificationArea(shell));
    PressOnIcon(window, WM_LBUTTONDOWN);
    ASSERT_TRUE(WaitUntil([&] { return ShownWithoutIcon(window); }));
    ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == window; }));

    ASSERT_TRUE(e2e::SelectTab(pelo.Control(IDC_TAB), e2e::kFavoritesTab));
    ASSERT_TRUE(e2e::DoubleClickListItem(pelo.Control(IDC_FAVORITE_LIST), 0));
    EXPECT_TRUE(WaitUntil([&] { return editor.Text() == favorite; }))
        << "the editor holds \"" << editor.Text() << "\"";
}

}  // namespace
