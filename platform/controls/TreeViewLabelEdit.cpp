#include "platform/controls/TreeViewInternal.h"

#include "platform/controls/EditControl.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Window.h"

#include <string>

namespace {

// The editor's procedure in front of the edit control's: Enter commits, Esc
// cancels and losing the focus commits; it wants every key, so a hosting
// dialog keeps Enter and Esc away from its buttons.
LRESULT CALLBACK TreeLabelEditProc(HWND hEdit, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    HWND hTree = GetParent(hEdit);
    CTreeViewState* pState = TreeViewSurvivor(hTree);
    const bool bOurs = pState && pState->hEdit == hEdit;
    const WNDPROC pfnEditProc = pState ? pState->pfnEditProc : nullptr;
    if (bOurs && uMsg == WM_GETDLGCODE)
        return DLGC_WANTALLKEYS | CallWindowProc(pfnEditProc, hEdit, uMsg, wParam, lParam);
    if (bOurs && uMsg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
        EndTreeLabelEdit(hTree, wParam == VK_RETURN);
        return 0;
    }
    if (bOurs && uMsg == WM_CHAR && (wParam == '\r' || wParam == 0x1B))
        return 0;
    const LRESULT lResult = CallWindowProc(pfnEditProc ? pfnEditProc : EditWndProc, hEdit, uMsg, wParam, lParam);
    if (bOurs && uMsg == WM_KILLFOCUS)
        EndTreeLabelEdit(hTree, true);
    return lResult;
}

std::string WindowText(HWND hWnd)
{
    std::string strText(static_cast<size_t>(GetWindowTextLength(hWnd)) + 1, '\0');
    strText.resize(static_cast<size_t>(GetWindowText(hWnd, strText.data(), static_cast<int>(strText.size()))));
    return strText;
}

LRESULT NotifyLabelEdit(HWND hWnd, UINT nCode, HTREEITEM hItem, LPSTR pszText)
{
    CTreeNode* pNode = FindNode(*TreeViewState(hWnd), hItem);
    NMTVDISPINFO di {};
    di.item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
    di.item.hItem = hItem;
    di.item.state = pNode->nState;
    di.item.lParam = pNode->lParam;
    di.item.pszText = pszText;
    di.item.cchTextMax = pszText ? static_cast<int>(std::char_traits<char>::length(pszText)) + 1 : 0;
    return SendNotify(hWnd, nCode, &di.hdr);
}

} // namespace

HWND EditTreeLabel(HWND hWnd, HTREEITEM hItem)
{
    EndTreeLabelEdit(hWnd, true);
    if (!NodeSurvivor(hWnd, hItem))
        return nullptr;
    EnsureItemVisible(hWnd, hItem);
    std::string strText;
    CTreeRowParts parts {};
    if (!ItemText(hWnd, hItem, &strText) || !RowParts(hWnd, hItem, &parts))
        return nullptr;
    CTreeViewState* pState = TreeViewState(hWnd);
    RECT rcClient {};
    GetClientRect(hWnd, &rcClient);
    const int nWidth = std::max<int>(parts.xLabelEnd - parts.xLabel + 20, rcClient.right - parts.xLabel);
    HWND hEdit = CreateWindowEx(0, "Edit", strText.c_str(), WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, parts.xLabel,
        parts.rcRow.top, nWidth, parts.rcRow.bottom - parts.rcRow.top, hWnd, nullptr, nullptr, nullptr);
    if (!hEdit)
        return nullptr;
    SendMessage(hEdit, WM_SETFONT, reinterpret_cast<WPARAM>(pState->hFont), FALSE);
    pState->hEdit = hEdit;
    pState->hEditItem = hItem;
    pState->pfnEditProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(hEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TreeLabelEditProc)));
    // The editor exists while the parent decides, so it can limit it.
    const LRESULT lRefused = NotifyLabelEdit(hWnd, TVN_BEGINLABELEDIT, hItem, strText.data());
    pState = TreeViewSurvivor(hWnd);
    if (!pState || pState->hEdit != hEdit || !IsWindow(hEdit))
        return nullptr;
    if (lRefused || !FindNode(*pState, hItem)) {
        pState->hEdit = nullptr;
        pState->hEditItem = nullptr;
        DestroyWindow(hEdit);
        return nullptr;
    }
    SendMessage(hEdit, EM_SETSEL, 0, -1);
    ShowWindow(hEdit, SW_SHOW);
    SetFocus(hEdit);
    return hEdit;
}

void EndTreeLabelEdit(HWND hWnd, bool bCommit)
{
    CTreeViewState* pState = TreeViewSurvivor(hWnd);
    if (!pState || !pState->hEdit)
        return;
    HWND hEdit = pState->hEdit;
    const HTREEITEM hItem = pState->hEditItem;
    std::string strText = WindowText(hEdit);
    // The tree forgets the editor first: the handler may open a new one or delete the item.
    pState->hEdit = nullptr;
    pState->hEditItem = nullptr;
    ShowWindow(hEdit, SW_HIDE);
    if (FindNode(*pState, hItem)) {
        const LRESULT lKeep = NotifyLabelEdit(hWnd, TVN_ENDLABELEDIT, hItem, bCommit ? strText.data() : nullptr);
        if (lKeep && bCommit && NodeSurvivor(hWnd, hItem)) {
            TVITEM item {};
            item.mask = TVIF_TEXT;
            item.hItem = hItem;
            item.pszText = strText.data();
            SendMessage(hWnd, TVM_SETITEM, 0, reinterpret_cast<LPARAM>(&item));
        }
    }
    if (IsWindow(hEdit))
        DestroyWindow(hEdit);
}
