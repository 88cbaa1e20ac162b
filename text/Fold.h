// Folding text for search: two texts that a user would call the same when
// looking for a kaomoji fold to the same bytes. Input and output are UTF-8.
//
//   - letter case: ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic
//     capitals become small letters (Ｄ, D and d; Д and д; Ω and ω);
//   - width: the full-width forms U+FF01-FF5E become ASCII, the ideographic
//     space a space, half-width katakana and their punctuation full-width;
//   - kana: hiragana become katakana;
//   - a voiced or semi-voiced sound mark after a kana that has the voiced
//     form (ｶﾞ, か U+3099) joins it, so that ｶﾞ, が and ガ agree.
//
// Everything else is kept. A byte that does not start a valid UTF-8
// sequence folds to U+FFFD, so any input folds to valid UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace text {

// Appends the folded form of `utf8` to `out`.
void AppendFolded(std::string_view utf8, std::string& out);

// The same folding in the compact form a search index keeps: UTF-8 with the
// blocks U+3000-30FF (kana, CJK punctuation) and U+0700-07FF (Syriac, Thaana,
// NKo: hardly ever in a kaomoji) swapped, so that kana take two bytes rather
// than three. The swap is one to one, and the form keeps UTF-8's property
// that a word can only match at a character's start; it is never shown.
void AppendSearchKey(std::string_view utf8, std::string& out);

inline std::string Folded(std::string_view utf8) {
    std::string out;
    AppendFolded(utf8, out);
    return out;
}

inline std::string SearchKey(std::string_view utf8) {
    std::string out;
    AppendSearchKey(utf8, out);
    return out;
}

}  // namespace text
