// Delivering from the keyboard. With the focus on the kaomoji list or the
// favourites list, Space delivers the selected entry as a double-click does
// (copy, then paste into the window the user came from); Ctrl+C on those and
// on the AA list copies it without pasting.
//
// The keys are caught by a message filter on the dialog's modal loop, before
// the dialog manager and the list box see them: the lists keep their styles,
// Enter and Escape keep ending the dialog, and neither key reaches the list as
// a character (a list box would search its entries for a ' ').
#pragma once

#include <windows.h>

#include "win/UniqueHandle.h"

namespace listkeys {

// The notification code of Ctrl+C on the kaomoji and favourites lists, sent
// to the dialog in a WM_COMMAND like a list's own notifications. No list box
// sends it. Space sends LBN_DBLCLK, and so does Ctrl+C on the AA list, whose
// double-click only copies.
inline constexpr UINT kCopySelection = 0x0C0C;

// Watches the keys of `dialog`'s lists while it lives; one per thread.
class Filter {
public:
    explicit Filter(HWND dialog);
    ~Filter();
    Filter(const Filter&) = delete;
    Filter& operator=(const Filter&) = delete;

private:
    static LRESULT CALLBACK OnFilteredMessage(int code, WPARAM wParam, LPARAM lParam);
    // True when `message` was a delivery key, now handled.
    bool Handle(const MSG& message) const;

    HWND m_dialog;
    win::UniqueHook m_hook;
};

}  // namespace listkeys
