#include "platform/controls/ScrollBarControl.h"

#include "platform/controls/ControlInternal.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/Timers.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int MIN_THUMB = 8;            // the shortest thumb, in pixels
constexpr UINT_PTR REPEAT_TIMER_ID = 1; // the timer that repeats a held press

// The parts of a scroll bar, from the top (or left) down.
enum class EScrollPart {
    None,
    LineUp,
    PageUp,
    Thumb,
    PageDown,
    LineDown,
};

struct CScrollBarState : CControlState {
    int nMin { 0 };
    int nMax { 100 };
    UINT nPage { 0 };
    int nPos { 0 };
    int nTrackPos { 0 };
    UINT nDisabledArrows { ESB_ENABLE_BOTH };
    EScrollPart ePressed { EScrollPart::None }; // the part held down with the mouse
    bool bOverPressed { false };                // the cursor is still on that part
    int nDragOffset { 0 };                      // from the thumb's start to the cursor, while dragging

    int MaxPos() const { return nMax - std::max(static_cast<int>(nPage) - 1, 0); }
};

// Where the parts lie along the bar, in client coordinates of its long axis.
struct CScrollLayout {
    bool bVert { false };
    int nLength { 0 };
    int nBreadth { 0 };
    int nArrow { 0 };
    int nThumbStart { 0 };
    int nThumbEnd { 0 }; // equal to nThumbStart when there is no thumb

    int TrackStart() const { return nArrow; }
    int TrackEnd() const { return nLength - nArrow; }
    bool HasThumb() const { return nThumbEnd > nThumbStart; }
    // The rectangle of the span [from, to) along the bar.
    RECT Span(int nFrom, int nTo) const
    {
        return bVert ? RECT { 0, nFrom, nBreadth, nTo } : RECT { nFrom, 0, nTo, nBreadth };
    }
};

bool IsVertical(HWND hWnd)
{
    return (GetWindowLongPtr(hWnd, GWL_STYLE) & SBS_VERT) != 0;
}

CScrollLayout Layout(HWND hWnd, const CScrollBarState& state)
{
    CScrollLayout layout;
    RECT rc {};
    GetClientRect(hWnd, &rc);
    layout.bVert = IsVertical(hWnd);
    layout.nLength = layout.bVert ? rc.bottom : rc.right;
    layout.nBreadth = layout.bVert ? rc.right : rc.bottom;
    layout.nArrow = std::min(layout.nBreadth, layout.nLength / 2);
    const int nTrack = layout.TrackEnd() - layout.TrackStart();
    const int nSpan = state.MaxPos() - state.nMin;
    if (state.nMax <= state.nMin || nSpan <= 0 || !IsWindowEnabled(hWnd) || nTrack < MIN_THUMB)
        return layout;
    const long long nRange = static_cast<long long>(state.nMax) - state.nMin + 1;
    int nThumb = state.nPage ? static_cast<int>(nTrack * static_cast<long long>(state.nPage) / nRange)
                             : std::min(layout.nBreadth, nTrack);
    nThumb = std::clamp(nThumb, MIN_THUMB, nTrack);
    if (nThumb >= nTrack)
        return layout;
    const int nPos = state.ePressed == EScrollPart::Thumb ? state.nTrackPos : state.nPos;
    layout.nThumbStart
        = layout.TrackStart() + static_cast<int>((nTrack - nThumb) * static_cast<long long>(nPos - state.nMin) / nSpan);
    layout.nThumbEnd = layout.nThumbStart + nThumb;
    return layout;
}

EScrollPart PartAt(const CScrollLayout& layout, POINT pt)
{
    const int nAt = layout.bVert ? pt.y : pt.x;
    const int nAcross = layout.bVert ? pt.x : pt.y;
    if (nAt < 0 || nAt >= layout.nLength || nAcross < 0 || nAcross >= layout.nBreadth)
        return EScrollPart::None;
    if (nAt < layout.TrackStart())
        return EScrollPart::LineUp;
    if (nAt >= layout.TrackEnd())
        return EScrollPart::LineDown;
    if (!layout.HasThumb())
        return EScrollPart::None;
    if (nAt < layout.nThumbStart)
        return EScrollPart::PageUp;
    return nAt < layout.nThumbEnd ? EScrollPart::Thumb : EScrollPart::PageDown;
}

