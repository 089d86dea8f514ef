#include "platform/controls/TreeViewControl.h"

#include "platform/controls/LabelEditor.h"
#include "platform/controls/TreeViewInternal.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

namespace {

void OnDestroy(HWND hWnd)
{
    CTreeViewState* pState = TreeViewState(hWnd);
    pState->bDestroying = true;
    ReleaseLabelEditor(pState->hEdit); // destroyed with the tree, unannounced
    pState->hEdit = nullptr;
    DeleteAllTreeItems(hWnd);
    if (!(pState = TreeViewState(hWnd)))
        return;
    if (pState->hBoldFont)
        DeleteObject(pState->hBoldFont);
    pState->hBoldFont = nullptr;
}

void OnSetFont(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    CTreeViewState* pState = TreeViewState(hWnd);
    pState->hFont = reinterpret_cast<HFONT>(wParam);
    if (pState->hBoldFont)
        DeleteObject(pState->hBoldFont);
    pState->hBoldFont = nullptr;
    for (auto& [hItem, node] : pState->nodes)
        node.nTextWidth = -1;
    MeasureTreeRows(hWnd);
    LayoutTreeView(hWnd);
    if (LOWORD(lParam))
        InvalidateRect(hWnd, nullptr, TRUE);
}

LRESULT SetColor(HWND hWnd, COLORREF* pColor, LPARAM lParam)
{
    const COLORREF clrOld = *pColor;
    *pColor = static_cast<COLORREF>(lParam);
    InvalidateRect(hWnd, nullptr, TRUE);
    return static_cast<LRESULT>(static_cast<int>(clrOld));
}

LRESULT SetImageList(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    if (wParam != TVSIL_NORMAL && wParam != TVSIL_STATE)
        return 0;
    CTreeViewState* pState = TreeViewState(hWnd);
    HIMAGELIST hOld = pState->imageLists[wParam];
    pState->imageLists[wParam] = reinterpret_cast<HIMAGELIST>(lParam);
    MeasureTreeRows(hWnd);
    LayoutTreeView(hWnd);
    InvalidateRect(hWnd, nullptr, TRUE);
    return reinterpret_cast<LRESULT>(hOld);
}

void OnPaint(HWND hWnd, HDC hdcGiven)
{
    if (hdcGiven) {
        PaintTreeView(hWnd, hdcGiven);
        return;
    }
    PaintControl(hWnd, PaintTreeView);
}

} // namespace

LRESULT CALLBACK TreeViewWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    static constexpr CControlLifecycle LIFECYCLE { NewControlState<CTreeViewState>, nullptr, false };
    LRESULT lResult = 0;
    // Between creation and the end the life cycle leaves every message to
    // the tree, so the state is looked up once.
    CTreeViewState* pState = uMsg == WM_NCCREATE || uMsg == WM_NCDESTROY ? nullptr : TreeViewState(hWnd);
    if (!pState && HandleControlLifecycle(hWnd, uMsg, wParam, lParam, LIFECYCLE, &lResult))
        return lResult;
    switch (uMsg) {
    case WM_CREATE:
        MeasureTreeRows(hWnd);
        LayoutTreeView(hWnd);
        return 0;
    case WM_DESTROY:
        OnDestroy(hWnd);
        return 0;
    case WM_SETFONT:
        OnSetFont(hWnd, wParam, lParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(pState->hFont);
    case WM_SIZE:
    case WM_STYLECHANGED:
        LayoutTreeView(hWnd);
        InvalidateRect(hWnd, nullptr, TRUE);
        return 0;
    case WM_SETREDRAW:
        DefWindowProc(hWnd, uMsg, wParam, lParam);
        pState->bRedraw = wParam != 0;
        if (!wParam)
            return 0;
        if (pState->bLayoutDue)
            LayoutTreeView(hWnd);
        InvalidateRect(hWnd, nullptr, TRUE);
        return 0;
    case WM_ERASEBKGND: {
        RECT rc {};
        GetClientRect(hWnd, &rc);
        const COLORREF clrBk
            = pState->clrBk == CTreeViewState::CLR_DEFAULT_TREE ? GetSysColor(COLOR_WINDOW) : pState->clrBk;
        HBRUSH hBrush = CreateSolidBrush(clrBk);
        FillRect(reinterpret_cast<HDC>(wParam), &rc, hBrush);
        DeleteObject(hBrush);
        return TRUE;
    }
    case WM_PAINT:
        OnPaint(hWnd, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        pState->bFocus = uMsg == WM_SETFOCUS;
        InvalidateItem(hWnd, pState->hCaret);
        NMHDR nm {};
        SendNotify(hWnd, uMsg == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS, &nm);
        return 0;
    }
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case TVM_SETIMAGELIST:
        return SetImageList(hWnd, wParam, lParam);
    case TVM_GETIMAGELIST:
        return wParam == TVSIL_NORMAL || wParam == TVSIL_STATE ? reinterpret_cast<LRESULT>(pState->imageLists[wParam])
                                                               : 0;
    case TVM_SETBKCOLOR:
        return SetColor(hWnd, &pState->clrBk, lParam);
    case TVM_SETTEXTCOLOR:
        return SetColor(hWnd, &pState->clrText, lParam);
    case TVM_GETBKCOLOR:
        return static_cast<LRESULT>(static_cast<int>(pState->clrBk));
    case TVM_GETTEXTCOLOR:
        return static_cast<LRESULT>(static_cast<int>(pState->clrText));
    case TVM_GETINDENT:
        return pState->nIndent;
    case TVM_SETINDENT:
        pState->nIndent = std::max(static_cast<int>(wParam), 0);
        LayoutTreeView(hWnd);
        InvalidateRect(hWnd, nullptr, TRUE);
        return 0;
    case TVM_EXPAND:
        return ExpandItem(hWnd, reinterpret_cast<HTREEITEM>(lParam), static_cast<UINT>(wParam), false);
    case TVM_SELECTITEM: {
        auto hItem = reinterpret_cast<HTREEITEM>(lParam);
        if (hItem && !FindNode(*pState, hItem))
            return FALSE;
        if (wParam == TVGN_CARET)
            return SelectTreeItem(hWnd, hItem, TVC_UNKNOWN);
        if (wParam == TVGN_DROPHILITE) {
            SetDropHilite(hWnd, hItem);
            return TRUE;
        }
        if (wParam == TVGN_FIRSTVISIBLE && hItem) {
            EnsureItemVisible(hWnd, hItem);
            if ((pState = TreeViewSurvivor(hWnd)))
                SetTreeTop(hWnd, VisibleIndex(*pState, hItem));
            return TRUE;
        }
        return FALSE;
    }
    case TVM_ENSUREVISIBLE:
        return EnsureItemVisible(hWnd, reinterpret_cast<HTREEITEM>(lParam));
    case TVM_EDITLABEL:
        return reinterpret_cast<LRESULT>(EditTreeLabel(hWnd, reinterpret_cast<HTREEITEM>(lParam)));
    case TVM_GETEDITCONTROL:
        return reinterpret_cast<LRESULT>(pState->hEdit);
    case TVM_ENDEDITLABELNOW:
        EndTreeLabelEdit(hWnd, !wParam);
        return TRUE;
    default:
        if (HandleTreeItemMessage(hWnd, *pState, uMsg, wParam, lParam, &lResult)
            || HandleTreeLayoutMessage(hWnd, uMsg, wParam, lParam, &lResult))
            return lResult;
        if (HandleTreeViewInput(hWnd, uMsg, wParam, lParam))
            return 0;
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    }
}
