// The AA page and its editor.
#include "MainDialogFixture.h"

namespace {

using namespace maindialogtest;

// The smallest size the AA editor takes, as the user sees it.
constexpr std::pair<LONG, LONG> kEditorMinimum{565, 400};

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

// ---- Pieces beyond Shift-JIS ---------------------------------------------------

const std::string kMark = "\xEF\xBB\xBF";
const std::wstring kHeart = L"\x2665";       // beyond CP932
const std::wstring kBear = L"\xD83D\xDC3B";  // U+1F43B, beyond the BMP
const std::string kHeartUtf8 = "\xE2\x99\xA5";
const std::string kBearUtf8 = "\xF0\x9F\x90\xBB";

void SetWideText(HWND control, const std::wstring& text) {
    ::SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

Strings SaveWide(HWND editor, const std::wstring& title, const std::wstring& text,
                 const std::shared_future<void>& command) {
    SetWideText(::GetDlgItem(editor, IDC_AA_TITLE), title);
    SetWideText(::GetDlgItem(editor, IDC_AA_TEXT), text);
    return Press(editor, IDOK, command);
}

std::string PieceFile(const Pelo& pelo, const std::wstring& title) {
    return ReadFileBytes(pelo.PathOf("AA") / (title + L".txt"));
}

// A new piece is Shift-JIS while its title and text allow, byte for byte as ever, and
// UTF-8 with the mark otherwise; line ends become CR LF in both.
TEST(AAPage, ANewPieceIsShiftJisWhereItCanBeElseUtf8WithTheMark) {
    Pelo pelo;
    ASSERT_TRUE(pelo.Start());
    const struct {
        std::wstring title, text;
        std::string bytes;
    } kCases[] = {
        {L"s", L"\x30BD\n\x8868\x2015", "\x83\x5C\r\n\x95\x5C\x81\x5C"},
        {L"h", kHeart + L"\r\n" + kBear + L"\n", kMark + kHeartUtf8 + "\r\n" + kBearUtf8 + "\r\n"},
        {L"m", L"e\x0301 \x0628", kMark + "e\xCC\x81 \xD8\xA8"},  // a combining mark, Arabic
        {kHeart + kBear, L"plain", kMark + "plain"},              // the title decides too
        {L"e", L"", ""},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::PrintToString(c.bytes));
        const auto [editor, command] = OpenEditor(pelo, IDC_NEW_AA);
        ASSERT_TRUE(editor);
        EXPECT_EQ(SaveWide(editor, c.title, c.text, command), Strings{});
        EXPECT_EQ(PieceFile(pelo, c.title), c.bytes);
    }
}

// Whatever a piece was read in, the editor shows its characters; a UTF-8 piece stays
// UTF-8, a Shift-JIS one turns UTF-8 only for a character it cannot hold.
TEST(AAPage, APieceKeepsItsEncodingUnlessItsTextNeedsUtf8) {
    const std::string bareUtf8 = kHeartUtf8 + "x";
    const std::string oneBadByte = kHeartUtf8 + "\xFF";  // no UTF-8 any more: Shift-JIS
    const std::string unmapped = "\x80\xA0\xFD";
    Pelo pelo({{"dic.txt", TinyDictionary()},
               {"AA\\a.txt", kMark + kHeartUtf8},
               {"AA\\b.txt", bareUtf8},
               {"AA\\c.txt", kMark},
               {"AA\\d.txt", oneBadByte},
               {"AA\\e.txt", "\x83\x5C"},
               {"AA\\f.txt", unmapped}});
    ASSERT_TRUE(pelo.Start());
    const struct {
        std::string title;
        std::wstring shown;                     // in the editor, as copied in CF_UNICODETEXT
        std::optional<std::string> copiedAnsi;  // CF_TEXT where it must be exact
        std::wstring typed;
        std::string saved;
    } kCases[] = {
        {"a", kHeart + L"\r\n", std::nullopt, L"plain", kMark + "plain"},
        {"b", kHeart + L"x\r\n", std::nullopt, L"ascii\n", kMark + "ascii\r\n"},
        {"c", L"", std::nullopt, L"z", kMark + "z"},  // the mark alone: an empty piece
        {"d", FromCp932(oneBadByte) + L"\r\n", oneBadByte + "\r\n", L"q", "q"},
        {"e", L"\x30BD\r\n", "\x83\x5C\r\n", kHeart, kMark + kHeartUtf8},
        // Bytes no character stands for come back as the editor gave them, in Shift-JIS.
        {"f", FromCp932(unmapped) + L"\r\n", unmapped + "\r\n", FromCp932(unmapped),
         ToCp932(FromCp932(unmapped))},
    };
    for (int index = 0; index < static_cast<int>(std::size(kCases)); ++index) {
        const auto& c = kCases[index];
        SCOPED_TRACE(c.title);
        ASSERT_TRUE(SetClipboardText("before"));
        pelo.Select(IDC_AA_LIST, index);
        EXPECT_EQ(pelo.Command(IDC_AA_LIST, LBN_DBLCLK), Strings{});
        EXPECT_EQ(ClipboardUnicodeText(), c.shown);
        if (c.copiedAnsi) {
            EXPECT_EQ(ClipboardText(), *c.copiedAnsi);
        }
        pelo.Select(IDC_AA_LIST, index);
        const auto [editor, command] = OpenEditor(pelo, IDC_EDIT_AA);
        ASSERT_TRUE(editor);
        EXPECT_EQ(WindowTextW(::GetDlgItem(editor, IDC_AA_TEXT)), c.shown);
        SetWideText(::GetDlgItem(editor, IDC_AA_TEXT), c.typed);
        EXPECT_EQ(Press(editor, IDOK, command), Strings{});
        EXPECT_EQ(pelo.File("AA\\" + c.title + ".txt"), c.saved);
    }
}

// A title beyond the code page: listed exactly, copied, edited, renamed and deleted.
TEST(AAPage, ATitleBeyondTheCodePageLivesLikeAnyOther) {
    Pelo pelo;
    ASSERT_TRUE(pelo.Start());
    const HWND list = pelo.Control(IDC_AA_LIST);
    const std::wstring first = kHeart + kBear, second = L"\x2603\x0628";
    for (const std::wstring& title : {first, std::wstring(L"a")}) {
        const auto [editor, command] = OpenEditor(pelo, IDC_NEW_AA);
        ASSERT_TRUE(editor);
        EXPECT_EQ(SaveWide(editor, title, L"x" + kBear, command), Strings{});
    }
    const auto sorted = [](std::vector<std::wstring> titles) {
        std::sort(titles.begin(), titles.end());
        return titles;
    };
    EXPECT_EQ(sorted(WideListItems(list)), (std::vector<std::wstring>{L"a", first}));
    const int at = WideListItems(list)[0] == first ? 0 : 1;

    pelo.Select(IDC_AA_LIST, at);
    EXPECT_EQ(pelo.Command(IDC_AA_LIST, LBN_DBLCLK), Strings{});
    EXPECT_EQ(ClipboardUnicodeText(), L"x" + kBear + L"\r\n");

    // Renamed, and written in UTF-8 although its new text is ASCII: it was UTF-8.
    pelo.Select(IDC_AA_LIST, at);
    const auto [editor, command] = OpenEditor(pelo, IDC_EDIT_AA);
    ASSERT_TRUE(editor);
    EXPECT_EQ(WindowTextW(::GetDlgItem(editor, IDC_AA_TITLE)), first);
    EXPECT_EQ(SaveWide(editor, second, L"y", command), Strings{});
    EXPECT_FALSE(FileExists(pelo.PathOf("AA") / (first + L".txt")));
    EXPECT_EQ(PieceFile(pelo, second), kMark + "y");
    EXPECT_EQ(sorted(WideListItems(list)), (std::vector<std::wstring>{L"a", second}));

    const int now = WideListItems(list)[0] == second ? 0 : 1;
    pelo.Select(IDC_AA_LIST, now);
    EXPECT_EQ(pelo.Command(IDC_DELETE_AA), Strings{});
    EXPECT_EQ(WideListItems(list), std::vector<std::wstring>{L"a"});
    EXPECT_FALSE(FileExists(pelo.PathOf("AA") / (second + L".txt")));
}

// Typed as an input method hands them over: characters beyond the code page reach the
// text and the title whole.
TEST(AAEditor, TypedCharactersBeyondTheCodePageAreKept) {
    Pelo pelo;
    ASSERT_TRUE(pelo.Start());
    const auto [editor, command] = OpenEditor(pelo, IDC_NEW_AA);
    ASSERT_TRUE(editor);
    ASSERT_TRUE(BringToForeground(editor));
    for (const int id : {IDC_AA_TITLE, IDC_AA_TEXT}) {
        const HWND box = ::GetDlgItem(editor, id);
        ::SendMessageW(editor, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(box), TRUE);
        TypeText(kHeart + kBear);
        EXPECT_TRUE(WaitUntil([&] { return WindowTextW(box) == kHeart + kBear; })) << id;
    }
    EXPECT_EQ(Press(editor, IDOK, command), Strings{});
    EXPECT_EQ(PieceFile(pelo, kHeart + kBear), kMark + kHeartUtf8 + kBearUtf8);
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
    EXPECT_NEAR(start.left + start.right, main.left + main.right, kCentringSlack);
    EXPECT_NEAR(start.top + start.bottom, main.top + main.bottom,
                kCentringSlack + 2 * kWindowManagerNudge);
    const auto size = [](HWND window) {
        const RECT r = ScreenRect(window);
        return std::pair{r.right - r.left, r.bottom - r.top};
    };
    std::optional<std::pair<LONG, LONG>> margins;  // around the text box, once resized
    // The editor is never made smaller than kEditorMinimum.
    for (const auto& [asked, kept] :
         {std::pair{std::pair{700L, 520L}, std::pair{700L, 520L}},
          {{400L, 300L}, kEditorMinimum},
          {{kEditorMinimum.first - 1, 600L}, {kEditorMinimum.first, 600L}}}) {
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
    // Bytes of the full path besides the title: "<folder>\AA\" and ".txt".
    const std::size_t fixed = ToCp932(pelo.PathOf("AA").wstring()).size() +
                              std::string_view("\\").size() + std::string_view(".txt").size();
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
        {std::string(MAX_PATH - fixed, 'L'), IDS_BAD_AA_TITLE},
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
                                    std::string(MAX_PATH - 1 - fixed, 'L')};
    for (const std::string& title : accepted) {
        const auto [next, saved] = OpenEditor(pelo, IDC_NEW_AA);
        ASSERT_TRUE(Save(next, title, title, saved).empty());
        EXPECT_EQ(pelo.File("AA\\" + title + ".txt"), title);
    }
    EXPECT_EQ(pelo.Items(IDC_AA_LIST).size(), 5u);
    EXPECT_EQ(pelo.File("dic.txt"), TinyDictionary());
}

}  // namespace
