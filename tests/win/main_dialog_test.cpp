// The real main dialog in this process: it runs modally on a thread of its own
// in a temporary current folder, and the test drives it from its own thread with
// messages by control id (a cross-thread send returns once handled) and reads
// its tree, lists, menus and files directly. Message texts come from the
// resources linked in (the same script as Pelo.exe's).
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <future>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "app/resource.h"
#include "ui/MainDialog.h"
#include "win/Application.h"

namespace {

using namespace testsupport;
using Strings = std::vector<std::string>;
namespace fs = std::filesystem;

class TestApplication : public win::Application {
} theApp;


std::string Lines(const Strings& entries) {
    std::string bytes;
    for (const std::string& entry : entries) {
        bytes += entry + "\r\n";
    }
    return bytes;
}

// The main dialog's modal run on a thread of its own, in a fresh current folder.
class Pelo {
public:
    explicit Pelo(std::map<std::string, std::string> files = {{"dic.txt", TinyDictionary()}}) {
        for (const auto& [name, bytes] : files) {
            WriteFileBytes(m_folder / name, bytes);
        }
    }
    ~Pelo() {
        if (m_thread.joinable()) {
            if (::IsWindow(m_window)) {
                ::PostMessageW(m_window, WM_COMMAND, IDCANCEL, 0);
            }
            Finish(m_run);
            m_thread.join();
        }
        ::SetCurrentDirectoryW(ExecutableFolder().c_str());
    }

    // Starts the dialog and waits for its window, answering message boxes meanwhile
    // (StartMessages); null when the run ended without a window.
    HWND Start() {
        ::SetCurrentDirectoryW(m_folder.Path().c_str());
        std::promise<void> ended;
        m_run = ended.get_future().share();
        m_thread = std::thread([this, ended = std::move(ended)]() mutable {
            MainDialog dialog;
            theApp.SetMainWindow(&dialog);
            dialog.DoModal();
            dialog.CleanUp();
            theApp.SetMainWindow(nullptr);
            ended.set_value();
        });
        WaitUntil([&] {
            m_window = FindTopLevelWindow(::GetCurrentProcessId(), L"Pelo", L"#32770");
            if (HWND box = FindMessageBox(::GetCurrentProcessId())) {
                m_startMessages.push_back(MessageBoxText(box));
                AnswerMessageBox(box);
            }
            return IsVisible(m_window) || Ended();
        });
        return IsVisible(m_window) ? m_window : nullptr;
    }
    const Strings& StartMessages() const { return m_startMessages; }
    bool Ended() const { return m_run.wait_for(0s) == std::future_status::ready; }
    // Waits for the modal run to end; the message boxes it showed meanwhile.
    Strings FinishRun() const { return Finish(m_run); }

    // Sends from a thread of its own, so that a modal loop it starts does not block the test.
    static std::shared_future<void> SendLater(HWND window, UINT message, WPARAM wParam = 0,
                                              LPARAM lParam = 0) {
        return std::async(std::launch::async,
                          [=] { ::SendMessageW(window, message, wParam, lParam); })
            .share();
    }
    // Waits for `sent` to be done, answering every message box meanwhile with `answer`;
    // their texts, in order.
    static Strings Finish(const std::shared_future<void>& sent, int answer = IDOK) {
        Strings texts;
        WaitUntil([&] {
            if (HWND box = FindMessageBox(::GetCurrentProcessId())) {
                texts.push_back(MessageBoxText(box));
                AnswerMessageBox(box, answer);
            }
            return sent.wait_for(0s) == std::future_status::ready;
        });
        return texts;
    }
    // A command of control `id`, as the control sends it; the message boxes it showed.
    Strings Command(int id, int code = BN_CLICKED, int answer = IDOK) const {
        return Finish(SendLater(m_window, WM_COMMAND, MAKEWPARAM(id, code),
                                reinterpret_cast<LPARAM>(Control(id))),
                      answer);
    }

    HWND Window() const { return m_window; }
    HWND Control(int id) const { return ::GetDlgItem(m_window, id); }
    Strings Items(int list) const { return ListItems(Control(list)); }
    int Selection(int list) const { return ListSelection(Control(list)); }
    void Select(int list, int index) const { SetListSelection(Control(list), index); }
    std::string File(std::string_view name) const { return ReadFileBytes(m_folder / name); }
    bool Has(std::string_view name) const { return FileExists(m_folder / name); }
    fs::path PathOf(std::string_view name) const { return m_folder / name; }
    void Write(std::string_view name, std::string_view bytes) const {
        WriteFileBytes(m_folder / name, bytes);
    }
    // Every file below the folder with its bytes.
    std::map<fs::path, std::string> Snapshot() const {
        std::map<fs::path, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(m_folder.Path())) {
            files[entry.path()] = entry.is_directory() ? "<dir>" : ReadFileBytes(entry.path());
        }
        return files;
    }

