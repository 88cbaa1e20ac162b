// The AA store on a real file system: reading and writing pieces, renaming
// and removing them, and what a failure leaves behind. (Listing is covered
// end to end.)
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "aa/AAStore.h"
#include "win/FileError.h"
#include "win/FileSystem.h"
#include "win/UniqueHandle.h"

namespace {

using testsupport::FileExists;
using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;

// Runs each test in a fresh current folder, as Pelo runs in its own.
class AAStoreTest : public ::testing::Test {
protected:
    AAStoreTest() : m_store("AA\\%s.txt") {
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(m_folder.Path());
    }
    ~AAStoreTest() override { std::filesystem::current_path(m_previous); }

    std::filesystem::path PathOf(std::string_view relative) const { return m_folder / relative; }

    std::vector<std::string> SortedTitles() const {
        std::vector<std::string> titles = m_store.ListTitles();
        std::sort(titles.begin(), titles.end());
        return titles;
    }

    // Every entry of the AA folder, whatever its name.
    std::vector<std::string> FolderEntries() const {
        std::vector<std::string> names = win::FindFileNames("AA\\*");
        std::sort(names.begin(), names.end());
        return names;
    }

    testsupport::TempFolder m_folder;
    std::filesystem::path m_previous;
    AAStore m_store;
};

TEST_F(AAStoreTest, WritesAndReadsPiecesWithCrLfAfterEveryLine) {
    const std::string path = m_store.PathForTitle("\x83\x5C\x81\x7C a ");  // ソ－ with spaces
    EXPECT_EQ(path, "AA\\\x83\x5C\x81\x7C a .txt");
    AAStore::WritePiece(path, "a\nb\r\nc");  // creates the AA folder
    EXPECT_EQ(ReadFileBytes(PathOf(path)), "a\r\nb\r\nc");
    EXPECT_EQ(AAStore::ReadPiece(path), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(SortedTitles(), (std::vector<std::string>{"\x83\x5C\x81\x7C a "}));

    AAStore::WritePiece(path, "");
    EXPECT_TRUE(FileExists(PathOf(path)));
    EXPECT_EQ(ReadFileBytes(PathOf(path)), "");
    EXPECT_EQ(AAStore::ReadPiece(path), "");

    EXPECT_EQ(AAStore::ReadPiece("AA\\missing.txt"), std::nullopt);
    EXPECT_EQ(AAStore::ReadPiece("AA"), std::nullopt);  // a folder is no piece
}

TEST_F(AAStoreTest, RewritingLeavesNoTemporaryFileBehind) {
    for (int i = 0; i < 5; ++i) {
        AAStore::WritePiece("AA\\a.txt", std::string(i * 1000, 'x'));
    }
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"a.txt"}));
    EXPECT_EQ(ReadFileBytes(PathOf("AA\\a.txt")).size(), 4000u);
}

TEST_F(AAStoreTest, FailedWriteKeepsTheOldPieceWhole) {
    AAStore::WritePiece("AA\\a.txt", "old\r\n");
    // Another program holds the piece open and lets nobody replace it.
    win::UniqueFile holder(::CreateFileW(PathOf("AA\\a.txt").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                         nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_THROW(AAStore::WritePiece("AA\\a.txt", "new"), win::FileError);
    holder.reset();
    EXPECT_EQ(ReadFileBytes(PathOf("AA\\a.txt")), "old\r\n");
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"a.txt"}));
}

TEST_F(AAStoreTest, WriteFailsWithoutWritingWhenAAIsAFile) {
    ASSERT_TRUE(WriteFileBytes(PathOf("AA"), "a file"));
    try {
        AAStore::WritePiece("AA\\a.txt", "text");
        FAIL() << "the write went through";
    } catch (const win::FileError& error) {
        EXPECT_NE(error.Path().find("AA\\a.txt"), std::string::npos) << error.Path();
    }
    EXPECT_EQ(ReadFileBytes(PathOf("AA")), "a file");
}

TEST_F(AAStoreTest, RenameOntoAnExistingPieceFailsNamingTheOldPath) {
    AAStore::WritePiece("AA\\a.txt", "A");
    AAStore::WritePiece("AA\\b.txt", "B");
    try {
        AAStore::RenamePiece("AA\\a.txt", "AA\\b.txt");
        FAIL() << "the rename went through";
    } catch (const win::FileError& error) {
        EXPECT_EQ(error.Cause(), win::FileErrorCause::AccessDenied);
        EXPECT_EQ(error.Path(), "AA\\a.txt");
    }
    EXPECT_EQ(ReadFileBytes(PathOf("AA\\a.txt")), "A");
    EXPECT_EQ(ReadFileBytes(PathOf("AA\\b.txt")), "B");

    AAStore::RenamePiece("AA\\a.txt", "AA\\A.txt");  // a change of letter case only
    EXPECT_EQ(SortedTitles(), (std::vector<std::string>{"A", "b"}));
}

TEST_F(AAStoreTest, RemovingAMissingPieceFails) {
    AAStore::WritePiece("AA\\a.txt", "A");
    AAStore::RemovePiece("AA\\a.txt");
    EXPECT_TRUE(m_store.ListTitles().empty());
    try {
        AAStore::RemovePiece("AA\\a.txt");
        FAIL() << "removing a missing piece succeeded";
    } catch (const win::FileError& error) {
        EXPECT_EQ(error.Cause(), win::FileErrorCause::FileNotFound);
        EXPECT_EQ(error.Path(), "AA\\a.txt");
    }
}

// The length limit counts the full path: current folder, "\AA\", title, ".txt".
TEST_F(AAStoreTest, TitleUsableOnlyWhileTheFullPathStaysBelowMaxPath) {
    const std::size_t fixed =
        (::GetCurrentDirectoryA(0, nullptr) - 1) + 1 + std::string("AA\\.txt").size();
    ASSERT_LT(fixed, 250u);
    EXPECT_TRUE(m_store.IsUsableTitle(std::string(259 - fixed, 'a')));
    EXPECT_FALSE(m_store.IsUsableTitle(std::string(260 - fixed, 'a')));
    EXPECT_FALSE(m_store.IsUsableTitle("..\\dic"));
    EXPECT_TRUE(m_store.IsUsableTitle("\x95\x5C"));  // 表
}

}  // namespace
