// The main frame's menus of documents and programs: the entries of the
// new-document list, the favourites, the pending documents and the recently
// catalogued documents, each reached by its command range, and a new mail
// message. An entry past its list does nothing; a failed open leaves the
// window as it is.

#include "frame/CMainFrame.h"

#include "catalog/CPendingDocs.h"
#include "frame/CArchivoraApp.h"
#include "frame/CatalogHold.h"
#include "frame/FramePrompts.h"
#include "frame/ShellCommand.h"
#include "mail/CMapiMail.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/CRecentList.h"
#include "store/CatalogColumns.h"
#include "store/ResString.h"

#include "platform/framework/CCmdUI.h"

#include <memory>

namespace {

// The favourites as their menu lists them: by name, ascending.
constexpr CSortSpec FAVORITES_ORDER { COLUMN_NAME, 1, 1 };

} // namespace

void CMainFrame::OnNewDocumentCommand(UINT nID)
{
    CArchivoraApp* pApp = GetArchivoraApp();
    const int nIndex = static_cast<int>(nID - ID_NEW_DOCUMENT_FIRST);
    if (!pApp || nIndex >= pApp->GetNewDocumentTypes().GetSize())
        return;
    if (OpenWithShell(m_hWnd, pApp->GetNewDocumentTypes().GetAt(nIndex)))
        pApp->MinimizeAfterOpen();
}

void CMainFrame::OnFavoriteCommand(UINT nID)
{
    CArchivoraApp* pApp = GetArchivoraApp();
    CCatalog* pCatalog = pApp ? pApp->GetMainCatalog() : nullptr;
    CCatalogHold hold(pCatalog);
    if (!hold.IsHeld())
        return;
    std::unique_ptr<CNodeRec> pFavorites(CNodeRec::NewTopNodeRec2(pCatalog));
    if (!pFavorites)
        return;
    CDocumentRecArray documents = pFavorites->GetFilteredDocuments(&FAVORITES_ORDER, nullptr);
    const size_t nIndex = nID - ID_FAVORITE_FIRST;
    if (nIndex < documents.size() && documents[nIndex] && pApp->OpenItem(*documents[nIndex], this))
        pApp->MinimizeAfterOpen();
}

void CMainFrame::OnPendingDocumentCommand(UINT nID)
{
    CArchivoraApp* pApp = GetArchivoraApp();
    CCatalog* pCatalog = pApp ? pApp->GetMainCatalog() : nullptr;
    CPendingDocs* pPending = pApp ? pApp->GetPendingDocs() : nullptr;
    CCatalogHold hold(pCatalog);
    const int nIndex = static_cast<int>(nID - ID_PENDING_FIRST);
    if (!hold.IsHeld() || !pPending || nIndex >= pPending->GetCount())
        return;
    std::unique_ptr<CDocumentRec> pDocument(pCatalog->FindPath(pPending->GetEntryPath(nIndex)));
    if (pDocument)
        GetFramePrompts().ImagePreview(*pDocument);
}

void CMainFrame::OnRecentCommand(UINT nID)
{
    CArchivoraApp* pApp = GetArchivoraApp();
    CCatalog* pCatalog = pApp ? pApp->GetMainCatalog() : nullptr;
    CCatalogHold hold(pCatalog);
    if (!hold.IsHeld())
        return;
    CRecentList recent(pCatalog);
    const int nIndex = static_cast<int>(nID - ID_RECENT_FIRST);
    if (nIndex >= recent.GetCount())
        return;
    std::unique_ptr<CDocumentRec> pDocument(recent.CreateItemObject(nIndex));
    if (pDocument && pApp->OpenItem(*pDocument, this))
        pApp->MinimizeAfterOpen();
}

void CMainFrame::OnUpdateDocumentMenuEntry(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
}

void CMainFrame::OnSendMail()
{
    // FIXME: the new-document monitor pauses around the compose once it is wired.
    CMapiMail mail("MAPI32.DLL");
    mail.Send(GetResString(IDS_SEND_MAIL_SUBJECT), MAPI_DIALOG);
}

void CMainFrame::OnUpdateSendMail(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsMapiAvailable());
}
