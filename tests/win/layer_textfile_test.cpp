// Text files and the whole-file replace on a real file system: open and
// sharing modes, reading over a handle, and what each failure reports and
// leaves behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "TestSupport.h"
#include "win/FileError.h"
#include "win/Strings.h"
#include "win/TextFile.h"
#include "win/UniqueHandle.h"

namespace {

using testsupport::ReadFileBytes;
using testsupport::WriteFileBytes;
using win::FileAccess;
using win::FileCreation;
using win::FileErrorCause;
using win::TextFile;
namespace fs = std::filesystem;

constexpr win::OpenOptions kExclusive{FileAccess::Read, FileCreation::OpenExisting,
                                      win::FileSharing::Exclusive};

// Opens `path` the way another program that lets nobody else in does.
win::UniqueFile Hold(const fs::path& path) {
    return win::UniqueFile(
        ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
}

// Each test runs in a fresh current folder, as Pelo does in its own.
class TextFileTest : public ::testing::Test {
protected:
    TextFileTest() : m_previous(fs::current_path()) { fs::current_path(m_folder.Path()); }
    ~TextFileTest() override { fs::current_path(m_previous); }

    std::string Full(std::string_view name) const { return win::WideToAnsi((m_folder / name).wstring()); }
    std::string Bytes(std::string_view name) const { return ReadFileBytes(m_folder / name); }
    void Put(std::string_view name, std::string_view bytes) const {
        ASSERT_TRUE(WriteFileBytes(m_folder / name, bytes));
    }
    // Everything in `folder` (the test's folder by default): a temporary file
    // left behind shows up here.
    std::vector<fs::path> Entries(const fs::path& folder = {}) const {
        std::vector<fs::path> names;
        for (const auto& entry : fs::directory_iterator(folder.empty() ? m_folder.Path() : folder)) {
            names.push_back(entry.path().filename());
        }
        return names;
    }

    testsupport::TempFolder m_folder;
    fs::path m_previous;
};

TEST_F(TextFileTest, OpenModesAndSharing) {
    EXPECT_FALSE(TextFile::Open("missing.txt", {}).has_value());
    const win::OpenOptions keep{FileAccess::Read, FileCreation::CreateNoTruncate};
    ASSERT_TRUE(TextFile::Open("new.txt", keep).has_value());
    EXPECT_TRUE(testsupport::FileExists(m_folder / "new.txt"));
    Put("old.txt", "kept");
    ASSERT_TRUE(TextFile::Open("old.txt", keep).has_value());
    EXPECT_EQ(Bytes("old.txt"), "kept");
    {
        std::optional<TextFile> shared = TextFile::Open("old.txt", {});
        EXPECT_TRUE(TextFile::Open("old.txt", {}).has_value()) << "compatible openers share";
    }
    std::optional<TextFile> first = TextFile::Open("old.txt", kExclusive);
    ASSERT_TRUE(first.has_value());
    EXPECT_FALSE(TextFile::Open("old.txt", {}).has_value());
    first->Close();
    EXPECT_TRUE(TextFile::Open("old.txt", kExclusive).has_value()) << "free again once closed";
}

TEST_F(TextFileTest, ReadsTextModeLinesOverAHandle) {
    const std::string big(200000, 'k');  // longer than one read chunk
    Put("dic.txt", "a\r\nb\nc\rd\r\n" + big + "\r\n\x83\x5C\x1Aignored\r\n");
    std::optional<TextFile> opened = TextFile::Open("dic.txt", {});
    ASSERT_TRUE(opened.has_value());
    std::vector<std::string> lines;
    std::string line;
    ASSERT_TRUE(opened->ReadLine(line));
    TextFile moved = std::move(*opened);  // a moved file reads on
    while (moved.ReadLine(line)) {
        lines.push_back(line);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"b", "c\rd", big, "\x83\x5C"}));
}

