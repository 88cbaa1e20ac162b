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

std::wstring Full(const wchar_t* name) {
    return (fs::current_path() / name).wstring();
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
    for (const wchar_t* name : {L"new.txt", L"old.txt"}) {
        EXPECT_TRUE(
            TextFile::Open(name, {win::FileAccess::Read, win::FileCreation::CreateNoTruncate}));
    }
    EXPECT_EQ(NamesIn(m_folder.Path()).size(), 2u);
    EXPECT_EQ(ReadFileBytes(m_folder / "old.txt"), "kept");
    std::optional<TextFile> shared = TextFile::Open(L"old.txt", {});
    EXPECT_TRUE(TextFile::Open(L"old.txt", {})) << "compatible openers share";
    shared.reset();
    std::optional<TextFile> first = TextFile::Open(
        L"old.txt",
        {win::FileAccess::Read, win::FileCreation::OpenExisting, win::FileSharing::Exclusive});
    ASSERT_TRUE(first);
    EXPECT_FALSE(TextFile::Open(L"old.txt", {}));
}

TEST_F(TextFileTest, ReadsEveryByteOverAHandle) {
    const std::string bytes =
        "a\r\n" + std::string(200000, 'k') + "\x1A\x83\x5C";  // several chunks
    Put("dic.txt", bytes);
    std::optional<TextFile> opened = TextFile::Open(L"dic.txt", {});
    ASSERT_TRUE(opened);
    TextFile moved = std::move(*opened);  // a moved file reads the same
    EXPECT_EQ(moved.ReadAll(), bytes);
}

// Exact bytes, the attributes the user set, nothing else left in the folder.
TEST_F(TextFileTest, ReplaceKeepsTheAttributesAndLeavesOnlyTheFile) {
    win::ReplaceFileContents(L"Favorite.txt", "new\r\n");
    EXPECT_EQ(ReadFileBytes(m_folder / "Favorite.txt"), "new\r\n");
    const std::wstring file = (m_folder / "Favorite.txt").wstring();
    const DWORD userSet = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    ASSERT_TRUE(::SetFileAttributesW(file.c_str(), userSet));
    win::ReplaceFileContents(L"Favorite.txt", "");
    EXPECT_EQ(ReadFileBytes(m_folder / "Favorite.txt"), "");
    EXPECT_EQ(::GetFileAttributesW(file.c_str()) & userSet, userSet);
    // A folder whose name ends in a trail byte 0x5C (ソ).
    ASSERT_TRUE(fs::create_directory(m_folder / "\x83\x5C"));
    win::ReplaceFileContents(L"ソ\\x.txt", "x");
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
    EXPECT_NO_THROW(win::ReplaceFileContents(file.wstring(), "new"));
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
        TextFile::Open(L"w.txt", {win::FileAccess::Write, win::FileCreation::OpenExisting});
    win::UniqueFile held = Hold(m_folder / "held.txt");
    ASSERT_TRUE(writeOnly && held);
    const struct {
        std::function<void()> operation;
        FileErrorCause cause;
        const wchar_t* name;
    } kCases[] = {
        {[] { win::ReplaceFileContents(L"nowhere\\x.txt", ""); }, FileErrorCause::BadPath,
         L"nowhere\\x.txt"},
        {[] { win::ReplaceFileContents(L"ro.txt", ""); }, FileErrorCause::AccessDenied, L"ro.txt"},
        // (What Wine answers for a move onto a held file.)
        {[] { win::ReplaceFileContents(L"held.txt", ""); }, FileErrorCause::AccessDenied,
         L"held.txt"},
        {[&] { writeOnly->ReadAll(); }, FileErrorCause::AccessDenied, L"w.txt"},
        // A change that reads the file first (Favorite.txt) meets the same.
        {[] { win::OpenForUpdate(L"ro.txt", Full(L"ro.txt")); }, FileErrorCause::AccessDenied,
         L"ro.txt"},
        {[] { win::OpenForUpdate(L"held.txt", Full(L"held.txt")); },
         FileErrorCause::SharingViolation, L"held.txt"}};
    for (const auto& c : kCases) {
        try {
            c.operation();
            ADD_FAILURE() << c.name << ": no error";
        } catch (const win::FileError& error) {
            EXPECT_EQ(error.Cause(), c.cause) << win::WideToAnsi(c.name);
            EXPECT_EQ(error.WidePath(), Full(c.name));
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
