#include "platform/controls/UpDownControl.h"

#include "platform/controls/ControlInternal.h"
#include "platform/gdi/FrameControls.h"
#include "platform/window/Input.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/ScrollBars.h"
#include "platform/window/Timers.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace {

constexpr UINT_PTR REPEAT_TIMER = 1;
constexpr UINT FIRST_REPEAT_DELAY = 500;
constexpr UINT REPEAT_DELAY = 100;
// On a buddy with arrow keys: the up-down it belongs to and the buddy's own procedure.
constexpr const char* BUDDY_OWNER_PROP = "UpDownOwner";
constexpr const char* BUDDY_PROC_PROP = "UpDownBuddyProc";

struct CUpDownState : CControlState {
    HWND hBuddy { nullptr };
    int nLower { 100 };
    int nUpper { 0 };
    int nPos { 0 };
    int nArrow { 0 }; // +1 the up arrow is held, -1 the down arrow, 0 none
};

CUpDownState* UpDownState(HWND hWnd)
{
    return GetControlState<CUpDownState>(hWnd);
}

DWORD StyleOf(HWND hWnd)
{
    return static_cast<DWORD>(GetWindowLongPtr(hWnd, GWL_STYLE));
}

int Clamped(const CUpDownState& state, int nPos)
{
    return std::clamp(nPos, std::min(state.nLower, state.nUpper), std::max(state.nLower, state.nUpper));
}

bool ReadBuddy(const CUpDownState& state, int* pPos)
{
    if (!state.hBuddy || !IsWindow(state.hBuddy))
        return false;
    char szText[32] {};
    const int nLength = GetWindowText(state.hBuddy, szText, sizeof(szText));
    std::string strDigits;
    for (int i = 0; i < nLength; ++i) {
        if (szText[i] != ',' && szText[i] != ' ')
            strDigits += szText[i];
    }
    const char* pEnd = strDigits.data() + strDigits.size();
    const auto [ptr, ec] = std::from_chars(strDigits.data(), pEnd, *pPos);
    return ec == std::errc() && ptr == pEnd && !strDigits.empty();
}

void WriteBuddy(HWND hWnd, const CUpDownState& state)
{
    if (state.hBuddy && IsWindow(state.hBuddy) && (StyleOf(hWnd) & UDS_SETBUDDYINT))
        SetWindowText(state.hBuddy, std::to_string(state.nPos).c_str());
}

void SendScroll(HWND hWnd, WORD nCode, int nPos)
{
    if (HWND hParent = ControlParent(hWnd))
        SendMessage(hParent, (StyleOf(hWnd) & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL,
            MAKEWPARAM(nCode, static_cast<WORD>(nPos)), reinterpret_cast<LPARAM>(hWnd));
}

// One step of an arrow: nArrow +1 for the up (right) arrow, -1 for the other.
void Step(HWND hWnd, int nArrow)
{
    CUpDownState* pState = UpDownState(hWnd);
    int nRead = 0;
    if (ReadBuddy(*pState, &nRead))
        pState->nPos = Clamped(*pState, nRead);
    const int nPos = pState->nPos;
    NMUPDOWN nm {};
    nm.iPos = nPos;
    nm.iDelta = pState->nUpper >= pState->nLower ? nArrow : -nArrow;
    if (Clamped(*pState, nPos + nm.iDelta) == nPos || SendNotify(hWnd, UDN_DELTAPOS, &nm.hdr))
        return;
    if (!(pState = UpDownState(hWnd))) // the parent destroyed the control
        return;
    pState->nPos = Clamped(*pState, nPos + nm.iDelta);
    WriteBuddy(hWnd, *pState);
    SendScroll(hWnd, SB_THUMBPOSITION, pState->nPos);
}

LRESULT CALLBACK BuddyWndProc(HWND hBuddy, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    auto pfnOld = reinterpret_cast<WNDPROC>(GetProp(hBuddy, BUDDY_PROC_PROP));
    auto hUpDown = static_cast<HWND>(GetProp(hBuddy, BUDDY_OWNER_PROP));
    if (uMsg == WM_KEYDOWN && (wParam == VK_UP || wParam == VK_DOWN) && IsWindow(hUpDown)) {
        Step(hUpDown, wParam == VK_UP ? 1 : -1);
        return 0;
    }
    if (uMsg == WM_NCDESTROY) {
        RemoveProp(hBuddy, BUDDY_PROC_PROP);
        RemoveProp(hBuddy, BUDDY_OWNER_PROP);
        SetWindowLongPtr(hBuddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pfnOld));
    }
    return CallWindowProc(pfnOld, hBuddy, uMsg, wParam, lParam);
}

