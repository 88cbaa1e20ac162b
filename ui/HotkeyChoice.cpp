#include "ui/HotkeyChoice.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>

namespace hotkey {

namespace {

// "/hotkey" followed by anything but ':' is a mistyped option, not another one.
constexpr std::string_view kOptionName = "/hotkey";

struct Modifier {
    std::string_view name;
    unsigned flag;
};
// In the order the name of a combination lists them.
constexpr std::array<Modifier, 5> kModifiers = {{
    {"Win", kWin},
    {"Ctrl", kControl},
    {"Control", kControl},
    {"Alt", kAlt},
    {"Shift", kShift},
}};

bool SameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

struct Key {
    unsigned virtualKey;
    std::string name;
    bool typesCharacter;
};

// A-Z and 0-9 are their own virtual keys; F1 is 0x70, up to F24 (0x87).
std::optional<Key> ParseKey(std::string_view text) {
    if (text.size() == 1) {
        const auto c =
            static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(text[0])));
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
            return Key{c, std::string(1, static_cast<char>(c)), true};
        }
        return std::nullopt;
    }
    if (text.size() < 2 || text.size() > 3 || (text[0] != 'F' && text[0] != 'f')) {
        return std::nullopt;
    }
    unsigned number = 0;
    for (char digit : text.substr(1)) {
        if (digit < '0' || digit > '9') {
            return std::nullopt;
        }
        number = number * 10 + static_cast<unsigned>(digit - '0');
    }
    if (text[1] == '0' || number < 1 || number > 24) {
        return std::nullopt;
    }
    return Key{0x6F + number, "F" + std::to_string(number), false};
}

Choice Bad(std::string_view argument) {
    Choice choice;
    choice.kind = Choice::Kind::Bad;
    choice.argument = argument;
    return choice;
}

std::string NameOf(unsigned modifiers, const std::string& key) {
    std::string name;
    for (unsigned flag : {kWin, kControl, kAlt, kShift}) {
        if ((modifiers & flag) != 0) {
            const auto modifier = std::find_if(kModifiers.begin(), kModifiers.end(),
                                               [&](const Modifier& m) { return m.flag == flag; });
            name.append(modifier->name).append("+");
        }
    }
    return name + key;
}

}  // namespace

Combination DefaultCombination() {
    return {kWin | kShift, 'K', "Win+Shift+K"};
}

Choice ParseCombination(std::string_view text) {
    unsigned modifiers = 0;
    std::string_view rest = text;
    for (auto plus = rest.find('+'); plus != std::string_view::npos; plus = rest.find('+')) {
        const std::string_view part = rest.substr(0, plus);
        const auto modifier =
            std::find_if(kModifiers.begin(), kModifiers.end(),
                         [&](const Modifier& m) { return SameLetters(m.name, part); });
        if (modifier == kModifiers.end() || (modifiers & modifier->flag) != 0) {
            return Bad(text);
        }
        modifiers |= modifier->flag;
        rest.remove_prefix(plus + 1);
    }
    const std::optional<Key> key = ParseKey(rest);
    if (!key || (key->typesCharacter && (modifiers & (kWin | kControl | kAlt)) == 0)) {
        return Bad(text);
    }
    Choice choice;
    choice.kind = Choice::Kind::Combination;
    choice.combination = {modifiers, key->virtualKey, NameOf(modifiers, key->name)};
    return choice;
}

Choice ChooseHotkey(const std::vector<std::string>& arguments) {
    const auto last = std::find_if(arguments.rbegin(), arguments.rend(), [](const std::string& a) {
        return SameLetters(std::string_view(a).substr(0, kOptionName.size()), kOptionName);
    });
    if (last == arguments.rend()) {
        return {Choice::Kind::Combination, DefaultCombination(), {}};
    }
    const std::string_view value = std::string_view(*last).substr(kOptionName.size());
    if (!value.starts_with(':')) {
        return Bad(*last);
    }
    if (SameLetters(value.substr(1), "none")) {
        return {};
    }
    Choice choice = ParseCombination(value.substr(1));
    if (choice.kind == Choice::Kind::Bad) {
        choice.argument = *last;
    }
    return choice;
}

}  // namespace hotkey
