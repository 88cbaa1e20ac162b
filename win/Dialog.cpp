#include "win/Dialog.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "win/Application.h"
#include "win/Controls.h"
#include "win/MessageBox.h"
#include "win/Strings.h"
#include "win/UniqueHandle.h"

namespace win {

namespace {

// The window property that leads from a dialog window to its object.
constexpr char kDialogProperty[] = "Pelo.Dialog";

// The dialog whose window this thread is about to create.
thread_local Dialog* t_creating = nullptr;

// A control of this thread forwarding its keys, and the window procedure it
// had before. A table rather than a window property: every message of a list
// box passes through the forwarder (one per entry as the list fills), and under
// Wine each look-up of a property is a round trip to the server.
struct KeyForwarder {
    HWND control;
    WNDPROC previous;
};
thread_local std::vector<KeyForwarder> t_keyForwarders;

std::vector<KeyForwarder>::iterator FindKeyForwarder(HWND control) {
    return std::find_if(t_keyForwarders.begin(), t_keyForwarders.end(),
                        [control](const KeyForwarder& f) { return f.control == control; });
}

// Set in the modifier word of a forwarded key held down (a repeat).
constexpr UINT kKeyRepeat = 0x8000;

// The control whose next character belongs to a key a row took: the system
// made it from that key before the key reached the control, so it goes too.
thread_local HWND t_swallowCharOf = nullptr;

bool Held(int virtualKey) {
    return (::GetKeyState(virtualKey) & 0x8000) != 0;
}

UINT HeldModifiers() {
    return (Held(VK_CONTROL) ? kCtrl : kNoModifier) | (Held(VK_SHIFT) ? kShift : kNoModifier) |
           (Held(VK_MENU) ? kAlt : kNoModifier);
}

LRESULT CALLBACK KeyForwardingProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto forwarder = FindKeyForwarder(control);
    const WNDPROC previous = forwarder->previous;
    switch (message) {
        case WM_KEYDOWN: {
            const bool repeat = (lParam & (1L << 30)) != 0;
            const UINT flags = HeldModifiers() | (repeat ? kKeyRepeat : 0);
            const bool taken =
                ::SendMessageA(::GetParent(control), kControlKeyMessage,
                               MAKEWPARAM(wParam, flags), reinterpret_cast<LPARAM>(control)) != 0;
            t_swallowCharOf = taken ? control : nullptr;
            if (taken) {
                return 0;
            }
            break;
        }
        case WM_CHAR:
            if (std::exchange(t_swallowCharOf, nullptr) == control) {
                return 0;
            }
            break;
        case WM_NCDESTROY:
            ::SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
            t_keyForwarders.erase(forwarder);
            break;
        default:
            break;
    }
    return ::CallWindowProcW(previous, control, message, wParam, lParam);
}

bool IsImeWindowClass(LPCSTR className) {
    return !IS_INTRESOURCE(className) && ::lstrcmpiA(className, "ime") == 0;
}

}  // namespace

// ---------------------------------------------------------------------------
// Registered messages

UINT RegisteredMessage::Number() const {
    UINT number = m_number.load(std::memory_order_relaxed);
    if (number == 0) {
        number = ::RegisterWindowMessageA(m_name);
        m_number.store(number, std::memory_order_relaxed);
    }
    return number;
}

// ---------------------------------------------------------------------------
// Data exchange

void DataExchange::Control(int id, Window& control) {
    HWND item = m_dialog.GetDlgItem(id);
    if (control.Hwnd() != item) {
        control.Attach(item);
    }
}

void DataExchange::Text(int id, std::string& value) {
    Window item;
    item.Attach(m_dialog.GetDlgItem(id));
    if (m_saving) {
        value = item.Text();
    } else {
        item.SetText(value);
    }
}

// ---------------------------------------------------------------------------
// Construction and the modal run

Dialog::Dialog(UINT templateId, HWND parent) : m_templateId(templateId), m_parent(parent) {}

Dialog::~Dialog() = default;

INT_PTR Dialog::DoModal() {
    // The hook subclasses the dialog's window as it is created, so that
    // WindowProc sees WM_CREATE and everything after it.
    UniqueHook hook(::SetWindowsHookExA(WH_CBT, &CreationHook, nullptr, ::GetCurrentThreadId()));
    if (!hook) {
        return -1;
    }
    Dialog* const outer = std::exchange(t_creating, this);
    const HWND owner = ResolveOwner();
    const LPARAM self = reinterpret_cast<LPARAM>(this);
    // The system disables the owner for the time of the modal run.
    const INT_PTR result = ::DialogBoxParamA(ResourceInstance(), MAKEINTRESOURCEA(m_templateId),
                                             owner, &DialogProc, self);
    t_creating = outer;
    return result;
}

HWND Dialog::ResolveOwner() const {
    if (m_parent != nullptr) {
        return m_parent;
    }
    Application* app = Application::TryCurrent();
    Dialog* main = app != nullptr ? app->MainWindow() : nullptr;
    if (main == nullptr || main == this) {
        return nullptr;
    }
    return main->Hwnd();
}

void Dialog::EndDialog(INT_PTR result) {
    ::EndDialog(m_hWnd, result);
}

void Dialog::UpdateData(bool saving) {
    DataExchange dx(*this, saving);
    DoDataExchange(dx);
}

void Dialog::ModifyStyleEx(DWORD remove, DWORD add) {
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE));
    const DWORD changed = (style & ~remove) | add;
    if (changed != style) {
        ::SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE, static_cast<LONG_PTR>(changed));
    }
}

