#include "dialogs/StorePrompts.h"

#include "dialogs/documents/CDlgBackupFolder.h"
#include "dialogs/documents/CDlgNetworkLogon.h"

#include "platform/framework/CWinThread.h"

BOOL CDialogBackupFolderPrompt::AskBackupFolder(CNodeRec* pNode, CString& strFolder)
{
    CDlgBackupFolder dlg(AfxGetMainWnd());
    dlg.m_pNode = pNode;
    dlg.m_strTargetPath = strFolder;
    if (dlg.DoModal() != IDOK)
        return FALSE;
    strFolder = dlg.m_strTargetPath;
    return TRUE;
}

int CDialogNetworkLogonPrompt::AskLogon(LPCTSTR pszRemoteName, LPCTSTR pszDrive)
{
    CDlgNetworkLogon dlg(pszRemoteName, pszDrive, AfxGetMainWnd());
    return static_cast<int>(dlg.DoModal());
}
