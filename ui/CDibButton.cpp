#include "ui/CDibButton.h"

#include "platform/gdi/Rects.h"

BOOL CDibButton::SetBitmap(UINT nID, int nWidth, int nHeight)
{
    CClientDC dc(this);
    HBITMAP hBitmap = m_picture.LoadResource(&dc, AfxGetResourceHandle(), nID);
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
    pDC->ExtFloodFill(rect.right - 1, rect.top, RGB(255, 255, 255), FLOODFILLSURFACE);
    pDC->ExtFloodFill(rect.left, rect.bottom - 1, RGB(255, 255, 255), FLOODFILLSURFACE);
}
