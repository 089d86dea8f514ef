// The main window's layout: what a start reads and what a save writes.

#include "frame/CMainFrame.h"

#include "tests/frame/AppTestFixture.h"

#include "frame/AppGlobals.h"
#include "frame/DesktopLayout.h"
#include "resources/ResourceIds.h"
#include "store/CRegistryKey.h"

#include "platform/framework/CStatusBar.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/Window.h"

#include <gtest/gtest.h>

namespace {

void WritePosition(LPCTSTR pszKey, DWORD dwStatus, RECT rc)
{
    CRegistryKey key;
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, pszKey));
    key.SetDWORD("Status", dwStatus);
    CDWordArray position;
    for (LONG nValue : { rc.left, rc.top, rc.right, rc.bottom })
        position.Add(static_cast<DWORD>(nValue));
    key.SetDWordArray("Position", position);
}

class MainFrameLayoutTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        WriteCatalog();
    }
    RECT WindowRect() const
    {
        RECT rc {};
        ::GetWindowRect(MainFrame()->GetSafeHwnd(), &rc);
        return rc;
    }
    BOOL IsMaximized() const { return ::IsZoomed(MainFrame()->GetSafeHwnd()); }
};

} // namespace

TEST_F(MainFrameLayoutTest, AKeptPlaceComesBackAndAMinimisedWindowComesBackMaximised)
{
    WritePosition(DESKTOP_KEY_PATH, SW_SHOWNORMAL, { 40, 30, 640, 430 });
    ASSERT_TRUE(Start());
    EXPECT_FALSE(IsMaximized());
    EXPECT_EQ(WindowRect().right - WindowRect().left, 600);
    EXPECT_EQ(WindowRect().bottom - WindowRect().top, 400);
    Stop();

    WritePosition(DESKTOP_KEY_PATH, SW_SHOWMINIMIZED, { 40, 30, 640, 430 });
    ASSERT_TRUE(Start());
    EXPECT_TRUE(IsMaximized());
}

TEST_F(MainFrameLayoutTest, AnEmptyOrDamagedPlaceStartsMaximised)
{
    WritePosition(DESKTOP_KEY_PATH, SW_SHOWNORMAL, { 100, 100, 100, 300 });
    ASSERT_TRUE(Start());
    EXPECT_TRUE(IsMaximized());
    Stop();

    // A "Position" that is no archive of four numbers; the rest of the layout still counts.
    CRegistryKey key;
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, DESKTOP_KEY_PATH));
    const BYTE damaged[] = { 0xFF, 0x00, 0x13 };
    ASSERT_EQ(RegSetValueEx(key, "Position", 0, REG_BINARY, damaged, sizeof(damaged)), ERROR_SUCCESS);
    key.SetDWORD("Windows", 2);
    WritePosition(CString(DESKTOP_KEY_PATH) + "\\" + ChildKeyName(0), SW_SHOWNORMAL, { 0, 0, 200, 100 });
    WritePosition(CString(DESKTOP_KEY_PATH) + "\\" + ChildKeyName(1), SW_SHOWNORMAL, { 0, 0, 200, 100 });
    key.Close();
    ASSERT_TRUE(Start());
    EXPECT_TRUE(IsMaximized());
    EXPECT_EQ(Views().size(), 2U);
}

TEST_F(MainFrameLayoutTest, AWindowKeptOffTheScreenIsPulledBack)
{
    const int cxScreen = GetSystemMetrics(SM_CXSCREEN);
    const int cyScreen = GetSystemMetrics(SM_CYSCREEN);
    WritePosition(DESKTOP_KEY_PATH, SW_SHOWNORMAL, { cxScreen + 500, cyScreen + 400, cxScreen + 900, cyScreen + 700 });
    ASSERT_TRUE(Start());
    EXPECT_LE(WindowRect().left, cxScreen - GetSystemMetrics(SM_CXICON));
    EXPECT_LE(WindowRect().top, cyScreen - GetSystemMetrics(SM_CYICON));
    Stop();

    // Left of and above the screen, where a monitor has gone.
    WritePosition(DESKTOP_KEY_PATH, SW_SHOWNORMAL, { -3000, -2000, -2600, -1700 });
    ASSERT_TRUE(Start());
    EXPECT_GE(WindowRect().left, 0);
    EXPECT_GE(WindowRect().top, 0);
}

