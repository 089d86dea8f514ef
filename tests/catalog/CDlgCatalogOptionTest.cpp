#include "catalog/CDlgCatalogOption.h"

#include "resources/ResourceIds.h"
#include "tests/ui/ProgramModule.h"

#include "platform/testing/DialogScript.h"
#include "platform/testing/TestDriver.h"

#include <gtest/gtest.h>

namespace {

TEST(CDlgCatalogOptionTest, OkKeepsTheEditedTextAndCancelTheOldOne)
{
    ProgramModule module;
    CTestDriver driver;
    CDlgCatalogOption dlg;
    EXPECT_TRUE(dlg.m_strText.IsEmpty());
    driver.AnswerNextDialog(std::move(CDialogScript().SetText(IDC_CATALOG_OPTION_TEXT, "~*.bak").Press(IDOK)));
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strText, CString("~*.bak"));

    CString strShown;
    driver.AnswerNextDialog(
        std::move(CDialogScript()
                      .Then([&](HWND hDlg) { strShown = CTestDriver::Text(GetDlgItem(hDlg, IDC_CATALOG_OPTION_TEXT)); })
                      .SetText(IDC_CATALOG_OPTION_TEXT, "other")
                      .Press(IDCANCEL)));
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(strShown, CString("~*.bak"));
    EXPECT_EQ(dlg.m_strText, CString("~*.bak"));
    EXPECT_TRUE(driver.ScriptErrors().empty());
}

} // namespace
