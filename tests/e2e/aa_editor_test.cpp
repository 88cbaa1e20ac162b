// The AA editor end to end: title checks, the overwrite question, titles
// that must never name a file outside the AA folder, and the layout.
#include "aa_driver.h"

namespace {

using aa_e2e::AAEndToEnd;
using aa_e2e::Cp932;
using aa_e2e::kBadTitle;
using aa_e2e::kEnterTitle;
using aa_e2e::kTitleExists;
using Strings = std::vector<std::string>;

using AAEditor = AAEndToEnd;

TEST_F(AAEditor, EmptyAndBlankTitlesAreRefusedAFullWidthSpaceIsNot) {
    StartOnAAPage();
    const HWND editor = OpenEditor(IDC_NEW_AA);
    ASSERT_NE(editor, nullptr);
    const HWND titleBox = ::GetDlgItem(editor, IDC_AA_TITLE);

    for (const char* blank : {"", " \t "}) {
        Fill(editor, blank, "text");
        const HWND textBox = ::GetDlgItem(editor, IDC_AA_TEXT);
        ::SendMessageW(editor, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(textBox), TRUE);
        ClickOK(editor);
        EXPECT_EQ(AnswerBox(), kEnterTitle) << '"' << blank << '"';
        EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::FocusedWindowOf(editor) == titleBox; }));
        EXPECT_TRUE(::IsWindow(editor));
        EXPECT_EQ(e2e::WindowText(titleBox), blank);  // the box keeps what was typed
    }
    EXPECT_FALSE(pelo.HasFile("AA"));

    const std::string ideographicSpace = "\x81\x40";
    Fill(editor, ideographicSpace, "text");
    ClickOK(editor);
    ASSERT_TRUE(WaitClosed(editor));
    ASSERT_TRUE(e2e::WaitUntil([&] { return Titles() == Strings{ideographicSpace}; }));
    EXPECT_EQ(pelo.ReadFile("AA\\" + ideographicSpace + ".txt"), "text");
}

// No keeps the editor open and the file as it was; Yes overwrites. The
// question follows the system's search, which ignores letter case, and
// spaces around a title stay part of it.
TEST_F(AAEditor, OverwriteQuestionForANewPiece) {
    ASSERT_TRUE(pelo.WriteFile("AA\\a.txt", "old"));
    StartOnAAPage();
    HWND editor = OpenEditor(IDC_NEW_AA);
    ASSERT_NE(editor, nullptr);
    Fill(editor, "A", "new");
    ClickOK(editor);
    EXPECT_EQ(AnswerBox(IDNO), kTitleExists);
    Sync();
    EXPECT_TRUE(::IsWindow(editor));
    EXPECT_EQ(pelo.ReadFile("AA\\a.txt"), "old");
    EXPECT_EQ(e2e::WindowText(::GetDlgItem(editor, IDC_AA_TEXT)), "new");

    e2e::SetEditText(::GetDlgItem(editor, IDC_AA_TITLE), "a");
    ClickOK(editor);
    EXPECT_EQ(AnswerBox(IDYES), kTitleExists);
    ASSERT_TRUE(WaitClosed(editor));
    Sync();
    EXPECT_EQ(pelo.ReadFile("AA\\a.txt"), "new");
    EXPECT_EQ(Titles(), Strings{"a"});

    editor = OpenEditor(IDC_NEW_AA);
    ASSERT_NE(editor, nullptr);
    Fill(editor, " a ", "spaced");  // another title: no question
    ClickOK(editor);
    ASSERT_TRUE(WaitClosed(editor));
    ASSERT_TRUE(e2e::WaitUntil([&] { return Titles() == Strings{" a ", "a"}; }));
    EXPECT_EQ(pelo.ReadFile("AA\\ a .txt"), "spaced");
    EXPECT_EQ(pelo.ReadFile("AA\\a.txt"), "new");
}

