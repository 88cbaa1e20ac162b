// A modal dialog built from a template, whose messages go through a table of
// handlers and whose default processing is a virtual function.
//
// Every message takes one path: the dialog's message table. A row names the
// message (a command or a range of commands, a notification, a key pressed or
// text typed on a control that forwards its keys, a message registered at run
// time, or any other message) and the handler it goes to; what no row takes
// goes to the system's dialog processing.
//
//   WindowProc: WM_INITDIALOG   -> OnInitDialog(), then centring
//               a table row     -> its handler (then the default processing,
//                                  for rows made with kThenDefault)
//               IDOK / IDCANCEL -> OnOK() / OnCancel(), when no row takes them
//               anything else   -> the system's dialog processing
//               WM_NCDESTROY    -> default processing, then PostNcDestroy()
//
// The window is subclassed the moment it is created (a CBT hook around the
// dialog's creation): the WM_SIZE that CreateWindowEx sends before the
// controls and WM_INITDIALOG exist must reach the table, for the AA editor
// keeps its minimum size from its first size on.
//
// No C++ exception leaves WindowProc: a FileError is shown to the user with
// its file-error text and the stop icon, anything else with a generic text.
#pragma once

#include <windows.h>

#include <atomic>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace win {

class Dialog;
class Window;

// A message whose number the system gives out at run time
// (RegisterWindowMessage), such as the shell's "TaskbarCreated". The number is
// asked for the first time a table holding it is searched, that is as the
// dialog's window is created; until then, and if the system gives none, it is
// 0 and matches no message.
class RegisteredMessage {
public:
    explicit constexpr RegisteredMessage(const char* name) : m_name(name) {}
    UINT Number() const;

private:
    const char* m_name;
    mutable std::atomic<UINT> m_number{0};
};

// The keys a control forwards to its dialog (Dialog::ForwardKeys) arrive as
// this message: wParam the virtual key in its low word and the KeyModifiers
// held in its high word, lParam the control. The result is nonzero when a row
// took the key, which the control then neither sees nor types.
inline constexpr UINT kControlKeyMessage = WM_APP + 0x3C0;

// The text typed on such a control arrives as this second message: wParam the
// UTF-16 units of one character (the first in the low word, the second of a
// surrogate pair in the high word), 0 when an input method starts composing
// on the control; lParam the control. Only characters that write something
// come: not the space, which is a key of the lists, nor control characters
// (Backspace, Enter, Escape, Tab, Ctrl with a letter). The result is nonzero
// when a row took the character, which the control then never sees.
inline constexpr UINT kControlTypingMessage = WM_APP + 0x3C1;

// The modifier keys held with a forwarded key; a key row names exactly these.
enum KeyModifiers : UINT { kNoModifier = 0, kCtrl = 1, kShift = 2, kAlt = 4 };

// What follows a row's handler: nothing (the handler's result is the
// message's), or the default processing, whose result is then the message's.
enum class After { Nothing, Default };
inline constexpr After kThenDefault = After::Default;

// How often a key row runs while its key is held down: once per press, or on
// every repeat too (moving through a list).
enum class KeyRepeat { Once, Each };
inline constexpr KeyRepeat kEveryRepeat = KeyRepeat::Each;

// One row of a message table. `message` is the message (kControlKeyMessage
// for key rows, kControlTypingMessage for typing rows, 0 for a registered
// message); `code` the notification code of WM_COMMAND and WM_NOTIFY rows (0
// for BN_CLICKED and menu commands), the key and modifiers of key rows
// (MAKELONG(key, modifiers)), else 0; `id` to `idLast` the control or command
// ids the row takes (0 for other messages). A row with `holds` takes its
// message only while that says so; otherwise the message goes on as if the
// row were not there.
struct MessageEntry {
    UINT message;
    UINT code;
    UINT id;
    LRESULT (*invoke)(Dialog& dialog, WPARAM wParam, LPARAM lParam);
    UINT idLast = id;
    const RegisteredMessage* registered = nullptr;
    After after = After::Nothing;
    bool (*holds)(Dialog& dialog) = nullptr;
    KeyRepeat repeat = KeyRepeat::Once;
};

