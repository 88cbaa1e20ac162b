// Fuzzes the dic.txt reader: whatever the bytes, parsing ends, the tree it
// describes is well formed and every record line lands in exactly one list.
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    text::MemorySource source(bytes);
    text::LineReader lines(source);
    const dictionary::Dictionary dictionary =
        dictionary::ReadDictionary(lines, text::Cp932LeadByte);
    const CategoryMap& map = dictionary.categories;

    std::size_t kaomoji = 0;
    for (std::size_t i = 0; i < map.Size(); ++i) {
        kaomoji += map.ListAt(i).size();
        Check(map.Find(map.NameAt(i)) == &map.ListAt(i));
    }
    std::size_t records = 0;
    for (const std::string& line : text::SplitTextModeLines(bytes)) {
        records += !text::TrimSingleByteSpace(line, text::Cp932LeadByte).empty();
    }
    Check(kaomoji == records);

    for (const dictionary::Dictionary::Group& group : dictionary.groups) {
        Check(!group.categories.empty());
        for (const CategoryMap::Index index : group.categories) {
            const std::string& name = map.NameAt(index);
            Check(!name.empty() && !map.ListAt(index).empty());
            Check(dictionary::GroupKey(name) == group.key);
            Check(!text::IsSingleByteSpace(static_cast<unsigned char>(name.front())));
        }
    }
    return 0;
}
