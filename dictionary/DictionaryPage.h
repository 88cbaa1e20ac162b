// The dictionary page: dic.txt into the category tree and the index, a
// selected category's kaomoji into list 1003, and a double-clicked kaomoji
// delivered. A search field (win/SearchField.h) finds kaomoji by typing:
// while it holds words, list 1003 shows what matches (text/Search.h), and
// everything done on a selected kaomoji works on the found one.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "delivery/Delivery.h"
#include "dictionary/CategoryMap.h"
#include "text/Encoding.h"
#include "text/Search.h"
#include "win/Controls.h"
#include "win/SearchField.h"

class DictionaryPage {
public:
    DictionaryPage(const win::TreeControl& categoryTree, const win::ListBox& kaomojiList,
                   delivery::Delivery& delivery);

    // False, the user told, when there is no dictionary to show.
    bool LoadDictionary();
    void FreeDictionary();

    void OnCategorySelChanged(NMHDR* header, LRESULT* result);
    void OnDictionaryListDblClk();
    // Ctrl+C: the selected kaomoji, copied without a paste.
    void OnCopyKaomoji();

    // The selected kaomoji's own bytes, as dic.txt holds them (the list box
    // holds UTF-16 and may give some back changed), in the dictionary's
    // encoding; nothing when none is selected.
    std::optional<text::EncodedText> SelectedKaomoji() const;

    // The search field over the tree and list 1003. Enter, Ctrl+C and
    // "お気に入りに追加" work on the selected result as on a selected kaomoji.
    bool IsSearching() const { return m_search.IsOpen(); }
    // Ctrl+C in the field copies the selected result only while no text of
    // the field is selected (that the field copies itself).
    bool SearchSelectsNoText() const { return m_search.SelectsNoText(); }
    // Ctrl+F: opens the field, or selects its text for a new search.
    void OpenSearch();
    // A character typed on the tree or the list: the field opens with it, or
    // it goes on at the field's end (empty: an input method starts composing,
    // which goes on in the field).
    void TypeInSearch(std::wstring_view typed);
    void OnSearchChanged();
    // Down, Up, Page Down, Page Up in the field move through the results.
    void OnSearchKey(UINT key);
    // Escape, or leaving the page: the field goes, the list shows again what
    // it showed before (the category, its selection).
    void CloseSearch();
    // The dialog's window goes: the field goes first, nothing is shown again.
    void DropSearch() { m_search.Close(); }

private:
    // What list 1003 shows, to put back when the search ends.
    struct View {
        const CategoryMap::List* shown = nullptr;
        int selection = LB_ERR;
        int top = 0;
    };

    void ShowList(const CategoryMap::List* list);
    View CurrentView() const;
    void Show(const View& view);
    // Before the field opens: what the list shows, and the index.
    void BeginSearch();
    void BuildSearchIndex();

    const win::TreeControl& m_categoryTree;
    const win::ListBox& m_kaomojiList;
    delivery::Delivery& m_delivery;
    CategoryMap m_categoryMap;
    text::Encoding m_encoding = text::Encoding::ShiftJis;  // of the loaded dic.txt
    const CategoryMap::List* m_shown = nullptr;  // what list 1003 shows, entry for entry

    win::SearchField m_search;
    View m_beforeSearch;
    // Made when the field first opens: most runs never search.
    std::optional<text::SearchIndex> m_searchIndex;
    std::vector<CategoryMap::Index> m_indexCategories;  // by the index's category number
    std::vector<text::SearchIndex::Entry> m_foundEntries;
    CategoryMap::List m_found;  // their kaomoji, as list 1003 shows them while searching
};

