#include "platform/controls/TabControl.h"

#include "platform/controls/ControlInternal.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/Focus.h"
#include "platform/window/Input.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int TAB_PADDING = 6; // left and right of a tab's text
constexpr int FIRST_TAB_X = 2;
constexpr int BORDER = 2; // around the display area

struct CTabItem {
    std::string strText;
    int iImage { -1 };
    LPARAM lParam { 0 };
};

struct CTabState : CControlState {
    std::vector<CTabItem> items;
    int nSelected { -1 };
};

CTabState* TabState(HWND hWnd)
{
    return GetControlState<CTabState>(hWnd);
}

bool IsIndex(const CTabState& state, int nIndex)
{
    return nIndex >= 0 && nIndex < static_cast<int>(state.items.size());
}

int RowHeight(HWND hWnd)
{
    return ControlFontHeight(hWnd) + 8;
}

// Widths measure the text as drawn: "&" prefixes take no room.
int TextWidth(HWND hWnd, const std::string& strText)
{
    return CControlMeasureDC(hWnd).DrawnSize(strText, DT_SINGLELINE).cx;
}

RECT ItemRect(HWND hWnd, const CTabState& state, int nIndex)
{
    int x = FIRST_TAB_X;
    for (int i = 0; i < nIndex; ++i)
        x += TextWidth(hWnd, state.items[static_cast<size_t>(i)].strText) + 2 * TAB_PADDING;
    const int cx = TextWidth(hWnd, state.items[static_cast<size_t>(nIndex)].strText) + 2 * TAB_PADDING;
    return RECT { x, BORDER, x + cx, RowHeight(hWnd) };
}

int HitTest(HWND hWnd, const CTabState& state, POINT pt)
{
    for (int i = 0; i < static_cast<int>(state.items.size()); ++i) {
        const RECT rc = ItemRect(hWnd, state, i);
        if (PtInRect(&rc, pt))
            return i;
    }
    return -1;
}

void ApplyItem(CTabItem& target, const TCITEM& item)
{
    if (item.mask & TCIF_TEXT)
        target.strText = item.pszText ? item.pszText : "";
    if (item.mask & TCIF_IMAGE)
        target.iImage = item.iImage;
    if (item.mask & TCIF_PARAM)
        target.lParam = item.lParam;
}

LRESULT InsertItem(HWND hWnd, CTabState& state, int nIndex, const TCITEM* pItem)
{
    if (!pItem || nIndex < 0)
        return -1;
    nIndex = std::min(nIndex, static_cast<int>(state.items.size()));
    CTabItem inserted;
    ApplyItem(inserted, *pItem);
    state.items.insert(state.items.begin() + nIndex, inserted);
    if (state.nSelected < 0)
        state.nSelected = 0;
    else if (state.nSelected >= nIndex)
        ++state.nSelected;
    InvalidateRect(hWnd, nullptr, TRUE);
    return nIndex;
}

BOOL DeleteItem(HWND hWnd, CTabState& state, int nIndex)
{
    if (!IsIndex(state, nIndex))
        return FALSE;
    state.items.erase(state.items.begin() + nIndex);
    if (state.nSelected == nIndex)
        state.nSelected = -1;
    else if (state.nSelected > nIndex)
        --state.nSelected;
    InvalidateRect(hWnd, nullptr, TRUE);
    return TRUE;
}

BOOL GetItem(const CTabState& state, int nIndex, TCITEM* pItem)
{
    if (!pItem || !IsIndex(state, nIndex))
        return FALSE;
    const CTabItem& item = state.items[static_cast<size_t>(nIndex)];
    if ((pItem->mask & TCIF_TEXT) && pItem->pszText && pItem->cchTextMax > 0) {
        size_t nCopy = std::min(item.strText.size(), static_cast<size_t>(pItem->cchTextMax - 1));
        while (nCopy > 0 && nCopy < item.strText.size() && (item.strText[nCopy] & 0xC0) == 0x80)
            --nCopy; // never half a UTF-8 character
        std::memcpy(pItem->pszText, item.strText.data(), nCopy);
        pItem->pszText[nCopy] = '\0';
    }
    if (pItem->mask & TCIF_IMAGE)
        pItem->iImage = item.iImage;
    if (pItem->mask & TCIF_PARAM)
        pItem->lParam = item.lParam;
    return TRUE;
}

// The display area of a window rectangle (bLarger FALSE), or the window
// rectangle around a display area (TRUE).
void AdjustRect(HWND hWnd, BOOL bLarger, RECT* pRect)
{
    const int nSign = bLarger ? -1 : 1;
    pRect->left += nSign * BORDER;
    pRect->top += nSign * (RowHeight(hWnd) + BORDER);
    pRect->right -= nSign * BORDER;
    pRect->bottom -= nSign * BORDER;
}

// A change of tab the user asked for; the parent may refuse it.
void SelectByUser(HWND hWnd, int nIndex)
{
    CTabState* pState = TabState(hWnd);
    if (!IsIndex(*pState, nIndex) || nIndex == pState->nSelected)
        return;
    NMHDR hdr {};
    if (SendNotify(hWnd, TCN_SELCHANGING, &hdr))
        return;
    if (!(pState = TabState(hWnd)) || !IsIndex(*pState, nIndex))
        return;
    pState->nSelected = nIndex;
    InvalidateRect(hWnd, nullptr, TRUE);
    SendNotify(hWnd, TCN_SELCHANGE, &hdr);
}

