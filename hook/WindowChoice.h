// Which window Pelo may deliver text to. The hook library watches the
// foreground window; every window it sees is judged here from plain facts,
// so the choice is free of <windows.h> and of timing.
#pragma once

#include <string>
#include <string_view>

namespace hook {

// What the hook library knows about a window it has seen in the foreground.
struct WindowFacts {
    bool exists = false;          // the handle still names a window
    unsigned long processId = 0;  // the process that owns it
    std::string className;
};

// The shell's own windows: the taskbar and its notification area (on
// Windows and in Wine's explorer) and the desktop. Turning to Pelo through
// its tray icon makes one of them active for a moment; pasting there would
// lose the text.
bool IsShellWindowClass(std::string_view className);

// True when `window` may receive a paste: it exists, belongs to another
// process than Pelo's (which rules out Pelo's dialogs, menus and message
// boxes alike) and is not one of the shell's windows.
bool IsDeliveryCandidate(const WindowFacts& window, unsigned long ownProcessId);

// The last active foreign window, as the hook library remembers it.
// `Handle` is the platform's window handle (HWND); a value-initialised
// Handle means "none".
template <typename Handle>
class LastActiveRecord {
public:
    // Starts remembering windows for Pelo's process.
    void Start(unsigned long ownProcessId) {
        m_ownProcessId = ownProcessId;
        m_tracking = true;
    }
    // Forgets everything; harmless when never started.
    void Stop() {
        m_tracking = false;
        m_window = Handle{};
    }
    bool Tracking() const { return m_tracking; }

    // `window` has been seen in the foreground: remembered when it is a
    // candidate, otherwise the earlier one stays (Pelo itself becoming
    // active must not make Pelo the target).
    void Offer(Handle window, const WindowFacts& facts) {
        if (m_tracking && window != Handle{} && IsDeliveryCandidate(facts, m_ownProcessId)) {
            m_window = window;
        }
    }

    // A keyboard-focus event, read after the fact, for a window whose
    // top-level window is `focused`. It shows that `focused` became active
    // when it is still in the foreground, or when Pelo's window has come to
    // the front since (the user went on to Pelo before the event was read).
    // With any other window in front it only tells of a program moving its
    // focus in the background.
    void OfferFocused(Handle focused, const WindowFacts& focusedFacts, Handle foreground,
                      const WindowFacts& foregroundFacts) {
        const bool peloInFront =
            foregroundFacts.exists && foregroundFacts.processId == m_ownProcessId;
        if (focused == foreground || peloInFront) {
            Offer(focused, focusedFacts);
        }
    }

    // The remembered window; `stillExists` tells whether it is still there.
    // A window that has gone is forgotten, so a later handle reuse cannot
    // revive it.
    Handle Answer(bool stillExists) {
        if (!stillExists) {
            m_window = Handle{};
        }
        return m_window;
    }
    Handle Remembered() const { return m_window; }

private:
    Handle m_window{};
    unsigned long m_ownProcessId = 0;
    bool m_tracking = false;
};

}  // namespace hook
