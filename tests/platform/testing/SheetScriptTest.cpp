#include "platform/testing/DialogScript.h"

#include "platform/framework/CPropertySheet.h"
#include "platform/testing/TestDriver.h"
#include "tests/platform/window/WindowTestSupport.h"

namespace {

constexpr int ID_FIELD = 100; // the same ID on every page

// A page with one number field.
class CFieldPage : public CPropertyPage {
public:
    explicit CFieldPage(UINT nIDTemplate)
        : CPropertyPage(nIDTemplate)
    {
        m_template.dwStyle = WS_POPUP;
        m_template.cx = 100;
        m_template.cy = 30;
        m_template.controls = { { ID_FIELD, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 7, 7, 80, 12, "Edit", "" } };
        m_psp.dwFlags |= PSP_DLGINDIRECT;
        m_psp.pResource = &m_template;
    }

    int m_nValue { 0 };

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, ID_FIELD, m_nValue); }

private:
    DialogTemplate m_template;
};

class SheetScriptTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        m_wndOwner.Attach(CreateRecordingWindow(WS_POPUP | WS_VISIBLE, 0, 0, 500, 400));
        m_sheet.AddPage(&m_first);
        m_sheet.AddPage(&m_second);
    }
    void TearDown() override
    {
        m_wndOwner.DestroyWindow();
        WindowTest::TearDown();
    }

    CWnd m_wndOwner;
    CFieldPage m_first { 501 }, m_second { 502 };
    CPropertySheet m_sheet { "Sheet", &m_wndOwner };
    CTestDriver m_driver;
};

} // namespace

TEST_F(SheetScriptTest, ScriptsReachTheCurrentPagesControlsAndSwitchPages)
{
    CDialogScript script;
    script.SetText(ID_FIELD, "12").SelectPage(1).SetText(ID_FIELD, "34").Press(IDOK);
    m_driver.AnswerNextDialog(std::move(script));
    EXPECT_EQ(m_sheet.DoModal(), IDOK);
    EXPECT_TRUE(m_driver.ScriptErrors().empty());
    EXPECT_EQ(m_first.m_nValue, 12);
    EXPECT_EQ(m_second.m_nValue, 34);
}

// The driver ends the sheet with EndDialog, which the class library's modal loop obeys.
TEST_F(SheetScriptTest, APageThatCannotBeShownStopsTheScriptAndCancels)
{
    CDialogScript script;
    script.SelectPage(2).Press(IDOK);
    m_driver.AnswerNextDialog(std::move(script));
    EXPECT_EQ(m_sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(m_driver.ScriptErrors(), (std::vector<CString> { "step 1: page 2 could not be shown" }));
}
