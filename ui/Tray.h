// Minimising Pelo puts it into the notification area: the window leaves the
// screen and the taskbar and an icon takes its place. A left-button press on
// the icon brings the window back; a right-button press opens a menu of the
// favourites (choosing one copies it) above the exit command. When the shell
// re-creates its taskbar it announces "TaskbarCreated" and the icon is added
// again.
#pragma once

#include <windows.h>

#include <optional>
#include <span>
#include <string>

#include "ui/ResourceIds.h"
#include "delivery/Delivery.h"
#include "text/Encoding.h"
#include "favorites/FavoritesPage.h"
#include "win/Dialog.h"

// The icon and its menu for the main dialog `window`.
class TrayIcon {
public:
    TrayIcon(win::Dialog& window, HICON icon, const FavoritesPage& favorites,
             delivery::Delivery& delivery)
        : m_window(window), m_icon(icon), m_favorites(favorites), m_delivery(delivery) {}

    // The window handle that names the icon, saved at initialisation: the
    // icon is removed through it after the window is gone.
    void SaveWindowHandle(HWND window) { m_hWndSaved = window; }

    // The dialog's table hands these on; every one but the exit and the
    // favourite commands goes on to the default processing afterwards.
    // A change of position or size is done: a minimise moves to the tray.
    void OnWindowPosChanged();
    // The icon's callback message (tray::kIconMessage); lParam carries the mouse message.
    LRESULT OnIconMessage(WPARAM, LPARAM mouseMessage);
    // The shell has made a new taskbar (tray::kTaskbarCreated).
    void OnTaskbarCreated();
    // A favourite chosen from the menu (its command id): copied, never pasted.
    void OnFavoriteCommand(UINT id);
    void OnExit();
    void RemoveTrayIcon();
    void InsertFavoritesIntoMenu(HMENU menu);
    void RestoreFromTray();
    // The icon's tip from its next add on (at most 63 bytes).
    void SetTip(std::string tip) { m_tip = std::move(tip); }

private:
    void AddTrayIcon();
    void HideToTray();
    void MinimizeToTray();
    void ShowTrayMenu();

    win::Dialog& m_window;
    HICON m_icon;
    const FavoritesPage& m_favorites;
    delivery::Delivery& m_delivery;
    HWND m_hWndSaved = nullptr;
    std::string m_tip = "Pelo";
    bool m_trayIconAdded = false;      // Pelo's icon is in the notification area
    bool m_hidingToTray = false;       // a minimise to the tray is under way
};

// The parts of the menu that need no window: which items the favourites add
// to it, which favourite a command stands for, and where the menu opens.
namespace tray {

// The icon's callback message; its lParam carries the mouse message.
inline constexpr UINT kIconMessage = WM_USER + 1;

// What the shell sends every top-level window after (re-)creating the taskbar.
extern win::RegisteredMessage kTaskbarCreated;

// The command ids of the favourites in the menu: one per favourite from the
// first on, up to the last id that fits in 16 bits.
inline constexpr UINT kFirstFavoriteCommand = ID_TRAY_FAVORITE_FIRST;
inline constexpr UINT kLastFavoriteCommand = 0xFFFF;

// The favourites the menu offers: all of them, up to the last one whose
// command id still fits in 16 bits.
std::span<const std::string> MenuFavorites(std::span<const std::string> favorites);

// Fills submenu 0 of a freshly loaded tray menu: above its exit command, one
// string item per favourite of MenuFavorites in list order (command ID_TRAY_FAVORITE_FIRST + i,
// its characters unchanged: items in UTF-16, from `encoding`), then a
// separator when there was at least one favourite.
void InsertFavorites(HMENU trayMenu, std::span<const std::string> favorites,
                     text::Encoding encoding);

// The text of the favourite that menu command `id` stands for, matched against
// the list as it is now; nothing for an id past the last favourite.
std::optional<std::string> FavoriteForCommand(std::span<const std::string> favorites, UINT id);

// The menu opens right-aligned at the cursor with its top this far up: about
// 20 pixels for the exit command and 21 per favourite, so that it stands above
// the cursor (and the taskbar).
int MenuTop(int cursorY, int favoriteCount);

}  // namespace tray