bool IsArrowDisabled(const CScrollBarState& state, EScrollPart ePart)
{
    return (ePart == EScrollPart::LineUp && (state.nDisabledArrows & ESB_DISABLE_LTUP))
        || (ePart == EScrollPart::LineDown && (state.nDisabledArrows & ESB_DISABLE_RTDN));
}

// Sends WM_HSCROLL or WM_VSCROLL to the parent.
void NotifyScroll(HWND hWnd, WORD nCode, int nPos = 0)
{
    HWND hParent = GetParent(hWnd);
    if (!hParent)
        return;
    const UINT uMsg = IsVertical(hWnd) ? WM_VSCROLL : WM_HSCROLL;
    const WPARAM wParam = static_cast<DWORD>(MAKELONG(nCode, static_cast<WORD>(nPos)));
    SendMessage(hParent, uMsg, wParam, reinterpret_cast<LPARAM>(hWnd));
}

WORD CodeOf(EScrollPart ePart)
{
    switch (ePart) {
    case EScrollPart::LineUp:
        return SB_LINEUP;
    case EScrollPart::PageUp:
        return SB_PAGEUP;
    case EScrollPart::PageDown:
        return SB_PAGEDOWN;
    default:
        return SB_LINEDOWN;
    }
}

/***** Painting *****/

