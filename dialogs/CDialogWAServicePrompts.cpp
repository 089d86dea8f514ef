#include "dialogs/CDialogWAServicePrompts.h"

#include "dialogs/documents/CDlgWALog.h"

#include "platform/framework/CWinThread.h"

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
