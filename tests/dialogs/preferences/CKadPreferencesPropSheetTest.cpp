// The preference sheets' shared look and keys, on a sheet of two small pages.

#include "dialogs/preferences/CKadPreferencesPropSheet.h"

#include "platform/controls/PropertySheet.h"
#include "platform/framework/CPropertyPage.h"
#include "platform/window/Dialog.h"
#include "resources/ResourceIds.h"
#include "tests/ui/UiTestSupport.h"

#include <string>

namespace {

// A page with one edit, from a template in memory, that counts its idle passes.
class CIdlePage : public CPropertyPage {
    DECLARE_MESSAGE_MAP()

public:
    explicit CIdlePage(const char* pszCaption)
        : CPropertyPage(1)
    {
        m_template.dwStyle = WS_CHILD | WS_CAPTION | DS_SETFONT;
        m_template.cx = 252;
        m_template.cy = 218;
        m_template.nPointSize = 8;
        m_template.strFaceName = "MS Shell Dlg";
        m_template.strCaption = pszCaption;
        m_template.controls = { { 1000, WS_VISIBLE | WS_TABSTOP | WS_BORDER, 0, 7, 7, 100, 12, "Edit", "" } };
        m_psp.dwFlags |= PSP_DLGINDIRECT | PSP_HASHELP;
        m_psp.pResource = &m_template;
    }

    int m_nIdlePasses { 0 };

protected:
    LRESULT OnKickIdle(WPARAM, LPARAM)
    {
        ++m_nIdlePasses;
        return 0;
    }

private:
    DialogTemplate m_template;
};

// clang-format off
BEGIN_MESSAGE_MAP(CIdlePage, CPropertyPage)
    ON_MESSAGE(WM_KICKIDLE, &CIdlePage::OnKickIdle)
END_MESSAGE_MAP()
// clang-format on

class KadPreferencesPropSheetTest : public UiTest {
protected:
    static RECT ItemRect(HWND hDlg, int nID)
    {
        RECT rect {};
        HWND hItem = ::GetDlgItem(hDlg, nID);
        ::GetWindowRect(hItem, &rect);
        ::MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    CIdlePage m_general { "&General" };
    CIdlePage m_details { "&Details" };
};

TEST_F(KadPreferencesPropSheetTest, HasNoApplyHidesHelpAndPutsOkAndCancelAtTheRight)
{
    CKadPreferencesPropSheet sheet(IDS_PREFERENCES, &Host());
    sheet.m_psh.dwFlags |= PSH_HASHELP;
    sheet.AddPage(&m_general);
    sheet.AddPage(&m_details);
    EXPECT_TRUE(sheet.m_psh.dwFlags & PSH_NOAPPLYNOW);
    std::string strCaption;
    RECT client {}, ok {}, cancel {};
    BOOL bApply = TRUE;
    BOOL bHelpVisible = TRUE;
    Driver().OnNextDialog([&](HWND hDlg) {
        char szText[64] {};
        ::GetWindowText(hDlg, szText, sizeof(szText));
        strCaption = szText;
        ::GetClientRect(hDlg, &client);
        ok = ItemRect(hDlg, IDOK);
        cancel = ItemRect(hDlg, IDCANCEL);
        HWND hApply = ::GetDlgItem(hDlg, ID_APPLY_NOW);
        bApply = hApply && ::IsWindowVisible(hApply);
        HWND hHelp = ::GetDlgItem(hDlg, IDHELP);
        bHelpVisible = hHelp && ::IsWindowVisible(hHelp);
        ::PostMessage(hDlg, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(strCaption, "Preferences");
    EXPECT_FALSE(bApply);
    EXPECT_FALSE(bHelpVisible);
    EXPECT_EQ(cancel.right, client.right - CKadPreferencesPropSheet::BUTTON_GAP);
    EXPECT_EQ(ok.right, cancel.left - CKadPreferencesPropSheet::BUTTON_GAP);
    EXPECT_EQ(ok.top, cancel.top);
}

TEST_F(KadPreferencesPropSheetTest, AltWithATabsMarkedLetterChoosesItsPageAndIdleReachesThePages)
{
    CKadPreferencesPropSheet sheet(IDS_PREFERENCES, &Host());
    sheet.AddPage(&m_general);
    sheet.AddPage(&m_details);
    std::vector<int> pages;
    Driver().OnNextDialog([&](HWND hDlg) {
        Driver().PressKey('D', CTestDriver::ALT);
        pages.push_back(sheet.GetActiveIndex());
        Driver().PressKey('X', CTestDriver::ALT); // no tab marks it
        pages.push_back(sheet.GetActiveIndex());
        Driver().PressKey('G', CTestDriver::ALT);
        pages.push_back(sheet.GetActiveIndex());
        sheet.SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, 0);
        ::PostMessage(hDlg, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_EQ(pages, (std::vector<int> { 1, 1, 0 }));
    EXPECT_EQ(m_general.m_nIdlePasses, 1) << "the sheet relays its idle pass to every made page";
    EXPECT_EQ(m_details.m_nIdlePasses, 1);
}

} // namespace
