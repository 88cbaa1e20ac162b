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
#include <functional>
#include <future>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "app/resource.h"
#include "ui/GlobalHotkey.h"
#include "ui/MainDialog.h"
#include "ui/Tray.h"
#include "win/Application.h"
#include "win/Dialog.h"

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
        m_startMessages = AnswerUntil([&] {
            m_window = FindTopLevelWindow(::GetCurrentProcessId(), L"Pelo", L"#32770");
            return IsVisible(m_window) || Ended();
        });
        // A dialog ending in its initialisation has said why; it may show for a moment.
        if (!m_startMessages.empty()) {
            WaitUntil([&] { return Ended(); }, 3s);
        }
        return IsVisible(m_window) && !Ended() ? m_window : nullptr;
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
    // Waits for `done`, answering every message box meanwhile with `answer`; their texts.
    static Strings AnswerUntil(const std::function<bool()>& done, int answer = IDOK) {
        Strings texts;
        WaitUntil([&] {
            if (HWND box = FindMessageBox(::GetCurrentProcessId())) {
                texts.push_back(MessageBoxText(box));
                AnswerMessageBox(box, answer);
            }
            return done();
        });
        return texts;
    }
    static Strings Finish(const std::shared_future<void>& sent, int answer = IDOK) {
        return AnswerUntil([&] { return sent.wait_for(0s) == std::future_status::ready; }, answer);
    }
    // A command of control `id`, as the control sends it, sent later.
    std::shared_future<void> Click(int id, int code = BN_CLICKED) const {
        return SendLater(m_window, WM_COMMAND, MAKEWPARAM(id, code),
                         reinterpret_cast<LPARAM>(Control(id)));
    }
    // `key` with `modifiers` pressed on control `id`, as the control forwards it; the
    // message boxes it showed.
    Strings Key(int id, UINT key, UINT modifiers = win::kNoModifier) const {
        return Finish(SendLater(m_window, win::kControlKeyMessage, MAKEWPARAM(key, modifiers),
                                reinterpret_cast<LPARAM>(Control(id))));
    }
    // The same command; the message boxes it showed.
    Strings Command(int id, int code = BN_CLICKED, int answer = IDOK) const {
        return Finish(Click(id, code), answer);
    }

    HWND Window() const { return m_window; }
    HWND Control(int id) const { return ::GetDlgItem(m_window, id); }
    Strings Items(int list) const { return ListItems(Control(list)); }
    int Selection(int list) const { return ListSelection(Control(list)); }
    void Select(int list, int index) const { SetListSelection(Control(list), index); }
    std::string File(std::string_view name) const { return ReadFileBytes(m_folder / name); }
    fs::path PathOf(std::string_view name) const { return m_folder / name; }
    // Every file below the folder with its bytes.
    std::map<fs::path, std::string> Snapshot() const {
        std::map<fs::path, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(m_folder.Path())) {
            files[entry.path()] = entry.is_directory() ? "<dir>" : ReadFileBytes(entry.path());
        }
        return files;
    }

    // Selects tab `index` as a click would: the tab control notifies the dialog.
    void ShowTab(int index) const { ::SendMessageW(Control(IDC_TAB), TCM_SETCURFOCUS, index, 0); }

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

// The controls of page `shown` are visible, and no others.
void ExpectPage(const Pelo& pelo, std::size_t shown) {
    for (std::size_t page = 0; page < kPages.size(); ++page) {
        for (int id : kPages[page]) {
            EXPECT_EQ(IsVisible(pelo.Control(id)), page == shown) << "tab " << shown << ": " << id;
        }
    }
}

TEST(MainDialog, OpensOnTheDictionaryCentredWithFocusInTheTreeAndEachTabShowsItsPage) {
    Pelo pelo;
    ASSERT_TRUE(pelo.Start());
    const HWND tab = pelo.Control(IDC_TAB);
    EXPECT_EQ(::SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0), 3);
    for (const auto& [index, label] :
         {std::pair{0, L"辞書"}, {1, L"お気に入り"}, {2, L"AAリスト"}}) {
        wchar_t text[64] = {};
        TCITEMW item{TCIF_TEXT, 0, 0, text, 64, 0, 0};
        ::SendMessageW(tab, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
        EXPECT_STREQ(text, label);
    }
    ExpectPage(pelo, 0);
    EXPECT_TRUE(WaitUntil(
        [&] { return FocusedWindowOf(pelo.Window()) == pelo.Control(IDC_CATEGORY_TREE); }));

    const RECT window = ScreenRect(pelo.Window());
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR(window.left + window.right, work.left + work.right, 2);
    EXPECT_NEAR(window.top + window.bottom, work.top + work.bottom, 2 + 2 * 10);  // a WM's nudge

    for (int index : {1, 2, 0, 2, 1}) {
        pelo.ShowTab(index);
        ExpectPage(pelo, index);
        EXPECT_TRUE(IsVisible(tab));
    }
}

