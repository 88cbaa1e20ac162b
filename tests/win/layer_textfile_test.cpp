// Text files, the whole-file replace and the file-system helpers on a real
// file system: open and sharing modes, the text-mode rules over a handle,
// and what each failure reports and leaves behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "win/FileError.h"
#include "win/FileSystem.h"
#include "win/Strings.h"
#include "win/TextFile.h"

namespace {

using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;
using win::FileAccess;
using win::FileCreation;
using win::FileErrorCause;
using win::FileSharing;
using win::OpenOptions;
using win::TextFile;

constexpr OpenOptions kRead{};
constexpr OpenOptions kWriteTruncate{FileAccess::Write, FileCreation::CreateTruncate};

// Each test runs in a fresh current folder, as Pelo does in its own.
class TextFileTest : public ::testing::Test {
protected:
    TextFileTest() : m_previous(std::filesystem::current_path()) {
        std::filesystem::current_path(m_folder.Path());
    }
    ~TextFileTest() override { std::filesystem::current_path(m_previous); }

    // The ANSI form of a file's full path, as the layer reports it.
    std::string Full(std::string_view name) const {
        return win::WideToAnsi((m_folder / name).wstring());
    }
    std::filesystem::path PathOf(std::string_view name) const { return m_folder / name; }

    std::vector<std::string> SortedNames(const std::string& pattern) const {
        std::vector<std::string> names = win::FindFileNames(pattern);
        std::sort(names.begin(), names.end());
        return names;
    }

    std::vector<std::string> ReadLines(const std::string& name) {
        std::optional<TextFile> file = TextFile::Open(name, kRead);
        EXPECT_TRUE(file.has_value());
        std::vector<std::string> lines;
        std::string line;
        while (file && file->ReadLine(line)) {
            lines.push_back(line);
        }
        return lines;
    }

