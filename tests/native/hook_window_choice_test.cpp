// Which foreground windows the hook library remembers as the paste target.
#include <gtest/gtest.h>

#include "hook/WindowChoice.h"

namespace {

constexpr unsigned long kPelo = 100;
constexpr unsigned long kEditor = 200;

hook::WindowFacts Window(unsigned long processId, const char* className, bool exists = true) {
    hook::WindowFacts facts;
    facts.exists = exists;
    facts.processId = processId;
    facts.className = className;
    return facts;
}

TEST(HookWindowChoice, OnlyExistingForeignNonShellWindowsAreCandidates) {
    EXPECT_TRUE(hook::IsDeliveryCandidate(Window(kEditor, "Notepad"), kPelo));
    // Pelo's own windows (dialog, menu), a gone one, the shell's, named exactly.
    EXPECT_FALSE(hook::IsDeliveryCandidate(Window(kPelo, "#32770"), kPelo));
    EXPECT_FALSE(hook::IsDeliveryCandidate(Window(kPelo, "#32768"), kPelo));
    EXPECT_FALSE(hook::IsDeliveryCandidate(Window(kEditor, "Notepad", false), kPelo));
    for (const char* shell : {"Shell_TrayWnd", "Shell_SecondaryTrayWnd", "NotifyIconOverflowWindow",
                              "__wine_tray_icon", "#32769", "Progman", "WorkerW"}) {
        EXPECT_FALSE(hook::IsDeliveryCandidate(Window(kEditor, shell), kPelo)) << shell;
    }
    for (const char* other : {"shell_traywnd", "Shell_TrayWnd2", ""}) {
        EXPECT_FALSE(hook::IsShellWindowClass(other)) << other;
    }
}

TEST(HookWindowChoice, TheRecordKeepsTheLastForeignWindowWhileTracking) {
    hook::LastActiveRecord<int> record;
    record.Offer(1, Window(kEditor, "Edit"));
    EXPECT_EQ(record.Remembered(), 0) << "nothing before tracking starts";
    record.Start(kPelo);
    record.Offer(1, Window(kEditor, "Notepad"));
    record.Offer(2, Window(kEditor + 1, "Browser"));
    record.Offer(3, Window(kPelo, "#32770"));           // the user turns to Pelo
    record.Offer(4, Window(kEditor, "Shell_TrayWnd"));  // via the tray icon
    record.Offer(0, Window(kEditor, "Notepad"));        // no foreground window at all
    EXPECT_EQ(record.Answer(true), 2);
    EXPECT_EQ(record.Answer(false), 0) << "a gone window";
    EXPECT_EQ(record.Answer(true), 0) << "is not revived";

    record.Offer(8, Window(kEditor, "Notepad"));
    record.Stop();
    record.Stop();  // twice is harmless
    EXPECT_FALSE(record.Tracking());
    record.Offer(9, Window(kEditor, "Notepad"));
    EXPECT_EQ(record.Answer(true), 0);
}

TEST(HookWindowChoice, FocusEventsCountWhenTheirWindowOrPeloIsInFront) {
    hook::LastActiveRecord<int> record;
    record.Start(kPelo);
    const hook::WindowFacts editor = Window(kEditor, "Notepad");
    const hook::WindowFacts browser = Window(kEditor + 1, "Browser");
    const hook::WindowFacts pelo = Window(kPelo, "#32770");
    record.OfferFocused(1, editor, 1, editor);
    EXPECT_EQ(record.Remembered(), 1);
    record.OfferFocused(2, browser, 9, pelo);  // read late, once the user turned to Pelo
    EXPECT_EQ(record.Remembered(), 2);
    record.OfferFocused(1, editor, 2, browser);  // a focus moving behind the window in front
    record.OfferFocused(9, pelo, 9, pelo);
    record.OfferFocused(3, Window(kEditor, "Shell_TrayWnd"), 9, pelo);
    EXPECT_EQ(record.Remembered(), 2);
}

}  // namespace
