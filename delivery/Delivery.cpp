#include "delivery/Delivery.h"

#include "delivery/Clipboard.h"
#include "hook/PelomiUtil.h"

namespace delivery {

void Delivery::StartTracking(HWND own) {
    SetHook(own);
}

void Delivery::StopTracking() {
    FreeHook();
}

BOOL Delivery::CopyToClipboard(std::string text) {
    SystemClipboard clipboard(m_owner.Hwnd());
    return PlaceText(clipboard, text) ? TRUE : FALSE;
}

BOOL Delivery::PasteToLastActiveWindow() {
    // The window itself, not one found again by its title: titles repeat
    // (two untitled editors) or are empty.
    return PasteInto(::GetLastActiveWindow(), &EnumChildProc) ? TRUE : FALSE;
}

// The paste delivers whatever the clipboard holds, so it runs only when this
// entry's text is there.
void Delivery::DeliverSelectedEntry(const win::ListBox& list) {
    const int selection = list.GetCurSel();
    if (selection == LB_ERR) {
        return;
    }
    if (CopyToClipboard(list.GetText(selection))) {
        PasteToLastActiveWindow();
    }
}

}  // namespace delivery
