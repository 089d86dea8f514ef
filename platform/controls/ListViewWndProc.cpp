#include "platform/controls/ListViewControl.h"

#include "platform/controls/HeaderControl.h"
#include "platform/controls/LabelEditor.h"
#include "platform/controls/ListViewInternal.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

namespace {

void OnCreate(HWND hWnd)
{
    CListViewState* pState = ListViewState(hWnd);
    const DWORD dwStyle = ListViewStyle(hWnd);
    const DWORD dwHeaderStyle = WS_CHILD | HDS_HORZ | ((dwStyle & LVS_NOSORTHEADER) ? 0 : HDS_BUTTONS);
    pState->hHeader = CreateWindowEx(0, WC_HEADER, "", dwHeaderStyle, 0, 0, 0, 0, hWnd, nullptr, nullptr, nullptr);
    MeasureRows(hWnd);
    LayoutListView(hWnd);
}

void OnDestroy(HWND hWnd)
{
    CListViewState* pState = ListViewState(hWnd);
    pState->bDestroying = true;
    ReleaseLabelEditor(pState->hEdit); // destroyed with the list, unannounced
    pState->hEdit = nullptr;
    DeleteAllRows(hWnd);
    if (!(pState = ListViewState(hWnd)) || (ListViewStyle(hWnd) & LVS_SHAREIMAGELISTS))
        return;
    // An owner that destroyed the lists first leaves stale handles, which the image lists refuse.
    for (HIMAGELIST& himl : pState->imageLists) {
        if (himl)
            ImageList_Destroy(himl);
        himl = nullptr;
    }
}

void OnSetFont(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    CListViewState* pState = ListViewState(hWnd);
    pState->hFont = reinterpret_cast<HFONT>(wParam);
    SendMessage(pState->hHeader, WM_SETFONT, wParam, lParam);
    MeasureRows(hWnd);
    LayoutListView(hWnd);
    if (LOWORD(lParam))
        InvalidateRect(hWnd, nullptr, TRUE);
}

// The header's notifications go on to the list's parent; the list then lays
// its columns out again from the header, whoever changed it.
LRESULT OnHeaderNotify(HWND hWnd, NMHDR* pHdr)
{
    HWND hParent = ControlParent(hWnd);
    const LRESULT lResult = hParent ? SendMessage(hParent, WM_NOTIFY, pHdr->idFrom, reinterpret_cast<LPARAM>(pHdr)) : 0;
    CListViewState* pState = ListViewSurvivor(hWnd);
    if (!pState)
        return lResult;
    if (pHdr->code == HDN_ITEMCHANGED) {
        ColumnsChanged(hWnd, *pState);
        InvalidateRect(hWnd, nullptr, TRUE);
    } else if (pHdr->code == HDN_ITEMCLICK) {
        NMLISTVIEW nm {};
        nm.iItem = -1;
        nm.iSubItem = reinterpret_cast<NMHEADER*>(pHdr)->iItem;
        SendNotify(hWnd, LVN_COLUMNCLICK, &nm.hdr);
    }
    return lResult;
}

LRESULT SetExtendedStyle(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    CListViewState* pState = ListViewState(hWnd);
    const DWORD dwOld = pState->dwExStyle;
    const DWORD dwMask = wParam ? static_cast<DWORD>(wParam) : ~DWORD { 0 };
    pState->dwExStyle = (dwOld & ~dwMask) | (static_cast<DWORD>(lParam) & dwMask);
    auto dwHeaderStyle = static_cast<DWORD>(GetWindowLongPtr(pState->hHeader, GWL_STYLE));
    dwHeaderStyle = (pState->dwExStyle & LVS_EX_HEADERDRAGDROP) ? (dwHeaderStyle | HDS_DRAGDROP)
                                                                : (dwHeaderStyle & ~HDS_DRAGDROP);
    SetWindowLongPtr(pState->hHeader, GWL_STYLE, static_cast<LONG_PTR>(dwHeaderStyle));
    InvalidateRect(hWnd, nullptr, TRUE);
    return static_cast<LRESULT>(dwOld);
}

} // namespace

