#include "platform/controls/TreeViewInternal.h"

#include "platform/controls/EditControl.h"
#include "platform/controls/LabelEditor.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Window.h"

#include <string>

namespace {

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
    const RECT rcEdit { parts.xLabel, parts.rcRow.top, parts.xLabel + nWidth, parts.rcRow.bottom };
    HWND hEdit = CreateLabelEditor(hWnd, rcEdit, ES_AUTOHSCROLL, strText.c_str(), pState->hFont, EndTreeLabelEdit);
    if (!hEdit)
        return nullptr;
    pState->hEdit = hEdit;
    pState->hEditItem = hItem;
    // The editor exists while the parent decides, so it can limit it.
    const LRESULT lRefused = NotifyLabelEdit(hWnd, TVN_BEGINLABELEDIT, hItem, strText.data());
    pState = TreeViewSurvivor(hWnd);
    if (!pState || pState->hEdit != hEdit || !IsWindow(hEdit))
        return nullptr;
    if (lRefused || !FindNode(*pState, hItem)) {
        pState->hEdit = nullptr;
        pState->hEditItem = nullptr;
        DiscardLabelEditor(hEdit);
        return nullptr;
    }
    return OpenLabelEditor(hEdit);
}

void EndTreeLabelEdit(HWND hWnd, bool bCommit)
{
    CTreeViewState* pState = TreeViewSurvivor(hWnd);
    if (!pState || !pState->hEdit)
        return;
    HWND hEdit = pState->hEdit;
    const HTREEITEM hItem = pState->hEditItem;
    std::string strText = ControlText(hEdit);
    // The tree forgets the editor first: the handler may open a new one or delete the item.
    pState->hEdit = nullptr;
    pState->hEditItem = nullptr;
    ReleaseLabelEditor(hEdit);
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