void Dialog::ForwardKeys(const Window& control) const {
    const HWND hwnd = control.Hwnd();
    if (hwnd == nullptr || FindKeyForwarder(hwnd) != t_keyForwarders.end()) {
        return;
    }
    // The entry first: from the swap on, every message looks for it. The wide
    // functions, so that the control stays a Unicode window and wide text sent
    // to it is not narrowed on its way through.
    t_keyForwarders.push_back(
        {hwnd, reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC))});
    ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&KeyForwardingProc));
}

// ---------------------------------------------------------------------------
// Overridable behaviour

void Dialog::DoDataExchange(DataExchange&) {}

BOOL Dialog::OnInitDialog() {
    UpdateData(false);
    return TRUE;
}

void Dialog::OnOK() {
    UpdateData(true);
    EndDialog(IDOK);
}

void Dialog::OnCancel() {
    EndDialog(IDCANCEL);
}

bool Dialog::OnOKOrCancel(UINT id, UINT code) {
    if (code == BN_CLICKED && id == IDOK) {
        OnOK();
        return true;
    }
    if (code == BN_CLICKED && id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

LRESULT Dialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::CallWindowProcA(m_superProc, m_hWnd, message, wParam, lParam);
}

LRESULT Dialog::Default() {
    return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam);
}

// ---------------------------------------------------------------------------
// Window procedures

LRESULT CALLBACK Dialog::CreationHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_creating != nullptr) {
        const CREATESTRUCTA* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        // The dialog is the first top-level window of the run; the input
        // method's helper window is not ours.
        if ((create->style & WS_CHILD) == 0 && !IsImeWindowClass(create->lpszClass)) {
            std::exchange(t_creating, nullptr)->Subclass(reinterpret_cast<HWND>(wParam));
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void Dialog::Subclass(HWND hwnd) {
    m_hWnd = hwnd;
    ::SetPropA(hwnd, kDialogProperty, this);
    m_superProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc)));
}

// The dialog procedure proper: everything has been handled in WindowProc
// before the system's dialog processing calls it.
INT_PTR CALLBACK Dialog::DialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

LRESULT CALLBACK Dialog::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* dialog = static_cast<Dialog*>(::GetPropA(hwnd, kDialogProperty));
    if (dialog == nullptr) {
        return ::DefDlgProcA(hwnd, message, wParam, lParam);
    }
    try {
        return dialog->HandleMessage(message, wParam, lParam);
    } catch (...) {
        ReportException(std::current_exception());
        return 0;
    }
}

LRESULT Dialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const CurrentMessage saved = std::exchange(m_current, CurrentMessage{message, wParam, lParam});
    struct Restore {
        CurrentMessage& slot;
        CurrentMessage value;
        ~Restore() { slot = value; }
    } restore{m_current, saved};

    switch (message) {
        case WM_INITDIALOG: {
            const BOOL focusDefault = OnInitDialog();
            CentreWindow();
            return focusDefault;
        }
        case WM_NCDESTROY:
            return HandleNcDestroy(wParam, lParam);
        default:
            break;
    }
    if (const MessageEntry* row = RowFor(message, wParam, lParam)) {
        const bool repeat = message == kControlKeyMessage && (HIWORD(wParam) & kKeyRepeat) != 0;
        const LRESULT result = repeat ? 1 : row->invoke(*this, wParam, lParam);
        return row->after == After::Default ? DefWindowProc(message, wParam, lParam) : result;
    }
    if (message == WM_COMMAND && OnOKOrCancel(LOWORD(wParam), HIWORD(wParam))) {
        return 0;
    }
    // A forwarded key no row takes goes on to its control.
    return message == kControlKeyMessage ? 0 : DefWindowProc(message, wParam, lParam);
}

const MessageEntry* Dialog::RowFor(UINT message, WPARAM wParam, LPARAM lParam) const {
    UINT code = 0;
    UINT id = 0;
    if (message == WM_COMMAND) {
        code = HIWORD(wParam);
        id = LOWORD(wParam);
    } else if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header == nullptr) {
            return nullptr;
        }
        code = header->code;
        id = static_cast<UINT>(header->idFrom);
    } else if (message == kControlKeyMessage) {
        code = MAKELONG(LOWORD(wParam), HIWORD(wParam) & ~kKeyRepeat);
        id = static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
    }
    const std::span<const MessageEntry> table = GetMessageMap();
    const auto found = std::find_if(table.begin(), table.end(), [&](const MessageEntry& row) {
        const UINT number = row.registered != nullptr ? row.registered->Number() : row.message;
        return number != 0 && number == message && row.code == code && row.id <= id &&
               id <= row.idLast;
    });
    return found == table.end() ? nullptr : &*found;
}

LRESULT Dialog::HandleNcDestroy(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = DefWindowProc(WM_NCDESTROY, wParam, lParam);
    ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_superProc));
    ::RemovePropA(m_hWnd, kDialogProperty);
    m_hWnd = nullptr;
    PostNcDestroy();
    return result;
}

// Centres the window over its owner when the owner is showing, else in the
// work area of its monitor, and keeps it inside that work area.
void Dialog::CentreWindow() {
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    const HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    const bool overOwner = owner != nullptr && ::IsWindowVisible(owner) && !::IsIconic(owner);

    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoA(::MonitorFromWindow(overOwner ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST),
                      &monitor);
    RECT area = monitor.rcWork;
    if (overOwner) {
        ::GetWindowRect(owner, &area);
    }

    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    LONG x = (area.left + area.right) / 2 - width / 2;
    LONG y = (area.top + area.bottom) / 2 - height / 2;
    const RECT& work = monitor.rcWork;
    x = std::max(work.left, std::min(x, work.right - width));
    y = std::max(work.top, std::min(y, work.bottom - height));
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace win
