#include "platform/framework/CCheckListBox.h"

#include "platform/framework/CDC.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/Input.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CCheckListBox, CListBox)

BEGIN_MESSAGE_MAP(CCheckListBox, CListBox)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

BOOL CCheckListBox::SetCheckStyle(UINT nStyle)
{
    if (nStyle != BS_CHECKBOX && nStyle != BS_AUTOCHECKBOX && nStyle != BS_AUTO3STATE)
        return FALSE;
    m_nStyle = nStyle;
    return TRUE;
}

CCheckListBox::CItemState* CCheckListBox::State(int nIndex) const
{
    if (!GetSafeHwnd() || nIndex < 0 || nIndex >= GetCount())
        return nullptr;
    const auto found = m_states.find(reinterpret_cast<const CItemState*>(CListBox::GetItemData(nIndex)));
    return found == m_states.end() ? nullptr : found->second.get();
}

int CCheckListBox::AttachState(int nIndex)
{
    if (nIndex < 0)
        return nIndex;
    auto pState = std::make_unique<CItemState>();
    CListBox::SetItemData(nIndex, reinterpret_cast<DWORD_PTR>(pState.get()));
    m_states.emplace(pState.get(), std::move(pState));
    return nIndex;
}

void CCheckListBox::SetCheck(int nIndex, int nCheck)
{
    if (CItemState* pState = State(nIndex); pState && nCheck >= 0 && nCheck <= 2) {
        pState->nCheck = nCheck;
        RECT rect {};
        if (GetItemRect(nIndex, &rect) != LB_ERR)
            InvalidateRect(&rect);
    }
}

int CCheckListBox::GetCheck(int nIndex) const
{
    const CItemState* pState = State(nIndex);
    return pState ? pState->nCheck : LB_ERR;
}

void CCheckListBox::Enable(int nIndex, BOOL bEnabled)
{
    if (CItemState* pState = State(nIndex)) {
        pState->bEnabled = bEnabled ? TRUE : FALSE;
        RECT rect {};
        if (GetItemRect(nIndex, &rect) != LB_ERR)
            InvalidateRect(&rect);
    }
}

BOOL CCheckListBox::IsEnabled(int nIndex) const
{
    const CItemState* pState = State(nIndex);
    return pState ? pState->bEnabled : FALSE;
}

int CCheckListBox::AddString(LPCTSTR lpszItem)
{
    return AttachState(CListBox::AddString(lpszItem));
}

int CCheckListBox::InsertString(int nIndex, LPCTSTR lpszItem)
{
    return AttachState(CListBox::InsertString(nIndex, lpszItem));
}

int CCheckListBox::DeleteString(UINT nIndex)
{
    const CItemState* pState = State(static_cast<int>(nIndex));
    const int nLeft = CListBox::DeleteString(nIndex);
    if (nLeft != LB_ERR)
        m_states.erase(pState);
    return nLeft;
}

void CCheckListBox::ResetContent()
{
    CListBox::ResetContent();
    m_states.clear();
}

DWORD_PTR CCheckListBox::GetItemData(int nIndex) const
{
    const CItemState* pState = State(nIndex);
    return pState ? pState->dwData : static_cast<DWORD_PTR>(LB_ERR);
}

int CCheckListBox::SetItemData(int nIndex, DWORD_PTR dwItemData)
{
    CItemState* pState = State(nIndex);
    if (!pState)
        return LB_ERR;
    pState->dwData = dwItemData;
    return 0;
}

RECT CCheckListBox::CheckBoxRect(const RECT& rcItem)
{
    const int nTop = rcItem.top + (rcItem.bottom - rcItem.top - CHECK_SIZE) / 2;
    const int nLeft = rcItem.left + CHECK_MARGIN;
    return RECT { nLeft, nTop, nLeft + CHECK_SIZE, nTop + CHECK_SIZE };
}

BOOL CCheckListBox::Toggle(int nIndex)
{
    CItemState* pState = State(nIndex);
    if (!pState || !pState->bEnabled || !IsWindowEnabled() || m_nStyle == BS_CHECKBOX)
        return FALSE;
    const int nStates = m_nStyle == BS_AUTO3STATE ? 3 : 2;
    SetCheck(nIndex, (pState->nCheck + 1) % nStates);
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(
            WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), CLBN_CHKCHANGE), reinterpret_cast<LPARAM>(GetSafeHwnd()));
    return TRUE;
}

