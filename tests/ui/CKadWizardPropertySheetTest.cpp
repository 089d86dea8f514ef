#include "ui/CKadWizardPropertySheet.h"

#include "platform/controls/PropertySheet.h"
#include "platform/framework/CPropertyPage.h"
#include "platform/window/Dialog.h"
#include "tests/ui/UiTestSupport.h"

#include <map>

namespace {

// A page with one label, from a template in memory.
class CLabelPage : public CPropertyPage {
public:
    CLabelPage()
        : CPropertyPage(1)
    {
        m_template.dwStyle = WS_POPUP | WS_CAPTION | DS_SETFONT;
        m_template.cx = 160;
        m_template.cy = 60;
        m_template.nPointSize = 8;
        m_template.strFaceName = "MS Shell Dlg";
        m_template.strCaption = "Page";
        m_template.controls = { { static_cast<DWORD>(-1), WS_VISIBLE, 0, 7, 7, 100, 10, "Static", "A page" } };
        m_psp.dwFlags |= PSP_DLGINDIRECT;
        m_psp.pResource = &m_template;
    }

private:
    DialogTemplate m_template;
};

TEST_F(UiTest, WizardSheetShowsTheProgramsCaptionAndButtonTexts)
{
    CKadWizardPropertySheet sheet(&Host());
    EXPECT_TRUE(sheet.m_psh.dwFlags & PSH_WIZARD);
    CLabelPage page;
    sheet.AddPage(&page);
    std::map<int, std::string> texts;
    std::string strCaption;
    Driver().OnNextDialog([&](HWND hDlg) {
        char szText[64] {};
        ::GetWindowText(hDlg, szText, sizeof(szText));
        strCaption = szText;
        for (int nID : { ID_WIZBACK, ID_WIZNEXT, ID_WIZFINISH, IDHELP, IDCANCEL }) {
            ::GetDlgItemText(hDlg, nID, szText, sizeof(szText));
            texts[nID] = szText;
        }
        ::PostMessage(hDlg, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(strCaption, "Wizard");
    EXPECT_EQ(texts[ID_WIZBACK], "< &Back");
    EXPECT_EQ(texts[ID_WIZNEXT], "&Next >");
    EXPECT_EQ(texts[ID_WIZFINISH], "&Finish");
    EXPECT_EQ(texts[IDHELP], "&Help");
    EXPECT_EQ(texts[IDCANCEL], "Cancel");
}

} // namespace
