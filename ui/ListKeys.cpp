#include "ui/ListKeys.h"

#include "app/resource.h"

namespace listkeys {

namespace {

// The filter of this thread: the hook procedure has no other way to it.
thread_local Filter* t_filter = nullptr;

bool Held(int virtualKey) {
    return (::GetKeyState(virtualKey) & 0x8000) != 0;
}

// The notification a key on list `id` stands for, or 0 for none.
UINT NotificationFor(int id, WPARAM key) {
    const bool ctrl = Held(VK_CONTROL);
    if (Held(VK_SHIFT) || Held(VK_MENU)) {
        return 0;
    }
    const bool textList = id == IDC_KAOMOJI_LIST || id == IDC_FAVORITE_LIST;
    if (key == VK_SPACE && !ctrl && textList) {
        return LBN_DBLCLK;
    }
    if (key == 'C' && ctrl && textList) {
        return kCopySelection;
    }
    if (key == 'C' && ctrl && id == IDC_AA_LIST) {
        return LBN_DBLCLK;
    }
    return 0;
}

}  // namespace

Filter::Filter(HWND dialog) : m_dialog(dialog) {
    m_hook.reset(
        ::SetWindowsHookExA(WH_MSGFILTER, &OnFilteredMessage, nullptr, ::GetCurrentThreadId()));
    t_filter = this;
}

Filter::~Filter() {
    t_filter = nullptr;
}

// Called by the dialog's modal loop (code MSGF_DIALOGBOX) for each message
// before the dialog manager handles it.
LRESULT CALLBACK Filter::OnFilteredMessage(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_DIALOGBOX && t_filter != nullptr &&
        t_filter->Handle(*reinterpret_cast<const MSG*>(lParam))) {
        return TRUE;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

bool Filter::Handle(const MSG& message) const {
    if (message.message != WM_KEYDOWN || ::GetParent(message.hwnd) != m_dialog) {
        return false;
    }
    const int id = ::GetDlgCtrlID(message.hwnd);
    const UINT notification = NotificationFor(id, message.wParam);
    if (notification == 0) {
        return false;
    }
    // A key held down delivers once, not once per repeat.
    const bool repeat = (message.lParam & (1L << 30)) != 0;
    if (!repeat) {
        // Sent: the dialog's own procedure handles it, with its error reporting.
        ::SendMessageA(m_dialog, WM_COMMAND, MAKEWPARAM(id, notification),
                       reinterpret_cast<LPARAM>(message.hwnd));
    }
    return true;
}

}  // namespace listkeys
