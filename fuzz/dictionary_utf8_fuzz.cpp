// Fuzzes the dic.txt reader on UTF-8 files: whatever follows the byte-order
// mark (invalid sequences included), parsing ends, the tree it describes is
// well formed, every record line lands in exactly one list, and no group key
// ends inside a character.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "DictionaryChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string file = std::string(text::kUtf8ByteOrderMark) + std::string(text);
    const dictionary::Dictionary dictionary =
        dictionary::ReadDictionaryBytes(file, text::Cp932LeadByte);
    fuzzcheck::Check(dictionary.encoding == text::Encoding::Utf8);
    fuzzcheck::CheckDictionary(dictionary, text, text::NoLeadByte);
    for (const dictionary::Dictionary::Group& group : dictionary.groups) {
        // Two single-byte characters, or one character whole.
        const bool twoAscii = group.key.size() == 2 &&
                              static_cast<unsigned char>(group.key[0]) < 0x80 &&
                              static_cast<unsigned char>(group.key[1]) < 0x80;
        fuzzcheck::Check(twoAscii || text::Utf8CharLength(group.key, 0) == group.key.size());
    }
    return 0;
}
