#include "dictionary/CategoryMap.h"

CategoryMap::Index CategoryMap::Add(std::string_view name) {
    auto [it, inserted] = m_indexOfName.try_emplace(std::string(name), m_categories.size());
    if (inserted) {
        m_categories.push_back({it->first, {}});
    }
    return it->second;
}

void CategoryMap::Store(std::string_view name, List list) {
    List& stored = m_categories[Add(name)].list;
    if (stored.empty()) {
        stored = std::move(list);
    } else {
        stored.append(list);
    }
}

const CategoryMap::List* CategoryMap::Find(std::string_view name) const {
    auto it = m_indexOfName.find(std::string(name));
    return it == m_indexOfName.end() ? nullptr : &m_categories[it->second].list;
}

void CategoryMap::Clear() {
    m_categories.clear();
    m_indexOfName.clear();
}
