#include "ui/CKadToolBar.h"

#include "platform/framework/CWinThread.h"
#include "platform/framework/MessageMap.h"
#include "platform/gdi/Rects.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/Messages.h"
#include "platform/window/WindowClass.h"
#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/CatalogTypes.h"
#include "ui/CKadDragObjReg.h"
#include "ui/CUiHostServices.h"
#include "ui/DropTargets.h"

#include <memory>

IMPLEMENT_DYNAMIC(CKadToolBar, CToolBar)

BEGIN_MESSAGE_MAP(CKadToolBar, CToolBar)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
END_MESSAGE_MAP()

namespace {

// Whether the keyboard focus is in an edit control, where typing must not be
// interrupted by a popup.
bool FocusIsInAnEdit()
{
    HWND hFocus = GetFocus();
    char szClass[32] {};
    return hFocus && GetClassName(hFocus, szClass, sizeof(szClass)) > 0 && CString(szClass).CompareNoCase("Edit") == 0;
}

// The payload's document entries, or none when it holds no catalog entries.
std::vector<CDocumentRec*> DocumentsOf(CKadDragObj* pPayload)
{
    std::vector<CDocumentRec*> documents;
    auto* pEntries = dynamic_cast<CKadDragObjReg*>(pPayload);
    for (int i = 0; pEntries && i < pEntries->GetItemCount(); ++i) {
        CCatalogRecord* pRecord = pEntries->GetItem(i).pRecord;
        if (pRecord && pRecord->GetTableType() == TABLE_DOCUMENT)
            if (auto* pDocument = dynamic_cast<CDocumentRec*>(pRecord))
                documents.push_back(pDocument);
    }
    return documents;
}

} // namespace

UINT CKadToolBar::HitTestButton(int x, int y) const
{
    const POINT point { x, y };
    for (int nIndex = GetCount() - 1; nIndex >= 0; --nIndex) {
        RECT rect {};
        GetItemRect(nIndex, &rect);
        if (PtInRect(&rect, point))
            return GetItemID(nIndex);
    }
    return 0;
}

/* Drops. */

DROPEFFECT CKadToolBar::OnDragOver(CKadDragObj* pPayload, UINT /*nKeyState*/, int x, int y)
{
    m_dropPoint = CPoint(x, y);
    if (HitTestButton(x, y) != ID_FAVORITES_POPUP || DocumentsOf(pPayload).empty())
        return DROPEFFECT_NONE;
    return DROPEFFECT_COPY;
}

BOOL CKadToolBar::DropTake(CKadDragObj* pPayload, DROPEFFECT /*effect*/)
{
    return OnDrop(pPayload, m_dropPoint);
}

BOOL CKadToolBar::OnDrop(CKadDragObj* pPayload, CPoint /*point*/)
{
    const std::vector<CDocumentRec*> documents = DocumentsOf(pPayload);
    BOOL bLinked = FALSE;
    if (CCatalog* pCatalog = GetHostMainCatalog(); pCatalog && !documents.empty()) {
        const std::unique_ptr<CNodeRec> pFavorites(CNodeRec::NewTopNodeRec2(pCatalog));
        for (auto it = documents.rbegin(); it != documents.rend(); ++it)
            bLinked |= pFavorites && pFavorites->AddDocument(*it);
    }
    if (bLinked) {
        if (CWnd* pMain = AfxGetMainWnd())
            pMain->PostMessage(RegisterWindowMessage("APPM Refazer"), 0, 0);
    }
    OnDragLeave();
    return bLinked;
}

/* Messages. */

int CKadToolBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CToolBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    RegisterDropTarget(this, TRUE);
    return 0;
}

void CKadToolBar::OnDestroy()
{
    CToolBar::OnDestroy();
    RegisterDropTarget(this, FALSE);
    KillTimer(TIMER_HOVER);
}

void CKadToolBar::OnMouseMove(UINT nFlags, CPoint point)
{
    if (point != m_lastPoint) {
        KillTimer(TIMER_HOVER);
        m_lastPoint = point;
        const UINT nCommand = HitTestButton(point.x, point.y);
        const bool bAlways = nCommand == ID_FAVORITES_POPUP || nCommand == ID_RECENT_POPUP;
        const bool bWhenEnabled = nCommand == ID_NEW_DOCUMENT_POPUP || nCommand == ID_UNPROTECTED_POPUP;
        if (bAlways || (bWhenEnabled && GetToolBarCtrl().IsButtonEnabled(static_cast<int>(nCommand))))
            SetTimer(TIMER_HOVER, HOVER_MS, nullptr);
    }
    CToolBar::OnMouseMove(nFlags, point);
}

void CKadToolBar::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == TIMER_HOVER) {
        CPoint cursor;
        GetCursorPos(&cursor);
        ScreenToClient(&cursor);
        const UINT nCommand = HitTestButton(cursor.x, cursor.y);
        KillTimer(TIMER_HOVER);
        CWnd* pMain = AfxGetMainWnd();
        if (nCommand != 0 && !GetToolBarCtrl().IsButtonPressed(static_cast<int>(nCommand)) && cursor == m_lastPoint
            && GetActiveWindow() != nullptr && !FocusIsInAnEdit() && pMain)
            pMain->PostMessage(WM_COMMAND, nCommand, reinterpret_cast<LPARAM>(m_hWnd));
    }
    CToolBar::OnTimer(nIDEvent);
}
