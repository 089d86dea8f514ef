#include "frame/CDlgDocumentList.h"

#include "catalog/CCatalogPrompts.h"
#include "catalog/RecycleBin.h"
#include "frame/AppMessages.h"
#include "frame/CArchivoraApp.h"
#include "frame/FramePrompts.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CatalogColumns.h"
#include "store/ResString.h"
#include "ui/CDlgOperationProgress.h"

#include "platform/framework/AfxFrameIds.h"
#include "platform/framework/CMenu.h"
#include "platform/framework/CWaitCursor.h"
#include "platform/framework/CWinThread.h"

#include <memory>

IMPLEMENT_DYNAMIC(CDlgDocumentList, CListWindow)

// clang-format off
BEGIN_MESSAGE_MAP(CDlgDocumentList, CListWindow)
    ON_WM_INITMENUPOPUP()
    ON_COMMAND(ID_BIN_RESTORE, &CDlgDocumentList::OnRestore)
    ON_COMMAND(ID_DOC_RECYCLE, &CDlgDocumentList::OnDelete)
    ON_COMMAND(ID_BIN_EMPTY, &CDlgDocumentList::OnEmpty)
    ON_COMMAND(ID_BIN_CLOSE, &CDlgDocumentList::OnClose)
    ON_COMMAND(ID_DOC_PROPERTIES, &CDlgDocumentList::OnProperties)
    ON_COMMAND(ID_CATALOG_FIND, &CDlgDocumentList::OnFind)
    ON_COMMAND(ID_CATALOG_FIND_NEXT, &CDlgDocumentList::OnFindNext)
END_MESSAGE_MAP()
// clang-format on

namespace {

// clang-format off
constexpr CListWindowColumn BIN_COLUMNS[] = {
    { COLUMN_NAME,        12, TRUE,  GRID_COLUMN_TEXT,  LVCFMT_LEFT },
    { COLUMN_BIN_STATE,    3, TRUE,  GRID_COLUMN_IMAGE, LVCFMT_CENTER },
    { COLUMN_DESCRIPTION, 22, FALSE, GRID_COLUMN_TEXT,  LVCFMT_LEFT },
    { COLUMN_BIN_FOLDER,  18, FALSE, GRID_COLUMN_TEXT,  LVCFMT_LEFT },
};
// clang-format on

} // namespace

CDlgDocumentList::CDlgDocumentList()
    : CListWindow(IDD_RECYCLE_BIN)
{
}

CDlgDocumentList::~CDlgDocumentList() = default;

std::span<const CListWindowColumn> CDlgDocumentList::GetColumns() const
{
    return BIN_COLUMNS;
}

CCatalog* CDlgDocumentList::GetCatalog()
{
    CArchivoraApp* pApp = GetArchivoraApp();
    return pApp ? pApp->GetRecycleCatalog() : nullptr;
}

void CDlgDocumentList::Reload()
{
    CCatalog* pBin = GetCatalog();
    std::unique_ptr<CNodeRec> pRoot(pBin ? CNodeRec::NewRootNodeRec(pBin) : nullptr);
    std::unique_ptr<CNodeRec> pSystems(pBin ? CNodeRec::NewTopNodeRec3(pBin) : nullptr);
    m_list.FillWithEntries(pRoot.get(), pSystems.get(), nullptr);
}

/******************************************************************************
 * Restoring and deleting
 ******************************************************************************/

void CDlgDocumentList::RestoreSelected()
{
    CArchivoraApp* pApp = GetArchivoraApp();
    const std::vector<int> rows = m_list.GetSelectedRows();
    if (!pApp || rows.empty())
        return;
    // The entries go from the last row up; the progress shows each one's path.
    std::vector<CString> paths;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        const CDocumentRec* pEntry = m_list.GetRowDocument(*it);
        paths.push_back(pEntry ? pEntry->GetFilePath() : CString());
    }
    CDlgOperationProgress progress;
    progress.SetItemTexts(paths);
    const BOOL bShown = progress.CreateAndShow(this);
    if (bShown)
        progress.SetWindowText(GetResString(IDS_BIN_RESTORING));
    BOOL bChanged = FALSE;
    for (size_t i = 0; i < rows.size() && !progress.IsCancelled(); ++i) {
        if (bShown)
            progress.SetText(paths[i]);
        CDocumentRec* pEntry = m_list.GetRowDocument(rows[rows.size() - 1 - i]);
        // A file that cannot come back (another took its place) keeps its entry here.
        if (pEntry && LixeiraProcessEntry(*pEntry, RECYCLE_RESTORE) == 0) {
            std::unique_ptr<CDocumentRec> pRestored(pEntry->CopyToCatalog(pApp->GetMainCatalog()));
            bChanged = (pRestored && pEntry->ForEachLinkedNode(NO_BLOCK, -1, FALSE)) || bChanged;
        }
        if (bShown)
            progress.GetBar().StepIt();
    }
    if (progress.GetSafeHwnd())
        progress.DestroyWindow();
    AfterChange(bChanged);
}

