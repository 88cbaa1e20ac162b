// The category tree filled at once ends exactly as a real tree control does when every
// category is sorted in (TVI_SORT) one by one in file order: same items, same order.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "dictionary/CategoryTree.h"
#include "text/TextMode.h"
#include "win/Strings.h"

namespace {

struct TreeWindow {
    TreeWindow() {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES};
        ::InitCommonControlsEx(&controls);
        tree.Attach(::CreateWindowExA(0, WC_TREEVIEWA, "", WS_POPUP, 0, 0, 200, 200, nullptr,
                                      nullptr, nullptr, nullptr));
    }
    ~TreeWindow() { ::DestroyWindow(tree.Hwnd()); }
    win::TreeControl tree;
};

// Every item, parents before their children, as the tree holds it.
using Items = std::vector<std::pair<std::wstring, LPARAM>>;
void CollectItems(const win::TreeControl& tree, UINT relation, HTREEITEM from, Items& items) {
    const auto next = [&](UINT how, HTREEITEM item) {
        return reinterpret_cast<HTREEITEM>(
            tree.Send(TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
    };
    for (HTREEITEM item = next(relation, from); item != nullptr; item = next(TVGN_NEXT, item)) {
        wchar_t text[256] = {};
        TVITEMW query{TVIF_TEXT, item, 0, 0, text, 256, 0, 0, 0, 0};
        ::SendMessageW(tree.Hwnd(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query));
        items.emplace_back(text, tree.GetItemData(item));
        CollectItems(tree, TVGN_CHILD, item, items);
    }
}

Items ItemsOf(const win::TreeControl& tree) {
    Items items;
    CollectItems(tree, TVGN_ROOT, nullptr, items);
    return items;
}

// The tree built the plain way: each category sorted in as it comes.
void FillOneByOne(const win::TreeControl& tree, const dictionary::Dictionary& dictionary) {
    for (const dictionary::Dictionary::Group& group : dictionary.groups) {
        const HTREEITEM groupItem =
            tree.InsertItem(win::ToWide(group.key, dictionary.encoding), TVI_ROOT, TVI_LAST);
        for (const CategoryMap::Index index : group.categories) {
            tree.InsertItem(win::ToWide(dictionary.categories.NameAt(index), dictionary.encoding),
                            groupItem, TVI_SORT, static_cast<LPARAM>(index));
        }
    }
}

// A dictionary file of one kaomoji under each of `names`, read as Pelo reads it.
dictionary::Dictionary DictionaryOf(const std::vector<std::string>& names,
                                    std::string_view start = "") {
    std::string bytes(start);
    for (const std::string& name : names) {
        bytes += name + "\t(^_^)\r\n";
    }
    return dictionary::ReadDictionaryBytes(bytes, win::SystemLeadByte);
}

// The same names in UTF-8, with characters Shift-JIS lacks among them: a
// heart, one beyond the BMP, a combining mark, an Arabic letter.
std::vector<std::string> Utf8Names(const std::vector<std::string>& names, unsigned seed) {
    const char* const extra[] = {"\xE2\x99\xA5", "\xF0\x9F\x90\xBB", "\xCC\x81", "\xD9\x84"};
    std::mt19937 random(seed);
    std::vector<std::string> utf8;
    for (const std::string& name : names) {
        utf8.push_back(testsupport::ToUtf8(testsupport::FromCp932(name)) +
                       (random() % 2 ? extra[random() % 4] : ""));
    }
    return utf8;
}

// Names in one group "ab" of pieces the control compares in hard ways: case, widths,
// kana, word-sort punctuation, ignored control bytes, codes it makes one text (≒ and ∵
// have NEC, IBM and JIS codes; 85 40 is unmapped).
std::vector<std::string> RandomNames(unsigned seed, int count) {
    const std::vector<std::string> pieces = {
        "a",        "A",        "b",        "\x82\x81", "\x82\x60", "\xb1",     "\x83\x41",
        "\x82\xa0", "-",        "'",        "\x01",     "1",        "\x82\x50", "\x87\x90",
        "\x81\xe0", "\x81\xe6", "\x87\x9a", "\xfa\x5b", "\x85\x40", " ",        "\x81\x5b"};
    std::mt19937 random(seed);
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        std::string name = "ab";
        for (int length = 1 + static_cast<int>(random() % 3); length > 0; --length) {
            name += pieces[random() % pieces.size()];
        }
        names.push_back(name);
    }
    return names;
}

TEST(CategoryTreeOrder, SameTreeAsSortingEachCategoryInOneByOne) {
    std::vector<std::vector<std::string>> cases = {
        {"\x82\xa0\x82\xa2", "\x82\xa0\x82\xa0", "\x82\xa9", "a", "ab", "a\x82\xa0", "a"}};
    for (unsigned seed = 1; seed <= 4; ++seed) {
        cases.push_back(RandomNames(seed, 300));
    }
    for (const std::vector<std::string>& names : cases) {
        const dictionary::Dictionary dictionary = DictionaryOf(names);
        TreeWindow oneByOne;
        TreeWindow atOnce;
        FillOneByOne(oneByOne.tree, dictionary);
        dictionary::FillCategoryTree(atOnce.tree, dictionary);
        EXPECT_EQ(ItemsOf(atOnce.tree), ItemsOf(oneByOne.tree)) << names.size();
    }
    for (unsigned seed = 1; seed <= 2; ++seed) {
        const dictionary::Dictionary dictionary =
            DictionaryOf(Utf8Names(RandomNames(seed, 300), seed), "\xEF\xBB\xBF");
        ASSERT_EQ(dictionary.encoding, text::Encoding::Utf8);
        TreeWindow oneByOne;
        TreeWindow atOnce;
        FillOneByOne(oneByOne.tree, dictionary);
        dictionary::FillCategoryTree(atOnce.tree, dictionary);
        EXPECT_EQ(ItemsOf(atOnce.tree), ItemsOf(oneByOne.tree)) << "UTF-8, seed " << seed;
    }
}

}  // namespace
