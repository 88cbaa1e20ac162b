#include "favorites/FavoritesPage.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "favorites/FavoritesFile.h"
#include "favorites/FavoritesFormat.h"
#include "favorites/ResourceIds.h"
#include "text/Search.h"
#include "win/FileError.h"
#include "win/MessageBox.h"
#include "win/Strings.h"
#include "win/TextFile.h"

FavoritesPage::FavoritesPage(const win::ListBox& favoriteList, const win::Window& moveUp,
                             const win::Window& moveDown, KaomojiSelection selectedKaomoji,
                             delivery::Delivery& delivery)
    : m_favoriteList(favoriteList),
      m_moveUp(moveUp),
      m_moveDown(moveDown),
      m_selectedKaomoji(std::move(selectedKaomoji)),
      m_delivery(delivery),
      m_search({.fieldId = IDC_FAVORITE_SEARCH,
                .results = &favoriteList,
                .above = {&favoriteList},
                .noMatchId = IDC_FAVORITE_NO_MATCH,
                .noMatchText = L"一致するお気に入りはありません"}) {}

// Runs from OnInitDialog and after an add, so an error is shown here rather
// than thrown: it must not cut the dialog's initialisation short.
void FavoritesPage::LoadFavorites() {
    std::vector<std::string> entries;
    std::optional<win::FileError> error;
    m_favoritesLoaded = false;
    try {
        const std::optional<text::FileEncoding> encoding =
            favorites::LoadFavoritesFile(favorites::kFileName, entries);
        m_favoritesLoaded = encoding.has_value();
        m_encoding = encoding ? encoding->encoding : text::Encoding::ShiftJis;
        if (!m_favoritesLoaded) {
            // Another program holds the file, or it cannot be created.
            error = win::TextFile::OpenError(favorites::kFileName);
        }
    } catch (const win::FileError& readError) {
        // The flag keeps moves and deletes from rewriting the file.
        error = readError;
    }
    Show(std::move(entries));
    if (error) {
        error->Report();
    }
}

void FavoritesPage::Show(std::vector<std::string> entries) {
    m_entries = std::move(entries);
    if (m_filter) {
        ShowFiltered();
        return;
    }
    m_favoriteList.ResetContent();
    for (const std::string& entry : m_entries) {
        m_favoriteList.AddString(Shown(entry));
    }
    win::FitHorizontalExtent(m_favoriteList);
}

std::size_t FavoritesPage::EntryAt(int line) const {
    return m_filter ? (*m_filter)[static_cast<std::size_t>(line)] : static_cast<std::size_t>(line);
}

text::EncodedText FavoritesPage::EncodedEntry(std::size_t entry) const {
    return {m_entries[entry], m_encoding};
}

std::wstring FavoritesPage::Shown(const std::string& entry) const {
    return win::ToWide(entry, m_encoding);
}

void FavoritesPage::EnableMoves(bool enable) const {
    for (const win::Window* button : {&m_moveUp, &m_moveDown}) {
        ::EnableWindow(button->Hwnd(), enable);
    }
}

void FavoritesPage::OpenSearch() {
    m_search.Open();
    m_search.SelectAll();
}

void FavoritesPage::TypeInSearch(std::wstring_view typed) {
    m_search.Open(typed);
}

void FavoritesPage::OnSearchKey(UINT key) {
    m_search.MoveInResults(key);
}

void FavoritesPage::OnSearchChanged() {
    if (!m_search.IsOpen()) {
        return;
    }
    if (text::SearchQuery(m_search.Text()).empty()) {
        EndFilter();  // nothing to look for: every favourite, movable
        m_search.ShowNoMatch(false);
        return;
    }
    ShowFiltered();
    EnableMoves(false);
    m_search.ShowNoMatch(m_filter->empty());
}

// The favourites that match the field, in their order: a handful to a few
// thousand, indexed afresh for every key.
void FavoritesPage::ShowFiltered() {
    text::SearchIndex index;
    index.AddCategory({});
    for (const std::string& entry : m_entries) {
        index.AddEntry(win::ToUtf8(entry, m_encoding), {});
    }
    index.FinishAdding();
    m_filter.emplace();
    for (const text::SearchIndex::Entry entry :
         index.Find(text::SearchQuery(m_search.Text()))) {
        m_filter->push_back(entry);
    }
    m_favoriteList.ResetContent();
    for (const std::size_t entry : *m_filter) {
        m_favoriteList.AddString(Shown(m_entries[entry]));
    }
    win::FitHorizontalExtent(m_favoriteList);
    m_favoriteList.SetCurSel(m_filter->empty() ? -1 : 0);
}

void FavoritesPage::EndFilter() {
    const bool wasFiltering = m_filter.has_value();
    m_filter.reset();
    EnableMoves(true);
    if (wasFiltering) {
        Show(std::move(m_entries));
    }
}

