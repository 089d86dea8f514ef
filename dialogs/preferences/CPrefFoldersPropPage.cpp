#include "dialogs/preferences/CPrefFoldersPropPage.h"

#include "dialogs/preferences/PageRefusal.h"
#include "dialogs/preferences/TwoBitOption.h"
#include "platform/controls/ButtonControl.h"
#include "platform/framework/AfxMessages.h"
#include "platform/framework/CDataExchange.h"
#include "platform/framework/MessageMap.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CNetDriveMap.h"
#include "store/PathHelpers.h"

// clang-format off
BEGIN_MESSAGE_MAP(CPrefFoldersPropPage, CPropertyPage)
    ON_BN_CLICKED(IDC_FOLDERS_EXCLUDED_ADD, &CPrefFoldersPropPage::OnAddWatched)
    ON_BN_CLICKED(IDC_FOLDERS_EXCLUDED_REMOVE, &CPrefFoldersPropPage::OnRemoveWatched)
    ON_BN_CLICKED(IDC_FOLDER_ADD, &CPrefFoldersPropPage::OnAddCatalogued)
    ON_BN_CLICKED(IDC_FOLDER_REMOVE, &CPrefFoldersPropPage::OnRemoveCatalogued)
    ON_MESSAGE(WM_KICKIDLE, &CPrefFoldersPropPage::OnKickIdle)
END_MESSAGE_MAP()
// clang-format on

CPrefFoldersPropPage::CPrefFoldersPropPage(CPrefFoldersPageData& data)
    : CPropertyPage(IDD_PREF_FOLDERS)
    , m_data(data)
{
}

BOOL CPrefFoldersPropPage::OnInitDialog()
{
    const BOOL bResult = CPropertyPage::OnInitDialog();
    m_watched.Initialize(TRUE);
    m_catalogued.Initialize(TRUE);
    m_watched.AddFolders(m_data.watchedFolders, CFolderListCtrl::EShown::Reachable, m_watchedUnlisted);
    for (int n = 0; n < m_data.catalogFolders.GetSize(); ++n) {
        const CString strFolder = NormalizeUNCPath(m_data.catalogFolders[n]);
        if (strFolder.IsEmpty() || strFolder[0] == '\\')
            m_cataloguedUnlisted.Add(m_data.catalogFolders[n]);
        else
            m_catalogued.AddFolder(strFolder);
    }
    OnKickIdle(0, 0);
    return bResult;
}

void CPrefFoldersPropPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FOLDERS_EXCLUDED, m_watched);
    DDX_Control(pDX, IDC_UPDATE_FOLDERS, m_catalogued);
    DDX_Control(pDX, IDC_FOLDERS_EXCLUDED_ADD, m_addWatched);
    DDX_Control(pDX, IDC_FOLDER_ADD, m_addCatalogued);
    DDX_TwoBitOption(pDX, IDC_FOLDERS_LOCAL_DISKS, IDC_FOLDERS_CHOSEN, m_data.nMode);
}

BOOL CPrefFoldersPropPage::OnApply()
{
    const BOOL bLocalDisks = (m_data.nMode & CCatalog::PLACE_LOCAL_DISK) != 0;
    const BOOL bChosen = (m_data.nMode & CCatalog::PLACE_NETWORK) != 0;
    if (bChosen && m_catalogued.GetItemCount() == 0 && m_cataloguedUnlisted.IsEmpty())
        return RefusePageApply(*this, IDS_NO_FOLDER_TO_CATALOGUE, IDC_UPDATE_FOLDERS);
    CStringArray rows;
    m_data.watchedFolders.RemoveAll();
    if (bLocalDisks) {
        m_watched.GetFolders(rows);
        for (int n = 0; n < rows.GetSize(); ++n)
            m_data.watchedFolders.Add(NormalizeDrivePath(rows[n]));
        m_data.watchedFolders.Append(m_watchedUnlisted);
    }
    m_data.catalogFolders.RemoveAll();
    if (bChosen) {
        m_catalogued.GetFolders(rows);
        for (int n = 0; n < rows.GetSize(); ++n)
            m_data.catalogFolders.Add(AddBackslash(NormalizeDrivePath(rows[n])));
        m_data.catalogFolders.Append(m_cataloguedUnlisted);
    }
    return CPropertyPage::OnApply();
}

void CPrefFoldersPropPage::OnAddWatched()
{
    (void)m_watched.AddPickedFolder(m_picker, m_addWatched);
}

void CPrefFoldersPropPage::OnRemoveWatched()
{
    m_watched.RemoveSelected();
}

void CPrefFoldersPropPage::OnAddCatalogued()
{
    (void)m_catalogued.AddPickedFolder(m_picker, m_addCatalogued);
}

void CPrefFoldersPropPage::OnRemoveCatalogued()
{
    m_catalogued.RemoveSelected();
}

LRESULT CPrefFoldersPropPage::OnKickIdle(WPARAM, LPARAM)
{
    m_watched.EnableWithButtons(IsDlgButtonChecked(IDC_FOLDERS_LOCAL_DISKS) == BST_CHECKED, IDC_FOLDERS_EXCLUDED_ADD,
        IDC_FOLDERS_EXCLUDED_REMOVE);
    m_catalogued.EnableWithButtons(
        IsDlgButtonChecked(IDC_FOLDERS_CHOSEN) == BST_CHECKED, IDC_FOLDER_ADD, IDC_FOLDER_REMOVE);
    return 0;
}
