// Fuzzes the dic.txt reader: whatever the bytes, parsing ends, the tree it
// describes is well formed and every record line lands in exactly one list.
// The lines come from a small reader working in place on the input, so that
// an input costs no read buffer and a long run reaches millions of inputs.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "dictionary/Dictionary.h"
#include "text/Mbcs.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The text-mode reading rules: LF or CR LF ends a line, a lone CR stays in it,
// Ctrl-Z ends the data, the last line needs no line end.
class SmallLineReader {
public:
    explicit SmallLineReader(std::string_view bytes)
        : m_rest(bytes.substr(0, bytes.find('\x1A'))) {}
    bool ReadLine(std::string& line) {
        if (m_rest.empty()) {
            return false;
        }
        const std::size_t lf = m_rest.find('\n');
        std::string_view taken = m_rest.substr(0, lf);
        m_rest.remove_prefix(lf == std::string_view::npos ? m_rest.size() : lf + 1);
        if (lf != std::string_view::npos && !taken.empty() && taken.back() == '\r') {
            taken.remove_suffix(1);
        }
        line.assign(taken);
        return true;
    }

private:
    std::string_view m_rest;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    SmallLineReader lines(bytes);
    const dictionary::Dictionary dictionary =
        dictionary::ReadDictionary(lines, text::Cp932LeadByte);
    const CategoryMap& map = dictionary.categories;

    std::size_t kaomoji = 0;
    for (std::size_t i = 0; i < map.Size(); ++i) {
        kaomoji += map.ListAt(i).size();
        Check(map.Find(map.NameAt(i)) == &map.ListAt(i));
    }
    std::size_t records = 0;
    SmallLineReader again(bytes);
    for (std::string line; again.ReadLine(line);) {
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
