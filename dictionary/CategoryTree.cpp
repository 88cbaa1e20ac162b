#include "dictionary/CategoryTree.h"

namespace dictionary {

RedrawSuspended::RedrawSuspended(const win::Window& control) : m_control(control) {
    m_control.Send(WM_SETREDRAW, FALSE);
}

RedrawSuspended::~RedrawSuspended() {
    m_control.Send(WM_SETREDRAW, TRUE);
    ::InvalidateRect(m_control.Hwnd(), nullptr, TRUE);
}

void FillCategoryTree(const win::TreeControl& tree, const Dictionary& dictionary) {
    const RedrawSuspended noRedraw(tree);
    for (const Dictionary::Group& group : dictionary.groups) {
        const HTREEITEM groupItem = tree.InsertItem(group.key, TVI_ROOT, TVI_LAST);
        for (const CategoryMap::Index index : group.categories) {
            tree.InsertItem(dictionary.categories.NameAt(index), groupItem, TVI_SORT,
                            static_cast<LPARAM>(index));
        }
    }
}

CategoryMap::Index CategoryOfItem(const win::TreeControl& tree, HTREEITEM item) {
    return static_cast<CategoryMap::Index>(tree.GetItemData(item));
}

}  // namespace dictionary
