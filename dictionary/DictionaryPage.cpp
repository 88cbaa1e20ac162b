// The dictionary page: dic.txt into the category tree and the index, and a
// selected category's kaomoji into list 1003.
#include <optional>
#include <string>

#include "app/resource.h"
#include "dictionary/Dictionary.h"
#include "ui/MainDialog.h"
#include "win/FileError.h"
#include "win/MessageBox.h"
#include "win/Strings.h"
#include "win/TextFile.h"

namespace {

constexpr char kDictionaryFile[] = "dic.txt";

// Keeps a control from redrawing while it is filled item by item; it is
// redrawn once, whole, at the end.
class RedrawSuspended {
public:
    explicit RedrawSuspended(const win::Window& control) : m_control(control) {
        m_control.Send(WM_SETREDRAW, FALSE);
    }
    RedrawSuspended(const RedrawSuspended&) = delete;
    RedrawSuspended& operator=(const RedrawSuspended&) = delete;
    ~RedrawSuspended() {
        m_control.Send(WM_SETREDRAW, TRUE);
        ::InvalidateRect(m_control.Hwnd(), nullptr, TRUE);
    }

private:
    const win::Window& m_control;
};

// Group items in file order; category items sorted among their siblings by
// the tree itself. A category item keeps the index of its category as its
// item data, so that it finds its list whatever the tree makes of its text.
void FillCategoryTree(const win::TreeControl& tree, const dictionary::Dictionary& dictionary) {
    RedrawSuspended noRedraw(tree);
    for (const dictionary::Dictionary::Group& group : dictionary.groups) {
        const HTREEITEM groupItem = tree.InsertItem(group.key, TVI_ROOT, TVI_LAST);
        for (const CategoryMap::Index index : group.categories) {
            tree.InsertItem(dictionary.categories.NameAt(index), groupItem, TVI_SORT,
                            static_cast<LPARAM>(index));
        }
    }
}

}  // namespace

bool MainDialog::LoadDictionary() {
    std::optional<win::TextFile> file = win::TextFile::Open(
        kDictionaryFile,
        {win::FileAccess::Read, win::FileCreation::OpenExisting, win::FileSharing::Compatible});
    if (!file) {
        win::ShowMessage(IDS_NO_DICTIONARY, MB_OK | MB_ICONHAND);
        return false;
    }
    dictionary::Dictionary dictionary;
    try {
        dictionary = dictionary::ReadDictionary(*file, win::SystemLeadByte);
    } catch (const win::FileError& error) {
        // A dictionary read in part is not shown: the load fails as a whole,
        // but with the cause of the failure instead of "no dictionary".
        error.Report();
        return false;
    }
    FillCategoryTree(m_categoryTree, dictionary);
    m_categoryMap = std::move(dictionary.categories);
    return true;
}

void MainDialog::OnCategorySelChanged(NMHDR*, LRESULT* result) {
    *result = 0;
    const HTREEITEM item = m_categoryTree.GetSelectedItem();
    // A group item: the list keeps what it shows.
    if (item == nullptr || m_categoryTree.ItemHasChildren(item)) {
        return;
    }
    const auto index = static_cast<CategoryMap::Index>(m_categoryTree.GetItemData(item));
    if (index < m_categoryMap.Size()) {
        ShowCategory(m_categoryMap.NameAt(index));
    }
}

void MainDialog::ShowCategory(std::string name) {
    const CategoryMap::List* list = m_categoryMap.Find(name);
    {
        RedrawSuspended noRedraw(m_kaomojiList);
        m_kaomojiList.ResetContent();
        if (list != nullptr) {
            std::size_t bytes = 0;
            for (const std::string& kaomoji : *list) {
                bytes += kaomoji.size() + 1;
            }
            m_kaomojiList.InitStorage(static_cast<int>(list->size()), static_cast<int>(bytes));
            for (const std::string& kaomoji : *list) {
                m_kaomojiList.AddString(kaomoji);
            }
        }
    }
    SetHorizontalExtent(m_kaomojiList);
}
