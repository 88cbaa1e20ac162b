// Finding kaomoji by typing: folding, the query's words and the index's
// answers, as tables.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "text/Fold.h"
#include "text/Search.h"

namespace {

using text::SearchIndex;
using text::SearchQuery;
using Strings = std::vector<std::string>;

TEST(Fold, TextsAUserCallsTheSameFoldAlike) {
    const std::pair<const char*, const char*> kSame[] = {
        // case
        {"ABCXYZ", "abcxyz"},
        {"ÀÉÎÕÜÞ", "àéîõüþ"},
        {"ŁŃŽŸ", "łńžÿ"},
        {"ΩΣ", "ωσ"},
        {"ς", "σ"},
        {"ДЁЖ", "дёж"},
        // width
        {"０９ＡＺａｚ", "09azaz"},
        {"！＃（）＿～", "!#()_~"},
        {"\u3000", " "},
        {"ｱｲｳｴｵｧｯｰ", "アイウエオァッー"},
        {"｡｢｣､･", "。「」、・"},
        {"ｶﾞｷﾞﾊﾟﾎﾟｳﾞ", "ガギパポヴ"},
        {"か\u3099は\u309a", "ガパ"},
        // kana
        {"にこにこ", "ニコニコ"},
        {"ぁゔゝゞ", "ァヴヽヾ"},
        {"ゝ\u3099", "ヾ"},
        // all at once
        {"ｼｮﾎﾞｰﾝ", "しょぼーん"},
        {"(´・ω・｀)", "(´・Ω・`)"},
    };
    for (const auto& [a, b] : kSame) {
        EXPECT_EQ(text::Folded(a), text::Folded(b)) << a << " / " << b;
    }
}

TEST(Fold, KeepsWhatDiffers) {
    const std::pair<const char*, const char*> kDifferent[] = {
        {"ア", "イ"},
        {"カ", "ガ"},
        {"ハ", "バ"},
        {"バ", "パ"},
        {"ﾟ", ""},       // a half-width mark alone stays, as the eye of (ﾟДﾟ)
        {"(ﾟ", "("},     // and is not joined to what cannot take it
        {"ー", "-"},
        {"×", "x"},      // U+00D7 is no capital
        {"ı", "i"},
        {"〜", "~"},     // the wave dash is no full-width form
    };
    for (const auto& [a, b] : kDifferent) {
        EXPECT_NE(text::Folded(a), text::Folded(b)) << a << " / " << b;
    }
}

TEST(Fold, SearchKeysFoldAlikeAndKeepKanaShort) {
    EXPECT_EQ(text::SearchKey("ｼｮﾎﾞｰﾝ"), text::SearchKey("しょぼーん"));
    EXPECT_EQ(text::SearchKey("Ω\u3000"), text::Folded("ω "));
    // Two bytes a kana, and the block swapped in keeps apart.
    EXPECT_EQ(text::SearchKey("にこ").size(), 4u);
    EXPECT_NE(text::SearchKey("ニ"), text::SearchKey("\u074b"));
}

TEST(Fold, GivesValidUtf8ForAnyBytes) {
    const std::pair<std::string, std::string> kCases[] = {
        {"", ""},
        {"a\xff" "b", "a\xef\xbf\xbd" "b"},       // not a lead byte
        {"\xe3\x81", "\xef\xbf\xbd\xef\xbf\xbd"},  // cut short: each byte replaced
        {"\xc0\xaf", "\xef\xbf\xbd\xef\xbf\xbd"},  // overlong '/'
        {"\xed\xa0\x80", "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"},  // a surrogate
        {"\xf0\x9f\x98\x80", "\xf0\x9f\x98\x80"},  // outside the BMP, kept
        {std::string("a\0B", 3), std::string("a\0b", 3)},
    };
    for (const auto& [input, folded] : kCases) {
        EXPECT_EQ(text::Folded(input), folded);
    }
}

TEST(SearchQuery, SplitsWordsAtSpacesOfEitherWidthAndFoldsThem) {
    const std::pair<const char*, Strings> kCases[] = {
        {"", {}},
        {"   \u3000\t", {}},
        {"ω", {"ω"}},
        {" にこ  Ω ", {"ニコ", "ω"}},
        {"ｼｮﾎﾞｰﾝ\u3000(´", {"ショボーン", "(´"}},
    };
    for (const auto& [text, words] : kCases) {
        const SearchQuery query(text);
        Strings keys;
        for (const std::string& word : words) {
            keys.push_back(text::SearchKey(word));
        }
        EXPECT_EQ(query.Words(), keys) << text;
        EXPECT_EQ(query.empty(), words.empty()) << text;
    }
}

struct Category {
    const char* name;
    std::vector<std::pair<std::string, std::string>> entries;  // kaomoji, keywords
};

// The index of `categories` and, for each query, the kaomoji found, in order.
class Index {
public:
    explicit Index(const std::vector<Category>& categories) : m_categories(categories) {
        for (const Category& category : m_categories) {
            m_index.AddCategory(category.name);
            for (const auto& [kaomoji, keywords] : category.entries) {
                m_index.AddEntry(kaomoji, keywords);
            }
        }
        m_index.FinishAdding();
    }
    Strings Find(std::string_view query) const {
        Strings found;
        for (const SearchIndex::Entry entry : m_index.Find(SearchQuery(query))) {
            const SearchIndex::Location at = m_index.Locate(entry);
            found.push_back(m_categories[at.category].entries[at.position].first);
        }
        return found;
    }
    const SearchIndex& Raw() const { return m_index; }

private:
    std::vector<Category> m_categories;
    SearchIndex m_index;
};

const std::vector<Category> kDictionary = {
    {"あいさつ", {{"(^_^)/", "やあ おはよう"}, {"(・∀・)ﾉ", ""}, {"ヽ(´ー｀)ﾉ", "ばんざい"}}},
    {"クマ", {{"ʕ•ᴥ•ʔ", "くま"}, {"(´(ｴ)｀)", ""}}},
    {"しょぼーん", {{"(´・ω・｀)", "がっかり しょぼーん"}, {"(´･ω･`)", ""}}},
    {"英字", {{"ＡＢＣ", ""}, {"abc", "xyz"}, {"(ﾟДﾟ)", "ぽかーん びっくり"}}},
    {"空", {}},
    {"末尾", {{"", "から"}, {"ab", ""}, {"cd", "ef"}}},
};

TEST(SearchIndex, FindsByKaomojiKeywordsOrCategoryIgnoringCaseWidthAndKana) {
    const Index index(kDictionary);
    const std::pair<const char*, Strings> kCases[] = {
        // kaomoji text, in dictionary order
        {"ω", {"(´・ω・｀)", "(´･ω･`)"}},
        {"Ω", {"(´・ω・｀)", "(´･ω･`)"}},
        {"・ω・", {"(´・ω・｀)", "(´･ω･`)"}},   // ･ is the half-width ・
        {"д", {"(ﾟДﾟ)"}},
        {"ﾟдﾟ", {"(ﾟДﾟ)"}},
        {"ﾉ", {"(・∀・)ﾉ", "ヽ(´ー｀)ﾉ"}},
        // case and width
        {"abc", {"ＡＢＣ", "abc"}},
        {"ＡＢＣ", {"ＡＢＣ", "abc"}},
        {"B", {"ＡＢＣ", "abc", "ab"}},
        // keywords, never the kaomoji's neighbours
        {"おはよう", {"(^_^)/"}},
        {"オハヨウ", {"(^_^)/"}},
        {"ｵﾊﾖｳ", {"(^_^)/"}},
        {"びっくり", {"(ﾟДﾟ)"}},
        {"XYZ", {"abc"}},
        {"から", {""}},
        // a category name matches its every kaomoji
        {"くま", {"ʕ•ᴥ•ʔ", "(´(ｴ)｀)"}},
        {"ｼｮﾎﾞｰﾝ", {"(´・ω・｀)", "(´･ω･`)"}},
        {"挨拶", {}},
        // several words: every one must match, wherever
        {"くま (", {"(´(ｴ)｀)"}},
        {"(´ ω\u3000がっかり", {"(´・ω・｀)"}},
        {"ω がっかり くま", {}},
        {"ぽかーん Д びっくり", {"(ﾟДﾟ)"}},
        {"英字 ﾟ", {"(ﾟДﾟ)"}},
        // each once, though the keyword and the category both match
        {"しょぼーん", {"(´・ω・｀)", "(´･ω･`)"}},
        {"a", {"ＡＢＣ", "abc", "ab"}},
        // no match across entries nor between kaomoji and keywords
        {"bc", {"ＡＢＣ", "abc"}},
        {"abcd", {}},
        {"cx", {}},
        {"dE", {}},
        {"ef", {"cd"}},
        {"not there", {}},
    };
    for (const auto& [query, found] : kCases) {
        EXPECT_EQ(index.Find(query), found) << query;
    }
}

TEST(SearchIndex, AnEmptyQueryMatchesEveryEntry) {
    const Index index(kDictionary);
    EXPECT_EQ(index.Raw().Find(SearchQuery("")).size(), 13u);
    EXPECT_EQ(index.Raw().Find(SearchQuery(" \u3000 ")).size(), 13u);
}

TEST(SearchIndex, AKaomojiUnderSeveralCategoriesIsFoundOnceWhereItFirstMatches) {
    const Index index({
        {"にこ", {{"(^o^)", ""}, {"(^^)", ""}}},
        {"わーい", {{"＼(^o^)／", ""}, {"(^o^)", ""}}},
        {"ばんざい", {{"＼(^o^)／", "わーい"}, {"(^o^)", ""}}},
    });
    const std::pair<const char*, Strings> kCases[] = {
        {"^o^", {"(^o^)", "＼(^o^)／"}},
        {"わーい", {"＼(^o^)／", "(^o^)"}},
        {"ばんざい", {"＼(^o^)／", "(^o^)"}},
        {"わーい (^o", {"＼(^o^)／", "(^o^)"}},
        {"に", {"(^o^)", "(^^)"}},
    };
    for (const auto& [query, found] : kCases) {
        EXPECT_EQ(index.Find(query), found) << query;
    }
}

TEST(SearchIndex, FindsTheEndOfTheLongestLine) {
    const std::string longest = std::string(100000, '=') + "(ﾟДﾟ)";
    const Index index({{"長い", {{"x", ""}, {longest, std::string(50000, 'k') + " おわり"}}}});
    EXPECT_EQ(index.Find("===(ﾟд"), Strings{longest});
    EXPECT_EQ(index.Find("おわり ﾟ)"), Strings{longest});
    EXPECT_EQ(index.Find("=(ﾟДﾟ)="), Strings{});
}

TEST(SearchIndex, LocatesEntriesAcrossEmptyCategories) {
    const Index index(kDictionary);
    const SearchIndex& raw = index.Raw();
    ASSERT_EQ(raw.Size(), 13u);
    const std::pair<SearchIndex::Entry, std::pair<std::size_t, std::size_t>> kCases[] = {
        {0, {0, 0}}, {2, {0, 2}}, {3, {1, 0}}, {10, {5, 0}}, {12, {5, 2}},
    };
    for (const auto& [entry, place] : kCases) {
        const SearchIndex::Location at = raw.Locate(entry);
        EXPECT_EQ(std::make_pair(at.category, at.position), place) << entry;
    }
}

}  // namespace
