// Starting and ending Pelo.exe: one instance per session, found by the name
// of its guard and the title of its window; every way out ends the process
// and frees the guard; a start without a dictionary says so and ends.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/resource.h"

namespace {

using namespace testsupport;

TEST(Lifecycle, EveryWayOutEndsPeloAndANewStartWorks) {
    PeloProcess pelo;
    // Escape; Enter with the focus in the tree (where it is at start), in a list.
    const std::pair<int, WORD> ways[] = {
        {0, VK_ESCAPE}, {IDC_CATEGORY_TREE, VK_RETURN}, {IDC_KAOMOJI_LIST, VK_RETURN}};
    for (const auto& [focus, key] : ways) {
        SCOPED_TRACE(::testing::Message() << focus << " " << key);
        ASSERT_TRUE(pelo.Start());
        if (const HWND control = pelo.Control(focus)) {
            ::SendMessageW(pelo.MainWindow(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control),
                           TRUE);
            ASSERT_TRUE(WaitUntil([&] { return FocusedWindowOf(control) == control; }));
        }
        ASSERT_TRUE(PressKeyIn(pelo.MainWindow(), key));
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

    // Hidden in the notification area, the first stays hidden.
    NotificationAreaInUse area;
    ::PostMessageW(pelo.MainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(
        WaitUntil([&] { return !IsVisible(pelo.MainWindow()) && IconPresent(pelo.MainWindow()); }));
    EXPECT_TRUE(pelo.StartAnother().WaitForExit().has_value());
    // The activation reaches the first as posted messages, which a sent one overtakes.
    EXPECT_FALSE(WaitUntil([&] { return IsVisible(pelo.MainWindow()); }, 500ms));
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
