// The main frame's menus and popups of documents and programs: the entries
// of the new-document list, the favourites, the pending documents and the
// recently catalogued documents, each reached by its command range or by the
// popup its toolbar button drops, and a new mail message. An entry past its
// list does nothing; a failed open leaves the window as it is.

#include "frame/CMainFrame.h"

#include "catalog/CPendingDocs.h"
#include "frame/CArchivoraApp.h"
#include "frame/CatalogHold.h"
#include "frame/FramePrompts.h"
#include "frame/ShellCommand.h"
#include "mail/CMapiMail.h"
#include "monitor/MonitorPause.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/CRecentList.h"
#include "store/CatalogColumns.h"
#include "store/ResString.h"
#include "ui/CNewDocPopupCtrl.h"
#include "ui/DocumentPopups.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CCmdUI.h"

#include <memory>

namespace {

// The favourites as their menu lists them: by name, ascending.
constexpr CSortSpec FAVORITES_ORDER { COLUMN_NAME, 1, 1 };

// A toolbar button pressed while its popup runs, released on every way out.
class CPressedButton {
public:
    CPressedButton(CToolBar& toolbar, UINT nID)
        : m_toolbar(toolbar)
        , m_nID(nID)
    {
        m_toolbar.GetToolBarCtrl().PressButton(static_cast<int>(m_nID), TRUE);
    }
    ~CPressedButton() { m_toolbar.GetToolBarCtrl().PressButton(static_cast<int>(m_nID), FALSE); }
    CPressedButton(const CPressedButton&) = delete;
    CPressedButton& operator=(const CPressedButton&) = delete;

    // The button on the screen; a popup drops from its lower left corner, one
    // pixel to the right, and keeps the button clear.
    RECT ScreenRect() const
    {
        RECT rc {};
        m_toolbar.GetItemRect(m_toolbar.CommandToIndex(m_nID), &rc);
        m_toolbar.ClientToScreen(&rc);
        return rc;
    }
    void* Track(CPopupWnd& popup) const
    {
        const RECT rcButton = ScreenRect();
        const POINT pos { rcButton.left + 1, rcButton.bottom };
        return popup.TrackPopup(&pos, &rcButton, &rcButton);
    }

private:
    CToolBar& m_toolbar;
    UINT m_nID;
};

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
    ULONG nResult = SUCCESS_SUCCESS;
    {
        // What the mail program writes is not offered as new documents.
        CMonitorPause pause(&m_wndMonitor);
        CMapiMail mail("MAPI32.DLL");
        nResult = mail.Send(GetResString(IDS_SEND_MAIL_SUBJECT), MAPI_DIALOG);
    }
    if (nResult != SUCCESS_SUCCESS)
        AfxMessageBox(IDS_SEND_MAIL_NO_PROGRAM, MB_OK | MB_ICONEXCLAMATION);
}

void CMainFrame::OnUpdateSendMail(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsMapiAvailable());
}

/***************************** The toolbar's popups *****************************/

template<class TWnd> void CMainFrame::OpenFromDocumentPopup(UINT nID)
{
    CArchivoraApp* pApp = GetArchivoraApp();
    if (!pApp)
        return;
    CPressedButton button(m_wndToolBar, nID);
    TWnd popup;
    if (popup.Create(this) != 1)
        return;
    auto& list = popup.GetDocumentList();
    list.FillItems();
    popup.SetRightClickAllowed(list.GetDocumentCount() > 0);
    std::unique_ptr<CDocumentRec> pDocument(static_cast<CDocumentRec*>(button.Track(popup)));
    popup.DestroyWindow();
    if (pDocument && pApp->OpenItem(*pDocument, this))
        pApp->MinimizeAfterOpen();
}

void CMainFrame::OnFavoritesPopup()
{
    OpenFromDocumentPopup<CFavoritesPopupWnd>(ID_FAVORITES_POPUP);
}

void CMainFrame::OnRecentPopup()
{
    OpenFromDocumentPopup<CUltimosCatalogadosPopupWnd>(ID_RECENT_POPUP);
}

