#include "platform/gdi/DeviceContext.h"

#include "platform/gdi/GdiInternal.h"
#include "platform/gdi/Rects.h"

/*************************************************************************
 * The DC object
 *************************************************************************/

CDeviceContext::~CDeviceContext() = default;

POINT CDeviceContext::ToDevice(int x, int y) const
{
    return POINT { x - m_state.ptWindowOrg.x + m_state.ptViewportOrg.x + m_ptOrigin.x,
        y - m_state.ptWindowOrg.y + m_state.ptViewportOrg.y + m_ptOrigin.y };
}

RECT CDeviceContext::ToDevice(const RECT& rc) const
{
    POINT ptTopLeft = ToDevice(rc.left, rc.top);
    POINT ptBottomRight = ToDevice(rc.right, rc.bottom);
    return RECT { ptTopLeft.x, ptTopLeft.y, ptBottomRight.x, ptBottomRight.y };
}

CRectList CDeviceContext::EffectiveClip() const
{
    CRectList surface(RECT { 0, 0, m_state.bitmap->m_nWidth, m_state.bitmap->m_nHeight });
    if (m_visible)
        surface = CRectList::Combine(surface, *m_visible, RGN_AND);
    if (!m_state.clip)
        return surface;
    return CRectList::Combine(surface, *m_state.clip, RGN_AND);
}

std::shared_ptr<CDeviceContext> LookupDc(HDC hdc)
{
    return LookupGdi<CDeviceContext>(hdc);
}

/*************************************************************************
 * Creating, selecting, saving
 *************************************************************************/

HDC CreateCompatibleDC(HDC hdc)
{
    auto lock = GdiLock();
    if (hdc && !LookupDc(hdc))
        return nullptr;
    auto pDc = std::make_shared<CDeviceContext>();
    pDc->m_state.pen = CSelected(std::static_pointer_cast<CGdiPen>(StockObject(BLACK_PEN)));
    pDc->m_state.brush = CSelected(std::static_pointer_cast<CGdiBrush>(StockObject(WHITE_BRUSH)));
    pDc->m_state.font = CSelected(std::static_pointer_cast<CGdiFont>(StockObject(SYSTEM_FONT)));
    pDc->m_state.palette = CSelected(std::static_pointer_cast<CGdiPalette>(StockObject(DEFAULT_PALETTE)));
    pDc->m_state.bitmap = CSelected(DefaultBitmap());
    return static_cast<HDC>(AddGdiObject(pDc));
}

BOOL DeleteDC(HDC hdc)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc)
        return FALSE;
    RemoveGdiObject(hdc);
    // Release the selections now, not when the last reference to the DC goes.
    pDc->m_saved.clear();
    pDc->m_state = DcState {};
    return TRUE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    std::shared_ptr<CGdiHandleObject> pObject = LookupGdiObject(h);
    if (!pDc)
        return nullptr;
    if (!pObject) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    DcState& state = pDc->m_state;
    HGDIOBJ hOld = nullptr;
    if (auto pPen = std::dynamic_pointer_cast<CGdiPen>(pObject)) {
        hOld = state.pen->m_hHandle;
        state.pen = CSelected(pPen);
    } else if (auto pBrush = std::dynamic_pointer_cast<CGdiBrush>(pObject)) {
        hOld = state.brush->m_hHandle;
        state.brush = CSelected(pBrush);
    } else if (auto pFont = std::dynamic_pointer_cast<CGdiFont>(pObject)) {
        hOld = state.font->m_hHandle;
        state.font = CSelected(pFont);
    } else if (auto pBitmap = std::dynamic_pointer_cast<CGdiBitmap>(pObject)) {
        if (!pBitmap->m_bStock && pBitmap->m_nSelected > 0 && pBitmap->m_pOwnerDc != pDc.get()) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        hOld = state.bitmap->m_hHandle;
        pBitmap->m_pOwnerDc = pDc.get();
        state.bitmap = CSelected(pBitmap);
    } else if (auto pRegion = std::dynamic_pointer_cast<CGdiRegion>(pObject)) {
        return reinterpret_cast<HGDIOBJ>(static_cast<INT_PTR>(SelectClipRgn(hdc, static_cast<HRGN>(h))));
    } else {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return hOld;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc)
        return nullptr;
    switch (type) {
    case OBJ_PEN:
        return pDc->m_state.pen->m_hHandle;
    case OBJ_BRUSH:
        return pDc->m_state.brush->m_hHandle;
    case OBJ_FONT:
        return pDc->m_state.font->m_hHandle;
    case OBJ_BITMAP:
        return pDc->m_state.bitmap->m_hHandle;
    case OBJ_PAL:
        return pDc->m_state.palette->m_hHandle;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}

