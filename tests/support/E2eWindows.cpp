// Windows, real input, controls, tabs and message boxes of another process.
#include "E2e.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace e2e {

namespace {

// Sent messages time out instead of hanging a test on a stuck Pelo.
constexpr UINT kSendTimeoutMs = 5000;

LRESULT SendW(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                               &result)) {
        return -1;
    }
    return static_cast<LRESULT>(result);
}

void SendInputs(std::vector<INPUT>& inputs) {
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT MouseInput(DWORD flags, POINT screen = {}) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        // Normalised 0..65535 over the primary screen, rounded up so that the
        // system's truncation lands on exactly this pixel.
        const LONG width = ::GetSystemMetrics(SM_CXSCREEN);
        const LONG height = ::GetSystemMetrics(SM_CYSCREEN);
        input.mi.dx = (screen.x * 65536 + width - 1) / width;
        input.mi.dy = (screen.y * 65536 + height - 1) / height;
    }
    return input;
}

INPUT KeyInput(WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    switch (vk) {
        case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_HOME: case VK_END:
        case VK_PRIOR: case VK_NEXT: case VK_INSERT: case VK_DELETE:
            input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
            break;
        default:
            break;
    }
    if (up) {
        input.ki.dwFlags |= KEYEVENTF_KEYUP;
    }
    return input;
}

void MoveCursor(POINT screen) {
    ::SetCursorPos(screen.x, screen.y);
    std::vector<INPUT> move{MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, screen)};
    SendInputs(move);
}

// Two single clicks at one place in quick succession would make a double click:
// let the double-click time pass since the last click near this point.
void AvoidDoubleClickWith(POINT screen) {
    static POINT lastPoint{-100, -100};
    static DWORD lastTime = 0;
    const bool close = std::abs(screen.x - lastPoint.x) <= ::GetSystemMetrics(SM_CXDOUBLECLK) &&
                      std::abs(screen.y - lastPoint.y) <= ::GetSystemMetrics(SM_CYDOUBLECLK);
    if (close) {
        WaitUntil([] { return ::GetTickCount() - lastTime > ::GetDoubleClickTime(); }, 2s);
    }
    lastPoint = screen;
    lastTime = ::GetTickCount();
}

void Clicks(POINT screen, int count) {
    AvoidDoubleClickWith(screen);
    MoveCursor(screen);
    std::vector<INPUT> inputs;
    for (int i = 0; i < count; ++i) {
        inputs.push_back(MouseInput(MOUSEEVENTF_LEFTDOWN));
        inputs.push_back(MouseInput(MOUSEEVENTF_LEFTUP));
    }
    SendInputs(inputs);
}

// A child of `parent` whose 16-bit control id is `id` (message boxes use 0xFFFF,
// which some systems keep as -1).
HWND ChildWithId16(HWND parent, WORD id) {
    // A static member, not a lambda: the callback must be CALLBACK (stdcall) on x86.
    struct Search {
        WORD id;
        HWND found;
        static BOOL CALLBACK Visit(HWND child, LPARAM context) {
            auto* s = reinterpret_cast<Search*>(context);
            if (LOWORD(::GetDlgCtrlID(child)) == s->id) {
                s->found = child;
                return FALSE;
            }
            return TRUE;
        }
    } search{id, nullptr};
    ::EnumChildWindows(parent, &Search::Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

// ---- Windows ------------------------------------------------------------------------------

std::vector<HWND> TopLevelWindows(DWORD pid) {
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
        static BOOL CALLBACK Visit(HWND window, LPARAM context) {
            auto* s = reinterpret_cast<Search*>(context);
            if (ProcessIdOf(window) == s->pid) {
                s->found.push_back(window);
            }
            return TRUE;
        }
    } search{pid, {}};
    ::EnumWindows(&Search::Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindTopLevelWindow(DWORD pid, std::wstring_view title, std::wstring_view className) {
    for (HWND window : TopLevelWindows(pid)) {
        if (WindowTextW(window) == title && (className.empty() || ClassNameOf(window) == className)) {
            return window;
        }
    }
    return nullptr;
}

DWORD ProcessIdOf(HWND window) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    return pid;
}

std::wstring WindowTextW(HWND window) {
    const LRESULT length = SendW(window, WM_GETTEXTLENGTH);
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

std::string WindowText(HWND window) {
    return ToCp932(WindowTextW(window));
}

std::wstring ClassNameOf(HWND window) {
    wchar_t name[256] = {};
    const int length = ::GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? length : 0);
}

bool IsVisible(HWND window) {
    return window && ::IsWindowVisible(window);
}

RECT ScreenRect(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

POINT ClientCentre(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    POINT centre{(client.left + client.right) / 2, (client.top + client.bottom) / 2};
    ::ClientToScreen(window, &centre);
    return centre;
}

RECT WorkAreaOf(HWND window) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcWork;
}

HWND FocusedWindowOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info)) {
        return nullptr;
    }
    return info.hwndFocus;
}

