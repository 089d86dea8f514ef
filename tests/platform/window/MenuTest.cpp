#include "platform/window/Menu.h"

#include "platform/base/ResourceFormat.h"
#include "platform/base/WinError.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A File menu: Open (1), a separator, Recent (popup: First 11, Second 12), Exit (2).
class MenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_hRecent = CreatePopupMenu();
        ASSERT_TRUE(AppendMenu(m_hRecent, MF_STRING, 11, "First"));
        ASSERT_TRUE(AppendMenu(m_hRecent, MF_STRING, 12, "Second"));
        m_hMenu = CreatePopupMenu();
        ASSERT_TRUE(AppendMenu(m_hMenu, MF_STRING, 1, "&Open"));
        ASSERT_TRUE(AppendMenu(m_hMenu, MF_SEPARATOR, 0, nullptr));
        ASSERT_TRUE(AppendMenu(m_hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(m_hRecent), "Recent"));
        ASSERT_TRUE(AppendMenu(m_hMenu, MF_STRING, 2, "E&xit"));
    }
    void TearDown() override { DestroyMenu(m_hMenu); }

    std::string Text(UINT uItem, UINT uFlags)
    {
        char sz[64] {};
        GetMenuString(m_hMenu, uItem, sz, sizeof(sz), uFlags);
        return sz;
    }

    HMENU m_hMenu { nullptr };
    HMENU m_hRecent { nullptr };
};

TEST_F(MenuTest, ItemsAreFoundByPositionAndByCommandInSubmenus)
{
    EXPECT_EQ(GetMenuItemCount(m_hMenu), 4);
    EXPECT_EQ(GetMenuItemID(m_hMenu, 0), 1u);
    EXPECT_EQ(GetMenuItemID(m_hMenu, 1), 0u);                    // a separator
    EXPECT_EQ(GetMenuItemID(m_hMenu, 2), static_cast<UINT>(-1)); // a popup
    EXPECT_EQ(GetMenuItemID(m_hMenu, 9), static_cast<UINT>(-1));
    EXPECT_EQ(GetSubMenu(m_hMenu, 2), m_hRecent);
    EXPECT_EQ(GetSubMenu(m_hMenu, 0), nullptr);
    EXPECT_EQ(Text(12, MF_BYCOMMAND), "Second");
    EXPECT_EQ(Text(3, MF_BYPOSITION), "E&xit");
    EXPECT_EQ(GetMenuState(m_hMenu, 2, MF_BYPOSITION), MF_POPUP | (2u << 8));
    EXPECT_EQ(GetMenuState(m_hMenu, 1, MF_BYPOSITION), MF_SEPARATOR);
    EXPECT_EQ(GetMenuState(m_hMenu, 99, MF_BYCOMMAND), static_cast<UINT>(-1));
}

TEST_F(MenuTest, GetMenuStringCutsAtACharacterAndReportsTheLength)
{
    ASSERT_TRUE(ModifyMenu(m_hMenu, 1, MF_BYCOMMAND | MF_STRING, 1, "Öffnen"));
    EXPECT_EQ(GetMenuString(m_hMenu, 1, nullptr, 0, MF_BYCOMMAND), 7);
    char sz[2] {};
    EXPECT_EQ(GetMenuString(m_hMenu, 1, sz, sizeof(sz), MF_BYCOMMAND), 0); // "Ö" is two bytes: it does not fit
    EXPECT_STREQ(sz, "");
    char szFour[4] {};
    EXPECT_EQ(GetMenuString(m_hMenu, 1, szFour, sizeof(szFour), MF_BYCOMMAND), 3);
    EXPECT_STREQ(szFour, "Öf");
}

