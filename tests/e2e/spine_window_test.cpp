// The main dialog as a user first meets it: title, tabs and their pages, the
// initial focus and the place on the screen.
#include <gtest/gtest.h>

#include <set>

#include "E2e.h"
#include "app/resource.h"

namespace {

using namespace e2e;

// Control ids of each tab page, in tab order.
const std::vector<std::set<int>> kPages = {
    {IDC_CATEGORY_TREE, IDC_KAOMOJI_LIST, IDC_ADD_FAVORITE},                       // 辞書
    {IDC_FAVORITE_LIST, IDC_FAVORITE_UP, IDC_FAVORITE_DOWN, IDC_DELETE_FAVORITE},  // お気に入り
    {IDC_AA_LIST, IDC_NEW_AA, IDC_EDIT_AA, IDC_DELETE_AA},                         // AAリスト
};

// Ids of the page controls that are visible now.
std::set<int> VisiblePageControls(const PeloProcess& pelo) {
    std::set<int> visible;
    for (const auto& page : kPages) {
        for (int id : page) {
            if (IsVisible(pelo.Control(id))) {
                visible.insert(id);
            }
        }
    }
    return visible;
}

class SpineWindow : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(pelo.Start()); }
    PeloProcess pelo;
};

TEST_F(SpineWindow, OpensOnTheDictionaryPageWithThreeTabsAndFocusInTheTree) {
    const HWND main = pelo.MainWindow();
    EXPECT_EQ(WindowTextW(main), L"Pelo");
    const HWND tab = pelo.Control(IDC_TAB);
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(TabCount(tab), 3);
    EXPECT_EQ(TabSelection(tab), 0);
    EXPECT_EQ(VisiblePageControls(pelo), kPages[0]);
    EXPECT_TRUE(IsVisible(tab));
    EXPECT_TRUE(WaitUntil([&] { return FocusedWindowOf(main) == pelo.Control(IDC_CATEGORY_TREE); }))
        << "focus is on control " << ::GetDlgCtrlID(FocusedWindowOf(main));
}

TEST_F(SpineWindow, EachTabShowsExactlyItsOwnControls) {
    const HWND tab = pelo.Control(IDC_TAB);
    ASSERT_TRUE(pelo.Activate());
    for (int index : {1, 2, 0, 2, 1}) {
        ASSERT_TRUE(SelectTab(tab, index))
            << "tab " << index << ": selection " << TabSelection(tab) << ", focus on control "
            << ::GetDlgCtrlID(FocusedWindowOf(tab)) << ", Pelo in the foreground "
            << (::GetForegroundWindow() == pelo.MainWindow());
        EXPECT_TRUE(WaitUntil([&] { return VisiblePageControls(pelo) == kPages[index]; }))
            << "tab " << index;
        EXPECT_TRUE(IsVisible(tab));
    }
}

TEST_F(SpineWindow, IsCentredInTheWorkArea) {
    const RECT window = ScreenRect(pelo.MainWindow());
    const RECT work = WorkAreaOf(pelo.MainWindow());
    // Centring divides by two: allow the pixel that rounding may cost. Vertically, the
    // test display's window manager may push the frame down a few pixels after
    // mapping it (seen: 8), which is none of Pelo's doing.
    EXPECT_NEAR(window.left + window.right, work.left + work.right, 2);
    EXPECT_NEAR(window.top + window.bottom, work.top + work.bottom, 2 + 2 * 10);
}

}  // namespace