bool WaitForSteadyPlace(HWND window, std::chrono::milliseconds timeout) {
    RECT last = ScreenRect(window);
    auto steadySince = std::chrono::steady_clock::now();
    return WaitUntil([&] {
        const RECT now = ScreenRect(window);
        if (!::EqualRect(&now, &last)) {
            last = now;
            steadySince = std::chrono::steady_clock::now();
        }
        return std::chrono::steady_clock::now() - steadySince >= 200ms;
    }, timeout);
}

bool BringToForeground(HWND window, std::chrono::milliseconds timeout) {
    if (!window || !::IsWindow(window)) {
        return false;
    }
    const auto isForeground = [&] { return ::GetForegroundWindow() == window; };
    if (isForeground()) {
        return true;
    }
    ::SetForegroundWindow(window);
    if (WaitUntil(isForeground, 1s)) {
        return true;
    }
    // Systems with a foreground lock let the process that sent the last input event
    // change the foreground: send a null mouse move (not Alt, which would open a menu),
    // and attach to the foreground thread's input for good measure.
    std::vector<INPUT> nudge{MouseInput(MOUSEEVENTF_MOVE)};
    SendInputs(nudge);
    const DWORD foregroundThread = ::GetWindowThreadProcessId(::GetForegroundWindow(), nullptr);
    const DWORD ourThread = ::GetCurrentThreadId();
    const bool attached = foregroundThread && foregroundThread != ourThread &&
                          ::AttachThreadInput(ourThread, foregroundThread, TRUE);
    ::BringWindowToTop(window);
    ::SetForegroundWindow(window);
    if (attached) {
        ::AttachThreadInput(ourThread, foregroundThread, FALSE);
    }
    return WaitUntil(isForeground, timeout);
}

// ---- Input --------------------------------------------------------------------------------

void Click(POINT screen) {
    Clicks(screen, 1);
}

void DoubleClick(POINT screen) {
    Clicks(screen, 2);
}

void ClickWindow(HWND window) {
    Click(ClientCentre(window));
}

void PressKey(WORD vk, std::initializer_list<WORD> modifiers) {
    std::vector<INPUT> inputs;
    for (WORD modifier : modifiers) {
        inputs.push_back(KeyInput(modifier, false));
    }
    inputs.push_back(KeyInput(vk, false));
    inputs.push_back(KeyInput(vk, true));
    for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) {
        inputs.push_back(KeyInput(*it, true));
    }
    SendInputs(inputs);
}

bool PressKeyIn(HWND window, WORD vk, std::initializer_list<WORD> modifiers) {
    if (!BringToForeground(::GetAncestor(window, GA_ROOT))) {
        return false;
    }
    PressKey(vk, modifiers);
    return true;
}

// ---- Controls -----------------------------------------------------------------------------

void SetEditText(HWND edit, std::string_view cp932) {
    const std::wstring text = testsupport::FromCp932(cp932);
    SendW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void PostButtonClick(HWND button) {
    ::PostMessageW(button, BM_CLICK, 0, 0);
}

int ListCount(HWND list) {
    return static_cast<int>(SendW(list, LB_GETCOUNT));
}

std::string ListText(HWND list, int index) {
    const LRESULT length = SendW(list, LB_GETTEXTLEN, index);
    if (length < 0) {
        return {};
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return ToCp932(text);
}

std::vector<std::string> ListItems(HWND list) {
    std::vector<std::string> items;
    const int count = ListCount(list);
    for (int i = 0; i < count; ++i) {
        items.push_back(ListText(list, i));
    }
    return items;
}

int ListSelection(HWND list) {
    return static_cast<int>(SendW(list, LB_GETCURSEL));
}

void SetListSelection(HWND list, int index) {
    SendW(list, LB_SETCURSEL, static_cast<WPARAM>(index));
}

bool ListItemScreenRect(HWND list, int index, RECT& rect) {
    RECT client{};
    ::GetClientRect(list, &client);
    const LRESULT itemHeight = SendW(list, LB_GETITEMHEIGHT, 0);
    RECT item{-1, -1, -1, -1};
    const bool marshalled =
        SendW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)) != LB_ERR &&
        item.bottom - item.top == itemHeight;
    if (!marshalled) {
        // Fixed-height items: row (index - top index) of the client area.
        const LRESULT top = SendW(list, LB_GETTOPINDEX);
        item = RECT{client.left, static_cast<LONG>((index - top) * itemHeight), client.right,
                    static_cast<LONG>((index - top + 1) * itemHeight)};
    }
    if (item.top < client.top || item.bottom > client.bottom) {
        return false;
    }
    ::MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&item), 2);
    rect = item;
    return true;
}

