#include "platform/controls/HeaderControl.h"

#include "platform/controls/HeaderInternal.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Text.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <cstring>

namespace {

int Count(const CHeaderState& state)
{
    return static_cast<int>(state.items.size());
}

LRESULT InsertItem(HWND hWnd, CHeaderState& state, int nIndex, const HDITEM* pItem)
{
    if (!pItem || nIndex < 0)
        return -1;
    nIndex = std::min(nIndex, Count(state));
    for (int& nOrdered : state.order) {
        if (nOrdered >= nIndex)
            ++nOrdered;
    }
    CHeaderItem inserted;
    inserted.nSerial = state.nNextSerial++;
    state.items.insert(state.items.begin() + nIndex, inserted);
    state.order.insert(state.order.begin() + std::min(nIndex, static_cast<int>(state.order.size())), nIndex);
    ApplyHeaderItem(state, nIndex, *pItem);
    InvalidateRect(hWnd, nullptr, TRUE);
    return nIndex;
}

BOOL DeleteItem(HWND hWnd, CHeaderState& state, int nIndex)
{
    if (!IsHeaderIndex(state, nIndex))
        return FALSE;
    state.order.erase(state.order.begin() + HeaderPosition(state, nIndex));
    for (int& nOrdered : state.order) {
        if (nOrdered > nIndex)
            --nOrdered;
    }
    state.items.erase(state.items.begin() + nIndex);
    state.eMode = EHeaderMode::Idle;
    state.nActive = -1;
    InvalidateRect(hWnd, nullptr, TRUE);
    return TRUE;
}

BOOL GetItem(const CHeaderState& state, int nIndex, HDITEM* pItem)
{
    if (!pItem || !IsHeaderIndex(state, nIndex))
        return FALSE;
    const CHeaderItem& item = state.items[static_cast<size_t>(nIndex)];
    if (pItem->mask & HDI_WIDTH)
        pItem->cxy = item.cxy;
    if ((pItem->mask & HDI_TEXT) && pItem->pszText && pItem->cchTextMax > 0) {
        const size_t nCopy = std::min(item.strText.size(), static_cast<size_t>(pItem->cchTextMax - 1));
        std::memcpy(pItem->pszText, item.strText.data(), nCopy);
        pItem->pszText[nCopy] = '\0';
    }
    if (pItem->mask & HDI_FORMAT)
        pItem->fmt = item.fmt;
    if (pItem->mask & HDI_LPARAM)
        pItem->lParam = item.lParam;
    if (pItem->mask & HDI_IMAGE)
        pItem->iImage = item.iImage;
    if (pItem->mask & HDI_ORDER)
        pItem->iOrder = HeaderPosition(state, nIndex);
    return TRUE;
}

BOOL SetOrderArray(HWND hWnd, CHeaderState& state, int nCount, const int* pOrder)
{
    if (!pOrder || nCount != Count(state))
        return FALSE;
    std::vector<int> order(pOrder, pOrder + nCount);
    std::vector<int> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < nCount; ++i) {
        if (sorted[static_cast<size_t>(i)] != i)
            return FALSE; // not a permutation of the indexes
    }
    state.order = std::move(order);
    InvalidateRect(hWnd, nullptr, TRUE);
    return TRUE;
}

BOOL Layout(HWND hWnd, HDLAYOUT* pLayout)
{
    if (!pLayout || !pLayout->prc || !pLayout->pwpos)
        return FALSE;
    const int nHeight = (GetWindowLongPtr(hWnd, GWL_STYLE) & HDS_HIDDEN) ? 0 : ControlFontHeight(hWnd) + 6;
    RECT& rc = *pLayout->prc;
    *pLayout->pwpos = WINDOWPOS { hWnd, nullptr, rc.left, rc.top, rc.right - rc.left, nHeight, SWP_NOZORDER };
    rc.top += nHeight;
    return TRUE;
}

} // namespace

LRESULT CALLBACK HeaderWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    static constexpr CControlLifecycle LIFECYCLE { NewControlState<CHeaderState>, PaintHeader, true };
    LRESULT lResult = 0;
    if (HandleControlLifecycle(hWnd, uMsg, wParam, lParam, LIFECYCLE, &lResult))
        return lResult;
    CHeaderState* pState = HeaderState(hWnd);
    const auto nIndex = static_cast<int>(static_cast<INT_PTR>(wParam));
    switch (uMsg) {
    case HDM_GETITEMCOUNT:
        return Count(*pState);
    case HDM_INSERTITEM:
        return InsertItem(hWnd, *pState, nIndex, reinterpret_cast<const HDITEM*>(lParam));
    case HDM_DELETEITEM:
        return DeleteItem(hWnd, *pState, nIndex);
    case HDM_GETITEM:
        return GetItem(*pState, nIndex, reinterpret_cast<HDITEM*>(lParam));
    case HDM_SETITEM:
        return lParam ? ChangeHeaderItem(hWnd, nIndex, *reinterpret_cast<const HDITEM*>(lParam)) : FALSE;
    case HDM_LAYOUT:
        return Layout(hWnd, reinterpret_cast<HDLAYOUT*>(lParam));
    case HDM_HITTEST: {
        auto* pInfo = reinterpret_cast<HDHITTESTINFO*>(lParam);
        if (!pInfo)
            return -1;
        pInfo->iItem = HeaderHitTest(hWnd, *pState, pInfo->pt, &pInfo->flags);
        return pInfo->iItem;
    }
    case HDM_GETITEMRECT:
        if (!lParam || !IsHeaderIndex(*pState, nIndex))
            return FALSE;
        *reinterpret_cast<RECT*>(lParam) = HeaderItemRect(hWnd, *pState, nIndex);
        return TRUE;
    case HDM_CREATEDRAGIMAGE:
        return reinterpret_cast<LRESULT>(CreateHeaderDragImage(hWnd, nIndex));
    case HDM_ORDERTOINDEX:
        return nIndex >= 0 && nIndex < Count(*pState) ? pState->order[static_cast<size_t>(nIndex)] : nIndex;
    case HDM_GETORDERARRAY: {
        auto* pOrder = reinterpret_cast<int*>(lParam);
        if (!pOrder || nIndex < Count(*pState))
            return FALSE;
        std::copy(pState->order.begin(), pState->order.end(), pOrder);
        return TRUE;
    }
    case HDM_SETORDERARRAY:
        return SetOrderArray(hWnd, *pState, nIndex, reinterpret_cast<const int*>(lParam));
    default:
        if (HandleHeaderMouse(hWnd, uMsg, wParam, lParam))
            return 0;
        return DefWindowProc(hWnd, uMsg, wParam, lParam);
    }
}
