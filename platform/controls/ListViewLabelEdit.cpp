#include "platform/controls/ListViewInternal.h"

#include "platform/controls/EditControl.h"
#include "platform/controls/LabelEditor.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Window.h"

#include <string>

namespace {

LRESULT NotifyLabelEdit(HWND hWnd, UINT nCode, int nRow, LPSTR pszText)
{
    const CListViewState* pState = ListViewState(hWnd);
    NMLVDISPINFO di {};
    di.item.mask = LVIF_TEXT | LVIF_PARAM;
    di.item.iItem = nRow;
    di.item.pszText = pszText;
    di.item.cchTextMax = pszText ? static_cast<int>(std::char_traits<char>::length(pszText)) + 1 : 0;
    di.item.lParam = pState->rows[static_cast<size_t>(nRow)].lParam;
    return SendNotify(hWnd, nCode, &di.hdr);
}

} // namespace

HWND EditLabel(HWND hWnd, int nRow)
{
    EndLabelEdit(hWnd, true);
    CListViewState* pState = ListViewSurvivor(hWnd);
    if (!pState || !IsRow(*pState, nRow))
        return nullptr;
    const unsigned nSerial = pState->rows[static_cast<size_t>(nRow)].nSerial;
    EnsureRowVisible(hWnd, nRow);
    std::string strText = RowText(hWnd, nRow, 0);
    if (!(pState = ListViewSurvivor(hWnd)) || (nRow = RowOfSerial(*pState, nSerial, nRow)) < 0)
        return nullptr;
    RECT rc {};
    RowRect(hWnd, *pState, nRow, LVIR_LABEL, &rc);
    HWND hEdit = CreateLabelEditor(hWnd, rc, ES_AUTOHSCROLL, strText.c_str(), pState->hFont, EndLabelEdit);
    if (!hEdit)
        return nullptr;
    pState->hEdit = hEdit;
    pState->nEditSerial = nSerial;
    // The editor exists while the parent decides, so it can limit or empty it.
    const LRESULT lRefused = NotifyLabelEdit(hWnd, LVN_BEGINLABELEDIT, nRow, strText.data());
    pState = ListViewSurvivor(hWnd);
    if (!pState || pState->hEdit != hEdit || !IsWindow(hEdit))
        return nullptr;
    if (lRefused || RowOfSerial(*pState, nSerial, nRow) < 0) {
        pState->hEdit = nullptr;
        DiscardLabelEditor(hEdit);
        return nullptr;
    }
    return OpenLabelEditor(hEdit);
}

void EndLabelEdit(HWND hWnd, bool bCommit)
{
    CListViewState* pState = ListViewSurvivor(hWnd);
    if (!pState || !pState->hEdit)
        return;
    HWND hEdit = pState->hEdit;
    const unsigned nSerial = pState->nEditSerial;
    std::string strText = ControlText(hEdit);
    // The list forgets the editor first: the handler may open a new one.
    pState->hEdit = nullptr;
    ReleaseLabelEditor(hEdit);
    ShowWindow(hEdit, SW_HIDE);
    const int nRow = RowOfSerial(*pState, nSerial, 0);
    if (nRow >= 0) {
        const LRESULT lKeep = NotifyLabelEdit(hWnd, LVN_ENDLABELEDIT, nRow, bCommit ? strText.data() : nullptr);
        pState = ListViewSurvivor(hWnd);
        const int nNow = pState ? RowOfSerial(*pState, nSerial, nRow) : -1;
        if (lKeep && bCommit && nNow >= 0) {
            LVITEM item {};
            item.iSubItem = 0;
            item.pszText = strText.data();
            SendMessage(hWnd, LVM_SETITEMTEXT, static_cast<WPARAM>(nNow), reinterpret_cast<LPARAM>(&item));
        }
    }
    if (IsWindow(hEdit))
        DestroyWindow(hEdit);
}
