// Which foreground windows the hook library remembers as the paste target.
#include <gtest/gtest.h>

#include "hook/WindowChoice.h"

namespace {

constexpr unsigned long kPelo = 100;
constexpr unsigned long kEditor = 200;

hook::WindowFacts Window(unsigned long processId, const char* className) {
    hook::WindowFacts facts;
    facts.exists = true;
    facts.processId = processId;
    facts.className = className;
    return facts;
}

TEST(HookWindowChoice, OnlyExistingForeignNonShellWindowsAreCandidates) {
    EXPECT_TRUE(hook::IsDeliveryCandidate(Window(kEditor, "Notepad"), kPelo));
    // Any window of Pelo's own process: the dialog, a menu, a message box.
    EXPECT_FALSE(hook::IsDeliveryCandidate(Window(kPelo, "#32770"), kPelo));
    EXPECT_FALSE(hook::IsDeliveryCandidate(Window(kPelo, "#32768"), kPelo));
    hook::WindowFacts gone = Window(kEditor, "Notepad");
    gone.exists = false;
    EXPECT_FALSE(hook::IsDeliveryCandidate(gone, kPelo));
    for (const char* shell : {"Shell_TrayWnd", "Shell_SecondaryTrayWnd", "NotifyIconOverflowWindow",
                              "__wine_tray_icon", "#32769", "Progman", "WorkerW"}) {
        EXPECT_FALSE(hook::IsDeliveryCandidate(Window(kEditor, shell), kPelo)) << shell;
    }
}

TEST(HookWindowChoice, ShellClassNamesCompareExactly) {
    EXPECT_FALSE(hook::IsShellWindowClass("shell_traywnd"));
    EXPECT_FALSE(hook::IsShellWindowClass("Shell_TrayWnd2"));
    EXPECT_FALSE(hook::IsShellWindowClass(""));
    EXPECT_TRUE(hook::IsShellWindowClass("Shell_TrayWnd"));
}

TEST(HookWindowChoice, RecordKeepsTheLastForeignWindowThroughPelosOwnActivation) {
    hook::LastActiveRecord<int> record;
    record.Offer(1, Window(kEditor, "Edit"));
    EXPECT_EQ(record.Remembered(), 0) << "nothing is remembered before tracking starts";

    record.Start(kPelo);
    record.Offer(1, Window(kEditor, "Notepad"));
    record.Offer(2, Window(kEditor + 1, "Browser"));
    record.Offer(3, Window(kPelo, "#32770"));           // the user turns to Pelo
    record.Offer(4, Window(kEditor, "Shell_TrayWnd"));  // via the tray icon
    record.Offer(0, Window(kEditor, "Notepad"));        // no foreground window at all
    EXPECT_EQ(record.Answer(true), 2);
}

TEST(HookWindowChoice, RecordForgetsAWindowThatHasGoneAndOnStop) {
    hook::LastActiveRecord<int> record;
    record.Start(kPelo);
    record.Offer(7, Window(kEditor, "Notepad"));
    EXPECT_EQ(record.Answer(false), 0);
    EXPECT_EQ(record.Answer(true), 0) << "a gone window is not revived";

    record.Offer(8, Window(kEditor, "Notepad"));
    record.Stop();
    EXPECT_FALSE(record.Tracking());
    EXPECT_EQ(record.Answer(true), 0);
    record.Stop();  // twice is harmless
    record.Offer(9, Window(kEditor, "Notepad"));
    EXPECT_EQ(record.Remembered(), 0);
}

TEST(HookWindowChoice, FocusEventsCountWhenTheirWindowOrPeloIsInFront) {
    hook::LastActiveRecord<int> record;
    record.Start(kPelo);
    const hook::WindowFacts editor = Window(kEditor, "Notepad");
    const hook::WindowFacts browser = Window(kEditor + 1, "Browser");
    const hook::WindowFacts pelo = Window(kPelo, "#32770");

    record.OfferFocused(1, editor, 1, editor);
    EXPECT_EQ(record.Remembered(), 1);
    // Read late, after the user already turned to Pelo: still the window they left.
    record.OfferFocused(2, browser, 9, pelo);
    EXPECT_EQ(record.Remembered(), 2);
    // A program moving its focus behind the window in front is not the target.
    record.OfferFocused(1, editor, 2, browser);
    EXPECT_EQ(record.Remembered(), 2);
    // Nor is Pelo itself or the shell, whoever is in front.
    record.OfferFocused(9, pelo, 9, pelo);
    record.OfferFocused(3, Window(kEditor, "Shell_TrayWnd"), 9, pelo);
    EXPECT_EQ(record.Remembered(), 2);
}

}  // namespace