void PaintTabs(HWND hWnd, HDC hdc)
{
    const CTabState* pState = TabState(hWnd);
    RECT rcClient {};
    GetClientRect(hWnd, &rcClient);
    FillRect(hdc, &rcClient, GetSysColorBrush(COLOR_BTNFACE));
    if (pState->hFont)
        SelectObject(hdc, pState->hFont);
    RECT rcDisplay { rcClient.left, RowHeight(hWnd), rcClient.right, rcClient.bottom };
    DrawEdge(hdc, &rcDisplay, EDGE_RAISED, BF_RECT);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
    for (int i = 0; i < static_cast<int>(pState->items.size()); ++i) {
        RECT rc = ItemRect(hWnd, *pState, i);
        if (i == pState->nSelected) {
            // Raised above the others and open to the display area.
            InflateRect(&rc, BORDER, 0);
            rc.top -= BORDER;
            rc.bottom += 1;
            FillRect(hdc, &rc, GetSysColorBrush(COLOR_BTNFACE));
        }
        DrawEdge(hdc, &rc, EDGE_RAISED, BF_LEFT | BF_TOP | BF_RIGHT);
        const std::string& strText = pState->items[static_cast<size_t>(i)].strText;
        DrawText(hdc, strText.c_str(), static_cast<int>(strText.size()), &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        if (i == pState->nSelected && GetFocus() == hWnd) {
            RECT rcFocus = rc;
            InflateRect(&rcFocus, -3, -3);
            DrawFocusRect(hdc, &rcFocus);
        }
    }
}

} // namespace

LRESULT CALLBACK TabControlWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    static constexpr CControlLifecycle LIFECYCLE { NewControlState<CTabState>, PaintTabs, true };
    LRESULT lResult = 0;
    if (HandleControlLifecycle(hWnd, uMsg, wParam, lParam, LIFECYCLE, &lResult))
        return lResult;
    CTabState* pState = TabState(hWnd);
    const auto nIndex = static_cast<int>(static_cast<INT_PTR>(wParam));
    switch (uMsg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(hWnd, nullptr, TRUE);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: { // a quick second press selects as the first does
        const int nHit = HitTest(hWnd, *pState, MousePointOf(lParam));
        if (nHit >= 0 && !(GetWindowLongPtr(hWnd, GWL_STYLE) & TCS_FOCUSNEVER))
            SetFocus(hWnd);
        SelectByUser(hWnd, nHit);
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_LEFT || wParam == VK_RIGHT) {
            SelectByUser(hWnd, pState->nSelected + (wParam == VK_LEFT ? -1 : 1));
            return 0;
        }
        if (wParam == VK_TAB && (GetKeyState(VK_CONTROL) & 0x8000) && !pState->items.empty()) {
            // Round the row: after the last tab comes the first.
            const auto nCount = static_cast<int>(pState->items.size());
            const int nStep = (GetKeyState(VK_SHIFT) & 0x8000) ? -1 : 1;
            SelectByUser(hWnd, ((std::max(pState->nSelected, 0) + nStep) % nCount + nCount) % nCount);
            return 0;
        }
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    case TCM_GETITEMCOUNT:
        return static_cast<LRESULT>(pState->items.size());
    case TCM_INSERTITEM:
        return InsertItem(hWnd, *pState, nIndex, reinterpret_cast<const TCITEM*>(lParam));
    case TCM_DELETEITEM:
        return DeleteItem(hWnd, *pState, nIndex);
    case TCM_DELETEALLITEMS:
        pState->items.clear();
        pState->nSelected = -1;
        InvalidateRect(hWnd, nullptr, TRUE);
        return TRUE;
    case TCM_GETITEM:
        return GetItem(*pState, nIndex, reinterpret_cast<TCITEM*>(lParam));
    case TCM_SETITEM:
        if (!lParam || !IsIndex(*pState, nIndex))
            return FALSE;
        ApplyItem(pState->items[static_cast<size_t>(nIndex)], *reinterpret_cast<const TCITEM*>(lParam));
        InvalidateRect(hWnd, nullptr, TRUE);
        return TRUE;
    case TCM_GETITEMRECT:
        if (!lParam || !IsIndex(*pState, nIndex))
            return FALSE;
        *reinterpret_cast<RECT*>(lParam) = ItemRect(hWnd, *pState, nIndex);
        return TRUE;
    case TCM_GETCURSEL:
        return pState->nSelected;
    case TCM_SETCURSEL: {
        if (!IsIndex(*pState, nIndex))
            return -1;
        const int nOld = std::exchange(pState->nSelected, nIndex);
        InvalidateRect(hWnd, nullptr, TRUE);
        return nOld;
    }
    case TCM_HITTEST: {
        auto* pInfo = reinterpret_cast<TCHITTESTINFO*>(lParam);
        if (!pInfo)
            return -1;
        const int nHit = HitTest(hWnd, *pState, pInfo->pt);
        pInfo->flags = nHit >= 0 ? TCHT_ONITEM : TCHT_NOWHERE;
        return nHit;
    }
    case TCM_ADJUSTRECT:
        if (lParam)
            AdjustRect(hWnd, static_cast<BOOL>(wParam), reinterpret_cast<RECT*>(lParam));
        return 0;
    default:
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    }
}
