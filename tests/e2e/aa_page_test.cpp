// The "AAリスト" page end to end: listing the AA folder, editing, renaming,
// deleting and copying pieces in the real Pelo.exe.
#include "aa_driver.h"

namespace {

using aa_e2e::AAEndToEnd;
using aa_e2e::kSelectItem;
using Strings = std::vector<std::string>;

using AAPage = AAEndToEnd;

TEST_F(AAPage, ListsFilesAndFoldersHiddenOnesToo) {
    ASSERT_TRUE(pelo.WriteFile("AA\\x.TXT", "x"));
    ASSERT_TRUE(pelo.WriteFile("AA\\.txt", ""));
    ASSERT_TRUE(pelo.WriteFile("AA\\h.txt", "h"));
    ASSERT_TRUE(pelo.WriteFile("AA\\notes.md", "not a piece"));
    ASSERT_TRUE(::SetFileAttributesW(pelo.PathOf("AA\\h.txt").c_str(), FILE_ATTRIBUTE_HIDDEN));
    std::filesystem::create_directory(pelo.PathOf("AA\\y.txt"));
    StartOnAAPage();

    EXPECT_EQ(Titles(), (Strings{"", "h", "x", "y"}));
    EXPECT_EQ(e2e::ListSelection(List()), LB_ERR);
}

// Without an AA folder the list is empty; Edit and Delete ask for a
// selection, a double-click does nothing, and the first save makes the folder.
TEST_F(AAPage, NoFolderNoSelectionThenTheFirstPiece) {
    StartOnAAPage();
    EXPECT_EQ(e2e::ListCount(List()), 0);

    e2e::PostButtonClick(pelo.Control(IDC_EDIT_AA));
    EXPECT_EQ(AnswerBox(), kSelectItem);
    e2e::PostButtonClick(pelo.Control(IDC_DELETE_AA));
    EXPECT_EQ(AnswerBox(), kSelectItem);

    ASSERT_TRUE(e2e::SetClipboardText("before"));
    ASSERT_TRUE(pelo.Activate());
    e2e::DoubleClick(e2e::ClientCentre(List()));
    // Input is handled in order: once Edit's answer shows, the double-click is done.
    e2e::ClickWindow(pelo.Control(IDC_EDIT_AA));
    EXPECT_EQ(AnswerBox(), kSelectItem);
    EXPECT_EQ(e2e::ClipboardText(), "before");
    EXPECT_FALSE(pelo.HasFile("AA"));

    const HWND editor = OpenEditor(IDC_NEW_AA);
    ASSERT_NE(editor, nullptr);
    Fill(editor, "first", "1\r\n");
    ClickOK(editor);
    ASSERT_TRUE(WaitClosed(editor));
    ASSERT_TRUE(e2e::WaitUntil([&] { return Titles() == Strings{"first"}; }));
    EXPECT_EQ(pelo.ReadFile("AA\\first.txt"), "1\r\n");
}

TEST_F(AAPage, DoubleClickCopiesTheTextWithCrLfAfterEveryLine) {
    ASSERT_TRUE(pelo.WriteFile("AA\\a.txt", "a\r\nb"));
    ASSERT_TRUE(pelo.WriteFile("AA\\b.txt", ""));
    ASSERT_TRUE(pelo.WriteFile("AA\\c.txt", "\x83\x5C\n\r\n"));  // ソ, a lone LF, an empty line
    StartOnAAPage();

    ASSERT_TRUE(e2e::SetClipboardText("before"));
    ASSERT_TRUE(e2e::DoubleClickListItem(List(), 0));
    EXPECT_TRUE(e2e::WaitUntil([] { return e2e::ClipboardText() == "a\r\nb\r\n"; }));
    ASSERT_TRUE(e2e::DoubleClickListItem(List(), 2));
    EXPECT_TRUE(e2e::WaitUntil([] { return e2e::ClipboardText() == "\x83\x5C\r\n\r\n"; }));
    ASSERT_TRUE(e2e::DoubleClickListItem(List(), 1));
    EXPECT_TRUE(e2e::WaitUntil([] { return e2e::ClipboardText() == ""; }));
    EXPECT_TRUE(pelo.IsRunning());
}

// Saved without a change, a piece gains exactly its missing final line end;
// a lone LF typed into the editor is written as CR LF.
TEST_F(AAPage, EditInPlaceKeepsLineEndsAsCrLf) {
    ASSERT_TRUE(pelo.WriteFile("AA\\a.txt", "a\r\nb"));
    StartOnAAPage();

    ASSERT_TRUE(e2e::ClickListItem(List(), 0));
    HWND editor = OpenEditor(IDC_EDIT_AA);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(e2e::WindowText(::GetDlgItem(editor, IDC_AA_TITLE)), "a");
    EXPECT_EQ(e2e::WindowText(::GetDlgItem(editor, IDC_AA_TEXT)), "a\r\nb\r\n");
    ClickOK(editor);
    ASSERT_TRUE(WaitClosed(editor));
    Sync();
    EXPECT_EQ(pelo.ReadFile("AA\\a.txt"), "a\r\nb\r\n");
    EXPECT_EQ(e2e::ListSelection(List()), LB_ERR);  // refilled

    ASSERT_TRUE(e2e::ClickListItem(List(), 0));
    editor = OpenEditor(IDC_EDIT_AA);
    ASSERT_NE(editor, nullptr);
    e2e::SetEditText(::GetDlgItem(editor, IDC_AA_TEXT), "x\ny\rz");
    ASSERT_EQ(e2e::WindowText(::GetDlgItem(editor, IDC_AA_TEXT)), "x\ny\rz");
    ClickOK(editor);
    ASSERT_TRUE(WaitClosed(editor));
    Sync();
    EXPECT_EQ(pelo.ReadFile("AA\\a.txt"), "x\r\ny\rz");
    EXPECT_EQ(PieceFileNames(), Strings{"a.txt"});

    // Cancel leaves the piece alone.
    ASSERT_TRUE(e2e::ClickListItem(List(), 0));
    editor = OpenEditor(IDC_EDIT_AA);
    ASSERT_NE(editor, nullptr);
    Fill(editor, "other", "changed");
    e2e::PostButtonClick(::GetDlgItem(editor, IDCANCEL));
    ASSERT_TRUE(WaitClosed(editor));
    Sync();
    EXPECT_EQ(PieceFileNames(), Strings{"a.txt"});
    EXPECT_EQ(pelo.ReadFile("AA\\a.txt"), "x\r\ny\rz");
}

TEST_F(AAPage, RenameMovesThePieceAlsoForALetterCaseChange) {
    ASSERT_TRUE(pelo.WriteFile("AA\\a.txt", "old\r\n"));
    StartOnAAPage();

    ASSERT_TRUE(e2e::ClickListItem(List(), 0));
    HWND editor = OpenEditor(IDC_EDIT_AA);
    ASSERT_NE(editor, nullptr);
    Fill(editor, "b", "new\r\n");
    ClickOK(editor);
    ASSERT_TRUE(WaitClosed(editor));
    ASSERT_TRUE(e2e::WaitUntil([&] { return Titles() == Strings{"b"}; }));
    EXPECT_EQ(PieceFileNames(), Strings{"b.txt"});
    EXPECT_EQ(pelo.ReadFile("AA\\b.txt"), "new\r\n");

    ASSERT_TRUE(e2e::ClickListItem(List(), 0));
    editor = OpenEditor(IDC_EDIT_AA);
    ASSERT_NE(editor, nullptr);
    e2e::SetEditText(::GetDlgItem(editor, IDC_AA_TITLE), "B");
    ClickOK(editor);
    ASSERT_TRUE(WaitClosed(editor));
    ASSERT_TRUE(e2e::WaitUntil([&] { return Titles() == Strings{"B"}; }));
    EXPECT_EQ(PieceFileNames(), Strings{"B.txt"});
    EXPECT_EQ(pelo.ReadFile("AA\\B.txt"), "new\r\n");
}

// The new text lands in the old file, which keeps its name; the error names
// the old path; the list is not refilled (the selection stays, a file added
// meanwhile does not show).
TEST_F(AAPage, RenameOntoAnExistingPieceReportsTheOldPath) {
    ASSERT_TRUE(pelo.WriteFile("AA\\a.txt", "A\r\n"));
    ASSERT_TRUE(pelo.WriteFile("AA\\b.txt", "B\r\n"));
    StartOnAAPage();

    ASSERT_TRUE(e2e::ClickListItem(List(), 0));
    const HWND editor = OpenEditor(IDC_EDIT_AA);
    ASSERT_NE(editor, nullptr);
    Fill(editor, "b", "new\r\n");  // edit mode: no overwrite question
    ASSERT_TRUE(pelo.WriteFile("AA\\c.txt", "C\r\n"));
    ClickOK(editor);
    EXPECT_EQ(AnswerBox(), "Access to AA\\a.txt was denied.");
    ASSERT_TRUE(WaitClosed(editor));
    Sync();

    EXPECT_EQ(pelo.ReadFile("AA\\a.txt"), "new\r\n");
    EXPECT_EQ(pelo.ReadFile("AA\\b.txt"), "B\r\n");
    EXPECT_EQ(Titles(), (Strings{"a", "b"}));
    EXPECT_EQ(e2e::ListSelection(List()), 0);
    EXPECT_EQ(PieceFileNames(), (Strings{"a.txt", "b.txt", "c.txt"}));
}

TEST_F(AAPage, DeleteSelectsTheFollowingOrTheNewLastEntry) {
    for (const char* name : {"AA\\a.txt", "AA\\b.txt", "AA\\c.txt", "AA\\d.txt"}) {
        ASSERT_TRUE(pelo.WriteFile(name, "x"));
    }
    StartOnAAPage();

    ASSERT_TRUE(e2e::ClickListItem(List(), 3));
    e2e::PostButtonClick(pelo.Control(IDC_DELETE_AA));
    ASSERT_TRUE(e2e::WaitUntil([&] { return Titles() == Strings{"a", "b", "c"}; }));
    Sync();
    EXPECT_EQ(e2e::ListSelection(List()), 2);
    EXPECT_FALSE(pelo.HasFile("AA\\d.txt"));

    ASSERT_TRUE(e2e::ClickListItem(List(), 0));
    e2e::PostButtonClick(pelo.Control(IDC_DELETE_AA));
    ASSERT_TRUE(e2e::WaitUntil([&] { return Titles() == Strings{"b", "c"}; }));
    Sync();
    EXPECT_EQ(e2e::ListSelection(List()), 0);

    e2e::PostButtonClick(pelo.Control(IDC_DELETE_AA));  // deletes b, still selected
    ASSERT_TRUE(e2e::WaitUntil([&] { return Titles() == Strings{"c"}; }));
    Sync();
    EXPECT_EQ(e2e::ListSelection(List()), 0);

    e2e::PostButtonClick(pelo.Control(IDC_DELETE_AA));
    ASSERT_TRUE(e2e::WaitUntil([&] { return Titles().empty(); }));
    Sync();
    EXPECT_EQ(e2e::ListSelection(List()), LB_ERR);
    EXPECT_EQ(PieceFileNames(), Strings{});
}

// A piece removed behind Pelo's back: Delete, Edit and a double-click each
// report the file error, and the list and the clipboard stay as they were.
TEST_F(AAPage, AVanishedPieceIsReported) {
    ASSERT_TRUE(pelo.WriteFile("AA\\a.txt", "x"));
    StartOnAAPage();
    ASSERT_TRUE(e2e::ClickListItem(List(), 0));
    std::filesystem::remove(pelo.PathOf("AA\\a.txt"));
    ASSERT_TRUE(e2e::SetClipboardText("before"));
    const std::string notFound =
        e2e::ToCp932(pelo.PathOf("AA\\a.txt").wstring()) + " was not found.";

    e2e::PostButtonClick(pelo.Control(IDC_DELETE_AA));
    EXPECT_EQ(AnswerBox(), "AA\\a.txt was not found.");
    e2e::PostButtonClick(pelo.Control(IDC_EDIT_AA));
    EXPECT_EQ(AnswerBox(), notFound);
    ASSERT_TRUE(e2e::DoubleClickListItem(List(), 0));
    EXPECT_EQ(AnswerBox(), notFound);
    Sync();
    EXPECT_EQ(Titles(), Strings{"a"});
    EXPECT_EQ(e2e::ListSelection(List()), 0);
    EXPECT_EQ(e2e::ClipboardText(), "before");
}

}  // namespace
