// The tray menu as Pelo builds it, checked inside one process (Wine cannot
// read another process's menus): menu 130 is loaded from Pelo.exe itself.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/resource.h"
#include "tests/support/TestSupport.h"
#include "ui/Tray.h"
#include "win/UniqueHandle.h"

namespace {

using UniqueModule = win::UniqueHandle<win::NullHandleTraits<HMODULE, &::FreeLibrary>>;
using testsupport::ToCp932;

struct MenuItem {
    UINT id;
    std::string text;
    bool separator;
};

std::vector<MenuItem> ItemsOf(HMENU popup) {
    std::vector<MenuItem> items;
    const int count = ::GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        EXPECT_TRUE(::GetMenuItemInfoA(popup, static_cast<UINT>(i), TRUE, &info));
        items.push_back({info.wID, text, (info.fType & MFT_SEPARATOR) != 0});
    }
    return items;
}

class TrayMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto exe = testsupport::ExecutableFolder() / "Pelo.exe";
        m_pelo.reset(::LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        ASSERT_TRUE(m_pelo) << "cannot load the resources of " << exe.string();
    }

    win::UniqueMenu LoadTrayMenu() const {
        return win::UniqueMenu(::LoadMenuA(m_pelo.get(), MAKEINTRESOURCEA(IDR_TRAYMENU)));
    }

    UniqueModule m_pelo;
    std::vector<std::string> m_favorites;
};

const MenuItem kExit = {ID_TRAY_EXIT, ToCp932(L"終了(&Q)"), false};

bool operator==(const MenuItem& a, const MenuItem& b) {
    return a.id == b.id && a.text == b.text && a.separator == b.separator;
}

void PrintTo(const MenuItem& item, std::ostream* out) {
    *out << "{" << item.id << ", \"" << item.text << "\""
         << (item.separator ? ", separator}" : "}");
}

TEST_F(TrayMenuTest, WithoutFavoritesTheMenuHoldsOnlyTheExitCommand) {
    const auto menu = LoadTrayMenu();
    ASSERT_TRUE(menu);
    tray::InsertFavorites(menu.get(), m_favorites);

    EXPECT_EQ(ItemsOf(::GetSubMenu(menu.get(), 0)), std::vector<MenuItem>{kExit});
    EXPECT_EQ(tray::MenuTop(500, 0), 480);
}

TEST_F(TrayMenuTest, FavoritesStandInListOrderAboveASeparatorAndTheExitCommand) {
    const std::vector<std::string> favorites = {ToCp932(L"(´・ω・`)"), "Tom & Jerry",
                                                ToCp932(L"＼(^o^)／")};
    m_favorites = favorites;
    const auto menu = LoadTrayMenu();
    ASSERT_TRUE(menu);
    tray::InsertFavorites(menu.get(), m_favorites);

    // The texts go in unchanged: the "&" stays in the item (shown as an underline).
    const std::vector<MenuItem> expected = {
        {ID_TRAY_FAVORITE_FIRST, favorites[0], false},
        {ID_TRAY_FAVORITE_FIRST + 1, favorites[1], false},
        {ID_TRAY_FAVORITE_FIRST + 2, favorites[2], false},
        {0, "", true},
        kExit,
    };
    EXPECT_EQ(ItemsOf(::GetSubMenu(menu.get(), 0)), expected);
    EXPECT_EQ(ID_TRAY_FAVORITE_FIRST, 32773);
    // Three favourites: the top stands 83 pixels above the cursor.
    EXPECT_EQ(tray::MenuTop(500, 3), 417);

    // Each use loads the menu afresh: nothing inserted before shows up again.
    const auto fresh = LoadTrayMenu();
    EXPECT_EQ(ItemsOf(::GetSubMenu(fresh.get(), 0)), std::vector<MenuItem>{kExit});
}

TEST_F(TrayMenuTest, AnEmptyFavoriteIsAnEmptyItem) {
    m_favorites = {"", "x"};
    const auto menu = LoadTrayMenu();
    tray::InsertFavorites(menu.get(), m_favorites);

    const auto items = ItemsOf(::GetSubMenu(menu.get(), 0));
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].id, static_cast<UINT>(ID_TRAY_FAVORITE_FIRST));
    EXPECT_EQ(items[0].text, "");
    EXPECT_FALSE(items[0].separator);
    EXPECT_EQ(items[1].text, "x");
    EXPECT_TRUE(items[2].separator);
}

TEST_F(TrayMenuTest, ACommandIsMatchedAgainstTheListAsItIsNow) {
    m_favorites = {"a&b", "second", ""};

    EXPECT_EQ(tray::FavoriteForCommand(m_favorites, ID_TRAY_FAVORITE_FIRST, 0), "a&b");
    EXPECT_EQ(tray::FavoriteForCommand(m_favorites, ID_TRAY_FAVORITE_FIRST + 1, 0), "second");
    EXPECT_EQ(tray::FavoriteForCommand(m_favorites, ID_TRAY_FAVORITE_FIRST + 2, 0), "");
    // Not favourites: past the end, the exit command, other commands, other codes.
    EXPECT_EQ(tray::FavoriteForCommand(m_favorites, ID_TRAY_FAVORITE_FIRST + 3, 0), std::nullopt);
    EXPECT_EQ(tray::FavoriteForCommand(m_favorites, ID_TRAY_EXIT, 0), std::nullopt);
    EXPECT_EQ(tray::FavoriteForCommand(m_favorites, IDCANCEL, 0), std::nullopt);
    EXPECT_EQ(tray::FavoriteForCommand(m_favorites, ID_TRAY_FAVORITE_FIRST, 1), std::nullopt);

    // The list changed since the menu was shown: the id now means the list's entry.
    m_favorites.erase(m_favorites.begin());
    EXPECT_EQ(tray::FavoriteForCommand(m_favorites, ID_TRAY_FAVORITE_FIRST, 0), "second");
    EXPECT_EQ(tray::FavoriteForCommand(m_favorites, ID_TRAY_FAVORITE_FIRST + 2, 0), std::nullopt);
}

}  // namespace
