#include "dialogs/documents/CDlgUpdateCatalog.h"

#include "dialogs/documents/FolderListRows.h"
#include "resources/ResourceIds.h"
#include "store/CPreferences.h"

namespace {

constexpr int UPDATE_FIRST = 1;
constexpr int UPDATE_SECOND = 2;
constexpr int UPDATE_BOTH = 3;

} // namespace

CDlgUpdateCatalog::CDlgUpdateCatalog(CWnd* pParent)
    : CDialog(IDD_UPDATE_CATALOG, pParent)
{
}

void CDlgUpdateCatalog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_UPDATE_FOLDERS, m_folders);
    DDX_Check(pDX, IDC_UPDATE_FIRST, m_bFirst);
    DDX_Check(pDX, IDC_UPDATE_SECOND, m_bSecond);
}

BOOL CDlgUpdateCatalog::OnInitDialog()
{
    // Only the three values the preference page writes mean a choice.
    const int nOption = thePreferences.m_nUpdateOption;
    m_bFirst = nOption == UPDATE_FIRST || nOption == UPDATE_BOTH;
    m_bSecond = nOption == UPDATE_SECOND || nOption == UPDATE_BOTH;
    CDialog::OnInitDialog();
    InsertFolderColumn(m_folders);
    m_folders.SetImageList(GetSystemImageList(1), LVSIL_SMALL);
    const int nFolderIcon = GetSystemFolderIconIndex(FALSE, TRUE);
    for (int i = 0; i < thePreferences.m_fastUpdateDir.GetSize(); ++i)
        AddFolderRow(m_folders, thePreferences.m_fastUpdateDir[i], nFolderIcon);
    return TRUE;
}
