// TargetApp.exe: the application a user pastes into, for the end-to-end tests.
// A top-level window whose client area is one multi-line edit (control id 1).
//   TargetApp.exe TITLE [X Y]     TITLE may be "" (an untitled window)
// The tests read the edit's text from their own process (WM_GETTEXT).
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

constexpr int kEditId = 1;
constexpr wchar_t kClassName[] = L"PeloTargetApp";

LRESULT CALLBACK TargetWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            const HWND edit = ::CreateWindowExW(
                WS_EX_CLIENTEDGE, L"EDIT", L"",
                WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                    ES_AUTOHSCROLL | ES_WANTRETURN,
                0, 0, 0, 0, window, reinterpret_cast<HMENU>(kEditId), nullptr, nullptr);
            if (!edit) {
                return -1;
            }
            ::SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
            return 0;
        }
        case WM_SIZE:
            ::MoveWindow(::GetDlgItem(window, kEditId), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            return 0;
        case WM_SETFOCUS:
            ::SetFocus(::GetDlgItem(window, kEditId));
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    const std::wstring title = argc > 1 ? argv[1] : L"";
    const int x = argc > 3 ? _wtoi(argv[2]) : 0;
    const int y = argc > 3 ? _wtoi(argv[3]) : 0;
    ::LocalFree(argv);

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = TargetWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kClassName;
    if (!::RegisterClassExW(&windowClass)) {
        return 1;
    }
    const HWND window = ::CreateWindowExW(0, kClassName, title.c_str(), WS_OVERLAPPEDWINDOW, x, y,
                                          320, 200, nullptr, nullptr, instance, nullptr);
    if (!window) {
        return 1;
    }
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::UpdateWindow(window);

    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
