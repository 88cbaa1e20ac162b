// Finding kaomoji by typing, on the real main dialog in this process: it runs
// modally on a thread of its own in a temporary current folder, in the
// foreground, and the test types into it with SendInput as a user would
// (characters as KEYEVENTF_UNICODE, the way an input method hands them over).
#include "MainDialogFixture.h"

namespace {

using namespace maindialogtest;

std::string Cp932(std::wstring_view text) {
    return ToCp932(text);
}

// Groups in file order (し, あ, く), as the tree shows them and results come.
const std::wstring kDictionary =
    L"しょぼーん\t(´・ω・｀)\tがっかり しょんぼり\r\n"
    L"しょぼーん\t(´･ω･`)\r\n"
    L"あいさつ\t(^_^)/\tやあ おはよう\r\n"
    L"あいさつ\t(・∀・)ﾉ\r\n"
    L"あいさつ\t(´・ω・｀)\r\n"  // again, under another category
    L"くま\t(´(ｴ)｀)\tベア\r\n"
    L"くま\t(ﾟДﾟ)\tびっくり\r\n";

// The dialog brought forward with the focus on the tree, as a summon leaves
// it, and what the search tests read of it.
class Pelo : public maindialogtest::Pelo {
public:
    explicit Pelo(std::map<std::string, std::string> files = {{"dic.txt", Cp932(kDictionary)}})
        : maindialogtest::Pelo(std::move(files)) {}

    bool Start() {
        const HWND window = maindialogtest::Pelo::Start();
        return window != nullptr && BringToForeground(window) &&
               WaitUntil([&] { return FocusedWindowOf(window) == Control(IDC_CATEGORY_TREE); });
    }

