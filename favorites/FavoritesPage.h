// The favourites page: list 1005 and Favorite.txt, kept holding the same
// entries in the same order. The entries' bytes are kept beside the list box,
// which holds UTF-16 and gives some bytes back changed (NEC and IBM duplicate
// codes); the file is read at start-up and after every add, and rewritten
// whole from the bytes after every move and delete.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "delivery/Delivery.h"
#include "win/Controls.h"

class FavoritesPage {
public:
    // The bytes of the kaomoji selected on the dictionary page, which an add
    // takes; nothing when none is selected.
    using KaomojiSelection = std::function<std::optional<std::string>()>;

    FavoritesPage(const win::ListBox& favoriteList, KaomojiSelection selectedKaomoji,
                  delivery::Delivery& delivery)
        : m_favoriteList(favoriteList),
          m_selectedKaomoji(std::move(selectedKaomoji)),
          m_delivery(delivery) {}

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
    KaomojiSelection m_selectedKaomoji;
    delivery::Delivery& m_delivery;
    std::vector<std::string> m_entries;
    // False while the last load failed: the list may then lack entries of the
    // file, and a move or delete would lose them by rewriting the file.
    bool m_favoritesLoaded = false;
};
