// The dictionary in the category tree: group items in file order, category
// items sorted among their siblings by the tree itself (TVI_SORT), each
// keeping the index of its category as item data. The tree holds its texts
// as UTF-16, and a name whose bytes do not survive that round trip (NEC or
// IBM duplicate codes, unmapped bytes) would come back changed: the index
// finds the category whatever its name.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

#include "dictionary/CategoryMap.h"
#include "dictionary/Dictionary.h"
#include "win/Controls.h"
#include "win/FileError.h"
#include "win/Strings.h"

namespace dictionary {

// Keeps a control from redrawing while it is filled item by item; it is
// redrawn once, whole, when this ends.
class RedrawSuspended {
public:
    explicit RedrawSuspended(const win::Window& control);
    ~RedrawSuspended();
    RedrawSuspended(const RedrawSuspended&) = delete;
    RedrawSuspended& operator=(const RedrawSuspended&) = delete;

private:
    const win::Window& m_control;
};

// Adds the groups and categories of `dictionary` to `tree` without redrawing
// it item by item. The tree sorts each category in (TVI_SORT), and ends as
// if they came in file order; they are handed over in an order that spares
// it a walk over the siblings, so a group of n categories costs n log n.
void FillCategoryTree(const win::TreeControl& tree, const Dictionary& dictionary);

// The category a category item stands for.
CategoryMap::Index CategoryOfItem(const win::TreeControl& tree, HTREEITEM item);

// Every category of `tree` once, in the order the tree shows them (a
// category of several items where its first item stands).
std::vector<CategoryMap::Index> CategoriesInTreeOrder(const win::TreeControl& tree);

// Reads every line of `lines` (anything with bool ReadLine(std::string&)),
// then fills `tree` and `map`. A read error is reported to the user with its
// file-error text and leaves both untouched: a dictionary read in part is
// never shown. Returns whether the dictionary was loaded.
template <typename LineSource>
bool LoadDictionaryInto(LineSource& lines, const win::TreeControl& tree, CategoryMap& map) {
    Dictionary dictionary;
    try {
        dictionary = ReadDictionary(lines, win::SystemLeadByte);
    } catch (const win::FileError& error) {
        error.Report();
        return false;
    }
    FillCategoryTree(tree, dictionary);
    map = std::move(dictionary.categories);
    return true;
}

}  // namespace dictionary