int SaveDC(HDC hdc)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc)
        return 0;
    pDc->m_saved.push_back(pDc->m_state);
    return static_cast<int>(pDc->m_saved.size());
}

BOOL RestoreDC(HDC hdc, int nSavedDC)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc)
        return FALSE;
    int nLevels = static_cast<int>(pDc->m_saved.size());
    int nLevel = nSavedDC < 0 ? nLevels + 1 + nSavedDC : nSavedDC;
    if (nSavedDC == 0 || nLevel < 1 || nLevel > nLevels) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::shared_ptr<CGdiBitmap>& pBitmap = pDc->m_saved[nLevel - 1].bitmap.Get();
    pBitmap->m_pOwnerDc = pDc.get();
    pDc->m_state = pDc->m_saved[nLevel - 1];
    pDc->m_saved.resize(nLevel - 1);
    return TRUE;
}

/*************************************************************************
 * Colours and modes
 *************************************************************************/

namespace {

// Sets one field of the DC's state and returns its old value, or `failure` for a bad DC.
template<typename T> T Exchange(HDC hdc, T DcState::*pField, T value, T failure)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc)
        return failure;
    T old = pDc->m_state.*pField;
    pDc->m_state.*pField = value;
    return old;
}

template<typename T> T Read(HDC hdc, T DcState::*pField, T failure)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    return pDc ? pDc->m_state.*pField : failure;
}

bool Refuse()
{
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
}

}

COLORREF SetTextColor(HDC hdc, COLORREF color)
{
    return Exchange(hdc, &DcState::crText, color, CLR_INVALID);
}

COLORREF GetTextColor(HDC hdc)
{
    return Read(hdc, &DcState::crText, CLR_INVALID);
}

COLORREF SetBkColor(HDC hdc, COLORREF color)
{
    return Exchange(hdc, &DcState::crBk, color, CLR_INVALID);
}

COLORREF GetBkColor(HDC hdc)
{
    return Read(hdc, &DcState::crBk, CLR_INVALID);
}

int SetBkMode(HDC hdc, int mode)
{
    if (mode != TRANSPARENT && mode != OPAQUE)
        return Refuse();
    return Exchange(hdc, &DcState::nBkMode, mode, 0);
}

int GetBkMode(HDC hdc)
{
    return Read(hdc, &DcState::nBkMode, 0);
}

UINT SetTextAlign(HDC hdc, UINT align)
{
    if (align & ~(TA_UPDATECP | TA_CENTER | TA_BASELINE)) {
        Refuse();
        return GDI_ERROR;
    }
    return Exchange(hdc, &DcState::nTextAlign, align, GDI_ERROR);
}

UINT GetTextAlign(HDC hdc)
{
    return Read(hdc, &DcState::nTextAlign, GDI_ERROR);
}

int SetROP2(HDC hdc, int rop2)
{
    if (rop2 < R2_BLACK || rop2 > R2_WHITE)
        return Refuse();
    return Exchange(hdc, &DcState::nRop2, rop2, 0);
}

int GetROP2(HDC hdc)
{
    return Read(hdc, &DcState::nRop2, 0);
}

