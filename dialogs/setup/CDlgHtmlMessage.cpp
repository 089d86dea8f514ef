#include "dialogs/setup/CDlgHtmlMessage.h"

#include "dialogs/setup/HtmlMessagePage.h"
#include "resources/ResourceIds.h"
#include "webaccess/directory/WARequestLoop.h"
#include "webaccess/profiles/CWASettings.h"

#include "platform/controls/ButtonControl.h"
#include "platform/framework/CWaitCursor.h"

CDlgHtmlMessage::CDlgHtmlMessage(CWASettings& settings, CWnd* pParent)
    : CDialog(IDD_WA_NOTICE, pParent)
    , m_settings(settings)
{
}

BOOL CDlgHtmlMessage::OnInitDialog()
{
    CDialog::OnInitDialog();
    CWaitCursor wait;
    const CString strPath = HtmlMessagePagePath();
    BuildHtmlMessagePage(strPath, m_settings.m_strSite);
    if (m_page.CreateFromStatic(IDC_WA_NOTICE_PAGE, this)) {
        m_page.Navigate2(strPath);
        m_page.ModifyStyleEx(0, WS_EX_CLIENTEDGE, SWP_FRAMECHANGED);
    }
    CheckDlgButton(IDC_NOTICE_DONT_ASK, BST_UNCHECKED);
    return TRUE;
}

void CDlgHtmlMessage::OnOK()
{
    if (IsDlgButtonChecked(IDC_NOTICE_DONT_ASK) == BST_CHECKED) {
        m_settings.m_nWarnConn = 0;
        SaveWebSettingsOrWarn();
    }
    CDialog::OnOK();
}
