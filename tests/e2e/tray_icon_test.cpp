// Pelo in the notification area: minimising, restoring, the taskbar coming
// back, the ways the program ends, and a second start, seen from outside.
#include <windows.h>

#include <gtest/gtest.h>

#include "TrayDriver.h"
#include "E2e.h"

namespace {

using namespace traydriver;
using e2e::WaitUntil;

class TrayIconTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_pelo.Start());
        ASSERT_TRUE(WaitUntilIdle(m_pelo));
        m_window = m_pelo.MainWindow();
        ASSERT_TRUE(m_notificationArea.Added());
        ASSERT_TRUE(e2e::BringToForeground(m_window));
        ASSERT_FALSE(IconPresent(m_window)) << "no icon while Pelo is shown";
    }

    NotificationAreaInUse m_notificationArea;
    e2e::PeloProcess m_pelo;
    HWND m_window = nullptr;
};

TEST_F(TrayIconTest, MinimiseHidesToTheTrayOnceAndTheLeftButtonRestores) {
    ASSERT_TRUE(MinimizeToTray(m_window));
    // The hide ended: Pelo answers, and stays in the tray.
    ASSERT_TRUE(Settle(m_window));
    EXPECT_TRUE(InTray(m_window));

    // Other mouse messages on the icon do nothing.
    PressOnIcon(m_window, WM_MOUSEMOVE);
    PressOnIcon(m_window, WM_LBUTTONUP);
    PressOnIcon(m_window, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(Settle(m_window));
    EXPECT_TRUE(InTray(m_window));

    PressOnIcon(m_window, WM_LBUTTONDOWN);
    EXPECT_TRUE(WaitUntil([&] { return ShownWithoutIcon(m_window); }));
    EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == m_window; }));

    // And again: the round trip works more than once.
    ASSERT_TRUE(MinimizeToTray(m_window));
    PressOnIcon(m_window, WM_LBUTTONDOWN);
    EXPECT_TRUE(WaitUntil([&] { return ShownWithoutIcon(m_window); }));
}

TEST_F(TrayIconTest, TaskbarCreatedWhileShownAddsTheIcon) {
    BroadcastTaskbarCreated();
    ASSERT_TRUE(WaitUntil([&] { return IconPresent(m_window); }));
    EXPECT_TRUE(::IsWindowVisible(m_window));
    EXPECT_FALSE(HasToolWindowStyle(m_window));

    // A left button on that icon leaves Pelo shown and takes the icon away.
    PressOnIcon(m_window, WM_LBUTTONDOWN);
    EXPECT_TRUE(WaitUntil([&] { return ShownWithoutIcon(m_window); }));

    // With the icon there already, a minimise still hides.
    BroadcastTaskbarCreated();
    ASSERT_TRUE(WaitUntil([&] { return IconPresent(m_window); }));
    EXPECT_TRUE(MinimizeToTray(m_window));
}

TEST_F(TrayIconTest, TaskbarCreatedWhileInTheTrayBringsTheIconBack) {
    ASSERT_TRUE(MinimizeToTray(m_window));
    // The old taskbar went away with Pelo's icon; the new one announces itself.
    ASSERT_TRUE(DeleteIcon(m_window));
    BroadcastTaskbarCreated();
    ASSERT_TRUE(WaitUntil([&] { return InTray(m_window); }));

    // The new icon works: its menu opens and closes, its left button restores.
    PressOnIcon(m_window, WM_RBUTTONDOWN);
    ASSERT_TRUE(WaitForMenu(m_pelo.Id()));
    e2e::PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return OpenMenu(m_pelo.Id()) == nullptr; }));
    EXPECT_TRUE(InTray(m_window));
    PressOnIcon(m_window, WM_LBUTTONDOWN);
    EXPECT_TRUE(WaitUntil([&] { return ShownWithoutIcon(m_window); }));
}

TEST_F(TrayIconTest, EscapeEndsPeloAndTakesItsIconAlong) {
    BroadcastTaskbarCreated();
    ASSERT_TRUE(WaitUntil([&] { return IconPresent(m_window); }));
    ASSERT_TRUE(e2e::PressKeyIn(m_window, VK_ESCAPE));
    ASSERT_TRUE(m_pelo.WaitForExit().has_value());
    EXPECT_FALSE(IconPresent(m_window));
}

TEST_F(TrayIconTest, TheCloseBoxEndsPeloAndTakesItsIconAlong) {
    BroadcastTaskbarCreated();
    ASSERT_TRUE(WaitUntil([&] { return IconPresent(m_window); }));
    ::PostMessageW(m_window, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(m_pelo.WaitForExit().has_value());
    EXPECT_FALSE(IconPresent(m_window));
}

TEST_F(TrayIconTest, ASecondStartLeavesTheFirstInTheTrayAndEnds) {
    ASSERT_TRUE(MinimizeToTray(m_window));
    e2e::Process second = m_pelo.StartAnother();
    ASSERT_TRUE(second.Started());
    EXPECT_TRUE(second.WaitForExit().has_value());
    EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == m_window; }));
    ASSERT_TRUE(Settle(m_window));
    EXPECT_TRUE(InTray(m_window));
    EXPECT_TRUE(m_pelo.IsRunning());
}

// A window of the shell's taskbar class that refuses every icon: while it is
// the first such window, Shell_NotifyIcon finds no working notification area.
class MissingNotificationArea {
public:
    MissingNotificationArea() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = Refuse;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"Shell_TrayWnd";
        ::RegisterClassW(&windowClass);
        m_window =
            ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"Shell_TrayWnd", L"", WS_POPUP, 0,
                              0, 1, 1, nullptr, nullptr, windowClass.hInstance, nullptr);
    }
    ~MissingNotificationArea() { Remove(); }
    MissingNotificationArea(const MissingNotificationArea&) = delete;
    MissingNotificationArea& operator=(const MissingNotificationArea&) = delete;

    bool InPlace() const {
        return m_window != nullptr && ::FindWindowW(L"Shell_TrayWnd", nullptr) == m_window;
    }
    void Remove() {
        if (m_window != nullptr) {
            ::DestroyWindow(m_window);
            m_window = nullptr;
        }
    }

private:
    static LRESULT CALLBACK Refuse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COPYDATA) {
            return FALSE;
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }

    HWND m_window = nullptr;
};

TEST_F(TrayIconTest, WithoutANotificationAreaMinimiseStaysOnTheTaskbarUntilItComes) {
    MissingNotificationArea missing;
    ASSERT_TRUE(missing.InPlace());

    Minimize(m_window);
    ASSERT_TRUE(WaitUntil([&] { return ::IsIconic(m_window) != FALSE; }));
    ASSERT_TRUE(Settle(m_window));
    // No icon could be added: hiding would leave Pelo unreachable.
    EXPECT_TRUE(::IsWindowVisible(m_window));
    EXPECT_FALSE(HasToolWindowStyle(m_window));

    missing.Remove();
    ASSERT_FALSE(IconPresent(m_window));
    // The notification area arrives and finishes the move to the tray.
    BroadcastTaskbarCreated();
    ASSERT_TRUE(WaitUntil([&] { return InTray(m_window); }));
    PressOnIcon(m_window, WM_LBUTTONDOWN);
    EXPECT_TRUE(WaitUntil([&] { return ShownWithoutIcon(m_window); }));
}

}  // namespace
