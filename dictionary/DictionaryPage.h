// The dictionary page: dic.txt into the category tree and the index, a
// selected category's kaomoji into list 1003, and a double-clicked kaomoji
// delivered. A search field (win/SearchField.h) finds kaomoji by typing:
// while it holds words, list 1003 shows what matches (dictionary/Search.h),
// and everything done on a selected kaomoji works on the found one.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

#include "delivery/Delivery.h"
#include "dictionary/CategoryMap.h"
#include "dictionary/Search.h"
#include "win/Controls.h"
#include "win/SearchField.h"

class DictionaryPage {
public:
    // `copyCode`: the notification of Ctrl+C on list 1003, which the search
    // field sends as well.
    DictionaryPage(const win::TreeControl& categoryTree, const win::ListBox& kaomojiList,
                   delivery::Delivery& delivery, UINT copyCode);

    // False, the user told, when there is no dictionary to show.
    bool LoadDictionary();
    void FreeDictionary();

    void OnCategorySelChanged(NMHDR* header, LRESULT* result);
    void OnDictionaryListDblClk();
    // Ctrl+C: the selected kaomoji, copied without a paste.
    void OnCopyKaomoji();

    // The selected kaomoji's own bytes, as dic.txt holds them (the list box
    // holds UTF-16 and may give some back changed); nothing when none is selected.
    std::optional<std::string> SelectedKaomoji() const;

    // The search field; its keys work once the dialog's controls exist.
    void AttachSearch(HWND dialog) { m_search.Attach(dialog); }
    bool IsSearching() const { return m_search.IsOpen(); }
    void OnSearchOpened();
    void OnSearchChanged();
    void OnSearchClosed();
    // Leaving the page: the field goes, the list shows what it showed before.
    void CloseSearch();

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
    void BuildSearchIndex();

    const win::TreeControl& m_categoryTree;
    const win::ListBox& m_kaomojiList;
    delivery::Delivery& m_delivery;
    CategoryMap m_categoryMap;
    const CategoryMap::List* m_shown = nullptr;  // what list 1003 shows, entry for entry

    win::SearchField m_search;
    View m_beforeSearch;
    // Made when the field first opens: most runs never search.
    std::optional<dictionary::SearchIndex> m_searchIndex;
    std::vector<CategoryMap::Index> m_indexCategories;  // by the index's category number
    std::vector<dictionary::SearchIndex::Entry> m_foundEntries;
    CategoryMap::List m_found;  // their kaomoji, as list 1003 shows them while searching
};

