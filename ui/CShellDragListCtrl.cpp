#include "ui/CShellDragListCtrl.h"

#include "catalog/ShellItemIds.h"
#include "platform/framework/CImageList.h"
#include "platform/framework/CMenu.h"
#include "platform/framework/MessageMap.h"
#include "platform/window/Menu.h"
#include "resources/ResourceIds.h"
#include "ui/CDragTracker.h"
#include "ui/CKadDragObjPIDL.h"
#include "ui/DropTargets.h"

BEGIN_MESSAGE_MAP(CShellDragListCtrl, CShellFolderListCtrl)
    ON_WM_CONTEXTMENU()
    ON_WM_MOUSEMOVE()
    ON_NOTIFY_REFLECT(NM_RCLICK, &CShellDragListCtrl::OnRightClick)
    ON_NOTIFY_REFLECT(LVN_BEGINDRAG, &CShellDragListCtrl::OnBeginDrag)
END_MESSAGE_MAP()

CShellDragListCtrl::CShellDragListCtrl() = default;

CShellDragListCtrl::~CShellDragListCtrl() = default;

BOOL CShellDragListCtrl::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE) && !m_pTracker) {
        TranslateMessage(pMsg);
        DispatchMessage(pMsg);
        return TRUE;
    }
    if (m_pTracker) {
        const BOOL bTaken = m_pTracker->FilterMessage(pMsg);
        const bool bEnded = m_pTracker->GetResult() != 0;
        FinishDrag();
        if (bTaken || bEnded)
            return TRUE;
    }
    return CShellFolderListCtrl::PreTranslateMessage(pMsg);
}

void CShellDragListCtrl::OnContextMenu(CWnd* /*pWnd*/, CPoint point)
{
    Default();
    CPoint client = point;
    ScreenToClient(&client);
    if (HitTest(client) < 0)
        return;
    CWnd* pOwner = GetParent();
    while (pOwner && (pOwner->GetStyle() & WS_CHILD))
        pOwner = pOwner->GetParent();
    CMenu menu;
    if (!pOwner || !menu.LoadMenu(IDR_SHELL_LIST_MENU))
        return;
    CMenu* pPopup = menu.GetSubMenu(0);
    const UINT nCommand = pPopup
        ? static_cast<UINT>(pPopup->TrackPopupMenu(TPM_RIGHTBUTTON | TPM_RETURNCMD, point.x, point.y, pOwner))
        : 0;
    if (nCommand)
        pOwner->SendMessage(WM_COMMAND, nCommand, 0);
}

void CShellDragListCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_pTracker || m_pTracker->GetResult() != 0) {
        CShellFolderListCtrl::OnMouseMove(nFlags, point);
        return;
    }
    ClientToScreen(&point);
    m_pTracker->Move(nFlags, point.x, point.y);
    FinishDrag();
}

void CShellDragListCtrl::OnRightClick(NMHDR* /*pNotify*/, LRESULT* pResult)
{
    *pResult = 0; // taken here, so that the parent does not see it
}

void CShellDragListCtrl::OnBeginDrag(NMHDR* pNotify, LRESULT* pResult)
{
    CGridListCtrl::OnBeginDrag(pNotify, pResult);
    const int nFirst = GetNextItem(-1, LVNI_SELECTED);
    const CInfoPIDL* pFirst = GetShellItem(nFirst);
    if (!pFirst || m_pTracker)
        return;
    POINT origin {};
    m_pDragImage.reset(CreateDragImage(GetNextItem(-1, LVNI_FOCUSED), &origin));
    m_pPayload = std::make_unique<CKadDragObjPIDL>(pFirst->m_pFolder, GetMask());
    for (int nItem = nFirst; nItem >= 0; nItem = GetNextItem(nItem, LVNI_SELECTED)) {
        if (const CInfoPIDL* pItem = GetShellItem(nItem))
            m_pPayload->AddItem(CopyPIDL(nullptr, pItem->m_pidlRelative), nItem);
    }
    POINT point = reinterpret_cast<const NMLISTVIEW*>(pNotify)->ptAction;
    ClientToScreen(&point);
    m_pTracker = std::make_unique<CDragTracker>();
    m_pTracker->Begin(this, m_pPayload.get(), m_pDragImage.get(), point.x, point.y);
}

void CShellDragListCtrl::FinishDrag()
{
    if (!m_pTracker)
        return;
    const HRESULT hResult = m_pTracker->GetResult();
    if (hResult != DRAGDROP_S_DROP && hResult != DRAGDROP_S_CANCEL)
        return;
    m_pTracker->End();
    m_pTracker.reset();
    m_pDragImage.reset();
    m_pPayload.reset();
}
