#include "win/Dialog.h"

#include <algorithm>
#include <utility>

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

bool IsImeWindowClass(LPCSTR className) {
    return !IS_INTRESOURCE(className) && ::lstrcmpiA(className, "ime") == 0;
}

}  // namespace

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

bool Dialog::UpdateData(bool saving) {
    DataExchange dx(*this, saving);
    DoDataExchange(dx);
    return true;
}

void Dialog::ModifyStyleEx(DWORD remove, DWORD add) {
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE));
    const DWORD changed = (style & ~remove) | add;
    if (changed != style) {
        ::SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE, static_cast<LONG_PTR>(changed));
    }
}

// ---------------------------------------------------------------------------
// Overridable behaviour

void Dialog::DoDataExchange(DataExchange&) {}

BOOL Dialog::OnInitDialog() {
    UpdateData(false);
    return TRUE;
}

void Dialog::OnOK() {
    if (UpdateData(true)) {
        EndDialog(IDOK);
    }
}

void Dialog::OnCancel() {
    EndDialog(IDCANCEL);
}

bool Dialog::OnCmdMsg(UINT id, UINT code) {
    if (const MessageEntry* entry = FindEntry(WM_COMMAND, code, id)) {
        entry->invoke(*this, MAKEWPARAM(id, code), 0);
        return true;
    }
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
        case WM_COMMAND:
            if (OnCmdMsg(LOWORD(wParam), HIWORD(wParam))) {
                return 0;
            }
            break;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header == nullptr) {
                break;
            }
            if (const MessageEntry* entry =
                    FindEntry(WM_NOTIFY, header->code, static_cast<UINT>(header->idFrom))) {
                return entry->invoke(*this, wParam, lParam);
            }
            break;
        }
        case WM_NCDESTROY:
            return HandleNcDestroy(wParam, lParam);
        default:
            if (const MessageEntry* entry = FindEntry(message, 0, 0)) {
                return entry->invoke(*this, wParam, lParam);
            }
            break;
    }
    return DefWindowProc(message, wParam, lParam);
}

LRESULT Dialog::HandleNcDestroy(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = DefWindowProc(WM_NCDESTROY, wParam, lParam);
    ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_superProc));
    ::RemovePropA(m_hWnd, kDialogProperty);
    m_hWnd = nullptr;
    PostNcDestroy();
    return result;
}

const MessageEntry* Dialog::FindEntry(UINT message, UINT code, UINT id) const {
    const std::span<const MessageEntry> table = GetMessageMap();
    const auto found = std::find_if(table.begin(), table.end(), [&](const MessageEntry& entry) {
        return entry.message == message && entry.code == code && entry.id == id;
    });
    return found == table.end() ? nullptr : &*found;
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
