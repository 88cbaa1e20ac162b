// PLACEHOLDER - replaced by delivery.
#include "ui/MainDialog.h"
BOOL MainDialog::CopyToClipboard(std::string) { return TRUE; }
BOOL MainDialog::PasteToLastActiveWindow() { return FALSE; }
void MainDialog::OnDictionaryListDblClk() {}
void MainDialog::OnFavoritesListDblClk() {}
