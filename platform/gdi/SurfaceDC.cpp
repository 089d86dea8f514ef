#include "platform/gdi/SurfaceDC.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiInternal.h"
#include "platform/gdi/Rects.h"

HDC CreateSurfaceDC(HBITMAP hbmSurface, POINT ptOrigin, HRGN hrgnArea)
{
    auto lock = GdiLock();
    std::shared_ptr<CGdiBitmap> pBitmap = LookupGdi<CGdiBitmap>(hbmSurface);
    if (!pBitmap)
        return nullptr;
    std::shared_ptr<CGdiRegion> pArea;
    if (hrgnArea && !(pArea = LookupGdi<CGdiRegion>(hrgnArea)))
        return nullptr;
    HDC hdc = CreateCompatibleDC(nullptr);
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    // Shared on purpose: the bitmap's single-owner rule is for ordinary memory DCs.
    pDc->m_state.bitmap = CSelected(pBitmap);
    pDc->m_ptOrigin = ptOrigin;
    if (pArea)
        pDc->m_visible = pArea->m_area;
    return hdc;
}

BOOL NarrowSurfaceDC(HDC hdc, HRGN hrgnArea)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    std::shared_ptr<CGdiRegion> pArea = LookupGdi<CGdiRegion>(hrgnArea);
    if (!pDc || !pArea)
        return FALSE;
    CRectList area = pArea->m_area;
    area.Offset(pDc->m_ptOrigin.x, pDc->m_ptOrigin.y);
    pDc->m_visible = pDc->m_visible ? CRectList::Combine(*pDc->m_visible, area, RGN_AND) : area;
    return TRUE;
}

BOOL GetSurfaceDCBounds(HDC hdc, LPRECT lprc)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc || !pDc->m_state.bitmap.Get() || !lprc)
        return FALSE;
    const CGdiBitmap& bitmap = *pDc->m_state.bitmap.Get();
    RECT rcBitmap { 0, 0, bitmap.m_nWidth, bitmap.m_nHeight };
    RECT rcArea = pDc->m_visible ? pDc->m_visible->Bounds() : rcBitmap;
    if (!IntersectRect(lprc, &rcArea, &rcBitmap))
        *lprc = RECT {};
    return TRUE;
}
