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
        m_template.dwStyle = WS_POPUP | DS_SETFONT;
        m_template.cx = 100;
        m_template.cy = 30;
        m_template.nPointSize = 8;
        m_template.strFaceName = "DejaVu Sans";
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
        m_hOwner = CreateRecordingWindow(WS_POPUP | WS_VISIBLE, 0, 0, 500, 400);
        m_wndOwner.Attach(m_hOwner);
        m_sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;
        m_sheet.AddPage(&m_first);
        m_sheet.AddPage(&m_second);
    }
    void TearDown() override
    {
        m_wndOwner.DestroyWindow();
        WindowTest::TearDown();
    }

    CTestDriver m_driver;
    HWND m_hOwner { nullptr };
    CWnd m_wndOwner;
    CFieldPage m_first { 501 };
    CFieldPage m_second { 502 };
    CPropertySheet m_sheet { "Sheet", &m_wndOwner };
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
