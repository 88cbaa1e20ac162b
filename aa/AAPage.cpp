// PLACEHOLDER - replaced by the AA page.
#include "ui/MainDialog.h"
bool MainDialog::LoadAAList() { return true; }
void MainDialog::OnNewAA() {}
void MainDialog::OnEditAA() {}
void MainDialog::OnDeleteAA() {}
void MainDialog::OnDblclkAAList() {}
