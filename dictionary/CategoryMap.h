// The dictionary index: category name to the kaomoji of that category, in
// file order. It owns its lists.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CategoryMap {
public:
    using List = std::vector<std::string>;

    // Stores `list` under `name`. A category whose lines stand in several
    // separate runs keeps all of them: a later run is appended.
    void Store(const std::string& name, List list);

    // The list of `name`, or null.
    const List* Find(std::string_view name) const;

    std::size_t Size() const { return m_lists.size(); }
    void Clear() { m_lists.clear(); }

private:
    std::unordered_map<std::string, List> m_lists;
};
