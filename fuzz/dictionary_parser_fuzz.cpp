// Fuzzes the dic.txt reader on Shift-JIS bytes: whatever the bytes, parsing
// ends, the tree it describes is well formed and every record line lands in
// exactly one list.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "DictionaryChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    text::MemorySource source(bytes);
    text::LineReader lines(source);
    const dictionary::Dictionary dictionary =
        dictionary::ReadDictionary(lines, text::Cp932LeadByte);
    fuzzcheck::CheckDictionary(dictionary, bytes, text::Cp932LeadByte);
    return 0;
}
