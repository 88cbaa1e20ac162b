// The favourites page: list 1005 and Favorite.txt, kept holding the same
// entries in the same order. The list box is the only in-memory store of the
// favourites; the file is read at start-up and after every add, and rewritten
// whole after every move and delete.
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

    void OnAddFavorite();
    void OnFavoriteUp();
    void OnFavoriteDown();
    void OnDeleteFavorite();
    void OnFavoritesListDblClk();

private:
    void SaveFavorites();
    void MoveFavorite(int from, int to);
    bool CanRewriteFavorites();
    void RewriteFavorites(const std::vector<std::string>& before);
    void RestoreFavorites(const std::vector<std::string>& before);

    const win::ListBox& m_favoriteList;
    const win::ListBox& m_kaomojiList;
    delivery::Delivery& m_delivery;
    // False while the last load failed: the list may then lack entries of the
    // file, and a move or delete would lose them by rewriting the file.
    bool m_favoritesLoaded = false;
};
