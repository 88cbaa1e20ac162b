// Which global hotkey Pelo registers: the default, or what the command line
// asks for with /hotkey:<combination> (for instance /hotkey:Win+Shift+K) or
// /hotkey:none. Pure logic: the virtual-key and modifier values are the
// system's, spelled as numbers so that no <windows.h> is needed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hotkey {

// The modifier flags of RegisterHotKey (MOD_ALT, MOD_CONTROL, MOD_SHIFT, MOD_WIN).
inline constexpr unsigned kAlt = 0x1;
inline constexpr unsigned kControl = 0x2;
inline constexpr unsigned kShift = 0x4;
inline constexpr unsigned kWin = 0x8;

struct Combination {
    unsigned modifiers = 0;
    unsigned virtualKey = 0;
    std::string name;  // as the user reads it: "Win+Shift+K"
    bool operator==(const Combination&) const = default;
};

struct Choice {
    enum class Kind {
        None,         // no hotkey: /hotkey:none
        Combination,  // register `combination`
        Bad,          // /hotkey: with something that is not a combination
    };
    Kind kind = Kind::None;
    Combination combination;  // Kind::Combination only
    std::string argument;     // Kind::Bad only: the argument as given
};

// Win+Shift+K: Windows uses it for nothing, no keyboard layout types a
// character with Win (AltGr is Ctrl+Alt), and K sits in the same place on
// Japanese and US keyboards. K as in kaomoji.
Combination DefaultCombination();

// "Win+Shift+K", "ctrl+alt+F9": modifiers (Win, Ctrl or Control, Alt, Shift,
// each at most once, any letter case) and one key last (A-Z, 0-9, F1-F24).
// A letter or digit needs Ctrl, Alt or Win, or it would take plain typing
// away from every program. Kind::Bad for anything else.
Choice ParseCombination(std::string_view text);

// The program's arguments (without the program name): the last one that
// starts with "/hotkey" (any letter case) decides, and without the ":" it is
// Kind::Bad; with none, the default. Other arguments are ignored.
Choice ChooseHotkey(const std::vector<std::string>& arguments);

}  // namespace hotkey