// Replacing: exact bytes, the attributes the user set, no temporary file left.
TEST_F(TextFileTest, ReplaceKeepsAttributesAndLeavesOnlyTheFile) {
    win::ReplaceFileContents("Favorite.txt", "new\r\n");
    EXPECT_EQ(Bytes("Favorite.txt"), "new\r\n");
    const std::wstring file = (m_folder / "Favorite.txt").wstring();
    ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    win::ReplaceFileContents("Favorite.txt", "a\r\n\x83\x5C\r\n");
    EXPECT_EQ(Bytes("Favorite.txt"), "a\r\n\x83\x5C\r\n");
    EXPECT_EQ(::GetFileAttributesW(file.c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    // A folder whose name ends in a trail byte 0x5C (ソ).
    ASSERT_TRUE(fs::create_directory(m_folder / "\x83\x5C"));
    win::ReplaceFileContents("\x83\x5C\\x.txt", "");
    EXPECT_EQ(Entries(m_folder / "\x83\x5C"), std::vector<fs::path>{"x.txt"});
    EXPECT_EQ(Entries().size(), 2u);
}

// In a folder deep enough that the file's full path just fits the system's
// limit, another program holds the file for about 100 ms: the replace waits
// that out, and its temporary file fits the limit as well as the file does.
TEST_F(TextFileTest, ReplaceWaitsOutABriefHoldWhereverTheFileFits) {
    const std::size_t base = m_folder.Path().wstring().size();
    ASSERT_LT(base, 200u);
    // Two folders make up the length: "\\Favorite.txt" is 13 of the 259.
    const std::size_t rest = MAX_PATH - 1 - 13 - base - 2;
    const fs::path folder =
        m_folder.Path() / std::wstring(rest / 2, L'd') / std::wstring(rest - rest / 2, L'e');
    ASSERT_TRUE(fs::create_directories(folder));
    const fs::path file = folder / "Favorite.txt";
    ASSERT_TRUE(WriteFileBytes(file, "old"));
    const std::string path = win::WideToAnsi(file.wstring());
    ASSERT_EQ(path.size(), MAX_PATH - 1u);

    win::UniqueKernelHandle holding(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    fs::path temporary;
    std::thread holder([&] {
        const win::UniqueFile held = Hold(file);
        ::SetEvent(holding.get());
        // The temporary file is written and the replace meets the hold.
        testsupport::WaitUntil([&] {
            const std::vector<fs::path> names = Entries(folder);
            temporary = names.size() == 2 ? names[names[0] == "Favorite.txt" ? 1 : 0] : fs::path();
            return !temporary.empty();
        });
        ::Sleep(100);
    });
    ASSERT_EQ(::WaitForSingleObject(holding.get(), 10000), WAIT_OBJECT_0);
    EXPECT_NO_THROW(win::ReplaceFileContents(path, "new"));
    holder.join();
    EXPECT_EQ(ReadFileBytes(file), "new");
    EXPECT_EQ(Entries(folder), std::vector<fs::path>{"Favorite.txt"});
    EXPECT_LE((folder / temporary).wstring().size(), MAX_PATH - 1u) << temporary;
}

// Each failure names its cause and the full path, and leaves the old file
// whole and nothing else behind.
TEST_F(TextFileTest, FailuresReportCauseAndPathAndChangeNothing) {
    Put("held.txt", "old");
    Put("ro.txt", "old");
    ASSERT_TRUE(::SetFileAttributesW((m_folder / "ro.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    Put("w.txt", "old");
    std::optional<TextFile> writeOnly =
        TextFile::Open("w.txt", {FileAccess::Write, FileCreation::OpenExisting});
    ASSERT_TRUE(writeOnly.has_value());
    win::UniqueFile held = Hold(m_folder / "held.txt");
    std::string line;
    const struct {
        std::function<void()> operation;
        FileErrorCause cause;
        const char* name;
    } kCases[] = {
        {[] { win::ReplaceFileContents("nowhere\\x.txt", "new"); }, FileErrorCause::BadPath,
         "nowhere\\x.txt"},
        {[] { win::ReplaceFileContents("ro.txt", "new"); }, FileErrorCause::AccessDenied, "ro.txt"},
        // (What Wine answers for a move onto a held file.)
        {[] { win::ReplaceFileContents("held.txt", "new"); }, FileErrorCause::AccessDenied,
         "held.txt"},
        {[&] { writeOnly->ReadLine(line); }, FileErrorCause::AccessDenied, "w.txt"},
    };
    for (const auto& c : kCases) {
        try {
            c.operation();
            ADD_FAILURE() << c.name << ": no error";
        } catch (const win::FileError& error) {
            EXPECT_EQ(error.Cause(), c.cause) << c.name;
            EXPECT_EQ(error.Path(), Full(c.name));
        }
    }
    held.reset();
    writeOnly.reset();
    for (const char* name : {"held.txt", "ro.txt", "w.txt"}) {
        EXPECT_EQ(Bytes(name), "old") << name;
    }
    EXPECT_EQ(Entries().size(), 3u);
}

TEST(FileErrorCause, FromSystemErrors) {
    const std::pair<DWORD, FileErrorCause> kCases[] = {
        {ERROR_SUCCESS, FileErrorCause::None},
        {ERROR_FILE_NOT_FOUND, FileErrorCause::FileNotFound},
        {ERROR_PATH_NOT_FOUND, FileErrorCause::BadPath},
        {ERROR_INVALID_NAME, FileErrorCause::BadPath},
        {ERROR_ACCESS_DENIED, FileErrorCause::AccessDenied},
        {ERROR_ALREADY_EXISTS, FileErrorCause::AccessDenied},
        {ERROR_FILE_EXISTS, FileErrorCause::AccessDenied},
        {ERROR_SHARING_VIOLATION, FileErrorCause::SharingViolation},
        {ERROR_LOCK_VIOLATION, FileErrorCause::LockViolation},
        {ERROR_DISK_FULL, FileErrorCause::DiskFull},
        {ERROR_HANDLE_EOF, FileErrorCause::EndOfFile},
        {ERROR_NOT_ENOUGH_MEMORY, FileErrorCause::Generic},
    };
    for (const auto& [error, cause] : kCases) {
        EXPECT_EQ(win::CauseFromSystemError(error), cause) << error;
    }
}

}  // namespace
