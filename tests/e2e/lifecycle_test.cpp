// Starting and ending Pelo.exe: one instance per session, found by the name
// of its guard and the title of its window; every way out ends the process
// and frees the guard; a start without a dictionary says so and ends.
#include <gtest/gtest.h>

#include <functional>

#include "TestSupport.h"
#include "app/resource.h"

namespace {

using namespace testsupport;

struct WayOut {
    const char* name;
    std::function<bool(PeloProcess&)> take;
};

TEST(Lifecycle, EveryWayOutEndsPeloAndANewStartWorks) {
    const WayOut ways[] = {
        {"Escape", [](PeloProcess& p) { return PressKeyIn(p.MainWindow(), VK_ESCAPE); }},
        {"close box",
         [](PeloProcess& p) { return ::PostMessageW(p.MainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"Enter in the tree",
         [](PeloProcess& p) {
             return WaitUntil([&] { return FocusedWindowOf(p.MainWindow()) == p.Control(IDC_CATEGORY_TREE); }) &&
                    PressKeyIn(p.MainWindow(), VK_RETURN);
         }},
        {"Enter in a list",
         [](PeloProcess& p) {
             const HWND list = p.Control(IDC_KAOMOJI_LIST);
             ::SendMessageW(p.MainWindow(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
             return WaitUntil([&] { return FocusedWindowOf(list) == list; }) &&
                    PressKeyIn(list, VK_RETURN);
         }},
    };
    PeloProcess pelo;
    for (const WayOut& way : ways) {
        SCOPED_TRACE(way.name);
        ASSERT_TRUE(pelo.Start());
        ASSERT_TRUE(way.take(pelo));
        EXPECT_TRUE(pelo.WaitForExit().has_value());
    }
    EXPECT_TRUE(pelo.Start()) << "the guard was freed with the last process";
}

TEST(Lifecycle, ASecondStartBringsTheFirstForwardThroughItsGuardAndEnds) {
    PeloProcess pelo;
    ASSERT_TRUE(pelo.Start());
    // The guard has no namespace prefix: it is exactly this name.
    const HANDLE guard = ::OpenMutexW(SYNCHRONIZE, FALSE, L"QuilbaxPelomi");
    EXPECT_NE(guard, nullptr);
    ::CloseHandle(guard);
    TargetApp other(L"other");
    ASSERT_TRUE(other.Activate());

    Process second = pelo.StartAnother();
    bool showedAWindow = false;
    EXPECT_TRUE(WaitUntil([&] {
        for (HWND window : TopLevelWindows(second.Id())) {
            showedAWindow |= IsVisible(window);
        }
        return !second.IsRunning();
    }));
    EXPECT_FALSE(showedAWindow);
    EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == pelo.MainWindow(); }));
    EXPECT_TRUE(pelo.IsRunning());
}

TEST(Lifecycle, ARenamedCopyRunsUnderItsOwnNameWithTheSameTitle) {
    PeloProcess pelo;
    ASSERT_TRUE(pelo.Start(L"Foo.exe"));
    EXPECT_EQ(WindowTextW(pelo.MainWindow()), L"Pelo");
    ASSERT_TRUE(PressKeyIn(pelo.MainWindow(), VK_ESCAPE));
    EXPECT_TRUE(pelo.WaitForExit().has_value());

    // Without a dictionary: its message, captioned with the program's name, then the end.
    for (const wchar_t* exe : {L"Pelo.exe", L"Foo.exe"}) {
        PeloProcess bare(false);
        ASSERT_TRUE(bare.Launch(exe));
        const HWND box = WaitForMessageBox(bare.Id());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxText(box), ResourceText(IDS_NO_DICTIONARY));
        EXPECT_EQ(WindowTextW(box), std::filesystem::path(exe).stem().wstring());
        ASSERT_TRUE(AnswerMessageBox(box));
        EXPECT_TRUE(bare.WaitForExit().has_value());
    }
}

}  // namespace
