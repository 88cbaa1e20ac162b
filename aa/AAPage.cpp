// The AA page of the main dialog: list 1011 of piece titles and the New,
// Edit and Delete buttons. The list box is the only in-memory copy of the
// titles; it is refilled from the folder after every change. File errors
// are not caught here: they leave the handler and the dialog layer shows
// them, so the steps after a failure (refill, selection) do not run.
#include <optional>
#include <string>

#include "aa/AAStore.h"
#include "app/resource.h"
#include "ui/EditAADialog.h"
#include "ui/MainDialog.h"
#include "win/MessageBox.h"

bool MainDialog::LoadAAList() {
    m_aaList.ResetContent();
    for (const std::string& title : AAStore().ListTitles()) {
        m_aaList.AddString(title);
    }
    SetHorizontalExtent(m_aaList);
    return true;
}

void MainDialog::OnNewAA() {
    EditAADialog editor;
    editor.m_isNew = true;
    if (editor.DoModal() != IDOK) {
        return;
    }
    SaveAA(editor, AAStore().PathForTitle(editor.m_title));
}

void MainDialog::OnEditAA() {
    const int selection = m_aaList.GetCurSel();
    if (selection == LB_ERR) {
        win::ShowMessage(IDS_SELECT_ITEM, MB_OK | MB_ICONHAND);
        return;
    }
    const std::string oldTitle = m_aaList.GetText(selection);
    const std::string oldPath = AAStore().PathForTitle(oldTitle);
    std::optional<std::string> text = AAStore::ReadPiece(oldPath);
    if (!text) {
        return;
    }
    EditAADialog editor;
    editor.m_title = oldTitle;
    editor.m_text = std::move(*text);
    editor.m_isNew = false;
    if (editor.DoModal() != IDOK) {
        return;
    }
    // The new text goes into the old file, which then moves to the new title.
    SaveAA(editor, oldPath);
}

void MainDialog::OnDeleteAA() {
    int selection = m_aaList.GetCurSel();
    if (selection == LB_ERR) {
        win::ShowMessage(IDS_SELECT_ITEM, MB_OK | MB_ICONHAND);
        return;
    }
    AAStore::RemovePiece(AAStore().PathForTitle(m_aaList.GetText(selection)));
    LoadAAList();
    // Select the entry that followed the deleted one, or the new last one.
    if (selection == m_aaList.GetCount()) {
        --selection;
    }
    m_aaList.SetCurSel(selection);
}

void MainDialog::OnDblclkAAList() {
    const int selection = m_aaList.GetCurSel();
    if (selection == LB_ERR) {
        return;  // a double-click on an empty list
    }
    std::optional<std::string> text =
        AAStore::ReadPiece(AAStore().PathForTitle(m_aaList.GetText(selection)));
    if (text) {
        CopyToClipboard(std::move(*text));
    }
}

void MainDialog::SaveAA(const EditAADialog& editor, const std::string& path) {
    const AAStore store;
    AAStore::WritePiece(path, editor.m_text);
    const std::string newPath = store.PathForTitle(editor.m_title);
    if (newPath != path) {
        AAStore::RenamePiece(path, newPath);
    }
    LoadAAList();
}