void PaintScrollBar(HWND hWnd, HDC hdc)
{
    const CScrollBarState* pState = GetControlState<CScrollBarState>(hWnd);
    const CScrollLayout layout = Layout(hWnd, *pState);
    const bool bEnabled = IsWindowEnabled(hWnd);
    HBRUSH hTrack = PrepareControlDC(hWnd, hdc, WM_CTLCOLORSCROLLBAR);

    auto drawArrow = [&](EScrollPart ePart, RECT rc) {
        UINT uState = layout.bVert ? (ePart == EScrollPart::LineUp ? DFCS_SCROLLUP : DFCS_SCROLLDOWN)
                                   : (ePart == EScrollPart::LineUp ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT);
        if (!bEnabled || IsArrowDisabled(*pState, ePart))
            uState |= DFCS_INACTIVE;
        else if (pState->ePressed == ePart && pState->bOverPressed)
            uState |= DFCS_PUSHED;
        DrawFrameControl(hdc, &rc, DFC_SCROLL, uState);
    };
    drawArrow(EScrollPart::LineUp, layout.Span(0, layout.TrackStart()));
    drawArrow(EScrollPart::LineDown, layout.Span(layout.TrackEnd(), layout.nLength));

    RECT rcTrack = layout.Span(layout.TrackStart(), layout.TrackEnd());
    FillRect(hdc, &rcTrack, hTrack);
    if (layout.HasThumb()) {
        RECT rcThumb = layout.Span(layout.nThumbStart, layout.nThumbEnd);
        DrawEdge(hdc, &rcThumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    }
}

/***** Values *****/

void Redraw(HWND hWnd, BOOL bRedraw)
{
    if (bRedraw)
        InvalidateRect(hWnd, nullptr, FALSE);
}

int SetScrollValues(HWND hWnd, const SCROLLINFO& si, BOOL bRedraw)
{
    CScrollBarState* pState = GetControlState<CScrollBarState>(hWnd);
    if (si.fMask & SIF_RANGE) {
        pState->nMin = si.nMin;
        pState->nMax = si.nMax;
    }
    if (si.fMask & SIF_PAGE)
        pState->nPage = std::min(si.nPage, static_cast<UINT>(std::max(pState->nMax - pState->nMin + 1, 0)));
    if (si.fMask & SIF_POS)
        pState->nPos = si.nPos;
    pState->nPos = std::max(std::min(pState->nPos, pState->MaxPos()), pState->nMin);
    Redraw(hWnd, bRedraw);
    return pState->nPos;
}

BOOL GetScrollValues(HWND hWnd, SCROLLINFO* pInfo)
{
    if (!pInfo)
        return FALSE;
    const CScrollBarState* pState = GetControlState<CScrollBarState>(hWnd);
    if (pInfo->fMask & SIF_RANGE) {
        pInfo->nMin = pState->nMin;
        pInfo->nMax = pState->nMax;
    }
    if (pInfo->fMask & SIF_PAGE)
        pInfo->nPage = pState->nPage;
    if (pInfo->fMask & SIF_POS)
        pInfo->nPos = pState->nPos;
    if (pInfo->fMask & SIF_TRACKPOS)
        pInfo->nTrackPos = pState->ePressed == EScrollPart::Thumb ? pState->nTrackPos : pState->nPos;
    return TRUE;
}

// Disables the arrows ESB_* names; FALSE when they already were.
BOOL EnableArrows(HWND hWnd, UINT nDisabled)
{
    CScrollBarState* pState = GetControlState<CScrollBarState>(hWnd);
    if (nDisabled == pState->nDisabledArrows)
        return FALSE;
    pState->nDisabledArrows = nDisabled;
    InvalidateRect(hWnd, nullptr, FALSE);
    return TRUE;
}

/***** Mouse and keyboard *****/

void OnPress(HWND hWnd, LPARAM lParam)
{
    CScrollBarState* pState = GetControlState<CScrollBarState>(hWnd);
    const CScrollLayout layout = Layout(hWnd, *pState);
    const POINT pt = MousePointOf(lParam);
    const EScrollPart ePart = PartAt(layout, pt);
    if (ePart == EScrollPart::None || IsArrowDisabled(*pState, ePart))
        return;
    if (GetWindowLongPtr(hWnd, GWL_STYLE) & WS_TABSTOP)
        SetFocus(hWnd);
    SetCapture(hWnd);
    pState->ePressed = ePart;
    pState->bOverPressed = true;
    InvalidateRect(hWnd, nullptr, FALSE);
    if (ePart == EScrollPart::Thumb) {
        pState->nTrackPos = pState->nPos;
        pState->nDragOffset = (layout.bVert ? pt.y : pt.x) - layout.nThumbStart;
        return;
    }
    SetTimer(hWnd, REPEAT_TIMER_ID, SCROLL_REPEAT_DELAY, nullptr);
    NotifyScroll(hWnd, CodeOf(ePart));
}

void OnDrag(HWND hWnd, LPARAM lParam)
{
    CScrollBarState* pState = GetControlState<CScrollBarState>(hWnd);
    const CScrollLayout layout = Layout(hWnd, *pState);
    const POINT pt = MousePointOf(lParam);
    if (pState->ePressed != EScrollPart::Thumb) {
        const bool bOver = PartAt(layout, pt) == pState->ePressed;
        if (bOver != pState->bOverPressed) {
            pState->bOverPressed = bOver;
            InvalidateRect(hWnd, nullptr, FALSE);
        }
        return;
    }
    const int nTravel = layout.TrackEnd() - layout.TrackStart() - (layout.nThumbEnd - layout.nThumbStart);
    if (nTravel <= 0)
        return;
    const int nAt = (layout.bVert ? pt.y : pt.x) - pState->nDragOffset - layout.TrackStart();
    const int nSpan = pState->MaxPos() - pState->nMin;
    const int nPos
        = std::clamp(pState->nMin + static_cast<int>((static_cast<long long>(nAt) * nSpan + nTravel / 2) / nTravel),
            pState->nMin, pState->MaxPos());
    if (nPos == pState->nTrackPos)
        return;
    pState->nTrackPos = nPos;
    InvalidateRect(hWnd, nullptr, FALSE);
    NotifyScroll(hWnd, SB_THUMBTRACK, nPos);
}

void OnRelease(HWND hWnd)
{
    CScrollBarState* pState = GetControlState<CScrollBarState>(hWnd);
    const EScrollPart ePart = std::exchange(pState->ePressed, EScrollPart::None);
    if (ePart == EScrollPart::None)
        return;
    KillTimer(hWnd, REPEAT_TIMER_ID);
    if (GetCapture() == hWnd)
        ReleaseCapture();
    InvalidateRect(hWnd, nullptr, FALSE);
    if (ePart == EScrollPart::Thumb)
        NotifyScroll(hWnd, SB_THUMBPOSITION, pState->nTrackPos);
    if (IsWindow(hWnd))
        NotifyScroll(hWnd, SB_ENDSCROLL);
}

void OnRepeat(HWND hWnd)
{
    const CScrollBarState* pState = GetControlState<CScrollBarState>(hWnd);
    if (pState->ePressed == EScrollPart::None || pState->ePressed == EScrollPart::Thumb) {
        KillTimer(hWnd, REPEAT_TIMER_ID);
        return;
    }
    SetTimer(hWnd, REPEAT_TIMER_ID, SCROLL_REPEAT_INTERVAL, nullptr);
    // A page press repeats only while the thumb has not reached the cursor.
    POINT pt {};
    GetCursorPos(&pt);
    ScreenToClient(hWnd, &pt);
    if (pState->bOverPressed && PartAt(Layout(hWnd, *pState), pt) == pState->ePressed)
        NotifyScroll(hWnd, CodeOf(pState->ePressed));
}

void OnKey(HWND hWnd, WPARAM nKey)
{
    const bool bVert = IsVertical(hWnd);
    WORD nCode = 0;
    switch (nKey) {
    case VK_UP:
    case VK_LEFT:
        if ((nKey == VK_UP) != bVert)
            return;
        nCode = SB_LINEUP;
        break;
    case VK_DOWN:
    case VK_RIGHT:
        if ((nKey == VK_DOWN) != bVert)
            return;
        nCode = SB_LINEDOWN;
        break;
    case VK_PRIOR:
        nCode = SB_PAGEUP;
        break;
    case VK_NEXT:
        nCode = SB_PAGEDOWN;
        break;
    case VK_HOME:
        nCode = SB_TOP;
        break;
    case VK_END:
        nCode = SB_BOTTOM;
        break;
    default:
        return;
    }
    NotifyScroll(hWnd, nCode);
    if (IsWindow(hWnd))
        NotifyScroll(hWnd, SB_ENDSCROLL);
}

// Answers mouse, key and timer messages; FALSE for other messages.
BOOL HandleScrollBarInput(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnPress(hWnd, lParam);
        return TRUE;
    case WM_MOUSEMOVE:
        if (GetControlState<CScrollBarState>(hWnd)->ePressed != EScrollPart::None)
            OnDrag(hWnd, lParam);
        return TRUE;
    case WM_LBUTTONUP:
        OnRelease(hWnd);
        return TRUE;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hWnd)
            OnRelease(hWnd);
        return TRUE;
    case WM_TIMER:
        if (wParam == REPEAT_TIMER_ID)
            OnRepeat(hWnd);
        return TRUE;
    case WM_KEYDOWN:
        OnKey(hWnd, wParam);
        return TRUE;
    default:
        return FALSE;
    }
}

