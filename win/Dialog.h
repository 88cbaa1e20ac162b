// A modal dialog built from a template, whose messages go through a table of
// handlers and whose default processing is a virtual function.
//
// The window is subclassed the moment it is created (a CBT hook around the
// dialog's creation), so that the window procedure of this class sees every
// message, WM_CREATE included, before the system's dialog procedure does:
//
//   WindowProc: WM_INITDIALOG   -> OnInitDialog(), then centring
//               WM_COMMAND      -> OnCmdMsg(id, code): the table, then IDOK/IDCANCEL
//               any table entry -> its handler
//               anything else   -> DefWindowProc(), the system's dialog processing
//               WM_NCDESTROY    -> default processing, then PostNcDestroy()
//
// No C++ exception leaves WindowProc: a FileError is shown to the user with
// its file-error text and the stop icon, anything else with a generic text.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <type_traits>

namespace win {

class Dialog;
class Window;

// One row of a message table. `code` is the notification code of WM_COMMAND
// and WM_NOTIFY rows (0 for BN_CLICKED and menu commands) and `id` the control
// or command id; both are 0 for rows of other messages.
struct MessageEntry {
    UINT message;
    UINT code;
    UINT id;
    LRESULT (*invoke)(Dialog& dialog, WPARAM wParam, LPARAM lParam);
};

namespace detail {
template <typename T>
struct MemberOf;
template <typename C, typename R, typename... A>
struct MemberOf<R (C::*)(A...)> {
    using type = C;
};
template <typename C, typename T>
struct MemberOf<T C::*> {
    using type = C;
};

// The object a handler runs on: the dialog itself, or the dialog's member
// `Object` (a page or part the dialog forwards to).
template <auto Handler, auto Object>
auto& Receiver(Dialog& dialog) {
    if constexpr (std::is_null_pointer_v<decltype(Object)>) {
        return static_cast<typename MemberOf<decltype(Handler)>::type&>(dialog);
    } else {
        return static_cast<typename MemberOf<decltype(Object)>::type&>(dialog).*Object;
    }
}
}  // namespace detail

// Every row names its handler, a member function of the dialog class or, with
// `Object` (a pointer to a data member of the dialog class), of that member.

// WM_COMMAND with `code` from control or command `id`: void Handler().
template <auto Handler, auto Object = nullptr>
constexpr MessageEntry OnCommand(UINT code, UINT id) {
    return {WM_COMMAND, code, id, [](Dialog& d, WPARAM, LPARAM) -> LRESULT {
                (detail::Receiver<Handler, Object>(d).*Handler)();
                return 0;
            }};
}

// WM_NOTIFY with `code` from control `id`: void Handler(NMHDR*, LRESULT* result).
template <auto Handler, auto Object = nullptr>
constexpr MessageEntry OnNotify(UINT code, UINT id) {
    return {WM_NOTIFY, code, id, [](Dialog& d, WPARAM, LPARAM lParam) -> LRESULT {
                LRESULT result = 0;
                (detail::Receiver<Handler, Object>(d).*Handler)(reinterpret_cast<NMHDR*>(lParam),
                                                                &result);
                return result;
            }};
}

// Any other message. The handler is one of
//   void Handler()                              (result 0)
//   LRESULT Handler(WPARAM, LPARAM)
//   HCURSOR Handler()                           (WM_QUERYDRAGICON)
//   void Handler(UINT type, int cx, int cy)     (WM_SIZE)
template <auto Handler, auto Object = nullptr>
constexpr MessageEntry OnMessage(UINT message) {
    return {message, 0, 0, [](Dialog& d, WPARAM wParam, LPARAM lParam) -> LRESULT {
                auto& self = detail::Receiver<Handler, Object>(d);
                using H = decltype(Handler);
                if constexpr (std::is_invocable_v<H, decltype(self), UINT, int, int>) {
                    (self.*Handler)(static_cast<UINT>(wParam), static_cast<short>(LOWORD(lParam)),
                                    static_cast<short>(HIWORD(lParam)));
                    return 0;
                } else if constexpr (std::is_invocable_v<H, decltype(self), WPARAM, LPARAM>) {
                    return (self.*Handler)(wParam, lParam);
                } else if constexpr (std::is_void_v<std::invoke_result_t<H, decltype(self)>>) {
                    (self.*Handler)();
                    return 0;
                } else {
                    return reinterpret_cast<LRESULT>((self.*Handler)());
                }
            }};
}

// Moves data between controls and members: binds control members in both
// directions, and copies edit texts to strings when saving.
class DataExchange {
public:
    DataExchange(Dialog& dialog, bool saving) : m_dialog(dialog), m_saving(saving) {}

    // Binds `control` to the dialog's child `id` (once).
    void Control(int id, Window& control);
    // The text of child `id`: into `value` when saving, from it otherwise.
    void Text(int id, std::string& value);

private:
    Dialog& m_dialog;
    bool m_saving;
};

class Dialog {
public:
    // `parent` null: the application's main window becomes the owner, unless
    // this dialog is itself the main window.
    explicit Dialog(UINT templateId, HWND parent = nullptr);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Creates the dialog, runs it modally (the owner disabled meanwhile) and
    // returns the value given to EndDialog, or -1 when it cannot be created.
    INT_PTR DoModal();

    HWND Hwnd() const noexcept { return m_hWnd; }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    void EndDialog(INT_PTR result);
    // Runs DoDataExchange in the saving (true) or loading direction.
    bool UpdateData(bool saving);

    // Extended-style change without a following window-position call.
    void ModifyStyleEx(DWORD remove, DWORD add);

protected:
    virtual std::span<const MessageEntry> GetMessageMap() const { return {}; }
    virtual void DoDataExchange(DataExchange& dx);
    // Base: loads the controls through DoDataExchange; returns TRUE.
    virtual BOOL OnInitDialog();
    // Base: UpdateData(true), then EndDialog(IDOK).
    virtual void OnOK();
    // Base: EndDialog(IDCANCEL).
    virtual void OnCancel();
    // Routes a command through the message table, then IDOK and IDCANCEL to
    // OnOK and OnCancel. True when something handled it.
    virtual bool OnCmdMsg(UINT id, UINT code);
    // Default processing of every message the table leaves alone.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Called after the window has been destroyed (WM_NCDESTROY), when
    // Hwnd() is already null.
    virtual void PostNcDestroy() {}
    // The default processing (DefWindowProc) of the message being handled,
    // for handlers that add to it rather than replace it.
    LRESULT Default();

private:
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK CreationHook(int, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleNcDestroy(WPARAM wParam, LPARAM lParam);
    const MessageEntry* FindEntry(UINT message, UINT code, UINT id) const;
    void Subclass(HWND hwnd);
    HWND ResolveOwner() const;
    void CentreWindow();

    struct CurrentMessage {
        UINT message = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
    };

    UINT m_templateId;
    HWND m_parent;
    HWND m_hWnd = nullptr;
    WNDPROC m_superProc = nullptr;
    CurrentMessage m_current;
};

}  // namespace win
