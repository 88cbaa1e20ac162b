// The favourites page: list 1005 and Favorite.txt, kept holding the same
// entries in the same order. The entries' bytes are kept beside the list box,
// which holds UTF-16 and gives some bytes back changed (NEC and IBM duplicate
// codes); the file is read at start-up and after every add, and rewritten
// whole from the bytes after every move and delete.
#pragma once

#include <string>
#include <vector>

#include "delivery/Delivery.h"
#include "win/Controls.h"

class FavoritesPage {
public:
    // `kaomojiList` is the dictionary page's list, whose selection an add takes.
    FavoritesPage(const win::ListBox& favoriteList, const win::ListBox& kaomojiList,
                  delivery::Delivery& delivery)
        : m_favoriteList(favoriteList), m_kaomojiList(kaomojiList), m_delivery(delivery) {}

    void LoadFavorites();
    // The entries as the file holds them, in list order.
    const std::vector<std::string>& Entries() const { return m_entries; }

    void OnAddFavorite();
    void OnFavoriteUp();
    void OnFavoriteDown();
    void OnDeleteFavorite();
    void OnFavoritesListDblClk();
    // Ctrl+C: the selected favourite, copied without a paste.
    void OnCopyFavorite();

private:
    // Shows `entries` in the list, which then holds them.
    void Show(std::vector<std::string> entries);
    void SaveFavorites();
    void MoveFavorite(int from, int to);
    bool CanRewriteFavorites();
    void RewriteFavorites(const std::vector<std::string>& before);
    void RestoreFavorites(const std::vector<std::string>& before);

    const win::ListBox& m_favoriteList;
    const win::ListBox& m_kaomojiList;
    delivery::Delivery& m_delivery;
    std::vector<std::string> m_entries;
    // False while the last load failed: the list may then lack entries of the
    // file, and a move or delete would lose them by rewriting the file.
    bool m_favoritesLoaded = false;
};
