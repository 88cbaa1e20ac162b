// The AA folder on a real file system: listing, reading and writing pieces,
// renaming and removing them, and what a failure reports and leaves behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
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

    std::string Bytes(std::string_view path) const { return ReadFileBytes(m_folder / path); }
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

TEST_F(AAStoreTest, WritesReadsRenamesAndRemovesPieces) {
    const std::string path = m_store.PathForTitle("\x83\x5C a ");  // ソ with spaces
    AAStore::WritePiece(path, "a\nb\r\nc");                        // creates the AA folder
    EXPECT_EQ(Bytes(path), "a\r\nb\r\nc");
    EXPECT_EQ(AAStore::ReadPiece(path), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(AAStore::ReadPiece("AA\\missing.txt"), std::nullopt);
    EXPECT_EQ(AAStore::ReadPiece("AA"), std::nullopt);  // a folder is no piece

    AAStore::RenamePiece(path, "AA\\b.txt");
    AAStore::WritePiece("AA\\a.txt", "");
    AAStore::RenamePiece("AA\\a.txt", "AA\\A.txt");  // a change of letter case only
    EXPECT_EQ(SortedTitles(), (Titles{"A", "b"}));
    AAStore::RemovePiece("AA\\A.txt");
    EXPECT_EQ(SortedTitles(), Titles{"b"});
    EXPECT_EQ(Bytes("AA\\b.txt"), "a\r\nb\r\nc");
}

// Each failure names its cause and path and leaves every file as it was.
TEST_F(AAStoreTest, FailuresReportCauseAndPathAndChangeNothing) {
    AAStore::WritePiece("AA\\a.txt", "A");
    AAStore::WritePiece("AA\\b.txt", "B");
    const struct {
        std::function<void()> operation;
        win::FileErrorCause cause;
        const char* path;
    } kCases[] = {{[] { AAStore::RenamePiece("AA\\a.txt", "AA\\b.txt"); },
                   win::FileErrorCause::AccessDenied, "AA\\a.txt"},
                  {[] { AAStore::RenamePiece("AA\\c.txt", "AA\\d.txt"); },
                   win::FileErrorCause::FileNotFound, "AA\\c.txt"},
                  {[] { AAStore::RemovePiece("AA\\c.txt"); }, win::FileErrorCause::FileNotFound,
                   "AA\\c.txt"}};
    for (const auto& c : kCases) {
        try {
            c.operation();
            ADD_FAILURE() << c.path << ": no error";
        } catch (const win::FileError& error) {
            EXPECT_EQ(error.Cause(), c.cause) << c.path;
            EXPECT_EQ(error.Path(), c.path);
        }
    }
    EXPECT_EQ(Bytes("AA\\a.txt") + Bytes("AA\\b.txt"), "AB");
    EXPECT_EQ(SortedTitles(), (Titles{"a", "b"}));
}

// The length limit counts the full path: current folder, "\AA\", title, ".txt".
TEST_F(AAStoreTest, TitleUsableOnlyWhileTheFullPathStaysBelowMaxPath) {
    const std::size_t room = MAX_PATH - 1 - m_folder.Path().wstring().size() - 8;
    EXPECT_TRUE(m_store.IsUsableTitle(std::string(room, 'a')));
    EXPECT_FALSE(m_store.IsUsableTitle(std::string(room + 1, 'a')));
}

}  // namespace
