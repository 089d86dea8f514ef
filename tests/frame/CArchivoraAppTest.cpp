#include "frame/CArchivoraApp.h"

#include "tests/frame/AppTestFixture.h"

#include "frame/AppGlobals.h"
#include "frame/DesktopLayout.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CNodeRec.h"
#include "store/CRegistryKey.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

DWORD DesktopValue(LPCTSTR pszSubKey, LPCTSTR pszName)
{
    CRegistryKey key;
    DWORD dwValue = 0xFFFFFFFF;
    CString strPath = DESKTOP_KEY_PATH;
    if (pszSubKey)
        strPath += CString("\\") + pszSubKey;
    if (key.Open(HKEY_CURRENT_USER, strPath, KEY_READ))
        key.GetDWORD(pszName, dwValue, 0xFFFFFFFF);
    return dwValue;
}

} // namespace

TEST_F(AppTest, AFirstStartSetsUpTheCatalogShowsOneMaximisedViewAndAClickReachesIt)
{
    ASSERT_TRUE(Start());
    CMainFrame* pMainFrame = MainFrame();
    ASSERT_NE(pMainFrame, nullptr);
    EXPECT_TRUE(pMainFrame->IsWindowVisible());
    EXPECT_TRUE(::IsZoomed(pMainFrame->GetSafeHwnd()));
    BOOL bMaximized = FALSE;
    CMDIChildWnd* pChild = pMainFrame->MDIGetActive(&bMaximized);
    ASSERT_NE(pChild, nullptr);
    EXPECT_TRUE(bMaximized);
    CSplitterFrame* pView = ActiveView();
    ASSERT_NE(pView, nullptr);
    EXPECT_FALSE(pView->IsPreviewShown());

    // The catalog is set up and held open once while the window shows.
    CCatalog* pCatalog = App().GetMainCatalog();
    ASSERT_NE(pCatalog, nullptr);
    EXPECT_EQ(pCatalog->GetOpenCount(), 1);
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(pCatalog));
    ASSERT_NE(pRoot, nullptr);
    EXPECT_EQ(pRoot->GetFlags() & CNodeRec::ROOT_NOT_SET_UP, 0);

    // A click on the toolbar's preview button shows the preview.
    CToolBar& toolbar = pMainFrame->GetToolBar();
    RECT rcButton {};
    toolbar.GetItemRect(toolbar.CommandToIndex(ID_VIEW_PREVIEW), &rcButton);
    ASSERT_TRUE(m_driver.Click(
        toolbar.GetSafeHwnd(), (rcButton.left + rcButton.right) / 2, (rcButton.top + rcButton.bottom) / 2));
    EXPECT_TRUE(pView->IsPreviewShown());

    // Closing with no tray icon ends the program and keeps the layout.
    pMainFrame->SendMessage(WM_CLOSE, 0, 0);
    m_driver.Pump();
    EXPECT_EQ(App().m_pMainWnd, nullptr);
    EXPECT_EQ(DesktopValue(nullptr, "Windows"), 1U);
    EXPECT_GT(DesktopValue(ChildKeyName(0), "TipViewFrame"), 0U);
}
