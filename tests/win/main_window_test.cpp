// The main window: its tabs, its place, and a start that goes on past a failed load.
#include "MainDialogFixture.h"

namespace {

using namespace maindialogtest;

const std::vector<std::vector<int>> kPages = {
    {IDC_CATEGORY_TREE, IDC_KAOMOJI_LIST, IDC_ADD_FAVORITE},
    {IDC_FAVORITE_LIST, IDC_FAVORITE_UP, IDC_FAVORITE_DOWN, IDC_DELETE_FAVORITE},
    {IDC_AA_LIST, IDC_NEW_AA, IDC_EDIT_AA, IDC_DELETE_AA},
};

// The controls of page `shown` are visible, and no others.
void ExpectPage(const Pelo& pelo, std::size_t shown) {
    for (std::size_t page = 0; page < kPages.size(); ++page) {
        for (int id : kPages[page]) {
            EXPECT_EQ(IsVisible(pelo.Control(id)), page == shown) << "tab " << shown << ": " << id;
        }
    }
}

// The dialog as it opens.
class MainWindow : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(pelo.Start()); }
    Pelo pelo;
};

TEST_F(MainWindow, HasThreeTabsNamedForTheirPages) {
    const HWND tab = pelo.Control(IDC_TAB);
    EXPECT_EQ(::SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0), 3);
    for (const auto& [index, label] :
         {std::pair{0, L"辞書"}, {1, L"お気に入り"}, {2, L"AAリスト"}}) {
        wchar_t text[64] = {};
        TCITEMW item{TCIF_TEXT, 0, 0, text, 64, 0, 0};
        ::SendMessageW(tab, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
        EXPECT_STREQ(text, label);
    }
}

TEST_F(MainWindow, OpensOnTheDictionaryWithFocusInTheTree) {
    ExpectPage(pelo, 0);
    EXPECT_TRUE(WaitUntil(
        [&] { return FocusedWindowOf(pelo.Window()) == pelo.Control(IDC_CATEGORY_TREE); }));
}

TEST_F(MainWindow, OpensCentredInTheWorkArea) {
    const RECT window = ScreenRect(pelo.Window());
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR(window.left + window.right, work.left + work.right, kCentringSlack);
    EXPECT_NEAR(window.top + window.bottom, work.top + work.bottom,
                kCentringSlack + 2 * kWindowManagerNudge);
}

TEST_F(MainWindow, EachTabShowsItsPageAndNoOther) {
    for (int index : {1, 2, 0, 2, 1}) {
        pelo.ShowTab(index);
        ExpectPage(pelo, index);
        EXPECT_TRUE(IsVisible(pelo.Control(IDC_TAB)));
    }
}

TEST(Start, ALoadThatFailsIsToldOnceAndTheRestOfTheStartGoesOn) {
    NotificationAreaInUse area;
    auto files = FavoritesFolder(Lines({kCry}));
    files["AA"] = "a file where the folder should be";
    Pelo pelo(files);
    const HWND window = pelo.Start();
    ASSERT_TRUE(window);
    ASSERT_EQ(pelo.StartMessages().size(), 1u);
    EXPECT_NE(pelo.StartMessages()[0].find(pelo.PathOf("AA").string()), std::string::npos)
        << pelo.StartMessages()[0];
    EXPECT_EQ(pelo.Items(IDC_FAVORITE_LIST), Strings{kCry});
    // The tracking runs: a double-click pastes into the program in front.
    TargetApp editor(L"start editor");
    ASSERT_TRUE(editor.Activate());
    SelectKaomoji(pelo, kCry);
    EXPECT_EQ(pelo.Command(IDC_KAOMOJI_LIST, LBN_DBLCLK), Strings{});
    EXPECT_TRUE(WaitUntil([&] { return editor.Text() == kCry; })) << editor.Text();
    EXPECT_TRUE(Minimize(window));
}


}  // namespace
