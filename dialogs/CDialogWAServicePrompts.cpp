#include "dialogs/CDialogWAServicePrompts.h"

#include "dialogs/documents/CDlgWALog.h"
#include "dialogs/setup/CDlgHtmlMessage.h"
#include "frame/WebAccessServices.h"
#include "webaccess/directory/CDlgWAConnect.h"
#include "webaccess/directory/CWASetupWizardPropSheet.h"

#include "platform/framework/CWinThread.h"

BOOL CDialogWAServicePrompts::RunSetupWizard(CWASetupConnection& connection)
{
    CWASetupWizardPropSheet sheet(GetWebAccessSettings(), connection);
    return sheet.DoModal() == ID_WIZFINISH;
}

BOOL CDialogWAServicePrompts::RunConnectDialog(LPCTSTR pszLogin, LPCTSTR pszPassword, LPCTSTR pszCatalogName,
    LPCTSTR pszCatalogCode, int nPort, CString& strNewPassword)
{
    CDlgWAConnect dlg(GetWebAccessSettings());
    if (!dlg.Run(pszLogin, pszPassword, pszCatalogName, pszCatalogCode, nPort))
        return FALSE;
    strNewPassword = dlg.GetPassword();
    return TRUE;
}

void CDialogWAServicePrompts::ShowConnectionNotice()
{
    CDlgHtmlMessage dlg(GetWebAccessSettings(), AfxGetMainWnd());
    dlg.DoModal();
}

void CDialogWAServicePrompts::ShowLog(std::vector<CString>& lines)
{
    CDlgWALog dlg(lines, AfxGetMainWnd());
    m_pShownLog = &dlg;
    dlg.DoModal();
    m_pShownLog = nullptr;
}

void CDialogWAServicePrompts::AddLogLine(LPCTSTR pszLine)
{
    if (m_pShownLog != nullptr)
        m_pShownLog->AddLine(pszLine);
}
