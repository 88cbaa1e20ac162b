// Turning to Pelo through its notification-area icon gives the foreground to
// the shell and to Pelo's own menu for a moment; neither may become the place
// a later double-click pastes into.
#include <gtest/gtest.h>

#include <thread>

#include "TestSupport.h"
#include "app/resource.h"

namespace {

using namespace testsupport;

// The user presses on the notification area: the shell's window (Wine's own
// tray window where there is one, else the taskbar) holds the foreground for
// about as long as a press lasts, a few of the hook library's looks (every
// 100 ms). This is input timing, not a wait for a result.
bool PressOnNotificationArea() {
    HWND shell = ::FindWindowW(L"__winex11_standalone_tray", nullptr);
    shell = shell ? shell : ::FindWindowW(L"Shell_TrayWnd", nullptr);
    if (!BringToForeground(shell)) {
        return false;
    }
    std::this_thread::sleep_for(300ms);
    return ::GetForegroundWindow() == shell;
}

HWND OpenMenu(DWORD pid) {
    const HWND menu = FindTopLevelWindow(pid, L"", L"#32768");
    return IsVisible(menu) ? menu : nullptr;
}

TEST(TrayTarget, AfterTheShellAndTheTrayMenuHadTheForegroundThePasteGoesToTheEditor) {
    NotificationAreaInUse notificationArea;
    ASSERT_TRUE(notificationArea.Added());
    PeloProcess pelo;
    ASSERT_TRUE(pelo.WriteFile("Favorite.txt", "(^o^)\r\n"));
    TargetApp editor(L"tray editor");
    ASSERT_TRUE(editor.Activate());

    // The user came from the editor; Pelo waits in the tray (once its modal loop
    // has run idle: the dialog manager's first showing would undo the minimise).
    ASSERT_TRUE(pelo.Start());
    const HWND window = pelo.MainWindow();
    ASSERT_EQ(::WaitForInputIdle(pelo.Proc().Handle(), 10000), 0u);
    ASSERT_TRUE(Settle(window) && Settle(window));
    ::PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsVisible(window) && IconPresent(window); }));

    // A right click on the icon: the shell's window first, then Pelo's menu.
    ASSERT_TRUE(PressOnNotificationArea());
    ::PostMessageW(window, kTrayIconMessage, 0, WM_RBUTTONDOWN);
    ASSERT_TRUE(WaitUntil(
        [&] { return OpenMenu(pelo.Id()) && ProcessIdOf(::GetForegroundWindow()) == pelo.Id(); }));
    ASSERT_TRUE(SetClipboardText("before"));
    PressKey(VK_DOWN);  // the favourite: copied, and pasted nowhere
    PressKey(VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return OpenMenu(pelo.Id()) == nullptr; }));
    EXPECT_TRUE(WaitUntil([&] { return ClipboardText() == "(^o^)"; }));
    // A paste would come as input to the editor, which a sent message overtakes.
    EXPECT_FALSE(WaitUntil([&] { return editor.Text() != ""; }, 500ms)) << editor.Text();

    // A left click: the shell's window again, then Pelo comes back.
    ASSERT_TRUE(PressOnNotificationArea());
    ::PostMessageW(window, kTrayIconMessage, 0, WM_LBUTTONDOWN);
    ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == window; }));

    ASSERT_TRUE(SelectTab(pelo.Control(IDC_TAB), kFavoritesTab));
    ASSERT_TRUE(DoubleClickListItem(pelo.Control(IDC_FAVORITE_LIST), 0));
    EXPECT_TRUE(WaitUntil([&] { return editor.Text() == "(^o^)"; })) << editor.Text();
}

}  // namespace