    // Selects tab `index` as a click would: the tab control notifies the dialog.
    void ShowTab(int index) const {
        ::SendMessageW(Control(IDC_TAB), TCM_SETCURFOCUS, index, 0);
    }

private:
    TempFolder m_folder;
    std::shared_future<void> m_run;
    std::thread m_thread;
    HWND m_window = nullptr;
    Strings m_startMessages;
};

// ---- Tabs and the window -------------------------------------------------------------------

const std::vector<std::vector<int>> kPages = {
    {IDC_CATEGORY_TREE, IDC_KAOMOJI_LIST, IDC_ADD_FAVORITE},
    {IDC_FAVORITE_LIST, IDC_FAVORITE_UP, IDC_FAVORITE_DOWN, IDC_DELETE_FAVORITE},
    {IDC_AA_LIST, IDC_NEW_AA, IDC_EDIT_AA, IDC_DELETE_AA},
};

std::vector<int> VisiblePageControls(const Pelo& pelo) {
    std::vector<int> visible;
    for (const auto& page : kPages) {
        for (int id : page) {
            if (IsVisible(pelo.Control(id))) {
                visible.push_back(id);
            }
        }
    }
    return visible;
}

std::wstring TabLabel(HWND tab, int index) {
    wchar_t text[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    ::SendMessageW(tab, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
    return text;
}

TEST(MainDialog, OpensOnTheDictionaryCentredWithFocusInTheTreeAndEachTabShowsItsPage) {
    Pelo pelo;
    ASSERT_TRUE(pelo.Start());
    const HWND tab = pelo.Control(IDC_TAB);
    EXPECT_EQ(TabLabel(tab, 0), L"辞書");
    EXPECT_EQ(TabLabel(tab, 1), L"お気に入り");
    EXPECT_EQ(TabLabel(tab, 2), L"AAリスト");
    EXPECT_EQ(::SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(VisiblePageControls(pelo), kPages[0]);
    EXPECT_TRUE(WaitUntil([&] { return FocusedWindowOf(pelo.Window()) == pelo.Control(IDC_CATEGORY_TREE); }));

    const RECT window = ScreenRect(pelo.Window());
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR(window.left + window.right, work.left + work.right, 2);
    EXPECT_NEAR(window.top + window.bottom, work.top + work.bottom, 2 + 2 * 10);  // a WM's nudge

    for (int index : {1, 2, 0, 2, 1}) {
        pelo.ShowTab(index);
        EXPECT_EQ(VisiblePageControls(pelo), kPages[index]) << "tab " << index;
        EXPECT_TRUE(IsVisible(tab));
    }
}

// ---- The dictionary ------------------------------------------------------------------------

// Groups and categories top to bottom as "group" / "  category: kaomoji|kaomoji";
// selecting each item as the tree does for a user. Items of equal text are the
// tree's to order: they are sorted among themselves.
Strings ShownTree(const Pelo& pelo) {
    const HWND tree = pelo.Control(IDC_CATEGORY_TREE);
    const auto next = [&](UINT relation, HTREEITEM item) {
        return reinterpret_cast<HTREEITEM>(
            ::SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
    };
    const auto text = [&](HTREEITEM item) {
        wchar_t buffer[256] = {};
        TVITEMW request{};
        request.mask = TVIF_TEXT | TVIF_HANDLE;
        request.hItem = item;
        request.pszText = buffer;
        request.cchTextMax = 256;
        ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&request));
        return ToCp932(buffer);
    };
    Strings shown;
    for (HTREEITEM group = next(TVGN_ROOT, nullptr); group; group = next(TVGN_NEXT, group)) {
        const Strings before = pelo.Items(IDC_KAOMOJI_LIST);
        ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(group));
        EXPECT_EQ(pelo.Items(IDC_KAOMOJI_LIST), before) << "a group leaves the list alone";
        shown.push_back(text(group));
        const auto first = shown.end() - shown.begin();
        for (HTREEITEM item = next(TVGN_CHILD, group); item; item = next(TVGN_NEXT, item)) {
            ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
            std::string line = "  " + text(item) + ":";
            for (const std::string& kaomoji : pelo.Items(IDC_KAOMOJI_LIST)) {
                line += " " + kaomoji;
            }
            shown.push_back(line);
        }
        for (auto run = shown.begin() + first; run != shown.end();) {
            const auto end = std::find_if(run, shown.end(), [&](const std::string& line) {
                return line.substr(0, line.find(':')) != run->substr(0, run->find(':'));
            });
            std::sort(run, end);
            run = end;
        }
    }
    return shown;
}

TEST(Dictionary, TreeAndListsShowTheFileAsWritten) {
    const std::string so = "\x83\x5C";   // ソ: trail byte '\'
    const std::string hyo = "\x95\x5C";  // 表
    const std::string nec = "\x87\x90";  // ≒ as the NEC code, 81 E0 elsewhere
    const std::string jis = "\x81\xE0";
    const std::string dic =
        "abd\t(d1)\r\n"
        "  abd \t\t(d2)\tignored\n"        // "abd ": trimmed at the line's ends only; LF
        "abc\t (c1)\r\n"                   // the kaomoji keeps its leading space
        "\r\n \t \r\n"                     // blank lines
        "xy\r\n"                           // no TAB: the empty kaomoji
        "abc\t(c2)\r\n"                    // "ab" again, "abc" in a second run
        "A\t(A)\r\n" +
        so + "|\t(s1)\r\n" + so + hyo + "\t" + so + "(s2)\r\n" +  // group "ソ"
        "zz" + nec + "\tnec\r\n" + "zz" + jis + "\tjis\r\n" +  // one text in the tree
        "\xB1\xB2\xB3\t(\xB1)\n";                             // half-width katakana
    Pelo pelo({{"dic.txt", dic}});
    ASSERT_TRUE(pelo.Start());
    EXPECT_EQ(pelo.Items(IDC_KAOMOJI_LIST), Strings{});
    EXPECT_EQ(ShownTree(pelo), (Strings{
                                   "ab",
                                   "  abc:  (c1) (c2)",
                                   "  abd: (d1)",
                                   "  abd : (d2)",
                                   "xy",
                                   "  xy: ",
                                   "ab",
                                   "  abc:  (c1) (c2)",
                                   "A",
                                   "  A: (A)",
                                   so,
                                   "  " + so + "|: (s1)",
                                   "  " + so + hyo + ": " + so + "(s2)",
                                   "zz",
                                   "  zz" + jis + ": jis",
                                   "  zz" + jis + ": nec",
                                   "\xB1\xB2",
                                   "  \xB1\xB2\xB3: (\xB1)",
                               }));
}

// The list is wide enough to scroll to the end of its longest entry.
void ExpectExtentCoversLongest(HWND list) {
    const HDC dc = ::GetDC(list);
    const HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(list, WM_GETFONT, 0, 0)));
    LONG widest = 0;
    for (const std::string& entry : ListItems(list)) {
        const std::wstring text = FromCp932(entry);
        SIZE size{};
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        widest = std::max(widest, size.cx);
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(list, dc);
    EXPECT_GT(widest, 100);
    EXPECT_GT(::SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0), widest);
}

