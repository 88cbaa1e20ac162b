#include "dictionary/KaomojiListBox.h"

#include <string>
#include <string_view>
#include <vector>

namespace dictionary {

void FillKaomojiList(const win::ListBox& list, const KaomojiList& kaomoji,
                     text::Encoding encoding) {
    // Every entry converted at once into one block, each followed by a zero.
    // No character takes more UTF-16 units than bytes in either encoding.
    const UINT codePage = encoding == text::Encoding::Utf8 ? CP_UTF8 : CP_ACP;
    std::wstring texts(kaomoji.bytes(), L'\0');
    std::vector<std::wstring_view> entries;
    entries.reserve(kaomoji.size());
    std::size_t used = 0;
    for (const std::string_view entry : kaomoji) {
        const std::size_t length =
            entry.empty() ? 0
                          : static_cast<std::size_t>(::MultiByteToWideChar(
                                codePage, 0, entry.data(), static_cast<int>(entry.size()),
                                texts.data() + used, static_cast<int>(texts.size() - used)));
        entries.emplace_back(texts.data() + used, length);
        used += length + 1;  // the zero that ends the entry, already there
    }

    // The extent is set while the list is hidden from drawing: a visible list
    // redraws its scroll bar for it at once.
    const win::DrawingSuspended noDrawing(list);
    list.ResetContent();
    list.InitStorage(static_cast<int>(kaomoji.size()), static_cast<int>(used * sizeof(wchar_t)));
    for (const std::wstring_view entry : entries) {
        ::SendMessageW(list.Hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.data()));
    }
    win::FitHorizontalExtent(list, [&](const win::TextVisitor& measure) {
        for (const std::wstring_view entry : entries) {
            measure(entry);
        }
    });
}

}  // namespace dictionary
