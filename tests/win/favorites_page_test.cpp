// The favourites page: additions, moves, deletes, delivery and a file held elsewhere.
#include "MainDialogFixture.h"

namespace {

using namespace maindialogtest;

TEST(Favorites, AdditionsAppendExactBytesOrAreRefused) {
    const struct {
        std::optional<std::string> before;  // the file at start; none: no file
        std::string kaomoji;                // "": nothing selected
        std::string after;
        UINT message;  // 0: none
    } additions[] = {
        {std::nullopt, kWaveLong, kWaveLong + "\r\n", 0},  // the first start makes the file
        {kWaveLong + "\r\n", kWave, kWaveLong + "\r\n" + kWave + "\r\n", 0},
        {kCry + "\r\n", kCry, kCry + "\r\n", IDS_DUPLICATE_FAVORITE},
        {kCry + "\r\n", kCryOtherCase, kCry + "\r\n", IDS_DUPLICATE_FAVORITE},  // ASCII case
        {kKatakanaA + "\r\n", kKatakanaDi, kKatakanaA + "\r\n" + kKatakanaDi + "\r\n", 0},
        {"a\r\nb", kCry, "a\r\nb\r\n" + kCry + "\r\n", 0},  // no line end at the end
        {"a\r\nb\r\n\032after\r\n", kCry, "a\r\nb\r\n" + kCry + "\r\n\032after\r\n", 0},
        {"a\r\n", "", "a\r\n", IDS_SELECT_ITEM},
        {kJis + "\r\n", kNec, kJis + "\r\n" + kNec + "\r\n", 0},  // twins, not duplicates
    };
    for (const auto& add : additions) {
        SCOPED_TRACE(add.before.value_or("<none>") + " + " + add.kaomoji);
        Pelo pelo(FavoritesFolder(add.before));
        ASSERT_TRUE(pelo.Start());
        EXPECT_EQ(pelo.StartMessages(), Strings{});
        EXPECT_EQ(pelo.File("Favorite.txt"), add.before.value_or(""));
        Strings expected = pelo.Items(IDC_FAVORITE_LIST);
        SelectKaomoji(pelo, add.kaomoji);
        EXPECT_EQ(pelo.Command(IDC_ADD_FAVORITE),
                  add.message ? Strings{ResourceText(add.message)} : Strings{});
        if (!add.message) {
            expected.push_back(ToCp932(FromCp932(add.kaomoji)));  // as a list box shows it
        }
        EXPECT_EQ(pelo.Items(IDC_FAVORITE_LIST), expected);
        ExpectExtentCoversLongest(pelo.Control(IDC_FAVORITE_LIST));
        EXPECT_EQ(pelo.Selection(IDC_FAVORITE_LIST), LB_ERR);
        EXPECT_EQ(pelo.File("Favorite.txt"), add.after);
    }
}

// ---- Favourites in UTF-8 ------------------------------------------------------

constexpr char kMark[] = "\xEF\xBB\xBF";
const std::wstring kHearts = L"(♥ω♥)";  // no Shift-JIS form
const std::wstring kSo = L"(ソ)";       // one: 83 5C
const std::wstring kBear = L"\U0001F43B";

// A UTF-8 dictionary of one category holding `kaomoji`, and `favorites` if any.
std::map<std::string, std::string> Utf8Folder(const std::vector<std::wstring>& kaomoji,
                                              std::optional<std::string> favorites) {
    std::string dic = kMark;
    for (const std::wstring& text : kaomoji) {
        dic += ToUtf8(L"はーと\t" + text + L"\r\n");
    }
    std::map<std::string, std::string> files{{"dic.txt", dic}};
    if (favorites) {
        files["Favorite.txt"] = *favorites;
    }
    return files;
}


// String `id` with its "%1" replaced by `argument`.
std::string FormatMessageText(UINT id, const std::string& argument) {
    std::string text = ResourceText(id);
    text.replace(text.find("%1"), 2, argument);
    return text;
}

std::string Utf8Lines(const std::vector<std::wstring>& entries) {
    std::string bytes;
    for (const std::wstring& entry : entries) {
        bytes += ToUtf8(entry) + "\r\n";
    }
    return bytes;
}

TEST(Favorites, AFileStaysInItsEncodingUntilAKaomojiNeedsUtf8) {
    const std::string cannotMove =
        FormatMessageText(IDS_FAVORITE_CANNOT_MOVE, ToCp932(FromCp932(kNec)));
    const struct {
        const char* what;
        std::optional<std::string> before;
        std::wstring kaomoji;
        std::string after;
        std::string message;  // "": none
    } additions[] = {
        {"a new file for a kaomoji beyond Shift-JIS", std::nullopt, kHearts,
         kMark + Utf8Lines({kHearts}), ""},
        {"Shift-JIS holds what it can", "a\r\n", kSo, "a\r\n(\x83\x5C)\r\n", ""},
        {"Shift-JIS becomes UTF-8, every entry moving", ToCp932(kSo) + "\r\n", kHearts,
         kMark + Utf8Lines({kSo, kHearts}), ""},
        {"an NEC code cannot move: nothing is written", kNec + "\r\n" + ToCp932(kSo) + "\r\n",
         kHearts, kNec + "\r\n" + ToCp932(kSo) + "\r\n", cannotMove},
        {"UTF-8 without the mark stays so", Utf8Lines({kBear}), kSo, Utf8Lines({kBear, kSo}), ""},
        {"UTF-8 with the mark keeps it", kMark + std::string("x\r\n"), kHearts,
         kMark + std::string("x\r\n") + Utf8Lines({kHearts}), ""},
        {"a duplicate in UTF-8", kMark + Utf8Lines({kSo}), kSo, kMark + Utf8Lines({kSo}),
         ResourceText(IDS_DUPLICATE_FAVORITE)},
        {"a duplicate across encodings", ToCp932(kSo) + "\r\n", kSo, ToCp932(kSo) + "\r\n",
         ResourceText(IDS_DUPLICATE_FAVORITE)},
    };
    for (const auto& add : additions) {
        SCOPED_TRACE(add.what);
        Pelo pelo(Utf8Folder({kHearts, kSo, kBear}, add.before));
        ASSERT_TRUE(pelo.Start());
        EXPECT_EQ(pelo.StartMessages(), Strings{});
        SelectInFirstCategory(pelo, add.kaomoji == kHearts ? 0 : add.kaomoji == kSo ? 1 : 2);
        EXPECT_EQ(pelo.Command(IDC_ADD_FAVORITE),
                  add.message.empty() ? Strings{} : Strings{add.message});
        EXPECT_EQ(pelo.File("Favorite.txt"), add.after);
        if (add.message.empty()) {
            EXPECT_EQ(WideListItems(pelo.Control(IDC_FAVORITE_LIST)).back(), add.kaomoji);
        }
    }
}

// A UTF-8 file is rewritten in UTF-8 with its mark, and every entry goes out
// exactly as its characters.
TEST(Favorites, AUtf8FileIsShownMovedAndDeliveredExactly) {
    Pelo pelo(Utf8Folder({kHearts}, kMark + Utf8Lines({kHearts, kSo, kBear})));
    ASSERT_TRUE(pelo.Start());
    EXPECT_EQ(WideListItems(pelo.Control(IDC_FAVORITE_LIST)),
              (std::vector<std::wstring>{kHearts, kSo, kBear}));
    pelo.Select(IDC_FAVORITE_LIST, 0);
    EXPECT_EQ(pelo.Command(IDC_FAVORITE_DOWN), Strings{});
    EXPECT_EQ(pelo.File("Favorite.txt"), kMark + Utf8Lines({kSo, kHearts, kBear}));
    pelo.Select(IDC_FAVORITE_LIST, 2);
    ASSERT_TRUE(SetClipboardText("before"));
    pelo.Command(IDC_FAVORITE_LIST, LBN_DBLCLK);
    EXPECT_EQ(ClipboardUnicodeText(), kBear);
    EXPECT_EQ(pelo.Command(IDC_DELETE_FAVORITE), Strings{});
    EXPECT_EQ(pelo.File("Favorite.txt"), kMark + Utf8Lines({kSo, kHearts}));
}

TEST(Favorites, MovesAndDeletesRewriteTheFileWithCrLf) {
    const std::string start = "a\n\nc\nd\n";  // LF and an empty line, as an editor may leave
    Pelo pelo(FavoritesFolder(start));
    ASSERT_TRUE(pelo.Start());
    pelo.ShowTab(kFavoritesTab);
    for (int button : {IDC_FAVORITE_UP, IDC_FAVORITE_DOWN, IDC_DELETE_FAVORITE}) {
        EXPECT_EQ(pelo.Command(button), Strings{ResourceText(IDS_SELECT_ITEM)});
    }
    ASSERT_TRUE(SetClipboardText("before"));  // a double-click on no entry copies nothing
    pelo.Command(IDC_KAOMOJI_LIST, LBN_DBLCLK);
    pelo.Command(IDC_FAVORITE_LIST, LBN_DBLCLK);
    EXPECT_EQ(ClipboardText(), "before");
    const struct {
        int selected, button;
        Strings entries;
        int selection;
    } steps[] = {
        {0, IDC_FAVORITE_UP, {"a", "", "c", "d"}, 0},    // the first cannot go up,
        {3, IDC_FAVORITE_DOWN, {"a", "", "c", "d"}, 3},  // nor the last down: no rewrite
        {1, IDC_FAVORITE_UP, {"", "a", "c", "d"}, 0},
        {0, IDC_FAVORITE_DOWN, {"a", "", "c", "d"}, 1},
        {2, IDC_FAVORITE_DOWN, {"a", "", "d", "c"}, 3},
        {0, IDC_DELETE_FAVORITE, {"", "d", "c"}, 0},
        {1, IDC_DELETE_FAVORITE, {"", "c"}, 1},
        {1, IDC_DELETE_FAVORITE, {""}, 0},
        {0, IDC_DELETE_FAVORITE, {}, LB_ERR},
    };
    bool rewritten = false;
    for (const auto& step : steps) {
        SCOPED_TRACE(step.selected);
        pelo.Select(IDC_FAVORITE_LIST, step.selected);
        EXPECT_EQ(pelo.Command(step.button), Strings{});
        EXPECT_EQ(pelo.Items(IDC_FAVORITE_LIST), step.entries);
        EXPECT_EQ(pelo.Selection(IDC_FAVORITE_LIST), step.selection);
        rewritten |= step.entries != Strings{"a", "", "c", "d"};
        EXPECT_EQ(pelo.File("Favorite.txt"), rewritten ? Lines(step.entries) : start);
    }
}

// Each way out gives the entry's own bytes, not what its list box shows.
TEST(Favorites, EveryWayOfDeliveringGivesTheEntrysOwnBytes) {
    const Strings twins = {kNec, kIbm, kJis};
    Pelo pelo(FavoritesFolder(Lines(twins)));
    const HWND window = pelo.Start();
    ASSERT_TRUE(window);
    // A double-click, Space or Ctrl+C on the list, as the list hands them to the dialog.
    const auto copied = [&](int list, int way) {
        SetClipboardText("before");
        if (way == LBN_DBLCLK) {
            pelo.Command(list, way);
        } else {
            pelo.Key(list, static_cast<UINT>(way) & 0xFFFF, static_cast<UINT>(way) >> 16);
        }
        return ClipboardText().value_or("<none>");
    };
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        SelectKaomoji(pelo, twins[i]);
        pelo.Select(IDC_FAVORITE_LIST, i);
        for (int code : {LBN_DBLCLK, VK_SPACE, static_cast<int>(MAKELONG('C', win::kCtrl))}) {
            EXPECT_EQ(copied(IDC_KAOMOJI_LIST, code), twins[i]);
            EXPECT_EQ(copied(IDC_FAVORITE_LIST, code), twins[i]);
        }
        ::SendMessageW(window, WM_COMMAND, ID_TRAY_FAVORITE_FIRST + i, 0);
        EXPECT_EQ(ClipboardText(), twins[i]);
    }
    pelo.Select(IDC_FAVORITE_LIST, 0);
    EXPECT_EQ(pelo.Command(IDC_FAVORITE_DOWN), Strings{});
    EXPECT_EQ(pelo.File("Favorite.txt"), Lines({kIbm, kNec, kJis}));
}

