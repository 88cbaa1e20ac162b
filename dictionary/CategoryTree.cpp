#include "dictionary/CategoryTree.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

namespace dictionary {
namespace {

// The order in which to insert `count` siblings with TVI_SORT, given in
// `order` as they would be inserted one after another (file order), so that
// the tree ends exactly as it would after inserting them in that order, while
// each insertion costs it one comparison. `compare(a, b)` must be the tree's
// own three-way comparison of sibling a with sibling b.
//
// The tree walks the siblings from the first and puts a new item before the
// first greater one, or just after the first equal one. Given the siblings
// from greatest to least, each new item is therefore settled by comparing it
// with the first sibling alone. Among equal items the tree's rule only
// depends on the order in which they arrive, which stays file order.
template <typename Compare>
std::vector<std::size_t> CheapSortedInsertionOrder(std::size_t count, Compare compare) {
    std::vector<std::size_t> ascending(count);
    std::iota(ascending.begin(), ascending.end(), std::size_t{0});
    std::stable_sort(ascending.begin(), ascending.end(),
                     [&](std::size_t a, std::size_t b) { return compare(a, b) < 0; });
    std::vector<std::size_t> order;
    order.reserve(count);
    // Runs of equal items, from the last run to the first, each in file order.
    for (std::size_t runEnd = count; runEnd > 0;) {
        std::size_t runBegin = runEnd - 1;
        while (runBegin > 0 && compare(ascending[runBegin - 1], ascending[runBegin]) == 0) {
            --runBegin;
        }
        order.insert(order.end(), ascending.begin() + static_cast<std::ptrdiff_t>(runBegin),
                     ascending.begin() + static_cast<std::ptrdiff_t>(runEnd));
        runEnd = runBegin;
    }
    return order;
}

void FillGroup(const win::TreeControl& tree, HTREEITEM groupItem,
               const std::vector<CategoryMap::Index>& categories, const CategoryMap& map) {
    // The texts as the tree holds them, and compares them: UTF-16 from the
    // ANSI code page, compared with lstrcmpW.
    std::vector<std::wstring> texts;
    texts.reserve(categories.size());
    for (const CategoryMap::Index index : categories) {
        texts.push_back(win::AnsiToWide(map.NameAt(index)));
    }
    const auto compare = [&](std::size_t a, std::size_t b) {
        return ::lstrcmpW(texts[a].c_str(), texts[b].c_str());
    };
    for (const std::size_t i : CheapSortedInsertionOrder(categories.size(), compare)) {
        tree.InsertItem(map.NameAt(categories[i]), groupItem, TVI_SORT,
                        static_cast<LPARAM>(categories[i]));
    }
}

}  // namespace

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
        FillGroup(tree, groupItem, group.categories, dictionary.categories);
    }
}

CategoryMap::Index CategoryOfItem(const win::TreeControl& tree, HTREEITEM item) {
    return static_cast<CategoryMap::Index>(tree.GetItemData(item));
}

}  // namespace dictionary
