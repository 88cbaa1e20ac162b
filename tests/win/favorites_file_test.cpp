// Favorite.txt on a real file system: what a load and a move leave in the file. (Adds,
// and a file held by another program, are seen through the page in main_dialog_test.)
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "favorites/FavoritesFile.h"

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

TEST(FavoritesFile, EachOperationLeavesExactlyTheseBytes) {
    const testsupport::TempFolder folder;
    const std::filesystem::path path = folder / "Favorite.txt";
    const std::string tail = "\x1Azafter\r\n\x1A";  // not entries, but the user's bytes
    const struct {
        std::optional<std::string> before;  // nothing: no file
        Operation operation;
        std::string after;
    } kCases[] = {{std::nullopt, Load(Entries{}), ""},
                  {"(^^)\r\nLF\n\r\n\x83\x5C" + tail, Load(Entries{"(^^)", "LF", "", "\x83\x5C"}),
                   "(^^)\r\nLF\n\r\n\x83\x5C" + tail},
                  {"a\r\nb\r\n" + tail, Save({"b", "a"}), "b\r\na\r\n" + tail}};
    for (const auto& c : kCases) {
        std::filesystem::remove(path);
        if (c.before) {
            ASSERT_TRUE(testsupport::WriteFileBytes(path, *c.before));
        }
        c.operation(testsupport::ToCp932(path.wstring()));
        EXPECT_EQ(testsupport::ReadFileBytes(path), c.after)
            << testing::PrintToString(c.before.value_or("(none)"));
        // Nothing but the file: no temporary file left behind.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
    }
}

}  // namespace
