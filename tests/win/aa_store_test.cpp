// The AA folder on a real file system: which entries are pieces, and the failures
// the page's own tests cannot bring about.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "aa/AAStore.h"
#include "aa/AATitle.h"
#include "win/FileError.h"

namespace {

using testsupport::FromCp932;
using testsupport::ReadFileBytes;
using Titles = std::vector<std::wstring>;

// A character beyond the BMP (U+1F43B) and one beyond CP932 (U+2665).
const std::wstring kBear = L"\xD83D\xDC3B";
const std::wstring kHeart = L"\x2665";

// Runs each test in a fresh current folder, as Pelo runs in its own.
class AAStoreTest : public ::testing::Test {
protected:
    AAStoreTest() : m_store("AA\\%s.txt"), m_previous(std::filesystem::current_path()) {
        std::filesystem::current_path(m_folder.Path());
    }
    ~AAStoreTest() override { std::filesystem::current_path(m_previous); }

    Titles SortedTitles() const {
        Titles titles = m_store.ListTitles();
        std::sort(titles.begin(), titles.end());
        return titles;
    }

    testsupport::TempFolder m_folder;
    AAStore m_store;
    std::filesystem::path m_previous;
};

TEST_F(AAStoreTest, ListsEveryEntryWhoseNameEndsInTxt) {
    EXPECT_EQ(SortedTitles(), Titles{}) << "no AA folder";
    for (const char* name : {"one.txt", "Two.TXT", ".txt", "long piece name.txt", "\x83\x5C.txt",
                             "x.txt1", "three.dat", "dir.txt\\inside.txt"}) {
        ASSERT_TRUE(testsupport::WriteFileBytes(m_folder / ("AA\\" + std::string(name)), ""));
    }
    // Names the ANSI code page cannot hold, each exactly.
    for (const std::wstring& title : {kHeart, kBear + L"e\x0301", std::wstring(L"\x0628")}) {
        ASSERT_TRUE(testsupport::WriteFileBytes(m_folder.Path() / L"AA" / (title + L".txt"), ""));
    }
    // x.txt1 matches "*.txt" only by its short name, as the long name of a
    // piece whose short name differs does not.
    EXPECT_EQ(SortedTitles(), (Titles{L"", L"Two", L"dir", L"long piece name", L"one", L"\x0628",
                                      kHeart, FromCp932("\x83\x5C"), kBear + L"e\x0301"}));
}

// What the AA page's tests (main_dialog_test) do not reach: reading what is no piece,
// renaming a piece that is gone. (Titles, line ends, renames onto another piece and
// the removal of a missing one are seen there through the real dialogs.)
TEST_F(AAStoreTest, NoPieceReadsAsNothingAndAGonePieceCannotBeRenamed) {
    AAStore::WritePiece(L"AA\\a.txt", {"A", text::Encoding::ShiftJis});
    EXPECT_EQ(AAStore::ReadPiece(L"AA\\missing.txt"), std::nullopt);
    EXPECT_EQ(AAStore::ReadPiece(L"AA"), std::nullopt);  // a folder is no piece
    // The error names the path as given, a character beyond the code page included.
    for (const std::wstring& title : {std::wstring(L"c"), kHeart + kBear}) {
        const std::wstring from = L"AA\\" + title + L".txt";
        try {
            AAStore::RenamePiece(from, L"AA\\d.txt");
            ADD_FAILURE() << "no error";
        } catch (const win::FileError& error) {
            EXPECT_EQ(error.Cause(), win::FileErrorCause::FileNotFound);
            EXPECT_EQ(error.WidePath(), from);
            EXPECT_EQ(error.WideMessage(), from + L" was not found.");
        }
    }
    EXPECT_EQ(SortedTitles(), Titles{L"a"});
    EXPECT_EQ(ReadFileBytes(m_folder / "AA\\a.txt"), "A");
}

// A title the code page cannot hold is measured in UTF-16 units, as the wide file
// functions take its path: a character beyond the BMP counts two.
TEST_F(AAStoreTest, TitlesBeyondTheCodePageAreMeasuredInUtf16Units) {
    const std::size_t fixed = (m_folder.Path() / L"AA").wstring().size() + 1 + 4;
    ASSERT_LT(fixed + 4, aa::kMaxPath);
    const std::size_t room = aa::kMaxPath - 1 - fixed;  // units a title may take
    const struct {
        std::wstring title;
        bool usable;
    } kCases[] = {
        {kHeart + std::wstring(room - 1, L'x'), true},
        {kHeart + std::wstring(room, L'x'), false},
        {kBear + std::wstring(room - 2, L'x'), true},
        {kBear + std::wstring(room - 1, L'x'), false},
        {kHeart + L"\\..\\dic", false},
        {L"CON", false},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(m_store.IsUsableTitle(c.title), c.usable) << c.title.size();
    }
}

}  // namespace
