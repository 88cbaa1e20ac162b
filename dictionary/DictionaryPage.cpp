// The dictionary page: dic.txt into the category tree and the index, and a
// selected category's kaomoji into list 1003.
#include <optional>
#include <string>

#include "app/resource.h"
#include "dictionary/CategoryTree.h"
#include "dictionary/KaomojiListBox.h"
#include "ui/MainDialog.h"
#include "win/MessageBox.h"
#include "win/TextFile.h"

namespace {

constexpr char kDictionaryFile[] = "dic.txt";

}  // namespace

bool MainDialog::LoadDictionary() {
    std::optional<win::TextFile> file = win::TextFile::Open(
        kDictionaryFile,
        {win::FileAccess::Read, win::FileCreation::OpenExisting, win::FileSharing::Compatible});
    if (!file) {
        win::ShowMessage(IDS_NO_DICTIONARY, MB_OK | MB_ICONHAND);
        return false;
    }
    return dictionary::LoadDictionaryInto(*file, m_categoryTree, m_categoryMap);
}

void MainDialog::OnCategorySelChanged(NMHDR*, LRESULT* result) {
    *result = 0;
    const HTREEITEM item = m_categoryTree.GetSelectedItem();
    // A group item: the list keeps what it shows.
    if (item == nullptr || m_categoryTree.ItemHasChildren(item)) {
        return;
    }
    const CategoryMap::Index index = dictionary::CategoryOfItem(m_categoryTree, item);
    if (index < m_categoryMap.Size()) {
        ShowCategory(m_categoryMap.NameAt(index));
    }
}

void MainDialog::ShowCategory(std::string name) {
    const CategoryMap::List* list = m_categoryMap.Find(name);
    dictionary::FillKaomojiList(m_kaomojiList, list != nullptr ? *list : CategoryMap::List());
    if (list != nullptr) {
        SetHorizontalExtent(m_kaomojiList, *list);
    } else {
        SetHorizontalExtent(m_kaomojiList);
    }
}