int CCheckListBox::ItemOfBox(CPoint point) const
{
    BOOL bOutside = TRUE;
    const int nIndex = static_cast<int>(ItemFromPoint(point, bOutside));
    RECT rect {};
    if (bOutside || GetItemRect(nIndex, &rect) == LB_ERR)
        return -1;
    return point.x >= rect.left && point.x < rect.left + CHECK_COLUMN ? nIndex : -1;
}

void CCheckListBox::OnLButtonDown(UINT nFlags, CPoint point)
{
    const int nIndex = ItemOfBox(point);
    CListBox::OnLButtonDown(nFlags, point);
    Toggle(nIndex);
}

void CCheckListBox::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    const int nIndex = ItemOfBox(point);
    CListBox::OnLButtonDblClk(nFlags, point);
    Toggle(nIndex);
}

void CCheckListBox::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_SPACE && Toggle(GetCaretIndex()))
        return;
    CListBox::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CCheckListBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    DrawTextItem(lpDrawItemStruct, CHECK_MARGIN);
}

void CCheckListBox::DrawTextItem(LPDRAWITEMSTRUCT lpDrawItemStruct, int nTextIndent)
{
    const int nItem = static_cast<int>(lpDrawItemStruct->itemID);
    if (nItem < 0 || nItem >= GetCount())
        return;
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    RECT rect = lpDrawItemStruct->rcItem;
    if (lpDrawItemStruct->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
        const bool bEnabled = IsWindowEnabled() && IsEnabled(nItem);
        const bool bSelected = bEnabled && (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
        const COLORREF crBack = GetSysColor(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
        const COLORREF crText
            = !bEnabled ? DISABLED_TEXT : GetSysColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
        const COLORREF crOldText = pDC->SetTextColor(crText);
        const COLORREF crOldBack = pDC->SetBkColor(crBack);
        pDC->FillSolidRect(&rect, crBack);
        CString strText;
        GetText(nItem, strText);
        RECT text = rect;
        text.left += nTextIndent;
        pDC->DrawText(strText, &text, DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
        pDC->SetBkColor(crOldBack);
        pDC->SetTextColor(crOldText);
    }
    if (lpDrawItemStruct->itemAction & ODA_FOCUS)
        pDC->DrawFocusRect(&rect);
}

void CCheckListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    CClientDC dc(this);
    CFont* pOldFont = dc.SelectObject(GetFont());
    TEXTMETRIC metrics {};
    dc.GetTextMetrics(&metrics);
    dc.SelectObject(pOldFont);
    lpMeasureItemStruct->itemHeight = static_cast<UINT>(metrics.tmHeight);
}

BOOL CCheckListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_MEASUREITEM) {
        auto* pMeasure = reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam);
        MeasureItem(pMeasure);
        pMeasure->itemHeight = std::max<UINT>(pMeasure->itemHeight, CHECK_SIZE + CHECK_MARGIN);
        if (pResult)
            *pResult = TRUE;
        return TRUE;
    }
    if (message != WM_DRAWITEM)
        return CListBox::OnChildNotify(message, wParam, lParam, pResult);
    DRAWITEMSTRUCT draw = *reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
    const int nItem = static_cast<int>(draw.itemID);
    if (const CItemState* pState = State(nItem)) {
        if (draw.itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
            CDC* pDC = CDC::FromHandle(draw.hDC);
            RECT column { draw.rcItem.left, draw.rcItem.top, draw.rcItem.left + CHECK_COLUMN, draw.rcItem.bottom };
            pDC->FillSolidRect(&column, GetSysColor(COLOR_WINDOW));
            UINT nState = DFCS_BUTTONCHECK;
            if (pState->nCheck == 1)
                nState |= DFCS_CHECKED;
            else if (pState->nCheck == 2)
                nState = DFCS_BUTTON3STATE | DFCS_CHECKED;
            if (!pState->bEnabled || !IsWindowEnabled())
                nState |= DFCS_INACTIVE;
            RECT box = CheckBoxRect(draw.rcItem);
            pDC->DrawFrameControl(&box, DFC_BUTTON, nState);
        }
        draw.itemData = pState->dwData;
        draw.rcItem.left += CHECK_COLUMN;
    }
    DrawItem(&draw);
    if (pResult)
        *pResult = TRUE;
    return TRUE;
}
