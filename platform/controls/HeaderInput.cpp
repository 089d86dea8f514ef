#include "platform/controls/HeaderInternal.h"

#include "platform/gdi/Rects.h"
#include "platform/window/DragImages.h"
#include "platform/window/Input.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

#include <algorithm>

namespace {

// The header's state if the window still exists: notifications may destroy it.
CHeaderState* Survivor(HWND hWnd)
{
    return IsWindow(hWnd) ? HeaderState(hWnd) : nullptr;
}

// A ghost of the dragged item follows the mouse along the header, as a drag
// image over it: grabbed at ptGrab, it shows at ptNow.
void ShowGhost(HWND hWnd, CHeaderState& state, int nIndex, POINT ptGrab, POINT ptNow)
{
    const RECT rc = HeaderItemRect(hWnd, state, nIndex);
    state.himlGhost = CreateHeaderDragImage(hWnd, nIndex);
    if (state.himlGhost && ImageList_BeginDrag(state.himlGhost, 0, ptGrab.x - rc.left, 0)) {
        ImageList_DragEnter(hWnd, ptNow.x, rc.top);
        return;
    }
    if (state.himlGhost)
        ImageList_Destroy(state.himlGhost);
    state.himlGhost = nullptr;
}

void HideGhost(HWND hWnd, CHeaderState& state)
{
    if (!state.himlGhost)
        return;
    ImageList_DragLeave(hWnd);
    ImageList_EndDrag();
    ImageList_Destroy(state.himlGhost);
    state.himlGhost = nullptr;
}

void EndMode(HWND hWnd, CHeaderState& state)
{
    HideGhost(hWnd, state);
    state.eMode = EHeaderMode::Idle;
    state.nDropPosition = -1;
    InvalidateRect(hWnd, nullptr, TRUE);
    if (GetCapture() == hWnd)
        ReleaseCapture();
}

void BeginTracking(HWND hWnd, CHeaderState& state, int nIndex, POINT pt)
{
    const RECT rc = HeaderItemRect(hWnd, state, nIndex);
    HDITEM item {};
    item.mask = HDI_WIDTH;
    item.cxy = rc.right - rc.left;
    if (HeaderNotify(hWnd, HDN_BEGINTRACK, nIndex, &item))
        return;
    CHeaderState* pState = Survivor(hWnd);
    if (!pState || !IsHeaderIndex(*pState, nIndex))
        return;
    pState->eMode = EHeaderMode::Tracking;
    pState->nActive = nIndex;
    pState->nTrackLeft = rc.left;
    pState->nTrackOffset = pt.x - rc.right;
    pState->nTrackWidth = item.cxy;
    SetCapture(hWnd);
}

void Track(HWND hWnd, CHeaderState& state, POINT pt)
{
    HDITEM item {};
    item.mask = HDI_WIDTH;
    item.cxy = std::max(pt.x - state.nTrackOffset - state.nTrackLeft, 0);
    const int nIndex = state.nActive;
    const LRESULT lStop = HeaderNotify(hWnd, HDN_TRACK, nIndex, &item);
    CHeaderState* pState = Survivor(hWnd);
    if (!pState || pState->eMode != EHeaderMode::Tracking)
        return;
    if (lStop) {
        EndMode(hWnd, *pState);
        return;
    }
    pState->nTrackWidth = item.cxy;
    InvalidateRect(hWnd, nullptr, TRUE);
}

// Ends tracking or dragging with nCode, whose HDITEM the owner may change.
// The change then applies to the item, wherever the owner has moved it,
// unless the item is gone or the owner answered nonzero where that means it
// applies the change itself.
void EndWithChange(HWND hWnd, CHeaderState& state, UINT nCode, HDITEM item, bool bOwnerMayApply)
{
    const int nIndex = state.nActive;
    const unsigned nSerial = state.items[static_cast<size_t>(nIndex)].nSerial;
    const UINT nMask = item.mask;
    EndMode(hWnd, state);
    if (HeaderNotify(hWnd, nCode, nIndex, &item) && bOwnerMayApply)
        return;
    const CHeaderState* pState = Survivor(hWnd);
    if (!pState || HeaderIndexOfSerial(*pState, nSerial) < 0)
        return;
    item.mask = nMask;
    ChangeHeaderItem(hWnd, HeaderIndexOfSerial(*pState, nSerial), item);
}

// HDN_ENDTRACK carries the new width, which the owner may change before it applies.
void EndTracking(HWND hWnd, CHeaderState& state)
{
    HDITEM item {};
    item.mask = HDI_WIDTH;
    item.cxy = state.nTrackWidth;
    EndWithChange(hWnd, state, HDN_ENDTRACK, item, false);
}

// An item pressed with HDS_DRAGDROP: a drag when the mouse leaves the drag
// rectangle before the release, else a click.
void PressDraggable(HWND hWnd, int nIndex, POINT pt)
{
    POINT ptScreen = pt;
    ClientToScreen(hWnd, &ptScreen);
    HeaderState(hWnd)->bDetecting = true;
    const BOOL bDragged = DragDetect(hWnd, ptScreen);
    CHeaderState* pState = Survivor(hWnd);
    if (!pState)
        return;
    pState->bDetecting = false;
    if (pState->eMode != EHeaderMode::Pressed || pState->nActive != nIndex)
        return;
    if (!bDragged) {
        EndMode(hWnd, *pState);
        if (GetWindowLongPtr(hWnd, GWL_STYLE) & HDS_BUTTONS)
            HeaderNotify(hWnd, HDN_ITEMCLICK, nIndex, nullptr);
        return;
    }
    HDITEM item {};
    item.mask = HDI_ORDER;
    if (HeaderNotify(hWnd, HDN_BEGINDRAG, nIndex, &item)) {
        if ((pState = Survivor(hWnd)))
            EndMode(hWnd, *pState);
        return;
    }
    pState = Survivor(hWnd);
    if (!pState || !IsHeaderIndex(*pState, nIndex))
        return;
    // The mouse has moved on since the press: the drag starts where it is now.
    POINT ptNow {};
    GetCursorPos(&ptNow);
    ScreenToClient(hWnd, &ptNow);
    pState->eMode = EHeaderMode::Dragging;
    pState->nDropPosition = HeaderDropPosition(hWnd, *pState, ptNow.x);
    SetCapture(hWnd);
    InvalidateRect(hWnd, nullptr, TRUE);
    ShowGhost(hWnd, *pState, nIndex, pt, ptNow);
}

// HDN_ENDDRAG carries the position the item takes; a nonzero answer leaves
// the order to the owner.
void EndDragging(HWND hWnd, CHeaderState& state)
{
    HDITEM item {};
    item.mask = HDI_ORDER;
    // A gap right of the item's own place closes up when the item leaves it.
    const int nFrom = HeaderPosition(state, state.nActive);
    item.iOrder = state.nDropPosition > nFrom ? state.nDropPosition - 1 : state.nDropPosition;
    EndWithChange(hWnd, state, HDN_ENDDRAG, item, true);
}

void OnButtonDown(HWND hWnd, CHeaderState& state, POINT pt, bool bDouble)
{
    UINT nFlags = 0;
    const int nIndex = HeaderHitTest(hWnd, state, pt, &nFlags);
    if (nIndex < 0)
        return;
    if (nFlags & HHT_ONDIVIDER) {
        if (bDouble)
            HeaderNotify(hWnd, HDN_DIVIDERDBLCLICK, nIndex, nullptr);
        else
            BeginTracking(hWnd, state, nIndex, pt);
        return;
    }
    const auto dwStyle = static_cast<DWORD>(GetWindowLongPtr(hWnd, GWL_STYLE));
    if (!(dwStyle & (HDS_BUTTONS | HDS_DRAGDROP)))
        return;
    if (bDouble)
        HeaderNotify(hWnd, HDN_ITEMDBLCLICK, nIndex, nullptr);
    CHeaderState* pState = Survivor(hWnd);
    if (!pState || !IsHeaderIndex(*pState, nIndex))
        return;
    pState->eMode = EHeaderMode::Pressed;
    pState->nActive = nIndex;
    InvalidateRect(hWnd, nullptr, TRUE);
    UpdateWindow(hWnd);
    if (dwStyle & HDS_DRAGDROP)
        PressDraggable(hWnd, nIndex, pt);
    else
        SetCapture(hWnd);
}

void OnButtonUp(HWND hWnd, CHeaderState& state, POINT pt)
{
    switch (state.eMode) {
    case EHeaderMode::Tracking:
        EndTracking(hWnd, state);
        break;
    case EHeaderMode::Dragging:
        EndDragging(hWnd, state);
        break;
    case EHeaderMode::Pressed: {
        const int nIndex = state.nActive;
        const RECT rc = HeaderItemRect(hWnd, state, nIndex);
        EndMode(hWnd, state);
        if (PtInRect(&rc, pt))
            HeaderNotify(hWnd, HDN_ITEMCLICK, nIndex, nullptr);
        break;
    }
    case EHeaderMode::Idle:
        break;
    }
}

} // namespace

