// The favourites page: list 1005 and Favorite.txt, kept holding the same
// entries in the same order. The list box is the only in-memory store of the
// favourites; the file is read at start-up and after every add, and rewritten
// whole after every move and delete.
#include <optional>
#include <string>
#include <vector>

#include "app/resource.h"
#include "favorites/FavoritesFile.h"
#include "favorites/FavoritesFormat.h"
#include "ui/MainDialog.h"
#include "win/FileError.h"
#include "win/MessageBox.h"
#include "win/Strings.h"

namespace {

constexpr UINT kStopFlags = MB_OK | MB_ICONHAND;

std::vector<std::string> EntriesOf(const win::ListBox& list) {
    std::vector<std::string> entries;
    const int count = list.GetCount();
    entries.reserve(count > 0 ? count : 0);
    for (int index = 0; index < count; ++index) {
        entries.push_back(list.GetText(index));
    }
    return entries;
}

void Fill(const win::ListBox& list, const std::vector<std::string>& entries) {
    list.ResetContent();
    for (const std::string& entry : entries) {
        list.AddString(entry);
    }
}

}  // namespace

// Runs from OnInitDialog and after an add, so a read error is shown here
// rather than thrown: it must not cut the dialog's initialisation short.
void MainDialog::LoadFavorites() {
    std::vector<std::string> entries;
    std::optional<win::FileError> readError;
    m_favoritesLoaded = false;
    try {
        // A file that cannot be opened (another program holds it) leaves the
        // list empty without a word; an add will try again.
        m_favoritesLoaded = favorites::LoadFavoritesFile(favorites::kFileName, entries);
    } catch (const win::FileError& error) {
        // The entries read before the error stay usable; the flag keeps
        // moves and deletes from rewriting the file without the rest.
        readError = error;
    }
    Fill(m_favoriteList, entries);
    SetHorizontalExtent(m_favoriteList);
    if (readError) {
        readError->Report();
    }
}

void MainDialog::SaveFavorites() {
    favorites::SaveFavoritesFile(favorites::kFileName, EntriesOf(m_favoriteList));
}

void MainDialog::OnAddFavorite() {
    const int selected = m_kaomojiList.GetCurSel();
    if (selected == LB_ERR) {
        win::ShowMessage(IDS_SELECT_ITEM, kStopFlags);
        return;
    }
    const std::string kaomoji = m_kaomojiList.GetText(selected);
    if (favorites::ContainsFavorite(EntriesOf(m_favoriteList), kaomoji, win::SystemLeadByte)) {
        win::ShowMessage(IDS_DUPLICATE_FAVORITE, kStopFlags);
        return;
    }
    // On failure the file is as it was and so is the list; the error goes
    // to the user from the dialog.
    favorites::AddToFavoritesFile(favorites::kFileName, kaomoji);
    LoadFavorites();
}

void MainDialog::OnFavoriteUp() {
    const int index = m_favoriteList.GetCurSel();
    if (index == LB_ERR) {
        win::ShowMessage(IDS_SELECT_ITEM, kStopFlags);
        return;
    }
    if (index > 0) {
        MoveFavorite(index, index - 1);
    }
}

void MainDialog::OnFavoriteDown() {
    const int index = m_favoriteList.GetCurSel();
    if (index == LB_ERR) {
        win::ShowMessage(IDS_SELECT_ITEM, kStopFlags);
        return;
    }
    if (index < m_favoriteList.GetCount() - 1) {
        MoveFavorite(index, index + 1);
    }
}

void MainDialog::OnDeleteFavorite() {
    int index = m_favoriteList.GetCurSel();
    if (index == LB_ERR) {
        win::ShowMessage(IDS_SELECT_ITEM, kStopFlags);
        return;
    }
    if (!CanRewriteFavorites()) {
        return;
    }
    const std::vector<std::string> before = EntriesOf(m_favoriteList);
    m_favoriteList.DeleteString(index);
    // The entry that took the deleted one's place, or the new last entry;
    // -1 (nothing) once the list is empty.
    if (index == m_favoriteList.GetCount()) {
        --index;
    }
    m_favoriteList.SetCurSel(index);
    RewriteFavorites(before);
}

void MainDialog::MoveFavorite(int from, int to) {
    if (!CanRewriteFavorites()) {
        return;
    }
    const std::vector<std::string> before = EntriesOf(m_favoriteList);
    m_favoriteList.DeleteString(from);
    m_favoriteList.InsertString(to, before[from]);
    m_favoriteList.SetCurSel(to);
    RewriteFavorites(before);
}

// A move or delete writes the whole list to the file, which must then hold
// every entry of the file. After a failed load it may not: load again instead
// (which reports the error again if it persists); the user repeats the action
// on the fresh list.
bool MainDialog::CanRewriteFavorites() {
    if (!m_favoritesLoaded) {
        LoadFavorites();
        return false;
    }
    return true;
}

void MainDialog::RewriteFavorites(const std::vector<std::string>& before) {
    try {
        SaveFavorites();
    } catch (const win::FileError&) {
        RestoreFavorites(before);
        throw;
    }
}

// After a failed rewrite the file still holds what it held before: show
// that. When it cannot be read now (most likely the program that made the
// rewrite fail still holds it), show the entries the list held before the
// change, which are what the untouched file holds.
void MainDialog::RestoreFavorites(const std::vector<std::string>& before) {
    std::vector<std::string> onDisk;
    bool read = false;
    try {
        read = favorites::LoadFavoritesFile(favorites::kFileName, onDisk);
    } catch (const win::FileError&) {
        // The rewrite's error is the one the user is told about.
    }
    Fill(m_favoriteList, read ? onDisk : before);
    SetHorizontalExtent(m_favoriteList);
}
