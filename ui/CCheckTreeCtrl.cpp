#include "ui/CCheckTreeCtrl.h"

#include "platform/controls/ListViewControl.h"
#include "platform/framework/MessageMap.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Text.h"
#include "platform/window/Input.h"

IMPLEMENT_DYNCREATE(CCheckTreeCtrl, CTreeCtrl)

BEGIN_MESSAGE_MAP(CCheckTreeCtrl, CTreeCtrl)
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_NOTIFY_REFLECT(TVN_KEYDOWN, &CCheckTreeCtrl::OnKeyDown)
    ON_NOTIFY_REFLECT(TVN_ITEMEXPANDING, &CCheckTreeCtrl::OnItemExpanding)
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, &CCheckTreeCtrl::OnCustomDraw)
END_MESSAGE_MAP()

namespace {

// The state-image bits of an item's state.
constexpr int STATE_IMAGE_SHIFT = 12;

// The new state of an item in nState after one of the first four actions
// (check, uncheck, exclude, click).
int StateAfterAction(int nState, int nAction, BOOL bExclusionAllowed)
{
    using T = CCheckTreeCtrl;
    const int nCheckedClick = bExclusionAllowed ? T::STATE_EXCLUDED : T::STATE_UNCHECKED;
    switch (nAction) {
    case T::ACTION_CHECK:
        return nState == T::STATE_CHECKED_PARTLY ? nState : T::STATE_CHECKED;
    case T::ACTION_UNCHECK:
        return nState == T::STATE_UNCHECKED_PARTLY ? nState : T::STATE_UNCHECKED;
    case T::ACTION_EXCLUDE:
        return T::STATE_EXCLUDED;
    default: // click
        switch (nState) {
        case T::STATE_EXCLUDED:
            return T::STATE_UNCHECKED;
        case T::STATE_UNCHECKED:
        case T::STATE_UNCHECKED_PARTLY:
            return T::STATE_CHECKED;
        default:
            return nCheckedClick;
        }
    }
}

bool IsCheckedState(int nState)
{
    return nState == CCheckTreeCtrl::STATE_CHECKED_PARTLY || nState == CCheckTreeCtrl::STATE_CHECKED;
}

} // namespace

/* States and actions. */

int CCheckTreeCtrl::GetCheckState(HTREEITEM hItem) const
{
    return static_cast<int>((GetItemState(hItem, TVIS_STATEIMAGEMASK) & TVIS_STATEIMAGEMASK) >> STATE_IMAGE_SHIFT);
}

void CCheckTreeCtrl::SetCheckState(HTREEITEM hItem, int nState)
{
    SetItemState(hItem, INDEXTOSTATEIMAGEMASK(nState), TVIS_STATEIMAGEMASK);
}

BOOL CCheckTreeCtrl::ApplyCheckAction(HTREEITEM hItem, int nAction)
{
    if (!hItem || nAction < ACTION_CHECK || nAction > ACTION_RECOMPUTE)
        return FALSE;
    if (nAction == ACTION_EXCLUDE && !m_bExclusionAllowed)
        return FALSE;
    const int nState = GetCheckState(hItem);
    if (nState == STATE_NONE)
        return FALSE;
    const int nNewState = nAction == ACTION_RECOMPUTE ? StateFromChildren(hItem, nState)
                                                      : StateAfterAction(nState, nAction, m_bExclusionAllowed);
    if (nNewState == nState)
        return TRUE;
    if (nNewState == STATE_EXCLUDED && ItemHasChildren(hItem))
        Expand(hItem, TVE_COLLAPSE);
    SetCheckState(hItem, nNewState);
    if (nAction != ACTION_RECOMPUTE)
        PropagateToChildren(hItem, nNewState);
    PropagateToParents(hItem);
    return TRUE;
}

