#include "frame/CDlgSearchResults.h"

#include "frame/CArchivoraApp.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CFolderIndex.h"
#include "store/CatalogColumns.h"

#include "platform/controls/ListViewControl.h"

IMPLEMENT_DYNAMIC(CDlgSearchResults, CListWindow)

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

BOOL CDlgSearchResults::HasResults()
{
    CArchivoraApp* pApp = GetArchivoraApp();
    if (!pApp)
        return FALSE;
    CFolderIndex index(pApp->GetFolderIndexPath(), 0);
    return index.IsOpen() && index.FirstFolder().nBlock != NO_BLOCK;
}

void CDlgSearchResults::Reload()
{
    CArchivoraApp* pApp = GetArchivoraApp();
    if (!pApp)
        return;
    CFolderIndex index(pApp->GetFolderIndexPath(), 0);
    if (index.IsOpen())
        m_list.FillFromPaths(index, GetCatalog());
    else
        m_list.FillWithDocuments({}); // no search yet, or its index cannot be read: no rows
}
