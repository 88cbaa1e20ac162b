#include "hook/WindowChoice.h"

#include <algorithm>
#include <array>

namespace hook {

namespace {

// Class names compare exactly, as the system registers them.
constexpr std::array<std::string_view, 8> kShellWindowClasses = {
    "Shell_TrayWnd",             // the taskbar (also Wine's explorer systray)
    "Shell_SecondaryTrayWnd",    // the taskbar on a second monitor
    "NotifyIconOverflowWindow",  // the hidden-icons flyout
    "__wine_tray_icon",          // one icon of Wine's standalone systray
    "__winex11_standalone_tray", // Wine's standalone systray window itself
    "#32769",                    // the desktop window (Wine's desktop too)
    "Progman",                   // the shell's desktop
    "WorkerW",                   // the desktop's wallpaper layer
};

}  // namespace

bool IsShellWindowClass(std::string_view className) {
    return std::find(kShellWindowClasses.begin(), kShellWindowClasses.end(), className) !=
           kShellWindowClasses.end();
}

bool IsDeliveryCandidate(const WindowFacts& window, unsigned long ownProcessId) {
    return window.exists && window.processId != ownProcessId &&
           !IsShellWindowClass(window.className);
}

}  // namespace hook
