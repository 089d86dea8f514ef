#include "webaccess/dialogs/CDlgWACatalogSettings.h"

#include "platform/testing/DialogScript.h"
#include "platform/testing/TestDriver.h"
#include "resources/ResourceIds.h"
#include "tests/webaccess/directory/AccountDialogTest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using CDlgWACatalogSettingsTest = AccountDialogTest;

TEST_F(CDlgWACatalogSettingsTest, EmptyOrSameNameInOtherCaseIsRefusedBeforeAnyRequest)
{
    std::string strShown;
    m_driver.AnswerNextDialog(
        std::move(CDialogScript()
                      .Then([&](HWND hDlg) { strShown = CTestDriver::Text(GetDlgItem(hDlg, IDC_WA_CATALOG_NEW_NAME)); })
                      .SetText(IDC_WA_CATALOG_NEW_NAME, "   ")
                      .Press(IDOK)
                      .SetText(IDC_WA_CATALOG_NEW_NAME, " DOCS ")
                      .Press(IDOK)
                      .Press(IDCANCEL)));
    AnswerMessageBox();
    AnswerMessageBox();
    CDlgWACatalogSettings dlg(m_site.m_settings);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(strShown, "Docs");
    EXPECT_EQ(m_messages, (std::vector<std::string> { Loaded(IDS_WEB_NO_USER_ID), Loaded(IDS_WA_NOTHING_CHANGED) }));
    EXPECT_TRUE(m_site.m_server.Requests().empty());
}

TEST_F(CDlgWACatalogSettingsTest, ANewNameIsRenamedOnTheServerAndStored)
{
    m_site.m_server.SetReply("<#WACC |0| |renamed|#>");
    m_driver.AnswerNextDialog(std::move(CDialogScript().SetText(IDC_WA_CATALOG_NEW_NAME, " Papers ").Press(IDOK)));
    AnswerMessageBox();
    CDlgWACatalogSettings dlg(m_site.m_settings);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(m_site.m_server.LastQuery(), "Ulog=ana&Upas=secret&Clog=Docs&Cnum=C0DE42&Nclog=Papers");
    EXPECT_EQ(std::string(m_site.m_settings.m_strCatName), "Papers");
    EXPECT_EQ(m_messages, (std::vector<std::string> { Loaded(IDS_WA_CATALOG_RENAMED) }));

    // A refusal keeps the dialog open and the name.
    m_site.m_server.SetReply("<#WACC |12| |Name taken|#>");
    m_driver.AnswerNextDialog(
        std::move(CDialogScript().SetText(IDC_WA_CATALOG_NEW_NAME, "Taken").Press(IDOK).Press(IDCANCEL)));
    AnswerMessageBox();
    CDlgWACatalogSettings refused(m_site.m_settings);
    EXPECT_EQ(refused.DoModal(), IDCANCEL);
    EXPECT_EQ(std::string(m_site.m_settings.m_strCatName), "Papers");
}

} // namespace
