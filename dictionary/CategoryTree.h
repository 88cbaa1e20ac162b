// The dictionary in the category tree: group items in file order, category
// items sorted among their siblings by the tree itself (TVI_SORT), each
// keeping the index of its category as item data. The tree holds its texts
// as UTF-16, and a name whose bytes do not survive that round trip (NEC or
// IBM duplicate codes, unmapped bytes) would come back changed: the index
// finds the category whatever its name.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "dictionary/CategoryMap.h"
#include "dictionary/Dictionary.h"
#include "win/Controls.h"
#include "win/TextFile.h"

namespace dictionary {

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

// Reads the whole of `file`, then fills `tree` and `map` and returns the
// dictionary's encoding. A read error is reported to the user with its
// file-error text and leaves both untouched: a dictionary read in part is
// never shown. Nothing when the dictionary was not loaded.
std::optional<text::Encoding> LoadDictionaryInto(win::TextFile& file, const win::TreeControl& tree,
                                                 CategoryMap& map);

}  // namespace dictionary