void CCheckTreeCtrl::CheckAll()
{
    for (HTREEITEM hRoot = GetRootItem(); hRoot; hRoot = GetNextSiblingItem(hRoot)) {
        ApplyCheckAction(hRoot, ACTION_UNCHECK);
        ApplyCheckAction(hRoot, ACTION_CHECK);
    }
}

void CCheckTreeCtrl::UncheckAll()
{
    for (HTREEITEM hRoot = GetRootItem(); hRoot; hRoot = GetNextSiblingItem(hRoot)) {
        ApplyCheckAction(hRoot, ACTION_CHECK);
        ApplyCheckAction(hRoot, ACTION_UNCHECK);
    }
}

int CCheckTreeCtrl::StateFromChildren(HTREEITEM hItem, int nState) const
{
    if (nState == STATE_NONE || nState == STATE_EXCLUDED)
        return nState;
    HTREEITEM hChild = GetChildItem(hItem);
    if (!hChild) {
        if (nState == STATE_CHECKED_PARTLY)
            return STATE_CHECKED;
        return nState == STATE_UNCHECKED_PARTLY ? STATE_UNCHECKED : nState;
    }
    bool bAllChecked = true;
    bool bAnyChecked = false;
    // Once a child is not fully checked and one is checked, the rest change nothing.
    for (; hChild && (bAllChecked || !bAnyChecked); hChild = GetNextSiblingItem(hChild)) {
        const int nChild = GetCheckState(hChild);
        if (nChild != STATE_CHECKED)
            bAllChecked = false;
        if (nChild == STATE_CHECKED_PARTLY || nChild == STATE_UNCHECKED_PARTLY || nChild == STATE_CHECKED)
            bAnyChecked = true;
    }
    switch (nState) {
    case STATE_UNCHECKED:
        return bAnyChecked ? STATE_UNCHECKED_PARTLY : nState;
    case STATE_UNCHECKED_PARTLY:
        return bAnyChecked ? nState : STATE_UNCHECKED;
    case STATE_CHECKED_PARTLY:
        return bAllChecked ? STATE_CHECKED : nState;
    default:
        return bAllChecked ? nState : STATE_CHECKED_PARTLY;
    }
}

void CCheckTreeCtrl::PropagateToChildren(HTREEITEM hItem, int nState)
{
    if (nState == STATE_EXCLUDED || nState == STATE_CHECKED_PARTLY || nState == STATE_UNCHECKED_PARTLY)
        return;
    for (HTREEITEM hChild = GetChildItem(hItem); hChild; hChild = GetNextSiblingItem(hChild)) {
        PropagateToChildren(hChild, nState);
        SetCheckState(hChild, nState);
    }
}

void CCheckTreeCtrl::PropagateToParents(HTREEITEM hItem)
{
    for (HTREEITEM hParent = GetParentItem(hItem); hParent; hParent = GetParentItem(hParent)) {
        const int nState = GetCheckState(hParent);
        const int nNewState = StateFromChildren(hParent, nState);
        if (nNewState != nState)
            SetCheckState(hParent, nNewState);
    }
}

/* Walks. */

HTREEITEM CCheckTreeCtrl::GetNextItemPreorder(HTREEITEM hItem) const
{
    if (HTREEITEM hChild = GetChildItem(hItem))
        return hChild;
    for (HTREEITEM hUp = hItem; hUp; hUp = GetParentItem(hUp)) {
        if (HTREEITEM hNext = GetNextSiblingItem(hUp))
            return hNext;
    }
    return nullptr;
}

