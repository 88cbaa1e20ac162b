#include "dictionary/CategoryMap.h"

void CategoryMap::Store(const std::string& name, List list) {
    auto [it, inserted] = m_lists.try_emplace(name, std::move(list));
    if (!inserted) {
        // An earlier run of the same category: keep both, in file order.
        it->second.insert(it->second.end(), std::make_move_iterator(list.begin()),
                          std::make_move_iterator(list.end()));
    }
}

const CategoryMap::List* CategoryMap::Find(std::string_view name) const {
    auto it = m_lists.find(std::string(name));
    return it == m_lists.end() ? nullptr : &it->second;
}
