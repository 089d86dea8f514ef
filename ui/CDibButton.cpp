#include "ui/CDibButton.h"

#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Rects.h"

BOOL CDibButton::SetBitmap(UINT nID, int nWidth, int nHeight)
{
    CClientDC dc(this);
    HBITMAP hBitmap = m_picture.LoadResource(&dc, AfxGetResourceHandle(), nID);
    BITMAP bm {};
    if (hBitmap && (nWidth == 0 || nHeight == 0) && GetObject(hBitmap, sizeof(bm), &bm)) {
        nWidth = bm.bmWidth;
        nHeight = bm.bmHeight;
    }
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    return hBitmap ? TRUE : FALSE;
}

void CDibButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    RECT rect = lpDrawItemStruct->rcItem;
    InflateRect(&rect, -((rect.right - rect.left) - m_nWidth) / 2, -((rect.bottom - rect.top) - m_nHeight) / 2);
    m_picture.Realize(pDC);
    m_picture.Draw(pDC);
    // The white around the picture takes the colour the parent gives the control.
    auto hBrush = reinterpret_cast<HBRUSH>(GetParent()->SendMessage(
        WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(pDC->GetSafeHdc()), reinterpret_cast<LPARAM>(m_hWnd)));
    HGDIOBJ hOld = hBrush ? SelectObject(pDC->GetSafeHdc(), hBrush) : nullptr;
    pDC->ExtFloodFill(rect.right - 1, rect.top, RGB(255, 255, 255), FLOODFILLSURFACE);
    pDC->ExtFloodFill(rect.left, rect.bottom - 1, RGB(255, 255, 255), FLOODFILLSURFACE);
    if (hOld)
        SelectObject(pDC->GetSafeHdc(), hOld);
}