TEST(Dictionary, EveryListScrollsToItsLongestEntry) {
    const std::string longest(80, 'W');
    Pelo pelo({{"dic.txt", "ab\tshort\r\nab\t" + longest + "\r\nab\tx\r\n"},
               {"Favorite.txt", "a\r\n" + longest + "\r\nb\r\n"},
               {"AA\\a.txt", ""}, {"AA\\" + longest + ".txt", ""}, {"AA\\z.txt", ""}});
    ASSERT_TRUE(pelo.Start());
    const HWND tree = pelo.Control(IDC_CATEGORY_TREE);
    const auto group = ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET,
                   ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, group));
    ExpectExtentCoversLongest(pelo.Control(IDC_KAOMOJI_LIST));
    ExpectExtentCoversLongest(pelo.Control(IDC_FAVORITE_LIST));
    ExpectExtentCoversLongest(pelo.Control(IDC_AA_LIST));
}

TEST(Dictionary, AFileThatCannotBeReadEndsTheDialogWithItsMessage) {
    const std::string noDictionary = ResourceText(IDS_NO_DICTIONARY);
    {
        Pelo missing(std::map<std::string, std::string>{});
        EXPECT_EQ(missing.Start(), nullptr);
        EXPECT_EQ(missing.StartMessages(), Strings{noDictionary});
    }
    // Held by another program.
    Pelo held;
    const HANDLE other = ::CreateFileW(held.PathOf("dic.txt").c_str(), GENERIC_READ, 0, nullptr,
                                       OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(held.Start(), nullptr);
    EXPECT_EQ(held.StartMessages(), Strings{noDictionary});
    ::CloseHandle(other);
}

// ---- Favourites -----------------------------------------------------------------------------

const std::string kWave = "(^_^)/";
const std::string kWaveLong = "(^_^)/~~";  // kWave is only its beginning
const std::string kCry = "(ToT)";
const std::string kCryOtherCase = "(tOt)";
const std::string kOmega = ToCp932(L"(´・ω・`)");
const std::string kCapitalOmega = ToCp932(L"(´・Ω・`)");
const std::string kKatakanaA = ToCp932(L"(ア)");   // 83 41: trail byte 'A'
const std::string kKatakanaDi = ToCp932(L"(ヂ)");  // 83 61: trail byte 'a'

// One category holding every kaomoji above.
std::map<std::string, std::string> FavoritesFolder(std::optional<std::string> favorites) {
    std::string dic;
    for (const std::string& kaomoji :
         {kWaveLong, kWave, kCry, kCryOtherCase, kOmega, kCapitalOmega, kKatakanaA, kKatakanaDi}) {
        dic += "ab\t" + kaomoji + "\r\n";
    }
    std::map<std::string, std::string> files{{"dic.txt", dic}};
    if (favorites) {
        files["Favorite.txt"] = *favorites;
    }
    return files;
}

// Shows the one category and selects `kaomoji` in it (none when empty).
void SelectKaomoji(const Pelo& pelo, const std::string& kaomoji) {
    const HWND tree = pelo.Control(IDC_CATEGORY_TREE);
    const auto group = ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET,
                   ::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, group));
    const Strings items = pelo.Items(IDC_KAOMOJI_LIST);
    pelo.Select(IDC_KAOMOJI_LIST,
                static_cast<int>(std::find(items.begin(), items.end(), kaomoji) - items.begin()));
}

