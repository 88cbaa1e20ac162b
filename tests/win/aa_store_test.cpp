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
#include "win/FileError.h"

namespace {

using testsupport::ReadFileBytes;
using Titles = std::vector<std::string>;

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
    // x.txt1 matches "*.txt" only by its short name, as the long name of a
    // piece whose short name differs does not.
    EXPECT_EQ(SortedTitles(), (Titles{"", "Two", "dir", "long piece name", "one", "\x83\x5C"}));
}

// What the AA page's tests (main_dialog_test) do not reach: reading what is no piece,
// renaming a piece that is gone. (Titles, line ends, renames onto another piece and
// the removal of a missing one are seen there through the real dialogs.)
TEST_F(AAStoreTest, NoPieceReadsAsNothingAndAGonePieceCannotBeRenamed) {
    AAStore::WritePiece("AA\\a.txt", "A");
    EXPECT_EQ(AAStore::ReadPiece("AA\\missing.txt"), std::nullopt);
    EXPECT_EQ(AAStore::ReadPiece("AA"), std::nullopt);  // a folder is no piece
    try {
        AAStore::RenamePiece("AA\\c.txt", "AA\\d.txt");
        ADD_FAILURE() << "no error";
    } catch (const win::FileError& error) {
        EXPECT_EQ(error.Cause(), win::FileErrorCause::FileNotFound);
        EXPECT_EQ(error.Path(), "AA\\c.txt");
    }
    EXPECT_EQ(SortedTitles(), Titles{"a"});
    EXPECT_EQ(ReadFileBytes(m_folder / "AA\\a.txt"), "A");
}

}  // namespace