LRESULT CALLBACK ListViewWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    static constexpr CControlLifecycle LIFECYCLE { NewControlState<CListViewState>, nullptr, false };
    LRESULT lResult = 0;
    if (HandleControlLifecycle(hWnd, uMsg, wParam, lParam, LIFECYCLE, &lResult))
        return lResult;
    CListViewState* pState = ListViewState(hWnd);
    if (pState->bColumnsDue && !pState->bDestroying && !IsColumnChange(*pState, uMsg, lParam)) {
        LayoutListView(hWnd);
        if (!(pState = ListViewSurvivor(hWnd)))
            return 0;
    }
    switch (uMsg) {
    case WM_CREATE:
        OnCreate(hWnd);
        return 0;
    case WM_DESTROY:
        OnDestroy(hWnd);
        return 0;
    case WM_SETFONT:
        OnSetFont(hWnd, wParam, lParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(pState->hFont);
    case WM_WINDOWPOSCHANGED:
        // Owners send this to make an owner-drawn list measure its rows again.
        MeasureRows(hWnd);
        if (IsWindow(hWnd))
            LayoutListView(hWnd);
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    case WM_SIZE:
    case WM_STYLECHANGED:
        // A new view or width changes the grid: the top is aligned to it again.
        MeasureRows(hWnd);
        if (!(pState = ListViewSurvivor(hWnd)))
            return 0;
        SetTopRow(hWnd, *pState, pState->nTop);
        LayoutListView(hWnd);
        InvalidateRect(hWnd, nullptr, TRUE);
        return 0;
    case WM_SETREDRAW:
        // Only the rows wait: the header keeps painting while a long fill
        // runs with redrawing off.
        pState->bRedraw = wParam != 0;
        if (wParam)
            RedrawResumed(hWnd);
        return 0;
    case WM_ERASEBKGND: {
        RECT rc {};
        GetClientRect(hWnd, &rc);
        FillRect(reinterpret_cast<HDC>(wParam), &rc, GetSysColorBrush(COLOR_WINDOW));
        return TRUE;
    }
    case WM_PAINT:
        PaintControl(hWnd, PaintListView);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        pState->bFocus = uMsg == WM_SETFOCUS;
        InvalidateRect(hWnd, nullptr, TRUE);
        NMHDR nm {};
        SendNotify(hWnd, uMsg == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS, &nm);
        return 0;
    }
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_NOTIFY: {
        auto* pHdr = reinterpret_cast<NMHDR*>(lParam);
        if (pHdr && pHdr->hwndFrom == pState->hHeader)
            return OnHeaderNotify(hWnd, pHdr);
        return 0;
    }
    case LVM_SETEXTENDEDLISTVIEWSTYLE:
        return SetExtendedStyle(hWnd, wParam, lParam);
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
        return static_cast<LRESULT>(pState->dwExStyle);
    case LVM_EDITLABEL:
        if (static_cast<int>(static_cast<INT_PTR>(wParam)) == -1) {
            EndLabelEdit(hWnd, false);
            return 0;
        }
        return reinterpret_cast<LRESULT>(EditLabel(hWnd, static_cast<int>(static_cast<INT_PTR>(wParam))));
    case LVM_GETEDITCONTROL:
        return reinterpret_cast<LRESULT>(pState->hEdit);
    case LVM_CREATEDRAGIMAGE:
        return reinterpret_cast<LRESULT>(
            CreateRowDragImage(hWnd, static_cast<int>(static_cast<INT_PTR>(wParam)), reinterpret_cast<POINT*>(lParam)));
    case LVM_SORTITEMS:
        return SortRows(hWnd, reinterpret_cast<PFNLVCOMPARE>(lParam), static_cast<LPARAM>(wParam));
    case LVM_FINDITEM:
        return FindRow(
            hWnd, static_cast<int>(static_cast<INT_PTR>(wParam)), reinterpret_cast<const LVFINDINFO*>(lParam));
    default:
        if (HandleItemMessage(hWnd, pState, uMsg, wParam, lParam, &lResult)
            || HandleLayoutMessage(hWnd, pState, uMsg, wParam, lParam, &lResult))
            return lResult;
        if (HandleListViewInput(hWnd, uMsg, wParam, lParam))
            return 0;
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    }
}
