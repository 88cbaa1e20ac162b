// The /hotkey: argument: which combination Pelo registers, none, or a
// mistake that the notification icon reports.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ui/HotkeyChoice.h"

namespace {

using Kind = hotkey::Choice::Kind;

struct Row {
    std::vector<std::string> arguments;
    Kind kind;
    unsigned modifiers = 0;  // for Kind::Combination
    unsigned virtualKey = 0;
    std::string name;
};

constexpr unsigned kWinShift = hotkey::kWin | hotkey::kShift;

TEST(HotkeyChoice, ArgumentsTable) {
    const Row rows[] = {
        // Good: the default, other spellings, the last /hotkey wins.
        {{}, Kind::Combination, kWinShift, 'K', "Win+Shift+K"},
        {{"/other", "x"}, Kind::Combination, kWinShift, 'K', "Win+Shift+K"},
        {{"/hotkey:Win+Shift+J"}, Kind::Combination, kWinShift, 'J', "Win+Shift+J"},
        {{"/HOTKEY:shift+win+j"}, Kind::Combination, kWinShift, 'J', "Win+Shift+J"},
        {{"/hotkey:Control+Alt+7"},
         Kind::Combination,
         hotkey::kControl | hotkey::kAlt,
         '7',
         "Ctrl+Alt+7"},
        {{"/hotkey:Shift+f24"}, Kind::Combination, hotkey::kShift, 0x87, "Shift+F24"},
        {{"/hotkey:Ctrl+F1"}, Kind::Combination, hotkey::kControl, 0x70, "Ctrl+F1"},
        {{"/hotkey:none", "/hotkey:Win+Shift+J"}, Kind::Combination, kWinShift, 'J', "Win+Shift+J"},
        {{"/hotkey:Win+Shift+J", "/hotkey:NONE"}, Kind::None, 0, 0, ""},
    };
    // Mistakes: empty forms, unknown or repeated parts, a key that types, out of range.
    std::vector<Row> all(std::begin(rows), std::end(rows));
    for (const char* mistake :
         {"/hotkey:", "/hotkey", "/hotkey:Win+", "/hotkey:+K", "/hotkey=Win+Shift+K",
          "/hotkey:Win+Shift+KK", "/hotkey:Win+Win+K", "/hotkey:Ctrl+Control+K", "/hotkey:Shift+K",
          "/hotkey:K", "/hotkey:Win+Shift+K+Alt", "/hotkey:Win + Shift + K", "/hotkey:Win+F0",
          "/hotkey:Win+F25", "/hotkey:Win+F09", "/hotkey:Win+Shift+\x83\x4C"}) {
        all.push_back({{mistake}, Kind::Bad, 0, 0, ""});
    }
    for (const Row& row : all) {
        const std::string label = row.arguments.empty() ? "(none)" : row.arguments.back();
        const hotkey::Choice choice = hotkey::ChooseHotkey(row.arguments);
        EXPECT_EQ(choice.kind, row.kind) << label;
        if (row.kind == Kind::Combination) {
            EXPECT_EQ(choice.combination,
                      (hotkey::Combination{row.modifiers, row.virtualKey, row.name}))
                << label;
        }
        // A mistake is reported with the argument exactly as given.
        EXPECT_EQ(choice.argument, row.kind == Kind::Bad ? row.arguments.back() : "") << label;
    }
}

}  // namespace