    HWND Field() const { return Control(IDC_KAOMOJI_SEARCH); }
    HWND Focus() const { return FocusedWindowOf(Window()); }
    Strings Items() const { return ListItems(Control(IDC_KAOMOJI_LIST)); }
    int Selection() const { return ListSelection(Control(IDC_KAOMOJI_LIST)); }
    RECT Place(int id) const {
        RECT rect = ScreenRect(Control(id));
        ::MapWindowPoints(HWND_DESKTOP, Window(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    // Selects category item `name` as a click would: the tree notifies the dialog.
    bool SelectCategory(std::wstring_view name) const {
        const HWND tree = Control(IDC_CATEGORY_TREE);
        const auto next = [&](UINT relation, HTREEITEM item) {
            return reinterpret_cast<HTREEITEM>(
                ::SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
        };
        for (HTREEITEM group = next(TVGN_ROOT, nullptr); group; group = next(TVGN_NEXT, group)) {
            for (HTREEITEM item = next(TVGN_CHILD, group); item; item = next(TVGN_NEXT, item)) {
                wchar_t text[64] = {};
                TVITEMW request{TVIF_TEXT | TVIF_HANDLE, item, 0, 0, text, 64, 0, 0, 0, 0};
                ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&request));
                if (name == text) {
                    ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET,
                                   reinterpret_cast<LPARAM>(item));
                    return true;
                }
            }
        }
        return false;
    }

    // Types, then waits until the field shows `shown`: each key has been handled.
    bool Type(std::wstring_view text, std::wstring_view shown) const {
        TypeText(text);
        return WaitUntil([&] { return WindowTextW(Field()) == shown; });
    }
    bool WaitForItems(const Strings& items) const {
        return WaitUntil([&] { return Items() == items; });
    }
};

const Strings kShobon = {Cp932(L"(´・ω・｀)"), Cp932(L"(´･ω･`)")};

TEST(Search, TypingOnTheTreeOpensTheFieldAboveTheListsAndListsMatchesAsOneTypes) {
    Pelo pelo;
    ASSERT_TRUE(pelo.Start());
    const RECT tree = pelo.Place(IDC_CATEGORY_TREE);
    const RECT list = pelo.Place(IDC_KAOMOJI_LIST);
    EXPECT_EQ(pelo.Field(), nullptr);

    ASSERT_TRUE(pelo.Type(L"ω", L"ω"));
    EXPECT_EQ(pelo.Focus(), pelo.Field());
    // The field stands where the tree and list began, which start below it.
    const RECT field = pelo.Place(IDC_KAOMOJI_SEARCH);
    EXPECT_EQ(field.top, tree.top);
    EXPECT_EQ(field.left, tree.left);
    EXPECT_EQ(field.right, list.right);
    for (int id : {IDC_CATEGORY_TREE, IDC_KAOMOJI_LIST}) {
        const RECT now = pelo.Place(id);
        EXPECT_GT(now.top, field.bottom) << id;
        EXPECT_EQ(now.bottom, (id == IDC_CATEGORY_TREE ? tree : list).bottom) << id;
    }
    // Dictionary order, the kaomoji under two categories once.
    EXPECT_TRUE(pelo.WaitForItems(kShobon));
    EXPECT_EQ(pelo.Selection(), 0);

    // Half-width against full-width, katakana against hiragana, several words.
    ASSERT_TRUE(pelo.Type(L"\u3000ｶﾞｯｶﾘ", L"ω\u3000ｶﾞｯｶﾘ"));
    EXPECT_TRUE(pelo.WaitForItems({kShobon[0]}));
    // A category's name finds its every kaomoji; a keyword finds its own.
    PressKey('A', {VK_CONTROL});
    ASSERT_TRUE(pelo.Type(L"クマ", L"クマ"));
    EXPECT_TRUE(pelo.WaitForItems({Cp932(L"(´(ｴ)｀)"), Cp932(L"(ﾟДﾟ)")}));
    ASSERT_TRUE(pelo.Type(L" ﾋﾞｯｸﾘ", L"クマ ﾋﾞｯｸﾘ"));
    EXPECT_TRUE(pelo.WaitForItems({Cp932(L"(ﾟДﾟ)")}));
    EXPECT_EQ(pelo.Selection(), 0);

    // Nothing found: said in the list's place, no message box.
    ASSERT_TRUE(pelo.Type(L"x", L"クマ ﾋﾞｯｸﾘx"));
    const HWND noMatch = pelo.Control(IDC_KAOMOJI_NO_MATCH);
    EXPECT_TRUE(WaitUntil([&] { return IsVisible(noMatch); }));
    EXPECT_EQ(WindowTextW(noMatch), L"一致する顔文字はありません");
    EXPECT_FALSE(IsVisible(pelo.Control(IDC_KAOMOJI_LIST)));
    EXPECT_EQ(FindMessageBox(::GetCurrentProcessId()), nullptr);
    PressKey(VK_BACK);
    EXPECT_TRUE(WaitUntil([&] { return IsVisible(pelo.Control(IDC_KAOMOJI_LIST)); }));
    EXPECT_FALSE(IsVisible(noMatch));
    EXPECT_TRUE(pelo.WaitForItems({Cp932(L"(ﾟДﾟ)")}));
}

TEST(Search, EscapeClosesTheFieldAndPutsBackTheCategoryAndItsSelectionASecondEndsPelo) {
    Pelo pelo;
    ASSERT_TRUE(pelo.Start());
    const RECT tree = pelo.Place(IDC_CATEGORY_TREE);
    const RECT list = pelo.Place(IDC_KAOMOJI_LIST);
    ASSERT_TRUE(pelo.SelectCategory(L"あいさつ"));
    const Strings greetings = {Cp932(L"(^_^)/"), Cp932(L"(・∀・)ﾉ"), Cp932(L"(´・ω・｀)")};
    ASSERT_EQ(pelo.Items(), greetings);
    SetListSelection(pelo.Control(IDC_KAOMOJI_LIST), 1);
    ::SendMessageW(pelo.Window(), WM_NEXTDLGCTL,
                   reinterpret_cast<WPARAM>(pelo.Control(IDC_KAOMOJI_LIST)), TRUE);

    // A character on the list opens the field with it.
    ASSERT_TRUE(pelo.Type(L"^", L"^"));
    EXPECT_TRUE(pelo.WaitForItems({greetings[0]}));
    // An empty field shows what the list showed before.
    PressKey(VK_BACK);
    EXPECT_TRUE(pelo.WaitForItems(greetings));

    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return pelo.Field() == nullptr; }));
    EXPECT_TRUE(pelo.WaitForItems(greetings));
    EXPECT_EQ(pelo.Selection(), 1);
    EXPECT_EQ(pelo.Focus(), pelo.Control(IDC_KAOMOJI_LIST));
    const RECT treeAfter = pelo.Place(IDC_CATEGORY_TREE);
    const RECT listAfter = pelo.Place(IDC_KAOMOJI_LIST);
    EXPECT_TRUE(::EqualRect(&treeAfter, &tree));
    EXPECT_TRUE(::EqualRect(&listAfter, &list));
    EXPECT_FALSE(pelo.Ended());

    // Escape on the list while the field is open closes the field too.
    PressKey('F', {VK_CONTROL});
    ASSERT_TRUE(WaitUntil([&] { return pelo.Focus() == pelo.Field() && pelo.Field(); }));
    ASSERT_TRUE(pelo.Type(L"くま", L"くま"));
    ::SendMessageW(pelo.Window(), WM_NEXTDLGCTL,
                   reinterpret_cast<WPARAM>(pelo.Control(IDC_KAOMOJI_LIST)), TRUE);
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return pelo.Field() == nullptr; }));
    EXPECT_TRUE(pelo.WaitForItems(greetings));
    EXPECT_FALSE(pelo.Ended());

    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return pelo.Ended(); }));
}

