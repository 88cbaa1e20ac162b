// PLACEHOLDER - replaced by the tray icon and menu.
#include "ui/MainDialog.h"
bool MainDialog::OnCmdMsg(UINT id, UINT code) { return Dialog::OnCmdMsg(id, code); }
LRESULT MainDialog::DefWindowProc(UINT m, WPARAM w, LPARAM l) { return Dialog::DefWindowProc(m, w, l); }
void MainDialog::PostNcDestroy() { Dialog::PostNcDestroy(); }
void MainDialog::AddTrayIcon() {}
void MainDialog::HideToTray() {}
void MainDialog::InsertFavoritesIntoMenu(HMENU) {}
void MainDialog::OnExit() { OnCancel(); }