int SetStretchBltMode(HDC hdc, int mode)
{
    if (mode < BLACKONWHITE || mode > HALFTONE)
        return Refuse();
    return Exchange(hdc, &DcState::nStretchMode, mode, 0);
}

int GetStretchBltMode(HDC hdc)
{
    return Read(hdc, &DcState::nStretchMode, 0);
}

int SetPolyFillMode(HDC hdc, int mode)
{
    if (mode != ALTERNATE && mode != WINDING)
        return Refuse();
    return Exchange(hdc, &DcState::nPolyFillMode, mode, 0);
}

int GetPolyFillMode(HDC hdc)
{
    return Read(hdc, &DcState::nPolyFillMode, 0);
}

int SetMapMode(HDC hdc, int iMode)
{
    auto lock = GdiLock();
    if (!LookupDc(hdc))
        return 0;
    if (iMode != MM_TEXT)
        return Refuse();
    return MM_TEXT;
}

int GetMapMode(HDC hdc)
{
    auto lock = GdiLock();
    return LookupDc(hdc) ? MM_TEXT : 0;
}

/*************************************************************************
 * Origins
 *************************************************************************/

namespace {

BOOL MoveOrigin(HDC hdc, POINT DcState::*pField, int x, int y, bool bRelative, LPPOINT lppt)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc)
        return FALSE;
    POINT& ptOrigin = pDc->m_state.*pField;
    if (lppt)
        *lppt = ptOrigin;
    ptOrigin = bRelative ? POINT { ptOrigin.x + x, ptOrigin.y + y } : POINT { x, y };
    return TRUE;
}

BOOL ReadOrigin(HDC hdc, POINT DcState::*pField, LPPOINT lppt)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc || !lppt)
        return FALSE;
    *lppt = pDc->m_state.*pField;
    return TRUE;
}

}

BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt)
{
    return MoveOrigin(hdc, &DcState::ptViewportOrg, x, y, false, lppt);
}

BOOL GetViewportOrgEx(HDC hdc, LPPOINT lppt)
{
    return ReadOrigin(hdc, &DcState::ptViewportOrg, lppt);
}

BOOL OffsetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt)
{
    return MoveOrigin(hdc, &DcState::ptViewportOrg, x, y, true, lppt);
}

BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT lppt)
{
    return MoveOrigin(hdc, &DcState::ptWindowOrg, x, y, false, lppt);
}

BOOL GetWindowOrgEx(HDC hdc, LPPOINT lppt)
{
    return ReadOrigin(hdc, &DcState::ptWindowOrg, lppt);
}

BOOL OffsetWindowOrgEx(HDC hdc, int x, int y, LPPOINT lppt)
{
    return MoveOrigin(hdc, &DcState::ptWindowOrg, x, y, true, lppt);
}

BOOL LPtoDP(HDC hdc, LPPOINT lppt, int c)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc || (c > 0 && !lppt))
        return FALSE;
    for (int i = 0; i < c; ++i) {
        lppt[i] = pDc->ToDevice(lppt[i].x, lppt[i].y);
        lppt[i].x -= pDc->m_ptOrigin.x;
        lppt[i].y -= pDc->m_ptOrigin.y;
    }
    return TRUE;
}

BOOL DPtoLP(HDC hdc, LPPOINT lppt, int c)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc || (c > 0 && !lppt))
        return FALSE;
    const DcState& state = pDc->m_state;
    for (int i = 0; i < c; ++i) {
        lppt[i].x += state.ptWindowOrg.x - state.ptViewportOrg.x;
        lppt[i].y += state.ptWindowOrg.y - state.ptViewportOrg.y;
    }
    return TRUE;
}

/*************************************************************************
 * Clipping
 *************************************************************************/

int SelectClipRgn(HDC hdc, HRGN hrgn)
{
    return ExtSelectClipRgn(hdc, hrgn, RGN_COPY);
}

