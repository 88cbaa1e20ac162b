#include "ui/Tray.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>

#include "ui/ResourceIds.h"
#include "win/Application.h"
#include "win/Strings.h"
#include "win/UniqueHandle.h"

namespace {

// The first version of the record: every shell understands it. It is 88
// bytes in the 32-bit build; the 64-bit build has wider handles.
constexpr DWORD kIconRecordSize = NOTIFYICONDATAA_V1_SIZE;
#ifndef _WIN64
static_assert(kIconRecordSize == 88);
#endif

// Pelo has one icon.
constexpr UINT kIconId = 0;

NOTIFYICONDATAA IconRecord(HWND owner) {
    NOTIFYICONDATAA record{};
    record.cbSize = kIconRecordSize;
    record.hWnd = owner;
    record.uID = kIconId;
    return record;
}

}  // namespace

namespace tray {

win::RegisteredMessage kTaskbarCreated{"TaskbarCreated"};

std::span<const std::string> MenuFavorites(std::span<const std::string> favorites) {
    // A command id has 16 bits: past 0xFFFF an item's id would wrap around to
    // another command's (IDOK ends Pelo, 1006 deletes a favourite).
    constexpr std::size_t kMost = kLastFavoriteCommand - kFirstFavoriteCommand + 1;
    return favorites.first(std::min(favorites.size(), kMost));
}

void InsertFavorites(HMENU trayMenu, std::span<const std::string> favorites,
                     text::Encoding encoding) {
    favorites = MenuFavorites(favorites);
    const HMENU popup = ::GetSubMenu(trayMenu, 0);
    UINT id = kFirstFavoriteCommand;
    for (const std::string& favorite : favorites) {
        const std::wstring text = win::ToWide(favorite, encoding);
        ::InsertMenuW(popup, ID_TRAY_EXIT, MF_BYCOMMAND | MF_STRING, id++, text.c_str());
    }
    if (!favorites.empty()) {
        ::InsertMenuA(popup, ID_TRAY_EXIT, MF_BYCOMMAND | MF_SEPARATOR, 0, nullptr);
    }
}

std::optional<std::string> FavoriteForCommand(std::span<const std::string> favorites, UINT id) {
    favorites = MenuFavorites(favorites);
    if (id < kFirstFavoriteCommand || id - kFirstFavoriteCommand >= favorites.size()) {
        return std::nullopt;
    }
    return favorites[id - kFirstFavoriteCommand];
}

int MenuTop(int cursorY, int favoriteCount) {
    return cursorY - 20 - 21 * favoriteCount;
}

}  // namespace tray

void TrayIcon::OnWindowPosChanged() {
    // Only once the change is done: while it is still under way, a minimise
    // has yet to show the window as an icon and would undo a hide.
    if (::IsIconic(m_window.Hwnd())) {
        MinimizeToTray();
    }
}

void TrayIcon::OnFavoriteCommand(UINT id) {
    // The favourite is looked up in the list now: the menu that showed it is gone already.
    if (const auto favorite = tray::FavoriteForCommand(m_favorites.Entries(), id)) {
        // The menu only copies; no paste follows.
        m_delivery.CopyToClipboard({*favorite, m_favorites.EntriesEncoding()});
    }
}

void TrayIcon::AddTrayIcon() {
    NOTIFYICONDATAA record = IconRecord(m_window.Hwnd());
    record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record.uCallbackMessage = tray::kIconMessage;
    record.hIcon = m_icon;
    std::memcpy(record.szTip, m_tip.c_str(), std::min(m_tip.size() + 1, sizeof record.szTip));
    // The shell refuses the add when the icon is there already, and fails it when
    // there is no notification area yet; either way what was there stays.
    if (::Shell_NotifyIconA(NIM_ADD, &record)) {
        m_trayIconAdded = true;
    }
}

void TrayIcon::RemoveTrayIcon() {
    // Without a saved handle (initialisation did not finish) there is no icon to find.
    NOTIFYICONDATAA record = IconRecord(m_hWndSaved);
    ::Shell_NotifyIconA(NIM_DELETE, &record);
    m_trayIconAdded = false;
}

void TrayIcon::HideToTray() {
    m_window.ModifyStyleEx(0, WS_EX_TOOLWINDOW);  // no taskbar button while hidden
    ::ShowWindow(m_window.Hwnd(), SW_HIDE);
}

// Hiding raises more position messages while the window is still iconic; only
// the first acts, so a minimise adds the icon and hides the window once. The
// window hides only when its icon exists: without a notification area it stays
// minimised on the taskbar, and the taskbar's arrival finishes the move.
void TrayIcon::MinimizeToTray() {
    if (m_hidingToTray || !::IsWindowVisible(m_window.Hwnd())) {
        return;
    }
    m_hidingToTray = true;
    AddTrayIcon();
    if (m_trayIconAdded) {
        HideToTray();
    }
    m_hidingToTray = false;
}

void TrayIcon::OnTaskbarCreated() {
    // Answered in every state: a new taskbar has none of the old icons.
    AddTrayIcon();
    if (::IsIconic(m_window.Hwnd())) {
        MinimizeToTray();
    }
}

LRESULT TrayIcon::OnIconMessage(WPARAM, LPARAM mouseMessage) {
    switch (mouseMessage) {
        case WM_LBUTTONDOWN:
            RestoreFromTray();
            break;
        case WM_RBUTTONDOWN:
            ShowTrayMenu();
            break;
        default:  // moves, releases and double-clicks mean nothing here
            break;
    }
    return 0;
}

// The icon goes before the window comes back: showing it activates it, so it
// stands in front with its focus from then on, and no icon may stand beside it.
void TrayIcon::RestoreFromTray() {
    RemoveTrayIcon();
    m_window.ModifyStyleEx(WS_EX_TOOLWINDOW, 0);  // the taskbar button comes back
    ::ShowWindow(m_window.Hwnd(), SW_RESTORE);
    ::SetForegroundWindow(m_window.Hwnd());
}

void TrayIcon::ShowTrayMenu() {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    // The menu closes when the user clicks elsewhere only if its owner is the
    // foreground window.
    ::SetForegroundWindow(m_window.Hwnd());
    ::SetFocus(m_window.Hwnd());

    // Loaded afresh each time, so the inserted favourites never pile up.
    const win::UniqueMenu menu(
        ::LoadMenuA(win::Application::Current().Instance(), MAKEINTRESOURCEA(IDR_TRAYMENU)));
    if (!menu) {
        return;
    }
    InsertFavoritesIntoMenu(menu.get());
    ::TrackPopupMenu(::GetSubMenu(menu.get(), 0), TPM_RIGHTALIGN | TPM_LEFTBUTTON | TPM_TOPALIGN,
                     cursor.x,
                     tray::MenuTop(cursor.y, static_cast<int>(tray::MenuFavorites(m_favorites.Entries()).size())), 0,
                     m_window.Hwnd(), nullptr);
    // Makes the menu work the next time too: the switch of foreground it
    // needs completes with a message to its owner.
    ::PostMessageA(m_window.Hwnd(), WM_NULL, 0, 0);
}

void TrayIcon::InsertFavoritesIntoMenu(HMENU menu) {
    tray::InsertFavorites(menu, m_favorites.Entries(), m_favorites.EntriesEncoding());
}

void TrayIcon::OnExit() {
    RemoveTrayIcon();
    m_window.EndDialog(IDCANCEL);
}