TEST(Favorites, AFileHeldByAnotherProgramIsReportedAndStaysWhole) {
    Pelo pelo(FavoritesFolder(Lines({"a", "b"})));
    HANDLE hold = ::CreateFileW(pelo.PathOf("Favorite.txt").c_str(), GENERIC_READ, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(pelo.Start());
    EXPECT_EQ(pelo.Items(IDC_FAVORITE_LIST), Strings{});
    ASSERT_EQ(pelo.StartMessages().size(), 1u) << "told once, at start";
    EXPECT_NE(pelo.StartMessages()[0].find(pelo.PathOf("Favorite.txt").string()), std::string::npos)
        << pelo.StartMessages()[0];
    ::CloseHandle(hold);
    SelectKaomoji(pelo, "c");  // the next add reads the file again, now free
    EXPECT_EQ(pelo.Command(IDC_ADD_FAVORITE), Strings{});
    const std::string old = Lines({"a", "b", "c"});
    EXPECT_EQ(pelo.File("Favorite.txt"), old);
    hold = ::CreateFileW(pelo.PathOf("Favorite.txt").c_str(), GENERIC_READ, 0, nullptr,
                         OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hold, INVALID_HANDLE_VALUE);
    SelectKaomoji(pelo, kCry);
    for (int button : {IDC_ADD_FAVORITE, IDC_DELETE_FAVORITE}) {
        pelo.Select(IDC_FAVORITE_LIST, 1);
        const Strings shown = pelo.Command(button);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_NE(shown[0].find("Favorite.txt"), std::string::npos) << shown[0];
        EXPECT_EQ(pelo.Items(IDC_FAVORITE_LIST), (Strings{"a", "b", "c"}));
    }
    ::CloseHandle(hold);
    EXPECT_EQ(pelo.File("Favorite.txt"), old);
    EXPECT_EQ(pelo.Snapshot().size(), 2u) << "no temporary file left beside it";
    pelo.Select(IDC_FAVORITE_LIST, 1);
    EXPECT_EQ(pelo.Command(IDC_DELETE_FAVORITE), Strings{});
    EXPECT_EQ(pelo.File("Favorite.txt"), Lines({"a", "c"}));
}

}  // namespace
