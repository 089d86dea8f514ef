#include "ui/CImageMenu.h"

#include "platform/framework/CDC.h"
#include "platform/framework/CImageList.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Icons.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/Menu.h"
#include "platform/window/SystemMetrics.h"
#include "tests/ui/UiTestSupport.h"

#include <functional>

namespace {

// What the picture test does with the menu window once the menu is open.
std::function<void(HWND)> s_onMenuOpen;

// A menu hook that hands the open menu's window to s_onMenuOpen, then dismisses the menu.
BOOL PictureMenu(HMENU, UINT* pnCommand)
{
    HWND hMenuWnd = FindWindow("#32768", nullptr);
    if (hMenuWnd && s_onMenuOpen) {
        UpdateWindow(hMenuWnd);
        s_onMenuOpen(hMenuWnd);
    }
    *pnCommand = 0;
    return TRUE;
}

class CImageMenuTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(m_images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 0));
        m_images.Add(LoadIcon(nullptr, IDI_APPLICATION));
        m_images.Add(LoadIcon(nullptr, IDI_WARNING));
        m_menu.SetImageList(&m_images);
    }
    // What MeasureItem answers for the item at a position.
    SIZE Measure(int nPosition)
    {
        MENUITEMINFO info {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA;
        EXPECT_TRUE(m_menu.GetMenuItemInfo(static_cast<UINT>(nPosition), &info, TRUE));
        MEASUREITEMSTRUCT measure { ODT_MENU, 0, 0, 0, 0, info.dwItemData };
        m_menu.MeasureItem(&measure);
        return SIZE { static_cast<LONG>(measure.itemWidth), static_cast<LONG>(measure.itemHeight) };
    }
    // Draws the item at a position into a 200 x 24 bitmap and reads pixel (x, y) back.
    COLORREF DrawnPixel(int nPosition, UINT nState, int x, int y)
    {
        MENUITEMINFO info {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA;
        m_menu.GetMenuItemInfo(static_cast<UINT>(nPosition), &info, TRUE);
        HDC hScreen = GetDC(nullptr);
        HDC hdc = CreateCompatibleDC(hScreen);
        HBITMAP hbm = CreateCompatibleBitmap(hScreen, 200, 24);
        HGDIOBJ hOld = SelectObject(hdc, hbm);
        DRAWITEMSTRUCT draw { ODT_MENU, 0, 0, ODA_DRAWENTIRE, nState, reinterpret_cast<HWND>(m_menu.GetSafeHmenu()),
            hdc, RECT { 0, 0, 200, 24 }, info.dwItemData };
        m_menu.DrawItem(&draw);
        const COLORREF cr = GetPixel(hdc, x, y);
        SelectObject(hdc, hOld);
        DeleteObject(hbm);
        DeleteDC(hdc);
        ReleaseDC(nullptr, hScreen);
        return cr;
    }

    CImageList m_images;
    CImageMenu m_menu;
};

TEST_F(CImageMenuTest, ItemsMeasureTheirImageAndTextAndSeparatorsHalfAMenuLine)
{
    ASSERT_TRUE(m_menu.AppendItem(MF_OWNERDRAW, 100, "Short", 0));
    ASSERT_TRUE(m_menu.AppendItem(MF_OWNERDRAW | MF_SEPARATOR, 0, nullptr));
    ASSERT_TRUE(m_menu.AppendItem(MF_OWNERDRAW, 101, "A much longer text", 1));
    const SIZE shortItem = Measure(0);
    const SIZE separator = Measure(1);
    const SIZE longItem = Measure(2);
    EXPECT_GT(shortItem.cx, 16 + 16);
    EXPECT_GT(longItem.cx, shortItem.cx);
    EXPECT_EQ(shortItem.cy, 16 + 2) << "the image is taller than the text";
    EXPECT_EQ(separator.cx, 0);
    EXPECT_EQ(separator.cy, GetSystemMetrics(SM_CYMENU) / 2);
}

TEST_F(CImageMenuTest, TheItemThatPassesTheWorkAreaStartsANewColumn)
{
    RECT workArea {};
    SystemParametersInfo(SPI_GETWORKAREA, 0, &workArea, 0);
    const int nRowsPerColumn = (workArea.bottom - workArea.top) / (16 + 2);
    for (int i = 0; i <= nRowsPerColumn + 1; ++i)
        ASSERT_TRUE(m_menu.AppendItem(MF_OWNERDRAW, 200 + i, "Item", 0));
    for (int i = 0; i <= nRowsPerColumn + 1; ++i) {
        const bool bBreak = (m_menu.GetMenuState(static_cast<UINT>(i), MF_BYPOSITION) & MF_MENUBARBREAK) != 0;
        EXPECT_EQ(bBreak, i == nRowsPerColumn) << "item " << i;
    }
    m_menu.Reset();
    EXPECT_EQ(m_menu.GetItemCount(), 0);
    EXPECT_EQ(m_menu.GetMenuItemCount(), 0u);
    ASSERT_TRUE(m_menu.AppendItem(MF_OWNERDRAW, 300, "Again", 0));
    EXPECT_FALSE(m_menu.GetMenuState(0, MF_BYPOSITION) & MF_MENUBARBREAK) << "a new first column";
}

TEST_F(CImageMenuTest, SelectedAndDisabledItemsTakeTheirColours)
{
    ASSERT_TRUE(m_menu.AppendItem(MF_OWNERDRAW, 100, "Open", 0));
    EXPECT_EQ(DrawnPixel(0, 0, 190, 2), GetSysColor(COLOR_MENU));
    EXPECT_EQ(DrawnPixel(0, ODS_SELECTED, 190, 2), GetSysColor(COLOR_HIGHLIGHT));
    const COLORREF enabledImage = DrawnPixel(0, 0, 4 + 8, 12);
    const COLORREF disabledImage = DrawnPixel(0, ODS_GRAYED, 4 + 8, 12);
    EXPECT_NE(enabledImage, disabledImage) << "the disabled image is embossed";
}

TEST_F(CImageMenuTest, LooksWithAColumnBreakASeparatorAndADisabledItem)
{
    ASSERT_TRUE(m_menu.AppendItem(MF_OWNERDRAW, 100, "Application", 0));
    ASSERT_TRUE(m_menu.AppendItem(MF_OWNERDRAW | MF_SEPARATOR, 0, nullptr));
    ASSERT_TRUE(m_menu.AppendItem(MF_OWNERDRAW | MF_GRAYED, 101, "Not now", 1));
    ASSERT_TRUE(m_menu.AppendItem(MF_OWNERDRAW | MF_MENUBARBREAK, 102, "Next column", 1));
    ASSERT_TRUE(m_menu.AppendItem(MF_OWNERDRAW, 103, "Without image"));
    s_onMenuOpen = [this](HWND hMenuWnd) { m_pUi->ExpectWindowMatches(hMenuWnd, "image_menu.png"); };
    const MENUTRACKHOOK pfnPrevious = SetThreadMenuTrackHook(&PictureMenu);
    m_menu.TrackPopupMenu(TPM_RETURNCMD, 10, 10, &Host());
    SetThreadMenuTrackHook(pfnPrevious);
    s_onMenuOpen = nullptr;
}

} // namespace
