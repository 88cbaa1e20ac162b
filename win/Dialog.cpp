#include "win/Dialog.h"

#include <algorithm>
#include <string>
#include <string_view>
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

// A control of this thread forwarding its keys, the window procedure it had
// before, and the high surrogate of a character typed on it while the low one
// is still to come. A table rather than a window property: every message of a
// list box passes through the forwarder (one per entry as the list fills), and
// under Wine each look-up of a property is a round trip to the server.
struct Forwarder {
    HWND control;
    WNDPROC previous;
    wchar_t highSurrogate = 0;
};
//
// Made on first use and gone with the thread's last forwarding control:
// a thread_local with a destructor would run it at the thread's exit, which
// MinGW's emulated thread-local storage may do after freeing the storage
// (a crash when a dialog thread ends, as in the tests).
using Forwarders = std::vector<Forwarder>;
thread_local Forwarders* t_forwarders = nullptr;

Forwarders& ThreadForwarders() {
    if (t_forwarders == nullptr) {
        t_forwarders = new Forwarders;
    }
    return *t_forwarders;
}

// Set in the modifier word of a forwarded key held down (a repeat).
constexpr UINT kKeyRepeat = 0x8000;
// Set in the modifier word of a key the dialog manager asks the control
// about (WM_GETDLGCODE): the dialog tells whether a row would take it,
// without running the row.
constexpr UINT kKeyQuery = 0x4000;

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

// Found anew after every message sent on: a handler may forward another
// control's keys (a search field it opens), which moves the table.
Forwarder* ForwarderOf(HWND control) {
    if (t_forwarders == nullptr) {
        return nullptr;
    }
    const auto found = std::find_if(t_forwarders->begin(), t_forwarders->end(),
                                    [&](const Forwarder& f) { return f.control == control; });
    return found == t_forwarders->end() ? nullptr : &*found;
}

LRESULT CallPrevious(const Forwarder& forwarder, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::CallWindowProcW(forwarder.previous, forwarder.control, message, wParam, lParam);
}

bool SendKey(HWND control, WPARAM key, UINT flags) {
    return ::SendMessageW(::GetParent(control), kControlKeyMessage, MAKEWPARAM(key, flags),
                          reinterpret_cast<LPARAM>(control)) != 0;
}

bool SendTyping(HWND control, std::wstring_view typed) {
    const WPARAM units = MAKEWPARAM(typed.empty() ? 0 : typed[0], typed.size() > 1 ? typed[1] : 0);
    return ::SendMessageW(::GetParent(control), kControlTypingMessage, units,
                          reinterpret_cast<LPARAM>(control)) != 0;
}

// A character that writes something: printable, and not the space, which
// keeps its meaning on the lists (deliver) and the tree.
bool Writes(std::wstring_view typed) {
    return !typed.empty() && typed[0] > L' ' && typed[0] != 0x7F;
}

// The dialog manager asks before it takes Enter, Escape, Tab or an arrow for
// itself: the control wants the key when a row of the table would take it.
LRESULT OnGetDlgCode(HWND control, WPARAM wParam, LPARAM lParam) {
    LRESULT code = CallPrevious(*ForwarderOf(control), WM_GETDLGCODE, wParam, lParam);
    const auto* asked = reinterpret_cast<const MSG*>(lParam);
    if (asked != nullptr && asked->message == WM_KEYDOWN &&
        SendKey(control, asked->wParam, HeldModifiers() | kKeyQuery)) {
        code |= DLGC_WANTMESSAGE;
    }
    return code;
}

LRESULT OnKeyDown(HWND control, WPARAM wParam, LPARAM lParam) {
    const bool repeat = (lParam & (1L << 30)) != 0;
    const bool taken = SendKey(control, wParam, HeldModifiers() | (repeat ? kKeyRepeat : 0));
    t_swallowCharOf = taken ? control : nullptr;
    if (taken) {
        return 0;
    }
    const Forwarder* forwarder = ForwarderOf(control);
    return forwarder != nullptr ? CallPrevious(*forwarder, WM_KEYDOWN, wParam, lParam) : 0;
}

// A character comes in one message, or two (a surrogate pair): the high
// surrogate waits for the low one, and the control gets both, in order, when
// no row takes the character.
LRESULT OnChar(HWND control, WPARAM wParam, LPARAM lParam) {
    if (std::exchange(t_swallowCharOf, nullptr) == control) {
        return 0;
    }
    Forwarder* forwarder = ForwarderOf(control);
    const auto unit = static_cast<wchar_t>(wParam);
    const wchar_t high = std::exchange(forwarder->highSurrogate, 0);
    if (high == 0 && IS_HIGH_SURROGATE(unit)) {
        forwarder->highSurrogate = unit;
        return 0;
    }
    std::wstring typed;
    if (high != 0) {
        typed += high;
    }
    typed += unit;
    if (Writes(typed) && SendTyping(control, typed)) {
        return 0;
    }
    forwarder = ForwarderOf(control);
    if (forwarder == nullptr) {
        return 0;
    }
    if (high != 0) {
        CallPrevious(*forwarder, WM_CHAR, high, lParam);
    }
    return CallPrevious(*forwarder, WM_CHAR, wParam, lParam);
}

