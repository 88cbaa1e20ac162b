// Fuzzes the dic.txt reader on UTF-8 files: whatever follows the byte-order
// mark (invalid sequences included), parsing ends, the tree it describes is
// well formed, every record line lands in exactly one list, and no group key
// ends inside a character.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "dictionary/Dictionary.h"
#include "text/Encoding.h"
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
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string file = std::string(text::kUtf8ByteOrderMark) + std::string(text);
    const dictionary::Dictionary dictionary =
        dictionary::ReadDictionaryBytes(file, text::Cp932LeadByte);
    Check(dictionary.encoding == text::Encoding::Utf8);
    const CategoryMap& map = dictionary.categories;

    std::size_t kaomoji = 0;
    for (std::size_t i = 0; i < map.Size(); ++i) {
        kaomoji += map.ListAt(i).size();
        Check(map.Find(map.NameAt(i)) == &map.ListAt(i));
    }
    std::size_t records = 0;
    for (const std::string& line : text::SplitTextModeLines(text)) {
        records += !text::TrimSingleByteSpace(line, text::NoLeadByte).empty();
    }
    Check(kaomoji == records);

    for (const dictionary::Dictionary::Group& group : dictionary.groups) {
        Check(!group.categories.empty());
        for (const CategoryMap::Index index : group.categories) {
            const std::string& name = map.NameAt(index);
            Check(!name.empty() && !map.ListAt(index).empty());
            Check(dictionary::GroupKey(name, text::Encoding::Utf8) == group.key);
            Check(name.starts_with(group.key));
            Check(!text::IsSingleByteSpace(static_cast<unsigned char>(name.front())));
        }
        // Two single-byte characters, or one character whole.
        const bool twoAscii = group.key.size() == 2 &&
                              static_cast<unsigned char>(group.key[0]) < 0x80 &&
                              static_cast<unsigned char>(group.key[1]) < 0x80;
        Check(twoAscii || text::Utf8CharLength(group.key, 0) == group.key.size());
    }
    return 0;
}
