// The end-to-end driver's own ground truth, checked against TargetApp.exe alone:
// if these fail, a failing Pelo test says nothing about Pelo.
#include <gtest/gtest.h>

#include "E2e.h"

namespace {

using namespace e2e;

// "ソ表－" (trail bytes 0x5C, 0x5C, 0x7C), half-width katakana "ｶﾀｶﾅ", ASCII.
const std::string kAwkwardText = "\x83\x5C\x95\x5C\x81\x7C \xB6\xC0\xB6\xC5 (^_^)/";

TEST(Harness, EditTextRoundTripsCp932BytesAcrossProcesses) {
    TargetApp target(L"対象");
    ASSERT_NE(target.Window(), nullptr);
    EXPECT_EQ(WindowText(target.Window()), ToCp932(L"対象"));
    target.SetText(kAwkwardText + "\r\n2");
    EXPECT_EQ(target.Text(), kAwkwardText + "\r\n2");
}

TEST(Harness, ClipboardKeepsExactBytesAndRefusesOthersWhileHeld) {
    ASSERT_TRUE(SetClipboardText(kAwkwardText));
    EXPECT_EQ(ClipboardText(), kAwkwardText);
    EXPECT_EQ(ClipboardUnicodeText(), testsupport::FromCp932(kAwkwardText));
    {
        ClipboardHolder holder(10s);
        ASSERT_TRUE(holder.Opened());
        EXPECT_FALSE(::OpenClipboard(nullptr));
    }
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::CloseClipboard();
}

TEST(Harness, RealKeysGoToTheActivatedWindowOnly) {
    TargetApp first(L"first", {0, 0});
    TargetApp second(L"second", {0, 240});
    ASSERT_NE(first.Window(), nullptr);
    ASSERT_NE(second.Window(), nullptr);
    ASSERT_TRUE(SetClipboardText(kAwkwardText));

    ASSERT_TRUE(second.Activate());
    ASSERT_TRUE(first.Activate());
    PressKey('V', {VK_CONTROL});
    EXPECT_TRUE(WaitUntil([&] { return first.Text() == kAwkwardText; })) << first.Text();
    EXPECT_EQ(second.Text(), "");
}

TEST(Harness, ClicksLandWhereAimed) {
    TargetApp first(L"first", {0, 0});
    TargetApp second(L"second", {0, 240});
    ASSERT_NE(first.Window(), nullptr);
    ASSERT_NE(second.Window(), nullptr);
    ASSERT_TRUE(first.Activate());
    ClickWindow(second.Edit());
    EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == second.Window(); }));
    EXPECT_TRUE(WaitUntil([&] { return FocusedWindowOf(second.Window()) == second.Edit(); }));
}

TEST(Harness, UntitledTargetIsFoundAndClosed) {
    TargetApp target(L"");
    ASSERT_NE(target.Window(), nullptr);
    EXPECT_EQ(WindowTextW(target.Window()), L"");
    EXPECT_TRUE(target.Close());
    EXPECT_FALSE(::IsWindow(target.Window()));
}

}  // namespace
