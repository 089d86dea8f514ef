#include "platform/gdi/Regions.h"

#include "platform/gdi/GdiInternal.h"

#include <algorithm>

HRGN CreateRectRgn(int x1, int y1, int x2, int y2)
{
    auto lock = GdiLock();
    auto pRegion = std::make_shared<CGdiRegion>();
    // Corners may come in any order.
    pRegion->m_area = CRectList(RECT { std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2) });
    return static_cast<HRGN>(AddGdiObject(pRegion));
}

HRGN CreateRectRgnIndirect(const RECT* lprect)
{
    if (!lprect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateRectRgn(lprect->left, lprect->top, lprect->right, lprect->bottom);
}

BOOL SetRectRgn(HRGN hrgn, int left, int top, int right, int bottom)
{
    auto lock = GdiLock();
    std::shared_ptr<CGdiRegion> pRegion = LookupGdi<CGdiRegion>(hrgn);
    if (!pRegion)
        return FALSE;
    pRegion->m_area = CRectList(
        RECT { std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom) });
    return TRUE;
}

int CombineRgn(HRGN hrgnDst, HRGN hrgnSrc1, HRGN hrgnSrc2, int iMode)
{
    auto lock = GdiLock();
    std::shared_ptr<CGdiRegion> pDst = LookupGdi<CGdiRegion>(hrgnDst);
    std::shared_ptr<CGdiRegion> pSrc1 = LookupGdi<CGdiRegion>(hrgnSrc1);
    std::shared_ptr<CGdiRegion> pSrc2 = iMode == RGN_COPY ? pSrc1 : LookupGdi<CGdiRegion>(hrgnSrc2);
    if (!pDst || !pSrc1 || !pSrc2)
        return ERROR;
    if (iMode < RGN_AND || iMode > RGN_COPY) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERROR;
    }
    pDst->m_area = CRectList::Combine(pSrc1->m_area, pSrc2->m_area, iMode);
    return pDst->m_area.Complexity();
}

int OffsetRgn(HRGN hrgn, int x, int y)
{
    auto lock = GdiLock();
    std::shared_ptr<CGdiRegion> pRegion = LookupGdi<CGdiRegion>(hrgn);
    if (!pRegion)
        return ERROR;
    pRegion->m_area.Offset(x, y);
    return pRegion->m_area.Complexity();
}

int GetRgnBox(HRGN hrgn, LPRECT lprc)
{
    auto lock = GdiLock();
    std::shared_ptr<CGdiRegion> pRegion = LookupGdi<CGdiRegion>(hrgn);
    if (!pRegion || !lprc)
        return ERROR;
    *lprc = pRegion->m_area.Bounds();
    return pRegion->m_area.Complexity();
}

BOOL PtInRegion(HRGN hrgn, int x, int y)
{
    auto lock = GdiLock();
    std::shared_ptr<CGdiRegion> pRegion = LookupGdi<CGdiRegion>(hrgn);
    return pRegion && pRegion->m_area.Contains(x, y);
}

BOOL RectInRegion(HRGN hrgn, const RECT* lprect)
{
    auto lock = GdiLock();
    std::shared_ptr<CGdiRegion> pRegion = LookupGdi<CGdiRegion>(hrgn);
    return pRegion && lprect && pRegion->m_area.Touches(*lprect);
}

BOOL EqualRgn(HRGN hrgn1, HRGN hrgn2)
{
    auto lock = GdiLock();
    std::shared_ptr<CGdiRegion> pRegion1 = LookupGdi<CGdiRegion>(hrgn1);
    std::shared_ptr<CGdiRegion> pRegion2 = LookupGdi<CGdiRegion>(hrgn2);
    return pRegion1 && pRegion2 && pRegion1->m_area == pRegion2->m_area;
}
