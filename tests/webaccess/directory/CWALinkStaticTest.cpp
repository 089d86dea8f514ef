#include "webaccess/directory/CWALinkStatic.h"

#include "platform/base/ResourceModule.h"
#include "platform/framework/CDialog.h"
#include "platform/testing/TestDriver.h"
#include "resources/ResourceIds.h"
#include "tests/ui/ProgramModule.h"

#include <gtest/gtest.h>

namespace {

TEST(CWALinkStaticTest, AClickRunsThePagesHandlerAndTheLinkCursorExists)
{
    ProgramModule module;
    CTestDriver driver;
    EXPECT_NE(LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(IDC_WA_LINK)), nullptr);

    int nClicks = 0;
    CWALinkStatic link;
    driver.OnNextDialog([&](HWND hDlg) {
        ASSERT_TRUE(link.SubclassDlgItem(IDC_WA_ACCOUNT_TITLE, CWnd::FromHandle(hDlg)));
        link.SetWindowText("Choose a catalog");
        link.MakeLink();
        link.SetClickHandler([&nClicks] { ++nClicks; });
        EXPECT_TRUE(driver.Click(link.m_hWnd, 3, 3));
        link.UnsubclassWindow();
        EndDialog(hDlg, IDOK);
    });
    CDialog dlg(IDD_WA_ACCOUNT);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(nClicks, 1);
}

} // namespace
