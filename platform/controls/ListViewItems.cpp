#include "platform/controls/ListViewInternal.h"

#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <cstring>

namespace {

// The states whose every change the parent hears of, inserts included.
constexpr UINT ANNOUNCED_STATES = LVIS_FOCUSED | LVIS_SELECTED;

// Changes what the mask names besides states, announced as LVN_ITEMCHANGED.
BOOL SetItem(HWND hWnd, const LVITEM* pItem)
{
    CListViewState* pState = ListViewState(hWnd);
    if (!pItem || !IsRow(*pState, pItem->iItem) || pItem->iSubItem < 0)
        return FALSE;
    const int nRow = pItem->iItem;
    const UINT nOther = pItem->mask & (LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM);
    if (nOther) {
        const unsigned nSerial = pState->rows[static_cast<size_t>(nRow)].nSerial;
        if (NotifyListView(hWnd, LVN_ITEMCHANGING, nRow, 0, 0, nOther))
            return FALSE;
        pState = ListViewSurvivor(hWnd);
        const int nNow = pState ? RowOfSerial(*pState, nSerial, nRow) : -1;
        if (nNow < 0)
            return FALSE;
        CListViewRow& row = pState->rows[static_cast<size_t>(nNow)];
        if (pItem->mask & LVIF_TEXT)
            SetCellText(row, pItem->iSubItem, pItem->pszText);
        if ((pItem->mask & LVIF_IMAGE) && pItem->iSubItem == 0)
            row.iImage = pItem->iImage;
        if ((pItem->mask & LVIF_PARAM) && pItem->iSubItem == 0)
            row.lParam = pItem->lParam;
        InvalidateRow(hWnd, *pState, nNow);
        NotifyListView(hWnd, LVN_ITEMCHANGED, nNow, 0, 0, nOther);
        if (!(pState = ListViewSurvivor(hWnd)) || RowOfSerial(*pState, nSerial, nNow) < 0)
            return FALSE;
        if (pItem->mask & LVIF_STATE)
            return ChangeRowState(hWnd, RowOfSerial(*pState, nSerial, nNow), pItem->state, pItem->stateMask);
        return TRUE;
    }
    if (pItem->mask & LVIF_STATE)
        return ChangeRowState(hWnd, nRow, pItem->state, pItem->stateMask);
    return TRUE;
}

LRESULT InsertItem(HWND hWnd, CListViewState* pState, const LVITEM* pItem)
{
    if (!pItem || pItem->iItem < 0 || pItem->iSubItem != 0)
        return -1;
    int nRow = std::min(pItem->iItem, RowCount(*pState));
    CListViewRow row;
    row.nSerial = pState->nNextSerial++;
    if (pItem->mask & LVIF_TEXT)
        SetCellText(row, 0, pItem->pszText);
    if (pItem->mask & LVIF_IMAGE)
        row.iImage = pItem->iImage;
    if (pItem->mask & LVIF_PARAM)
        row.lParam = pItem->lParam;
    // Focus and selection come as changes of the new row, announced before
    // LVN_INSERTITEM; the other states it simply has.
    const UINT nAnnounced = (pItem->mask & LVIF_STATE) ? pItem->state & pItem->stateMask & ANNOUNCED_STATES : 0;
    if (pItem->mask & LVIF_STATE)
        row.nState = pItem->state & pItem->stateMask & ~ANNOUNCED_STATES;
    const unsigned nSerial = row.nSerial;
    pState->rows.insert(pState->rows.begin() + nRow, std::move(row));
    ++pState->nReorders;
    if (pState->nAnchor >= nRow)
        ++pState->nAnchor;
    InvalidateRowsFrom(hWnd, *pState, nRow);
    RowsChanged(hWnd, *pState);
    if (nAnnounced) {
        ChangeRowState(hWnd, nRow, nAnnounced, nAnnounced);
        pState = ListViewSurvivor(hWnd);
        if (!pState || (nRow = RowOfSerial(*pState, nSerial, nRow)) < 0)
            return -1;
    }
    NotifyListView(hWnd, LVN_INSERTITEM, nRow);
    return nRow;
}

BOOL DeleteItem(HWND hWnd, int nRow)
{
    CListViewState* pState = ListViewState(hWnd);
    if (!IsRow(*pState, nRow))
        return FALSE;
    const unsigned nSerial = pState->rows[static_cast<size_t>(nRow)].nSerial;
    // The parent sees the row while it still exists.
    NotifyListView(hWnd, LVN_DELETEITEM, nRow);
    pState = ListViewSurvivor(hWnd);
    const int nNow = pState ? RowOfSerial(*pState, nSerial, nRow) : -1;
    if (nNow < 0)
        return FALSE;
    const bool bFocused = (pState->rows[static_cast<size_t>(nNow)].nState & LVIS_FOCUSED) != 0;
    pState->rows.erase(pState->rows.begin() + nNow);
    ++pState->nReorders;
    if (pState->nAnchor > nNow)
        --pState->nAnchor;
    else if (pState->nAnchor == nNow)
        pState->nAnchor = -1;
    InvalidateRowsFrom(hWnd, *pState, nNow);
    SetTopRow(hWnd, *pState, pState->nTop);
    RowsChanged(hWnd, *pState);
    // The focus passes to the row that took the index, else to the new last row.
    if (bFocused && (pState = ListViewSurvivor(hWnd)) && RowCount(*pState) > 0)
        ChangeRowState(hWnd, std::min(nNow, RowCount(*pState) - 1), LVIS_FOCUSED, LVIS_FOCUSED);
    return TRUE;
}

int GetNextItem(const CListViewState& state, int nStart, UINT nFlags)
{
    UINT nWanted = 0;
    if (nFlags & LVNI_FOCUSED)
        nWanted |= LVIS_FOCUSED;
    if (nFlags & LVNI_SELECTED)
        nWanted |= LVIS_SELECTED;
    if (nFlags & LVNI_CUT)
        nWanted |= LVIS_CUT;
    if (nFlags & LVNI_DROPHILITED)
        nWanted |= LVIS_DROPHILITED;
    const int nStep = (nFlags & LVNI_ABOVE) ? -1 : 1;
    if (nStart < -1 || nStart >= RowCount(state))
        return -1;
    for (int nRow = nStart == -1 && nStep < 0 ? RowCount(state) - 1 : nStart + nStep; IsRow(state, nRow);
         nRow += nStep) {
        if ((state.rows[static_cast<size_t>(nRow)].nState & nWanted) == nWanted)
            return nRow;
    }
    return -1;
}

} // namespace

