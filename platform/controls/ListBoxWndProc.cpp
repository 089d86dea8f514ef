#include "platform/controls/ListBoxControl.h"

#include "platform/controls/ListBoxInternal.h"
#include "platform/window/Paint.h"

#include <algorithm>

namespace {

// Whether the list was made with scroll bars: it shows them only while they have a use.
std::unique_ptr<CControlState> NewListBoxState(HWND hWnd, const CREATESTRUCT*)
{
    auto pState = std::make_unique<CListBoxState>();
    pState->bScrollBar = (ListStyle(hWnd) & WS_VSCROLL) != 0;
    pState->bHScrollBar = (ListStyle(hWnd) & WS_HSCROLL) != 0;
    return pState;
}

void OnCreate(HWND hWnd)
{
    CListBoxState* pState = ListBoxState(hWnd);
    const TEXTMETRIC tm = CControlMeasureDC(hWnd).Metrics();
    pState->nItemHeight = std::max<int>(tm.tmHeight, 1);
    pState->nCharWidth = std::max<int>(tm.tmAveCharWidth, 1);
    if (ListStyle(hWnd) & LBS_OWNERDRAWFIXED)
        pState->nItemHeight = static_cast<int>(MeasureItem(hWnd, 0, 0, static_cast<UINT>(pState->nItemHeight)));
    UpdateScrollBar(hWnd, *pState);
    UpdateHorizontalBar(hWnd, *pState);
}

void OnFocus(HWND hWnd, bool bFocus)
{
    CListBoxState* pState = ListBoxState(hWnd);
    pState->bFocus = bFocus;
    InvalidateItem(hWnd, *pState, pState->nCaret);
    NotifyParent(hWnd, bFocus ? LBN_SETFOCUS : LBN_KILLFOCUS);
}

} // namespace

LRESULT CALLBACK ListBoxWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    static constexpr CControlLifecycle LIFECYCLE { NewListBoxState, PaintListBox, true };
    LRESULT lResult = 0;
    if (HandleControlLifecycle(hWnd, uMsg, wParam, lParam, LIFECYCLE, &lResult)
        || HandleListBoxItemMessage(hWnd, uMsg, wParam, lParam, &lResult)
        || HandleListBoxSelectionMessage(hWnd, uMsg, wParam, lParam, &lResult)
        || HandleListBoxLayoutMessage(hWnd, uMsg, wParam, lParam, &lResult))
        return lResult;
    if (HandleListBoxInput(hWnd, uMsg, wParam, lParam))
        return 0;
    switch (uMsg) {
    case WM_CREATE:
        OnCreate(hWnd);
        return 0;
    case WM_DESTROY:
        ResetContent(hWnd);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SIZE:
        UpdateScrollBar(hWnd, *ListBoxState(hWnd));
        UpdateHorizontalBar(hWnd, *ListBoxState(hWnd));
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        OnFocus(hWnd, uMsg == WM_SETFOCUS);
        return 0;
    default:
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    }
}