TEST_F(MenuTest, InsertModifyDeleteAndRemove)
{
    ASSERT_TRUE(InsertMenu(m_hMenu, 0, MF_BYPOSITION | MF_STRING, 5, "New"));
    ASSERT_TRUE(InsertMenu(m_hMenu, 12, MF_BYCOMMAND | MF_STRING, 13, "Before second"));
    EXPECT_EQ(GetMenuItemID(m_hMenu, 0), 5u);
    EXPECT_EQ(GetMenuItemID(m_hRecent, 1), 13u);
    EXPECT_FALSE(InsertMenu(m_hMenu, 77, MF_BYCOMMAND | MF_STRING, 14, "Nowhere"));
    EXPECT_EQ(GetLastError(), ERROR_MENU_ITEM_NOT_FOUND);

    // Turning an item into a popup and back.
    HMENU hSub = CreatePopupMenu();
    AppendMenu(hSub, MF_STRING, 21, "Inner");
    ASSERT_TRUE(ModifyMenu(m_hMenu, 5, MF_BYCOMMAND | MF_POPUP, reinterpret_cast<UINT_PTR>(hSub), "New"));
    EXPECT_EQ(GetSubMenu(m_hMenu, 0), hSub);
    ASSERT_TRUE(ModifyMenu(m_hMenu, 0, MF_BYPOSITION | MF_STRING, 5, "New again"));
    EXPECT_FALSE(IsMenu(hSub)); // the replaced popup is destroyed

    // RemoveMenu keeps the submenu alive, DeleteMenu destroys it.
    ASSERT_TRUE(RemoveMenu(m_hMenu, 3, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(m_hRecent));
    ASSERT_TRUE(AppendMenu(m_hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(m_hRecent), "Recent"));
    ASSERT_TRUE(DeleteMenu(m_hMenu, GetMenuItemCount(m_hMenu) - 1, MF_BYPOSITION));
    EXPECT_FALSE(IsMenu(m_hRecent));
    EXPECT_FALSE(DeleteMenu(m_hMenu, 1234, MF_BYCOMMAND));
}

TEST_F(MenuTest, EnableAndCheckReturnThePreviousState)
{
    EXPECT_EQ(EnableMenuItem(m_hMenu, 11, MF_BYCOMMAND | MF_GRAYED), MF_ENABLED);
    EXPECT_EQ(EnableMenuItem(m_hMenu, 11, MF_BYCOMMAND | MF_ENABLED), MF_GRAYED);
    EXPECT_EQ(EnableMenuItem(m_hMenu, 3, MF_BYPOSITION | MF_DISABLED), MF_ENABLED);
    EXPECT_EQ(GetMenuState(m_hMenu, 2, MF_BYCOMMAND) & MF_DISABLED, MF_DISABLED);
    EXPECT_EQ(EnableMenuItem(m_hMenu, 99, MF_GRAYED), static_cast<UINT>(-1));

    EXPECT_EQ(CheckMenuItem(m_hMenu, 1, MF_CHECKED), MF_UNCHECKED);
    EXPECT_EQ(CheckMenuItem(m_hMenu, 1, MF_UNCHECKED), MF_CHECKED);

    ASSERT_TRUE(CheckMenuRadioItem(m_hRecent, 11, 12, 12, MF_BYCOMMAND));
    EXPECT_EQ(GetMenuState(m_hRecent, 12, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
    ASSERT_TRUE(CheckMenuRadioItem(m_hRecent, 0, 1, 0, MF_BYPOSITION));
    EXPECT_EQ(GetMenuState(m_hRecent, 11, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
    EXPECT_EQ(GetMenuState(m_hRecent, 12, MF_BYCOMMAND) & MF_CHECKED, 0u);
    EXPECT_FALSE(CheckMenuRadioItem(m_hRecent, 11, 12, 13, MF_BYCOMMAND));
}

TEST_F(MenuTest, OneDefaultItemPerMenu)
{
    EXPECT_EQ(GetMenuDefaultItem(m_hMenu, FALSE, 0), static_cast<UINT>(-1));
    ASSERT_TRUE(SetMenuDefaultItem(m_hMenu, 1, FALSE));
    ASSERT_TRUE(SetMenuDefaultItem(m_hMenu, 3, TRUE));
    EXPECT_EQ(GetMenuDefaultItem(m_hMenu, FALSE, 0), 2u);
    EXPECT_EQ(GetMenuDefaultItem(m_hMenu, TRUE, 0), 3u);
    EXPECT_EQ(GetMenuState(m_hMenu, 1, MF_BYCOMMAND) & MF_DEFAULT, 0u);

    EnableMenuItem(m_hMenu, 2, MF_GRAYED);
    EXPECT_EQ(GetMenuDefaultItem(m_hMenu, FALSE, 0), static_cast<UINT>(-1));
    EXPECT_EQ(GetMenuDefaultItem(m_hMenu, FALSE, GMDI_USEDISABLED), 2u);

    // Into popups: the submenu's own default item.
    ASSERT_TRUE(SetMenuDefaultItem(m_hMenu, 2, TRUE));
    ASSERT_TRUE(SetMenuDefaultItem(m_hRecent, 12, FALSE));
    EXPECT_EQ(GetMenuDefaultItem(m_hMenu, FALSE, GMDI_GOINTOPOPUPS), 12u);
    EXPECT_FALSE(SetMenuDefaultItem(m_hMenu, 12, FALSE)); // only this menu's items
    ASSERT_TRUE(SetMenuDefaultItem(m_hMenu, static_cast<UINT>(-1), FALSE));
    EXPECT_EQ(GetMenuDefaultItem(m_hMenu, TRUE, GMDI_USEDISABLED), static_cast<UINT>(-1));
}

TEST_F(MenuTest, ItemInfoReadsAndWritesTheChosenFields)
{
    MENUITEMINFO mii {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_DATA | MIIM_ID;
    mii.dwItemData = 0xBEEF;
    mii.wID = 7;
    ASSERT_TRUE(SetMenuItemInfo(m_hMenu, 0, TRUE, &mii));

    char sz[3] {};
    MENUITEMINFO read {};
    read.cbSize = sizeof(read);
    read.fMask = MIIM_DATA | MIIM_ID | MIIM_STRING | MIIM_SUBMENU | MIIM_STATE;
    read.dwTypeData = sz;
    read.cch = sizeof(sz);
    ASSERT_TRUE(GetMenuItemInfo(m_hMenu, 7, FALSE, &read));
    EXPECT_EQ(read.dwItemData, 0xBEEFu);
    EXPECT_EQ(read.hSubMenu, nullptr);
    EXPECT_STREQ(sz, "&O");
    EXPECT_EQ(read.cch, 2u);

    read.dwTypeData = nullptr;
    ASSERT_TRUE(GetMenuItemInfo(m_hMenu, 7, FALSE, &read));
    EXPECT_EQ(read.cch, 5u); // the full length

    MENUITEMINFO bad {};
    EXPECT_FALSE(GetMenuItemInfo(m_hMenu, 0, TRUE, &bad));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(MenuTest, OwnerDrawnItemsKeepTheirData)
{
    ASSERT_TRUE(AppendMenu(m_hMenu, MF_OWNERDRAW, 30, reinterpret_cast<LPCTSTR>(0x1234)));
    MENUITEMINFO mii {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_DATA | MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfo(m_hMenu, 30, FALSE, &mii));
    EXPECT_EQ(mii.dwItemData, 0x1234u);
    EXPECT_EQ(mii.fType, MFT_OWNERDRAW);
}

TEST_F(MenuTest, DestroyedMenusAreRefused)
{
    HMENU hGone = CreateMenu();
    ASSERT_TRUE(DestroyMenu(hGone));
    EXPECT_FALSE(DestroyMenu(hGone));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_MENU_HANDLE);
    EXPECT_EQ(GetMenuItemCount(hGone), -1);
    EXPECT_FALSE(AppendMenu(hGone, MF_STRING, 1, "x"));
    EXPECT_FALSE(AppendMenu(m_hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(hGone), "x"));
    EXPECT_EQ(GetMenuItemCount(m_hMenu), 4);
    // Destroying a menu destroys its submenus.
    DestroyMenu(m_hMenu);
    EXPECT_FALSE(IsMenu(m_hRecent));
    m_hMenu = CreateMenu();
}

TEST(MenuLoadTest, TemplatesBuildTheSameTree)
{
    std::vector<MenuItemTemplate> items {
        { MF_POPUP, 0, "&File",
            { { 0, 100, "&Open", {} }, { MF_SEPARATOR, 0, "", {} }, { MF_GRAYED | MF_CHECKED, 101, "Save", {} } } },
        { 0, 102, "&Help", {} },
    };
    std::vector<BYTE> bytes = WriteMenuTemplate(items);
    HMENU hMenu = LoadMenuIndirect(bytes.data(), static_cast<DWORD>(bytes.size()));
    ASSERT_NE(hMenu, nullptr);
    EXPECT_EQ(GetMenuItemCount(hMenu), 2);
    HMENU hFile = GetSubMenu(hMenu, 0);
    ASSERT_NE(hFile, nullptr);
    EXPECT_EQ(GetMenuItemCount(hFile), 3);
    EXPECT_EQ(GetMenuState(hFile, 101, MF_BYCOMMAND), MF_GRAYED | MF_CHECKED);
    EXPECT_EQ(GetMenuState(hFile, 1, MF_BYPOSITION), MF_SEPARATOR);
    DestroyMenu(hMenu);
    EXPECT_FALSE(IsMenu(hFile));

    // Damaged bytes are refused.
    bytes.resize(bytes.size() / 2);
    EXPECT_EQ(LoadMenuIndirect(bytes.data(), static_cast<DWORD>(bytes.size())), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
    EXPECT_EQ(LoadMenuIndirect(nullptr, 0), nullptr);
}

} // namespace
