#include "platform/controls/ToolTipInternal.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Rects.h"
#include "platform/window/Input.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/Timers.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>

namespace {

// The gap between the cursor's hot spot and the tip below it.
constexpr int TIP_CURSOR_GAP = 20;

bool ToolScreenRect(const CToolTipTool& tool, RECT* pRect)
{
    if (tool.uFlags & TTF_IDISHWND) {
        auto hTool = reinterpret_cast<HWND>(tool.uId);
        return IsWindow(hTool) && IsWindowVisible(hTool) && GetWindowRect(hTool, pRect);
    }
    if (!IsWindow(tool.hwnd) || !IsWindowVisible(tool.hwnd))
        return false;
    *pRect = tool.rect;
    POINT corners[2] { { pRect->left, pRect->top }, { pRect->right, pRect->bottom } };
    ClientToScreen(tool.hwnd, &corners[0]);
    ClientToScreen(tool.hwnd, &corners[1]);
    *pRect = RECT { corners[0].x, corners[0].y, corners[1].x, corners[1].y };
    return true;
}

// The tool under a screen point: rectangles before whole windows, the more specific first.
int ToolAt(const CToolTipState& state, POINT pt)
{
    for (bool bWindows : { false, true }) {
        for (size_t i = 0; i < state.tools.size(); ++i) {
            RECT rc {};
            if (((state.tools[i].uFlags & TTF_IDISHWND) != 0) == bWindows && ToolScreenRect(state.tools[i], &rc)
                && PtInRect(&rc, pt))
                return static_cast<int>(i);
        }
    }
    return -1;
}

void OnMouseMove(HWND hWnd, POINT pt)
{
    CToolTipState* pState = ToolTipState(hWnd);
    pState->ptCursor = pt;
    const int nTool = ToolAt(*pState, pt);
    if (nTool == pState->nCurrent)
        return;
    const bool bWasShown = pState->ePhase == ETipPhase::Shown;
    HideTip(hWnd, false);
    if (nTool < 0)
        return;
    pState->nCurrent = nTool;
    pState->ePhase = ETipPhase::Waiting;
    SetTimer(hWnd, TOOLTIP_LEAVE_TIMER, TOOLTIP_LEAVE_CHECK, nullptr);
    SetTimer(hWnd, TOOLTIP_SHOW_TIMER, ToolTipDelay(*pState, bWasShown ? TTDT_RESHOW : TTDT_INITIAL), nullptr);
}

// Whether the window of a tool is in a top-level window that takes input:
// a modal dialog disables the window it came over, and the tips of its
// tools go until it is back.
bool IsToolReachable(const CToolTipState& state, int nTool)
{
    const HWND hRoot = GetAncestor(state.tools[static_cast<size_t>(nTool)].hwnd, GA_ROOT);
    return hRoot && IsWindowEnabled(hRoot);
}

// Shows the current tool's tip below the cursor, inside the screen.
void ShowTip(HWND hWnd)
{
    CToolTipState* pState = ToolTipState(hWnd);
    KillTimer(hWnd, TOOLTIP_SHOW_TIMER);
    const int nTool = pState->nCurrent;
    if (pState->ePhase != ETipPhase::Waiting || nTool < 0)
        return;
    if (!IsToolReachable(*pState, nTool)) {
        HideTip(hWnd, false);
        return;
    }
    std::string strText;
    if (!ToolText(hWnd, nTool, &strText) || !IsWindow(hWnd))
        return;
    pState = ToolTipState(hWnd);
    if (pState->nCurrent != nTool || pState->ePhase != ETipPhase::Waiting)
        return;
    if (strText.empty()) {
        HideTip(hWnd, true);
        return;
    }
    pState->strShown = strText;
    const SIZE size = TipSize(hWnd, strText);
    const int cx = size.cx;
    const int cy = size.cy;
    const int cxScreen = GetSystemMetrics(SM_CXSCREEN);
    const int cyScreen = GetSystemMetrics(SM_CYSCREEN);
    int x = std::clamp<int>(pState->ptCursor.x, 0, std::max(cxScreen - cx, 0));
    int y = pState->ptCursor.y + TIP_CURSOR_GAP;
    if (y + cy > cyScreen)
        y = std::max<int>(pState->ptCursor.y - cy - 2, 0);
    pState->ePhase = ETipPhase::Shown;
    SetWindowPos(hWnd, HWND_TOPMOST, x, y, cx, cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(hWnd, nullptr, TRUE);
    SetTimer(hWnd, TOOLTIP_POP_TIMER, ToolTipDelay(*pState, TTDT_AUTOPOP), nullptr);
}

/* TTF_SUBCLASS: the tool windows' procedures relay their messages to the tips watching them. */

struct CWatchedWindow {
    WNDPROC pfnOld { nullptr };
    std::vector<HWND> tips;
};

std::mutex s_watchMutex;
std::unordered_map<HWND, CWatchedWindow> s_watched;

bool IsRelayed(UINT uMsg)
{
    return uMsg == WM_MOUSEMOVE || uMsg == WM_LBUTTONDOWN || uMsg == WM_LBUTTONUP || uMsg == WM_RBUTTONDOWN
        || uMsg == WM_RBUTTONUP || uMsg == WM_MBUTTONDOWN || uMsg == WM_MBUTTONUP;
}

LRESULT CALLBACK WatchedWindowProc(HWND hTool, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    WNDPROC pfnOld = nullptr;
    std::vector<HWND> tips;
    {
        std::lock_guard lock(s_watchMutex);
        auto it = s_watched.find(hTool);
        if (it == s_watched.end())
            return DefWindowProc(hTool, uMsg, wParam, lParam);
        pfnOld = it->second.pfnOld;
        tips = it->second.tips;
        if (uMsg == WM_NCDESTROY) {
            SetWindowLongPtr(hTool, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pfnOld));
            s_watched.erase(it);
        }
    }
    if (IsRelayed(uMsg)) {
        MSG msg { hTool, uMsg, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {} };
        msg.pt = MousePointOf(lParam);
        ClientToScreen(hTool, &msg.pt);
        for (HWND hTip : tips) {
            if (IsWindow(hTip))
                SendMessage(hTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
        }
    }
    return CallWindowProc(pfnOld, hTool, uMsg, wParam, lParam);
}

} // namespace

void RelayToolTipEvent(HWND hWnd, const MSG& msg)
{
    CToolTipState* pState = ToolTipState(hWnd);
    // A tracked tip stays until its owner takes it down.
    if (!pState->bActive || pState->bTracking)
        return;
    switch (msg.message) {
    case WM_MOUSEMOVE: {
        POINT pt = MousePointOf(msg.lParam);
        if (!IsWindow(msg.hwnd))
            return;
        ClientToScreen(msg.hwnd, &pt);
        OnMouseMove(hWnd, pt);
        return;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (pState->nCurrent >= 0)
            HideTip(hWnd, true);
        return;
    default:
        return;
    }
}

void OnToolTipTimer(HWND hWnd, UINT_PTR nTimer)
{
    if (nTimer == TOOLTIP_SHOW_TIMER)
        ShowTip(hWnd);
    else if (nTimer == TOOLTIP_POP_TIMER)
        HideTip(hWnd, true);
    else if (nTimer == TOOLTIP_LEAVE_TIMER) {
        POINT pt {};
        GetCursorPos(&pt);
        const CToolTipState& state = *ToolTipState(hWnd);
        if (ToolAt(state, pt) != state.nCurrent || (state.nCurrent >= 0 && !IsToolReachable(state, state.nCurrent)))
            HideTip(hWnd, false);
    }
}

void HideTip(HWND hWnd, bool bKeepTool)
{
    CToolTipState* pState = ToolTipState(hWnd);
    KillTimer(hWnd, TOOLTIP_SHOW_TIMER);
    KillTimer(hWnd, TOOLTIP_POP_TIMER);
    if (IsWindowVisible(hWnd))
        ShowWindow(hWnd, SW_HIDE);
    pState->ePhase = ETipPhase::Idle;
    pState->bTracking = false;
    if (!bKeepTool) {
        KillTimer(hWnd, TOOLTIP_LEAVE_TIMER);
        pState->nCurrent = -1;
    }
}

void WatchToolWindow(HWND hWnd, HWND hTool)
{
    if (!IsWindow(hTool))
        return;
    std::lock_guard lock(s_watchMutex);
    auto [it, bNew] = s_watched.try_emplace(hTool);
    if (bNew)
        it->second.pfnOld = reinterpret_cast<WNDPROC>(
            SetWindowLongPtr(hTool, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchedWindowProc)));
    if (std::find(it->second.tips.begin(), it->second.tips.end(), hWnd) == it->second.tips.end())
        it->second.tips.push_back(hWnd);
}

void UnwatchToolWindow(HWND hWnd, HWND hTool)
{
    std::lock_guard lock(s_watchMutex);
    auto it = s_watched.find(hTool);
    if (it == s_watched.end())
        return;
    std::erase(it->second.tips, hWnd);
    // A procedure put in front of ours since keeps calling ours, which then only passes messages on.
    const bool bOursOnTop = GetWindowLongPtr(hTool, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(WatchedWindowProc);
    if (it->second.tips.empty() && bOursOnTop) {
        SetWindowLongPtr(hTool, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(it->second.pfnOld));
        s_watched.erase(it);
    }
}
