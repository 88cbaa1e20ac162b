#include "dictionary/DictionaryPage.h"

#include <optional>
#include <string>

#include "dictionary/ResourceIds.h"
#include "dictionary/CategoryTree.h"
#include "dictionary/KaomojiListBox.h"
#include "win/MessageBox.h"
#include "win/Strings.h"
#include "win/TextFile.h"

namespace {

constexpr wchar_t kDictionaryFile[] = L"dic.txt";

}  // namespace

DictionaryPage::DictionaryPage(const win::TreeControl& categoryTree,
                               const win::ListBox& kaomojiList, delivery::Delivery& delivery)
    : m_categoryTree(categoryTree),
      m_kaomojiList(kaomojiList),
      m_delivery(delivery),
      m_search({.fieldId = IDC_KAOMOJI_SEARCH,
                .results = &kaomojiList,
                .above = {&categoryTree, &kaomojiList},
                .noMatchId = IDC_KAOMOJI_NO_MATCH,
                .noMatchText = L"一致する顔文字はありません"}) {}

void DictionaryPage::FreeDictionary() {
    m_shown = nullptr;
    m_beforeSearch = {};
    m_found = {};
    m_foundEntries.clear();
    m_searchIndex.reset();
    m_indexCategories.clear();
    m_categoryMap.Clear();
}

bool DictionaryPage::LoadDictionary() {
    std::optional<win::TextFile> file = win::TextFile::Open(
        kDictionaryFile,
        {win::FileAccess::Read, win::FileCreation::OpenExisting, win::FileSharing::Compatible});
    if (!file) {
        win::ShowMessage(IDS_NO_DICTIONARY, MB_OK | MB_ICONHAND);
        return false;
    }
    const std::optional<text::Encoding> encoding =
        dictionary::LoadDictionaryInto(*file, m_categoryTree, m_categoryMap);
    m_encoding = encoding.value_or(text::Encoding::ShiftJis);
    return encoding.has_value();
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
        // Choosing a category ends a search: the user browses again.
        m_search.Close();
        ShowList(m_categoryMap.Find(m_categoryMap.NameAt(index)));
    }
}

void DictionaryPage::ShowList(const CategoryMap::List* list) {
    m_shown = list;
    // Both sides lvalues: with a temporary on one side the shown list would
    // be copied, 15,870 entries for the largest category.
    static const CategoryMap::List kNothing;
    dictionary::FillKaomojiList(m_kaomojiList, list != nullptr ? *list : kNothing, m_encoding);
}

std::optional<text::EncodedText> DictionaryPage::SelectedKaomoji() const {
    const int selection = m_kaomojiList.GetCurSel();
    if (selection == LB_ERR || m_shown == nullptr ||
        static_cast<std::size_t>(selection) >= m_shown->size()) {
        return std::nullopt;
    }
    return text::EncodedText{std::string((*m_shown)[selection]), m_encoding};
}

void DictionaryPage::OnDictionaryListDblClk() {
    if (const std::optional<text::EncodedText> kaomoji = SelectedKaomoji()) {
        m_delivery.Deliver(*kaomoji);
    }
}

void DictionaryPage::OnCopyKaomoji() {
    if (const std::optional<text::EncodedText> kaomoji = SelectedKaomoji()) {
        m_delivery.CopyToClipboard(*kaomoji);
    }
}

DictionaryPage::View DictionaryPage::CurrentView() const {
    return {m_shown, m_kaomojiList.GetCurSel(), static_cast<int>(m_kaomojiList.Send(LB_GETTOPINDEX))};
}

void DictionaryPage::Show(const View& view) {
    ShowList(view.shown);
    m_kaomojiList.SetCurSel(view.selection);
    m_kaomojiList.Send(LB_SETTOPINDEX, static_cast<WPARAM>(view.top));
}

void DictionaryPage::OpenSearch() {
    TypeInSearch({});
    m_search.SelectAll();
}

void DictionaryPage::TypeInSearch(std::wstring_view typed) {
    if (!m_search.IsOpen()) {
        BeginSearch();
    }
    m_search.Open(typed);
}

void DictionaryPage::BeginSearch() {
    m_beforeSearch = CurrentView();
    if (!m_searchIndex) {
        BuildSearchIndex();
    }
}

// Categories in tree order, each category's kaomoji in file order: the
// order results are shown in. The texts go in as UTF-8.
void DictionaryPage::BuildSearchIndex() {
    m_indexCategories = dictionary::CategoriesInTreeOrder(m_categoryTree);
    text::SearchIndex index;
    for (const CategoryMap::Index category : m_indexCategories) {
        index.AddCategory(win::ToUtf8(m_categoryMap.NameAt(category), m_encoding));
        const CategoryMap::List& list = m_categoryMap.ListAt(category);
        for (std::size_t i = 0; i < list.size(); ++i) {
            index.AddEntry(win::ToUtf8(list[i], m_encoding),
                           win::ToUtf8(list.keywords(i), m_encoding));
        }
    }
    index.FinishAdding();
    m_searchIndex = std::move(index);
}

void DictionaryPage::OnSearchChanged() {
    if (!m_search.IsOpen() || !m_searchIndex) {
        return;
    }
    const text::SearchQuery query(m_search.Text());
    if (query.empty()) {
        // Nothing to look for: the list shows what it showed before.
        m_search.ShowNoMatch(false);
        Show(m_beforeSearch);
        return;
    }
    std::vector<text::SearchIndex::Entry> found = m_searchIndex->Find(query);
    if (m_shown == &m_found && found == m_foundEntries) {
        return;  // a key that changes nothing found keeps the list and its selection
    }
    m_foundEntries = std::move(found);
    m_found = CategoryMap::List();
    for (const text::SearchIndex::Entry entry : m_foundEntries) {
        const text::SearchIndex::Location at = m_searchIndex->Locate(entry);
        m_found.push_back(m_categoryMap.ListAt(m_indexCategories[at.category])[at.position]);
    }
    ShowList(&m_found);
    m_kaomojiList.SetCurSel(m_found.empty() ? LB_ERR : 0);
    m_search.ShowNoMatch(m_found.empty());
}

void DictionaryPage::OnSearchKey(UINT key) {
    m_search.MoveInResults(key);
}

void DictionaryPage::CloseSearch() {
    if (m_search.IsOpen()) {
        m_search.Close();
        Show(m_beforeSearch);
    }
}