LRESULT NotifyListView(HWND hWnd, UINT nCode, int nRow, UINT uNewState, UINT uOldState, UINT uChanged, POINT ptAction)
{
    const CListViewState* pState = ListViewState(hWnd);
    NMLISTVIEW nm {};
    nm.iItem = nRow;
    nm.uNewState = uNewState;
    nm.uOldState = uOldState;
    nm.uChanged = uChanged;
    nm.ptAction = ptAction;
    if (pState && IsRow(*pState, nRow))
        nm.lParam = pState->rows[static_cast<size_t>(nRow)].lParam;
    return SendNotify(hWnd, nCode, &nm.hdr);
}

int FocusedRow(const CListViewState& state)
{
    for (size_t i = 0; i < state.rows.size(); ++i) {
        if (state.rows[i].nState & LVIS_FOCUSED)
            return static_cast<int>(i);
    }
    return -1;
}

BOOL ChangeRowState(HWND hWnd, int nRow, UINT nState, UINT nMask)
{
    CListViewState* pState = ListViewState(hWnd);
    if (!pState || !IsRow(*pState, nRow))
        return FALSE;
    const unsigned nSerial = pState->rows[static_cast<size_t>(nRow)].nSerial;
    const UINT nOld = pState->rows[static_cast<size_t>(nRow)].nState;
    const UINT nNew = (nOld & ~nMask) | (nState & nMask);
    if (nNew == nOld)
        return TRUE;
    if (NotifyListView(hWnd, LVN_ITEMCHANGING, nRow, nNew, nOld, LVIF_STATE))
        return FALSE;
    if ((nNew & LVIS_FOCUSED) && !(nOld & LVIS_FOCUSED)) {
        // The focus leaves its old row first.
        pState = ListViewSurvivor(hWnd);
        const int nFocused = pState ? FocusedRow(*pState) : -1;
        if (nFocused >= 0 && nFocused != RowOfSerial(*pState, nSerial, nRow))
            ChangeRowState(hWnd, nFocused, 0, LVIS_FOCUSED);
    }
    if ((nNew & LVIS_SELECTED) && !(nOld & LVIS_SELECTED) && (ListViewStyle(hWnd) & LVS_SINGLESEL)) {
        // A single-selection list keeps one selected row: the others lose it first.
        for (int nOther = -1; (pState = ListViewSurvivor(hWnd));) {
            nOther = GetNextItem(*pState, nOther, LVNI_SELECTED);
            if (nOther < 0)
                break;
            if (pState->rows[static_cast<size_t>(nOther)].nSerial != nSerial
                && !ChangeRowState(hWnd, nOther, 0, LVIS_SELECTED))
                return FALSE; // refused: it stays the selected row
        }
    }
    pState = ListViewSurvivor(hWnd);
    const int nNow = pState ? RowOfSerial(*pState, nSerial, nRow) : -1;
    if (nNow < 0)
        return FALSE;
    CListViewRow& row = pState->rows[static_cast<size_t>(nNow)];
    const UINT nBefore = row.nState;
    row.nState = (nBefore & ~nMask) | (nState & nMask);
    InvalidateRow(hWnd, *pState, nNow);
    NotifyListView(hWnd, LVN_ITEMCHANGED, nNow, row.nState, nBefore, LVIF_STATE);
    return TRUE;
}

