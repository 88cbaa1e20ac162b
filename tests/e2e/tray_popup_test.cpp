// The icon's right-button menu, worked by keyboard from outside (another
// process cannot read Pelo's menu): where it opens, what choosing a favourite
// puts on the clipboard, and its exit command.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "TrayDriver.h"
#include "E2e.h"

namespace {

using namespace traydriver;
using e2e::WaitUntil;
using testsupport::ToCp932;

const std::string kSentinel = "clipboard before the menu";

class TrayPopupTest : public ::testing::Test {
protected:
    // Starts Pelo with these favourites and puts it into the tray.
    void StartInTray(const std::string& favoriteFile) {
        if (!favoriteFile.empty()) {
            ASSERT_TRUE(m_pelo.WriteFile("Favorite.txt", favoriteFile));
        }
        ASSERT_TRUE(m_pelo.Start());
        ASSERT_TRUE(WaitUntilIdle(m_pelo));
        m_window = m_pelo.MainWindow();
        ASSERT_TRUE(m_notificationArea.Added());
        ASSERT_TRUE(e2e::BringToForeground(m_window));
        ASSERT_TRUE(MinimizeToTray(m_window));
        ASSERT_TRUE(e2e::SetClipboardText(kSentinel));
    }

    // Opens the menu with the cursor at `cursor`; returns its window.
    HWND OpenMenuAt(POINT cursor) {
        ::SetCursorPos(cursor.x, cursor.y);
        PressOnIcon(m_window, WM_RBUTTONDOWN);
        return WaitForMenu(m_pelo.Id());
    }

    bool MenuClosed() {
        return WaitUntil([&] { return OpenMenu(m_pelo.Id()) == nullptr; });
    }

    // Pelo has ended and its icon went with it.
    void ExpectEnded() {
        ASSERT_TRUE(m_pelo.WaitForExit().has_value());
        EXPECT_FALSE(IconPresent(m_window));
    }

    NotificationAreaInUse m_notificationArea;
    e2e::PeloProcess m_pelo;
    HWND m_window = nullptr;
};

TEST_F(TrayPopupTest, WithoutFavoritesTheMenuHoldsOnlyExitJustAboveTheCursor) {
    StartInTray("");
    const POINT cursor = {700, 600};
    const HWND menu = OpenMenuAt(cursor);
    ASSERT_TRUE(menu);
    // Right-aligned at the cursor, its top 20 pixels above it: room for one item.
    const RECT rect = e2e::ScreenRect(menu);
    EXPECT_EQ(rect.right, cursor.x);
    EXPECT_EQ(rect.top, cursor.y - 20);

    // The first item from the bottom is the exit command.
    e2e::PressKey(VK_UP);
    e2e::PressKey(VK_RETURN);
    ExpectEnded();
    EXPECT_EQ(e2e::ClipboardText(), kSentinel);
}

TEST_F(TrayPopupTest, ChoosingAFavoriteCopiesItsTextAndPastesNothing) {
    const std::string kaomoji = ToCp932(L"(´・ω・`)");
    StartInTray(kaomoji + "\r\nTom & Jerry\r\n" + ToCp932(L"＼(^o^)／") + "\r\n");
    // A window that would receive a paste if one happened.
    e2e::TargetApp target(L"Tray target", {20, 20});
    ASSERT_TRUE(target.Window());
    ASSERT_TRUE(target.Activate());

    const POINT cursor = {700, 600};
    const HWND menu = OpenMenuAt(cursor);
    ASSERT_TRUE(menu);
    // Three favourites: the top stands 83 pixels above the cursor.
    EXPECT_EQ(e2e::ScreenRect(menu).top, cursor.y - 83);
    e2e::PressKey(VK_DOWN);
    e2e::PressKey(VK_RETURN);
    ASSERT_TRUE(MenuClosed());
    EXPECT_TRUE(WaitUntil([&] { return e2e::ClipboardText() == kaomoji; }));
    ASSERT_TRUE(Settle(m_window));
    ASSERT_TRUE(Settle(target.Window()));
    EXPECT_EQ(target.Text(), "");
    EXPECT_TRUE(InTray(m_window));

    // The "&" of a favourite is copied with it.
    ASSERT_TRUE(OpenMenuAt(cursor));
    e2e::PressKey(VK_DOWN);
    e2e::PressKey(VK_DOWN);
    e2e::PressKey(VK_RETURN);
    ASSERT_TRUE(MenuClosed());
    EXPECT_TRUE(WaitUntil([&] { return e2e::ClipboardText() == "Tom & Jerry"; }));

    // Dismissing the menu changes nothing.
    ASSERT_TRUE(e2e::SetClipboardText(kSentinel));
    ASSERT_TRUE(OpenMenuAt(cursor));
    e2e::PressKey(VK_ESCAPE);
    ASSERT_TRUE(MenuClosed());
    ASSERT_TRUE(Settle(m_window));
    EXPECT_EQ(e2e::ClipboardText(), kSentinel);
    EXPECT_TRUE(InTray(m_window));
    EXPECT_EQ(target.Text(), "");
}

TEST_F(TrayPopupTest, TheExitCommandEndsPeloBelowTheFavorites) {
    StartInTray("a\r\nb\r\nc\r\n");
    ASSERT_TRUE(OpenMenuAt({700, 600}));
    // Up from nothing selects the last item; the separator is skipped on the way.
    e2e::PressKey(VK_UP);
    e2e::PressKey(VK_UP);
    e2e::PressKey(VK_RETURN);
    ASSERT_TRUE(MenuClosed());
    EXPECT_TRUE(WaitUntil([&] { return e2e::ClipboardText() == "c"; }));
    ASSERT_TRUE(m_pelo.IsRunning());

    ASSERT_TRUE(OpenMenuAt({700, 600}));
    e2e::PressKey('Q');  // the exit command's accelerator
    ExpectEnded();
}

}  // namespace
