#include "ui/DocumentPopups.h"

#include "catalog/CPendingDocs.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/framework/CMenu.h"
#include "platform/window/Input.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CRecentList.h"
#include "store/CatalogColumns.h"
#include "ui/CUiHostServices.h"
#include "ui/DocumentMenus.h"

IMPLEMENT_DYNAMIC(CFavoritesPopupCtrl, CDocumentPopupCtrl)
IMPLEMENT_DYNAMIC(CUltimosCatalogadosPopupCtrl, CDocumentPopupCtrl)
IMPLEMENT_DYNAMIC(CUnProtectedPopupCtrl, CDocumentPopupCtrl)

/* Favourites. */

void CFavoritesPopupCtrl::FillItems()
{
    ClearDocuments();
    CCatalog* pCatalog = GetHostMainCatalog();
    const std::unique_ptr<CNodeRec> pFavorites(pCatalog ? CNodeRec::NewTopNodeRec2(pCatalog) : nullptr);
    if (pFavorites) {
        const CSortSpec byName { COLUMN_NAME, 1, 1 };
        for (auto& pDocument : pFavorites->GetFilteredDocuments(&byName, nullptr))
            AddDocumentRow(std::move(pDocument));
    }
    if (GetDocumentCount() == 0)
        AddEmptyRow(IDS_NO_FAVORITES);
}

UINT CFavoritesPopupCtrl::GetContextMenuId()
{
    return IDM_FAVORITE_ROW;
}

/* Recently catalogued. */

void CUltimosCatalogadosPopupCtrl::FillItems()
{
    ClearDocuments();
    if (CCatalog* pCatalog = GetHostMainCatalog()) {
        const CRecentList recent(pCatalog);
        for (int i = 0; i < recent.GetCount(); ++i)
            AddDocumentRow(std::unique_ptr<CDocumentRec>(recent.CreateItemObject(i)));
    }
    if (GetDocumentCount() == 0)
        AddEmptyRow(IDS_NO_RECENT);
}

UINT CUltimosCatalogadosPopupCtrl::GetContextMenuId()
{
    return IDM_RECENT_ROW;
}

BOOL CUltimosCatalogadosPopupCtrl::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style &= ~static_cast<LONG>(LBS_SORT);
    return CDocumentPopupCtrl::PreCreateWindow(cs);
}

/* Unprotected. */

void CUnProtectedPopupCtrl::FillItems()
{
    ClearDocuments();
    CUiHostServices* pHost = GetUiHostServices();
    CPendingDocs* pPending = pHost ? pHost->GetPendingDocs() : nullptr;
    CCatalog* pCatalog = GetHostMainCatalog();
    if (!pPending || !pCatalog)
        return;
    for (int i = 0; i < pPending->GetCount(); ++i)
        AddDocumentRow(FindUnprotectedDocument(pCatalog, *pPending, i));
}

UINT CUnProtectedPopupCtrl::GetContextMenuId()
{
    return IDM_UNPROTECTED_ROW;
}

BOOL CUnProtectedPopupCtrl::OnRightClick()
{
    const int nIndex = GetCurSel();
    const CDocumentRec* pDocument = GetDocument(nIndex);
    if (!pDocument || !IsItemEnabled(nIndex))
        return FALSE;
    const std::unique_ptr<CDocumentRec> pCopy(pDocument->Clone());
    m_tip.Hide();
    CMenu menu;
    if (!menu.LoadMenu(GetContextMenuId()))
        return FALSE;
    POINT cursor {};
    GetCursorPos(&cursor);
    const UINT nCommand = static_cast<UINT>(
        menu.GetSubMenu(0)->TrackPopupMenu(TPM_RIGHTBUTTON | TPM_RETURNCMD, cursor.x, cursor.y, this));
    OnMouseLeave();
    Close(TRUE); // this list may be gone now
    CUiHostServices* pHost = GetUiHostServices();
    if (!pHost)
        return TRUE;
    if (nCommand == ID_DOC_PROTECT_AGAIN) {
        pHost->RunPassword(*pCopy, PASSWORD_PROTECT_AGAIN);
    } else if (nCommand == ID_DOC_IMAGE_PREVIEW && pHost->RunImagePreview(*pCopy) == IDOK) {
        CPendingDocs* pPending = pHost->GetPendingDocs();
        CString strName;
        pCopy->GetFullPath(strName);
        const CString strPath = pCopy->GetDirectoryPath(FALSE) + strName;
        if (const int nEntry = pPending ? pPending->FindEntry(strPath) : -1; nEntry >= 0)
            pPending->AddDocument(*pCopy, pPending->GetEntry(nEntry).dwFlags);
    }
    return TRUE;
}

/* Windows. */

CFavoritesPopupWnd::CFavoritesPopupWnd()
    : CDocumentPopupWnd("FavoritesPopupWnd")
{
}

CUltimosCatalogadosPopupWnd::CUltimosCatalogadosPopupWnd()
    : CDocumentPopupWnd("UltimosCatalogadosPopupWnd")
{
}

CUnProtectedPopupWnd::CUnProtectedPopupWnd()
    : CDocumentPopupWnd("UnProtectedPopupWnd")
{
}
