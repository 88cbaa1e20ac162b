// Summon, type, deliver: from another program, the hotkey brings Pelo forward,
// typing (the characters an input method hands over, as KEYEVENTF_UNICODE)
// finds a kaomoji by its keyword, and Enter pastes it into that program. No
// mouse, no other key.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/resource.h"

namespace {

using namespace testsupport;

TEST(SearchByTyping, HotkeyThenTypingThenEnterPastesTheFoundKaomojiIntoTheEditor) {
    NotificationAreaInUse notificationArea;
    ASSERT_TRUE(notificationArea.Added());
    PeloProcess pelo;
    ASSERT_TRUE(pelo.WriteFile("dic.txt", ToCp932(L"あいさつ\t(^_^)/\tやあ\r\n"
                                                  L"しょぼーん\t(´・ω・｀)\tがっかり\r\n"
                                                  L"くま\t(´(ｴ)｀)\tベア\r\n")));
    ASSERT_TRUE(pelo.Start());
    ASSERT_TRUE(::WaitForInputIdle(pelo.Proc().Handle(), 10000) == 0 && Settle(pelo.MainWindow()));
    TargetApp editor(L"search editor");
    ASSERT_TRUE(editor.Activate());

    PressKey('K', {VK_LWIN, VK_SHIFT});
    ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == pelo.MainWindow(); }));
    TypeText(L"ガッカ");
    const HWND list = pelo.Control(IDC_KAOMOJI_LIST);
    const std::string shobon = ToCp932(L"(´・ω・｀)");
    ASSERT_TRUE(WaitUntil([&] { return ListItems(list) == std::vector<std::string>{shobon}; }));
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return editor.Text() == shobon; })) << editor.Text();
    EXPECT_TRUE(pelo.IsRunning());
}

}  // namespace
