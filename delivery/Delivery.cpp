// The main dialog's delivery: the clipboard copy every page uses, the paste
// into the window the user came from, and the double-click handlers of the
// dictionary and favourites lists.
#include "delivery/Clipboard.h"
#include "hook/PelomiUtil.h"
#include "ui/MainDialog.h"

BOOL MainDialog::CopyToClipboard(std::string text) {
    delivery::SystemClipboard clipboard(Hwnd());
    return delivery::PlaceText(clipboard, text) ? TRUE : FALSE;
}

BOOL MainDialog::PasteToLastActiveWindow() {
    const HWND lastActive = ::GetLastActiveWindow();
    lastActiveTitle[0] = '\0';
    if (lastActive != nullptr) {
        ::GetWindowTextA(lastActive, lastActiveTitle, sizeof lastActiveTitle);
    }
    // The window itself, not one found again by its title: titles repeat
    // (two untitled editors) or are empty.
    return delivery::PasteInto(lastActive, &EnumChildProc) ? TRUE : FALSE;
}

void MainDialog::OnDictionaryListDblClk() {
    DeliverSelectedEntry(m_kaomojiList);
}

void MainDialog::OnFavoritesListDblClk() {
    DeliverSelectedEntry(m_favoriteList);
}

// The paste delivers whatever the clipboard holds, so it runs only when this
// entry's text is there.
void MainDialog::DeliverSelectedEntry(const win::ListBox& list) {
    const int selection = list.GetCurSel();
    if (selection == LB_ERR) {
        return;
    }
    if (CopyToClipboard(list.GetText(selection))) {
        PasteToLastActiveWindow();
    }
}
