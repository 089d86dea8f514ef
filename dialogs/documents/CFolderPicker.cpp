#include "dialogs/documents/CFolderPicker.h"

#include "store/PathHelpers.h"

#include "platform/base/Com.h"
#include "platform/shell/BrowseForFolder.h"
#include "platform/shell/ShellFolder.h"

BOOL CFolderPicker::Pick(CButton& button, CString& strFolder)
{
    if (m_bBusy)
        return FALSE;
    m_bBusy = true;
    button.SetState(TRUE);
    LPITEMIDLIST pidlRoot = nullptr;
    (void)SHGetSpecialFolderLocation(button.GetSafeHwnd(), CSIDL_DRIVES, &pidlRoot);
    char szName[MAX_PATH] = {};
    BROWSEINFO info {};
    CWnd* pOwner = button.GetParent();
    info.hwndOwner = pOwner != nullptr ? pOwner->GetSafeHwnd() : nullptr;
    info.pidlRoot = pidlRoot;
    info.pszDisplayName = szName;
    info.lpszTitle = "";
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST pidl = SHBrowseForFolder(&info);
    CoTaskMemFree(pidlRoot);
    char szPath[MAX_PATH] = {};
    const BOOL bChosen = pidl != nullptr && SHGetPathFromIDList(pidl, szPath);
    CoTaskMemFree(pidl);
    if (::IsWindow(button.GetSafeHwnd()))
        button.SetState(FALSE);
    m_bBusy = false;
    if (!bChosen)
        return FALSE;
    strFolder = szPath;
    return TRUE;
}

CString ListFolderForm(const CString& strFolder)
{
    CString strForm = strFolder;
    strForm.MakeLower();
    return AddBackslash(strForm);
}
