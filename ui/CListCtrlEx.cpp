#include "ui/CListCtrlEx.h"

#include "platform/framework/CEdit.h"
#include "platform/framework/CImageList.h"
#include "platform/framework/MessageMap.h"

IMPLEMENT_DYNAMIC(CListCtrlEx, CListCtrl)

// clang-format off
BEGIN_MESSAGE_MAP(CListCtrlEx, CListCtrl)
    ON_NOTIFY_REFLECT(NM_CLICK, &CListCtrlEx::OnClick)
    ON_NOTIFY_REFLECT(NM_DBLCLK, &CListCtrlEx::OnDblClk)
    ON_WM_KILLFOCUS()
    ON_WM_SETFOCUS()
    ON_WM_KEYDOWN()
    ON_WM_SYSKEYUP()
    ON_WM_DESTROY()
END_MESSAGE_MAP()
// clang-format on

namespace {

constexpr int TITLE_MARGIN = 15; // added to a fitted column's title width

} // namespace

int CListCtrlEx::InsertColumnFit(LPCTSTR pszTitle, int nColumn, int nWidth, int nSubItem, UINT nMask, int nFormat)
{
    LVCOLUMN column {};
    column.mask = nMask;
    column.fmt = nFormat;
    column.cx = nWidth == -1 ? GetStringWidth(pszTitle) + TITLE_MARGIN : nWidth;
    column.pszText = const_cast<LPTSTR>(pszTitle);
    if (nMask & LVCF_SUBITEM)
        column.iSubItem = nSubItem == -1 ? nColumn : nSubItem;
    return InsertColumn(nColumn, &column);
}

int CListCtrlEx::InsertOrSetItem(int nItem, int nSubItem, LPCTSTR pszText, int nImage)
{
    LVITEM item {};
    item.mask = LVIF_TEXT | (nImage != -1 ? LVIF_IMAGE : 0);
    item.iItem = nItem;
    item.iSubItem = nSubItem;
    item.pszText = const_cast<LPTSTR>(pszText);
    item.iImage = nImage;
    if (nSubItem == 0)
        return InsertItem(&item);
    return SetItem(&item);
}

int CListCtrlEx::GetFocusedItem() const
{
    return GetNextItem(-1, LVNI_FOCUSED);
}

int CListCtrlEx::GetFirstSelectedItem() const
{
    return GetNextItem(-1, LVNI_SELECTED);
}

int CListCtrlEx::FindItemByText(const CString& strText) const
{
    LVFINDINFO find {};
    find.flags = LVFI_STRING;
    find.psz = strText;
    return FindItem(&find, -1);
}

void CListCtrlEx::SendCommand(UINT nCommand)
{
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_COMMAND, nCommand, 0);
}

void CListCtrlEx::OnClick(NMHDR* /*pNMHDR*/, LRESULT* pResult)
{
    *pResult = 0;
    SendCommand(CMD_CLICK);
}

void CListCtrlEx::OnDblClk(NMHDR* /*pNMHDR*/, LRESULT* pResult)
{
    *pResult = 0;
    SendCommand(CMD_DOUBLE_CLICK);
}

void CListCtrlEx::OnKillFocus(CWnd* pNewWnd)
{
    m_nLastFocused = GetFocusedItem();
    if (m_nLastFocused != -1)
        SetItemState(m_nLastFocused, 0, LVIS_FOCUSED);
    CListCtrl::OnKillFocus(pNewWnd);
}

void CListCtrlEx::OnSetFocus(CWnd* pOldWnd)
{
    CListCtrl::OnSetFocus(pOldWnd);
    const int nFocused = GetFocusedItem();
    if (nFocused != -1)
        m_nLastFocused = nFocused;
    else if (m_nLastFocused != -1 && m_nLastFocused < GetItemCount())
        SetItemState(m_nLastFocused, LVIS_FOCUSED, LVIS_FOCUSED);
}

void CListCtrlEx::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    CListCtrl::OnKeyDown(nChar, nRepCnt, nFlags);
    if (nChar == VK_UP || nChar == VK_DOWN)
        SendCommand(CMD_CLICK);
    else if (nChar == VK_F2 && GetFocusedItem() != -1)
        EditLabel(GetFocusedItem());
}

void CListCtrlEx::OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_RETURN)
        SendCommand(CMD_PROPERTIES);
    CListCtrl::OnSysKeyUp(nChar, nRepCnt, nFlags);
}

void CListCtrlEx::OnDestroy()
{
    for (int nList : { LVSIL_SMALL, LVSIL_NORMAL }) {
        if (CImageList* pList = GetImageList(nList)) {
            SetImageList(nullptr, nList);
            pList->DeleteImageList();
        }
    }
    CListCtrl::OnDestroy();
}
