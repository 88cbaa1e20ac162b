// The parts of the notification-area menu that need no dialog: which items
// the favourites add to it, which favourite a command stands for, and where
// the menu opens.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "win/Controls.h"

namespace tray {

// The icon's callback message; its lParam carries the mouse message.
inline constexpr UINT kIconMessage = WM_USER + 1;

// Fills submenu 0 of a freshly loaded tray menu: above its exit command, one
// string item per favourite in list order (command ID_TRAY_FAVORITE_FIRST + i,
// the text unchanged), then a separator when there was at least one favourite.
void InsertFavorites(HMENU trayMenu, const win::ListBox& favorites);

// The text of the favourite that menu command `id` stands for, matched against
// the list as it is now; nothing for any other command and for notification
// codes other than 0 (menu commands).
std::optional<std::string> FavoriteForCommand(const win::ListBox& favorites, UINT id, UINT code);

// The menu opens right-aligned at the cursor with its top this far up: about
// 20 pixels for the exit command and 21 per favourite, so that it stands above
// the cursor (and the taskbar).
int MenuTop(int cursorY, int favoriteCount);

}  // namespace tray
