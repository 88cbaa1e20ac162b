// PLACEHOLDER - replaced by the dictionary page.
#include "ui/MainDialog.h"
bool MainDialog::LoadDictionary() { return true; }
void MainDialog::OnCategorySelChanged(NMHDR*, LRESULT* result) { *result = 0; }
void MainDialog::ShowCategory(std::string) {}
