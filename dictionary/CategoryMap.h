// The dictionary index: each category's kaomoji, in file order. It owns its
// lists. Every category has a fixed index from the moment it is first named,
// so a tree item can keep its category by index: the tree holds its texts as
// UTF-16, and a name that does not survive the round trip could not be
// looked up again by the item's text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "dictionary/KaomojiList.h"

class CategoryMap {
public:
    using List = KaomojiList;
    using Index = std::size_t;

    // The index of `name`, which gets an empty list when it is new.
    Index Add(std::string_view name);

    // Appends `list` to the list of `name` (adding `name` when it is new): a
    // category whose lines stand in several separate runs keeps all of them,
    // in file order.
    void Store(std::string_view name, List list);

    // The list of `name`, or null.
    const List* Find(std::string_view name) const;

    const std::string& NameAt(Index index) const { return m_categories.at(index).name; }
    const List& ListAt(Index index) const { return m_categories.at(index).list; }

    std::size_t Size() const { return m_categories.size(); }
    void Clear();

private:
    struct Category {
        std::string name;
        List list;
    };

    std::vector<Category> m_categories;
    std::unordered_map<std::string, Index> m_indexOfName;
};
