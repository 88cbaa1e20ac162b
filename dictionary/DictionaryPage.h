// The dictionary page: dic.txt into the category tree and the index, a
// selected category's kaomoji into list 1003, and a double-clicked kaomoji
// delivered.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "delivery/Delivery.h"
#include "dictionary/CategoryMap.h"
#include "win/Controls.h"

class DictionaryPage {
public:
    DictionaryPage(const win::TreeControl& categoryTree, const win::ListBox& kaomojiList,
                   delivery::Delivery& delivery)
        : m_categoryTree(categoryTree), m_kaomojiList(kaomojiList), m_delivery(delivery) {}

    // False, the user told, when there is no dictionary to show.
    bool LoadDictionary();
    void FreeDictionary() {
        m_shown = nullptr;
        m_categoryMap.Clear();
    }

    void OnCategorySelChanged(NMHDR* header, LRESULT* result);
    void OnDictionaryListDblClk();
    // Ctrl+C: the selected kaomoji, copied without a paste.
    void OnCopyKaomoji();

    // The selected kaomoji's own bytes, as dic.txt holds them (the list box
    // holds UTF-16 and may give some back changed); nothing when none is selected.
    std::optional<std::string> SelectedKaomoji() const;

private:
    void ShowCategory(std::string name);

    const win::TreeControl& m_categoryTree;
    const win::ListBox& m_kaomojiList;
    delivery::Delivery& m_delivery;
    CategoryMap m_categoryMap;
    const CategoryMap::List* m_shown = nullptr;  // what list 1003 shows, entry for entry
};
