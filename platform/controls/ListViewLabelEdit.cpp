#include "platform/controls/ListViewInternal.h"

#include "platform/controls/EditControl.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Window.h"

#include <string>

namespace {

// The editor's procedure in front of the edit control's: Enter commits, Esc
// cancels and losing the focus commits. It wants every key, so a hosting
// dialog keeps Enter and Esc away from its buttons.
LRESULT CALLBACK LabelEditProc(HWND hEdit, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    HWND hList = GetParent(hEdit);
    CListViewState* pState = ListViewSurvivor(hList);
    const bool bOurs = pState && pState->hEdit == hEdit;
    const WNDPROC pfnEditProc = pState ? pState->pfnEditProc : nullptr;
    if (bOurs && uMsg == WM_GETDLGCODE)
        return DLGC_WANTALLKEYS | CallWindowProc(pfnEditProc, hEdit, uMsg, wParam, lParam);
    if (bOurs && uMsg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
        EndLabelEdit(hList, wParam == VK_RETURN);
        return 0;
    }
    if (bOurs && uMsg == WM_CHAR && (wParam == '\r' || wParam == 0x1B))
        return 0;
    const LRESULT lResult = CallWindowProc(pfnEditProc ? pfnEditProc : EditWndProc, hEdit, uMsg, wParam, lParam);
    if (bOurs && uMsg == WM_KILLFOCUS)
        EndLabelEdit(hList, true);
    return lResult;
}

std::string WindowText(HWND hWnd)
{
    std::string strText(static_cast<size_t>(GetWindowTextLength(hWnd)) + 1, '\0');
    strText.resize(static_cast<size_t>(GetWindowText(hWnd, strText.data(), static_cast<int>(strText.size()))));
    return strText;
}

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
    HWND hEdit = CreateWindowEx(0, "Edit", strText.c_str(), WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, rc.left, rc.top,
        rc.right - rc.left, rc.bottom - rc.top, hWnd, nullptr, nullptr, nullptr);
    if (!hEdit)
        return nullptr;
    SendMessage(hEdit, WM_SETFONT, reinterpret_cast<WPARAM>(pState->hFont), FALSE);
    pState->hEdit = hEdit;
    pState->nEditSerial = nSerial;
    pState->pfnEditProc
        = reinterpret_cast<WNDPROC>(SetWindowLongPtr(hEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LabelEditProc)));
    // The editor exists while the parent decides, so it can limit or empty it.
    const LRESULT lRefused = NotifyLabelEdit(hWnd, LVN_BEGINLABELEDIT, nRow, strText.data());
    pState = ListViewSurvivor(hWnd);
    if (!pState || pState->hEdit != hEdit || !IsWindow(hEdit))
        return nullptr;
    if (lRefused || RowOfSerial(*pState, nSerial, nRow) < 0) {
        pState->hEdit = nullptr;
        DestroyWindow(hEdit);
        return nullptr;
    }
    SendMessage(hEdit, EM_SETSEL, 0, -1);
    ShowWindow(hEdit, SW_SHOW);
    SetFocus(hEdit);
    return hEdit;
}

void EndLabelEdit(HWND hWnd, bool bCommit)
{
    CListViewState* pState = ListViewSurvivor(hWnd);
    if (!pState || !pState->hEdit)
        return;
    HWND hEdit = pState->hEdit;
    const unsigned nSerial = pState->nEditSerial;
    std::string strText = WindowText(hEdit);
    // The list forgets the editor first: the handler may open a new one.
    pState->hEdit = nullptr;
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
