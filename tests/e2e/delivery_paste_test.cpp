// Delivery from outside: the user works in another application, turns to
// Pelo, double-clicks a kaomoji, and the text lands in that application and
// on the clipboard, byte for byte; and when it cannot be delivered, nothing
// lands anywhere.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "app/resource.h"

namespace {

using namespace testsupport;

const std::string kWave = "(^_^)/";
// ソ (83 5C) and － (81 7C): trail bytes equal to '\' and '|'.
const std::string kTrailBytes = "\x83\x5C\x81\x7C(\x83\x5C)|\\";
// ｱｲｳﾞ: half-width katakana, single bytes of 0xA0 and above.
const std::string kHalfWidth = "(\xB1\xB2\xB3\xDE)";
const std::string kEmpty;

// Entries of the one category, in list order.
enum Entry { kWaveEntry, kTrailBytesEntry, kHalfWidthEntry, kEmptyEntry };

std::string Dictionary() {
    const std::string category = ToCp932(L"かお");
    // A line without TAB is the category with an empty kaomoji.
    return category + "\t" + kWave + "\r\n" + category + "\t" + kTrailBytes + "\r\n" + category +
           "\t" + kHalfWidth + "\r\n" + category + "\r\n";
}

class DeliveryPasteTest : public ::testing::Test {
protected:
    DeliveryPasteTest() : m_pelo(false) {
        m_pelo.WriteFile("dic.txt", Dictionary());
        m_pelo.WriteFile("Favorite.txt", kTrailBytes + "\r\n");
    }

    void SetUp() override { ASSERT_TRUE(m_pelo.Start()); }

    HWND KaomojiList() const { return m_pelo.Control(IDC_KAOMOJI_LIST); }

    // Shows the one category (the tree has the focus at start).
    void ShowCategory() const {
        ASSERT_TRUE(ShowFirstCategory(m_pelo));
        ASSERT_EQ(ListCount(KaomojiList()), 4) << "the category did not show";
    }

    // The user works in `target`, turns to Pelo and double-clicks entry `index`.
    void DeliverFrom(const TargetApp& target, HWND list, int index) const {
        ASSERT_TRUE(target.Activate());
        ASSERT_TRUE(m_pelo.Activate());
        ASSERT_TRUE(DoubleClickListItem(list, index));
    }

    // Pelo has handled every input sent so far: a Tab sent now moves its
    // focus on only after that. A paste would have made the target the
    // foreground window, and the Tab would go there instead.
    bool PeloHandledEarlierInput() const {
        const HWND before = FocusedWindowOf(m_pelo.MainWindow());
        PressKey(VK_TAB);
        return WaitUntil([&] { return FocusedWindowOf(m_pelo.MainWindow()) != before; });
    }

    // Waits for `text` in the target, then for the target to have handled all
    // its input, so that a second paste would show as well.
    static void ExpectPasted(const TargetApp& target, const std::string& text) {
        EXPECT_TRUE(WaitUntil([&] { return target.Text() == text; }))
            << "target holds \"" << target.Text() << "\"";
        EXPECT_TRUE(Settle(target.Window()));
        EXPECT_EQ(target.Text(), text);
    }

    // CF_TEXT is exactly the text and its terminating zero (the block may be
    // rounded up); CF_UNICODETEXT is its conversion.
    static void ExpectOnClipboard(const std::string& text) {
        const auto block = ClipboardBlock(CF_TEXT);
        ASSERT_TRUE(block.has_value());
        ASSERT_GE(block->size(), text.size() + 1);
        EXPECT_EQ(block->substr(0, text.size() + 1), text + '\0');
        const std::wstring wide = FromCp932(text) + L'\0';
        EXPECT_EQ(ClipboardBlock(CF_UNICODETEXT).value_or("").substr(0, wide.size() * 2),
                  std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2));
    }

    PeloProcess m_pelo;
};

TEST_F(DeliveryPasteTest, EachKaomojiArrivesExactlyInTheTargetAndOnTheClipboard) {
    ShowCategory();
    TargetApp target(L"editor", {0, 0});
    ASSERT_NE(target.Window(), nullptr);

    for (const auto& [index, text] : {std::pair{kWaveEntry, kWave},
                                      {kTrailBytesEntry, kTrailBytes},
                                      {kHalfWidthEntry, kHalfWidth}}) {
        SCOPED_TRACE(text);
        target.SetText("");
        DeliverFrom(target, KaomojiList(), index);
        ExpectPasted(target, text);
        ExpectOnClipboard(text);
    }

    // The empty kaomoji empties the clipboard's text and adds nothing: no
    // paste of what the clipboard held before.
    DeliverFrom(target, KaomojiList(), kEmptyEntry);
    EXPECT_TRUE(WaitUntil([] { return ClipboardText() == std::string(); }));
    ExpectOnClipboard(kEmpty);
    ExpectPasted(target, kHalfWidth);
}

