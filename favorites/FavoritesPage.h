// The favourites page: list 1005 and Favorite.txt, kept holding the same
// entries in the same order. The entries' bytes, in the file's encoding, are
// kept beside the list box, which holds UTF-16 and gives some bytes back
// changed (NEC and IBM duplicate codes); the file is read at start-up and
// after every add, and rewritten whole from the bytes after every move and
// delete.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "delivery/Delivery.h"
#include "text/Encoding.h"
#include "win/Controls.h"
#include "win/SearchField.h"

class FavoritesPage {
public:
    // The kaomoji selected on the dictionary page, which an add takes;
    // nothing when none is selected.
    using KaomojiSelection = std::function<std::optional<text::EncodedText>()>;

    // `moveUp` and `moveDown`: the buttons that move a favourite, off while
    // the list is filtered.
    FavoritesPage(const win::ListBox& favoriteList, const win::Window& moveUp,
                  const win::Window& moveDown, KaomojiSelection selectedKaomoji,
                  delivery::Delivery& delivery);

    void LoadFavorites();
    // The entries as the file holds them, in list order.
    const std::vector<std::string>& Entries() const { return m_entries; }
    // The encoding they are in, the file's.
    text::Encoding EntriesEncoding() const { return m_encoding; }

    void OnAddFavorite();
    void OnFavoriteUp();
    void OnFavoriteDown();
    void OnDeleteFavorite();
    void OnFavoritesListDblClk();
    // Ctrl+C: the selected favourite, copied without a paste.
    void OnCopyFavorite();

    // The search field over list 1005: while it holds words the list shows
    // the favourites that match, in their order, and the move buttons are
    // off. The keys are those of the dictionary page's field.
    bool IsSearching() const { return m_search.IsOpen(); }
    bool SearchSelectsNoText() const { return m_search.SelectsNoText(); }
    void OpenSearch();
    void TypeInSearch(std::wstring_view typed);
    void OnSearchChanged();
    void OnSearchKey(UINT key);
    // Escape, or leaving the page: the field goes, every favourite is shown.
    void CloseSearch();
    // The dialog's window goes: the field goes first.
    void DropSearch() { m_search.Close(); }

private:
    // Shows `entries` in the list, which then holds them (those that match,
    // while a filter is on).
    void Show(std::vector<std::string> entries);
    // Filters the entries by the field's text and shows those that match.
    void ShowFiltered();
    // Every favourite shown again, movable.
    void EndFilter();
    void EnableMoves(bool enable) const;
    // The entry that list line `line` shows, and as the list shows it.
    std::size_t EntryAt(int line) const;
    text::EncodedText EncodedEntry(std::size_t entry) const;
    std::wstring Shown(const std::string& entry) const;
    void ReportCannotMove(const std::string& entry) const;
    void SaveFavorites();
    void MoveFavorite(int from, int to);
    bool CanRewriteFavorites();
    void RewriteFavorites(const std::vector<std::string>& before);
    void RestoreFavorites(const std::vector<std::string>& before);

    const win::ListBox& m_favoriteList;
    const win::Window& m_moveUp;
    const win::Window& m_moveDown;
    KaomojiSelection m_selectedKaomoji;
    delivery::Delivery& m_delivery;
    std::vector<std::string> m_entries;
    text::Encoding m_encoding = text::Encoding::ShiftJis;
    win::SearchField m_search;
    // The entries the list shows while the field holds words, by index.
    std::optional<std::vector<std::size_t>> m_filter;
    // False while the last load failed: the list may then lack entries of the
    // file, and a move or delete would lose them by rewriting the file.
    bool m_favoritesLoaded = false;
};