TEST_F(MainFrameLayoutTest, TheActiveViewIsKeptByItsPlaceInWindowOrder)
{
    ASSERT_TRUE(Start());
    Command(ID_FILE_NEW);
    std::vector<CSplitterFrame*> views = Views();
    ASSERT_EQ(views.size(), 2U);
    // The active view put last in window order without losing activation.
    CSplitterFrame* pActive = ActiveView();
    ::SetWindowPos(pActive->GetSafeHwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_EQ(Views().back(), pActive);
    MainFrame()->SaveSettings();
    EXPECT_EQ(ProductValue("Desktop", "Windows"), 2U);
    EXPECT_EQ(ProductValue("Desktop", "ActiveFrame"), 1U);
    EXPECT_TRUE(ProductValue(CString("Desktop\\") + ChildKeyName(0), "Status").has_value());
    EXPECT_TRUE(ProductValue(CString("Desktop\\") + ChildKeyName(1), "Status").has_value());

    // A save drops the keys of views that are gone.
    Command(ID_FILE_NEW);
    MainFrame()->SaveSettings();
    EXPECT_EQ(ProductValue("Desktop", "Windows"), 3U);
    MainFrame()->MDIGetActive()->DestroyWindow();
    m_driver.Pump();
    MainFrame()->SaveSettings();
    EXPECT_EQ(ProductValue("Desktop", "Windows"), 2U);
    EXPECT_FALSE(ProductValue(CString("Desktop\\") + ChildKeyName(2), "Status").has_value());
}

TEST_F(MainFrameLayoutTest, TheBarsKeepTheirVisibilityAndDocking)
{
    // The find bar waits for a search, or for the user, before it first shows.
    ASSERT_TRUE(Start());
    EXPECT_FALSE(MainFrame()->GetFindBar().IsVisible());
    Command(ID_VIEW_FIND_BAR);
    EXPECT_TRUE(MainFrame()->GetFindBar().IsVisible());
    Command(ID_APP_EXIT_PROGRAM);
    Stop();
    EXPECT_EQ(ProductValue("Desktop\\Findbar", "Show"), 1U);

    ASSERT_TRUE(Start());
    CFindBar& findBar = MainFrame()->GetFindBar();
    EXPECT_TRUE(findBar.IsVisible());
    Command(ID_VIEW_FIND_BAR);
    EXPECT_FALSE(findBar.IsVisible());
    Command(ID_APP_EXIT_PROGRAM);
    Stop();
    EXPECT_EQ(ProductValue("Desktop\\Findbar", "Show"), 0U);

    ASSERT_TRUE(Start());
    EXPECT_FALSE(MainFrame()->GetFindBar().IsVisible());
}

TEST_F(MainFrameLayoutTest, TheOpenBarKeepsItsCollapsedLook)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(MainFrame()->GetOpenBar().IsOpen());
    Command(IDC_OPEN_BAR_TOGGLE);
    EXPECT_FALSE(MainFrame()->GetOpenBar().IsOpen());
    Command(ID_APP_EXIT_PROGRAM);
    Stop();

    ASSERT_TRUE(Start());
    EXPECT_FALSE(MainFrame()->GetOpenBar().IsOpen());
}

TEST_F(MainFrameLayoutTest, TheCountsPaneWidensToShowALargeCountWhole)
{
    ASSERT_TRUE(Start());
    CStatusBar& status = MainFrame()->GetStatusBar();
    const int nPane = status.CommandToIndex(ID_PANE_COUNTS);
    ASSERT_GE(nPane, 0);
    const CString strCounts = "111626 of 111626 items";
    status.SetPaneText(nPane, strCounts);
    HDC hdc = ::CreateCompatibleDC(nullptr);
    ::SelectObject(hdc, reinterpret_cast<HGDIOBJ>(status.SendMessage(WM_GETFONT)));
    SIZE size {};
    ::GetTextExtentPoint32(hdc, strCounts, strCounts.GetLength(), &size);
    ::DeleteDC(hdc);
    RECT rcPane {};
    status.GetItemRect(nPane, &rcPane);
    EXPECT_GE(rcPane.right - rcPane.left, size.cx);
    // The pane beside it keeps its place inside the bar.
    RECT rcBar {};
    status.GetClientRect(&rcBar);
    RECT rcNext {};
    status.GetItemRect(nPane + 1, &rcNext);
    EXPECT_GE(rcNext.left, rcPane.right);
    EXPECT_LE(rcNext.right, rcBar.right);
}