TEST(Search, KeysInTheFieldMoveThroughTheResultsDeliverCopyAndAddToFavourites) {
    Pelo pelo;
    ASSERT_TRUE(pelo.Start());
    PressKey('F', {VK_CONTROL});
    ASSERT_TRUE(WaitUntil([&] { return pelo.Field() && pelo.Focus() == pelo.Field(); }));
    EXPECT_EQ(pelo.Items(), Strings{});  // an empty field leaves the list as it was

    ASSERT_TRUE(pelo.Type(L"(´", L"(´"));
    const Strings found = {Cp932(L"(´・ω・｀)"), Cp932(L"(´･ω･`)"), Cp932(L"(´(ｴ)｀)")};
    ASSERT_TRUE(pelo.WaitForItems(found));
    EXPECT_EQ(pelo.Selection(), 0);
    PressKey(VK_DOWN);
    EXPECT_TRUE(WaitUntil([&] { return pelo.Selection() == 1; }));
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);  // past the last stays there
    EXPECT_TRUE(WaitUntil([&] { return pelo.Selection() == 2; }));
    PressKey(VK_UP);
    EXPECT_TRUE(WaitUntil([&] { return pelo.Selection() == 1; }));
    EXPECT_EQ(pelo.Focus(), pelo.Field());

    // Ctrl+C copies the selected result, its own bytes.
    SetClipboardText("before");
    PressKey('C', {VK_CONTROL});
    EXPECT_TRUE(WaitUntil([&] { return ClipboardText() == found[1]; }));

    // "お気に入りに追加" adds the selected result.
    ::SendMessageW(pelo.Window(), WM_COMMAND, MAKEWPARAM(IDC_ADD_FAVORITE, BN_CLICKED),
                   reinterpret_cast<LPARAM>(pelo.Control(IDC_ADD_FAVORITE)));
    EXPECT_EQ(pelo.File("Favorite.txt"), found[1] + "\r\n");

    // Enter delivers it as a double-click does: copied first (the paste has no
    // window to go to here); the field stays for the next search.
    SetClipboardText("before");
    PressKey(VK_UP);
    EXPECT_TRUE(WaitUntil([&] { return pelo.Selection() == 0; }));
    ::SendMessageW(pelo.Window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pelo.Field()), TRUE);
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return ClipboardText() == found[0]; }));
    EXPECT_FALSE(pelo.Ended());
}

TEST(Search, TypedCharactersReachTheFieldWholeAndGoOnAtItsEnd) {
    Pelo pelo;
    ASSERT_TRUE(pelo.Start());
    ASSERT_TRUE(pelo.Type(L"(", L"("));
    // Back on the list, a character typed there goes on after what the field
    // holds, not over it.
    ::SendMessageW(pelo.Window(), WM_NEXTDLGCTL,
                   reinterpret_cast<WPARAM>(pelo.Control(IDC_KAOMOJI_LIST)), TRUE);
    ASSERT_TRUE(pelo.Type(L"´", L"(´"));
    EXPECT_EQ(pelo.Focus(), pelo.Field());
    const Strings found = {Cp932(L"(´・ω・｀)"), Cp932(L"(´･ω･`)"), Cp932(L"(´(ｴ)｀)")};
    EXPECT_TRUE(pelo.WaitForItems(found));

    // Down held: every repeat moves on (a repeat as the keyboard sends it).
    for (int repeat = 0; repeat < 2; ++repeat) {
        ::PostMessageW(pelo.Field(), WM_KEYDOWN, VK_DOWN, 1 | (1L << 30));
    }
    EXPECT_TRUE(WaitUntil([&] { return pelo.Selection() == 2; }));

    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return pelo.Field() == nullptr; }));
    ASSERT_EQ(pelo.Focus(), pelo.Control(IDC_CATEGORY_TREE));
    // A character beyond the code page, two UTF-16 units, opens the field
    // whole; on the list too, a character the code page lacks.
    ASSERT_TRUE(pelo.Type(L"\U0001F43B", L"\U0001F43B"));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return pelo.Field() == nullptr; }));
    ::SendMessageW(pelo.Window(), WM_NEXTDLGCTL,
                   reinterpret_cast<WPARAM>(pelo.Control(IDC_KAOMOJI_LIST)), TRUE);
    ASSERT_TRUE(pelo.Type(L"ʕ", L"ʕ"));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return pelo.Field() == nullptr; }));

    // An input method starting to compose on the tree opens the field, where
    // the composition goes on.
    ::SendMessageW(pelo.Control(IDC_CATEGORY_TREE), WM_IME_STARTCOMPOSITION, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return pelo.Field() && pelo.Focus() == pelo.Field(); }));
    EXPECT_EQ(WindowTextW(pelo.Field()), L"");
    EXPECT_FALSE(pelo.Ended());
}