namespace {

bool ClickItem(HWND list, int index, int clicks) {
    RECT item{};
    if (!ListItemScreenRect(list, index, item)) {
        SendW(list, LB_SETTOPINDEX, static_cast<WPARAM>(index));
        if (!ListItemScreenRect(list, index, item)) {
            return false;
        }
    }
    const POINT centre{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    Clicks(centre, clicks);
    return true;
}

}  // namespace

bool ClickListItem(HWND list, int index) {
    // A click that meets the window manager still busy with an activation (a dialog
    // just closed) can be lost; selecting an item again is harmless, so try again.
    const auto selected = [&] { return ListSelection(list) == index; };
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (!ClickItem(list, index, 1)) {
            return false;
        }
        if (WaitUntil(selected, 3s)) {
            return true;
        }
    }
    return false;
}

bool DoubleClickListItem(HWND list, int index) {
    return ClickItem(list, index, 2) && WaitUntil([&] { return ListSelection(list) == index; });
}

// ---- Tabs ---------------------------------------------------------------------------------

int TabCount(HWND tab) {
    return static_cast<int>(SendW(tab, TCM_GETITEMCOUNT));
}

int TabSelection(HWND tab) {
    return static_cast<int>(SendW(tab, TCM_GETCURSEL));
}

bool SelectTab(HWND tab, int index) {
    if (index < 0 || index >= TabCount(tab)) {
        return false;
    }
    if (FocusedWindowOf(tab) != tab || ::GetForegroundWindow() != ::GetAncestor(tab, GA_ROOT)) {
        // The first tab's left end lies just inside the control's top-left corner, whatever
        // the labels' widths; a click there selects it and gives the tab control the focus.
        // A click that meets the window manager still busy with an activation can be lost:
        // try a few times.
        const auto firstTabFocused = [&] {
            return TabSelection(tab) == 0 && FocusedWindowOf(tab) == tab;
        };
        bool focused = false;
        for (int attempt = 0; attempt < 3 && !focused; ++attempt) {
            const RECT rect = ScreenRect(tab);
            Click(POINT{rect.left + 8, rect.top + 10});
            focused = WaitUntil(firstTabFocused, 4s);
        }
        if (!focused) {
            return false;
        }
    }
    // Then arrow keys, one tab at a time.
    for (int current = TabSelection(tab); current != index;) {
        const int next = current < index ? current + 1 : current - 1;
        PressKey(current < index ? VK_RIGHT : VK_LEFT);
        if (!WaitUntil([&] { return TabSelection(tab) == next; })) {
            return false;
        }
        current = next;
    }
    return true;
}

// ---- Message boxes ------------------------------------------------------------------------

HWND FindMessageBox(DWORD pid, std::initializer_list<HWND> except) {
    for (HWND window : TopLevelWindows(pid)) {
        if (std::find(except.begin(), except.end(), window) != except.end()) {
            continue;
        }
        if (::IsWindowVisible(window) && ClassNameOf(window) == L"#32770" &&
            ChildWithId16(window, 0xFFFF)) {
            return window;
        }
    }
    return nullptr;
}

HWND WaitForMessageBox(DWORD pid, std::initializer_list<HWND> except,
                       std::chrono::milliseconds timeout) {
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindMessageBox(pid, except)) != nullptr; }, timeout);
    return box;
}

std::string MessageBoxText(HWND box) {
    return WindowText(ChildWithId16(box, 0xFFFF));
}

std::string MessageBoxCaption(HWND box) {
    return WindowText(box);
}

bool AnswerMessageBox(HWND box, int id, std::chrono::milliseconds timeout) {
    const HWND button = ::GetDlgItem(box, id);
    if (!button) {
        return false;
    }
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return WaitUntil([&] { return !::IsWindow(box) || !::IsWindowVisible(box); }, timeout);
}

}  // namespace e2e
