// Favorite.txt on a real file system: what a load and a move leave in the file. (Adds,
// and a file held by another program, are seen through the page in main_dialog_test.)
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "favorites/FavoritesFile.h"

namespace {

using Entries = std::vector<std::string>;

TEST(FavoritesFile, EachOperationLeavesExactlyTheseBytes) {
    const testsupport::TempFolder folder;
    const std::filesystem::path path = folder / "Favorite.txt";
    const std::string tail = "\x1Azafter\r\n\x1A";  // not entries, but the user's bytes
    const struct {
        std::optional<std::string> before;  // nothing: no file
        std::optional<Entries> saved;       // nothing: a load, which gives `loaded`
        Entries loaded;
        std::string after;
    } kCases[] = {{std::nullopt, std::nullopt, {}, ""},
                  {"(^^)\r\nLF\n\r\n\x83\x5C" + tail,
                   std::nullopt,
                   {"(^^)", "LF", "", "\x83\x5C"},
                   "(^^)\r\nLF\n\r\n\x83\x5C" + tail},
                  {"a\r\nb\r\n" + tail, Entries{"b", "a"}, {}, "b\r\na\r\n" + tail}};
    for (const auto& c : kCases) {
        std::filesystem::remove(path);
        if (c.before) {
            ASSERT_TRUE(testsupport::WriteFileBytes(path, *c.before));
        }
        const std::wstring file = path.wstring();
        Entries entries;
        if (c.saved) {
            favorites::SaveFavoritesFile(file, *c.saved);
        } else {
            EXPECT_TRUE(favorites::LoadFavoritesFile(file, entries));
        }
        EXPECT_EQ(entries, c.loaded);
        EXPECT_EQ(testsupport::ReadFileBytes(path), c.after)
            << testing::PrintToString(c.before.value_or("(none)"));
        // Nothing but the file: no temporary file left behind.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
    }
}

}  // namespace
