#include "platform/controls/StatusBarControl.h"

#include "platform/controls/ControlInternal.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int MAX_PARTS = 256;
constexpr int BORDER_HORIZONTAL = 0;
constexpr int BORDER_VERTICAL = 2;
constexpr int BORDER_BETWEEN = 2;
constexpr int TEXT_INDENT = 3;

struct CStatusPart {
    int nRight { -1 };
    std::string strText;
    UINT nType { 0 }; // SBT_*
};

struct CStatusBarState : CControlState {
    std::vector<CStatusPart> parts { CStatusPart {} };
    int nMinHeight { 0 };
};

CStatusBarState* StatusBarState(HWND hWnd)
{
    return GetControlState<CStatusBarState>(hWnd);
}

RECT PartRect(HWND hWnd, const CStatusBarState& state, int nPart)
{
    RECT rcClient {};
    GetClientRect(hWnd, &rcClient);
    int nLeft = BORDER_HORIZONTAL;
    int nRight = nLeft;
    for (int i = 0; i <= nPart; ++i) {
        const int nEdge = state.parts[static_cast<size_t>(i)].nRight;
        nRight = std::max(nLeft, nEdge < 0 ? rcClient.right - BORDER_HORIZONTAL : nEdge);
        if (i < nPart && nRight > nLeft)
            nLeft = nRight + BORDER_BETWEEN;
    }
    return RECT { nLeft, BORDER_VERTICAL, nRight, std::max<LONG>(BORDER_VERTICAL, rcClient.bottom - BORDER_VERTICAL) };
}

bool IsPart(const CStatusBarState& state, int nPart)
{
    return nPart >= 0 && nPart < static_cast<int>(state.parts.size());
}

BOOL SetParts(HWND hWnd, CStatusBarState& state, int nCount, const int* pEdges)
{
    if (!pEdges || nCount < 1 || nCount > MAX_PARTS)
        return FALSE;
    state.parts.resize(static_cast<size_t>(nCount));
    for (int i = 0; i < nCount; ++i)
        state.parts[static_cast<size_t>(i)].nRight = pEdges[i];
    InvalidateRect(hWnd, nullptr, TRUE);
    return TRUE;
}

LRESULT TextInfo(const CStatusPart& part)
{
    return MAKELONG(static_cast<WORD>(part.strText.size()), static_cast<WORD>(part.nType));
}

