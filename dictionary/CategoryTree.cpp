#include "dictionary/CategoryTree.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "win/FileError.h"
#include "win/Strings.h"

namespace dictionary {
namespace {

// The order in which to hand `count` siblings, numbered in file order, to a
// tree that sorts each in (TVI_SORT), so that it ends exactly as after getting
// them in file order but compares each new item once. `compare(a, b)` orders
// them as the tree does (negative, zero or positive).
//
// The tree walks the siblings from the first and puts a new item before the
// first greater one, or just after the first equal one. Handed over from
// greatest to least, each new item is settled by the first sibling alone;
// among equal items the outcome depends only on the order they arrive in,
// which stays file order. As the tree still places every item itself, an
// order that strays from its own costs comparisons and can at worst change
// the order of items it finds equal, never the sorting.
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

// The key by which the tree orders `name` among its siblings. The tree keeps
// texts as UTF-16 and compares them with lstrcmpW, that is CompareStringW in
// the thread's locale without flags; the locale's sort key of the text
// orders names the same way, and comparing two keys is far cheaper than
// comparing the texts.
std::string SortKey(const std::wstring& text) {
    const LCID locale = ::GetThreadLocale();
    const int size = ::LCMapStringW(locale, LCMAP_SORTKEY, text.c_str(), -1, nullptr, 0);
    std::string key(static_cast<std::size_t>(std::max(size, 0)), '\0');
    ::LCMapStringW(locale, LCMAP_SORTKEY, text.c_str(), -1, reinterpret_cast<LPWSTR>(key.data()),
                   size);
    return key;
}

void FillGroup(const win::TreeControl& tree, HTREEITEM groupItem,
               const std::vector<CategoryMap::Index>& categories, const CategoryMap& map,
               text::Encoding encoding) {
    std::vector<std::wstring> names;
    names.reserve(categories.size());
    for (const CategoryMap::Index index : categories) {
        names.push_back(win::ToWide(map.NameAt(index), encoding));
    }
    // A few categories cost the tree fewer comparisons than the keys would.
    constexpr std::size_t kFew = 4;
    if (categories.size() <= kFew) {
        for (std::size_t i = 0; i < categories.size(); ++i) {
            tree.InsertItem(names[i], groupItem, TVI_SORT, static_cast<LPARAM>(categories[i]));
        }
        return;
    }
    std::vector<std::string> keys;
    keys.reserve(categories.size());
    for (const std::wstring& name : names) {
        keys.push_back(SortKey(name));
    }
    const auto compare = [&](std::size_t a, std::size_t b) { return keys[a].compare(keys[b]); };
    for (const std::size_t i : CheapSortedInsertionOrder(categories.size(), compare)) {
        tree.InsertItem(names[i], groupItem, TVI_SORT, static_cast<LPARAM>(categories[i]));
    }
}

}  // namespace

void FillCategoryTree(const win::TreeControl& tree, const Dictionary& dictionary) {
    const win::DrawingSuspended noDrawing(tree);
    // The groups first. The tree checks a parent it is given by looking for
    // it among all its items, oldest first: a group item made before every
    // category item is found after at most as many steps as there are groups.
    std::vector<HTREEITEM> groupItems;
    groupItems.reserve(dictionary.groups.size());
    for (const Dictionary::Group& group : dictionary.groups) {
        groupItems.push_back(
            tree.InsertItem(win::ToWide(group.key, dictionary.encoding), TVI_ROOT, TVI_LAST));
    }
    for (std::size_t g = 0; g < groupItems.size(); ++g) {
        FillGroup(tree, groupItems[g], dictionary.groups[g].categories, dictionary.categories,
                  dictionary.encoding);
    }
}

std::optional<text::Encoding> LoadDictionaryInto(win::TextFile& file, const win::TreeControl& tree,
                                                 CategoryMap& map) {
    Dictionary dictionary;
    try {
        dictionary = ReadDictionaryBytes(file.ReadAll(), win::SystemLeadByte);
    } catch (const win::FileError& error) {
        error.Report();
        return std::nullopt;
    }
    FillCategoryTree(tree, dictionary);
    map = std::move(dictionary.categories);
    return dictionary.encoding;
}

CategoryMap::Index CategoryOfItem(const win::TreeControl& tree, HTREEITEM item) {
    return static_cast<CategoryMap::Index>(tree.GetItemData(item));
}

std::vector<CategoryMap::Index> CategoriesInTreeOrder(const win::TreeControl& tree) {
    const auto next = [&](HTREEITEM item, UINT relation) {
        return reinterpret_cast<HTREEITEM>(
            tree.Send(TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
    };
    std::vector<CategoryMap::Index> order;
    std::vector<bool> seen;
    for (HTREEITEM group = next(nullptr, TVGN_ROOT); group != nullptr; group = next(group, TVGN_NEXT)) {
        for (HTREEITEM item = next(group, TVGN_CHILD); item != nullptr; item = next(item, TVGN_NEXT)) {
            const CategoryMap::Index index = CategoryOfItem(tree, item);
            if (index >= seen.size()) {
                seen.resize(index + 1);
            }
            if (!seen[index]) {
                seen[index] = true;
                order.push_back(index);
            }
        }
    }
    return order;
}

}  // namespace dictionary
