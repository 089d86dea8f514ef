#include "dialogs/preferences/PreferenceDialogCalls.h"

#include "dialogs/preferences/CDlgNewFolder.h"

int RunNewFolderDialog(LPCTSTR pszParentPath, CWnd* pParent)
{
    CDlgNewFolder dialog(pParent);
    dialog.m_strParent = pszParentPath;
    return dialog.DoModal() == IDOK && dialog.m_bCreated ? 1 : 0;
}
