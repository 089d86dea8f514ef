#include "platform/controls/ListBoxInternal.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/FrameControls.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/MessageQueue.h"

#include <algorithm>

void PaintListBox(HWND hWnd, HDC hdc)
{
    CListBoxState* pState = ListBoxState(hWnd);
    const DWORD dwStyle = ListStyle(hWnd);
    HBRUSH hBrush = PrepareControlDC(hWnd, hdc, WM_CTLCOLORLISTBOX);
    RECT rcClient {};
    GetClientRect(hWnd, &rcClient);
    FillRect(hdc, &rcClient, hBrush);
    const COLORREF crText = GetTextColor(hdc);
    SetBkMode(hdc, TRANSPARENT);
    for (int i = pState->nTop; i < ItemCount(*pState); ++i) {
        RECT rc = ItemRect(hWnd, *pState, i);
        if (rc.top >= rcClient.bottom)
            break;
        const bool bSelected = IsSelected(hWnd, *pState, i);
        const bool bCaret = pState->bFocus && i == pState->nCaret;
        // Items scrolled sideways start left of the client area and span the extent.
        rc.left -= pState->nScrollX;
        rc.right = std::max(rc.right, static_cast<LONG>(pState->nExtent)) - pState->nScrollX;
        if (IsOwnerDrawn(dwStyle)) {
            DRAWITEMSTRUCT dis { ODT_LISTBOX, static_cast<UINT>(GetDlgCtrlID(hWnd)), static_cast<UINT>(i),
                ODA_DRAWENTIRE,
                (bSelected ? ODS_SELECTED : 0u) | (bCaret ? ODS_FOCUS : 0u)
                    | (IsWindowEnabled(hWnd) ? 0u : ODS_DISABLED),
                hWnd, hdc, rc, pState->items[static_cast<size_t>(i)].nData };
            if (HWND hParent = ControlParent(hWnd))
                SendMessage(hParent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
            if (!IsWindow(hWnd))
                return;
            continue;
        }
        if (bSelected) {
            FillRect(hdc, &rc, GetSysColorBrush(COLOR_HIGHLIGHT));
            SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        } else {
            SetTextColor(hdc, IsWindowEnabled(hWnd) ? crText : GetSysColor(COLOR_GRAYTEXT));
        }
        const std::string& strText = pState->items[static_cast<size_t>(i)].strText;
        RECT rcText = rc;
        rcText.left += 2;
        DrawText(hdc, strText.c_str(), static_cast<int>(strText.size()), &rcText,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | ((dwStyle & LBS_USETABSTOPS) ? DT_EXPANDTABS : 0));
        if (bCaret)
            DrawFocusRect(hdc, &rc);
    }
}
