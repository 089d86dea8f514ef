#include "platform/controls/ToolTipControl.h"

#include "platform/base/ResourceModule.h"
#include "platform/base/TextFunctions.h"
#include "platform/controls/ToolTipInternal.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/Input.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/Timers.h"
#include "platform/window/Window.h"

#include <algorithm>

namespace {

// The tool's window for TTF_SUBCLASS: the tool itself or the window holding its rectangle.
HWND ToolWindow(const CToolTipTool& tool)
{
    return (tool.uFlags & TTF_IDISHWND) ? reinterpret_cast<HWND>(tool.uId) : tool.hwnd;
}

void SetToolText(CToolTipTool* pTool, HINSTANCE hinst, LPCSTR lpszText)
{
    pTool->strText.clear();
    pTool->nResource = 0;
    pTool->bCallback = lpszText == LPSTR_TEXTCALLBACK;
    pTool->hinst = hinst;
    if (pTool->bCallback)
        return;
    if (lpszText && IS_INTRESOURCE(lpszText))
        pTool->nResource = static_cast<UINT>(reinterpret_cast<UINT_PTR>(lpszText));
    else if (lpszText)
        pTool->strText = lpszText;
}

std::string ResourceText(HINSTANCE hinst, UINT nId)
{
    char szText[1024] {};
    LoadString(hinst, nId, szText, sizeof(szText));
    return szText;
}

bool IsToolInfo(const TOOLINFO* pInfo)
{
    return pInfo && pInfo->cbSize >= offsetof(TOOLINFO, lParam);
}

BOOL AddTool(HWND hWnd, const TOOLINFO* pInfo)
{
    CToolTipState* pState = ToolTipState(hWnd);
    if (!IsToolInfo(pInfo) || FindTool(*pState, pInfo->hwnd, pInfo->uId) >= 0)
        return FALSE;
    CToolTipTool tool;
    tool.uFlags = pInfo->uFlags;
    tool.hwnd = pInfo->hwnd;
    tool.uId = pInfo->uId;
    tool.rect = pInfo->rect;
    tool.lParam = pInfo->cbSize >= offsetof(TOOLINFO, lpReserved) ? pInfo->lParam : 0;
    SetToolText(&tool, pInfo->hinst, pInfo->lpszText);
    pState->tools.push_back(tool);
    if (tool.uFlags & TTF_SUBCLASS)
        WatchToolWindow(hWnd, ToolWindow(tool));
    return TRUE;
}

void DelTool(HWND hWnd, const TOOLINFO* pInfo)
{
    CToolTipState* pState = ToolTipState(hWnd);
    const int nTool = IsToolInfo(pInfo) ? FindTool(*pState, pInfo->hwnd, pInfo->uId) : -1;
    if (nTool < 0)
        return;
    if (nTool == pState->nCurrent)
        HideTip(hWnd, false);
    const CToolTipTool tool = pState->tools[static_cast<size_t>(nTool)];
    pState->tools.erase(pState->tools.begin() + nTool);
    if (pState->nCurrent > nTool)
        --pState->nCurrent;
    const bool bStillWatched = std::any_of(pState->tools.begin(), pState->tools.end(), [&](const CToolTipTool& other) {
        return (other.uFlags & TTF_SUBCLASS) && ToolWindow(other) == ToolWindow(tool);
    });
    if ((tool.uFlags & TTF_SUBCLASS) && !bStillWatched)
        UnwatchToolWindow(hWnd, ToolWindow(tool));
}

void UpdateTipText(HWND hWnd, const TOOLINFO* pInfo)
{
    CToolTipState* pState = ToolTipState(hWnd);
    const int nTool = IsToolInfo(pInfo) ? FindTool(*pState, pInfo->hwnd, pInfo->uId) : -1;
    if (nTool < 0)
        return;
    SetToolText(&pState->tools[static_cast<size_t>(nTool)], pInfo->hinst, pInfo->lpszText);
    // A tip on show takes the new text at once, in a window of the new text's size.
    if (pState->ePhase == ETipPhase::Shown && pState->nCurrent == nTool) {
        std::string strText;
        if (ToolText(hWnd, nTool, &strText) && (pState = ToolTipState(hWnd))) {
            pState->strShown = strText;
            if (pState->bTracking) {
                PlaceTrackedTip(hWnd);
            } else {
                const SIZE size = TipSize(hWnd, strText);
                SetWindowPos(hWnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            InvalidateRect(hWnd, nullptr, TRUE);
        }
    }
}

// Whether lpszText points at a caller's buffer rather than naming a text: a
// TOOLINFO reused from an earlier answer may still hold LPSTR_TEXTCALLBACK or an ID.
bool IsTextBuffer(LPCSTR lpszText)
{
    return lpszText && lpszText != LPSTR_TEXTCALLBACK && !IS_INTRESOURCE(lpszText);
}

// Describes a tool in *pInfo. A stored text is copied into the caller's
// lpszText (80 bytes at most, as TTM_GETTEXT); a callback or resource text is
// named by LPSTR_TEXTCALLBACK or its ID.
BOOL GetToolInfo(HWND hWnd, TOOLINFO* pInfo, int nTool)
{
    CToolTipState* pState = ToolTipState(hWnd);
    if (!IsToolInfo(pInfo) || nTool < 0 || nTool >= static_cast<int>(pState->tools.size()))
        return FALSE;
    const CToolTipTool& tool = pState->tools[static_cast<size_t>(nTool)];
    pInfo->uFlags = tool.uFlags;
    pInfo->hwnd = tool.hwnd;
    pInfo->uId = tool.uId;
    pInfo->rect = tool.rect;
    pInfo->hinst = tool.hinst;
    if (tool.bCallback)
        pInfo->lpszText = LPSTR_TEXTCALLBACK;
    else if (tool.nResource)
        pInfo->lpszText = MAKEINTRESOURCE(static_cast<WORD>(tool.nResource));
    else if (IsTextBuffer(pInfo->lpszText))
        lstrcpyn(pInfo->lpszText, tool.strText.c_str(), sizeof(NMTTDISPINFO::szText));
    if (pInfo->cbSize >= offsetof(TOOLINFO, lpReserved))
        pInfo->lParam = tool.lParam;
    return TRUE;
}

// TTM_SETTOOLINFO: everything but the name (hwnd, uId) of an existing tool.
void SetToolInfo(HWND hWnd, const TOOLINFO* pInfo)
{
    CToolTipState* pState = ToolTipState(hWnd);
    const int nTool = IsToolInfo(pInfo) ? FindTool(*pState, pInfo->hwnd, pInfo->uId) : -1;
    if (nTool < 0)
        return;
    CToolTipTool& tool = pState->tools[static_cast<size_t>(nTool)];
    const CToolTipTool old = tool;
    tool.uFlags = pInfo->uFlags;
    tool.rect = pInfo->rect;
    if (pInfo->cbSize >= offsetof(TOOLINFO, lpReserved))
        tool.lParam = pInfo->lParam;
    SetToolText(&tool, pInfo->hinst, pInfo->lpszText);
    const bool bWatched = old.uFlags & TTF_SUBCLASS;
    const bool bWatch = tool.uFlags & TTF_SUBCLASS;
    if (bWatched && (!bWatch || ToolWindow(old) != ToolWindow(tool)))
        UnwatchToolWindow(hWnd, ToolWindow(old));
    if (bWatch)
        WatchToolWindow(hWnd, ToolWindow(tool));
}

// TTM_HITTEST: the tool of pHit->hwnd at pHit->pt (its client coordinates):
// a rectangle holding the point, else the window itself as a tool.
BOOL HitTest(HWND hWnd, TTHITTESTINFO* pHit)
{
    if (!pHit)
        return FALSE;
    const CToolTipState* pState = ToolTipState(hWnd);
    int nFound = -1;
    for (size_t i = 0; i < pState->tools.size() && nFound < 0; ++i) {
        const CToolTipTool& tool = pState->tools[i];
        if (!(tool.uFlags & TTF_IDISHWND) && tool.hwnd == pHit->hwnd && PtInRect(&tool.rect, pHit->pt))
            nFound = static_cast<int>(i);
    }
    for (size_t i = 0; i < pState->tools.size() && nFound < 0; ++i) {
        const CToolTipTool& tool = pState->tools[i];
        if ((tool.uFlags & TTF_IDISHWND) && reinterpret_cast<HWND>(tool.uId) == pHit->hwnd)
            nFound = static_cast<int>(i);
    }
    if (nFound < 0)
        return FALSE;
    pHit->ti.cbSize = sizeof(TOOLINFO);
    return GetToolInfo(hWnd, &pHit->ti, nFound);
}

// TTM_GETTEXT: the text into lpszText; the caller's buffer must hold 80 bytes, as the notification's does.
void GetText(HWND hWnd, TOOLINFO* pInfo)
{
    CToolTipState* pState = ToolTipState(hWnd);
    const int nTool
        = IsToolInfo(pInfo) && IsTextBuffer(pInfo->lpszText) ? FindTool(*pState, pInfo->hwnd, pInfo->uId) : -1;
    if (nTool < 0)
        return;
    std::string strText;
    ToolText(hWnd, nTool, &strText);
    lstrcpyn(pInfo->lpszText, strText.c_str(), sizeof(NMTTDISPINFO::szText));
}

LRESULT SetDelayTime(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    CToolTipState* pState = ToolTipState(hWnd);
    const auto nDelay = static_cast<int>(lParam);
    if (wParam == TTDT_AUTOMATIC) {
        pState->nDelays[TTDT_INITIAL] = nDelay;
        pState->nDelays[TTDT_AUTOPOP] = nDelay < 0 ? -1 : nDelay * 10;
        pState->nDelays[TTDT_RESHOW] = nDelay < 0 ? -1 : nDelay / 5;
    } else if (wParam <= TTDT_INITIAL) {
        pState->nDelays[wParam] = nDelay;
    }
    return 0;
}

void PaintToolTip(HWND hWnd, HDC hdc)
{
    CToolTipState* pState = ToolTipState(hWnd);
    RECT rc {};
    GetClientRect(hWnd, &rc);
    FillRect(hdc, &rc, GetSysColorBrush(COLOR_INFOBK));
    FrameRect(hdc, &rc, GetSysColorBrush(COLOR_INFOTEXT));
    if (pState->hFont)
        SelectObject(hdc, pState->hFont);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(COLOR_INFOTEXT));
    InflateRect(&rc, -3, -2);
    const UINT nPrefix = (GetWindowLongPtr(hWnd, GWL_STYLE) & TTS_NOPREFIX) ? DT_NOPREFIX : 0;
    DrawText(hdc, pState->strShown.c_str(), static_cast<int>(pState->strShown.size()), &rc, nPrefix);
}

// TTM_GETBUBBLESIZE: MAKELONG(cx, cy) of the tool's tip now; 0 for an unknown tool.
LRESULT BubbleSize(HWND hWnd, const TOOLINFO* pInfo)
{
    const int nTool = IsToolInfo(pInfo) ? FindTool(*ToolTipState(hWnd), pInfo->hwnd, pInfo->uId) : -1;
    std::string strText;
    if (nTool < 0 || !ToolText(hWnd, nTool, &strText))
        return 0;
    const SIZE size = TipSize(hWnd, strText);
    return MAKELONG(static_cast<WORD>(size.cx), static_cast<WORD>(size.cy));
}

void OnDestroy(HWND hWnd)
{
    CToolTipState* pState = ToolTipState(hWnd);
    for (const CToolTipTool& tool : pState->tools) {
        if (tool.uFlags & TTF_SUBCLASS)
            UnwatchToolWindow(hWnd, ToolWindow(tool));
    }
    pState->tools.clear();
}

} // namespace

int FindTool(const CToolTipState& state, HWND hwnd, UINT_PTR uId)
{
    for (size_t i = 0; i < state.tools.size(); ++i) {
        if (state.tools[i].hwnd == hwnd && state.tools[i].uId == uId)
            return static_cast<int>(i);
    }
    return -1;
}

bool ToolText(HWND hWnd, int nTool, std::string* pText)
{
    CToolTipState* pState = ToolTipState(hWnd);
    const CToolTipTool tool = pState->tools[static_cast<size_t>(nTool)];
    if (!tool.bCallback) {
        *pText = tool.nResource ? ResourceText(tool.hinst, tool.nResource) : tool.strText;
        return true;
    }
    NMTTDISPINFO di {};
    di.hdr.hwndFrom = hWnd;
    di.hdr.idFrom = tool.uId;
    di.hdr.code = TTN_NEEDTEXT;
    di.lpszText = di.szText;
    di.hinst = tool.hinst;
    di.uFlags = tool.uFlags;
    di.lParam = tool.lParam;
    if (IsWindow(tool.hwnd))
        SendMessage(tool.hwnd, WM_NOTIFY, tool.uId, reinterpret_cast<LPARAM>(&di));
    if (!IsWindow(hWnd) || !(pState = ToolTipState(hWnd)) || FindTool(*pState, tool.hwnd, tool.uId) != nTool)
        return false;
    di.szText[sizeof(di.szText) - 1] = '\0';
    if (!di.lpszText || di.lpszText == LPSTR_TEXTCALLBACK)
        pText->clear();
    else if (IS_INTRESOURCE(di.lpszText))
        *pText = ResourceText(di.hinst, static_cast<UINT>(reinterpret_cast<UINT_PTR>(di.lpszText)));
    else
        *pText = di.lpszText;
    if (di.uFlags & TTF_DI_SETITEM)
        SetToolText(&pState->tools[static_cast<size_t>(nTool)], nullptr, pText->c_str());
    return true;
}

SIZE TipSize(HWND hWnd, const std::string& strText)
{
    // The text inside the frame and the margins PaintToolTip leaves.
    const SIZE text = CControlMeasureDC(hWnd).DrawnSize(strText, 0);
    return SIZE { text.cx + 8, text.cy + 6 };
}

UINT ToolTipDelay(const CToolTipState& state, WPARAM nKind)
{
    if (state.nDelays[nKind] >= 0)
        return static_cast<UINT>(state.nDelays[nKind]);
    const UINT nInitial = GetDoubleClickTime();
    return nKind == TTDT_AUTOPOP ? nInitial * 10 : nKind == TTDT_RESHOW ? nInitial / 5 : nInitial;
}

namespace {

// A tip is a top-most tool window, whatever the creator asked.
std::unique_ptr<CControlState> NewToolTipState(HWND hWnd, const CREATESTRUCT*)
{
    const auto dwExStyle = static_cast<DWORD>(GetWindowLongPtr(hWnd, GWL_EXSTYLE));
    SetWindowLongPtr(hWnd, GWL_EXSTYLE, static_cast<LONG_PTR>(dwExStyle | WS_EX_TOPMOST | WS_EX_TOOLWINDOW));
    return std::make_unique<CToolTipState>();
}

} // namespace

LRESULT CALLBACK ToolTipWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    static constexpr CControlLifecycle LIFECYCLE { NewToolTipState, PaintToolTip, true };
    LRESULT lResult = 0;
    if (HandleControlLifecycle(hWnd, uMsg, wParam, lParam, LIFECYCLE, &lResult))
        return lResult;
    CToolTipState* pState = ToolTipState(hWnd);
    switch (uMsg) {
    case WM_DESTROY:
        OnDestroy(hWnd);
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_TIMER:
        OnToolTipTimer(hWnd, wParam);
        return 0;
    case TTM_ACTIVATE:
        pState->bActive = wParam != 0;
        if (!pState->bActive)
            HideTip(hWnd, false);
        return 0;
    case TTM_ADDTOOL:
        return AddTool(hWnd, reinterpret_cast<const TOOLINFO*>(lParam));
    case TTM_DELTOOL:
        DelTool(hWnd, reinterpret_cast<const TOOLINFO*>(lParam));
        return 0;
    case TTM_NEWTOOLRECT:
        if (auto* pInfo = reinterpret_cast<const TOOLINFO*>(lParam); IsToolInfo(pInfo)) {
            const int nTool = FindTool(*pState, pInfo->hwnd, pInfo->uId);
            if (nTool >= 0)
                pState->tools[static_cast<size_t>(nTool)].rect = pInfo->rect;
        }
        return 0;
    case TTM_UPDATETIPTEXT:
        UpdateTipText(hWnd, reinterpret_cast<const TOOLINFO*>(lParam));
        return 0;
    case TTM_GETTOOLINFO: {
        auto* pInfo = reinterpret_cast<TOOLINFO*>(lParam);
        return IsToolInfo(pInfo) && GetToolInfo(hWnd, pInfo, FindTool(*pState, pInfo->hwnd, pInfo->uId));
    }
    case TTM_SETTOOLINFO:
        SetToolInfo(hWnd, reinterpret_cast<const TOOLINFO*>(lParam));
        return 0;
    case TTM_ENUMTOOLS:
        return GetToolInfo(hWnd, reinterpret_cast<TOOLINFO*>(lParam), static_cast<int>(wParam));
    case TTM_HITTEST:
        return HitTest(hWnd, reinterpret_cast<TTHITTESTINFO*>(lParam));
    case TTM_GETTEXT:
        GetText(hWnd, reinterpret_cast<TOOLINFO*>(lParam));
        return 0;
    case TTM_GETTOOLCOUNT:
        return static_cast<LRESULT>(pState->tools.size());
    case TTM_GETCURRENTTOOL:
        if (pState->nCurrent < 0)
            return FALSE;
        return lParam ? GetToolInfo(hWnd, reinterpret_cast<TOOLINFO*>(lParam), pState->nCurrent) : TRUE;
    case TTM_RELAYEVENT:
        if (const auto* pMsg = reinterpret_cast<const MSG*>(lParam))
            RelayToolTipEvent(hWnd, *pMsg);
        return 0;
    case TTM_SETDELAYTIME:
        return SetDelayTime(hWnd, wParam, lParam);
    case TTM_GETDELAYTIME:
        return wParam >= TTDT_RESHOW && wParam <= TTDT_INITIAL ? static_cast<LRESULT>(ToolTipDelay(*pState, wParam))
                                                               : 0;
    case TTM_POP:
        HideTip(hWnd, true);
        return 0;
    case TTM_TRACKACTIVATE:
        TrackActivate(hWnd, wParam != 0, reinterpret_cast<const TOOLINFO*>(lParam));
        return 0;
    case TTM_TRACKPOSITION:
        TrackPosition(hWnd, MousePointOf(lParam));
        return 0;
    case TTM_GETBUBBLESIZE:
        return BubbleSize(hWnd, reinterpret_cast<const TOOLINFO*>(lParam));
    default:
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    }
}
