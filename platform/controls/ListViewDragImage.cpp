#include "platform/controls/ListViewInternal.h"

#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/Paint.h"

#include <algorithm>
#include <string>

HIMAGELIST CreateRowDragImage(HWND hWnd, int nRow, POINT* pptUpperLeft)
{
    CListViewState* pState = ListViewState(hWnd);
    if (!IsRow(*pState, nRow))
        return nullptr;
    std::string strText;
    int iImage = 0;
    if (!RowLabel(hWnd, nRow, &strText, &iImage) || !(pState = ListViewSurvivor(hWnd)) || !IsRow(*pState, nRow))
        return nullptr;
    RECT rcIcon {};
    RECT rcLabel {};
    RowRect(hWnd, *pState, nRow, LVIR_ICON, &rcIcon);
    RowRect(hWnd, *pState, nRow, LVIR_LABEL, &rcLabel);
    RECT rcDrag {};
    UnionRect(&rcDrag, &rcIcon, &rcLabel);
    const int cx = std::max<int>(rcDrag.right - rcDrag.left, 1);
    const int cy = std::max<int>(rcDrag.bottom - rcDrag.top, 1);

    // The icon and the label as the control draws them, on the window colour.
    HDC hdcScreen = GetDC(nullptr);
    HDC hdc = CreateCompatibleDC(hdcScreen);
    HBITMAP hBitmap = CreateCompatibleBitmap(hdcScreen, cx, cy);
    ReleaseDC(nullptr, hdcScreen);
    HGDIOBJ hOldBitmap = SelectObject(hdc, hBitmap);
    const RECT rcAll { 0, 0, cx, cy };
    FillRect(hdc, &rcAll, GetSysColorBrush(COLOR_WINDOW));
    HIMAGELIST himlRow = pState->imageLists[IsReportView(hWnd) ? LVSIL_SMALL : LVSIL_NORMAL];
    if (himlRow && iImage >= 0)
        ImageList_Draw(himlRow, iImage, hdc, rcIcon.left - rcDrag.left, rcIcon.top - rcDrag.top, ILD_NORMAL);
    if (pState->hFont)
        SelectObject(hdc, pState->hFont);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
    RECT rcText = rcLabel;
    OffsetRect(&rcText, -rcDrag.left, -rcDrag.top);
    const UINT nFormat = IsReportView(hWnd) ? DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS
                                            : DT_CENTER | DT_WORDBREAK | DT_END_ELLIPSIS;
    rcText.left += IsReportView(hWnd) ? LISTVIEW_LABEL_MARGIN : 0;
    DrawText(hdc, strText.c_str(), static_cast<int>(strText.size()), &rcText, nFormat | DT_NOPREFIX);
    SelectObject(hdc, hOldBitmap);
    DeleteDC(hdc);

    HIMAGELIST himl = ImageList_Create(cx, cy, ILC_COLOR24, 1, 0);
    if (himl)
        ImageList_Add(himl, hBitmap, nullptr);
    DeleteObject(hBitmap);
    if (pptUpperLeft)
        *pptUpperLeft = POINT { rcDrag.left, rcDrag.top };
    return himl;
}
