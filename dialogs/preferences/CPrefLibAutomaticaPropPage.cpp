#include "dialogs/preferences/CPrefLibAutomaticaPropPage.h"

#include "catalog/CDlgCatalogOption.h"
#include "platform/controls/ButtonControl.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/AfxMessages.h"
#include "platform/framework/CDataExchange.h"
#include "platform/framework/MessageMap.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CCleanUpFolderRec.h"
#include "store/CLibFolderRec.h"
#include "store/PathHelpers.h"
#include "ui/CUiHostServices.h"

#include <memory>
#include <vector>

// clang-format off
BEGIN_MESSAGE_MAP(CPrefLibAutomaticaPropPage, CPropertyPage)
    ON_BN_CLICKED(IDC_LIBRARY_ADD, &CPrefLibAutomaticaPropPage::OnAddMask)
    ON_BN_CLICKED(IDC_LIBRARY_REMOVE, &CPrefLibAutomaticaPropPage::OnRemoveMasks)
    ON_BN_CLICKED(IDC_CLEANUP_ADD, &CPrefLibAutomaticaPropPage::OnAddFolder)
    ON_BN_CLICKED(IDC_CLEANUP_REMOVE, &CPrefLibAutomaticaPropPage::OnRemoveFolders)
    ON_MESSAGE(WM_KICKIDLE, &CPrefLibAutomaticaPropPage::OnKickIdle)
END_MESSAGE_MAP()
// clang-format on

namespace {

// Adds an entry per text; FALSE at the first that could not be added.
template<class TEntry>
BOOL AddEntries(const CStringArray& texts, TEntry* (CCatalog::*add)(LPCTSTR), CCatalog& catalog,
    std::vector<std::unique_ptr<CTextEntryRec>>& added)
{
    for (int n = 0; n < texts.GetSize(); ++n) {
        std::unique_ptr<CTextEntryRec> pEntry((catalog.*add)(texts[n]));
        if (!pEntry)
            return FALSE;
        added.push_back(std::move(pEntry));
    }
    return TRUE;
}

BOOL DeleteEntries(CCatalog& catalog, LONG nTableType, const std::vector<CRecordRef>& refs)
{
    BOOL bDeleted = TRUE;
    for (CRecordRef ref : refs)
        bDeleted = CTextEntryRec(&catalog, nTableType, ref).Delete() && bDeleted;
    return bDeleted;
}

} // namespace

CPrefLibAutomaticaPropPage::CPrefLibAutomaticaPropPage(CPrefLibAutomaticaPageData& data)
    : CPropertyPage(IDD_PREF_CLEANUP)
    , m_data(data)
{
}

BOOL CPrefLibAutomaticaPropPage::ReplaceCleanUpLists(
    CCatalog& catalog, const CStringArray& masks, const CStringArray& folders)
{
    std::vector<CRecordRef> oldMasks;
    std::vector<CRecordRef> oldFolders;
    if (!catalog.ListRootChain(EntryRootBlock(TABLE_LIB_FOLDER), &oldMasks)
        || !catalog.ListRootChain(EntryRootBlock(TABLE_CLEANUP_FOLDER), &oldFolders))
        return FALSE;
    CCatalogAction action(&catalog);
    std::vector<std::unique_ptr<CTextEntryRec>> added;
    if (!AddEntries(masks, &CCatalog::AddLibFolder, catalog, added)
        || !AddEntries(folders, &CCatalog::AddCleanUpFolder, catalog, added)) {
        for (const auto& pEntry : added)
            (void)pEntry->Delete();
        (void)action.End();
        return FALSE;
    }
    const BOOL bDeleted = DeleteEntries(catalog, TABLE_CLEANUP_FOLDER, oldFolders)
        && DeleteEntries(catalog, TABLE_LIB_FOLDER, oldMasks);
    return action.End() && bDeleted;
}

BOOL CPrefLibAutomaticaPropPage::OnInitDialog()
{
    const BOOL bResult = CPropertyPage::OnInitDialog();
    m_masks.Initialize(FALSE);
    m_folders.Initialize(TRUE);
    m_pCatalog = GetHostMainCatalog();
    if (m_pCatalog) {
        for (const CString& strMask : ReadEntryTexts(m_pCatalog, TABLE_LIB_FOLDER))
            m_masks.AddFolder(strMask);
        CStringArray folders;
        for (const CString& strFolder : ReadEntryTexts(m_pCatalog, TABLE_CLEANUP_FOLDER))
            folders.Add(strFolder);
        m_folders.AddFolders(folders, CFolderListCtrl::EShown::WritableOnFixedDisk, m_unlisted);
    }
    OnKickIdle(0, 0);
    return bResult;
}

void CPrefLibAutomaticaPropPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LIBRARY_FOLDERS, m_masks);
    DDX_Control(pDX, IDC_CLEANUP_FOLDERS, m_folders);
    DDX_Control(pDX, IDC_CLEANUP_ADD, m_addFolder);
    DDX_Check(pDX, IDC_CLEAN_TEMP_FOLDERS, m_data.bCleanUpTempFolders);
    DDX_Check(pDX, IDC_CLEAN_TEMP_FILES, m_data.bCleanUpTempFiles);
    DDX_Check(pDX, IDC_CLEAN_EXPIRED, m_data.bCleanUpExpired);
    DDX_Check(pDX, IDC_CLEAN_RECYCLE, m_data.bCleanUpRecycle);
}

void CPrefLibAutomaticaPropPage::OnOK()
{
    if (!m_pCatalog)
        return;
    CStringArray masks;
    CStringArray folders;
    m_masks.GetFolders(masks);
    m_folders.GetFolders(folders);
    folders.Append(m_unlisted);
    if (!ReplaceCleanUpLists(*m_pCatalog, masks, folders))
        AfxMessageBox(IDS_SETTINGS_NOT_SAVED, MB_OK | MB_ICONEXCLAMATION);
}

void CPrefLibAutomaticaPropPage::OnAddMask()
{
    CDlgCatalogOption dialog(this);
    if (dialog.DoModal() == IDOK && IsValidFileName(dialog.m_strText))
        (void)m_masks.AddFolderOnce(dialog.m_strText);
    if (::IsWindow(m_masks.GetSafeHwnd()))
        m_masks.SetFocus();
}

void CPrefLibAutomaticaPropPage::OnRemoveMasks()
{
    m_masks.RemoveSelected();
}

void CPrefLibAutomaticaPropPage::OnAddFolder()
{
    (void)m_folders.AddPickedFolder(m_picker, m_addFolder, CFolderListCtrl::ERoots::Refused);
}

void CPrefLibAutomaticaPropPage::OnRemoveFolders()
{
    m_folders.RemoveSelected();
}

LRESULT CPrefLibAutomaticaPropPage::OnKickIdle(WPARAM, LPARAM)
{
    const BOOL bCatalog = m_pCatalog != nullptr;
    m_masks.EnableWithButtons(bCatalog, IDC_LIBRARY_ADD, IDC_LIBRARY_REMOVE);
    m_folders.EnableWithButtons(bCatalog, IDC_CLEANUP_ADD, IDC_CLEANUP_REMOVE);
    return 0;
}