int ExtSelectClipRgn(HDC hdc, HRGN hrgn, int mode)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc)
        return ERROR;
    DcState& state = pDc->m_state;
    if (!hrgn) {
        if (mode != RGN_COPY) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return ERROR;
        }
        state.clip.reset();
        return SIMPLEREGION;
    }
    std::shared_ptr<CGdiRegion> pRegion = LookupGdi<CGdiRegion>(hrgn);
    if (!pRegion)
        return ERROR;
    if (mode < RGN_AND || mode > RGN_COPY) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERROR;
    }
    CRectList current
        = state.clip ? *state.clip : CRectList(RECT { 0, 0, state.bitmap->m_nWidth, state.bitmap->m_nHeight });
    CRectList area = pRegion->m_area;
    area.Offset(pDc->m_ptOrigin.x, pDc->m_ptOrigin.y);
    state.clip = mode == RGN_COPY ? area : CRectList::Combine(current, area, mode);
    return pDc->EffectiveClip().Complexity();
}

namespace {

int CombineClipRect(HDC hdc, int left, int top, int right, int bottom, int mode)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc)
        return ERROR;
    DcState& state = pDc->m_state;
    CRectList current
        = state.clip ? *state.clip : CRectList(RECT { 0, 0, state.bitmap->m_nWidth, state.bitmap->m_nHeight });
    state.clip = CRectList::Combine(current, CRectList(pDc->ToDevice(RECT { left, top, right, bottom })), mode);
    return pDc->EffectiveClip().Complexity();
}

}

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom)
{
    return CombineClipRect(hdc, left, top, right, bottom, RGN_AND);
}

int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom)
{
    return CombineClipRect(hdc, left, top, right, bottom, RGN_DIFF);
}

int OffsetClipRgn(HDC hdc, int x, int y)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc)
        return ERROR;
    if (pDc->m_state.clip)
        pDc->m_state.clip->Offset(x, y);
    return pDc->EffectiveClip().Complexity();
}

int GetClipBox(HDC hdc, LPRECT lprect)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc || !lprect)
        return ERROR;
    CRectList clip = pDc->EffectiveClip();
    *lprect = clip.Bounds();
    POINT ptShift = pDc->ToDevice(0, 0);
    OffsetRect(lprect, -ptShift.x, -ptShift.y);
    return clip.Complexity();
}

int GetClipRgn(HDC hdc, HRGN hrgn)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    std::shared_ptr<CGdiRegion> pRegion = LookupGdi<CGdiRegion>(hrgn);
    if (!pDc || !pRegion)
        return -1;
    if (!pDc->m_state.clip)
        return 0;
    pRegion->m_area = *pDc->m_state.clip;
    pRegion->m_area.Offset(-pDc->m_ptOrigin.x, -pDc->m_ptOrigin.y);
    return 1;
}

BOOL PtVisible(HDC hdc, int x, int y)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc)
        return FALSE;
    POINT pt = pDc->ToDevice(x, y);
    return pDc->EffectiveClip().Contains(pt.x, pt.y);
}

BOOL RectVisible(HDC hdc, const RECT* lprect)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc || !lprect)
        return FALSE;
    return pDc->EffectiveClip().Touches(pDc->ToDevice(*lprect));
}

int GetDeviceCaps(HDC hdc, int index)
{
    auto lock = GdiLock();
    std::shared_ptr<CDeviceContext> pDc = LookupDc(hdc);
    if (!pDc)
        return 0;
    const CGdiBitmap& bitmap = *pDc->m_state.bitmap;
    switch (index) {
    case HORZRES:
        return bitmap.m_nWidth;
    case VERTRES:
        return bitmap.m_nHeight;
    case BITSPIXEL:
        return bitmap.IsMonochrome() ? 1 : 32;
    case PLANES:
        return 1;
    case NUMCOLORS:
        return -1;
    case LOGPIXELSX:
    case LOGPIXELSY:
        return 96;
    case RASTERCAPS:
        return 0;
    default:
        return 0;
    }
}