void FavoritesPage::CloseSearch() {
    if (m_search.IsOpen()) {
        m_search.Close();
        EndFilter();
    }
}

void FavoritesPage::SaveFavorites() {
    favorites::SaveFavoritesFile(favorites::kFileName, m_entries);
}

void FavoritesPage::OnAddFavorite() {
    const std::optional<text::EncodedText> kaomoji = m_selectedKaomoji();
    if (!kaomoji) {
        win::AskForSelection();
        return;
    }
    // Compared in the file's encoding, character by character; a kaomoji
    // the file cannot hold is none of its entries.
    const std::optional<std::string> asEntry = favorites::FavoriteBytes(*kaomoji, m_encoding);
    const text::LeadByteTest isLead =
        m_encoding == text::Encoding::Utf8 ? text::NoLeadByte : win::SystemLeadByte;
    if (asEntry && favorites::ContainsFavorite(m_entries, *asEntry, isLead)) {
        win::ShowMessage(IDS_DUPLICATE_FAVORITE, MB_OK | MB_ICONHAND);
        return;
    }
    // On failure the file is as it was and so is the list; a file error goes
    // to the user from the dialog.
    try {
        favorites::AddToFavoritesFile(favorites::kFileName, *kaomoji);
    } catch (const favorites::EntryCannotMove& refused) {
        ReportCannotMove(refused.entry);
        return;
    }
    LoadFavorites();
}

void FavoritesPage::ReportCannotMove(const std::string& entry) const {
    win::ShowMessageText(win::FormatWithArgument(win::LoadString(IDS_FAVORITE_CANNOT_MOVE), entry),
                         MB_OK | MB_ICONHAND);
}

void FavoritesPage::OnFavoriteUp() {
    if (m_filter) {
        return;  // the buttons are off: a filtered list has no neighbours to swap with
    }
    const std::optional<int> index = win::SelectionOrAsk(m_favoriteList);
    if (index && *index > 0) {
        MoveFavorite(*index, *index - 1);
    }
}

void FavoritesPage::OnFavoriteDown() {
    if (m_filter) {
        return;
    }
    const std::optional<int> index = win::SelectionOrAsk(m_favoriteList);
    if (index && *index < m_favoriteList.GetCount() - 1) {
        MoveFavorite(*index, *index + 1);
    }
}

void FavoritesPage::OnDeleteFavorite() {
    const std::optional<int> index = win::SelectionOrAsk(m_favoriteList);
    if (!index || !CanRewriteFavorites()) {
        return;
    }
    const std::vector<std::string> before = m_entries;
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(EntryAt(*index)));
    if (m_filter) {
        // The lines after it show the entries after it, one place on.
        m_filter->erase(m_filter->begin() + *index);
        for (std::size_t line = static_cast<std::size_t>(*index); line < m_filter->size(); ++line) {
            --(*m_filter)[line];
        }
    }
    m_favoriteList.DeleteString(*index);
    m_favoriteList.SelectAfterDelete(*index);
    RewriteFavorites(before);
}

void FavoritesPage::OnFavoritesListDblClk() {
    const int selection = m_favoriteList.GetCurSel();
    if (selection != LB_ERR) {
        m_delivery.Deliver(EncodedEntry(EntryAt(selection)));
    }
}

void FavoritesPage::OnCopyFavorite() {
    const int selection = m_favoriteList.GetCurSel();
    if (selection != LB_ERR) {
        m_delivery.CopyToClipboard(EncodedEntry(EntryAt(selection)));
    }
}

void FavoritesPage::MoveFavorite(int from, int to) {
    if (!CanRewriteFavorites()) {
        return;
    }
    const std::vector<std::string> before = m_entries;
    std::swap(m_entries[from], m_entries[to]);  // neighbours
    m_favoriteList.DeleteString(from);
    m_favoriteList.InsertString(to, Shown(m_entries[to]));
    m_favoriteList.SetCurSel(to);
    RewriteFavorites(before);
}

// A move or delete writes the whole list to the file, which must then hold
// every entry of the file. After a failed load it may not: load again instead
// (which reports the error again if it persists); the user repeats the action
// on the fresh list.
bool FavoritesPage::CanRewriteFavorites() {
    if (!m_favoritesLoaded) {
        LoadFavorites();
        return false;
    }
    return true;
}

void FavoritesPage::RewriteFavorites(const std::vector<std::string>& before) {
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
void FavoritesPage::RestoreFavorites(const std::vector<std::string>& before) {
    std::vector<std::string> onDisk;
    bool read = false;
    try {
        read = favorites::LoadFavoritesFile(favorites::kFileName, onDisk).has_value();
    } catch (const win::FileError&) {
        // The rewrite's error is the one the user is told about.
    }
    Show(read ? std::move(onDisk) : before);
}
