#include "dictionary/Dictionary.h"

namespace dictionary {

void DictionaryBuilder::InsertGroup(std::string_view key) {
    m_dictionary.groups.push_back({std::string(key), {}});
}

void DictionaryBuilder::InsertCategory(std::string_view name) {
    m_dictionary.groups.back().categories.push_back(m_dictionary.categories.Add(name));
}

void DictionaryBuilder::StoreList(std::string_view name, KaomojiList list) {
    m_dictionary.categories.Store(name, std::move(list));
}

Dictionary ReadDictionaryBytes(std::string_view bytes, text::LeadByteTest isLead) {
    const text::FileEncoding encoding = text::DetectEncoding(bytes);
    text::MemorySource source(text::WithoutByteOrderMark(bytes, encoding));
    text::LineReader lines(source);
    return ReadDictionary(lines, isLead, encoding.encoding);
}

}  // namespace dictionary