    testsupport::TempFolder m_folder;
    std::filesystem::path m_previous;
};

TEST_F(TextFileTest, OpenModes) {
    EXPECT_FALSE(TextFile::Open("missing.txt", kRead).has_value());
    EXPECT_EQ(TextFile::LastOpenError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(TextFile::Open("no folder\\x.txt", kRead).has_value());
    EXPECT_EQ(TextFile::LastOpenError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));

    // CreateNoTruncate: a missing file is created empty, a present one kept.
    const OpenOptions keep{FileAccess::Write, FileCreation::CreateNoTruncate};
    ASSERT_TRUE(TextFile::Open("new.txt", keep).has_value());
    EXPECT_TRUE(testsupport::FileExists(PathOf("new.txt")));
    ASSERT_TRUE(WriteFileBytes(PathOf("old.txt"), "kept\r\n"));
    {
        std::optional<TextFile> file = TextFile::Open("old.txt", keep);
        ASSERT_TRUE(file.has_value());
        EXPECT_EQ(file->Length(), 6u);
        file->SeekToEnd();
        file->Write("more\n");
        file->Close();
    }
    EXPECT_EQ(ReadFileBytes(PathOf("old.txt")), "kept\r\nmore\r\n");

    // CreateTruncate empties a present file.
    ASSERT_TRUE(TextFile::Open("old.txt", kWriteTruncate).has_value());
    EXPECT_EQ(ReadFileBytes(PathOf("old.txt")), "");
}

TEST_F(TextFileTest, ExclusiveSharingRefusesASecondOpener) {
    ASSERT_TRUE(WriteFileBytes(PathOf("f.txt"), "x"));
    {
        std::optional<TextFile> shared = TextFile::Open("f.txt", kRead);
        ASSERT_TRUE(shared.has_value());
        EXPECT_TRUE(TextFile::Open("f.txt", kRead).has_value()) << "compatible openers share";
    }
    const OpenOptions exclusive{FileAccess::Read, FileCreation::OpenExisting,
                                FileSharing::Exclusive};
    std::optional<TextFile> first = TextFile::Open("f.txt", exclusive);
    ASSERT_TRUE(first.has_value());
    EXPECT_FALSE(TextFile::Open("f.txt", kRead).has_value());
    EXPECT_EQ(TextFile::LastOpenError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_FALSE(TextFile::Open("f.txt", kWriteTruncate).has_value());
    first->Close();
    EXPECT_TRUE(TextFile::Open("f.txt", kRead).has_value()) << "free again once closed";
}

TEST_F(TextFileTest, ReadsLinesInTextMode) {
    const std::string big(200000, 'k');  // longer than one read chunk
    ASSERT_TRUE(WriteFileBytes(PathOf("dic.txt"), "a\r\nb\nc\rd\r\n" + big +
                                                      "\r\n\x83\x5C\r\nlast\x1A"
                                                      "ignored\r\n"));
    EXPECT_EQ(ReadLines("dic.txt"),
              (std::vector<std::string>{"a", "b", "c\rd", big, "\x83\x5C", "last"}));

    ASSERT_TRUE(WriteFileBytes(PathOf("empty.txt"), ""));
    EXPECT_TRUE(ReadLines("empty.txt").empty());
}

TEST_F(TextFileTest, ReadErrorsThrowWithTheFullPath) {
    ASSERT_TRUE(WriteFileBytes(PathOf("w.txt"), "data\r\n"));
    const OpenOptions writeOnly{FileAccess::Write, FileCreation::OpenExisting};
    std::optional<TextFile> file = TextFile::Open("w.txt", writeOnly);
    ASSERT_TRUE(file.has_value());
    std::string line;
    try {
        file->ReadLine(line);
        FAIL() << "reading a file opened for writing must fail";
    } catch (const win::FileError& error) {
        EXPECT_EQ(error.Cause(), FileErrorCause::AccessDenied);
        EXPECT_EQ(error.Path(), Full("w.txt"));
        EXPECT_EQ(file->FullPath(), Full("w.txt"));
    }
}

TEST_F(TextFileTest, WritesLfAsCrLf) {
    {
        std::optional<TextFile> file = TextFile::Open("out.txt", kWriteTruncate);
        ASSERT_TRUE(file.has_value());
        file->Write("(^_^)\n\x83\x5C\x83\x74\x83\x67\n");
        file->WriteRaw("raw\n");
        file->Write("");
        file->Flush();
        EXPECT_EQ(file->Length(), 19u);
        file->Close();
    }
    EXPECT_EQ(ReadFileBytes(PathOf("out.txt")), "(^_^)\r\n\x83\x5C\x83\x74\x83\x67\r\nraw\n");
}

TEST_F(TextFileTest, SetLengthTruncatesAndWritingContinuesAtTheEnd) {
    ASSERT_TRUE(WriteFileBytes(PathOf("t.txt"), "0123456789"));
    std::optional<TextFile> file =
        TextFile::Open("t.txt", {FileAccess::Write, FileCreation::OpenExisting});
    ASSERT_TRUE(file.has_value());
    file->SetLength(4);
    file->Write("x\n");
    file->Close();
    EXPECT_EQ(ReadFileBytes(PathOf("t.txt")), "0123x\r\n");
}

TEST_F(TextFileTest, WriteErrorsThrowWithTheFullPath) {
    ASSERT_TRUE(WriteFileBytes(PathOf("r.txt"), "x"));
    std::optional<TextFile> file = TextFile::Open("r.txt", kRead);
    ASSERT_TRUE(file.has_value());
    try {
        file->Write("no\n");
        FAIL() << "writing a file opened for reading must fail";
    } catch (const win::FileError& error) {
        EXPECT_EQ(error.Cause(), FileErrorCause::AccessDenied);
        EXPECT_EQ(error.Path(), Full("r.txt"));
    }
    EXPECT_EQ(ReadFileBytes(PathOf("r.txt")), "x");
}

TEST_F(TextFileTest, MovedFileKeepsReading) {
    ASSERT_TRUE(WriteFileBytes(PathOf("m.txt"), "one\r\ntwo\r\n"));
    std::optional<TextFile> opened = TextFile::Open("m.txt", kRead);
    ASSERT_TRUE(opened.has_value());
    std::string line;
    ASSERT_TRUE(opened->ReadLine(line));
    TextFile moved = std::move(*opened);
    opened.reset();
    ASSERT_TRUE(moved.ReadLine(line));
    EXPECT_EQ(line, "two");
    EXPECT_FALSE(moved.ReadLine(line));
}

// --- ReplaceFileContents -----------------------------------------------------

TEST_F(TextFileTest, ReplaceWritesExactlyAndLeavesNoTemporaryFile) {
    win::ReplaceFileContents("Favorite.txt", "new\r\n");
    EXPECT_EQ(ReadFileBytes(PathOf("Favorite.txt")), "new\r\n");
    ASSERT_TRUE(WriteFileBytes(PathOf("Favorite.txt"), std::string(5000, 'o')));
    win::ReplaceFileContents("Favorite.txt", "a\r\nb\r\n");
    EXPECT_EQ(ReadFileBytes(PathOf("Favorite.txt")), "a\r\nb\r\n");
    win::ReplaceFileContents("Favorite.txt", "");
    EXPECT_EQ(ReadFileBytes(PathOf("Favorite.txt")), "");
    EXPECT_EQ(SortedNames("*"), std::vector<std::string>{"Favorite.txt"});
}

TEST_F(TextFileTest, ReplaceHandlesTrailBytesEqualToBackslash) {
    ASSERT_TRUE(win::CreateFolder("AA"));
    const std::string name = "AA\\\x83\x5C\x83\x74\x83\x67.txt";  // ソフト.txt
    win::ReplaceFileContents(name, "art\r\n");
    EXPECT_EQ(ReadFileBytes(PathOf(name)), "art\r\n");
    EXPECT_EQ(SortedNames("AA\\*"), std::vector<std::string>{"\x83\x5C\x83\x74\x83\x67.txt"});
}

TEST_F(TextFileTest, ReplaceOfAHeldFileKeepsTheOldFileWhole) {
    ASSERT_TRUE(WriteFileBytes(PathOf("Favorite.txt"), "old\r\n"));
    const OpenOptions exclusive{FileAccess::Read, FileCreation::OpenExisting,
                                FileSharing::Exclusive};
    std::optional<TextFile> holder = TextFile::Open("Favorite.txt", exclusive);
    ASSERT_TRUE(holder.has_value());
    try {
        win::ReplaceFileContents("Favorite.txt", "new\r\n");
        ADD_FAILURE() << "the target is held without sharing: the replace must fail";
    } catch (const win::FileError& error) {
        EXPECT_TRUE(error.Cause() == FileErrorCause::SharingViolation ||
                    error.Cause() == FileErrorCause::AccessDenied)
            << static_cast<int>(error.Cause());
        EXPECT_EQ(error.Path(), Full("Favorite.txt"));
    }
    holder->Close();
    EXPECT_EQ(ReadFileBytes(PathOf("Favorite.txt")), "old\r\n");
    EXPECT_EQ(SortedNames("*"), std::vector<std::string>{"Favorite.txt"});
}

TEST_F(TextFileTest, ReplaceInAMissingFolderFails) {
    try {
        win::ReplaceFileContents("nowhere\\x.txt", "x");
        FAIL() << "there is no folder to write in";
    } catch (const win::FileError& error) {
        EXPECT_EQ(error.Cause(), FileErrorCause::BadPath);
        EXPECT_EQ(error.Path(), Full("nowhere\\x.txt"));
    }
    EXPECT_TRUE(SortedNames("*").empty());
}

// --- File-system helpers ---------------------------------------------------

TEST_F(TextFileTest, SearchMatchesLikeTheSystem) {
    ASSERT_TRUE(win::CreateFolder("AA"));
    EXPECT_FALSE(win::CreateFolder("AA")) << "already there";
    ASSERT_TRUE(WriteFileBytes(PathOf("AA\\one.txt"), "1"));
    ASSERT_TRUE(WriteFileBytes(PathOf("AA\\Two.TXT"), "2"));
    ASSERT_TRUE(WriteFileBytes(PathOf("AA\\three.dat"), "3"));
    ASSERT_TRUE(win::CreateFolder("AA\\dir.txt"));

    EXPECT_EQ(SortedNames("AA\\*.txt"),
              (std::vector<std::string>{"Two.TXT", "dir.txt", "one.txt"}));
    EXPECT_TRUE(win::FindFileNames("nothing\\*.txt").empty());
    EXPECT_TRUE(win::AnythingMatches("AA\\ONE.txt")) << "letter case is ignored";
    EXPECT_TRUE(win::AnythingMatches("AA\\dir.txt")) << "folders count";
    EXPECT_TRUE(win::AnythingMatches("AA\\t*.*"));
    EXPECT_FALSE(win::AnythingMatches("AA\\four.txt"));
}

TEST_F(TextFileTest, RenameAndRemoveThrowWithTheGivenPath) {
    ASSERT_TRUE(WriteFileBytes(PathOf("a.txt"), "a"));
    ASSERT_TRUE(WriteFileBytes(PathOf("b.txt"), "b"));
    win::RenameFile("a.txt", "c.txt");
    EXPECT_EQ(ReadFileBytes(PathOf("c.txt")), "a");

    try {
        win::RenameFile("c.txt", "b.txt");
        FAIL() << "renaming onto an existing file must fail";
    } catch (const win::FileError& error) {
        EXPECT_EQ(error.Cause(), FileErrorCause::AccessDenied);
        EXPECT_EQ(error.Path(), "c.txt");
    }
    EXPECT_EQ(ReadFileBytes(PathOf("b.txt")), "b");

    win::RemoveFile("c.txt");
    EXPECT_FALSE(testsupport::FileExists(PathOf("c.txt")));
    try {
        win::RemoveFile("c.txt");
        FAIL() << "removing a missing file must fail";
    } catch (const win::FileError& error) {
        EXPECT_EQ(error.Cause(), FileErrorCause::FileNotFound);
        EXPECT_EQ(error.Path(), "c.txt");
    }
}

TEST(FileErrorCause, FromSystemErrors) {
    using win::CauseFromSystemError;
    EXPECT_EQ(CauseFromSystemError(ERROR_SUCCESS), FileErrorCause::None);
    EXPECT_EQ(CauseFromSystemError(ERROR_FILE_NOT_FOUND), FileErrorCause::FileNotFound);
    EXPECT_EQ(CauseFromSystemError(ERROR_PATH_NOT_FOUND), FileErrorCause::BadPath);
    EXPECT_EQ(CauseFromSystemError(ERROR_INVALID_NAME), FileErrorCause::BadPath);
    EXPECT_EQ(CauseFromSystemError(ERROR_ACCESS_DENIED), FileErrorCause::AccessDenied);
    EXPECT_EQ(CauseFromSystemError(ERROR_ALREADY_EXISTS), FileErrorCause::AccessDenied);
    EXPECT_EQ(CauseFromSystemError(ERROR_FILE_EXISTS), FileErrorCause::AccessDenied);
    EXPECT_EQ(CauseFromSystemError(ERROR_SHARING_VIOLATION), FileErrorCause::SharingViolation);
    EXPECT_EQ(CauseFromSystemError(ERROR_LOCK_VIOLATION), FileErrorCause::LockViolation);
    EXPECT_EQ(CauseFromSystemError(ERROR_DISK_FULL), FileErrorCause::DiskFull);
    EXPECT_EQ(CauseFromSystemError(ERROR_HANDLE_EOF), FileErrorCause::EndOfFile);
    EXPECT_EQ(CauseFromSystemError(ERROR_NOT_ENOUGH_MEMORY), FileErrorCause::Generic);
}

}  // namespace
