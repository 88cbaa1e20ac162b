#include "dictionary/KaomojiListBox.h"

#include <string>
#include <vector>

#include "dictionary/CategoryTree.h"

namespace dictionary {

void FillKaomojiList(const win::ListBox& list, const KaomojiList& kaomoji) {
    // Every entry converted at once into one block, each followed by a zero
    // (MultiByteToWideChar of the ANSI code page, as the list box would do).
    std::wstring texts(kaomoji.bytes(), L'\0');
    std::vector<std::size_t> starts;
    starts.reserve(kaomoji.size());
    std::size_t used = 0;
    for (const std::string_view entry : kaomoji) {
        starts.push_back(used);
        used += entry.empty() ? 0
                              : static_cast<std::size_t>(::MultiByteToWideChar(
                                    CP_ACP, 0, entry.data(), static_cast<int>(entry.size()),
                                    texts.data() + used, static_cast<int>(texts.size() - used)));
        ++used;  // the zero that ends the entry, already there
    }

    const RedrawSuspended noRedraw(list);
    list.ResetContent();
    list.InitStorage(static_cast<int>(kaomoji.size()), static_cast<int>(used * sizeof(wchar_t)));
    for (const std::size_t start : starts) {
        ::SendMessageW(list.Hwnd(), LB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(texts.data() + start));
    }
}

}  // namespace dictionary
