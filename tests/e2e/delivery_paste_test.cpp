// Delivery from outside: the user works in another application, turns to Pelo,
// double-clicks a kaomoji, and the text lands in that application and on the
// clipboard, byte for byte; when it cannot be delivered, nothing lands anywhere.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "app/resource.h"

namespace {

using namespace testsupport;

const std::string kWave = "(^_^)/";
const std::string kTrailBytes = "\x83\x5C\x81\x7C(\x83\x5C)|\\";  // ソ－: trail bytes '\' and '|'
const std::string kHalfWidth = "(\xB1\xB2\xB3\xDE)";  // ｱｲｳﾞ: single bytes over 0xA0

class DeliveryPaste : public ::testing::Test {
protected:
    void SetUp() override {
        // One category; a line without TAB is its empty kaomoji, the last entry.
        ASSERT_TRUE(m_pelo.WriteFile("dic.txt", "ab\t" + kWave + "\r\nab\t" + kTrailBytes +
                                                    "\r\nab\t" + kHalfWidth + "\r\nab\r\n"));
        ASSERT_TRUE(m_pelo.Start());
        ASSERT_TRUE(ShowFirstCategory(m_pelo.MainWindow()));
    }
    // The user works in `target`, turns to Pelo and double-clicks entry `index`.
    void DeliverFrom(const TargetApp& target, int index) const {
        ASSERT_TRUE(target.Activate());
        ASSERT_TRUE(m_pelo.Activate());
        ASSERT_TRUE(DoubleClickListItem(m_pelo.Control(IDC_KAOMOJI_LIST), index));
    }
    // Pelo has handled all input sent so far once a Tab sent now moves its focus:
    // had a paste made the target the foreground window, the Tab would go there.
    bool PeloHandledEarlierInput() const {
        const HWND before = FocusedWindowOf(m_pelo.MainWindow());
        PressKey(VK_TAB);
        return WaitUntil([&] { return FocusedWindowOf(m_pelo.MainWindow()) != before; });
    }
    // The text arrived, and nothing more: a second paste would be input to the target,
    // which a sent message overtakes, so it is watched for, not settled.
    static void ExpectPasted(const TargetApp& target, const std::string& text) {
        EXPECT_TRUE(WaitUntil([&] { return target.Text() == text; })) << target.Text();
        EXPECT_FALSE(WaitUntil([&] { return target.Text() != text; }, 500ms)) << target.Text();
    }

    PeloProcess m_pelo{false};
};

TEST_F(DeliveryPaste, EachKaomojiArrivesExactlyInAnUntitledTargetAndOnTheClipboard) {
    TargetApp target(L"");
    for (const auto& [index, text] : {std::pair{0, kWave}, {1, kTrailBytes}, {2, kHalfWidth}}) {
        SCOPED_TRACE(text);
        target.SetText("");
        DeliverFrom(target, index);
        ExpectPasted(target, text);
        EXPECT_EQ(ClipboardBlock(CF_TEXT).value_or("").substr(0, text.size() + 1), text + '\0');
    }
    // The empty kaomoji empties the clipboard's text and pastes nothing, not even
    // what the clipboard held before.
    DeliverFrom(target, 3);
    EXPECT_TRUE(WaitUntil([] { return ClipboardText() == ""; }));
    ExpectPasted(target, kHalfWidth);
}

// A UTF-8 dictionary: a Unicode program gets every character, those that
// Shift-JIS lacks and those beyond the BMP included.
TEST(DeliveryPasteUtf8, EveryCharacterArrivesInAUnicodeTarget) {
    const std::vector<std::wstring> kaomoji = {L"(♥ω♥)", L"ʕ•ᴥ•ʔ\U0001F43B", L"ل(ﾟ∀ﾟ)ل\u0301"};
    std::string dic = "\xEF\xBB\xBF";
    for (const std::wstring& text : kaomoji) {
        dic += ToUtf8(L"はーと\t" + text + L"\r\n");
    }
    PeloProcess pelo(false);
    ASSERT_TRUE(pelo.WriteFile("dic.txt", dic));
    ASSERT_TRUE(pelo.Start());
    ASSERT_TRUE(ShowFirstCategory(pelo.MainWindow()));
    TargetApp target(L"unicode editor");
    for (int index = 0; index < static_cast<int>(kaomoji.size()); ++index) {
        SCOPED_TRACE(index);
        target.SetText("");
        ASSERT_TRUE(target.Activate());
        ASSERT_TRUE(pelo.Activate());
        ASSERT_TRUE(DoubleClickListItem(pelo.Control(IDC_KAOMOJI_LIST), index));
        const std::wstring& text = kaomoji[static_cast<std::size_t>(index)];
        EXPECT_TRUE(WaitUntil([&] { return target.WideText() == text; }));
        EXPECT_FALSE(WaitUntil([&] { return target.WideText() != text; }, 500ms));
        EXPECT_EQ(ClipboardUnicodeText(), text);
    }
}

TEST_F(DeliveryPaste, ABusyClipboardMeansNoPasteAndPeloStaysResponsive) {
    TargetApp target(L"editor");
    ASSERT_TRUE(SetClipboardText("stale"));
    {
        ClipboardHolder holder;
        ASSERT_TRUE(holder.Opened());
        DeliverFrom(target, 0);
        EXPECT_TRUE(Settle(m_pelo.MainWindow())) << "Pelo gave up on the clipboard";
        EXPECT_TRUE(PeloHandledEarlierInput());
    }
    EXPECT_TRUE(PeloHandledEarlierInput());  // nor does anything arrive later
    EXPECT_EQ(target.Text(), "");
    EXPECT_EQ(ClipboardText(), "stale");
}

TEST_F(DeliveryPaste, ATargetClosedBeforeTheDoubleClickGetsNothingNorDoesAnyOther) {
    TargetApp bystander(L"editor", {0, 0});
    TargetApp target(L"editor", {0, 240});
    // The bystander was in use before, then minimised: the window manager does not
    // hand it the focus when the target closes.
    ASSERT_TRUE(bystander.Activate());
    ::ShowWindow(bystander.Window(), SW_MINIMIZE);
    ASSERT_TRUE(target.Activate());
    ASSERT_TRUE(m_pelo.Activate());
    ASSERT_TRUE(target.Close());
    ASSERT_TRUE(DoubleClickListItem(m_pelo.Control(IDC_KAOMOJI_LIST), 0));
    EXPECT_TRUE(WaitUntil([] { return ClipboardText() == kWave; })) << "the copy still happens";
    EXPECT_TRUE(PeloHandledEarlierInput());
    EXPECT_EQ(bystander.Text(), "");
    EXPECT_EQ(::GetForegroundWindow(), m_pelo.MainWindow());
}

TEST_F(DeliveryPaste, OfTwoWindowsWithTheSameTitleOnlyTheOneLeftGetsTheText) {
    TargetApp target(L"untitled - editor", {0, 0});
    TargetApp twin(L"untitled - editor", {0, 240});
    ASSERT_TRUE(target.Activate());
    ASSERT_TRUE(m_pelo.Activate());
    // The twin comes above the target without being activated: a search by title
    // would find it first.
    ::SetWindowPos(twin.Window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_EQ(::FindWindowW(L"PeloTargetApp", L"untitled - editor"), twin.Window());
    ASSERT_TRUE(DoubleClickListItem(m_pelo.Control(IDC_KAOMOJI_LIST), 2));
    ExpectPasted(target, kHalfWidth);
    EXPECT_TRUE(Settle(twin.Window()));
    EXPECT_EQ(twin.Text(), "");
}

}  // namespace
