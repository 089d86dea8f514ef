#include "ui/ChildPropertySheet.h"

#include "platform/framework/AfxMessages.h"
#include "platform/framework/CRect.h"
#include "platform/window/Focus.h"
#include "tests/platform/framework/SheetTestSupport.h"

namespace {

constexpr int ID_BEFORE = 110, ID_AFTER = 111, ID_PLACEHOLDER = 1337;

DialogControlTemplate HostControl(const char* pszClass, int nId, DWORD dwStyle, SHORT y, SHORT cy, const char* pszText)
{
    return { static_cast<DWORD>(nId), dwStyle | WS_VISIBLE, 0, 7, y, 200, cy, pszClass, pszText };
}

// An edit, the placeholder, an edit and OK; the sheet goes over the placeholder.
DialogTemplate HostTemplate()
{
    DialogTemplate dialog;
    dialog.dwStyle = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT;
    dialog.cx = 220;
    dialog.cy = 140;
    dialog.nPointSize = 8;
    dialog.strFaceName = "MS Shell Dlg";
    dialog.controls = { HostControl(TEST_EDIT, ID_BEFORE, WS_TABSTOP | WS_GROUP, 7, 12, ""),
        HostControl(TEST_LABEL, ID_PLACEHOLDER, 0, 24, 60, ""),
        HostControl(TEST_EDIT, ID_AFTER, WS_TABSTOP | WS_GROUP, 90, 12, ""),
        HostControl(TEST_BUTTON, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 110, 14, "OK") };
    return dialog;
}

// A dialog hosting a child sheet of two pages; its idle handler runs the test's steps.
class CHostDialog : public CDialog {
    DECLARE_MESSAGE_MAP()

public:
    explicit CHostDialog(CWnd* pParent)
        : m_template(HostTemplate())
    {
        InitModalIndirect(&m_template, pParent);
        m_sheet.AddPage(&m_one);
        m_sheet.AddPage(&m_two);
    }

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        EXPECT_TRUE(CreateChildPropertySheet(this, &m_sheet, WS_CHILD | WS_VISIBLE, 0));
        EXPECT_TRUE(PlaceChildPropertySheet(this, &m_sheet, ID_PLACEHOLDER));
        return TRUE;
    }

    HWND Item(int nId) const { return ::GetDlgItem(m_hWnd, nId); }

    CNumberPage m_one { "one", 401 };
    CNumberPage m_two { "two", 402 };
    CPropertySheet m_sheet;
    std::vector<std::function<void(CHostDialog*)>> steps;

protected:
    LRESULT OnKickIdle(WPARAM, LPARAM)
    {
        if (m_nStep < steps.size())
            steps[m_nStep++](this);
        else
            EndDialog(IDABORT);
        return FALSE;
    }

private:
    DialogTemplate m_template;
    size_t m_nStep { 0 };
};

BEGIN_MESSAGE_MAP(CHostDialog, CDialog)
    ON_MESSAGE(WM_KICKIDLE, &CHostDialog::OnKickIdle)
END_MESSAGE_MAP()

class ChildPropertySheetTest : public SheetTest { };

HWND PageEdit(CPropertyPage& page)
{
    return ::GetDlgItem(page.GetSafeHwnd(), ID_VALUE);
}

}

TEST_F(ChildPropertySheetTest, TheSheetStandsOnThePlaceholderAndTheKeyboardCrossesIt)
{
    CHostDialog dlg(&m_wndOwner);
    dlg.steps = {
        [&](CHostDialog* pDlg) {
            EXPECT_TRUE(pDlg->GetExStyle() & WS_EX_CONTROLPARENT);
            CRect rcSheet, rcPlaceholder;
            pDlg->m_sheet.GetWindowRect(&rcSheet);
            ::GetWindowRect(pDlg->Item(ID_PLACEHOLDER), &rcPlaceholder);
            EXPECT_EQ(rcSheet.left, rcPlaceholder.left);
            EXPECT_EQ(rcSheet.top, rcPlaceholder.top);
            EXPECT_EQ(pDlg->m_sheet.GetDlgItem(IDCANCEL), nullptr) << "a child sheet has no buttons";
            EXPECT_EQ(pDlg->m_two.GetSafeHwnd(), nullptr);
            ::SetFocus(pDlg->Item(ID_BEFORE));
            PressKey(VK_TAB);
        },
        [&](CHostDialog* pDlg) {
            EXPECT_EQ(::GetFocus(), PageEdit(pDlg->m_one))
                << "Tab enters the sheet's page where the placeholder stands";
            PressKey(VK_TAB);
        },
        [&](CHostDialog* pDlg) {
            EXPECT_EQ(::GetFocus(), pDlg->m_sheet.GetTabControl()->GetSafeHwnd()) << "then the sheet's tabs";
            PressKey(VK_TAB);
        },
        [&](CHostDialog* pDlg) {
            EXPECT_EQ(::GetFocus(), pDlg->Item(ID_AFTER)) << "and leaves it for the next control";
            PressKey(VK_TAB, VK_SHIFT);
        },
        [&](CHostDialog* pDlg) {
            EXPECT_EQ(::GetFocus(), pDlg->m_sheet.GetTabControl()->GetSafeHwnd());
            PressKey(VK_TAB, VK_SHIFT);
        },
        [&](CHostDialog* pDlg) {
            EXPECT_EQ(::GetFocus(), PageEdit(pDlg->m_one));
            PressKey(VK_TAB, VK_SHIFT);
        },
        [&](CHostDialog* pDlg) {
            EXPECT_EQ(::GetFocus(), pDlg->Item(ID_BEFORE));
            EXPECT_TRUE(pDlg->m_sheet.SetActivePage(1));
            PressKey(VK_TAB);
        },
        [&](CHostDialog* pDlg) {
            EXPECT_EQ(::GetFocus(), PageEdit(pDlg->m_two)) << "the hidden page is passed over";
            ::SetFocus(pDlg->Item(ID_AFTER));
            PressKey('T', VK_MENU);
        },
        [&](CHostDialog* pDlg) {
            EXPECT_EQ(::GetFocus(), PageEdit(pDlg->m_two)) << "Alt+T finds the page's label";
            PressKey(VK_RETURN);
        },
    };
    EXPECT_EQ(dlg.DoModal(), IDOK) << "Enter in a page presses the host's default button";
    EXPECT_FALSE(PlaceChildPropertySheet(&dlg, &dlg.m_sheet, ID_PLACEHOLDER)) << "no windows any more";
}
