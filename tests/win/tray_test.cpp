// The notification area: the icon, its menu and its tip.
#include "MainDialogFixture.h"

namespace {

using namespace maindialogtest;

TEST(Tray, MinimiseHidesToTheIconWhichRestoresComesBackWithANewTaskbarAndGoesWithTheWindow) {
    NotificationAreaInUse area;
    ASSERT_TRUE(area.Added());
    Pelo pelo;
    const HWND window = pelo.Start();
    ASSERT_TRUE(window);
    EXPECT_FALSE(IconPresent(window));
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(Minimize(window));
        for (UINT ignored : {WM_MOUSEMOVE, WM_LBUTTONUP, WM_LBUTTONDBLCLK}) {
            // Sent, not posted: handled once the send returns (a posted one could come later).
            ::SendMessageW(window, tray::kIconMessage, 0, ignored);
        }
        EXPECT_TRUE(InTray(window));
        PressOnIcon(window, WM_LBUTTONDOWN);
        EXPECT_TRUE(WaitUntil([&] { return InTray(window, false); }));
        EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == window; }));
    }
    // A new taskbar gets the icon, shown or not; the old one went with its icons.
    TaskbarCreated(window);
    EXPECT_TRUE(IconPresent(window) && IsVisible(window));
    ASSERT_TRUE(Minimize(window));
    NOTIFYICONDATAW record{};
    record.cbSize = NOTIFYICONDATAW_V1_SIZE;
    record.hWnd = window;
    ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &record));
    TaskbarCreated(window);
    EXPECT_TRUE(WaitUntil([&] { return InTray(window); }));
    PressOnIcon(window, WM_LBUTTONDOWN);
    EXPECT_TRUE(WaitUntil([&] { return InTray(window, false); }));
    // Shown with its icon, then closed: the icon goes along (whatever the way out: the menu's
    // is below).
    TaskbarCreated(window);
    ASSERT_TRUE(IconPresent(window));
    ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(pelo.FinishRun(), Strings{});
    EXPECT_FALSE(IconPresent(window));
}

using MenuItem = std::pair<UINT, std::wstring>;  // {0, L""} for a separator

// Where the cursor is when the icon's menu opens; the menu stands this far above it:
// the exit command's height and one item's per favourite.
constexpr POINT kMenuCursor{700, 600};
constexpr int kMenuExitHeight = 20;
constexpr int kMenuFavoriteHeight = 21;
// The last command id a menu item can carry: 16 bits.
constexpr UINT kLastCommandId = 0xFFFF;

// Opens the icon's menu with the cursor at kMenuCursor; its window and items.
HWND OpenTrayMenu(HWND window, std::vector<MenuItem>& items) {
    ::SetCursorPos(kMenuCursor.x, kMenuCursor.y);
    PressOnIcon(window, WM_RBUTTONDOWN);
    HWND menu = nullptr;
    WaitUntil([&] {
        menu = FindTopLevelWindow(::GetCurrentProcessId(), L"", L"#32768");
        return IsVisible(menu) && ProcessIdOf(::GetForegroundWindow()) == ::GetCurrentProcessId();
    });
    const auto popup = reinterpret_cast<HMENU>(::SendMessageW(menu, MN_GETHMENU, 0, 0));
    items.clear();
    for (int i = 0; i < ::GetMenuItemCount(popup); ++i) {
        wchar_t text[256] = {};
        ::GetMenuStringW(popup, i, text, 256, MF_BYPOSITION);
        items.push_back({::GetMenuItemID(popup, i), text});
    }
    return IsVisible(menu) ? menu : nullptr;
}

TEST(Tray, TheMenuListsTheFavouritesAboveExitAndCopiesTheChosenOne) {
    NotificationAreaInUse area;
    ASSERT_TRUE(area.Added());
    const std::wstring omega = L"(´・ω・`)";
    const MenuItem exit{ID_TRAY_EXIT, L"終了(&Q)"};
    const struct {
        std::string favorites;
        std::vector<MenuItem> items;
    } cases[] = {
        {"", {exit}},
        // The "&" stays; an empty favourite, an empty item.
        {ToCp932(omega) + "\r\nTom & Jerry\r\n\r\n",
         {{ID_TRAY_FAVORITE_FIRST, omega},
          {ID_TRAY_FAVORITE_FIRST + 1, L"Tom & Jerry"},
          {ID_TRAY_FAVORITE_FIRST + 2, L""},
          {0, L""},
          exit}},
        // UTF-8: every character, one beyond the BMP too.
        {"\xEF\xBB\xBF" + ToUtf8(L"(♥ω♥)\r\n\U0001F43B\r\n"),
         {{ID_TRAY_FAVORITE_FIRST, L"(♥ω♥)"},
          {ID_TRAY_FAVORITE_FIRST + 1, L"\U0001F43B"},
          {0, L""},
          exit}},
    };
    for (const auto& menuCase : cases) {
        SCOPED_TRACE(menuCase.favorites);
        Pelo pelo({{"dic.txt", TinyDictionary()}, {"Favorite.txt", menuCase.favorites}});
        const HWND window = pelo.Start();
        ASSERT_TRUE(window);
        ASSERT_TRUE(Minimize(window));
        ASSERT_TRUE(SetClipboardText("before"));
        std::vector<MenuItem> items;
        for (int round = 0; round < 2; ++round) {  // loaded afresh: nothing piles up
            HWND menu = OpenTrayMenu(window, items);
            ASSERT_TRUE(menu);
            EXPECT_EQ(items, menuCase.items);
            // Right-aligned at the cursor, above it by the exit command and each favourite.
            EXPECT_EQ(ScreenRect(menu).right, kMenuCursor.x);
            EXPECT_EQ(ScreenRect(menu).top,
                      kMenuCursor.y - kMenuExitHeight -
                          kMenuFavoriteHeight *
                              (static_cast<int>(items.size()) - 1 - (items.size() > 1 ? 1 : 0)));
            PressKey(VK_ESCAPE);  // dismissed: nothing changes
            ASSERT_TRUE(WaitUntil([&] { return !IsVisible(menu); }));
            ASSERT_TRUE(Settle(window));
            EXPECT_EQ(ClipboardText(), "before");
            EXPECT_TRUE(InTray(window));
        }
        // Each favourite's command copies it, and nothing else happens.
        for (const auto& [id, text] : items) {
            if (id >= ID_TRAY_FAVORITE_FIRST) {
                ::SendMessageW(window, WM_COMMAND, id, 0);
                EXPECT_EQ(ClipboardUnicodeText(), text);
                EXPECT_EQ(ClipboardText(), ToCp932(text));
                EXPECT_TRUE(InTray(window));
            }
        }
        // The exit command, by its accelerator: the end, and the icon goes with it.
        ASSERT_TRUE(OpenTrayMenu(window, items));
        PressKey('Q');
        EXPECT_EQ(pelo.FinishRun(), Strings{});
        EXPECT_FALSE(IconPresent(window));
    }
}

