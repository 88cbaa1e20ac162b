// The delivery every page uses: a text copied to the clipboard and pasted
// into the window the user came from, which the hook library tracks.
#pragma once

#include <windows.h>

#include <string>

#include "win/Controls.h"
#include "win/Dialog.h"

namespace delivery {

class Delivery {
public:
    // `owner` owns the clipboard while text is placed on it.
    explicit Delivery(const win::Dialog& owner) : m_owner(owner) {}

    // Starts tracking the window the user works in; `own` (Pelo's window)
    // is never taken for it.
    void StartTracking(HWND own);
    // Ends the tracking; harmless when it never started.
    void StopTracking();

    // TRUE only when the text was placed.
    BOOL CopyToClipboard(std::string text);
    BOOL PasteToLastActiveWindow();
    // Copies the list's selected entry and, once it is there, pastes it;
    // nothing without a selection.
    void DeliverSelectedEntry(const win::ListBox& list);

private:
    const win::Dialog& m_owner;
};

}  // namespace delivery
