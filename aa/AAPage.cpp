#include "aa/AAPage.h"

#include "aa/AAStore.h"
#include "win/FileError.h"
#include "win/Strings.h"
#include "win/TextFile.h"

namespace {

// The text of the piece at `path`; one that cannot be opened is a file error.
text::EncodedText ReadPiece(const std::wstring& path) {
    std::optional<text::EncodedText> text = AAStore::ReadPiece(path);
    if (!text) {
        throw win::TextFile::OpenError(path);
    }
    return std::move(*text);
}

// The piece's text as it is saved: in Shift-JIS, as every piece was before
// UTF-8, while its title and text both have an exact form there and it was
// not UTF-8 already; in UTF-8 otherwise, so that nothing typed is lost.
text::EncodedText EncodeText(const AAPiece& piece, text::Encoding before) {
    if (before == text::Encoding::ShiftJis && win::WideToAnsiExactly(piece.title)) {
        if (std::optional<std::string> ansi = win::WideToAnsiExactly(piece.text)) {
            return {std::move(*ansi), text::Encoding::ShiftJis};
        }
    }
    return {win::WideToUtf8(piece.text), text::Encoding::Utf8};
}

}  // namespace

void AAPage::LoadAAList() {
    m_aaList.ResetContent();
    for (const std::wstring& title : AAStore().ListTitles()) {
        m_aaList.AddString(title);
    }
    win::FitHorizontalExtent(m_aaList);
}

void AAPage::OnNewAA() {
    if (const std::optional<AAPiece> piece = m_editor({}, true)) {
        SaveAA(*piece, AAStore().PathForTitle(piece->title), text::Encoding::ShiftJis);
    }
}

void AAPage::OnEditAA() {
    const std::optional<int> selection = win::SelectionOrAsk(m_aaList);
    if (!selection) {
        return;
    }
    const std::wstring oldTitle = m_aaList.GetWideText(*selection);
    const std::wstring oldPath = AAStore().PathForTitle(oldTitle);
    const text::EncodedText old = ReadPiece(oldPath);
    if (const std::optional<AAPiece> piece =
            m_editor({oldTitle, win::ToWide(old.bytes, old.encoding)}, false)) {
        // The new text goes into the old file, which then moves to the new title.
        SaveAA(*piece, oldPath, old.encoding);
    }
}

void AAPage::OnDeleteAA() {
    const std::optional<int> selection = win::SelectionOrAsk(m_aaList);
    if (!selection) {
        return;
    }
    AAStore::RemovePiece(AAStore().PathForTitle(m_aaList.GetWideText(*selection)));
    LoadAAList();
    m_aaList.SelectAfterDelete(*selection);
}

void AAPage::OnDblclkAAList() {
    const int selection = m_aaList.GetCurSel();
    if (selection == LB_ERR) {
        return;  // a double-click on an empty list
    }
    m_delivery.CopyToClipboard(ReadPiece(AAStore().PathForTitle(m_aaList.GetWideText(selection))));
}

void AAPage::SaveAA(const AAPiece& piece, const std::wstring& path, text::Encoding encoding) {
    const AAStore store;
    AAStore::WritePiece(path, EncodeText(piece, encoding));
    const std::wstring newPath = store.PathForTitle(piece.title);
    if (newPath != path) {
        AAStore::RenamePiece(path, newPath);
    }
    LoadAAList();
}
