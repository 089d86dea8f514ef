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

class SheetScriptTest : public WindowTest { };

} // namespace

TEST_F(SheetScriptTest, ScriptsReachTheCurrentPagesControlsAndSwitchPages)
{
    CWnd wndOwner;
    wndOwner.Attach(CreateRecordingWindow(WS_POPUP | WS_VISIBLE, 0, 0, 500, 400));
    CFieldPage first(501), second(502);
    CPropertySheet sheet("Sheet", &wndOwner);
    sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    CTestDriver driver;
    CDialogScript script;
    script.SetText(ID_FIELD, "12").SelectPage(1).SetText(ID_FIELD, "34").Press(IDOK);
    driver.AnswerNextDialog(std::move(script));
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_TRUE(driver.ScriptErrors().empty());
    EXPECT_EQ(first.m_nValue, 12);
    EXPECT_EQ(second.m_nValue, 34);
    wndOwner.DestroyWindow();
}