TEST_F(DeliveryPasteTest, AFavouriteIsDeliveredLikeAKaomoji) {
    TargetApp target(L"editor", {0, 0});
    ASSERT_NE(target.Window(), nullptr);
    ASSERT_TRUE(ShowPage(m_pelo, kFavoritesTab));

    DeliverFrom(target, m_pelo.Control(IDC_FAVORITE_LIST), 0);
    ExpectPasted(target, kTrailBytes);
    ExpectOnClipboard(kTrailBytes);
}

TEST_F(DeliveryPasteTest, WithoutASelectionNothingChanges) {
    TargetApp target(L"editor", {0, 0});
    ASSERT_NE(target.Window(), nullptr);
    ASSERT_TRUE(SetClipboardText("before"));
    ASSERT_EQ(ListCount(KaomojiList()), 0) << "no category is shown yet";

    ASSERT_TRUE(target.Activate());
    ASSERT_TRUE(m_pelo.Activate());
    DoubleClick({ScreenRect(KaomojiList()).left + 20, ScreenRect(KaomojiList()).top + 20});
    ASSERT_TRUE(PeloHandledEarlierInput());
    EXPECT_EQ(ClipboardText(), std::string("before"));
    EXPECT_EQ(target.Text(), "");
}

TEST_F(DeliveryPasteTest, ABusyClipboardMeansNoPasteAndPeloStaysResponsive) {
    ShowCategory();
    TargetApp target(L"editor", {0, 0});
    ASSERT_NE(target.Window(), nullptr);
    ASSERT_TRUE(SetClipboardText("stale"));
    {
        ClipboardHolder holder;
        ASSERT_TRUE(holder.Opened());
        DeliverFrom(target, KaomojiList(), kWaveEntry);
        // Pelo gives up on the clipboard quickly and answers again while it is still held.
        DWORD_PTR ignored = 0;
        EXPECT_NE(::SendMessageTimeoutW(m_pelo.MainWindow(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000,
                                        &ignored),
                  0);
        EXPECT_TRUE(PeloHandledEarlierInput());
    }
    // Nothing arrives later either: the stale text is not pasted.
    EXPECT_TRUE(PeloHandledEarlierInput());
    EXPECT_EQ(target.Text(), "");
    EXPECT_EQ(ClipboardText(), std::string("stale"));
}

TEST_F(DeliveryPasteTest, ATargetClosedBeforeTheDoubleClickGetsNothingNorDoesAnyOther) {
    ShowCategory();
    TargetApp bystander(L"editor", {0, 0});
    TargetApp target(L"editor", {0, 240});
    ASSERT_NE(bystander.Window(), nullptr);
    ASSERT_NE(target.Window(), nullptr);
    ASSERT_TRUE(bystander.Activate());

    ASSERT_TRUE(target.Activate());
    ASSERT_TRUE(m_pelo.Activate());
    ASSERT_TRUE(target.Close());
    ASSERT_TRUE(DoubleClickListItem(KaomojiList(), kWaveEntry));

    // The copy still happens; the paste goes nowhere.
    EXPECT_TRUE(WaitUntil([] { return ClipboardText() == kWave; }));
    EXPECT_TRUE(PeloHandledEarlierInput());
    EXPECT_EQ(bystander.Text(), "");
    EXPECT_EQ(::GetForegroundWindow(), m_pelo.MainWindow());
}

TEST_F(DeliveryPasteTest, OfTwoWindowsWithTheSameTitleOnlyTheOneLeftGetsTheText) {
    ShowCategory();
    TargetApp target(L"untitled - editor", {0, 0});
    TargetApp twin(L"untitled - editor", {0, 240});
    ASSERT_NE(target.Window(), nullptr);
    ASSERT_NE(twin.Window(), nullptr);

    ASSERT_TRUE(target.Activate());
    ASSERT_TRUE(m_pelo.Activate());
    // The twin comes above the target without being activated: a search by
    // title now finds it first.
    ::SetWindowPos(twin.Window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_EQ(::FindWindowW(L"PeloTargetApp", L"untitled - editor"), twin.Window());
    ASSERT_TRUE(DoubleClickListItem(KaomojiList(), kHalfWidthEntry));

    ExpectPasted(target, kHalfWidth);
    EXPECT_TRUE(Settle(twin.Window()));
    EXPECT_EQ(twin.Text(), "");
}

TEST_F(DeliveryPasteTest, AnUntitledTargetGetsTheText) {
    ShowCategory();
    TargetApp target(L"", {0, 0});
    ASSERT_NE(target.Window(), nullptr);

    DeliverFrom(target, KaomojiList(), kTrailBytesEntry);
    ExpectPasted(target, kTrailBytes);
    ExpectOnClipboard(kTrailBytes);
}

}  // namespace
