// The paste of PelomiUtil.dll into a window of this process. Which window the
// hook remembers is seen end to end (delivery_paste_test, tray_target_test), its
// exported names statically.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "hook/PelomiUtil.h"

namespace {

using namespace testsupport;

// A top-level window of this process with two edits; the second takes the focus
// whenever the window is activated.
LRESULT CALLBACK FocusSecond(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETFOCUS) {
        ::SetFocus(::GetDlgItem(window, 2));
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

class OwnWindow {
public:
    explicit OwnWindow(const wchar_t* title) {
        static const ATOM windowClass = [] {
            WNDCLASSW definition{};
            definition.lpfnWndProc = &FocusSecond;
            definition.lpszClassName = L"HookTestWindow";
            return ::RegisterClassW(&definition);
        }();
        m_window =
            ::CreateWindowExW(0, reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(windowClass)),
                              title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 400, 300, 200, nullptr,
                              nullptr, nullptr, nullptr);
        for (int id : {1, 2}) {
            ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 60 * (id - 1), 280, 50,
                              m_window, reinterpret_cast<HMENU>(INT_PTR{id}), nullptr, nullptr);
        }
    }
    ~OwnWindow() { ::DestroyWindow(m_window); }
    HWND Get() const { return m_window; }
    std::wstring Text(int edit) const { return WindowTextW(::GetDlgItem(m_window, edit)); }

private:
    HWND m_window;
};

class HookPaste : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SetClipboardText(ToCp932(kText))); }
    void TearDown() override { ::keybd_event(VK_LSHIFT, 0, KEYEVENTF_KEYUP, 0); }  // if still held
    // Waits for the paste, then for the rest of the input to drain.
    static bool WaitForPaste(const OwnWindow& window) {
        const bool arrived = WaitUntil([&] { return window.Text(1) + window.Text(2) != L""; });
        WaitUntil([] { return ::GetQueueStatus(QS_INPUT) == 0; }, 2s);
        PumpMessages();
        return arrived;
    }
    const std::wstring kText = L"ソ－(ｱ)";
};

TEST_F(HookPaste, OneWalkPastesOnceIntoTheFocusedEdit) {
    const OwnWindow target(L"target");
    const OwnWindow elsewhere(L"elsewhere");
    ASSERT_TRUE(BringToForeground(elsewhere.Get()));
    ::EnumChildWindows(target.Get(),
                       reinterpret_cast<WNDENUMPROC>(reinterpret_cast<void (*)()>(&EnumChildProc)),
                       0);
    ASSERT_TRUE(WaitForPaste(target));
    // The target's own focused edit; a fallback to this thread's focus would hit the other.
    EXPECT_EQ(target.Text(2), kText);
    EXPECT_EQ(target.Text(1), L"");
    EXPECT_EQ(elsewhere.Text(2), L"");
}

TEST_F(HookPaste, AMinimisedTargetIsRestoredAndHeldModifiersReleased) {
    const OwnWindow target(L"target");
    ::ShowWindow(target.Get(), SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return ::IsIconic(target.Get()) != FALSE; }));
    const OwnWindow elsewhere(L"elsewhere");
    ASSERT_TRUE(BringToForeground(elsewhere.Get()));
    // The user still holds Shift from the double-click (pressed again until it shows:
    // Wine drops input while the window manager still moves the focus).
    ASSERT_TRUE(WaitUntil([&] {
        ::SetForegroundWindow(elsewhere.Get());
        ::keybd_event(VK_LSHIFT, 0, 0, 0);
        return (::GetAsyncKeyState(VK_LSHIFT) & 0x8000) != 0;
    }));
    EXPECT_EQ(EnumChildProc(::GetDlgItem(target.Get(), 1), 0), 0) << "the walk ends after the paste";
    ASSERT_TRUE(WaitForPaste(target));
    EXPECT_FALSE(::IsIconic(target.Get()));
    EXPECT_EQ(target.Text(2), kText);
    EXPECT_EQ(::GetAsyncKeyState(VK_LSHIFT) & 0x8000, 0);
}

}  // namespace
