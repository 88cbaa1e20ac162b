#include "dictionary/DictionaryPage.h"

#include <optional>
#include <string>

#include "dictionary/ResourceIds.h"
#include "dictionary/CategoryTree.h"
#include "dictionary/KaomojiListBox.h"
#include "win/MessageBox.h"
#include "win/TextFile.h"

namespace {

constexpr char kDictionaryFile[] = "dic.txt";

}  // namespace

bool DictionaryPage::LoadDictionary() {
    std::optional<win::TextFile> file = win::TextFile::Open(
        kDictionaryFile,
        {win::FileAccess::Read, win::FileCreation::OpenExisting, win::FileSharing::Compatible});
    if (!file) {
        win::ShowMessage(IDS_NO_DICTIONARY, MB_OK | MB_ICONHAND);
        return false;
    }
    return dictionary::LoadDictionaryInto(*file, m_categoryTree, m_categoryMap);
}

void DictionaryPage::OnCategorySelChanged(NMHDR*, LRESULT* result) {
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

void DictionaryPage::ShowCategory(std::string name) {
    const CategoryMap::List* list = m_categoryMap.Find(name);
    m_shown = list;
    dictionary::FillKaomojiList(m_kaomojiList, list != nullptr ? *list : CategoryMap::List());
    if (list != nullptr) {
        // Measured in memory: the same texts, without reading 10,000s back.
        win::FitHorizontalExtent(m_kaomojiList, [list](const win::TextVisitor& measure) {
            for (const std::string_view kaomoji : *list) {
                measure(kaomoji);
            }
        });
    } else {
        win::FitHorizontalExtent(m_kaomojiList);
    }
}

std::optional<std::string> DictionaryPage::SelectedKaomoji() const {
    const int selection = m_kaomojiList.GetCurSel();
    if (selection == LB_ERR || m_shown == nullptr ||
        static_cast<std::size_t>(selection) >= m_shown->size()) {
        return std::nullopt;
    }
    return std::string((*m_shown)[selection]);
}

void DictionaryPage::OnDictionaryListDblClk() {
    if (std::optional<std::string> kaomoji = SelectedKaomoji()) {
        m_delivery.Deliver(std::move(*kaomoji));
    }
}

void DictionaryPage::OnCopyKaomoji() {
    if (std::optional<std::string> kaomoji = SelectedKaomoji()) {
        m_delivery.CopyToClipboard(std::move(*kaomoji));
    }
}