// Answers the SBM_* messages; FALSE for other messages.
BOOL HandleScrollBarMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult)
{
    CScrollBarState* pState = GetControlState<CScrollBarState>(hWnd);
    const int nPrevious = pState->nPos;
    switch (uMsg) {
    case SBM_SETPOS: {
        SCROLLINFO si { sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, static_cast<int>(wParam), 0 };
        SetScrollValues(hWnd, si, static_cast<BOOL>(lParam));
        *plResult = nPrevious;
        return TRUE;
    }
    case SBM_GETPOS:
        *plResult = pState->nPos;
        return TRUE;
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW: {
        SCROLLINFO si { sizeof(SCROLLINFO), SIF_RANGE, static_cast<int>(wParam), static_cast<int>(lParam), 0, 0, 0 };
        SetScrollValues(hWnd, si, uMsg == SBM_SETRANGEREDRAW);
        *plResult = nPrevious;
        return TRUE;
    }
    case SBM_GETRANGE:
        if (wParam)
            *reinterpret_cast<LPINT>(wParam) = pState->nMin;
        if (lParam)
            *reinterpret_cast<LPINT>(lParam) = pState->nMax;
        *plResult = 0;
        return TRUE;
    case SBM_ENABLE_ARROWS:
        *plResult = EnableArrows(hWnd, static_cast<UINT>(wParam) & ESB_DISABLE_BOTH);
        return TRUE;
    case SBM_SETSCROLLINFO:
        *plResult = lParam
            ? SetScrollValues(hWnd, *reinterpret_cast<const SCROLLINFO*>(lParam), static_cast<BOOL>(wParam))
            : 0;
        return TRUE;
    case SBM_GETSCROLLINFO:
        *plResult = GetScrollValues(hWnd, reinterpret_cast<SCROLLINFO*>(lParam));
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

LRESULT CALLBACK ScrollBarWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    static constexpr CControlLifecycle LIFECYCLE { NewControlState<CScrollBarState>, PaintScrollBar, true };
    LRESULT lResult = 0;
    if (HandleControlLifecycle(hWnd, uMsg, wParam, lParam, LIFECYCLE, &lResult)
        || HandleScrollBarMessage(hWnd, uMsg, wParam, lParam, &lResult))
        return lResult;
    if (HandleScrollBarInput(hWnd, uMsg, wParam, lParam))
        return 0;
    switch (uMsg) {
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_ENABLE:
        InvalidateRect(hWnd, nullptr, FALSE);
        return 0;
    default:
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    }
}
