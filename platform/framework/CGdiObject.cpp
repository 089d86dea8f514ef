#include "platform/framework/CGdiObject.h"

#include "platform/base/ResourceModule.h"
#include "platform/base/WinError.h"
#include "platform/framework/CDC.h"
#include "platform/framework/CResourceException.h"
#include "platform/framework/HandleMap.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/Pictures.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"

#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CPalette, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)

namespace {

using CGdiObjectMap = CHandleMap<CGdiObject, HGDIOBJ>;

// A temporary object of the class that matches the handle's kind.
std::unique_ptr<CGdiObject> MakeTemporary(HGDIOBJ hObject)
{
    switch (::GetObjectType(hObject)) {
    case OBJ_PEN:
        return std::make_unique<CPen>();
    case OBJ_BRUSH:
        return std::make_unique<CBrush>();
    case OBJ_FONT:
        return std::make_unique<CFont>();
    case OBJ_BITMAP:
        return std::make_unique<CBitmap>();
    case OBJ_PAL:
        return std::make_unique<CPalette>();
    case OBJ_REGION:
        return std::make_unique<CRgn>();
    default:
        return std::make_unique<CGdiObject>();
    }
}

// Throws when a constructor could not make its object.
void Require(BOOL bMade)
{
    if (!bMade)
        AfxThrowResourceException();
}

}

/*************************************************************************
 * CGdiObject
 *************************************************************************/

CGdiObject::~CGdiObject()
{
    DeleteObject();
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject)
{
    return CGdiObjectMap::Current().FromHandle(hObject, &CGdiObject::m_hObject, &MakeTemporary);
}

void CGdiObject::DeleteTempMap()
{
    CGdiObjectMap::Current().DeleteTemporaries();
}

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    if (m_hObject || !hObject)
        return FALSE;
    m_hObject = hObject;
    CGdiObjectMap::Current().SetPermanent(hObject, this);
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ hObject = m_hObject;
    if (hObject && CGdiObjectMap::Current().LookupPermanent(hObject) == this)
        CGdiObjectMap::Current().RemovePermanent(hObject);
    m_hObject = nullptr;
    return hObject;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    // A selected object stays alive and attached: the DC still draws with it.
    if (!::DeleteObject(m_hObject))
        return FALSE;
    Detach();
    return TRUE;
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const
{
    return ::GetObject(m_hObject, nCount, lpObject);
}

UINT CGdiObject::GetObjectType() const
{
    return ::GetObjectType(m_hObject);
}

BOOL CGdiObject::CreateStockObject(int nIndex)
{
    return AttachNew(::GetStockObject(nIndex));
}

BOOL CGdiObject::AttachNew(HGDIOBJ hObject)
{
    return hObject ? Attach(hObject) : FALSE;
}

/*************************************************************************
 * Pens, brushes and fonts
 *************************************************************************/

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor)
{
    Require(CreatePen(nPenStyle, nWidth, crColor));
}

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor)
{
    return AttachNew(::CreatePen(nPenStyle, nWidth, crColor));
}

BOOL CPen::CreatePenIndirect(const LOGPEN* lpLogPen)
{
    return AttachNew(::CreatePenIndirect(lpLogPen));
}

CBrush::CBrush(COLORREF crColor)
{
    Require(CreateSolidBrush(crColor));
}

CBrush::CBrush(int nIndex, COLORREF crColor)
{
    Require(CreateHatchBrush(nIndex, crColor));
}

CBrush::CBrush(CBitmap* pBitmap)
{
    Require(CreatePatternBrush(pBitmap));
}

BOOL CBrush::CreateSolidBrush(COLORREF crColor)
{
    return AttachNew(::CreateSolidBrush(crColor));
}

BOOL CBrush::CreateHatchBrush(int nIndex, COLORREF crColor)
{
    return AttachNew(::CreateHatchBrush(nIndex, crColor));
}

BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap)
{
    return pBitmap ? AttachNew(::CreatePatternBrush(*pBitmap)) : FALSE;
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* lpLogBrush)
{
    return AttachNew(::CreateBrushIndirect(lpLogBrush));
}

