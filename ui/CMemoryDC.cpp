#include "ui/CMemoryDC.h"

#include "platform/gdi/Rects.h"

CMemoryDC::CMemoryDC(CDC* pTarget, const RECT* pRect, COLORREF crFill, CBitmap* pBitmap)
    : m_pTarget(pTarget)
{
    CRect clip;
    pTarget->GetClipBox(&clip);
    if (!IntersectRect(&m_rect, &clip, pRect))
        return;
    if (!CreateCompatibleDC(pTarget))
        return;
    CBitmap* pDrawInto = pBitmap;
    if (!pDrawInto) {
        CRect device = m_rect;
        pTarget->LPtoDP(&device);
        if (!m_bitmap.CreateCompatibleBitmap(pTarget, device.Width(), device.Height())) {
            DeleteDC();
            return;
        }
        pDrawInto = &m_bitmap;
    }
    m_pOldBitmap = SelectObject(pDrawInto);
    SetMapMode(pTarget->GetMapMode());
    SetWindowOrg(m_rect.left, m_rect.top);
    Fill(crFill);
}

CMemoryDC::~CMemoryDC()
{
    if (!m_hDC)
        return;
    m_pTarget->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top, SRCCOPY);
    if (m_pOldBitmap)
        SelectObject(m_pOldBitmap);
    m_bitmap.DeleteObject();
}

void CMemoryDC::Fill(COLORREF crFill)
{
    if (crFill == RGB(255, 255, 255)) {
        PatBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), WHITENESS);
    } else if (crFill == RGB(0, 0, 0)) {
        PatBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), BLACKNESS);
    } else {
        const COLORREF crOldBk = GetBkColor();
        FillSolidRect(&m_rect, crFill);
        SetBkColor(crOldBk);
    }
}