BOOL CDlgDocumentList::Confirm(const std::vector<int>& rows)
{
    CString strText;
    int nKind = CCatalogPrompts::SELECTION_REMOVABLE_ITEMS;
    if (rows.size() == 1) {
        const CDocumentRec* pEntry = m_list.GetRowDocument(rows.front());
        CString strPath = pEntry ? pEntry->GetFilePath() : CString();
        strPath.MakeLower();
        strText.Format(GetResString(IDS_BIN_DELETE_ONE), static_cast<LPCTSTR>(strPath));
        nKind = CCatalogPrompts::SELECTION_REMOVABLE_ITEM;
    } else {
        strText.Format(GetResString(IDS_BIN_DELETE_SOME), static_cast<int>(rows.size()));
    }
    return GetCatalogPrompts().ConfirmSelectionAction(nKind, strText, FALSE, m_hWnd) == IDOK;
}

BOOL CDlgDocumentList::DeleteEntry(CDocumentRec& entry)
{
    (void)LixeiraProcessEntry(entry, RECYCLE_DELETE); // a file gone already leaves only the entry
    return entry.ForEachLinkedNode(NO_BLOCK, -1, FALSE);
}

BOOL CDlgDocumentList::DeleteSelected()
{
    const std::vector<int> rows = m_list.GetSelectedRows();
    if (rows.empty() || !Confirm(rows))
        return FALSE;
    CWaitCursor wait;
    BOOL bDeleted = FALSE;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        if (CDocumentRec* pEntry = m_list.GetRowDocument(*it))
            bDeleted = DeleteEntry(*pEntry) || bDeleted;
    }
    AfterChange(FALSE);
    return bDeleted;
}

BOOL CDlgDocumentList::EmptyBin()
{
    const int nCount = m_list.GetItemCount();
    if (nCount == 0)
        return FALSE;
    std::vector<int> rows(static_cast<size_t>(nCount));
    for (int nRow = 0; nRow < nCount; ++nRow)
        rows[static_cast<size_t>(nRow)] = nRow;
    if (!Confirm(rows))
        return FALSE;
    CWaitCursor wait;
    for (int nRow = nCount - 1; nRow >= 0; --nRow) {
        if (CDocumentRec* pEntry = m_list.GetRowDocument(nRow))
            (void)DeleteEntry(*pEntry); // an entry that stays shows again after the refill
    }
    // The groups the bin kept for its entries go with them.
    if (CCatalog* pBin = GetCatalog()) {
        std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(pBin));
        if (pRoot) {
            for (auto& pChild : pRoot->GetChildren()) {
                if (!pChild->IsFixedNode())
                    (void)pChild->DeleteSubtree(TRUE); // a group that stays shows nothing
            }
        }
    }
    AfterChange(FALSE);
    return TRUE;
}

void CDlgDocumentList::AfterChange(BOOL bMainChanged)
{
    UpdateRecycleBinState(GetCatalog());
    if (bMainChanged) {
        if (CWnd* pMain = AfxGetMainWnd())
            pMain->SendMessage(g_nMsgRedo);
    }
    Reload();
    m_list.SelectOnly(0);
    ShowFocused();
}

/******************************************************************************
 * Commands and menus
 ******************************************************************************/

void CDlgDocumentList::OnRestore()
{
    RestoreSelected();
}

void CDlgDocumentList::OnDelete()
{
    (void)DeleteSelected(); // a cancelled question changes nothing
}

void CDlgDocumentList::OnEmpty()
{
    (void)EmptyBin();
}

void CDlgDocumentList::OnClose()
{
    OnCancel();
}

void CDlgDocumentList::OnProperties()
{
    if (CDocumentRec* pEntry = m_list.GetRowDocument(m_list.GetFocusedRow())) {
        // Shown from the recycle bin, the properties are read-only.
        if (GetFramePrompts().DocumentProperties(*pEntry, TRUE, nullptr) != CFramePrompts::PROPERTIES_UNCHANGED)
            m_list.RefreshAll();
    }
}

void CDlgDocumentList::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    CListWindow::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
    if (bSysMenu || !pPopupMenu)
        return;
    const bool bRows = m_list.GetItemCount() > 0;
    const bool bSelected = m_list.GetSelectedCount() > 0;
    auto enable = [pPopupMenu](UINT nID, bool bOn) {
        pPopupMenu->EnableMenuItem(nID, MF_BYCOMMAND | (bOn ? MF_ENABLED : MF_GRAYED));
    };
    enable(ID_BIN_EMPTY, bRows);
    enable(ID_BIN_RESTORE, bSelected);
    enable(ID_DOC_RECYCLE, bSelected);
    enable(ID_DOC_PROPERTIES, m_list.GetFocusedRow() >= 0);
    enable(ID_DOC_SELECT_ALL, bRows);
    enable(ID_DOC_INVERT_SELECTION, bRows);
}