LRESULT OnNcDestroy(HWND control, WPARAM wParam, LPARAM lParam) {
    Forwarders& forwarders = ThreadForwarders();
    const auto found = std::find_if(forwarders.begin(), forwarders.end(),
                                    [&](const Forwarder& f) { return f.control == control; });
    const Forwarder gone = *found;
    forwarders.erase(found);
    if (forwarders.empty()) {
        delete std::exchange(t_forwarders, nullptr);
    }
    ::SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gone.previous));
    return CallPrevious(gone, WM_NCDESTROY, wParam, lParam);
}

LRESULT CALLBACK KeyForwardingProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const Forwarder* forwarder = ForwarderOf(control);
    if (forwarder == nullptr) {  // cannot be: the entry comes and goes with the procedure
        return ::DefWindowProcW(control, message, wParam, lParam);
    }
    switch (message) {
        case WM_GETDLGCODE:
            return OnGetDlgCode(control, wParam, lParam);
        case WM_KEYDOWN:
            return OnKeyDown(control, wParam, lParam);
        case WM_CHAR:
            return OnChar(control, wParam, lParam);
        case WM_IME_STARTCOMPOSITION:
            // The rows hear of it (a search field may open and take the
            // focus, and the composition with it); the control goes on.
            SendTyping(control, {});
            forwarder = ForwarderOf(control);
            return forwarder != nullptr ? CallPrevious(*forwarder, message, wParam, lParam) : 0;
        case WM_NCDESTROY:
            return OnNcDestroy(control, wParam, lParam);
        default:
            return CallPrevious(*forwarder, message, wParam, lParam);
    }
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

void DataExchange::Text(int id, std::wstring& value) {
    Window item;
    item.Attach(m_dialog.GetDlgItem(id));
    if (m_saving) {
        value = item.WideText();
    } else {
        item.SetWideText(value);
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

void Dialog::ForwardKeys(const Window& control) {
    const HWND hwnd = control.Hwnd();
    if (hwnd == nullptr || ForwarderOf(hwnd) != nullptr) {
        return;
    }
    // The entry first: from the swap on, every message looks for it. The wide
    // functions, so that the control is a Unicode window: wide text sent to
    // it is not narrowed on its way through, and what is typed on it comes
    // as UTF-16, a character beyond the code page included.
    ThreadForwarders().push_back(
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
        if (message == kControlKeyMessage && !RunsKeyRow(*row, HIWORD(wParam))) {
            return 1;  // taken, without running the row
        }
        const LRESULT result = row->invoke(*this, wParam, lParam);
        return row->after == After::Default ? DefWindowProc(message, wParam, lParam) : result;
    }
    if (message == WM_COMMAND && OnOKOrCancel(LOWORD(wParam), HIWORD(wParam))) {
        return 0;
    }
    // A forwarded key or character no row takes goes on to its control.
    if (message == kControlKeyMessage || message == kControlTypingMessage) {
        return 0;
    }
    return DefWindowProc(message, wParam, lParam);
}

const MessageEntry* Dialog::RowFor(UINT message, WPARAM wParam, LPARAM lParam) {
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
        code = MAKELONG(LOWORD(wParam), HIWORD(wParam) & ~(kKeyRepeat | kKeyQuery));
        id = static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
    } else if (message == kControlTypingMessage) {
        id = static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
    }
    const std::span<const MessageEntry> table = GetMessageMap();
    const auto found = std::find_if(table.begin(), table.end(), [&](const MessageEntry& row) {
        const UINT number = row.registered != nullptr ? row.registered->Number() : row.message;
        return number != 0 && number == message && row.code == code && row.id <= id &&
               id <= row.idLast && (row.holds == nullptr || row.holds(*this));
    });
    return found == table.end() ? nullptr : &*found;
}

// A question (kKeyQuery) and a repeat the row does not run for are taken
// without running it.
bool Dialog::RunsKeyRow(const MessageEntry& row, UINT flags) {
    if ((flags & kKeyQuery) != 0) {
        return false;
    }
    return (flags & kKeyRepeat) == 0 || row.repeat == KeyRepeat::Each;
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