void ReleaseBuddy(HWND hBuddy)
{
    if (!hBuddy || !IsWindow(hBuddy) || !GetProp(hBuddy, BUDDY_PROC_PROP))
        return;
    // Only while no later subclass sits on top of ours.
    if (GetWindowLongPtr(hBuddy, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(BuddyWndProc)) {
        SetWindowLongPtr(hBuddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GetProp(hBuddy, BUDDY_PROC_PROP)));
        RemoveProp(hBuddy, BUDDY_PROC_PROP);
    }
    RemoveProp(hBuddy, BUDDY_OWNER_PROP);
}

// Sits at the buddy's right (left) edge, taking that much of its width.
void AlignToBuddy(HWND hWnd, HWND hBuddy)
{
    const DWORD dwStyle = StyleOf(hWnd);
    if (!(dwStyle & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)))
        return;
    RECT rcBuddy {};
    GetWindowRect(hBuddy, &rcBuddy);
    MapWindowPoints(nullptr, GetParent(hWnd), reinterpret_cast<POINT*>(&rcBuddy), 2);
    RECT rcSelf {};
    GetClientRect(hWnd, &rcSelf);
    const int cx = std::min<int>(rcSelf.right, rcBuddy.right - rcBuddy.left);
    const int cy = rcBuddy.bottom - rcBuddy.top;
    if (dwStyle & UDS_ALIGNRIGHT) {
        SetWindowPos(hWnd, nullptr, rcBuddy.right - cx, rcBuddy.top, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowPos(
            hBuddy, nullptr, 0, 0, rcBuddy.right - rcBuddy.left - cx, cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    } else {
        SetWindowPos(hWnd, nullptr, rcBuddy.left, rcBuddy.top, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowPos(hBuddy, nullptr, rcBuddy.left + cx, rcBuddy.top, rcBuddy.right - rcBuddy.left - cx, cy,
            SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

HWND SetBuddy(HWND hWnd, CUpDownState& state, HWND hBuddy)
{
    const HWND hOld = state.hBuddy;
    ReleaseBuddy(hOld);
    state.hBuddy = hBuddy && IsWindow(hBuddy) ? hBuddy : nullptr;
    if (!state.hBuddy)
        return hOld;
    if ((StyleOf(hWnd) & UDS_ARROWKEYS) && !GetProp(hBuddy, BUDDY_PROC_PROP)) {
        SetProp(hBuddy, BUDDY_OWNER_PROP, hWnd);
        SetProp(hBuddy, BUDDY_PROC_PROP,
            reinterpret_cast<HANDLE>(SetWindowLongPtr(hBuddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BuddyWndProc))));
    }
    AlignToBuddy(hWnd, hBuddy);
    return hOld;
}

// The arrow under a client point: +1 the upper (right) half, -1 the other.
int ArrowAt(HWND hWnd, POINT pt)
{
    RECT rc {};
    GetClientRect(hWnd, &rc);
    if (StyleOf(hWnd) & UDS_HORZ)
        return pt.x >= rc.right / 2 ? 1 : -1;
    return pt.y < rc.bottom / 2 ? 1 : -1;
}

void EndRepeat(HWND hWnd, CUpDownState& state)
{
    if (!state.nArrow)
        return;
    state.nArrow = 0;
    KillTimer(hWnd, REPEAT_TIMER);
    InvalidateRect(hWnd, nullptr, TRUE);
    SendScroll(hWnd, SB_ENDSCROLL, state.nPos);
}

void PaintUpDown(HWND hWnd, HDC hdc)
{
    const CUpDownState* pState = UpDownState(hWnd);
    RECT rc {};
    GetClientRect(hWnd, &rc);
    const bool bHorz = StyleOf(hWnd) & UDS_HORZ;
    RECT rcFirst = rc; // up or left
    RECT rcSecond = rc;
    if (bHorz)
        rcFirst.right = rcSecond.left = rc.right / 2;
    else
        rcFirst.bottom = rcSecond.top = rc.bottom / 2;
    const UINT nDisabled = IsWindowEnabled(hWnd) ? 0 : DFCS_INACTIVE;
    // With UDS_HORZ the left arrow steps down, the right one up.
    const int nFirstArrow = bHorz ? -1 : 1;
    DrawFrameControl(hdc, &rcFirst, DFC_SCROLL,
        (bHorz ? DFCS_SCROLLLEFT : DFCS_SCROLLUP) | nDisabled | (pState->nArrow == nFirstArrow ? DFCS_PUSHED : 0));
    DrawFrameControl(hdc, &rcSecond, DFC_SCROLL,
        (bHorz ? DFCS_SCROLLRIGHT : DFCS_SCROLLDOWN) | nDisabled | (pState->nArrow == -nFirstArrow ? DFCS_PUSHED : 0));
}

} // namespace

LRESULT CALLBACK UpDownWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    static constexpr CControlLifecycle LIFECYCLE { NewControlState<CUpDownState>, PaintUpDown, false };
    LRESULT lResult = 0;
    if (HandleControlLifecycle(hWnd, uMsg, wParam, lParam, LIFECYCLE, &lResult))
        return lResult;
    CUpDownState* pState = UpDownState(hWnd);
    switch (uMsg) {
    case WM_CREATE:
        if (StyleOf(hWnd) & UDS_AUTOBUDDY)
            SetBuddy(hWnd, *pState, GetWindow(hWnd, GW_HWNDPREV));
        return 0;
    case WM_WINDOWPOSCHANGED:
        // A new window starts at the top of its siblings; the dialog manager
        // then moves each control below the one made before it.
        if ((StyleOf(hWnd) & UDS_AUTOBUDDY) && !pState->hBuddy && lParam
            && !(reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_NOZORDER))
            SetBuddy(hWnd, *pState, GetWindow(hWnd, GW_HWNDPREV));
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    case WM_DESTROY:
        ReleaseBuddy(pState->hBuddy);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!IsWindowEnabled(hWnd))
            return 0;
        pState->nArrow = ArrowAt(hWnd, MousePointOf(lParam));
        SetCapture(hWnd);
        InvalidateRect(hWnd, nullptr, TRUE);
        SetTimer(hWnd, REPEAT_TIMER, FIRST_REPEAT_DELAY, nullptr);
        Step(hWnd, pState->nArrow);
        return 0;
    case WM_TIMER:
        if (wParam != REPEAT_TIMER)
            return DefWindowProc(hWnd, uMsg, wParam, lParam);
        if (pState->nArrow) {
            SetTimer(hWnd, REPEAT_TIMER, REPEAT_DELAY, nullptr);
            Step(hWnd, pState->nArrow);
        }
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == hWnd)
            ReleaseCapture();
        EndRepeat(hWnd, *pState);
        return 0;
    case WM_CAPTURECHANGED:
        EndRepeat(hWnd, *pState);
        return 0;
    case WM_KEYDOWN:
        if ((StyleOf(hWnd) & UDS_ARROWKEYS) && (wParam == VK_UP || wParam == VK_DOWN)) {
            Step(hWnd, wParam == VK_UP ? 1 : -1);
            return 0;
        }
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    case UDM_SETRANGE:
        pState->nUpper = static_cast<short>(LOWORD(lParam));
        pState->nLower = static_cast<short>(HIWORD(lParam));
        pState->nPos = Clamped(*pState, pState->nPos);
        return 0;
    case UDM_GETRANGE:
        return MAKELONG(static_cast<WORD>(pState->nUpper), static_cast<WORD>(pState->nLower));
    case UDM_SETPOS: {
        const int nOld = pState->nPos;
        pState->nPos = Clamped(*pState, static_cast<short>(LOWORD(lParam)));
        WriteBuddy(hWnd, *pState);
        return nOld;
    }
    case UDM_GETPOS: {
        if (!pState->hBuddy || !(StyleOf(hWnd) & UDS_SETBUDDYINT))
            return MAKELONG(static_cast<WORD>(pState->nPos), 0);
        int nRead = 0;
        if (!ReadBuddy(*pState, &nRead))
            return MAKELONG(static_cast<WORD>(pState->nPos), 1);
        pState->nPos = Clamped(*pState, nRead);
        return MAKELONG(static_cast<WORD>(pState->nPos), 0);
    }
    case UDM_SETBUDDY:
        return reinterpret_cast<LRESULT>(SetBuddy(hWnd, *pState, reinterpret_cast<HWND>(wParam)));
    case UDM_GETBUDDY:
        return reinterpret_cast<LRESULT>(pState->hBuddy);
    default:
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    }
}
