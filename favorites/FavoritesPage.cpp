// PLACEHOLDER - replaced by the favourites page.
#include "ui/MainDialog.h"
void MainDialog::LoadFavorites() {}
void MainDialog::SaveFavorites() {}
void MainDialog::OnAddFavorite() {}
void MainDialog::OnFavoriteUp() {}
void MainDialog::OnFavoriteDown() {}
void MainDialog::OnDeleteFavorite() {}