BOOL CBrush::CreateSysColorBrush(int nIndex)
{
    return AttachNew(::CreateSolidBrush(::GetSysColor(nIndex)));
}

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont)
{
    return AttachNew(::CreateFontIndirect(lpLogFont));
}

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
    BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision, BYTE nQuality,
    BYTE nPitchAndFamily, LPCTSTR lpszFacename)
{
    return AttachNew(::CreateFont(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic, bUnderline, cStrikeOut,
        nCharSet, nOutPrecision, nClipPrecision, nQuality, nPitchAndFamily, lpszFacename));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC)
{
    LOGFONT logFont {};
    logFont.lfCharSet = 1; // DEFAULT_CHARSET
    logFont.lfHeight = nPointSize;
    if (lpszFaceName)
        std::strncpy(logFont.lfFaceName, lpszFaceName, LF_FACESIZE - 1);
    return CreatePointFontIndirect(&logFont, pDC);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC)
{
    if (!lpLogFont) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // Tenths of a point to pixels: 72 points make an inch; a negative height
    // asks for the character height rather than the cell's.
    int nPixelsPerInch = 96;
    if (pDC && pDC->GetSafeHdc())
        nPixelsPerInch = ::GetDeviceCaps(pDC->GetSafeHdc(), LOGPIXELSY);
    LOGFONT logFont = *lpLogFont;
    logFont.lfHeight = -((std::abs(lpLogFont->lfHeight) * nPixelsPerInch + 360) / 720);
    return CreateFontIndirect(&logFont);
}

/*************************************************************************
 * Bitmaps and palettes
 *************************************************************************/

BOOL CBitmap::LoadBitmap(LPCTSTR lpszResourceName)
{
    return AttachNew(::LoadBitmap(AfxGetResourceHandle(), lpszResourceName));
}

BOOL CBitmap::LoadBitmap(UINT nIDResource)
{
    return LoadBitmap(MAKEINTRESOURCE(static_cast<WORD>(nIDResource)));
}

BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits)
{
    return AttachNew(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    return AttachNew(::CreateCompatibleBitmap(pDC ? pDC->GetSafeHdc() : nullptr, nWidth, nHeight));
}

BOOL CPalette::CreatePalette(const LOGPALETTE* lpLogPalette)
{
    return AttachNew(::CreatePalette(lpLogPalette));
}

int CPalette::GetEntryCount() const
{
    return static_cast<int>(::GetPaletteEntries(*this, 0, 0, nullptr));
}

UINT CPalette::GetPaletteEntries(UINT nStartIndex, UINT nNumEntries, PALETTEENTRY* lpPaletteColors) const
{
    return ::GetPaletteEntries(*this, nStartIndex, nNumEntries, lpPaletteColors);
}

UINT CPalette::GetNearestPaletteIndex(COLORREF crColor) const
{
    return ::GetNearestPaletteIndex(*this, crColor);
}

/*************************************************************************
 * Regions
 *************************************************************************/

BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2)
{
    return AttachNew(::CreateRectRgn(x1, y1, x2, y2));
}

BOOL CRgn::CreateRectRgnIndirect(const RECT* lpRect)
{
    return AttachNew(::CreateRectRgnIndirect(lpRect));
}

BOOL CRgn::CreateEllipticRgn(int x1, int y1, int x2, int y2)
{
    return AttachNew(::CreateEllipticRgn(x1, y1, x2, y2));
}

BOOL CRgn::CreateEllipticRgnIndirect(const RECT* lpRect)
{
    return AttachNew(::CreateEllipticRgnIndirect(lpRect));
}

BOOL CRgn::CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3)
{
    return AttachNew(::CreateRoundRectRgn(x1, y1, x2, y2, x3, y3));
}

BOOL CRgn::CreatePolygonRgn(const POINT* lpPoints, int nCount, int nMode)
{
    return AttachNew(::CreatePolygonRgn(lpPoints, nCount, nMode));
}

int CRgn::CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode)
{
    return ::CombineRgn(
        *this, pRgn1 ? static_cast<HRGN>(*pRgn1) : nullptr, pRgn2 ? static_cast<HRGN>(*pRgn2) : nullptr, nCombineMode);
}

int CRgn::OffsetRgn(int x, int y)
{
    return ::OffsetRgn(*this, x, y);
}

int CRgn::GetRgnBox(LPRECT lpRect) const
{
    return ::GetRgnBox(*this, lpRect);
}

void CRgn::SetRectRgn(int x1, int y1, int x2, int y2)
{
    ::SetRectRgn(*this, x1, y1, x2, y2);
}

BOOL CRgn::PtInRegion(int x, int y) const
{
    return ::PtInRegion(*this, x, y);
}

BOOL CRgn::RectInRegion(const RECT* lpRect) const
{
    return ::RectInRegion(*this, lpRect);
}

BOOL CRgn::EqualRgn(const CRgn* pRgn) const
{
    return pRgn ? ::EqualRgn(*this, *pRgn) : FALSE;
}
