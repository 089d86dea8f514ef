#include "frame/CDlgSearchResults.h"

#include "catalog/CTextSearch.h"
#include "frame/CArchivoraApp.h"
#include "frame/FramePrompts.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CFolderIndex.h"
#include "store/CatalogColumns.h"
#include "store/ListFilter.h"
#include "store/ResString.h"

#include "platform/controls/ListViewControl.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CMenu.h"

#include <algorithm>
#include <iterator>

IMPLEMENT_DYNAMIC(CDlgSearchResults, CListWindow)

// clang-format off
BEGIN_MESSAGE_MAP(CDlgSearchResults, CListWindow)
    ON_WM_INITMENUPOPUP()
    ON_COMMAND(ID_SEARCH_OPTIONS, &CDlgSearchResults::OnFindOptions)
    ON_UPDATE_COMMAND_UI(ID_SEARCH_OPTIONS, &CDlgSearchResults::OnUpdateFindOptions)
    ON_COMMAND(ID_SEARCH_CRITERIA, &CDlgSearchResults::OnSearchCriteria)
    ON_UPDATE_COMMAND_UI(ID_SEARCH_CRITERIA, &CDlgSearchResults::OnUpdateSearchCriteria)
    ON_COMMAND(ID_BIN_CLOSE, &CDlgSearchResults::OnClose)
    ON_COMMAND(ID_CATALOG_RELOAD, &CDlgSearchResults::OnReload)
END_MESSAGE_MAP()
// clang-format on

namespace {

// clang-format off
constexpr CListWindowColumn SEARCH_COLUMNS[] = {
    { COLUMN_NAME,          14, TRUE,  GRID_COLUMN_TEXT,     LVCFMT_LEFT },
    { COLUMN_EXPIRY_STATE,   3, TRUE,  GRID_COLUMN_IMAGE,    LVCFMT_CENTER },
    { COLUMN_DESCRIPTION,   20, FALSE, GRID_COLUMN_TEXT,     LVCFMT_LEFT },
    { COLUMN_LABEL,         20, FALSE, GRID_COLUMN_TEXT,     LVCFMT_LEFT },
    { COLUMN_ALT_NAME,      15, FALSE, GRID_COLUMN_PER_CELL, LVCFMT_LEFT },
    { COLUMN_EXPIRED_DATE,   9, FALSE, GRID_COLUMN_DATE,     LVCFMT_LEFT },
    { COLUMN_SIZE,          20, FALSE, GRID_COLUMN_TEXT,     LVCFMT_RIGHT },
    { COLUMN_TYPE,          15, FALSE, GRID_COLUMN_TEXT,     LVCFMT_LEFT },
    { COLUMN_CREATED,        9, FALSE, GRID_COLUMN_TEXT,     LVCFMT_LEFT },
    { COLUMN_ACCESSED,       9, FALSE, GRID_COLUMN_TEXT,     LVCFMT_LEFT },
};
// clang-format on

} // namespace

CDlgSearchResults::CDlgSearchResults()
    : CListWindow(IDD_SEARCH_RESULTS)
    , m_bSearchWords(!GetGlobalSearchCriteria().words.empty())
{
}

std::span<const CListWindowColumn> CDlgSearchResults::GetColumns() const
{
    return SEARCH_COLUMNS;
}

CCatalog* CDlgSearchResults::GetCatalog()
{
    CArchivoraApp* pApp = GetArchivoraApp();
    return pApp ? pApp->GetMainCatalog() : nullptr;
}

std::unique_ptr<CFolderIndex> CDlgSearchResults::OpenIndex()
{
    CArchivoraApp* pApp = GetArchivoraApp();
    if (!pApp)
        return nullptr;
    // Before the first search, and after a set-up, there is no index: nothing
    // was found, which is no damage to report.
    const CString& strPath = pApp->GetFolderIndexPath();
    if (::GetFileAttributes(strPath) == INVALID_FILE_ATTRIBUTES && ::GetLastError() == ERROR_FILE_NOT_FOUND)
        return nullptr;
    auto pIndex = std::make_unique<CFolderIndex>(strPath, 0);
    return pIndex->IsOpen() ? std::move(pIndex) : nullptr;
}

BOOL CDlgSearchResults::HasResults()
{
    std::unique_ptr<CFolderIndex> pIndex = OpenIndex();
    return pIndex && pIndex->FirstFolder().nBlock != NO_BLOCK;
}

void CDlgSearchResults::Reload()
{
    if (std::unique_ptr<CFolderIndex> pIndex = OpenIndex())
        m_list.ReloadFromPaths(*pIndex, GetCatalog());
    else
        m_list.FillWithDocuments({}); // no search yet, or its index cannot be read: no rows
}

BOOL CDlgSearchResults::GetStoredCriteria(CListFilter* pFilter)
{
    std::unique_ptr<CFolderIndex> pIndex = OpenIndex();
    if (!pIndex || !pIndex->GetCriteria(pFilter))
        return FALSE;
    return std::any_of(std::begin(pFilter->conditions), std::end(pFilter->conditions),
        [](const CListFilterCondition& condition) { return !condition.IsEmpty(); });
}

/******************************************************************************
 * Menus and commands
 ******************************************************************************/

void CDlgSearchResults::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    // The open actions' submenu of the last time goes; the list's update makes it anew.
    constexpr UINT OPEN_ACTIONS_POSITION = 1;
    if (!bSysMenu && pPopupMenu && pPopupMenu->GetMenuItemID(0) == ID_DOC_OPEN
        && pPopupMenu->GetSubMenu(OPEN_ACTIONS_POSITION))
        pPopupMenu->ModifyMenu(
            OPEN_ACTIONS_POSITION, MF_BYPOSITION | MF_STRING, ID_DOC_OPEN_WITH_MENU, GetResString(IDS_OPEN_WITH));
    CListWindow::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
}

void CDlgSearchResults::OnFindOptions()
{
    (void)GetFramePrompts().FindOptions(); // the settings are the next search's
}

void CDlgSearchResults::OnUpdateFindOptions(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bSearchWords);
}

void CDlgSearchResults::OnSearchCriteria()
{
    CListFilter criteria {};
    if (GetStoredCriteria(&criteria))
        (void)GetFramePrompts().SearchCriteria(criteria, TRUE); // read-only: nothing to take back
    FreeListFilter(&criteria);
}

void CDlgSearchResults::OnUpdateSearchCriteria(CCmdUI* pCmdUI)
{
    CListFilter criteria {};
    pCmdUI->Enable(m_bSearchWords && GetStoredCriteria(&criteria));
    FreeListFilter(&criteria);
}