BOOL ChangeAllRowStates(HWND hWnd, UINT nState, UINT nMask)
{
    CListViewState* pState = ListViewState(hWnd);
    if ((nState & nMask & LVIS_SELECTED) && (ListViewStyle(hWnd) & LVS_SINGLESEL))
        return FALSE; // one row at most may be selected
    std::vector<unsigned> serials;
    serials.reserve(pState->rows.size());
    for (const CListViewRow& row : pState->rows)
        serials.push_back(row.nSerial);
    for (size_t i = 0; i < serials.size(); ++i) {
        pState = ListViewSurvivor(hWnd);
        if (!pState)
            return FALSE;
        const int nRow = RowOfSerial(*pState, serials[i], static_cast<int>(i));
        if (nRow >= 0)
            ChangeRowState(hWnd, nRow, nState, nMask);
    }
    return TRUE;
}

void DeleteAllRows(HWND hWnd)
{
    CListViewState* pState = ListViewState(hWnd);
    NMLISTVIEW nm {};
    nm.iItem = -1;
    const bool bEach = SendNotify(hWnd, LVN_DELETEALLITEMS, &nm.hdr) == 0;
    if (!(pState = ListViewSurvivor(hWnd)))
        return;
    if (bEach) {
        std::vector<unsigned> serials;
        for (const CListViewRow& row : pState->rows)
            serials.push_back(row.nSerial);
        for (size_t i = 0; i < serials.size(); ++i) {
            const int nRow = RowOfSerial(*pState, serials[i], static_cast<int>(i));
            if (nRow >= 0)
                NotifyListView(hWnd, LVN_DELETEITEM, nRow);
            if (!(pState = ListViewSurvivor(hWnd)))
                return;
        }
    }
    pState->rows.clear();
    ++pState->nReorders;
    pState->nTop = 0;
    pState->nAnchor = -1;
    if (!pState->bDestroying) {
        InvalidateRect(hWnd, nullptr, TRUE);
        LayoutListView(hWnd);
    }
}

BOOL HandleItemMessage(HWND hWnd, CListViewState* pState, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult)
{
    const auto nRow = static_cast<int>(static_cast<INT_PTR>(wParam));
    auto* pItem = reinterpret_cast<LVITEM*>(lParam);
    switch (uMsg) {
    case LVM_GETITEMCOUNT:
        *plResult = RowCount(*pState);
        return TRUE;
    case LVM_SETITEMCOUNT:
        pState->rows.reserve(std::min<size_t>(wParam, 1u << 24));
        *plResult = TRUE;
        return TRUE;
    case LVM_INSERTITEM:
        *plResult = InsertItem(hWnd, pState, pItem);
        return TRUE;
    case LVM_DELETEITEM:
        *plResult = DeleteItem(hWnd, nRow);
        return TRUE;
    case LVM_DELETEALLITEMS:
        DeleteAllRows(hWnd);
        *plResult = TRUE;
        return TRUE;
    case LVM_GETITEM:
        *plResult = GetRowItem(hWnd, pItem);
        return TRUE;
    case LVM_SETITEM:
        *plResult = SetItem(hWnd, pItem);
        return TRUE;
    case LVM_GETITEMTEXT: {
        if (!pItem || !pItem->pszText || pItem->cchTextMax <= 0 || !IsRow(*pState, nRow)) {
            *plResult = 0;
            return TRUE;
        }
        LVITEM item = *pItem;
        item.mask = LVIF_TEXT;
        item.iItem = nRow;
        *plResult = GetRowItem(hWnd, &item) ? static_cast<LRESULT>(std::strlen(pItem->pszText)) : 0;
        return TRUE;
    }
    case LVM_SETITEMTEXT: {
        if (!pItem) {
            *plResult = FALSE;
            return TRUE;
        }
        LVITEM item {};
        item.mask = LVIF_TEXT;
        item.iItem = nRow;
        item.iSubItem = pItem->iSubItem;
        item.pszText = pItem->pszText;
        *plResult = SetItem(hWnd, &item);
        return TRUE;
    }
    case LVM_GETITEMSTATE:
        *plResult
            = IsRow(*pState, nRow) ? pState->rows[static_cast<size_t>(nRow)].nState & static_cast<UINT>(lParam) : 0;
        return TRUE;
    case LVM_SETITEMSTATE:
        if (!pItem) {
            *plResult = FALSE;
        } else if (nRow == -1) {
            *plResult = ChangeAllRowStates(hWnd, pItem->state, pItem->stateMask);
        } else {
            *plResult = ChangeRowState(hWnd, nRow, pItem->state, pItem->stateMask);
        }
        return TRUE;
    case LVM_GETNEXTITEM:
        *plResult = GetNextItem(*pState, nRow, static_cast<UINT>(lParam));
        return TRUE;
    case LVM_GETSELECTEDCOUNT:
        *plResult = std::count_if(pState->rows.begin(), pState->rows.end(),
            [](const CListViewRow& row) { return (row.nState & LVIS_SELECTED) != 0; });
        return TRUE;
    default:
        return FALSE;
    }
}
