// PelomiUtil.dll as Pelo uses it. This test process plays Pelo: its own
// windows must never be taken for the last active window, and TargetApp.exe
// (beside this executable) plays the application the user came from.
#include <windows.h>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "hook/PelomiUtil.h"
#include "tests/support/TestSupport.h"
#include "win/UniqueHandle.h"

namespace {

using namespace std::chrono_literals;
using testsupport::WaitUntil;
using UniqueWindow = win::UniqueHandle<win::NullHandleTraits<HWND, &::DestroyWindow>>;

// ---- Exports ------------------------------------------------------------------------------

template <typename Function>
FARPROC AddressOf(Function* function) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

TEST(HookExports, TheFourAreAlsoExportedUnderTheirMsvcNames) {
    const HMODULE library = ::GetModuleHandleW(L"PelomiUtil.dll");
    ASSERT_NE(library, nullptr);
#ifdef _WIN64
    EXPECT_EQ(::GetProcAddress(library, "?SetHook@@YAXPEAUHWND__@@@Z"), AddressOf(&SetHook));
    EXPECT_EQ(::GetProcAddress(library, "?FreeHook@@YAXXZ"), AddressOf(&FreeHook));
    EXPECT_EQ(::GetProcAddress(library, "?GetLastActiveWindow@@YAPEAUHWND__@@XZ"),
              AddressOf(&GetLastActiveWindow));
    EXPECT_EQ(::GetProcAddress(library, "?EnumChildProc@@YAHPEAUHWND__@@J@Z"),
              AddressOf(&EnumChildProc));
#else
    EXPECT_EQ(::GetProcAddress(library, "?SetHook@@YGXPAUHWND__@@@Z"), AddressOf(&SetHook));
    EXPECT_EQ(::GetProcAddress(library, "?FreeHook@@YGXXZ"), AddressOf(&FreeHook));
    EXPECT_EQ(::GetProcAddress(library, "?GetLastActiveWindow@@YAPAUHWND__@@XZ"),
              AddressOf(&GetLastActiveWindow));
    EXPECT_EQ(::GetProcAddress(library, "?EnumChildProc@@YGHPAUHWND__@@J@Z"),
              AddressOf(&EnumChildProc));
#endif
}

// ---- Windows of ours and of another process -------------------------------------------------

// A top-level window of this process, with two edits; the second one takes
// the focus whenever the window is activated.
class OwnWindow {
public:
    explicit OwnWindow(const char* title) {
        static const bool registered = RegisterOnce();
        EXPECT_TRUE(registered);
        m_window.reset(::CreateWindowExA(0, kClassName, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                         600, 400, 300, 200, nullptr, nullptr, nullptr, nullptr));
        m_first = MakeEdit(1, 0);
        m_second = MakeEdit(2, 60);
    }
    HWND Get() const { return m_window.get(); }
    HWND First() const { return m_first; }
    HWND Second() const { return m_second; }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_SETFOCUS) {
            ::SetFocus(::GetDlgItem(window, 2));
            return 0;
        }
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
    static bool RegisterOnce() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &Proc;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kClassName;
        return ::RegisterClassA(&windowClass) != 0;
    }
    static constexpr char kClassName[] = "HookTestWindow";
    HWND MakeEdit(int id, int y) const {
        return ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, y, 280,
                                 50, m_window.get(), reinterpret_cast<HMENU>(INT_PTR{id}), nullptr,
                                 nullptr);
    }

    UniqueWindow m_window;
    HWND m_first = nullptr;
    HWND m_second = nullptr;
};

bool MakeForeground(HWND window) {
    ::SetForegroundWindow(window);
    return WaitUntil([&] { return ::GetForegroundWindow() == window; }, 5s);
}

// Dispatches this thread's messages until `count` thread timer ticks (the
// hook's polling timer) have gone through.
bool PumpTimerTicks(int count) {
    int ticks = 0;
    return WaitUntil(
        [&] {
            MSG message;
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == WM_TIMER && message.hwnd == nullptr) {
                    ++ticks;
                }
                ::TranslateMessage(&message);
                ::DispatchMessageW(&message);
            }
            return ticks >= count;
        },
        5s);
}

std::wstring TextOf(HWND edit) {
    wchar_t text[256] = {};
    ::GetWindowTextW(edit, text, 256);
    return text;
}

// ---- Tracking -----------------------------------------------------------------------------

class HookTracking : public ::testing::Test {
protected:
    void TearDown() override { FreeHook(); }
};

TEST_F(HookTracking, FreeHookIsHarmlessWithoutSetHookAndTwice) {
    EXPECT_EQ(GetLastActiveWindow(), nullptr);
    FreeHook();
    FreeHook();
    EXPECT_EQ(GetLastActiveWindow(), nullptr);

    const OwnWindow pelo("Pelo");
    SetHook(pelo.Get());
    FreeHook();
    FreeHook();
    EXPECT_EQ(GetLastActiveWindow(), nullptr) << "nothing is answered once the hook is freed";
}

