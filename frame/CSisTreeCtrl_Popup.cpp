// The systems tree's popups of subsystems: the mouse resting on a system
// opens them as a cascading menu, a drag resting on one opens them for the
// drag.

#include "frame/CSisTreeCtrl.h"

#include "store/CNodeRec.h"
#include "ui/CSisPopupWnd.h"

#include "platform/framework/CRect.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/WindowClass.h"

#include <algorithm>

namespace {

constexpr int POPUP_INDENT = 1; // the popup's left edge from the label's
constexpr int POPUP_RISE = 3;   // the popup's top above the label's bottom

// Typing in an edit control must not be interrupted by a popup.
BOOL FocusIsInAnEdit()
{
    HWND hFocus = GetFocus();
    char szClass[32] {};
    return hFocus && GetClassName(hFocus, szClass, sizeof(szClass)) > 0 && CString(szClass).CompareNoCase("Edit") == 0;
}

} // namespace

void CSisTreeCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    CTreeCtrl::OnMouseMove(nFlags, point);
    if (point == m_ptLastMouse)
        return;
    m_ptLastMouse = point;
    KillTimer(TIMER_HOVER_POPUP);
    UINT nHit = 0;
    if (HitTest(point, &nHit) && (nHit & (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMRIGHT)))
        SetTimer(TIMER_HOVER_POPUP, POPUP_DELAY_MS, nullptr);
}

void CSisTreeCtrl::OnKillFocus(CWnd* pNewWnd)
{
    KillTimer(TIMER_HOVER_POPUP);
    CTreeCtrl::OnKillFocus(pNewWnd);
}

void CSisTreeCtrl::OnTimer(UINT_PTR nIDEvent)
{
    switch (nIDEvent) {
    case TIMER_HOVER_POPUP: {
        KillTimer(TIMER_HOVER_POPUP);
        CPoint cursor;
        GetCursorPos(&cursor);
        ScreenToClient(&cursor);
        if (cursor != m_ptLastMouse || !GetActiveWindow() || FocusIsInAnEdit())
            break;
        if (HTREEITEM hItem = HitTest(cursor, nullptr))
            OnHoverPopup(hItem);
        break;
    }
    case TIMER_DRAG_POPUP:
        KillTimer(TIMER_DRAG_POPUP);
        OpenDragPopup();
        break;
    default:
        CTreeCtrl::OnTimer(nIDEvent);
        break;
    }
}

BOOL CSisTreeCtrl::ChildrenPopupPlace(HTREEITEM hItem, POINT* pPoint, RECT* pItemRect) const
{
    CRect rcLabel;
    CRect rcFull;
    if (!GetItemRect(hItem, &rcLabel, TRUE) || !GetItemRect(hItem, &rcFull, FALSE))
        return FALSE;
    rcLabel.right = std::min(rcLabel.right, rcFull.right);
    rcLabel.bottom -= POPUP_RISE;
    ClientToScreen(&rcLabel);
    *pItemRect = rcLabel;
    pPoint->x = rcLabel.left + POPUP_INDENT;
    pPoint->y = rcLabel.bottom;
    return TRUE;
}

std::unique_ptr<CSisPopupWnd> CSisTreeCtrl::CreateChildrenPopup(HTREEITEM hItem)
{
    const CNodeRec* pNode = GetItemNode(hItem);
    if (!pNode || !ItemHasChildren(hItem))
        return nullptr;
    auto pPopup = std::make_unique<CSisPopupWnd>();
    if (pPopup->Create(this) != 1)
        return nullptr;
    pPopup->GetSisList().FillItems(pNode, FALSE, FALSE, FALSE);
    if (pPopup->GetSisList().GetCount() <= 0)
        return nullptr;
    return pPopup;
}

void CSisTreeCtrl::OnHoverPopup(HTREEITEM hItem)
{
    POINT point {};
    RECT rcItem {};
    if (!ChildrenPopupPlace(hItem, &point, &rcItem))
        return;
    std::unique_ptr<CSisPopupWnd> pPopup = CreateChildrenPopup(hItem);
    if (!pPopup)
        return;
    pPopup->SetRightClickAllowed(TRUE);
    std::unique_ptr<CNodeRec> pPicked(static_cast<CNodeRec*>(pPopup->TrackPopup(&point, &rcItem, &rcItem)));
    pPopup.reset();
    // The popup's menu may have changed the catalog and the tree meanwhile:
    // the picked node is looked for again from the top.
    if (pPicked && ::IsWindow(GetSafeHwnd()))
        SelectPicked(*pPicked);
}

void CSisTreeCtrl::SelectPicked(const CNodeRec& picked)
{
    std::unique_ptr<CNodeRec> pRoot(m_pCatalog ? CNodeRec::NewRootNodeRec(m_pCatalog) : nullptr);
    HTREEITEM hItem = TVI_ROOT;
    for (const auto& pAncestor : picked.GetAncestors()) {
        if (pRoot && pAncestor->GetRef() == pRoot->GetRef())
            continue;
        hItem = FindChildItem(hItem, *pAncestor);
        if (!hItem)
            return;
    }
    hItem = FindChildItem(hItem, picked);
    if (hItem)
        SelectItem(hItem);
}

void CSisTreeCtrl::OpenDragPopup()
{
    m_pDragPopup.reset();
    if (!m_hDragHover || m_hDragHover == TVI_ROOT)
        return;
    POINT point {};
    RECT rcItem {};
    if (!ChildrenPopupPlace(m_hDragHover, &point, &rcItem))
        return;
    std::unique_ptr<CSisPopupWnd> pPopup = CreateChildrenPopup(m_hDragHover);
    if (!pPopup)
        return;
    pPopup->SetDragMode(TRUE);
    pPopup->FitOnScreen(&point, &rcItem);
    pPopup->GetPopupCtrl()->OpenForDrag(&rcItem);
    m_pDragPopup = std::move(pPopup);
}
