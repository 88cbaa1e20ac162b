// Fuzzes the dic.txt reader: whatever the bytes, parsing ends, the tree it
// describes is well formed, every record line lands in exactly one list, and
// the way the bytes arrive (one block or many small reads) changes nothing.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "dictionary/Dictionary.h"
#include "text/Mbcs.h"
#include "text/TextMode.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Hands out the bytes in reads of 1 to 16 bytes, sizes taken from the data.
class DribbleSource final : public text::ByteSource {
public:
    explicit DribbleSource(std::string_view bytes) : m_bytes(bytes) {}
    std::size_t Read(char* buffer, std::size_t size) override {
        if (m_bytes.empty()) {
            return 0;
        }
        const std::size_t want = 1 + static_cast<unsigned char>(m_bytes[0]) % 16;
        const std::size_t n = std::min({size, want, m_bytes.size()});
        m_bytes.copy(buffer, n);
        m_bytes.remove_prefix(n);
        return n;
    }

private:
    std::string_view m_bytes;
};

template <typename Source>
dictionary::Dictionary Read(std::string_view bytes) {
    Source source(bytes);
    text::LineReader reader(source);
    return dictionary::ReadDictionary(reader, text::Cp932LeadByte);
}

std::size_t RecordLines(std::string_view bytes) {
    std::size_t count = 0;
    for (const std::string& line : text::SplitTextModeLines(bytes)) {
        count += text::TrimSingleByteSpace(line, text::Cp932LeadByte).empty() ? 0 : 1;
    }
    return count;
}

bool SameDictionary(const dictionary::Dictionary& a, const dictionary::Dictionary& b) {
    if (a.groups.size() != b.groups.size() || a.categories.Size() != b.categories.Size()) {
        return false;
    }
    for (std::size_t g = 0; g < a.groups.size(); ++g) {
        if (a.groups[g].key != b.groups[g].key ||
            a.groups[g].categories != b.groups[g].categories) {
            return false;
        }
    }
    for (std::size_t i = 0; i < a.categories.Size(); ++i) {
        if (a.categories.NameAt(i) != b.categories.NameAt(i) ||
            a.categories.ListAt(i) != b.categories.ListAt(i)) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const dictionary::Dictionary dictionary = Read<text::MemorySource>(bytes);
    const CategoryMap& map = dictionary.categories;

    std::size_t kaomoji = 0;
    for (std::size_t i = 0; i < map.Size(); ++i) {
        kaomoji += map.ListAt(i).size();
        Check(map.Find(map.NameAt(i)) == &map.ListAt(i));
    }
    Check(kaomoji == RecordLines(bytes));

    for (const dictionary::Dictionary::Group& group : dictionary.groups) {
        Check(!group.categories.empty());
        for (const CategoryMap::Index index : group.categories) {
            const std::string& name = map.NameAt(index);
            Check(!name.empty() && !map.ListAt(index).empty());
            Check(dictionary::GroupKey(name) == group.key);
            Check(!text::IsSingleByteSpace(static_cast<unsigned char>(name.front())));
        }
    }
    Check(SameDictionary(dictionary, Read<DribbleSource>(bytes)));
    return 0;
}