// A window of the shell's taskbar class that refuses every icon: while it is the first
// such window, no notification area works.
LRESULT CALLBACK RefuseIcons(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return message == WM_COPYDATA ? FALSE : ::DefWindowProcW(window, message, wParam, lParam);
}

TEST(Tray, WithoutANotificationAreaMinimiseStaysOnTheTaskbarUntilOneComes) {
    NotificationAreaInUse area;
    Pelo pelo;
    const HWND window = pelo.Start();
    ASSERT_TRUE(window);
    WNDCLASSW taskbar{};
    taskbar.lpfnWndProc = &RefuseIcons;
    taskbar.lpszClassName = L"Shell_TrayWnd";
    ::RegisterClassW(&taskbar);
    const HWND refusing =
        ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"Shell_TrayWnd", L"", WS_POPUP, 0, 0,
                          1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_EQ(::FindWindowW(L"Shell_TrayWnd", nullptr), refusing);
    ASSERT_TRUE(Minimize(window, [=] { return ::IsIconic(window) != FALSE; }));
    EXPECT_TRUE(IsVisible(window)) << "hidden without an icon, Pelo would be out of reach";
    ::DestroyWindow(refusing);
    TaskbarCreated(window);
    EXPECT_TRUE(WaitUntil([&] { return InTray(window); }))
        << IsVisible(window) << ::IsIconic(window) << IconPresent(window);
}

// Enough favourites for ids past 0xFFFF, which would wrap to 0, IDOK, ... The menu
// holds those whose id fits (building it takes Wine seconds: the list it is built from).
TEST(Tray, AMenuItemNeverCarriesAnotherCommandsId) {
    Strings favorites;
    for (int i = 0; i < 32770; ++i) {
        favorites.push_back(std::to_string(i));
    }
    const auto inMenu = tray::MenuFavorites(favorites);
    ASSERT_FALSE(inMenu.empty());
    EXPECT_EQ(ID_TRAY_FAVORITE_FIRST + inMenu.size() - 1, kLastCommandId);
    EXPECT_EQ(inMenu.data(), favorites.data()) << "the first ones, in order";
    Pelo pelo({{"dic.txt", TinyDictionary()}, {"Favorite.txt", Lines(favorites)}});
    const HWND window = pelo.Start();
    ASSERT_TRUE(window);
    ::SendMessageW(window, WM_COMMAND, kLastCommandId, 0);
    EXPECT_EQ(ClipboardText(), inMenu.back());
}

TEST(Tray, TheTipNamesTheHotkeyOrWhyThereIsNone) {
    using Kind = hotkey::Choice::Kind;
    const hotkey::Choice winShiftK{Kind::Combination, hotkey::DefaultCombination(), {}};
    const auto bad = [](const std::string& argument) {
        return hotkey::Choice{Kind::Bad, {}, argument};
    };
    const std::wstring invalid = L"Pelo (ホットキーの指定が不正: ";
    const std::string longArgument = "/hotkey:" + std::string(40, 'x');
    const std::string kanaArgument = "/hotkey:x" + ToCp932(std::wstring(30, L'\u30AB'));
    const struct {
        hotkey::Choice choice;
        bool registered;
        std::string tip;
    } rows[] = {
        // the argument cut to fit the tip's 63 bytes, never inside a character
        {{Kind::None, {}, {}}, false, "Pelo"},
        {winShiftK, true, "Pelo (Win+Shift+K)"},
        {winShiftK, false, ToCp932(L"Pelo (ホットキー Win+Shift+K は他のプログラムが使用中)")},
        {bad("/hotkey:Q"), false, ToCp932(invalid + L"/hotkey:Q)")},
        {bad(longArgument), false, ToCp932(invalid) + longArgument.substr(0, 32) + ")"},
        {bad(kanaArgument), false,
         ToCp932(invalid + L"/hotkey:x" + std::wstring(11, L'\u30AB') + L")")},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(hotkey::TrayTip(row.choice, row.registered), row.tip);
    }
}

}  // namespace
