// The delivery every page uses: a text copied to the clipboard and pasted
// into the window the user came from, which the hook library tracks.
#pragma once

#include <windows.h>

#include "text/Encoding.h"

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
    // Takes the window in front now (another program's) as the one the user
    // came from, before Pelo comes forward by other means than activation.
    void NoteForegroundWindow();

    // TRUE only when the text was placed.
    BOOL CopyToClipboard(const text::EncodedText& text);
    BOOL PasteToLastActiveWindow();
    // Copies `text` and, once it is there, pastes it.
    void Deliver(const text::EncodedText& text);

private:
    const win::Dialog& m_owner;
};

}  // namespace delivery
