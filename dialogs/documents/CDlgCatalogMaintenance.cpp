#include "dialogs/documents/CDlgCatalogMaintenance.h"

#include "dialogs/documents/FolderListRows.h"
#include "resources/ResourceIds.h"
#include "store/CPreferences.h"
#include "store/CTextEntryRec.h"
#include "store/CatalogTypes.h"
#include "store/FileHelpers.h"

CDlgCatalogMaintenance::CDlgCatalogMaintenance(CCatalog* pCatalog, CWnd* pParent)
    : CDialog(IDD_CATALOG_MAINTENANCE, pParent)
    , m_bExpired(thePreferences.m_bCleanUpExpired)
    , m_bRecycle(thePreferences.m_bCleanUpRecycle)
    , m_bTempFiles(thePreferences.m_bCleanUpTempFiles)
    , m_bTempFolders(thePreferences.m_bCleanUpTempFolders)
    , m_pCatalog(pCatalog)
{
}

void CDlgCatalogMaintenance::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LIBRARY_FOLDERS, m_libraryFolders);
    DDX_Control(pDX, IDC_CLEANUP_FOLDERS, m_cleanUpFolders);
    DDX_Check(pDX, IDC_CLEAN_EXPIRED, m_bExpired);
    DDX_Check(pDX, IDC_CLEAN_RECYCLE, m_bRecycle);
    DDX_Check(pDX, IDC_CLEAN_TEMP_FILES, m_bTempFiles);
    DDX_Check(pDX, IDC_CLEAN_TEMP_FOLDERS, m_bTempFolders);
}

BOOL CDlgCatalogMaintenance::OnInitDialog()
{
    CDialog::OnInitDialog();
    InsertFolderColumn(m_cleanUpFolders);
    m_cleanUpFolders.SetImageList(GetSystemImageList(1), LVSIL_SMALL);
    const int nFolderIcon = GetSystemFolderIconIndex(FALSE, TRUE);
    InsertFolderColumn(m_libraryFolders);
    if (m_pCatalog == nullptr)
        return TRUE;
    for (const CString& strFolder : ReadEntryTexts(m_pCatalog, TABLE_CLEANUP_FOLDER)) {
        if (CheckFolder(strFolder, FOLDER_WRITABLE | FOLDER_REMOVABLE) == FOLDER_WRITABLE)
            AddFolderRow(m_cleanUpFolders, strFolder, nFolderIcon);
    }
    for (const CString& strMask : ReadEntryTexts(m_pCatalog, TABLE_LIB_FOLDER))
        AddFolderRow(m_libraryFolders, strMask, -1);
    return TRUE;
}