struct Addition {
    std::optional<std::string> before;  // the file at start; none: no file
    std::string kaomoji;                // "": nothing selected
    std::string after;
    UINT message;  // 0: none
};

TEST(Favorites, AdditionsAppendExactBytesOrAreRefused) {
    const std::vector<Addition> additions = {
        {std::nullopt, kWaveLong, kWaveLong + "\r\n", 0},  // the first start makes the file
        {kWaveLong + "\r\n", kWave, kWaveLong + "\r\n" + kWave + "\r\n", 0},
        {kCry + "\r\n", kCry, kCry + "\r\n", IDS_DUPLICATE_FAVORITE},
        {kCry + "\r\n", kCryOtherCase, kCry + "\r\n", IDS_DUPLICATE_FAVORITE},  // ASCII case
        {kOmega + "\r\n", kCapitalOmega, kOmega + "\r\n" + kCapitalOmega + "\r\n", 0},
        {kKatakanaA + "\r\n", kKatakanaDi, kKatakanaA + "\r\n" + kKatakanaDi + "\r\n", 0},
        {"a\r\nb", kCry, "a\r\nb\r\n" + kCry + "\r\n", 0},  // no line end at the end
        {"a\r\nb\r\n\032after\r\n", kCry, "a\r\nb\r\n" + kCry + "\r\n\032after\r\n", 0},
        {"a\r\n", "", "a\r\n", IDS_SELECT_ITEM},
    };
    for (const Addition& add : additions) {
        SCOPED_TRACE(add.before.value_or("<none>") + " + " + add.kaomoji);
        Pelo pelo(FavoritesFolder(add.before));
        ASSERT_TRUE(pelo.Start());
        EXPECT_EQ(pelo.StartMessages(), Strings{});
        EXPECT_EQ(pelo.File("Favorite.txt"), add.before.value_or(""));
        Strings expected = pelo.Items(IDC_FAVORITE_LIST);
        SelectKaomoji(pelo, add.kaomoji);
        EXPECT_EQ(pelo.Command(IDC_ADD_FAVORITE), add.message ? Strings{ResourceText(add.message)} : Strings{});
        if (!add.message) {
            expected.push_back(add.kaomoji);
        }
        EXPECT_EQ(pelo.Items(IDC_FAVORITE_LIST), expected);
        EXPECT_EQ(pelo.Selection(IDC_FAVORITE_LIST), LB_ERR);
        EXPECT_EQ(pelo.File("Favorite.txt"), add.after);
    }
}