namespace detail {
template <typename T>
struct MemberOf;
template <typename C, typename R, typename... A>
struct MemberOf<R (C::*)(A...)> {
    using type = C;
};
template <typename C, typename R, typename... A>
struct MemberOf<R (C::*)(A...) const> {
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

// A row's condition: none, or `While` (bool While() const) on the receiver.
template <auto While, auto Object>
constexpr bool (*Condition())(Dialog&) {
    if constexpr (std::is_null_pointer_v<decltype(While)>) {
        return nullptr;
    } else {
        return [](Dialog& d) -> bool { return (Receiver<While, Object>(d).*While)(); };
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

// Commands `first` to `last` (code 0: menu commands): void Handler(UINT id).
template <auto Handler, auto Object = nullptr>
constexpr MessageEntry OnCommandRange(UINT first, UINT last) {
    return {WM_COMMAND, 0, first,
            [](Dialog& d, WPARAM wParam, LPARAM) -> LRESULT {
                (detail::Receiver<Handler, Object>(d).*Handler)(LOWORD(wParam));
                return 0;
            },
            last};
}

// `key` pressed with exactly `modifiers` on control `id`, which forwards its
// keys (Dialog::ForwardKeys): void Handler(), or void Handler(UINT key). It
// runs once per press (a key held down repeats without running it again), or
// with kEveryRepeat on every repeat too; the control sees none of it. With
// `While` (bool While() const, on the same object as the handler) the row
// takes the key only while that holds: Escape on a list closes a search
// field while there is one, and is the dialog's Cancel otherwise. A key the
// dialog manager would take (Enter, Escape, Tab, arrows) reaches a row too.
template <auto Handler, auto Object = nullptr, auto While = nullptr>
constexpr MessageEntry OnKey(UINT id, UINT key, KeyModifiers modifiers,
                             KeyRepeat repeat = KeyRepeat::Once) {
    MessageEntry row{kControlKeyMessage, MAKELONG(key, modifiers), id,
                     [](Dialog& d, WPARAM wParam, LPARAM) -> LRESULT {
                         auto& self = detail::Receiver<Handler, Object>(d);
                         if constexpr (std::is_invocable_v<decltype(Handler), decltype(self),
                                                           UINT>) {
                             (self.*Handler)(LOWORD(wParam));
                         } else {
                             (self.*Handler)();
                         }
                         return 1;
                     }};
    row.holds = detail::Condition<While, Object>();
    row.repeat = repeat;
    return row;
}

// Text typed on control `id`, which forwards its keys (kControlTypingMessage):
// void Handler(std::wstring_view typed), `typed` one character (one or two
// UTF-16 units), or empty when an input method starts composing there (what
// it composes follows as characters). The control sees none of it.
template <auto Handler, auto Object = nullptr>
constexpr MessageEntry OnTyping(UINT id) {
    return {kControlTypingMessage, 0, id, [](Dialog& d, WPARAM wParam, LPARAM) -> LRESULT {
                const wchar_t units[2] = {static_cast<wchar_t>(LOWORD(wParam)),
                                          static_cast<wchar_t>(HIWORD(wParam))};
                const std::size_t length = units[1] != 0 ? 2 : units[0] != 0 ? 1 : 0;
                (detail::Receiver<Handler, Object>(d).*Handler)(std::wstring_view(units, length));
                return 1;
            }};
}

// A message registered at run time: void Handler().
template <auto Handler, auto Object = nullptr>
constexpr MessageEntry OnRegisteredMessage(const RegisteredMessage& message,
                                           After after = After::Nothing) {
    return {0, 0, 0,
            [](Dialog& d, WPARAM, LPARAM) -> LRESULT {
                (detail::Receiver<Handler, Object>(d).*Handler)();
                return 0;
            },
            0, &message, after};
}

// Any other message. The handler is one of
//   void Handler()                              (result 0)
//   LRESULT Handler(WPARAM, LPARAM)
//   HCURSOR Handler()                           (WM_QUERYDRAGICON)
//   void Handler(UINT type, int cx, int cy)     (WM_SIZE)
// With kThenDefault the default processing follows the handler.
template <auto Handler, auto Object = nullptr>
constexpr MessageEntry OnMessage(UINT message, After after = After::Nothing) {
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
            },
            0, nullptr, after};
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
    // The same in UTF-16: any character the control holds.
    void Text(int id, std::wstring& value);

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
    void UpdateData(bool saving);

    // Extended-style change without a following window-position call.
    void ModifyStyleEx(DWORD remove, DWORD add);

    // Makes child `control` hand every key pressed and every character typed
    // on it to its dialog's table first (kControlKeyMessage,
    // kControlTypingMessage): what a row takes, the control never sees. The
    // control is then a Unicode window. Undone when the control is
    // destroyed; a control made at run time is forwarded as it is made.
    static void ForwardKeys(const Window& control);

protected:
    virtual std::span<const MessageEntry> GetMessageMap() const { return {}; }
    virtual void DoDataExchange(DataExchange& dx);
    // Base: loads the controls through DoDataExchange; returns TRUE.
    virtual BOOL OnInitDialog();
    // Base: UpdateData(true), then EndDialog(IDOK).
    virtual void OnOK();
    // Base: EndDialog(IDCANCEL).
    virtual void OnCancel();
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
    // The row for the message, or null; `id`/`code` as MessageEntry has them.
    const MessageEntry* RowFor(UINT message, WPARAM wParam, LPARAM lParam);
    static bool RunsKeyRow(const MessageEntry& row, UINT flags);
    // IDOK and IDCANCEL, when no row took them. True when it was one of them.
    bool OnOKOrCancel(UINT id, UINT code);
    // The system's dialog processing.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleNcDestroy(WPARAM wParam, LPARAM lParam);
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