// Along the parent's bottom, as wide as its client area and one line high.
void PlaceAlongParent(HWND hWnd, const CStatusBarState& state)
{
    HWND hParent = GetParent(hWnd);
    if (!hParent || (GetWindowLongPtr(hWnd, GWL_STYLE) & CCS_NOPARENTALIGN))
        return;
    RECT rcParent {};
    GetClientRect(hParent, &rcParent);
    const int cy = std::max(state.nMinHeight, ControlFontHeight(hWnd) + 2) + 2 * BORDER_VERTICAL;
    SetWindowPos(hWnd, nullptr, 0, rcParent.bottom - cy, rcParent.right, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void DrawGrip(HDC hdc, const RECT& rcClient)
{
    for (int nRow = 0; nRow < 3; ++nRow) {
        for (int nCol = 2 - nRow; nCol < 3; ++nCol) {
            const int x = rcClient.right - 4 * (3 - nCol);
            const int y = rcClient.bottom - 4 * (3 - nRow);
            RECT rcLight { x + 1, y + 1, x + 3, y + 3 };
            RECT rcDark { x, y, x + 2, y + 2 };
            FillRect(hdc, &rcLight, GetSysColorBrush(COLOR_3DHIGHLIGHT));
            FillRect(hdc, &rcDark, GetSysColorBrush(COLOR_3DSHADOW));
        }
    }
}

// A text's tabs split it: what follows one tab is centred, two right-aligned.
void DrawPartText(HDC hdc, const std::string& strText, RECT rc)
{
    static constexpr UINT ALIGNS[] = { DT_LEFT, DT_CENTER, DT_RIGHT };
    size_t nStart = 0;
    for (UINT nAlign : ALIGNS) {
        const size_t nTab = strText.find('\t', nStart);
        const std::string strPiece = strText.substr(nStart, nTab == std::string::npos ? nTab : nTab - nStart);
        DrawText(hdc, strPiece.c_str(), static_cast<int>(strPiece.size()), &rc,
            nAlign | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        if (nTab == std::string::npos)
            return;
        nStart = nTab + 1;
    }
}

void PaintStatusBar(HWND hWnd, HDC hdc)
{
    const CStatusBarState* pState = StatusBarState(hWnd);
    RECT rcClient {};
    GetClientRect(hWnd, &rcClient);
    FillRect(hdc, &rcClient, GetSysColorBrush(COLOR_BTNFACE));
    if (pState->hFont)
        SelectObject(hdc, pState->hFont);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
    for (int i = 0; i < static_cast<int>(pState->parts.size()); ++i) {
        RECT rc = PartRect(hWnd, *pState, i);
        if (rc.right <= rc.left)
            continue;
        const CStatusPart& part = pState->parts[static_cast<size_t>(i)];
        if (!(part.nType & SBT_NOBORDERS))
            DrawEdge(hdc, &rc, (part.nType & SBT_POPOUT) ? BDR_RAISEDOUTER : BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        rc.left += TEXT_INDENT;
        rc.right -= TEXT_INDENT;
        DrawPartText(hdc, part.strText, rc);
    }
    if (GetWindowLongPtr(hWnd, GWL_STYLE) & SBARS_SIZEGRIP)
        DrawGrip(hdc, rcClient);
}

} // namespace

LRESULT CALLBACK StatusBarWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    static constexpr CControlLifecycle LIFECYCLE { NewControlState<CStatusBarState>, PaintStatusBar, true };
    LRESULT lResult = 0;
    if (HandleControlLifecycle(hWnd, uMsg, wParam, lParam, LIFECYCLE, &lResult))
        return lResult;
    CStatusBarState* pState = StatusBarState(hWnd);
    const int nPart = static_cast<int>(wParam & 0xFF); // SB_SETTEXT carries SBT_* above the part
    switch (uMsg) {
    case WM_CREATE:
        PlaceAlongParent(hWnd, *pState);
        return 0;
    case WM_SIZE:
        PlaceAlongParent(hWnd, *pState);
        InvalidateRect(hWnd, nullptr, TRUE);
        return 0;
    case SB_SETPARTS:
        return SetParts(hWnd, *pState, static_cast<int>(wParam), reinterpret_cast<const int*>(lParam));
    case SB_GETPARTS: {
        auto* pEdges = reinterpret_cast<int*>(lParam);
        const auto nRoom = std::min(static_cast<size_t>(wParam), pState->parts.size());
        for (size_t i = 0; pEdges && i < nRoom; ++i)
            pEdges[i] = pState->parts[i].nRight;
        return static_cast<LRESULT>(pState->parts.size());
    }
    case SB_SETTEXT: {
        if (!IsPart(*pState, nPart))
            return FALSE;
        CStatusPart& part = pState->parts[static_cast<size_t>(nPart)];
        part.strText = lParam ? reinterpret_cast<LPCSTR>(lParam) : "";
        part.nType = static_cast<UINT>(wParam) & (SBT_NOBORDERS | SBT_POPOUT);
        const RECT rc = PartRect(hWnd, *pState, nPart);
        InvalidateRect(hWnd, &rc, TRUE);
        return TRUE;
    }
    case SB_GETTEXT:
        if (!IsPart(*pState, nPart))
            return 0;
        if (auto* pszText = reinterpret_cast<LPSTR>(lParam)) {
            const std::string& strText = pState->parts[static_cast<size_t>(nPart)].strText;
            std::memcpy(pszText, strText.c_str(), strText.size() + 1);
        }
        return TextInfo(pState->parts[static_cast<size_t>(nPart)]);
    case SB_GETTEXTLENGTH:
        return IsPart(*pState, nPart) ? TextInfo(pState->parts[static_cast<size_t>(nPart)]) : 0;
    case SB_GETRECT:
        if (!lParam || !IsPart(*pState, nPart))
            return FALSE;
        *reinterpret_cast<RECT*>(lParam) = PartRect(hWnd, *pState, nPart);
        return TRUE;
    case SB_SETMINHEIGHT:
        pState->nMinHeight = static_cast<int>(wParam);
        return 0;
    case SB_GETBORDERS: {
        auto* pBorders = reinterpret_cast<int*>(lParam);
        if (!pBorders)
            return FALSE;
        pBorders[0] = BORDER_HORIZONTAL;
        pBorders[1] = BORDER_VERTICAL;
        pBorders[2] = BORDER_BETWEEN;
        return TRUE;
    }
    default:
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    }
}
