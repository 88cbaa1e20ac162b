// What every dictionary read from any bytes must be, whichever its encoding:
// the checks both dictionary fuzzers make.
#pragma once

#include <cstdlib>
#include <string>
#include <string_view>

#include "dictionary/Dictionary.h"
#include "text/Encoding.h"
#include "text/Mbcs.h"
#include "text/TextMode.h"

namespace fuzzcheck {

inline void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// `dictionary`, read from `text` (the file without its byte-order mark),
// lands every record line in exactly one list, and every group's categories
// share its key and begin with no white space.
inline void CheckDictionary(const dictionary::Dictionary& dictionary, std::string_view text,
                            text::LeadByteTest isLead) {
    const CategoryMap& map = dictionary.categories;
    std::size_t kaomoji = 0;
    for (std::size_t i = 0; i < map.Size(); ++i) {
        kaomoji += map.ListAt(i).size();
        Check(map.Find(map.NameAt(i)) == &map.ListAt(i));
    }
    std::size_t records = 0;
    for (const std::string& line : text::SplitTextModeLines(text)) {
        records += !text::TrimSingleByteSpace(line, isLead).empty();
    }
    Check(kaomoji == records);

    for (const dictionary::Dictionary::Group& group : dictionary.groups) {
        Check(!group.categories.empty());
        for (const CategoryMap::Index index : group.categories) {
            const std::string& name = map.NameAt(index);
            Check(!name.empty() && !map.ListAt(index).empty());
            Check(dictionary::GroupKey(name, dictionary.encoding) == group.key);
            Check(name.starts_with(group.key));
            Check(!text::IsSingleByteSpace(static_cast<unsigned char>(name.front())));
        }
    }
}

}  // namespace fuzzcheck
