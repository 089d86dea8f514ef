#include "ui/DocumentMenus.h"

#include "catalog/CPendingDocs.h"
#include "platform/window/Menu.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/CRecentList.h"
#include "store/CatalogColumns.h"
#include "store/PathHelpers.h"
#include "ui/DocumentIcons.h"

#include <memory>

namespace {

CString FullPath(const CDocumentRec& document)
{
    CString strName;
    document.GetFullPath(strName);
    return document.GetDirectoryPath(FALSE) + strName;
}

} // namespace

CDocumentMenu::CDocumentMenu()
{
    SetImageList(GetSystemImageList(1));
}

BOOL CDocumentMenu::BuildFavorites(CCatalog* pCatalog)
{
    Reset();
    const std::unique_ptr<CNodeRec> pFavorites(pCatalog ? CNodeRec::NewTopNodeRec2(pCatalog) : nullptr);
    if (!pFavorites)
        return FALSE;
    const CSortSpec byName { COLUMN_NAME, 1, 1 };
    UINT nID = ID_FAVORITE_FIRST;
    for (const auto& pDocument : pFavorites->GetFilteredDocuments(&byName, nullptr)) {
        if (nID > ID_FAVORITE_LAST)
            break;
        AppendItem(MF_OWNERDRAW, nID++, FullPath(*pDocument), GetDocumentTypeIcon(*pDocument));
    }
    return GetItemCount() > 0;
}

BOOL CDocumentMenu::BuildPending(CCatalog* pCatalog, CPendingDocs* pPending)
{
    Reset();
    if (!pCatalog || !pPending)
        return FALSE;
    for (int i = 0; i < pPending->GetCount() && ID_PENDING_FIRST + i <= ID_PENDING_LAST; ++i) {
        const CPendingDocs::CEntry& entry = pPending->GetEntry(i);
        if (!(entry.dwFlags & CPendingDocs::FLAG_UNPROTECTED))
            continue;
        CString strFolder;
        CString strName;
        SplitPath(entry.strPath, strFolder, strName);
        const std::unique_ptr<CDocumentRec> pDocument(pCatalog->FindPath(strFolder, strName));
        if (pDocument)
            AppendItem(MF_OWNERDRAW, ID_PENDING_FIRST + static_cast<UINT>(i), FullPath(*pDocument),
                GetFileIconIndex(entry.strPath, FALSE, TRUE));
    }
    return GetItemCount() > 0;
}

BOOL CRecentDocsMenu::Build(CCatalog* pCatalog)
{
    Reset();
    if (!pCatalog)
        return FALSE;
    const CRecentList recent(pCatalog);
    for (int i = 0; i < recent.GetCount() && ID_RECENT_FIRST + i <= ID_RECENT_LAST; ++i) {
        const std::unique_ptr<CDocumentRec> pDocument(recent.CreateItemObject(i));
        if (pDocument)
            AppendItem(MF_OWNERDRAW, ID_RECENT_FIRST + static_cast<UINT>(i), FullPath(*pDocument),
                GetDocumentTypeIcon(*pDocument));
    }
    return GetItemCount() > 0;
}
