// Favorite.txt on a real file system: what each operation leaves in the file,
// and that no failure changes or loses it.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "favorites/FavoritesFile.h"
#include "win/FileError.h"
#include "win/UniqueHandle.h"

namespace {

using Entries = std::vector<std::string>;
using Operation = std::function<void(const std::string& file)>;

Operation Load(std::optional<Entries> expected) {
    return [expected](const std::string& file) {
        Entries entries;
        const bool loaded = favorites::LoadFavoritesFile(file, entries);
        EXPECT_EQ(loaded ? std::optional(entries) : std::nullopt, expected);
    };
}
Operation Save(Entries entries) {
    return [entries](const std::string& file) { favorites::SaveFavoritesFile(file, entries); };
}
Operation Add(std::string entry) {
    return [entry](const std::string& file) { favorites::AddToFavoritesFile(file, entry); };
}

class FavoritesFileTest : public ::testing::Test {
protected:
    std::filesystem::path FilePath() const { return m_folder / "Favorite.txt"; }
    std::string File() const { return testsupport::ToCp932(FilePath().wstring()); }
    std::string Bytes() const { return testsupport::ReadFileBytes(FilePath()); }
    // Only Favorite.txt: no temporary file left behind, the file kept.
    void ExpectOnlyTheFile() const {
        std::vector<std::filesystem::path> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_folder.Path())) {
            names.push_back(entry.path().filename());
        }
        EXPECT_EQ(names, std::vector<std::filesystem::path>{"Favorite.txt"});
    }

    testsupport::TempFolder m_folder;
};

TEST_F(FavoritesFileTest, EachOperationLeavesExactlyTheseBytes) {
    const std::string tail = "\x1A" "after\r\n\x1A";  // not entries, but the user's bytes
    const struct {
        std::optional<std::string> before;  // nothing: no file
        Operation operation;
        std::string after;
    } kCases[] = {
        {std::nullopt, Load(Entries{}), ""},
        {"(^^)\r\nLF\n\r\n\x83\x5C" + tail, Load(Entries{"(^^)", "LF", "", "\x83\x5C"}),
         "(^^)\r\nLF\n\r\n\x83\x5C" + tail},
        {"old\nlines", Save({"b", "", "a\r"}), "b\r\n\r\na\r\r\n"},
        {"a\r\nb\r\n" + tail, Save({"b", "a"}), "b\r\na\r\n" + tail},
        {"a\r\n" + tail, Save({}), tail},
        {std::nullopt, Add("(^^)"), "(^^)\r\n"},
        {"a\nb", Add("c"), "a\nb\r\nc\r\n"},
        {"a\r\n" + tail, Add("b"), "a\r\nb\r\n" + tail},
    };
    for (const auto& c : kCases) {
        std::filesystem::remove(FilePath());
        if (c.before) {
            ASSERT_TRUE(testsupport::WriteFileBytes(FilePath(), *c.before));
        }
        c.operation(File());
        EXPECT_EQ(Bytes(), c.after) << testing::PrintToString(c.before.value_or("(none)"));
        ExpectOnlyTheFile();
    }
}

// Held by another program, or read-only: a load finds nothing, a change is
// refused with the file error, and the file stays as it was.
TEST_F(FavoritesFileTest, RefusedChangesLeaveTheFileWhole) {
    const std::string old = "one\r\ntwo\r\n";
    ASSERT_TRUE(testsupport::WriteFileBytes(FilePath(), old));
    const auto refused = [&](win::FileErrorCause cause) {
        for (const Operation& change : {Save({"two"}), Add("three")}) {
            try {
                change(File());
                ADD_FAILURE() << "a change went through";
            } catch (const win::FileError& error) {
                EXPECT_EQ(error.Cause(), cause);
                EXPECT_EQ(error.Path(), File());
            }
        }
    };
    {
        const win::UniqueFile held(::CreateFileW(FilePath().c_str(), GENERIC_READ, 0, nullptr,
                                                 OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        Load(std::nullopt)(File());
        refused(win::FileErrorCause::SharingViolation);
    }
    ASSERT_TRUE(::SetFileAttributesW(FilePath().c_str(), FILE_ATTRIBUTE_READONLY));
    Load(Entries{"one", "two"})(File());
    refused(win::FileErrorCause::AccessDenied);
    EXPECT_EQ(Bytes(), old);
    ExpectOnlyTheFile();
    ::SetFileAttributesW(FilePath().c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
