// Text files and the whole-file helpers on a real file system: open modes, reading,
// replacing, and what each failure reports and leaves behind.
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

namespace {

using testsupport::ReadFileBytes;
using win::FileErrorCause;
using win::TextFile;
namespace fs = std::filesystem;
using Names = std::vector<fs::path>;

win::UniqueFile Hold(const fs::path& path) {  // as another program letting nobody in
    return win::UniqueFile(
        ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
}

std::string Full(const char* name) {
    return win::WideToAnsi((fs::current_path() / name).wstring());
}

Names NamesIn(const fs::path& folder) {
    Names names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename());
    }
    return names;
}

// Each test runs in a fresh current folder, as Pelo does.
class TextFileTest : public ::testing::Test {
protected:
    TextFileTest() : m_previous(fs::current_path()) { fs::current_path(m_folder.Path()); }
    ~TextFileTest() override { fs::current_path(m_previous); }

    void Put(std::string_view name, std::string_view bytes) const {
        ASSERT_TRUE(testsupport::WriteFileBytes(m_folder / name, bytes));
    }

    testsupport::TempFolder m_folder;
    fs::path m_previous;
};

TEST_F(TextFileTest, OpenModesAndSharing) {
    Put("old.txt", "kept");
    for (const char* name : {"new.txt", "old.txt"}) {
        EXPECT_TRUE(
            TextFile::Open(name, {win::FileAccess::Read, win::FileCreation::CreateNoTruncate}));
    }
    EXPECT_EQ(NamesIn(m_folder.Path()).size(), 2u);
    EXPECT_EQ(ReadFileBytes(m_folder / "old.txt"), "kept");
    std::optional<TextFile> shared = TextFile::Open("old.txt", {});
    EXPECT_TRUE(TextFile::Open("old.txt", {})) << "compatible openers share";
    shared.reset();
    std::optional<TextFile> first = TextFile::Open(
        "old.txt",
        {win::FileAccess::Read, win::FileCreation::OpenExisting, win::FileSharing::Exclusive});
    ASSERT_TRUE(first);
    EXPECT_FALSE(TextFile::Open("old.txt", {}));
}

TEST_F(TextFileTest, ReadsTextModeLinesOverAHandle) {
    const std::string big(200000, 'k');  // longer than one read chunk
    Put("dic.txt", "a\r\nb\nc\rd\r\n" + big + "\r\n\x83\x5C\x1Aignored\r\n");
    std::optional<TextFile> opened = TextFile::Open("dic.txt", {});
    std::string line;
    ASSERT_TRUE(opened && opened->ReadLine(line));
    TextFile moved = std::move(*opened);  // a moved file reads on
    std::vector<std::string> lines;
    while (moved.ReadLine(line)) {
        lines.push_back(line);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"b", "c\rd", big, "\x83\x5C"}));
}

// Exact bytes, the attributes the user set, nothing else left in the folder.
TEST_F(TextFileTest, ReplaceKeepsTheAttributesAndLeavesOnlyTheFile) {
    win::ReplaceFileContents("Favorite.txt", "new\r\n");
    EXPECT_EQ(ReadFileBytes(m_folder / "Favorite.txt"), "new\r\n");
    const std::wstring file = (m_folder / "Favorite.txt").wstring();
    const DWORD userSet = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    ASSERT_TRUE(::SetFileAttributesW(file.c_str(), userSet));
    win::ReplaceFileContents("Favorite.txt", "");
    EXPECT_EQ(ReadFileBytes(m_folder / "Favorite.txt"), "");
    EXPECT_EQ(::GetFileAttributesW(file.c_str()) & userSet, userSet);
    // A folder whose name ends in a trail byte 0x5C (ソ).
    ASSERT_TRUE(fs::create_directory(m_folder / "\x83\x5C"));
    win::ReplaceFileContents("\x83\x5C\\x.txt", "x");
    EXPECT_EQ(NamesIn(m_folder / "\x83\x5C"), Names{"x.txt"});
    EXPECT_EQ(NamesIn(m_folder.Path()).size(), 2u);
}

