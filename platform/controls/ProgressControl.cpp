#include "platform/controls/ProgressControl.h"

#include "platform/controls/ControlInternal.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <utility>

namespace {

struct CProgressState : CControlState {
    int nLow { 0 };
    int nHigh { 100 };
    int nPos { 0 };
    int nStep { 10 };
};

CProgressState* ProgressState(HWND hWnd)
{
    return GetControlState<CProgressState>(hWnd);
}

int Clamped(const CProgressState& state, long long nPos)
{
    return static_cast<int>(std::clamp<long long>(nPos, state.nLow, std::max(state.nLow, state.nHigh)));
}

LRESULT SetPos(HWND hWnd, CProgressState& state, long long nPos)
{
    const int nOld = state.nPos;
    state.nPos = Clamped(state, nPos);
    if (state.nPos != nOld)
        InvalidateRect(hWnd, nullptr, TRUE);
    return nOld;
}

LRESULT SetRange(HWND hWnd, CProgressState& state, int nLow, int nHigh)
{
    const LRESULT lOld = MAKELONG(static_cast<WORD>(state.nLow), static_cast<WORD>(state.nHigh));
    state.nLow = nLow;
    state.nHigh = nHigh;
    state.nPos = Clamped(state, state.nPos);
    InvalidateRect(hWnd, nullptr, TRUE);
    return lOld;
}

void PaintProgress(HWND hWnd, HDC hdc)
{
    const CProgressState* pState = ProgressState(hWnd);
    RECT rc {};
    GetClientRect(hWnd, &rc);
    FillRect(hdc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(hdc, &rc, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    const long long nSpan = static_cast<long long>(pState->nHigh) - pState->nLow;
    if (nSpan <= 0)
        return;
    const long long nDone = static_cast<long long>(pState->nPos) - pState->nLow;
    RECT rcBar = rc;
    if (GetWindowLongPtr(hWnd, GWL_STYLE) & PBS_VERTICAL)
        rcBar.top = rc.bottom - static_cast<int>((rc.bottom - rc.top) * nDone / nSpan);
    else
        rcBar.right = rc.left + static_cast<int>((rc.right - rc.left) * nDone / nSpan);
    FillRect(hdc, &rcBar, GetSysColorBrush(COLOR_HIGHLIGHT));
}

} // namespace

LRESULT CALLBACK ProgressWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    static constexpr CControlLifecycle LIFECYCLE { NewControlState<CProgressState>, PaintProgress, false };
    LRESULT lResult = 0;
    if (HandleControlLifecycle(hWnd, uMsg, wParam, lParam, LIFECYCLE, &lResult))
        return lResult;
    CProgressState* pState = ProgressState(hWnd);
    switch (uMsg) {
    case PBM_SETRANGE:
        return SetRange(hWnd, *pState, LOWORD(lParam), HIWORD(lParam));
    case PBM_SETRANGE32:
        return SetRange(hWnd, *pState, static_cast<int>(wParam), static_cast<int>(lParam));
    case PBM_GETRANGE:
        if (auto* pRange = reinterpret_cast<PBRANGE*>(lParam))
            *pRange = PBRANGE { pState->nLow, pState->nHigh };
        return wParam ? pState->nLow : pState->nHigh;
    case PBM_SETPOS:
        return SetPos(hWnd, *pState, static_cast<int>(wParam));
    case PBM_DELTAPOS:
        return SetPos(hWnd, *pState, static_cast<long long>(pState->nPos) + static_cast<int>(wParam));
    case PBM_GETPOS:
        return pState->nPos;
    case PBM_SETSTEP:
        return std::exchange(pState->nStep, static_cast<int>(wParam));
    case PBM_STEPIT:
        return SetPos(hWnd, *pState, static_cast<long long>(pState->nPos) + pState->nStep);
    default:
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    }
}
