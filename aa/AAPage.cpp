#include "aa/AAPage.h"

#include "aa/AAStore.h"
#include "win/FileError.h"
#include "win/TextFile.h"

namespace {

// The text of the piece at `path`; one that cannot be opened is a file error.
std::string ReadPiece(const std::string& path) {
    std::optional<std::string> text = AAStore::ReadPiece(path);
    if (!text) {
        throw win::TextFile::OpenError(path);
    }
    return std::move(*text);
}

}  // namespace

void AAPage::LoadAAList() {
    m_aaList.ResetContent();
    for (const std::string& title : AAStore().ListTitles()) {
        m_aaList.AddString(title);
    }
    win::FitHorizontalExtent(m_aaList);
}

void AAPage::OnNewAA() {
    if (const std::optional<AAPiece> piece = m_editor({}, true)) {
        SaveAA(*piece, AAStore().PathForTitle(piece->title));
    }
}

void AAPage::OnEditAA() {
    const std::optional<int> selection = win::SelectionOrAsk(m_aaList);
    if (!selection) {
        return;
    }
    const std::string oldTitle = m_aaList.GetText(*selection);
    const std::string oldPath = AAStore().PathForTitle(oldTitle);
    if (const std::optional<AAPiece> piece = m_editor({oldTitle, ReadPiece(oldPath)}, false)) {
        // The new text goes into the old file, which then moves to the new title.
        SaveAA(*piece, oldPath);
    }
}

void AAPage::OnDeleteAA() {
    const std::optional<int> selection = win::SelectionOrAsk(m_aaList);
    if (!selection) {
        return;
    }
    AAStore::RemovePiece(AAStore().PathForTitle(m_aaList.GetText(*selection)));
    LoadAAList();
    m_aaList.SelectAfterDelete(*selection);
}

void AAPage::OnDblclkAAList() {
    const int selection = m_aaList.GetCurSel();
    if (selection == LB_ERR) {
        return;  // a double-click on an empty list
    }
    m_delivery.CopyToClipboard(
        {ReadPiece(AAStore().PathForTitle(m_aaList.GetText(selection))), text::Encoding::ShiftJis});
}

void AAPage::SaveAA(const AAPiece& piece, const std::string& path) {
    const AAStore store;
    AAStore::WritePiece(path, piece.text);
    const std::string newPath = store.PathForTitle(piece.title);
    if (newPath != path) {
        AAStore::RenamePiece(path, newPath);
    }
    LoadAAList();
}