TEST_F(HookTracking, RemembersTheForeignWindowTheUserLeftNeverOurOwn) {
    const OwnWindow pelo("Pelo");
    ASSERT_TRUE(MakeForeground(pelo.Get()));
    SetHook(pelo.Get());
    EXPECT_EQ(GetLastActiveWindow(), nullptr) << "only our own window has been active";

    testsupport::TargetApp editor(L"hook editor");
    ASSERT_NE(editor.Window(), nullptr) << "TargetApp.exe did not start";
    ASSERT_TRUE(MakeForeground(editor.Window()));
    // The timer alone sees it: nobody asks until our window is back in front.
    ASSERT_TRUE(PumpTimerTicks(2));
    ASSERT_TRUE(MakeForeground(pelo.Get()));
    EXPECT_EQ(GetLastActiveWindow(), editor.Window());

    // Our own windows of any kind (here a second top-level one) never replace it.
    const OwnWindow dialog("another of ours");
    ASSERT_TRUE(MakeForeground(dialog.Get()));
    ASSERT_TRUE(PumpTimerTicks(2));
    EXPECT_EQ(GetLastActiveWindow(), editor.Window());

    // A window that has gone is not answered.
    editor.Close();
    EXPECT_EQ(GetLastActiveWindow(), nullptr);
}

TEST_F(HookTracking, TheForegroundWindowAtSetHookCounts) {
    const OwnWindow pelo("Pelo");
    testsupport::TargetApp editor(L"hook start");
    ASSERT_NE(editor.Window(), nullptr);
    ASSERT_TRUE(MakeForeground(editor.Window()));
    SetHook(pelo.Get());
    ASSERT_TRUE(MakeForeground(pelo.Get()));
    EXPECT_EQ(GetLastActiveWindow(), editor.Window());
}

// ---- The paste ----------------------------------------------------------------------------

class HookPaste : public ::testing::Test {
protected:
    void SetUp() override {
        const std::wstring text = L"\u30BD\uFF0D(\uFF71)";
        ASSERT_TRUE(::OpenClipboard(nullptr));
        ::EmptyClipboard();
        win::UniqueGlobal block(::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t)));
        ASSERT_TRUE(block);
        std::memcpy(::GlobalLock(block.get()), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        ::GlobalUnlock(block.get());
        if (::SetClipboardData(CF_UNICODETEXT, block.get())) {
            block.release();
        }
        ::CloseClipboard();
        m_text = text;
    }
    void TearDown() override {
        // Whatever a failed test left held down.
        for (WORD key : {VK_LSHIFT, VK_CONTROL}) {
            INPUT up{};
            up.type = INPUT_KEYBOARD;
            up.ki.wVk = key;
            up.ki.dwFlags = KEYEVENTF_KEYUP;
            ::SendInput(1, &up, sizeof up);
        }
        testsupport::PumpMessages();
    }

    // Waits for the paste to arrive, then for the rest of the input to drain.
    bool WaitForPaste(const OwnWindow& window) const {
        const bool arrived = WaitUntil(
            [&] { return !TextOf(window.First()).empty() || !TextOf(window.Second()).empty(); });
        WaitUntil([] { return ::GetQueueStatus(QS_INPUT) == 0; }, 2s);
        testsupport::PumpMessages();
        return arrived;
    }

    std::wstring m_text;
};

TEST_F(HookPaste, OneWalkPastesOnceIntoTheFocusedEdit) {
    const OwnWindow target("target");
    const OwnWindow elsewhere("elsewhere");
    ASSERT_TRUE(MakeForeground(elsewhere.Get()));

    ::EnumChildWindows(target.Get(),
                       reinterpret_cast<WNDENUMPROC>(reinterpret_cast<void (*)()>(&EnumChildProc)),
                       0);
    ASSERT_TRUE(WaitForPaste(target));
    // The target's own focused edit: the fallback message would have gone to
    // this thread's focus, in the other window.
    EXPECT_EQ(TextOf(target.Second()), m_text);
    EXPECT_EQ(TextOf(target.First()), L"");
    EXPECT_EQ(TextOf(elsewhere.Second()), L"");
}

TEST_F(HookPaste, AMinimisedTargetIsRestoredAndHeldModifiersReleased) {
    const OwnWindow target("target");
    ::ShowWindow(target.Get(), SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return ::IsIconic(target.Get()) != FALSE; }));
    const OwnWindow elsewhere("elsewhere");
    ASSERT_TRUE(MakeForeground(elsewhere.Get()));
    // The user still holds Shift from the double-click.
    // (Pressed again until it shows: Wine drops input that comes while the
    // window manager is still moving the focus after the minimising.)
    INPUT shift{};
    shift.type = INPUT_KEYBOARD;
    shift.ki.wVk = VK_LSHIFT;
    ASSERT_TRUE(WaitUntil([&] {
        if ((::GetAsyncKeyState(VK_LSHIFT) & 0x8000) != 0) {
            return true;
        }
        ::SetForegroundWindow(elsewhere.Get());
        ::SendInput(1, &shift, sizeof shift);
        return false;
    }));

    EXPECT_EQ(EnumChildProc(target.First(), 0), 0) << "the walk ends after the paste";
    ASSERT_TRUE(WaitForPaste(target));
    EXPECT_FALSE(::IsIconic(target.Get()));
    EXPECT_EQ(TextOf(target.Second()), m_text);
    EXPECT_EQ(::GetAsyncKeyState(VK_LSHIFT) & 0x8000, 0);
}

}  // namespace