TEST(Search, ChoosingACategoryEndsTheSearchAndLeavingThePageClosesTheField) {
    Pelo pelo;
    ASSERT_TRUE(pelo.Start());
    ASSERT_TRUE(pelo.Type(L"ω", L"ω"));
    ASSERT_TRUE(pelo.WaitForItems(kShobon));
    ASSERT_TRUE(pelo.SelectCategory(L"くま"));
    EXPECT_EQ(pelo.Field(), nullptr);
    EXPECT_EQ(pelo.Items(), (Strings{Cp932(L"(´(ｴ)｀)"), Cp932(L"(ﾟДﾟ)")}));

    ASSERT_TRUE(pelo.Type(L"x", L"x"));  // the focus stayed on the tree
    ::SendMessageW(pelo.Control(IDC_TAB), TCM_SETCURFOCUS, 1, 0);
    EXPECT_EQ(pelo.Field(), nullptr);
    EXPECT_FALSE(IsVisible(pelo.Control(IDC_KAOMOJI_NO_MATCH)));
    EXPECT_FALSE(IsVisible(pelo.Control(IDC_KAOMOJI_LIST)));
    ::SendMessageW(pelo.Control(IDC_TAB), TCM_SETCURFOCUS, 0, 0);
    EXPECT_TRUE(IsVisible(pelo.Control(IDC_KAOMOJI_LIST)));
    EXPECT_EQ(pelo.Items(), (Strings{Cp932(L"(´(ｴ)｀)"), Cp932(L"(ﾟДﾟ)")}));
}