BOOL HandleHeaderMouse(HWND hWnd, UINT uMsg, WPARAM, LPARAM lParam)
{
    CHeaderState* pState = HeaderState(hWnd);
    if (!pState)
        return FALSE;
    const POINT pt = MousePointOf(lParam);
    switch (uMsg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (pState->eMode == EHeaderMode::Idle)
            OnButtonDown(hWnd, *pState, pt, uMsg == WM_LBUTTONDBLCLK);
        return TRUE;
    case WM_MOUSEMOVE:
        if (pState->eMode == EHeaderMode::Tracking)
            Track(hWnd, *pState, pt);
        else if (pState->eMode == EHeaderMode::Dragging) {
            pState->nDropPosition = HeaderDropPosition(hWnd, *pState, pt.x);
            InvalidateRect(hWnd, nullptr, TRUE);
            if (pState->himlGhost)
                ImageList_DragMove(pt.x, HeaderItemRect(hWnd, *pState, pState->nActive).top);
        }
        return TRUE;
    case WM_LBUTTONUP:
        OnButtonUp(hWnd, *pState, pt);
        return TRUE;
    case WM_DESTROY:
        HideGhost(hWnd, *pState);
        return FALSE;
    case WM_CAPTURECHANGED:
        // Another window took the mouse: whatever was under way is dropped.
        if (pState->eMode != EHeaderMode::Idle && !pState->bDetecting && reinterpret_cast<HWND>(lParam) != hWnd) {
            HideGhost(hWnd, *pState);
            pState->eMode = EHeaderMode::Idle;
            InvalidateRect(hWnd, nullptr, TRUE);
        }
        return TRUE;
    default:
        return FALSE;
    }
}