// The list is wide enough to scroll to the end of its longest entry.
void ExpectExtentCoversLongest(HWND list) {
    const HDC dc = ::GetDC(list);
    const HGDIOBJ old =
        ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(list, WM_GETFONT, 0, 0)));
    LONG widest = 0;
    for (const std::string& entry : ListItems(list)) {
        const std::wstring text = FromCp932(entry);
        SIZE size{};
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        widest = std::max(widest, size.cx);
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(list, dc);
    EXPECT_GT(::SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0), widest) << ListItems(list).size();
}

// ---- The dictionary ------------------------------------------------------------------------

// Groups top to bottom as "group" / "  category: kaomoji kaomoji", each item selected as a
// user would; a group's categories sorted (their order is the tree order test's).
Strings ShownTree(const Pelo& pelo) {
    const HWND tree = pelo.Control(IDC_CATEGORY_TREE);
    const auto next = [&](UINT relation, HTREEITEM item) {
        return reinterpret_cast<HTREEITEM>(
            ::SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
    };
    const auto text = [&](HTREEITEM item) {
        wchar_t buffer[256] = {};
        TVITEMW request{TVIF_TEXT | TVIF_HANDLE, item, 0, 0, buffer, 256, 0, 0, 0, 0};
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
            ExpectExtentCoversLongest(pelo.Control(IDC_KAOMOJI_LIST));
            std::string line = "  " + text(item) + ":";
            for (const std::string& kaomoji : pelo.Items(IDC_KAOMOJI_LIST)) {
                line += " " + kaomoji;
            }
            shown.push_back(line);
        }
        std::sort(shown.begin() + first, shown.end());
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
        "  abd \t\t(d2)\tignored\n"  // "abd ": trimmed at the line's ends only; LF
        "abc\t (c1)\r\n"             // the kaomoji keeps its leading space
        "xy\r\n"                     // no TAB: the empty kaomoji
        "abc\t(c2)\r\n"              // "ab" again, "abc" in a second run
        "A\t(A)\r\n" +
        so + "|\t(s1)\r\n" + so + hyo + "\t" + so + "(s2)\r\n" +  // group "ソ"
        "zz" + nec + "\tnec\r\n" + "zz" + jis + "\tjis\r\n" +     // one text in the tree
        "\xB1\xB2\xB3\t(\xB1)\n";                                 // half-width katakana
    Pelo pelo({{"dic.txt", dic}});
    ASSERT_TRUE(pelo.Start());
    EXPECT_EQ(pelo.Items(IDC_KAOMOJI_LIST), Strings{});
    EXPECT_EQ(ShownTree(pelo), (Strings{
                                   "ab",
                                   "  abc:  (c1) (c2)",
                                   "  abd : (d2)",
                                   "  abd: (d1)",
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

// (A missing one: the lifecycle test.)
TEST(Dictionary, AFileHeldByAnotherProgramEndsTheDialogWithItsMessage) {
    Pelo held;
    const HANDLE other = ::CreateFileW(held.PathOf("dic.txt").c_str(), GENERIC_READ, 0, nullptr,
                                       OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(held.Start(), nullptr);
    EXPECT_EQ(held.StartMessages(), Strings{ResourceText(IDS_NO_DICTIONARY)});
    ::CloseHandle(other);
}

// ---- Favourites -----------------------------------------------------------------------------

const std::string kWave = "(^_^)/";
const std::string kWaveLong = "(^_^)/~~";  // kWave is only its beginning
const std::string kCry = "(ToT)";
const std::string kCryOtherCase = "(tOt)";
const std::string kKatakanaA = ToCp932(L"(ア)");   // 83 41: trail byte 'A'
const std::string kKatakanaDi = ToCp932(L"(ヂ)");  // 83 61: trail byte 'a'

// NEC row 13 and its JIS twin (≒), an NEC-selected IBM extension: list boxes show
// both of the first as 81 E0 and the last as FA 5C.
const std::string kNec = "(\x87\x90)";
const std::string kJis = "(\x81\xE0)";
const std::string kIbm = "(\xED\x40)";
const Strings kAllKaomoji = {kWaveLong,   kWave, kCry, kCryOtherCase, kKatakanaA,
                             kKatakanaDi, "c",   kNec, kJis,          kIbm};

// One category holding every kaomoji above.
std::map<std::string, std::string> FavoritesFolder(std::optional<std::string> favorites) {
    std::string dic;
    for (const std::string& kaomoji : kAllKaomoji) {
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
    pelo.Select(IDC_KAOMOJI_LIST,
                static_cast<int>(std::find(kAllKaomoji.begin(), kAllKaomoji.end(), kaomoji) -
                                 kAllKaomoji.begin()));
}

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

// ---- The AA list and its editor -------------------------------------------------------------

// Opens the editor with button `id` (New or Edit); the editor, and the command, done once
// the editor has closed and the page has done its part.
std::pair<HWND, std::shared_future<void>> OpenEditor(const Pelo& pelo, int id) {
    const std::shared_future<void> command = pelo.Click(id);
    HWND editor = nullptr;
    WaitUntil([&] {
        editor = FindTopLevelWindow(::GetCurrentProcessId(), L"AAエディター", L"#32770");
        return IsVisible(editor) || command.wait_for(0s) == std::future_status::ready;
    });
    return {IsVisible(editor) ? editor : nullptr, command};
}

// Presses `button` of the editor, answering questions with `answer`; the messages shown
// until the editor is back for more (a refusal, a No), or closed and the page done.
Strings Press(HWND editor, int button, const std::shared_future<void>& command, int answer = IDOK) {
    Strings shown = Pelo::Finish(Pelo::SendLater(editor, WM_COMMAND, button), answer);
    if (button == IDCANCEL || shown.empty() || answer == IDYES) {
        const Strings later = Pelo::Finish(command);
        shown.insert(shown.end(), later.begin(), later.end());
    }
    return shown;
}
Strings Save(HWND editor, std::string_view title, std::string_view text,
             const std::shared_future<void>& command, int answer = IDOK) {
    SetEditText(::GetDlgItem(editor, IDC_AA_TITLE), title);
    SetEditText(::GetDlgItem(editor, IDC_AA_TEXT), text);
    return Press(editor, IDOK, command, answer);
}

TEST(AAPage, ListsTheFolderAndCopiesPiecesWithCrLfAfterEveryLine) {
    Pelo pelo({{"dic.txt", TinyDictionary()},
               {"AA\\x.TXT", "a\r\nb"},
               {"AA\\.txt", ""},
               {"AA\\h.txt", "\x83\x5C\n\r\n"}});
    ::SetFileAttributesW(pelo.PathOf("AA\\h.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    fs::create_directory(pelo.PathOf("AA\\y.txt"));
    ASSERT_TRUE(pelo.Start());
    EXPECT_EQ(pelo.Items(IDC_AA_LIST), (Strings{"", "h", "x", "y"}));
    ExpectExtentCoversLongest(pelo.Control(IDC_AA_LIST));
    EXPECT_EQ(pelo.Selection(IDC_AA_LIST), LB_ERR);

    ASSERT_TRUE(SetClipboardText("before"));
    pelo.Command(IDC_AA_LIST, LBN_DBLCLK);  // nothing selected
    EXPECT_EQ(ClipboardText(), "before");
    for (const auto& [index, copied] :
         {std::pair{2, "a\r\nb\r\n"}, {1, "\x83\x5C\r\n\r\n"}, {0, ""}}) {
        pelo.Select(IDC_AA_LIST, index);
        pelo.Command(IDC_AA_LIST, LBN_DBLCLK);
        EXPECT_EQ(ClipboardText(), copied) << index;
    }
    // A piece removed behind Pelo's back: the error, and the list as it was.
    fs::remove(pelo.PathOf("AA\\x.TXT"));
    pelo.Select(IDC_AA_LIST, 2);
    EXPECT_EQ(pelo.Command(IDC_DELETE_AA), Strings{"AA\\x.txt was not found."});
    EXPECT_EQ(pelo.Items(IDC_AA_LIST), (Strings{"", "h", "x", "y"}));
    EXPECT_EQ(pelo.Selection(IDC_AA_LIST), 2);
    const Strings gone = {pelo.PathOf("AA\\x.txt").string() + " was not found."};
    EXPECT_EQ(pelo.Command(IDC_AA_LIST, LBN_DBLCLK), gone);
}

TEST(AAPage, TheEditorKeepsItsShapeTheFirstSaveMakesTheFolderDeleteSelectsTheNextOrLast) {
    Pelo pelo;
    ASSERT_TRUE(pelo.Start());
    EXPECT_EQ(pelo.Items(IDC_AA_LIST), Strings{});
    EXPECT_EQ(pelo.Command(IDC_EDIT_AA), Strings{ResourceText(IDS_SELECT_ITEM)});
    EXPECT_EQ(pelo.Command(IDC_DELETE_AA), Strings{ResourceText(IDS_SELECT_ITEM)});
    // The editor: owned by the main window, which it keeps disabled, and centred over it; it
    // keeps its minimum size and its text box follows it.
    const auto [editor, command] = OpenEditor(pelo, IDC_NEW_AA);
    ASSERT_TRUE(editor);
    EXPECT_EQ(::GetWindow(editor, GW_OWNER), pelo.Window());
    EXPECT_FALSE(::IsWindowEnabled(pelo.Window()));
    const RECT start = ScreenRect(editor), main = ScreenRect(pelo.Window());
    EXPECT_NEAR(start.left + start.right, main.left + main.right, 2);
    EXPECT_NEAR(start.top + start.bottom, main.top + main.bottom, 2 + 2 * 10);  // WM nudges
    const auto size = [](HWND window) {
        const RECT r = ScreenRect(window);
        return std::pair{r.right - r.left, r.bottom - r.top};
    };
    std::optional<std::pair<LONG, LONG>> margins;  // around the text box, once resized
    for (const auto& [asked, kept] : {std::pair{std::pair{700L, 520L}, std::pair{700L, 520L}},
                                      {{400L, 300L}, {565L, 400L}},
                                      {{564L, 600L}, {565L, 600L}}}) {
        ::MoveWindow(editor, start.left, start.top, asked.first, asked.second, TRUE);
        EXPECT_TRUE(WaitUntil([&] { return size(editor) == kept; })) << size(editor).first;
        EXPECT_EQ(ScreenRect(editor).left, start.left);
        const auto text = size(::GetDlgItem(editor, IDC_AA_TEXT));
        const std::pair around{kept.first - text.first, kept.second - text.second};
        EXPECT_EQ(around, margins.value_or(around));
        margins = around;
    }
    EXPECT_EQ(Press(editor, IDCANCEL, command), Strings{});
    EXPECT_FALSE(FileExists(pelo.PathOf("AA")));
    EXPECT_TRUE(::IsWindowEnabled(pelo.Window()));

    for (const char* title : {"d", "b", "c", "a"}) {
        const auto [added, saved] = OpenEditor(pelo, IDC_NEW_AA);
        ASSERT_TRUE(added);
        EXPECT_EQ(Save(added, title, std::string(title) + "\r\n", saved), Strings{});
    }
    EXPECT_EQ(pelo.Items(IDC_AA_LIST), (Strings{"a", "b", "c", "d"}));
    EXPECT_EQ(pelo.File("AA\\d.txt"), "d\r\n");

    const std::pair<int, int> deletions[] = {{3, 2}, {0, 0}, {0, 0}, {0, LB_ERR}};
    for (const auto& [selected, selection] : deletions) {
        pelo.Select(IDC_AA_LIST, selected);
        EXPECT_EQ(pelo.Command(IDC_DELETE_AA), Strings{});
        EXPECT_EQ(pelo.Selection(IDC_AA_LIST), selection);
    }
    EXPECT_EQ(pelo.Items(IDC_AA_LIST), Strings{});
    EXPECT_TRUE(fs::is_empty(pelo.PathOf("AA")));
}

TEST(AAPage, EditingKeepsLineEndsAsCrLfAndRenamesThePiece) {
    Pelo pelo({{"dic.txt", TinyDictionary()}, {"AA\\a.txt", "a\r\nb"}, {"AA\\c.txt", "C"}});
    ASSERT_TRUE(pelo.Start());
    const struct {
        std::string title, text;  // "" text: the editor's as it is
        int button;
        Strings files;
        std::string bytes;  // of the first file
    } edits[] = {
        {"a", "", IDOK, {"a.txt", "c.txt"}, "a\r\nb\r\n"},  // gains its missing final line end
        {"a", "x\ny\rz", IDOK, {"a.txt", "c.txt"}, "x\r\ny\rz"},  // a lone LF becomes CR LF
        {"other", "changed", IDCANCEL, {"a.txt", "c.txt"}, "x\r\ny\rz"},
        {"b", "new\r\n", IDOK, {"b.txt", "c.txt"}, "new\r\n"},
        {"B", "new\r\n", IDOK, {"B.txt", "c.txt"}, "new\r\n"},  // letter case only
    };
    for (const auto& edit : edits) {
        SCOPED_TRACE(edit.title + " " + edit.text);
        pelo.Select(IDC_AA_LIST, 0);
        const auto [editor, command] = OpenEditor(pelo, IDC_EDIT_AA);
        ASSERT_TRUE(editor);
        const HWND text = ::GetDlgItem(editor, IDC_AA_TEXT);
        if (edit.text.empty()) {
            EXPECT_EQ(WindowText(text), "a\r\nb\r\n");  // a final line end added
        }
        SetEditText(::GetDlgItem(editor, IDC_AA_TITLE), edit.title);
        if (!edit.text.empty()) {
            SetEditText(text, edit.text);
        }
        EXPECT_EQ(Press(editor, edit.button, command), Strings{});
        Strings files;
        for (const auto& entry : fs::directory_iterator(pelo.PathOf("AA"))) {
            files.push_back(entry.path().filename().string());
        }
        std::sort(files.begin(), files.end());
        EXPECT_EQ(files, edit.files);
        EXPECT_EQ(pelo.File("AA\\" + edit.files[0]), edit.bytes);
        EXPECT_EQ(pelo.Selection(IDC_AA_LIST), edit.button == IDOK ? LB_ERR : 0);
    }

    // Renamed onto another piece: the new text stays in the old file, whose path the
    // error names, and the list is left as it was.
    pelo.Select(IDC_AA_LIST, 0);
    const auto [editor, command] = OpenEditor(pelo, IDC_EDIT_AA);
    EXPECT_EQ(Save(editor, "c", "newer", command), Strings{"Access to AA\\B.txt was denied."});
    EXPECT_EQ(pelo.File("AA\\B.txt"), "newer");
    EXPECT_EQ(pelo.File("AA\\c.txt"), "C");
    EXPECT_EQ(pelo.Items(IDC_AA_LIST), (Strings{"B", "c"}));
    EXPECT_EQ(pelo.Selection(IDC_AA_LIST), 0);
}

TEST(AAEditor, TitlesAreCheckedBeforeAnythingIsWritten) {
    Pelo pelo({{"dic.txt", TinyDictionary()}, {"AA\\a.txt", "old"}});
    ASSERT_TRUE(pelo.Start());
    const auto before = pelo.Snapshot();
    // Bytes of the full path besides the title: folder, '\', "AA\", ".txt".
    const std::size_t fixed = ToCp932(pelo.PathOf("").wstring()).size() + 3 + 4;
    ASSERT_LT(fixed, 200u);
    const auto [editor, command] = OpenEditor(pelo, IDC_NEW_AA);
    ASSERT_TRUE(editor);
    const HWND titleBox = ::GetDlgItem(editor, IDC_AA_TITLE);
    // Which titles are usable is the native tests' matter; here: the messages and the length
    // of the real path.
    const std::pair<std::string, UINT> refusals[] = {
        {"", IDS_ENTER_AA_TITLE},
        {" \t ", IDS_ENTER_AA_TITLE},
        {"..\\dic", IDS_BAD_AA_TITLE},
        {std::string(260 - fixed, 'L'), IDS_BAD_AA_TITLE},
    };
    for (const auto& [title, message] : refusals) {
        SCOPED_TRACE(title);
        ::SendMessageW(editor, WM_NEXTDLGCTL,
                       reinterpret_cast<WPARAM>(::GetDlgItem(editor, IDC_AA_TEXT)), TRUE);
        EXPECT_EQ(Save(editor, title, "overwritten", command), Strings{ResourceText(message)});
        ASSERT_TRUE(::IsWindow(editor));
        EXPECT_EQ(FocusedWindowOf(editor), titleBox);
        EXPECT_EQ(WindowText(titleBox), title);
    }
    EXPECT_EQ(pelo.Snapshot(), before);

    // An existing title, whatever its letter case: No goes back to the editor, Yes overwrites.
    EXPECT_EQ(Save(editor, "A", "new", command, IDNO), Strings{ResourceText(IDS_AA_EXISTS)});
    ASSERT_TRUE(::IsWindow(editor));
    EXPECT_EQ(pelo.File("AA\\a.txt"), "old");
    EXPECT_EQ(Save(editor, "a", "new", command, IDYES), Strings{ResourceText(IDS_AA_EXISTS)});
    EXPECT_EQ(pelo.File("AA\\a.txt"), "new");

    // Accepted: spaces around a title, a full-width space, trail bytes 5C and 7C, the longest.
    const std::string accepted[] = {" a ", "\x81\x40", "\x83\x5C\x95\x5C\x94\x5C\x81\x7C",
                                    std::string(259 - fixed, 'L')};
    for (const std::string& title : accepted) {
        const auto [next, saved] = OpenEditor(pelo, IDC_NEW_AA);
        ASSERT_TRUE(Save(next, title, title, saved).empty());
        EXPECT_EQ(pelo.File("AA\\" + title + ".txt"), title);
    }
    EXPECT_EQ(pelo.Items(IDC_AA_LIST).size(), 5u);
    EXPECT_EQ(pelo.File("dic.txt"), TinyDictionary());
}

// ---- The notification area -----------------------------------------------------------------

// In the tray: hidden, off the taskbar (a tool window), the icon there; shown: the reverse.
bool InTray(HWND window, bool in = true) {
    const bool tool = ::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW;
    return IsVisible(window) != in && tool == in && IconPresent(window) == in &&
           (in || !::IsIconic(window));
}
// Minimises until `done` (in the tray by default) holds, and still holds 300 ms on: the
// window system may still undo a minimise for a moment, as it may still move a new window.
bool Minimize(HWND window, std::function<bool()> done = {}) {
    if (!done) {
        done = [=] { return InTray(window); };
    }
    for (int attempt = 0; attempt < 3; ++attempt) {
        ::SendMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        if (WaitUntil(done, 2s) && !WaitUntil([&] { return !done(); }, 300ms)) {
            return true;
        }
    }
    return false;
}
void PressOnIcon(HWND window, UINT mouseMessage) {
    ::PostMessageW(window, kTrayIconMessage, 0, mouseMessage);
}
// What the shell sends every top-level window when it has made a new taskbar.
void TaskbarCreated(HWND window) {
    ::SendMessageW(window, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
}

TEST(Tray, MinimiseHidesToTheIconWhichRestoresComesBackWithANewTaskbarAndGoesWithTheWindow) {
    NotificationAreaInUse area;
    ASSERT_TRUE(area.Added());
    Pelo pelo;
    const HWND window = pelo.Start();
    ASSERT_TRUE(window);
    EXPECT_FALSE(IconPresent(window));
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(Minimize(window));
        for (UINT ignored : {WM_MOUSEMOVE, WM_LBUTTONUP, WM_LBUTTONDBLCLK}) {
            // Sent, not posted: handled once the send returns (a posted one could come later).
            ::SendMessageW(window, kTrayIconMessage, 0, ignored);
        }
        EXPECT_TRUE(InTray(window));
        PressOnIcon(window, WM_LBUTTONDOWN);
        EXPECT_TRUE(WaitUntil([&] { return InTray(window, false); }));
        EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == window; }));
    }
    // A new taskbar gets the icon, shown or not; the old one went with its icons.
    TaskbarCreated(window);
    EXPECT_TRUE(IconPresent(window) && IsVisible(window));
    ASSERT_TRUE(Minimize(window));
    NOTIFYICONDATAW record{};
    record.cbSize = NOTIFYICONDATAW_V1_SIZE;
    record.hWnd = window;
    ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &record));
    TaskbarCreated(window);
    EXPECT_TRUE(WaitUntil([&] { return InTray(window); }));
    PressOnIcon(window, WM_LBUTTONDOWN);
    EXPECT_TRUE(WaitUntil([&] { return InTray(window, false); }));
    // Shown with its icon, then closed: the icon goes along (whatever the way out: the menu's
    // is below).
    TaskbarCreated(window);
    ASSERT_TRUE(IconPresent(window));
    ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(pelo.FinishRun(), Strings{});
    EXPECT_FALSE(IconPresent(window));
}

using MenuItem = std::pair<UINT, std::string>;  // {0, ""} for a separator

// Opens the icon's menu with the cursor at (700, 600); its window and items.
HWND OpenTrayMenu(HWND window, std::vector<MenuItem>& items) {
    ::SetCursorPos(700, 600);
    PressOnIcon(window, WM_RBUTTONDOWN);
    HWND menu = nullptr;
    WaitUntil([&] {
        menu = FindTopLevelWindow(::GetCurrentProcessId(), L"", L"#32768");
        return IsVisible(menu) && ProcessIdOf(::GetForegroundWindow()) == ::GetCurrentProcessId();
    });
    const auto popup = reinterpret_cast<HMENU>(::SendMessageW(menu, MN_GETHMENU, 0, 0));
    items.clear();
    for (int i = 0; i < ::GetMenuItemCount(popup); ++i) {
        wchar_t text[256] = {};
        ::GetMenuStringW(popup, i, text, 256, MF_BYPOSITION);
        items.push_back({::GetMenuItemID(popup, i), ToCp932(text)});
    }
    return IsVisible(menu) ? menu : nullptr;
}

TEST(Tray, TheMenuListsTheFavouritesAboveExitAndCopiesTheChosenOne) {
    NotificationAreaInUse area;
    ASSERT_TRUE(area.Added());
    const std::string omega = ToCp932(L"(´・ω・`)");
    const MenuItem exit{ID_TRAY_EXIT, ToCp932(L"終了(&Q)")};
    const struct {
        std::string favorites;
        std::vector<MenuItem> items;
    } cases[] = {
        {"", {exit}},
        {omega + "\r\nTom & Jerry\r\n\r\n",  // the "&" stays; an empty favourite, an empty item
         {{ID_TRAY_FAVORITE_FIRST, omega},
          {ID_TRAY_FAVORITE_FIRST + 1, "Tom & Jerry"},
          {ID_TRAY_FAVORITE_FIRST + 2, ""},
          {0, ""},
          exit}},
    };
    for (const auto& menuCase : cases) {
        SCOPED_TRACE(menuCase.favorites);
        Pelo pelo({{"dic.txt", TinyDictionary()}, {"Favorite.txt", menuCase.favorites}});
        const HWND window = pelo.Start();
        ASSERT_TRUE(window);
        ASSERT_TRUE(Minimize(window));
        ASSERT_TRUE(SetClipboardText("before"));
        std::vector<MenuItem> items;
        for (int round = 0; round < 2; ++round) {  // loaded afresh: nothing piles up
            HWND menu = OpenTrayMenu(window, items);
            ASSERT_TRUE(menu);
            EXPECT_EQ(items, menuCase.items);
            // Right-aligned at the cursor, 20 pixels above it and 21 more for each favourite.
            EXPECT_EQ(ScreenRect(menu).right, 700);
            EXPECT_EQ(
                ScreenRect(menu).top,
                600 - 20 - 21 * (static_cast<int>(items.size()) - 1 - (items.size() > 1 ? 1 : 0)));
            PressKey(VK_ESCAPE);  // dismissed: nothing changes
            ASSERT_TRUE(WaitUntil([&] { return !IsVisible(menu); }));
            ASSERT_TRUE(Settle(window));
            EXPECT_EQ(ClipboardText(), "before");
            EXPECT_TRUE(InTray(window));
        }
        // Each favourite's command copies it, and nothing else happens.
        for (const auto& [id, text] : items) {
            if (id >= ID_TRAY_FAVORITE_FIRST) {
                ::SendMessageW(window, WM_COMMAND, id, 0);
                EXPECT_EQ(ClipboardText(), text);
                EXPECT_TRUE(InTray(window));
            }
        }
        // The exit command, by its accelerator: the end, and the icon goes with it.
        ASSERT_TRUE(OpenTrayMenu(window, items));
        PressKey('Q');
        EXPECT_EQ(pelo.FinishRun(), Strings{});
        EXPECT_FALSE(IconPresent(window));
    }
}

// A window of the shell's taskbar class that refuses every icon: while it is the first
// such window, no notification area works.
LRESULT CALLBACK RefuseIcons(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return message == WM_COPYDATA ? FALSE : ::DefWindowProcW(window, message, wParam, lParam);
}

TEST(Tray, WithoutANotificationAreaMinimiseStaysOnTheTaskbarUntilOneComes) {
    NotificationAreaInUse area;
    Pelo pelo;
    const HWND window = pelo.Start();
    ASSERT_TRUE(window);
    WNDCLASSW taskbar{};
    taskbar.lpfnWndProc = &RefuseIcons;
    taskbar.lpszClassName = L"Shell_TrayWnd";
    ::RegisterClassW(&taskbar);
    const HWND refusing =
        ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"Shell_TrayWnd", L"", WS_POPUP, 0, 0,
                          1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_EQ(::FindWindowW(L"Shell_TrayWnd", nullptr), refusing);
    ASSERT_TRUE(Minimize(window, [=] { return ::IsIconic(window) != FALSE; }));
    EXPECT_TRUE(IsVisible(window)) << "hidden without an icon, Pelo would be out of reach";
    ::DestroyWindow(refusing);
    TaskbarCreated(window);
    EXPECT_TRUE(WaitUntil([&] { return InTray(window); }))
        << IsVisible(window) << ::IsIconic(window) << IconPresent(window);
}

// Enough favourites for ids past 0xFFFF, which would wrap to 0, IDOK, ... The menu
// holds those whose id fits (building it takes Wine seconds: the list it is built from).
TEST(Tray, AMenuItemNeverCarriesAnotherCommandsId) {
    Strings favorites;
    for (int i = 0; i < 32770; ++i) {
        favorites.push_back(std::to_string(i));
    }
    const auto inMenu = tray::MenuFavorites(favorites);
    ASSERT_FALSE(inMenu.empty());
    EXPECT_EQ(ID_TRAY_FAVORITE_FIRST + inMenu.size() - 1, 0xFFFFu);
    EXPECT_EQ(inMenu.data(), favorites.data()) << "the first ones, in order";
    Pelo pelo({{"dic.txt", TinyDictionary()}, {"Favorite.txt", Lines(favorites)}});
    const HWND window = pelo.Start();
    ASSERT_TRUE(window);
    ::SendMessageW(window, WM_COMMAND, 0xFFFF, 0);
    EXPECT_EQ(ClipboardText(), inMenu.back());
}

TEST(Tray, TheTipNamesTheHotkeyOrWhyThereIsNone) {
    using Kind = hotkey::Choice::Kind;
    const hotkey::Choice winShiftK{Kind::Combination, hotkey::DefaultCombination(), {}};
    const auto bad = [](const std::string& argument) {
        return hotkey::Choice{Kind::Bad, {}, argument};
    };
    const std::wstring invalid = L"Pelo (ホットキーの指定が不正: ";
    const std::string longArgument = "/hotkey:" + std::string(40, 'x');
    const std::string kanaArgument = "/hotkey:x" + ToCp932(std::wstring(30, L'\u30AB'));
    const struct {
        hotkey::Choice choice;
        bool registered;
        std::string tip;
    } rows[] = {
        // the argument cut to fit the tip's 63 bytes, never inside a character
        {{Kind::None, {}, {}}, false, "Pelo"},
        {winShiftK, true, "Pelo (Win+Shift+K)"},
        {winShiftK, false, ToCp932(L"Pelo (ホットキー Win+Shift+K は他のプログラムが使用中)")},
        {bad("/hotkey:Q"), false, ToCp932(invalid + L"/hotkey:Q)")},
        {bad(longArgument), false, ToCp932(invalid) + longArgument.substr(0, 32) + ")"},
        {bad(kanaArgument), false,
         ToCp932(invalid + L"/hotkey:x" + std::wstring(11, L'\u30AB') + L")")},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(hotkey::TrayTip(row.choice, row.registered), row.tip);
    }
}

// ---- The start ------------------------------------------------------------------------------

TEST(Start, ALoadThatFailsIsToldOnceAndTheRestOfTheStartGoesOn) {
    NotificationAreaInUse area;
    auto files = FavoritesFolder(Lines({kCry}));
    files["AA"] = "a file where the folder should be";
    Pelo pelo(files);
    const HWND window = pelo.Start();
    ASSERT_TRUE(window);
    ASSERT_EQ(pelo.StartMessages().size(), 1u);
    EXPECT_NE(pelo.StartMessages()[0].find(pelo.PathOf("AA").string()), std::string::npos)
        << pelo.StartMessages()[0];
    EXPECT_EQ(pelo.Items(IDC_FAVORITE_LIST), Strings{kCry});
    // The tracking runs: a double-click pastes into the program in front.
    TargetApp editor(L"start editor");
    ASSERT_TRUE(editor.Activate());
    SelectKaomoji(pelo, kCry);
    EXPECT_EQ(pelo.Command(IDC_KAOMOJI_LIST, LBN_DBLCLK), Strings{});
    EXPECT_TRUE(WaitUntil([&] { return editor.Text() == kCry; })) << editor.Text();
    EXPECT_TRUE(Minimize(window));
}

}  // namespace
