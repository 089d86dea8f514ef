#include "ui/CEditableListCtrl.h"

#include "platform/base/TextFunctions.h"
#include "platform/framework/CEdit.h"
#include "platform/framework/MessageMap.h"

#include <algorithm>
#include <string_view>

IMPLEMENT_DYNAMIC(CEditableListCtrl, CListCtrlEx)

// clang-format off
BEGIN_MESSAGE_MAP(CEditableListCtrl, CListCtrlEx)
    ON_WM_DESTROY()
    ON_WM_LBUTTONDOWN()
    ON_NOTIFY_REFLECT(LVN_BEGINLABELEDIT, &CEditableListCtrl::OnBeginLabelEdit)
    ON_NOTIFY_REFLECT(LVN_ENDLABELEDIT, &CEditableListCtrl::OnEndLabelEdit)
    ON_NOTIFY_REFLECT(LVN_INSERTITEM, &CEditableListCtrl::OnInsertItem)
    ON_NOTIFY_REFLECT(LVN_DELETEITEM, &CEditableListCtrl::OnDeleteItem)
    ON_NOTIFY_REFLECT(LVN_KEYDOWN, &CEditableListCtrl::OnListKeyDown)
END_MESSAGE_MAP()
// clang-format on

namespace {

constexpr int NEW_ENTRY_ROW = 0;

std::string_view ViewOf(const CString& strText)
{
    return { static_cast<LPCTSTR>(strText), static_cast<std::size_t>(strText.GetLength()) };
}

} // namespace

CString CEditableListCtrl::CutToLimit(const CString& strText) const
{
    if (m_nEditLimit < 0)
        return strText;
    const std::string_view text = ViewOf(strText);
    std::size_t nPos = 0;
    for (int nChars = 0; nChars < m_nEditLimit && nPos < text.size(); ++nChars)
        nPos += Utf8CharLength(text, nPos);
    return nPos < text.size() ? CString(text.data(), static_cast<int>(nPos)) : strText;
}

/******************************************************************************
 * Sorting and fitting
 ******************************************************************************/

void CEditableListCtrl::ExchangeRows(int nRow1, int nRow2)
{
    LVITEM rows[2] {};
    CString texts[2] = { GetItemText(nRow1, 0), GetItemText(nRow2, 0) };
    for (int i = 0; i < 2; ++i) {
        rows[i].mask = LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
        rows[i].iItem = i == 0 ? nRow1 : nRow2;
        rows[i].stateMask = static_cast<UINT>(-1);
        GetItem(&rows[i]);
    }
    std::swap(rows[0].iItem, rows[1].iItem);
    for (int i = 0; i < 2; ++i) {
        rows[i].mask |= LVIF_TEXT;
        rows[i].pszText = const_cast<LPTSTR>(static_cast<LPCTSTR>(texts[i]));
        SetItem(&rows[i]);
    }
}

BOOL CEditableListCtrl::SortItems(BOOL bAscending, int nLow, int nHigh)
{
    if (nHigh == -1)
        nHigh = GetItemCount() - 1;
    if (nHigh <= nLow)
        return FALSE;
    // The pivot is a copy: exchanges move the middle row's text away.
    const CString strPivot = GetItemText((nLow + nHigh) / 2, 0);
    auto before = [&](int nRow) {
        const int nOrder = Utf8CompareNoCase(ViewOf(GetItemText(nRow, 0)), ViewOf(strPivot));
        return bAscending ? nOrder < 0 : nOrder > 0;
    };
    auto after = [&](int nRow) {
        const int nOrder = Utf8CompareNoCase(ViewOf(GetItemText(nRow, 0)), ViewOf(strPivot));
        return bAscending ? nOrder > 0 : nOrder < 0;
    };
    int nLeft = nLow;
    int nRight = nHigh;
    while (nLeft <= nRight) {
        while (nLeft < nHigh && before(nLeft))
            ++nLeft;
        while (nRight > nLow && after(nRight))
            --nRight;
        if (nLeft <= nRight) {
            if (GetItemText(nLeft, 0) != GetItemText(nRight, 0))
                ExchangeRows(nLeft, nRight);
            ++nLeft;
            --nRight;
        }
    }
    if (nLow < nRight)
        SortItems(bAscending, nLow, nRight);
    if (nLeft < nHigh)
        SortItems(bAscending, nLeft, nHigh);
    return TRUE;
}

void CEditableListCtrl::FitColumn(int nItem, LPCTSTR pszText)
{
    int nWidest = 0;
    for (int nRow = 0; nRow < GetItemCount(); ++nRow) {
        if (nRow == nItem && !pszText)
            continue;
        nWidest = std::max(nWidest, GetStringWidth(nRow == nItem ? CString(pszText) : GetItemText(nRow, 0)));
    }
    SetColumnWidth(0, nWidest + 2 * GetStringWidth(" "));
}