// The file's full path just fits the limit, and another program holds it for about
// 100 ms: the replace waits that out, and its temporary file fits as the file does.
TEST_F(TextFileTest, ReplaceWaitsOutABriefHoldWhereverTheFileFits) {
    const std::size_t base = m_folder.Path().wstring().size();
    ASSERT_LT(base, 200u);
    // Two folders make up the length: "\\Favorite.txt" is 13 of the 259.
    const std::size_t rest = MAX_PATH - 1 - 13 - base - 2;
    const fs::path folder =
        m_folder.Path() / std::wstring(rest / 2, L'd') / std::wstring(rest - rest / 2, L'e');
    const fs::path file = folder / "Favorite.txt";
    ASSERT_TRUE(testsupport::WriteFileBytes(file, "old"));
    ASSERT_EQ(win::WideToAnsi(file.wstring()).size(), MAX_PATH - 1u);

    win::UniqueKernelHandle holding(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    fs::path temporary;
    std::thread holder([&] {
        const win::UniqueFile held = Hold(file);
        ::SetEvent(holding.get());
        // The temporary file is written and the replace meets the hold.
        testsupport::WaitUntil([&] {
            const Names names = NamesIn(folder);
            temporary = names.size() == 2 ? names[names[0] == "Favorite.txt" ? 1 : 0] : "";
            return !temporary.empty();
        });
        ::Sleep(100);
    });
    ASSERT_EQ(::WaitForSingleObject(holding.get(), 10000), WAIT_OBJECT_0);
    EXPECT_NO_THROW(win::ReplaceFileContents(win::WideToAnsi(file.wstring()), "new"));
    holder.join();
    EXPECT_EQ(ReadFileBytes(file), "new");
    EXPECT_EQ(NamesIn(folder), Names{"Favorite.txt"});
    EXPECT_LE((folder / temporary).wstring().size(), MAX_PATH - 1u) << temporary;
}

// Each failure names its cause and full path, and leaves the old file whole.
TEST_F(TextFileTest, FailuresReportCauseAndPathAndChangeNothing) {
    for (const char* name : {"held.txt", "ro.txt", "w.txt"}) {
        Put(name, "old");
    }
    ASSERT_TRUE(::SetFileAttributesW((m_folder / "ro.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    std::optional<TextFile> writeOnly =
        TextFile::Open("w.txt", {win::FileAccess::Write, win::FileCreation::OpenExisting});
    win::UniqueFile held = Hold(m_folder / "held.txt");
    ASSERT_TRUE(writeOnly && held);
    std::string line;
    const struct {
        std::function<void()> operation;
        FileErrorCause cause;
        const char* name;
    } kCases[] = {
        {[] { win::ReplaceFileContents("nowhere\\x.txt", ""); }, FileErrorCause::BadPath,
         "nowhere\\x.txt"},
        {[] { win::ReplaceFileContents("ro.txt", ""); }, FileErrorCause::AccessDenied, "ro.txt"},
        // (What Wine answers for a move onto a held file.)
        {[] { win::ReplaceFileContents("held.txt", ""); }, FileErrorCause::AccessDenied,
         "held.txt"},
        {[&] { writeOnly->ReadLine(line); }, FileErrorCause::AccessDenied, "w.txt"},
        // A change that reads the file first (Favorite.txt) meets the same.
        {[] { win::OpenForUpdate("ro.txt", Full("ro.txt")); }, FileErrorCause::AccessDenied,
         "ro.txt"},
        {[] { win::OpenForUpdate("held.txt", Full("held.txt")); }, FileErrorCause::SharingViolation,
         "held.txt"}};
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
        EXPECT_EQ(ReadFileBytes(m_folder / name), "old") << name;
    }
    EXPECT_EQ(NamesIn(m_folder.Path()).size(), 3u);
}

}  // namespace
