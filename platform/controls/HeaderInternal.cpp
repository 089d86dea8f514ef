#include "platform/controls/HeaderInternal.h"

#include "platform/window/MessageQueue.h"
#include "platform/window/Paint.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <cstdlib>

namespace {

void MoveToPosition(CHeaderState& state, int nIndex, int nPosition)
{
    state.order.erase(state.order.begin() + HeaderPosition(state, nIndex));
    nPosition = std::clamp(nPosition, 0, static_cast<int>(state.order.size()));
    state.order.insert(state.order.begin() + nPosition, nIndex);
}

} // namespace

int HeaderPosition(const CHeaderState& state, int nIndex)
{
    auto it = std::find(state.order.begin(), state.order.end(), nIndex);
    return static_cast<int>(it - state.order.begin());
}

void ApplyHeaderItem(CHeaderState& state, int nIndex, const HDITEM& item)
{
    CHeaderItem& target = state.items[static_cast<size_t>(nIndex)];
    if (item.mask & HDI_WIDTH)
        target.cxy = std::max(item.cxy, 0);
    if (item.mask & HDI_TEXT)
        target.strText = item.pszText ? item.pszText : "";
    if (item.mask & HDI_FORMAT)
        target.fmt = item.fmt;
    if (item.mask & HDI_LPARAM)
        target.lParam = item.lParam;
    if (item.mask & HDI_IMAGE)
        target.iImage = item.iImage;
    if (item.mask & HDI_ORDER)
        MoveToPosition(state, nIndex, item.iOrder);
}

int HeaderIndexOfSerial(const CHeaderState& state, unsigned nSerial)
{
    for (size_t i = 0; i < state.items.size(); ++i) {
        if (state.items[i].nSerial == nSerial)
            return static_cast<int>(i);
    }
    return -1;
}

RECT HeaderItemRect(HWND hWnd, const CHeaderState& state, int nIndex)
{
    RECT rcClient {};
    GetClientRect(hWnd, &rcClient);
    int x = 0;
    for (int nOrdered : state.order) {
        const int cx = state.items[static_cast<size_t>(nOrdered)].cxy;
        if (nOrdered == nIndex)
            return RECT { x, 0, x + cx, rcClient.bottom };
        x += cx;
    }
    return RECT {};
}

int HeaderHitTest(HWND hWnd, const CHeaderState& state, POINT pt, UINT* pFlags)
{
    RECT rcClient {};
    GetClientRect(hWnd, &rcClient);
    UINT nOutside = 0;
    if (pt.y < 0)
        nOutside |= HHT_ABOVE;
    if (pt.y >= rcClient.bottom)
        nOutside |= HHT_BELOW;
    if (pt.x < 0)
        nOutside |= HHT_TOLEFT;
    if (pt.x >= rcClient.right)
        nOutside |= HHT_TORIGHT;
    if (nOutside) {
        *pFlags = nOutside;
        return -1;
    }
    // The divider nearest the point among items with a width; at equal
    // distance the later divider wins, as its item is the one being widened.
    int nDivider = -1;
    int nBest = HEADER_DIVIDER_HALF;
    int nOver = -1;
    int x = 0;
    for (int nOrdered : state.order) {
        const int cx = state.items[static_cast<size_t>(nOrdered)].cxy;
        if (pt.x >= x && pt.x < x + cx)
            nOver = nOrdered;
        x += cx;
        if (cx > 0 && std::abs(pt.x - x) <= nBest) {
            nBest = std::abs(pt.x - x);
            nDivider = nOrdered;
        }
    }
    if (nDivider >= 0) {
        *pFlags = HHT_ONDIVIDER;
        return nDivider;
    }
    *pFlags = nOver >= 0 ? HHT_ONHEADER : HHT_NOWHERE;
    return nOver;
}

int HeaderDropPosition(HWND, const CHeaderState& state, int x)
{
    int nLeft = 0;
    int nPosition = 0;
    for (int nOrdered : state.order) {
        const int cx = state.items[static_cast<size_t>(nOrdered)].cxy;
        if (x < nLeft + cx / 2)
            return nPosition;
        nLeft += cx;
        ++nPosition;
    }
    return nPosition;
}

LRESULT HeaderNotify(HWND hWnd, UINT nCode, int nIndex, HDITEM* pItem)
{
    NMHEADER nm {};
    nm.iItem = nIndex;
    nm.iButton = 0;
    nm.pitem = pItem;
    return SendNotify(hWnd, nCode, &nm.hdr);
}

BOOL ChangeHeaderItem(HWND hWnd, int nIndex, const HDITEM& item)
{
    CHeaderState* pState = HeaderState(hWnd);
    if (!pState || !IsHeaderIndex(*pState, nIndex))
        return FALSE;
    HDITEM asked = item;
    if (HeaderNotify(hWnd, HDN_ITEMCHANGING, nIndex, &asked))
        return FALSE;
    // The owner may have destroyed the header or removed the item meanwhile.
    pState = HeaderState(hWnd);
    if (!pState || !IsHeaderIndex(*pState, nIndex))
        return FALSE;
    ApplyHeaderItem(*pState, nIndex, item);
    InvalidateRect(hWnd, nullptr, TRUE);
    HDITEM changed = item;
    HeaderNotify(hWnd, HDN_ITEMCHANGED, nIndex, &changed);
    return TRUE;
}