TEST(Search, TheFavouritesFieldFiltersInTheirOrderWithTheMoveButtonsOff) {
    const Strings favourites = {Cp932(L"(^_^)/"), Cp932(L"(´・ω・｀)"), Cp932(L"ヽ(・∀・)ﾉ"),
                                Cp932(L"(*´ω｀*)")};
    std::string file;
    for (const std::string& entry : favourites) {
        file += entry + "\r\n";
    }
    Pelo pelo({{"dic.txt", Cp932(kDictionary)}, {"Favorite.txt", file}});
    ASSERT_TRUE(pelo.Start());
    ::SendMessageW(pelo.Control(IDC_TAB), TCM_SETCURFOCUS, 1, 0);
    const HWND list = pelo.Control(IDC_FAVORITE_LIST);
    ::SendMessageW(pelo.Window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
    const auto field = [&] { return pelo.Control(IDC_FAVORITE_SEARCH); };

    TypeText(L"Ω");
    ASSERT_TRUE(WaitUntil([&] { return WindowTextW(field()) == L"Ω"; }));
    EXPECT_TRUE(WaitUntil([&] {
        return ListItems(list) == Strings{favourites[1], favourites[3]};
    }));
    EXPECT_EQ(ListSelection(list), 0);
    EXPECT_GT(pelo.Place(IDC_FAVORITE_LIST).top, pelo.Place(IDC_FAVORITE_SEARCH).bottom);
    for (int id : {IDC_FAVORITE_UP, IDC_FAVORITE_DOWN}) {
        EXPECT_FALSE(::IsWindowEnabled(pelo.Control(id))) << id;
    }
    PressKey(VK_DOWN);
    EXPECT_TRUE(WaitUntil([&] { return ListSelection(list) == 1; }));
    SetClipboardText("before");
    PressKey('C', {VK_CONTROL});
    EXPECT_TRUE(WaitUntil([&] { return ClipboardText() == favourites[3]; }));

    // Deleting a found favourite rewrites the file without it; the rest stay found.
    PressKey(VK_UP);
    ASSERT_TRUE(WaitUntil([&] { return ListSelection(list) == 0; }));
    ::SendMessageW(pelo.Window(), WM_COMMAND, MAKEWPARAM(IDC_DELETE_FAVORITE, BN_CLICKED),
                   reinterpret_cast<LPARAM>(pelo.Control(IDC_DELETE_FAVORITE)));
    EXPECT_EQ(pelo.File("Favorite.txt"),
              favourites[0] + "\r\n" + favourites[2] + "\r\n" + favourites[3] + "\r\n");
    EXPECT_EQ(ListItems(list), Strings{favourites[3]});

    TypeText(L"x");
    ASSERT_TRUE(WaitUntil([&] { return WindowTextW(field()) == L"Ωx"; }));
    EXPECT_TRUE(WaitUntil([&] { return IsVisible(pelo.Control(IDC_FAVORITE_NO_MATCH)); }));
    EXPECT_FALSE(IsVisible(list));

    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return field() == nullptr; }));
    EXPECT_TRUE(IsVisible(list));
    EXPECT_EQ(ListItems(list), (Strings{favourites[0], favourites[2], favourites[3]}));
    for (int id : {IDC_FAVORITE_UP, IDC_FAVORITE_DOWN}) {
        EXPECT_TRUE(::IsWindowEnabled(pelo.Control(id))) << id;
    }
    EXPECT_FALSE(pelo.Ended());

    // Enter in the field delivers the found favourite.
    TypeText(L"ﾉ");
    ASSERT_TRUE(WaitUntil([&] { return ListItems(list) == Strings{favourites[2]}; }));
    SetClipboardText("before");
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return ClipboardText() == favourites[2]; }));
}

// A UTF-8 dictionary: kaomoji that Shift-JIS cannot hold are found by their
// keywords, their category and any of their characters, and go out whole.
TEST(Search, FindsEveryCharacterOfAUtf8Dictionary) {
    const std::wstring dic =
        L"世界の顔文字\tʕ•ᴥ•ʔ\tくま ベア\r\n"
        L"世界の顔文字\t(♥ω♥)\tはーと\r\n"
        L"世界の顔文字\t\U0001F43B\tくま\r\n"
        L"あいさつ\t(^_^)/\r\n";
    Pelo pelo({{"dic.txt", "\xEF\xBB\xBF" + ToUtf8(dic)}});
    ASSERT_TRUE(pelo.Start());
    const auto found = [&](const std::vector<std::wstring>& items) {
        return WaitUntil([&] { return WideListItems(pelo.Control(IDC_KAOMOJI_LIST)) == items; });
    };
    ASSERT_TRUE(pelo.Type(L"ｸﾏ", L"ｸﾏ"));  // a keyword, in another width and kana
    EXPECT_TRUE(found({L"ʕ•ᴥ•ʔ", L"\U0001F43B"}));
    PressKey('A', {VK_CONTROL});
    ASSERT_TRUE(pelo.Type(L"ᴥ", L"ᴥ"));  // a character Shift-JIS lacks
    EXPECT_TRUE(found({L"ʕ•ᴥ•ʔ"}));
    PressKey('A', {VK_CONTROL});
    ASSERT_TRUE(pelo.Type(L"\U0001F43B", L"\U0001F43B"));  // beyond the BMP
    EXPECT_TRUE(found({L"\U0001F43B"}));
    PressKey('A', {VK_CONTROL});
    ASSERT_TRUE(pelo.Type(L"世界", L"世界"));  // the category
    EXPECT_TRUE(found({L"ʕ•ᴥ•ʔ", L"(♥ω♥)", L"\U0001F43B"}));
    PressKey(VK_DOWN);
    ASSERT_TRUE(WaitUntil([&] { return pelo.Selection() == 1; }));
    ASSERT_TRUE(SetClipboardText("before"));
    PressKey('C', {VK_CONTROL});
    EXPECT_TRUE(WaitUntil([] { return ClipboardUnicodeText() == L"(♥ω♥)"; }));
}

}  // namespace
