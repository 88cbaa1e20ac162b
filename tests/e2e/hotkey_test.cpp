// The global hotkey, pressed as real input in another program, brings Pelo forward
// (also out of the notification area) with its list focused for the arrow keys and
// Space; pressed with Pelo in front, it sends Pelo back. /hotkey: and a taken combination.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/resource.h"

namespace {

using namespace testsupport;

void PressHotkey() {  // the default combination
    PressKey('K', {VK_LWIN, VK_SHIFT});
}

// Whether this process can register the combination: not while Pelo holds it.
bool Free(UINT modifiers, UINT key) {
    if (!::RegisterHotKey(nullptr, 1, modifiers, key)) {
        return false;
    }
    ::UnregisterHotKey(nullptr, 1);
    return true;
}

bool StartIdle(PeloProcess& pelo) {
    return pelo.Start() && ::WaitForInputIdle(pelo.Proc().Handle(), 10000) == 0 &&
           Settle(pelo.MainWindow()) && Settle(pelo.MainWindow());
}

bool InFrontWithFocusOn(const PeloProcess& pelo, int control) {
    return WaitUntil([&] {
        return ::GetForegroundWindow() == pelo.MainWindow() &&
               FocusedWindowOf(pelo.MainWindow()) == pelo.Control(control);
    });
}

// From the editor: the hotkey, an arrow key, Space. The chosen kaomoji arrives
// in the editor, once: a second paste would come well within half a second.
void ChooseAndPaste(const PeloProcess& pelo, const TargetApp& editor) {
    const HWND list = pelo.Control(IDC_KAOMOJI_LIST);
    editor.SetText("");
    ASSERT_TRUE(editor.Activate());
    PressHotkey();
    ASSERT_TRUE(InFrontWithFocusOn(pelo, IDC_KAOMOJI_LIST));
    // Read once: the icon goes before the window comes back, so once the window is in
    // front the icon is gone for good.
    EXPECT_FALSE(IconPresent(pelo.MainWindow()));

    const int before = ListSelection(list);
    PressKey(before == 1 ? VK_UP : VK_DOWN);
    ASSERT_TRUE(WaitUntil([&] { return ListSelection(list) != before; }));
    const std::string chosen = ListItems(list)[ListSelection(list)];
    PressKey(VK_SPACE);
    ASSERT_TRUE(WaitUntil([&] { return editor.Text() == chosen; })) << editor.Text();
    EXPECT_FALSE(WaitUntil([&] { return editor.Text() != chosen; }, 500ms)) << editor.Text();
}

TEST(Hotkey, SummonsPeloOverTheEditorWhereSpacePastes) {
    NotificationAreaInUse notificationArea;
    ASSERT_TRUE(notificationArea.Added());
    PeloProcess pelo;
    ASSERT_TRUE(StartIdle(pelo));
    EXPECT_FALSE(Free(MOD_WIN | MOD_SHIFT, 'K')) << "Pelo holds the default combination";
    TargetApp editor(L"hotkey editor");
    ASSERT_TRUE(editor.Activate());

    // No category open yet: the focus goes to the tree.
    PressHotkey();
    ASSERT_TRUE(InFrontWithFocusOn(pelo, IDC_CATEGORY_TREE));
    ASSERT_TRUE(ShowFirstCategory(pelo.MainWindow()));
    ChooseAndPaste(pelo, editor);

    // In front already: back to the notification area, and out of it again.
    PressHotkey();
    ASSERT_TRUE(InFrontWithFocusOn(pelo, IDC_KAOMOJI_LIST));
    PressHotkey();
    ASSERT_TRUE(
        WaitUntil([&] { return !IsVisible(pelo.MainWindow()) && IconPresent(pelo.MainWindow()); }));
    ChooseAndPaste(pelo, editor);

    // Ctrl+C copies the selected kaomoji and pastes nothing.
    const std::string pasted = editor.Text();
    PressHotkey();
    ASSERT_TRUE(InFrontWithFocusOn(pelo, IDC_KAOMOJI_LIST));
    ASSERT_TRUE(SetClipboardText("-"));
    PressKey('C', {VK_CONTROL});
    EXPECT_TRUE(WaitUntil([&] { return ClipboardText() == pasted; }));
    // A paste would follow the copy as input to the editor, which a sent message overtakes.
    EXPECT_FALSE(WaitUntil([&] { return editor.Text() != pasted; }, 500ms)) << editor.Text();
}

TEST(Hotkey, TheCommandLineChoosesTheCombinationAndATakenOneCostsOnlyTheHotkey) {
    const struct {
        const wchar_t* arguments;
        UINT heldKey;  // with Win+Shift; 0 for none
        bool takenElsewhere;
    } rows[] = {
        {L"/hotkey:Win+Shift+J", 'J', false},
        {L"/hotkey:none", 0, false},
        {L"/hotkey:Win+Shift+", 0, false},  // a mistake: Pelo uses none
        {L"", 0, true},                     // the default, held by this process
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.arguments);
        if (row.takenElsewhere) {
            ASSERT_TRUE(::RegisterHotKey(nullptr, 1, MOD_WIN | MOD_SHIFT, 'K'));
        }
        PeloProcess pelo;
        pelo.SetArguments(row.arguments);
        ASSERT_TRUE(StartIdle(pelo));
        EXPECT_EQ(FindMessageBox(pelo.Id()), nullptr);
        if (row.takenElsewhere) {
            ::UnregisterHotKey(nullptr, 1);
        }
        EXPECT_TRUE(Free(MOD_WIN | MOD_SHIFT, 'K'));
        if (row.heldKey != 0) {
            EXPECT_FALSE(Free(MOD_WIN | MOD_SHIFT, row.heldKey));
        }
    }
}

}  // namespace