HTREEITEM CCheckTreeCtrl::FindNextInState(HTREEITEM hFrom, int nClass) const
{
    if (nClass < STATE_EXCLUDED || nClass > STATE_CHECKED_PARTLY)
        return nullptr;
    HTREEITEM hItem = hFrom;
    while (hItem) {
        const int nState = GetCheckState(hItem);
        bool bMatch = false;
        bool bSkipSubtree = false;
        switch (nClass) {
        case STATE_EXCLUDED:
            bMatch = nState == STATE_EXCLUDED;
            bSkipSubtree = nState == STATE_CHECKED;
            break;
        case STATE_UNCHECKED:
            bMatch = nState == STATE_UNCHECKED || nState == STATE_UNCHECKED_PARTLY;
            bSkipSubtree = nState == STATE_EXCLUDED || nState == STATE_CHECKED;
            break;
        default:
            bMatch = IsCheckedState(nState);
            bSkipSubtree = nState == STATE_EXCLUDED || nState == STATE_UNCHECKED;
            break;
        }
        if (bMatch)
            return hItem;
        if (!bSkipSubtree) {
            hItem = GetNextItemPreorder(hItem);
            continue;
        }
        HTREEITEM hNext = nullptr;
        for (HTREEITEM hUp = hItem; hUp && !hNext; hUp = GetParentItem(hUp))
            hNext = GetNextSiblingItem(hUp);
        hItem = hNext;
    }
    return nullptr;
}

/* Messages. */

void CCheckTreeCtrl::OnPaint()
{
    LOGFONT logFont {};
    HGDIOBJ hFont = GetFont() ? GetFont()->GetSafeHandle() : GetStockObject(DEFAULT_GUI_FONT);
    GetObject(hFont, sizeof(logFont), &logFont);
    logFont.lfItalic = TRUE;
    m_hItalicFont = CreateFontIndirect(&logFont);
    Default();
    DeleteObject(m_hItalicFont);
    m_hItalicFont = nullptr;
}

void CCheckTreeCtrl::ClickStateIcon(CPoint point)
{
    UINT nFlags = 0;
    HTREEITEM hItem = HitTest(point, &nFlags);
    if (hItem && (nFlags & TVHT_ONITEMSTATEICON))
        ApplyCheckAction(hItem, ACTION_CLICK);
}

void CCheckTreeCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    ClickStateIcon(point);
    CTreeCtrl::OnLButtonDown(nFlags, point);
}

void CCheckTreeCtrl::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    ClickStateIcon(point);
    CTreeCtrl::OnLButtonDblClk(nFlags, point);
}

void CCheckTreeCtrl::OnKeyDown(NMHDR* pNotify, LRESULT* pResult)
{
    const auto* pKey = reinterpret_cast<const NMTVKEYDOWN*>(pNotify);
    if (pKey->wVKey == VK_SPACE)
        ApplyCheckAction(GetSelectedItem(), ACTION_CLICK);
    *pResult = 0;
}

void CCheckTreeCtrl::OnItemExpanding(NMHDR* pNotify, LRESULT* pResult)
{
    const auto* pTree = reinterpret_cast<const NMTREEVIEW*>(pNotify);
    *pResult = (pTree->action & TVE_EXPAND) && GetCheckState(pTree->itemNew.hItem) == STATE_EXCLUDED ? 1 : 0;
}

void CCheckTreeCtrl::OnCustomDraw(NMHDR* pNotify, LRESULT* pResult)
{
    auto* pDraw = reinterpret_cast<NMTVCUSTOMDRAW*>(pNotify);
    *pResult = CDRF_DODEFAULT;
    switch (pDraw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        *pResult = CDRF_NOTIFYITEMDRAW;
        break;
    case CDDS_ITEMPREPAINT:
        if (m_hItalicFont && GetCheckState(reinterpret_cast<HTREEITEM>(pDraw->nmcd.dwItemSpec)) == STATE_EXCLUDED) {
            m_hFontBeforeItalic = SelectObject(pDraw->nmcd.hdc, m_hItalicFont);
            *pResult = CDRF_NEWFONT | CDRF_NOTIFYPOSTPAINT;
        }
        break;
    case CDDS_ITEMPOSTPAINT:
        if (m_hFontBeforeItalic) {
            SelectObject(pDraw->nmcd.hdc, m_hFontBeforeItalic);
            m_hFontBeforeItalic = nullptr;
        }
        break;
    default:
        break;
    }
}