TEST(Favorites, MovesAndDeletesRewriteTheFileWithCrLf) {
    const std::string start = "a\n\nc\nd\n";  // LF and an empty line, as an editor may leave
    Pelo pelo(FavoritesFolder(start));
    ASSERT_TRUE(pelo.Start());
    pelo.ShowTab(kFavoritesTab);
    EXPECT_EQ(pelo.Items(IDC_FAVORITE_LIST), (Strings{"a", "", "c", "d"}));
    for (int button : {IDC_FAVORITE_UP, IDC_FAVORITE_DOWN, IDC_DELETE_FAVORITE}) {
        EXPECT_EQ(pelo.Command(button), Strings{ResourceText(IDS_SELECT_ITEM)});
    }
    struct Step {
        int selected, button;
        Strings entries;
        int selection;
    };
    const Step steps[] = {
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
    for (const Step& step : steps) {
        SCOPED_TRACE(::testing::Message() << "item " << step.selected << ", button " << step.button);
        pelo.Select(IDC_FAVORITE_LIST, step.selected);
        EXPECT_EQ(pelo.Command(step.button), Strings{});
        EXPECT_EQ(pelo.Items(IDC_FAVORITE_LIST), step.entries);
        EXPECT_EQ(pelo.Selection(IDC_FAVORITE_LIST), step.selection);
        rewritten |= step.entries != Strings{"a", "", "c", "d"};
        EXPECT_EQ(pelo.File("Favorite.txt"), rewritten ? Lines(step.entries) : start);
    }
}

TEST(Favorites, AFileHeldByAnotherProgramIsReportedAndStaysWhole) {
    const std::string old = Lines({"a", "b", "c"});
    Pelo pelo(FavoritesFolder(old));
    ASSERT_TRUE(pelo.Start());
    {
        const HANDLE hold = ::CreateFileW(pelo.PathOf("Favorite.txt").c_str(), GENERIC_READ, 0,
                                          nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(hold, INVALID_HANDLE_VALUE);
        SelectKaomoji(pelo, kCry);
        Strings shown = pelo.Command(IDC_ADD_FAVORITE);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_NE(shown[0].find("Favorite.txt"), std::string::npos) << shown[0];
        EXPECT_EQ(pelo.Items(IDC_FAVORITE_LIST), (Strings{"a", "b", "c"}));

        pelo.Select(IDC_FAVORITE_LIST, 1);
        shown = pelo.Command(IDC_DELETE_FAVORITE);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_NE(shown[0].find("Favorite.txt"), std::string::npos) << shown[0];
        EXPECT_EQ(pelo.Items(IDC_FAVORITE_LIST), (Strings{"a", "b", "c"}));
        ::CloseHandle(hold);
    }
    EXPECT_EQ(pelo.File("Favorite.txt"), old);
    EXPECT_EQ(pelo.Snapshot().size(), 2u) << "no temporary file left beside it";
    pelo.Select(IDC_FAVORITE_LIST, 1);
    EXPECT_EQ(pelo.Command(IDC_DELETE_FAVORITE), Strings{});
    EXPECT_EQ(pelo.File("Favorite.txt"), Lines({"a", "c"}));
}

TEST(Favorites, AFileHeldAtStartIsReadAgainByTheNextAdd) {
    Pelo pelo(FavoritesFolder("a\r\n"));
    const HANDLE hold = ::CreateFileW(pelo.PathOf("Favorite.txt").c_str(), GENERIC_READ, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(pelo.Start());
    EXPECT_EQ(pelo.Items(IDC_FAVORITE_LIST), Strings{});
    ::CloseHandle(hold);
    SelectKaomoji(pelo, kCry);
    EXPECT_EQ(pelo.Command(IDC_ADD_FAVORITE), Strings{});
    EXPECT_EQ(pelo.Items(IDC_FAVORITE_LIST), (Strings{"a", kCry}));
    EXPECT_EQ(pelo.File("Favorite.txt"), "a\r\n" + kCry + "\r\n");
}

// A double-click copies the entry: exactly its bytes and their Unicode form.
TEST(Favorites, DoubleClickedEntriesGoToTheClipboardExactly) {
    const std::string trail = "\x83\x5C\x81\x7C(\xB1\xB2)|\\";
    Pelo pelo(FavoritesFolder(trail + "\r\n"));
    ASSERT_TRUE(pelo.Start());
    SelectKaomoji(pelo, kOmega);
    pelo.Command(IDC_KAOMOJI_LIST, LBN_DBLCLK);
    EXPECT_EQ(ClipboardBlock(CF_TEXT).value_or("").substr(0, kOmega.size() + 1), kOmega + '\0');
    pelo.Select(IDC_FAVORITE_LIST, 0);
    pelo.Command(IDC_FAVORITE_LIST, LBN_DBLCLK);
    EXPECT_EQ(ClipboardText(), trail);
    const std::wstring wide = FromCp932(trail);
    EXPECT_EQ(ClipboardBlock(CF_UNICODETEXT).value_or("").substr(0, wide.size() * 2 + 2),
              std::string(reinterpret_cast<const char*>(wide.c_str()), wide.size() * 2 + 2));
}

}  // namespace
