#include "dialogs/documents/CDlgNewExtension.h"

#include "resources/ResourceIds.h"
#include "store/PathHelpers.h"

#include "platform/base/Com.h"
#include "platform/base/FileFunctions.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CWinThread.h"
#include "platform/framework/MessageMap.h"
#include "platform/shell/BrowseForFolder.h"
#include "platform/shell/ShellFolder.h"

BEGIN_MESSAGE_MAP(CDlgNewExtension, CDialog)
    ON_BN_CLICKED(IDC_BROWSE, &CDlgNewExtension::OnBrowse)
END_MESSAGE_MAP()

CDlgNewExtension::CDlgNewExtension(CWnd* pParent)
    : CDialog(IDD_NEW_EXTENSION, pParent)
{
}

CString CDlgNewExtension::GetExtension() const
{
    CString strExtension = m_strExtension;
    strExtension.Trim();
    if (strExtension.IsEmpty() || strExtension[0] != '.')
        strExtension.Insert(0, '.');
    return strExtension;
}

void CDlgNewExtension::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_EXTENSION, m_strExtension);
    DDV_MaxChars(pDX, m_strExtension, MAX_EXTENSION);
}

void CDlgNewExtension::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    m_strExtension.TrimLeft();
    if (m_strExtension.IsEmpty()) {
        AfxMessageBox(IDS_EXTENSION_EMPTY, MB_ICONEXCLAMATION);
        return;
    }
    if (m_strExtension.Find('.', 1) >= 0) {
        AfxMessageBox(IDS_EXTENSION_DOUBLE, MB_ICONEXCLAMATION);
        return;
    }
    EndDialog(IDOK);
}

void CDlgNewExtension::OnBrowse()
{
    char szName[MAX_PATH] = {};
    BROWSEINFO info {};
    CWnd* pMainWnd = AfxGetMainWnd();
    info.hwndOwner = pMainWnd != nullptr ? pMainWnd->GetSafeHwnd() : GetSafeHwnd();
    info.pszDisplayName = szName;
    info.lpszTitle = "";
    info.ulFlags = BIF_BROWSEINCLUDEFILES;
    LPITEMIDLIST pidl = SHBrowseForFolder(&info);
    if (pidl == nullptr)
        return;
    char szPath[MAX_PATH] = {};
    const BOOL bPath = SHGetPathFromIDList(pidl, szPath);
    CoTaskMemFree(pidl);
    if (!bPath)
        return;
    const DWORD dwAttributes = GetFileAttributes(szPath);
    if (dwAttributes == INVALID_FILE_ATTRIBUTES || (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return;
    CString strFolder, strName, strBase, strExtension;
    SplitPath(szPath, strFolder, strName);
    SplitFileName(strName, strBase, strExtension);
    if (strExtension.IsEmpty())
        return;
    m_strExtension = "." + strExtension;
    SetDlgItemText(IDC_EXTENSION, m_strExtension);
}