void CMainFrame::OnUnprotectedPopup()
{
    CArchivoraApp* pApp = GetArchivoraApp();
    CPendingDocs* pPending = pApp ? pApp->GetPendingDocs() : nullptr;
    if (!pPending)
        return;
    CPressedButton button(m_wndToolBar, ID_UNPROTECTED_POPUP);
    CCatalogHold hold(pApp->GetMainCatalog());
    pPending->CheckPendingFile();
    if (pPending->CountWithFlags(CPendingDocs::FLAG_UNPROTECTED) == 0)
        return;
    CUnProtectedPopupWnd popup;
    if (popup.Create(this) != 1)
        return;
    popup.GetDocumentList().FillItems();
    popup.SetRightClickAllowed(TRUE);
    std::unique_ptr<CDocumentRec> pDocument(static_cast<CDocumentRec*>(button.Track(popup)));
    popup.DestroyWindow();
    if (!pDocument || GetFramePrompts().ImagePreview(*pDocument) != IDOK)
        return;
    // The entries of the document's file take its state as it is now.
    CString strName;
    pDocument->GetFullPath(strName);
    const CString strPath = pDocument->GetDirectoryPath(FALSE) + strName;
    for (int i = pPending->GetCount() - 1; i >= 0; --i) {
        if (pPending->GetEntryPath(i) == strPath)
            pPending->AddDocument(*pDocument, pPending->GetEntry(i).dwFlags);
    }
}

void CMainFrame::OnNewDocumentPopup()
{
    CArchivoraApp* pApp = GetArchivoraApp();
    if (!pApp)
        return;
    CPressedButton button(m_wndToolBar, ID_NEW_DOCUMENT_POPUP);
    CStringArray first;
    CStringArray second;
    pApp->BuildExtensionMap(first, second);
    CNewDocPopupWnd popup;
    if (popup.Create(this) != 1)
        return;
    popup.GetNewDocList().FillItems(first, second);
    const auto* pszChosen = static_cast<LPCTSTR>(button.Track(popup));
    const CString strChosen = pszChosen ? pszChosen : "";
    popup.DestroyWindow();
    if (strChosen.IsEmpty())
        return;
    if (strChosen.CompareNoCase(GetResString(IDS_SEND_MAIL_ENTRY)) == 0) {
        OnSendMail();
        return;
    }
    // The kind's place in the two lists is its type's in the new-document list.
    int nIndex = -1;
    for (int i = 0; i < first.GetSize() && nIndex < 0; ++i)
        nIndex = first[i] == strChosen ? i : -1;
    for (int i = 0; i < second.GetSize() && nIndex < 0; ++i)
        nIndex = second[i] == strChosen ? first.GetSize() + i : -1;
    const CStringArray& types = pApp->GetNewDocumentTypes();
    if (nIndex >= 0 && nIndex < types.GetSize() && OpenWithShell(m_hWnd, types[nIndex]))
        pApp->MinimizeAfterOpen();
}

void CMainFrame::OnUpdateNewDocumentPopup(CCmdUI* pCmdUI)
{
    CArchivoraApp* pApp = GetArchivoraApp();
    pCmdUI->Enable(pApp && pApp->GetNewDocumentTypes().GetSize() > 0);
}

void CMainFrame::OnUpdateFavoritesPopup(CCmdUI* pCmdUI)
{
    if (IsIconic())
        return;
    // The button's picture says whether there are favourites.
    CArchivoraApp* pApp = GetArchivoraApp();
    CCatalogHold hold(pApp ? pApp->GetMainCatalog() : nullptr);
    std::unique_ptr<CNodeRec> pFavorites(hold.IsHeld() ? CNodeRec::NewTopNodeRec2(pApp->GetMainCatalog()) : nullptr);
    const int nWanted = pFavorites && pFavorites->CountDocuments() > 0 ? m_nFavoritesFullImage : m_nFavoritesImage;
    const int nIndex = m_wndToolBar.CommandToIndex(ID_FAVORITES_POPUP);
    UINT nButtonID = 0;
    UINT nStyle = 0;
    int nImage = 0;
    m_wndToolBar.GetButtonInfo(nIndex, nButtonID, nStyle, nImage);
    if (nIndex >= 0 && nImage != nWanted)
        m_wndToolBar.SetButtonInfo(nIndex, nButtonID, nStyle, nWanted);
    pCmdUI->Enable(TRUE);
}

void CMainFrame::OnUpdateUnprotectedPopup(CCmdUI* pCmdUI)
{
    CArchivoraApp* pApp = GetArchivoraApp();
    CPendingDocs* pPending = pApp ? pApp->GetPendingDocs() : nullptr;
    pCmdUI->Enable(!IsIconic() && pPending && pPending->CountWithFlags(CPendingDocs::FLAG_UNPROTECTED) > 0);
}
