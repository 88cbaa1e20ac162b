// PelomiUtil.dll: remembers the last active window that is not one of Pelo's
// and makes it paste the clipboard's text.
//
// Tracking runs on Pelo's thread, driven by its message loop:
//   - a WinEvent hook for EVENT_SYSTEM_FOREGROUND (out of context, so the
//     callback arrives as a message on the thread that installed it);
//   - one for EVENT_OBJECT_FOCUS: Wine sends no foreground events, but does
//     report the focus a newly activated window gives its control;
//   - a thread timer that looks at GetForegroundWindow every 100 ms, for
//     systems that send no foreground events (Wine sends none);
//   - a look at the foreground window when tracking starts and on every
//     question, which catches the window Pelo's own activation has just
//     deactivated when no event or timer tick came in between.
// Every window seen is judged by hook::LastActiveRecord (WindowChoice.h).
#include "hook/PelomiUtil.h"

#include <array>

#include "hook/WindowChoice.h"
#include "win/UniqueHandle.h"

namespace {

constexpr UINT kPollIntervalMs = 100;
// How long a paste waits for the target to become the foreground window.
constexpr DWORD kForegroundTimeoutMs = 1000;
// How long the fallback WM_PASTE may wait for a busy target.
constexpr UINT kPasteMessageTimeoutMs = 2000;

struct Tracking {
    hook::LastActiveRecord<HWND> record;
    win::UniqueWinEventHook foregroundEvents;
    win::UniqueWinEventHook focusEvents;
    UINT_PTR pollTimer = 0;
};

// Touched only on the thread that called SetHook.
Tracking g_tracking;

hook::WindowFacts FactsOf(HWND window) {
    hook::WindowFacts facts;
    facts.exists = window != nullptr && ::IsWindow(window) != FALSE;
    if (!facts.exists) {
        return facts;
    }
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    facts.processId = processId;
    std::array<char, 256> className{};
    const int length =
        ::GetClassNameA(window, className.data(), static_cast<int>(className.size()));
    facts.className.assign(className.data(), length > 0 ? length : 0);
    return facts;
}

void Offer(HWND window) {
    g_tracking.record.Offer(window, FactsOf(window));
}

void OfferForegroundWindow() {
    Offer(::GetForegroundWindow());
}

void CALLBACK OnForegroundEvent(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD,
                                DWORD) {
    try {
        if (object == OBJID_WINDOW) {
            Offer(window);
        }
    } catch (...) {
        // Out of memory for a class name: this event is simply not recorded.
    }
}

void CALLBACK OnFocusEvent(HWINEVENTHOOK, DWORD, HWND window, LONG, LONG, DWORD, DWORD) {
    try {
        const HWND focused = ::GetAncestor(window, GA_ROOT);
        const HWND foreground = ::GetForegroundWindow();
        if (focused != nullptr) {
            g_tracking.record.OfferFocused(focused, FactsOf(focused), foreground,
                                           FactsOf(foreground));
        }
    } catch (...) {
        // As above.
    }
}

void CALLBACK OnPollTimer(HWND, UINT, UINT_PTR, DWORD) {
    try {
        OfferForegroundWindow();
    } catch (...) {
        // As above: the next tick tries again.
    }
}

void StopTracking() {
    if (g_tracking.pollTimer != 0) {
        ::KillTimer(nullptr, g_tracking.pollTimer);
        g_tracking.pollTimer = 0;
    }
    g_tracking.foregroundEvents.reset();
    g_tracking.focusEvents.reset();
    g_tracking.record.Stop();
}

// Waits, for at most `timeoutMs`, until `window` is the foreground window.
// Messages sent to this thread meanwhile are handled (activation may send
// some), posted ones and input wait for the message loop.
bool WaitForForeground(HWND window, DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    while (::GetForegroundWindow() != window) {
        const ULONGLONG now = ::GetTickCount64();
        if (now >= deadline) {
            return false;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
        MSG message;
        ::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    return true;
}

bool BringToForeground(HWND topLevel) {
    if (::IsIconic(topLevel)) {
        ::ShowWindow(topLevel, SW_RESTORE);
    }
    ::SetForegroundWindow(topLevel);
    return WaitForForeground(topLevel, kForegroundTimeoutMs);
}

INPUT KeyInput(WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    switch (virtualKey) {
        case VK_RCONTROL:
        case VK_RMENU:
        case VK_LWIN:
        case VK_RWIN:
            input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
            break;
        default:
            break;
    }
    return input;
}

// Ctrl+V as keyboard input to the foreground window. Modifiers the user
// still holds (say Shift or Alt from the double-click) would turn it into
// another shortcut, so they are released first; they are released after Ctrl
// went down, so that a lone Alt or Windows key press-and-release cannot open
// a menu.
void SendPasteKeys() {
    static constexpr std::array<WORD, 6> kOtherModifiers = {VK_LSHIFT, VK_RSHIFT, VK_LMENU,
                                                            VK_RMENU,  VK_LWIN,   VK_RWIN};
    std::array<INPUT, 4 + kOtherModifiers.size()> inputs{};
    std::size_t count = 0;
    inputs[count++] = KeyInput(VK_CONTROL, false);
    for (WORD modifier : kOtherModifiers) {
        if ((::GetAsyncKeyState(modifier) & 0x8000) != 0) {
            inputs[count++] = KeyInput(modifier, true);
        }
    }
    inputs[count++] = KeyInput('V', false);
    inputs[count++] = KeyInput('V', true);
    inputs[count++] = KeyInput(VK_CONTROL, true);
    ::SendInput(static_cast<UINT>(count), inputs.data(), sizeof(INPUT));
}

// When the target cannot be made the foreground window, its thread's focused
// control (or, without one, the window the walk gave) is asked directly.
void SendPasteMessage(HWND topLevel, HWND walked) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    const DWORD thread = ::GetWindowThreadProcessId(topLevel, nullptr);
    HWND receiver = walked;
    if (::GetGUIThreadInfo(thread, &info) && info.hwndFocus != nullptr) {
        receiver = info.hwndFocus;
    }
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(receiver, WM_PASTE, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                          kPasteMessageTimeoutMs, &ignored);
}

void PasteInto(HWND walked) {
    HWND topLevel = ::GetAncestor(walked, GA_ROOT);
    if (topLevel == nullptr) {
        return;
    }
    if (BringToForeground(topLevel)) {
        SendPasteKeys();
    } else {
        SendPasteMessage(topLevel, walked);
    }
}

}  // namespace

void __stdcall SetHook(HWND self) {
    try {
        StopTracking();
        DWORD ownProcessId = ::GetCurrentProcessId();
        if (self != nullptr) {
            ::GetWindowThreadProcessId(self, &ownProcessId);
        }
        g_tracking.record.Start(ownProcessId);
        g_tracking.foregroundEvents.reset(::SetWinEventHook(
            EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, &OnForegroundEvent, 0, 0,
            WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS));
        g_tracking.focusEvents.reset(
            ::SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, &OnFocusEvent, 0, 0,
                              WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS));
        g_tracking.pollTimer = ::SetTimer(nullptr, 0, kPollIntervalMs, &OnPollTimer);
        OfferForegroundWindow();
    } catch (...) {
        // Nothing here throws but a failed allocation; tracking then starts
        // with no window remembered.
    }
}

void __stdcall FreeHook(void) {
    StopTracking();
}

HWND __cdecl GetLastActiveWindow(void) {
    try {
        if (!g_tracking.record.Tracking()) {
            return nullptr;
        }
        OfferForegroundWindow();
        const HWND remembered = g_tracking.record.Remembered();
        return g_tracking.record.Answer(remembered != nullptr && ::IsWindow(remembered));
    } catch (...) {
        return nullptr;
    }
}

// Called by EnumChildWindows for the first child of the target (or directly
// for a target without children): one paste per walk, so the walk ends here.
int __stdcall EnumChildProc(HWND window, long) {
    try {
        PasteInto(window);
    } catch (...) {
        // Nothing here allocates; the paste is simply not made.
    }
    return 0;
}
