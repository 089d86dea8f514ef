#include "frame/CDlgExpiredDocuments.h"

#include "catalog/ExpiredDocuments.h"
#include "frame/CArchivoraApp.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CatalogColumns.h"

#include "platform/controls/ListViewControl.h"

IMPLEMENT_DYNAMIC(CDlgExpiredDocuments, CListWindow)

namespace {

// clang-format off
constexpr CListWindowColumn EXPIRED_COLUMNS[] = {
    { COLUMN_NAME,          14, TRUE,  GRID_COLUMN_TEXT,  LVCFMT_LEFT },
    { COLUMN_BIN_STATE,      3, TRUE,  GRID_COLUMN_IMAGE, LVCFMT_CENTER },
    { COLUMN_EXPIRED_DATE,  10, FALSE, GRID_COLUMN_DATE,  LVCFMT_LEFT },
    { COLUMN_DESCRIPTION,   24, FALSE, GRID_COLUMN_TEXT,  LVCFMT_LEFT },
    { COLUMN_NO_TEXT,        2, FALSE, GRID_COLUMN_TEXT,  LVCFMT_LEFT },
};
// clang-format on

} // namespace

CDlgExpiredDocuments::CDlgExpiredDocuments()
    : CListWindow(IDD_EXPIRED_DOCUMENTS)
{
}

std::span<const CListWindowColumn> CDlgExpiredDocuments::GetColumns() const
{
    return EXPIRED_COLUMNS;
}

CCatalog* CDlgExpiredDocuments::GetCatalog()
{
    CArchivoraApp* pApp = GetArchivoraApp();
    return pApp ? pApp->GetMainCatalog() : nullptr;
}

void CDlgExpiredDocuments::Reload()
{
    std::unique_ptr<CDocumentSet> pExpired = QueryExpiredDocuments(GetCatalog());
    m_list.ReloadDocuments(pExpired ? std::move(pExpired->documents) : CDocumentRecArray());
}