// Titles that would leave the AA folder or that the file system refuses:
// string 508, the focus back in the title box, nothing written anywhere.
// Titles whose double-byte characters end in 0x5C or 0x7C stay valid.
TEST_F(AAEditor, UnsafeTitlesAreRefusedWithNothingWritten) {
    ASSERT_TRUE(pelo.WriteFile("AA\\keep.txt", "keep"));
    StartOnAAPage();
    const std::filesystem::path parent = pelo.Folder().parent_path();
    const auto before = Snapshot(pelo.Folder());

    // Bytes of the full path besides the title: folder, '\', "AA\", ".txt".
    const std::size_t fixed = Cp932(pelo.Folder().wstring()).size() + 1 + 3 + 4;
    ASSERT_LT(fixed, 200u);
    const std::string tooLong(260 - fixed, 'L');

    const HWND editor = OpenEditor(IDC_NEW_AA);
    ASSERT_NE(editor, nullptr);
    const HWND titleBox = ::GetDlgItem(editor, IDC_AA_TITLE);
    for (const std::string& title :
         {std::string("..\\dic"), std::string("../dic"), std::string("..\\..\\escaped"),
          std::string("sub\\x"), std::string("C:x"), std::string("C:\\x"), std::string("CON"),
          std::string("nul.txt"), std::string("com1"), std::string("LPT9.a"), std::string("a<b"),
          std::string("a>b"), std::string("a\"b"), std::string("a|b"), std::string("a?"),
          std::string("*"), std::string("a\tb"), std::string("\x83\x5C\\dic"), tooLong}) {
        Fill(editor, title, "overwritten");
        ClickOK(editor);
        EXPECT_EQ(AnswerBox(), kBadTitle) << title;
        EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::FocusedWindowOf(editor) == titleBox; }))
            << title;
        ASSERT_TRUE(::IsWindow(editor)) << title;
    }
    EXPECT_EQ(Snapshot(pelo.Folder()), before);
    EXPECT_FALSE(std::filesystem::exists(parent / "escaped.txt"));

    // ソ表能十－: every trail byte is 0x5C or 0x7C; and the longest usable title.
    const std::string trailBytes = "\x83\x5C\x95\x5C\x94\x5C\x8F\x5C\x81\x7C";
    Fill(editor, trailBytes, "ok");
    ClickOK(editor);
    ASSERT_TRUE(WaitClosed(editor));
    ASSERT_TRUE(e2e::WaitUntil([&] { return Titles().size() == 2; }));
    EXPECT_EQ(pelo.ReadFile("AA\\" + trailBytes + ".txt"), "ok");

    const HWND second = OpenEditor(IDC_NEW_AA);
    ASSERT_NE(second, nullptr);
    const std::string longest(259 - fixed, 'L');
    Fill(second, longest, "long");
    ClickOK(second);
    ASSERT_TRUE(WaitClosed(second));
    ASSERT_TRUE(e2e::WaitUntil([&] { return Titles().size() == 3; }));
    EXPECT_EQ(pelo.ReadFile("AA\\" + longest + ".txt"), "long");
    EXPECT_EQ(pelo.ReadFile("dic.txt"), e2e::TinyDictionary());
}

// The outer size never stays below 565 x 400; the text box and the buttons
// follow the client area.
TEST_F(AAEditor, SnapsBackToTheMinimumSizeAndLaysOutItsControls) {
    StartOnAAPage();
    const HWND editor = OpenEditor(IDC_NEW_AA);
    ASSERT_NE(editor, nullptr);
    const auto outerSize = [&] {
        const RECT r = e2e::ScreenRect(editor);
        return SIZE{r.right - r.left, r.bottom - r.top};
    };
    const RECT start = e2e::ScreenRect(editor);

    ::MoveWindow(editor, start.left, start.top, 400, 300, TRUE);
    EXPECT_TRUE(e2e::WaitUntil([&] {
        const SIZE s = outerSize();
        return s.cx == 565 && s.cy == 400;
    })) << outerSize().cx
        << " x " << outerSize().cy;
    EXPECT_EQ(e2e::ScreenRect(editor).left, start.left);  // the top-left corner stays
    EXPECT_EQ(e2e::ScreenRect(editor).top, start.top);

    ::MoveWindow(editor, start.left, start.top, 564, 600, TRUE);
    EXPECT_TRUE(e2e::WaitUntil([&] {
        const SIZE s = outerSize();
        return s.cx == 565 && s.cy == 600;
    })) << outerSize().cx
        << " x " << outerSize().cy;

    ::MoveWindow(editor, start.left, start.top, 700, 520, TRUE);
    Sync();
    ASSERT_EQ(outerSize().cx, 700);
    ASSERT_EQ(outerSize().cy, 520);

    RECT client{};
    ::GetClientRect(editor, &client);
    const auto inClient = [&](int id) {
        RECT r = e2e::ScreenRect(::GetDlgItem(editor, id));
        ::MapWindowPoints(nullptr, editor, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    const RECT text = inClient(IDC_AA_TEXT);
    EXPECT_EQ(text.right - text.left, client.right - 32);
    EXPECT_EQ(text.bottom - text.top, client.bottom - 120);
    const RECT ok = inClient(IDOK);
    const int w = ok.right - ok.left;
    const int h = ok.bottom - ok.top;
    EXPECT_EQ(ok.left, client.right / 2 - w - w / 4);
    EXPECT_EQ(ok.top, client.bottom - h - 14);
    const RECT cancel = inClient(IDCANCEL);
    const int w2 = cancel.right - cancel.left;
    EXPECT_EQ(cancel.left, client.right / 2 + w2 / 4);
    EXPECT_EQ(cancel.bottom, client.bottom - 14);

    e2e::PostButtonClick(::GetDlgItem(editor, IDCANCEL));
    EXPECT_TRUE(WaitClosed(editor));
    EXPECT_FALSE(pelo.HasFile("AA"));
}

}  // namespace
