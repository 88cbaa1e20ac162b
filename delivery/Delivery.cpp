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

void Delivery::NoteForegroundWindow() {
    // Asked while another program is in front, the hook library looks at the
    // foreground window and keeps it: under Wine no foreground event would
    // tell it in time.
    ::GetLastActiveWindow();
}

BOOL Delivery::CopyToClipboard(const text::EncodedText& text) {
    SystemClipboard clipboard(m_owner.Hwnd());
    return PlaceText(clipboard, text) ? TRUE : FALSE;
}

BOOL Delivery::PasteToLastActiveWindow() {
    // The window itself, not one found again by its title: titles repeat
    // (two untitled editors) or are empty.
    return PasteInto(::GetLastActiveWindow(), &EnumChildProc) ? TRUE : FALSE;
}

// The paste delivers whatever the clipboard holds, so it runs only when this
// text is there.
void Delivery::Deliver(const text::EncodedText& text) {
    if (CopyToClipboard(text)) {
        PasteToLastActiveWindow();
    }
}

}  // namespace delivery
