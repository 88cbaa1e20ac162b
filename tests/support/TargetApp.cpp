// TargetApp.exe TITLE [X Y]: the application a user pastes into, for the end-to-end
// tests. A window titled TITLE (may be "") whose client is one multi-line edit (id 1).
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

LRESULT CALLBACK TargetWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND edit = ::GetDlgItem(window, 1);
    switch (message) {
        case WM_SIZE:
            ::MoveWindow(edit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            return 0;
        case WM_SETFOCUS:
            ::SetFocus(edit);
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
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = TargetWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"PeloTargetApp";
    ::RegisterClassW(&windowClass);
    const HWND window =
        ::CreateWindowExW(0, L"PeloTargetApp", argc > 1 ? argv[1] : L"", WS_OVERLAPPEDWINDOW,
                          argc > 3 ? _wtoi(argv[2]) : 0, argc > 3 ? _wtoi(argv[3]) : 0, 320, 200,
                          nullptr, nullptr, instance, nullptr);
    ::CreateWindowExW(
        WS_EX_CLIENTEDGE, L"EDIT", L"",
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, 0, 0,
        300, 160, window, reinterpret_cast<HMENU>(1), instance, nullptr);
    ::LocalFree(argv);
    ::ShowWindow(window, SW_SHOWNORMAL);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}
