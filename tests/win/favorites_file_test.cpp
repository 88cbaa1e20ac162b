// Favorite.txt on a real file system: open modes, exact bytes, and that no
// failure changes or loses the file.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "favorites/FavoritesFile.h"
#include "win/FileError.h"
#include "win/UniqueHandle.h"

namespace {

using Entries = std::vector<std::string>;

class FavoritesFileTest : public ::testing::Test {
protected:
    std::filesystem::path FilePath() const { return m_folder / "Favorite.txt"; }
    std::string File() const { return testsupport::ToCp932(FilePath().wstring()); }
    std::string Bytes() const { return testsupport::ReadFileBytes(FilePath()); }
    // The entries a load finds; nothing when it cannot open the file.
    std::optional<Entries> Load() const {
        Entries entries;
        if (!favorites::LoadFavoritesFile(File(), entries)) {
            return std::nullopt;
        }
        return entries;
    }
    void Write(std::string_view bytes) const {
        ASSERT_TRUE(testsupport::WriteFileBytes(FilePath(), bytes));
    }

    // Opens the file the way another program holding it without sharing does.
    win::UniqueFile HoldExclusively() const {
        win::UniqueFile held(::CreateFileW(FilePath().c_str(), GENERIC_READ, 0, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        EXPECT_TRUE(held);
        return held;
    }

    // Names in the folder other than Favorite.txt: a temporary file left behind.
    std::vector<std::string> Strays() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_folder.Path())) {
            if (entry.path().filename() != L"Favorite.txt") {
                names.push_back(entry.path().filename().string());
            }
        }
        return names;
    }

    testsupport::TempFolder m_folder;
};

TEST_F(FavoritesFileTest, LoadCreatesAMissingFileEmpty) {
    const auto entries = Load();
    ASSERT_TRUE(entries.has_value());
    EXPECT_TRUE(entries->empty());
    ASSERT_TRUE(testsupport::FileExists(FilePath()));
    EXPECT_EQ(Bytes(), "");
}

TEST_F(FavoritesFileTest, LoadReadsTextModeLinesAndLeavesTheFile) {
    const std::string bytes = "(^^)\r\nLF only\n\r\nlone\rCR\r\n\x83\x5C\032after\r\nlast";
    Write(bytes);
    const auto entries = Load();
    ASSERT_TRUE(entries.has_value());
    EXPECT_EQ(*entries, (Entries{"(^^)", "LF only", "", "lone\rCR", "\x83\x5C"}));
    EXPECT_EQ(Bytes(), bytes);
}

TEST_F(FavoritesFileTest, LoadOfAFileHeldByAnotherProgramGivesNothing) {
    Write("a\r\n");
    const win::UniqueFile held = HoldExclusively();
    EXPECT_FALSE(Load().has_value());
}

TEST_F(FavoritesFileTest, LoadClosesTheFileWhenDone) {
    // The load opens the file without sharing: it must not keep it open.
    Write("a\r\n");
    ASSERT_TRUE(Load().has_value());
    EXPECT_TRUE(HoldExclusively());
}

TEST_F(FavoritesFileTest, SaveWritesCrLfAfterEveryEntry) {
    Write("old\nlines\n");
    favorites::SaveFavoritesFile(File(), Entries{"b", "", "a\r", "\x83\x41"});
    EXPECT_EQ(Bytes(), "b\r\n\r\na\r\r\n\x83\x41\r\n");
    favorites::SaveFavoritesFile(File(), Entries{});
    EXPECT_EQ(Bytes(), "");
    EXPECT_TRUE(testsupport::FileExists(FilePath()));
    EXPECT_EQ(Strays(), std::vector<std::string>{});
}

TEST_F(FavoritesFileTest, FailedSaveLeavesTheOldFileWholeAndNoTemporaryFile) {
    const std::string old = "one\r\ntwo\r\nthree\r\n";
    Write(old);
    {
        const win::UniqueFile held = HoldExclusively();
        try {
            favorites::SaveFavoritesFile(File(), Entries{"two", "three"});
            ADD_FAILURE() << "a save over a held file succeeded";
        } catch (const win::FileError& error) {
            EXPECT_NE(error.Cause(), win::FileErrorCause::None);
            EXPECT_TRUE(error.Path().ends_with("\\Favorite.txt")) << error.Path();
        }
    }
    EXPECT_EQ(Bytes(), old);
    EXPECT_EQ(Strays(), std::vector<std::string>{});
}

TEST_F(FavoritesFileTest, AddAppendsOneCrLfLine) {
    favorites::AddToFavoritesFile(File(), "(^^)");
    EXPECT_EQ(Bytes(), "(^^)\r\n");
    favorites::AddToFavoritesFile(File(), "\x83\x5C");
    EXPECT_EQ(Bytes(), "(^^)\r\n\x83\x5C\r\n");

    Write("a\nb\n");
    favorites::AddToFavoritesFile(File(), "c");
    EXPECT_EQ(Bytes(), "a\nb\nc\r\n");
}

TEST_F(FavoritesFileTest, AddClosesAnOpenLastLineFirst) {
    Write("a\r\nb");
    favorites::AddToFavoritesFile(File(), "c");
    EXPECT_EQ(Bytes(), "a\r\nb\r\nc\r\n");
}

TEST_F(FavoritesFileTest, AddToAFileWithCtrlZInsertsBeforeItKeepingEveryByte) {
    Write("a\r\n\032hidden\r\n");
    favorites::AddToFavoritesFile(File(), "b");
    EXPECT_EQ(Bytes(), "a\r\nb\r\n\032hidden\r\n");
    EXPECT_EQ(*Load(), (Entries{"a", "b"}));
    EXPECT_EQ(Strays(), std::vector<std::string>{});
}

TEST_F(FavoritesFileTest, AddToAHeldFileFailsWithoutWriting) {
    Write("a\r\n");
    {
        const win::UniqueFile held = HoldExclusively();
        EXPECT_THROW(favorites::AddToFavoritesFile(File(), "b"), win::FileError);
    }
    EXPECT_EQ(Bytes(), "a\r\n");
    EXPECT_EQ(Strays(), std::vector<std::string>{});
}

}  // namespace
