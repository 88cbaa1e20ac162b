// Starting and ending Pelo: one instance at a time, and every way out ends the
// process and frees the single-instance guard for the next start.
#include <gtest/gtest.h>

#include "E2e.h"
#include "app/resource.h"

namespace {

using namespace e2e;

// Waits for Pelo's end, then checks that a new start in the same folder works
// (the single-instance mutex was released with the process).
void ExpectEndedAndRestartable(PeloProcess& pelo) {
    ASSERT_TRUE(pelo.WaitForExit().has_value()) << "Pelo is still running";
    EXPECT_TRUE(pelo.Start()) << "a new start shows no window";
}

TEST(SpineLifecycle, EscapeEndsPeloAndANewStartWorks) {
    PeloProcess pelo;
    ASSERT_TRUE(pelo.Start());
    ASSERT_TRUE(PressKeyIn(pelo.MainWindow(), VK_ESCAPE));
    ExpectEndedAndRestartable(pelo);
}

TEST(SpineLifecycle, CloseBoxEndsPelo) {
    PeloProcess pelo;
    ASSERT_TRUE(pelo.Start());
    ::PostMessageW(pelo.MainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
    ExpectEndedAndRestartable(pelo);
}

TEST(SpineLifecycle, EnterEndsPeloWithTheFocusOnTheTreeOrOnAList) {
    PeloProcess pelo;
    ASSERT_TRUE(pelo.Start());
    const HWND main = pelo.MainWindow();
    ASSERT_TRUE(
        WaitUntil([&] { return FocusedWindowOf(main) == pelo.Control(IDC_CATEGORY_TREE); }));
    ASSERT_TRUE(PressKeyIn(main, VK_RETURN));
    ExpectEndedAndRestartable(pelo);

    const HWND list = pelo.Control(IDC_KAOMOJI_LIST);
    ASSERT_TRUE(pelo.Activate());
    ClickWindow(list);
    ASSERT_TRUE(WaitUntil([&] { return FocusedWindowOf(list) == list; }));
    ASSERT_TRUE(PressKeyIn(list, VK_RETURN));
    EXPECT_TRUE(pelo.WaitForExit().has_value());
}

TEST(SpineLifecycle, SecondStartBringsTheFirstForwardAndEndsWithoutAWindow) {
    PeloProcess pelo;
    ASSERT_TRUE(pelo.Start());
    TargetApp other(L"other");
    ASSERT_TRUE(other.Activate());

    Process second = pelo.StartAnother();
    ASSERT_TRUE(second.Started());
    bool showedAWindow = false;
    EXPECT_TRUE(WaitUntil([&] {
        for (HWND window : TopLevelWindows(second.Id())) {
            showedAWindow |= ::IsWindowVisible(window) != FALSE;
        }
        return !second.IsRunning();
    })) << "the second instance did not end";
    EXPECT_FALSE(showedAWindow);
    EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == pelo.MainWindow(); }));
    EXPECT_TRUE(pelo.IsRunning());
}

TEST(SpineLifecycle, ARenamedCopyStartsAndEndsLikeTheOriginal) {
    PeloProcess pelo;
    ASSERT_TRUE(pelo.Start(L"Foo.exe"));
    EXPECT_EQ(WindowTextW(pelo.MainWindow()), L"Pelo");
    ASSERT_TRUE(PressKeyIn(pelo.MainWindow(), VK_ESCAPE));
    EXPECT_TRUE(pelo.WaitForExit().has_value());
}

}  // namespace