/******************************************************************************
 * Messages
 ******************************************************************************/

BOOL CEditableListCtrl::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN && GetFocusedItem() == NEW_ENTRY_ROW) {
        TranslateMessage(pMsg);
        DispatchMessage(pMsg);
        return TRUE;
    }
    return CListCtrlEx::PreTranslateMessage(pMsg);
}

void CEditableListCtrl::OnDestroy()
{
    m_bDestroying = TRUE;
    CListCtrlEx::OnDestroy();
}

void CEditableListCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    CListCtrlEx::OnLButtonDown(nFlags, point);
    if (HitTest(point) == NEW_ENTRY_ROW)
        EditLabel(NEW_ENTRY_ROW);
}

void CEditableListCtrl::OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult)
{
    const auto* pInfo = reinterpret_cast<NMLVDISPINFO*>(pNMHDR);
    if (pInfo->item.iItem == NEW_ENTRY_ROW) {
        if (CEdit* pEdit = GetEditControl()) {
            pEdit->SetWindowText("");
            if (m_nEditLimit != -1)
                pEdit->LimitText(m_nEditLimit);
        }
    }
    *pResult = 0;
}

void CEditableListCtrl::OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult)
{
    const auto* pInfo = reinterpret_cast<NMLVDISPINFO*>(pNMHDR);
    if (pInfo->item.iItem != NEW_ENTRY_ROW) {
        if (pInfo->item.pszText)
            FitColumn(pInfo->item.iItem, pInfo->item.pszText);
        *pResult = pInfo->item.pszText ? 1 : 0;
        return;
    }
    CString strWord(pInfo->item.pszText ? pInfo->item.pszText : "");
    strWord.Trim();
    if (!strWord.IsEmpty() && FindItemByText(strWord) == -1)
        InsertItem(1, strWord);
    SetItemState(NEW_ENTRY_ROW, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    *pResult = 0;
}

void CEditableListCtrl::OnInsertItem(NMHDR* pNMHDR, LRESULT* pResult)
{
    const int nRow = reinterpret_cast<NMLISTVIEW*>(pNMHDR)->iItem;
    const int nCount = GetItemCount();
    if (nRow == NEW_ENTRY_ROW) {
        // The word pushed the new-entry row down: they change places.
        const CString strEntry = nCount > 1 ? GetItemText(1, 0) : CString();
        if (!strEntry.IsEmpty()) {
            const CString strWord = CutToLimit(GetItemText(0, 0));
            SetItemText(0, 0, strEntry);
            SetItemText(1, 0, strWord);
        }
    } else if (m_nEditLimit != -1 && nCount >= 2) {
        const CString strWord = GetItemText(nRow, 0);
        const CString strCut = CutToLimit(strWord);
        if (strCut.GetLength() != strWord.GetLength())
            SetItemText(nRow, 0, strCut);
    }
    if (nCount > 2)
        SortItems(TRUE, 1);
    // Fitted from the first row on: the new-entry row and a first word show
    // in a column that started with no width.
    SetColumnWidth(0, LVSCW_AUTOSIZE);
    *pResult = 0;
}

void CEditableListCtrl::OnDeleteItem(NMHDR* pNMHDR, LRESULT* pResult)
{
    if (!m_bDestroying)
        FitColumn(reinterpret_cast<NMLISTVIEW*>(pNMHDR)->iItem, nullptr);
    *pResult = 0;
}

void CEditableListCtrl::OnListKeyDown(NMHDR* pNMHDR, LRESULT* pResult)
{
    const WORD wKey = reinterpret_cast<NMLVKEYDOWN*>(pNMHDR)->wVKey;
    *pResult = 0;
    if ((wKey == VK_RETURN || wKey == VK_SPACE || wKey == VK_RIGHT) && GetFocusedItem() == NEW_ENTRY_ROW) {
        EditLabel(NEW_ENTRY_ROW);
        return;
    }
    if (wKey != VK_DELETE)
        return;
    int nRow = GetFirstSelectedItem();
    while (nRow != -1) {
        if (nRow == NEW_ENTRY_ROW || GetItemCount() <= 1) {
            SetItemState(nRow, 0, LVIS_SELECTED);
            nRow = GetNextItem(nRow, LVNI_SELECTED);
        } else {
            DeleteItem(nRow);
            nRow = GetNextItem(nRow - 1, LVNI_SELECTED);
        }
    }
}
