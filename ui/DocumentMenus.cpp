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

std::unique_ptr<CDocumentRec> FindUnprotectedDocument(CCatalog* pCatalog, const CPendingDocs& pending, int nIndex)
{
    const CPendingDocs::CEntry& entry = pending.GetEntry(nIndex);
    if (!pCatalog || !(entry.dwFlags & CPendingDocs::FLAG_UNPROTECTED))
        return nullptr;
    CString strFolder;
    CString strName;
    SplitPath(entry.strPath, strFolder, strName);
    return std::unique_ptr<CDocumentRec>(pCatalog->FindPath(strFolder, strName));
}

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
        if (const std::unique_ptr<CDocumentRec> pDocument = FindUnprotectedDocument(pCatalog, *pPending, i))
            AppendItem(MF_OWNERDRAW, ID_PENDING_FIRST + static_cast<UINT>(i), FullPath(*pDocument),
                GetFileIconIndex(pPending->GetEntry(i).strPath, FALSE, TRUE));
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
